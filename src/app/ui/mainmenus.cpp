// The menu table of the main window: every menu, item, shortcut and the
// command each item runs.
#include "app/ui/mainmenus.h"

#include "app/ui/mainform.h"
#include "config/joypadactions.h"
#include "platform/u8.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <array>

namespace {

struct MenuItem {
    const char *caption; // nullptr: separator
    const char *shortcut;
    const char *name;
    void (TTunoviaF::*handler)();
};

constexpr MenuItem kSeparator{nullptr, nullptr, nullptr, nullptr};

struct MenuDef {
    const char *caption;
    const char *name;
    std::initializer_list<MenuItem> items;
};

} // namespace

QMenu *mainmenus::build(TTunoviaF &window)
{
    using T = TTunoviaF;
    const std::initializer_list<MenuDef> menus{
        {"ファイル(&F)",
         "FileMnu",
         {{"アルバム選択(&A)...", "Ctrl+L", "DataOpenMnu", &T::DataOpenMnuClick},
          {"インデックスファイル選択(&G)...", "Ctrl+G", "IniSelMnu", &T::IniSelMnuClick},
          kSeparator,
          {"インデックスファイルの新規作成(&N)", nullptr, "MakeGroupMnu", &T::MakeGroupMnuClick},
          {"アルバムファイル(.mdt)の作成(&M)", "Ctrl+D", "MakeMdtMnu", &T::MakeMdtMnuClick},
          kSeparator,
          {"曲リストをクリア(&C)", nullptr, "KC1", &T::KC1Click},
          kSeparator,
          {"エクスプローラ起動(&E)", nullptr, "RunExploreMnu", &T::RunExploreMnuClick},
          kSeparator,
          {"終了(&X)", "Ctrl+Q", "ExitMnu", &T::ExitBtnClick}}},
        {"編集(&E)",
         "EditMnu",
         {{"全て選択(&A)", "Ctrl+A", "AllCheckMnu", &T::AllCheckMnuClick},
          {"選択を反転(&I)", nullptr, "InvCheckMnu", &T::InvCheckMnuClick},
          {"全て解除(&R)", nullptr, "ReCheckMnu", &T::ReCheckMnuClick},
          kSeparator,
          {"選択ファイルをコピー(&C)...", "Ctrl+C", "FileCopy", &T::FileCopyClick},
          kSeparator,
          {"&J2に選択ファイルを渡す", "Ctrl+J", "RunJ2", &T::RunJ2Click},
          {"&m2hに選択ファイルを渡す", "Ctrl+M", "Runm2h", &T::Runm2hClick},
          kSeparator,
          {"リストから削除(&D)", "Del", "DelListMnu", &T::DelListMnuClick},
          kSeparator,
          {"検索(&F)...", "Ctrl+F", "Find1", &T::Find1Click},
          kSeparator,
          {"選択ファイルの合計時間計算...", "Ctrl+T", "TotalTimeMnu", &T::TotalTimeMnuClick},
          kSeparator,
          {"ID3タグ編集(&E)...", "Ctrl+I", "TagEditMnu", &T::TagEditMnuClick}}},
        {"プレイコントロール(&P)",
         "PlayMnu",
         {{"前の曲", "F1", "PrevMnu", &T::SpeedButton1Click},
          {"再生", "F2", "PlayMnuItem", &T::SpeedButton2Click},
          {"一時停止", "F3", "PauseMnu", &T::SpeedButton3Click},
          {"停止", "F4", "StopMnu", &T::SpeedButton4Click},
          {"次の曲", "F5", "NextMnu", &T::SpeedButton5Click},
          kSeparator,
          {"プレイヤーに選択ファイルを渡す", "F9", "HandOverMnu", &T::MP3ListViewDblClick},
          {"プレイヤーの終了", "F10", "PlayerQuitMnu", &T::PlayerQuitMnuClick},
          kSeparator,
          {"プレイヤーをWinampに設定", "Ctrl+W", "UseWinampMnu", &T::UseWinampMnuClick},
          {"プレイヤーをSCMPXに設定", "Ctrl+S", "UseScmpxMnu", &T::UseScmpxMnuClick},
          {"プレイヤーを内蔵のに設定", "Ctrl+Z", "UseMciMnu", &T::UseMciMnuClick},
          {"プレイヤーを順に切替", "Ctrl+X", "UseChangeMnu", &T::UseChangeMnuClick}}},
        {"ボリューム(&V)",
         "VolumeMnu",
         {{"ボリュームダウン(&D)", "F11", "VolDownMnu", &T::VolDownMnuClick},
          {"ボリュームアップ(&U)", "F12", "VolUpMnu", &T::VolUpMnuClick},
          kSeparator,
          {"ボリューム-&A", "F6", "VolAMnu", &T::VolAMnuClick},
          {"ボリューム-&B", "F7", "VolBMnu", &T::VolBMnuClick},
          {"ボリューム-&C", "F8", "VolCMnu", &T::VolCMnuClick}}},
        {"設定(&S)",
         "SettingMnu",
         {{"各種設定(&S)...", nullptr, "Setting", &T::SettingClick},
          kSeparator,
          {"フォントの種類(&F)...", nullptr, "FontMnu", &T::FontMnuClick},
          {"フォントの色(&C)...", nullptr, "FontColorMnu", &T::FontColorMnuClick},
          {"背景色(&B)...", nullptr, "BackColorMnu", &T::BackColorMnuClick},
          kSeparator,
          {"Lyrics表示 ON/OFF", "Ctrl+K", "KLyricsONOFF1", &T::KLyricsONOFF1Click}}},
        {"ヘルプ(&H)",
         "HelpMnu",
         {{"目次(&C)", nullptr, "Contents1", &T::Contents1Click},
          kSeparator,
          {"バージョン情報(&A)...", nullptr, "AboutMnu", &T::AboutMnuClick}}},
    };

    for (const MenuDef &def : menus) {
        QMenu *menu = window.menuBar()->addMenu(U(def.caption));
        menu->setObjectName(QString::fromLatin1(def.name));
        for (const MenuItem &item : def.items) {
            if (!item.caption) {
                menu->addSeparator();
                continue;
            }
            QAction *action = menu->addAction(U(item.caption));
            action->setObjectName(QString::fromLatin1(item.name));
            if (item.shortcut) {
                action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
                action->setShortcutContext(Qt::WindowShortcut);
            }
            QObject::connect(action, &QAction::triggered, &window, item.handler);
        }
    }

    const std::initializer_list<MenuItem> listItems{
        {"&MP3プレイヤーに選択ファイルを渡す", nullptr, "PopHandOver", &T::MP3ListViewDblClick},
        {"M&P3プレイヤー終了", nullptr, "PopPlayerQuit", &T::PlayerQuitMnuClick},
        kSeparator,
        {"前の曲(&Z)", nullptr, "PopPrev", &T::SpeedButton1Click},
        {"再生(&X)", nullptr, "PopPlay", &T::SpeedButton2Click},
        {"一時停止(&C)", nullptr, "PopPause", &T::SpeedButton3Click},
        {"停止(&V)", nullptr, "PopStop", &T::SpeedButton4Click},
        {"次の曲(&B)", nullptr, "PopNext", &T::SpeedButton5Click},
        kSeparator,
        {"ボリューム-A(&1)", nullptr, "PopVolA", &T::VolAMnuClick},
        {"ボリューム-B(&2)", nullptr, "PopVolB", &T::VolBMnuClick},
        {"ボリューム-C(&3)", nullptr, "PopVolC", &T::VolCMnuClick},
        kSeparator,
        {"全て選択(&A)", nullptr, "PopAllCheck", &T::AllCheckMnuClick},
        {"選択を反転(&I)", nullptr, "PopInvCheck", &T::InvCheckMnuClick},
        {"全て解除(&R)", nullptr, "PopReCheck", &T::ReCheckMnuClick},
        kSeparator,
        {"選択ファイルのコピー...", nullptr, "PopFileCopy", &T::FileCopyClick},
        kSeparator,
        {"リストから削除(&D)", nullptr, "PopDelList", &T::DelListMnuClick},
        kSeparator,
        {"選択ファイルの合計時間計算...", nullptr, "PopTotalTime", &T::TotalTimeMnuClick},
        kSeparator,
        {"ID3タグ編集(&E)...", nullptr, "PopTagEdit", &T::TagEditMnuClick},
    };
    auto *listMenu = new QMenu(&window);
    listMenu->setObjectName(QStringLiteral("PopupMenu1"));
    for (const MenuItem &item : listItems) {
        if (!item.caption) {
            listMenu->addSeparator();
            continue;
        }
        QAction *action = listMenu->addAction(U(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        QObject::connect(action, &QAction::triggered, &window, item.handler);
        if (!listMenu->defaultAction())
            listMenu->setDefaultAction(action);
    }
    return listMenu;
}

mainmenus::Command mainmenus::joypadCommand(int action)
{
    using T = TTunoviaF;
    static constexpr std::array<Command, kJoypadActionCount> kActions{nullptr,
                                                                      &T::SpeedButton1Click,
                                                                      &T::SpeedButton2Click,
                                                                      &T::SpeedButton3Click,
                                                                      &T::SpeedButton4Click,
                                                                      &T::SpeedButton5Click,
                                                                      &T::MP3ListViewDblClick,
                                                                      &T::PlayerQuitMnuClick,
                                                                      &T::AllCheckMnuClick,
                                                                      &T::InvCheckMnuClick,
                                                                      &T::UseWinampMnuClick,
                                                                      &T::UseScmpxMnuClick,
                                                                      &T::UseChangeMnuClick,
                                                                      &T::VolAMnuClick,
                                                                      &T::VolBMnuClick,
                                                                      &T::VolCMnuClick,
                                                                      &T::VolUpMnuClick,
                                                                      &T::VolDownMnuClick,
                                                                      &T::UseMciMnuClick};
    return action >= 0 && action < kJoypadActionCount ? kActions[size_t(action)] : nullptr;
}
