// The browse helpers and the pages "MP3プレイヤー" and "表示".
#include "settings/ui/settingpages.h"

#include "controls/ui/dtrackbar.h"
#include "controls/ui/folderdialog.h"
#include "platform/paths.h"
#include "platform/u8.h"
#include "platform/ui/prompts.h"
#include "settings/plugininstall.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

void checkRadio(QButtonGroup *group, int index)
{
    // An exclusive group cannot be emptied, yet the file may hold no choice.
    group->setExclusive(false);
    for (QAbstractButton *b : group->buttons())
        b->setChecked(group->id(b) == index);
    group->setExclusive(true);
}

bool SettingBrowser::browseProgram(QWidget *parent, QLineEdit *edit, const QString &title)
{
    // Linux programs have no extension: the caption stays, every file matches.
    const QString chosen = m_prompts.openFile(parent, title, edit->text(), U("実行ファイル (*.exe) (*)"));
    if (chosen.isEmpty())
        return false;
    edit->setText(chosen);
    return true;
}

bool SettingBrowser::browseFolder(QLineEdit *edit, const QString &caption, bool slash)
{
    m_folderDialog.setCaption(caption);
    m_folderDialog.setStartDir(paths::folderPart(paths::fromWindows(edit->text())));
    if (!m_folderDialog.Execute())
        return false;
    const QString folder = m_folderDialog.directory();
    edit->setText(slash ? paths::withTrailingSlash(folder) : folder);
    return true;
}

// ---- MP3プレイヤー ----

PlayerPage::PlayerPage(SettingBrowser &browser, QWidget *parent) : SettingPage(parent), m_browser(browser)
{
    setObjectName(QStringLiteral("PlayerSheet"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(4);

    auto *players = new QGroupBox(U("使用するMP3プレイヤー"), this);
    auto *pg = new QGridLayout(players);
    pg->setContentsMargins(6, 2, 6, 4);
    pg->setVerticalSpacing(2);
    WinampChk = named<QRadioButton>("WinampChk", U("&Winamp:"));
    Winamp = named<QLineEdit>("Winamp");
    Button1 = named<QPushButton>("Button1", U("参照(&1)..."));
    ScmpxChk = named<QRadioButton>("ScmpxChk", U("&SCMPX:"));
    Scmpx = named<QLineEdit>("Scmpx");
    Button2 = named<QPushButton>("Button2", U("参照(&2)..."));
    MciChk = named<QRadioButton>("MciChk", U("&Tunovia内蔵プレイヤーを使用"));
    pg->addWidget(WinampChk, 0, 0);
    pg->addWidget(Winamp, 0, 1);
    pg->addWidget(Button1, 0, 2);
    pg->addWidget(ScmpxChk, 1, 0);
    pg->addWidget(Scmpx, 1, 1);
    pg->addWidget(Button2, 1, 2);
    pg->addWidget(MciChk, 2, 0, 1, 3);
    m_players = new QButtonGroup(this);
    m_players->addButton(WinampChk, 0);
    m_players->addButton(ScmpxChk, 1);
    m_players->addButton(MciChk, 2);
    grid->addWidget(players, 0, 0, 1, 2);

    auto *volumes = new QGroupBox(U("ﾎﾞﾘｭｰﾑｺﾝﾄﾛｰﾙ"), this);
    auto *vg = new QGridLayout(volumes);
    vg->setContentsMargins(6, 2, 6, 4);
    vg->setVerticalSpacing(0);
    int column = 0;
    for (auto [bar, name, caption] :
         {std::tuple{&VolA, "VolA", "(A)"}, std::tuple{&VolB, "VolB", "(B)"}, std::tuple{&VolC, "VolC", "(C)"}}) {
        *bar = named<TDisRangeTrackBar>(name, Qt::Vertical);
        // 0 at the top: a thumb higher up means louder.
        (*bar)->setRange(0, 10);
        (*bar)->setSingleStep(1);
        (*bar)->setPageStep(1);
        (*bar)->setInvertedAppearance(true);
        (*bar)->setInvertedControls(true);
        (*bar)->setTickPosition(QSlider::TicksBothSides);
        (*bar)->setTickInterval(1);
        auto *label = new QLabel(QString::fromLatin1(caption), volumes);
        label->setAlignment(Qt::AlignHCenter);
        vg->addWidget(*bar, 0, column, Qt::AlignHCenter);
        vg->addWidget(label, 1, column);
        ++column;
    }
    grid->addWidget(volumes, 0, 2, 2, 1);

    auto radioRow = [this](const char *title, std::array<QRadioButton **, 3> buttons, std::array<const char *, 3> names,
                           std::array<const char *, 3> captions) {
        auto *box = new QGroupBox(U(title), this);
        auto *row = new QHBoxLayout(box);
        row->setContentsMargins(6, 2, 6, 4);
        auto *group = new QButtonGroup(this);
        for (int i = 0; i < 3; ++i) {
            *buttons[size_t(i)] = named<QRadioButton>(names[size_t(i)], U(captions[size_t(i)]));
            row->addWidget(*buttons[size_t(i)]);
            group->addButton(*buttons[size_t(i)], i);
        }
        return std::pair{box, group};
    };
    auto [startBox, startGroup] = radioRow("MP3プレイヤーの起動方法", {&NormalChk, &MinimizeChk, &HideChk},
                                           {"NormalChk", "MinimizeChk", "HideChk"}, {"通常", "最小化", "隠す"});
    auto [quitBox, quitGroup] = radioRow("終了時にプレイヤーも終了", {&QuitYesChk, &QuitNoChk, &QuitAskChk},
                                         {"QuitYesChk", "QuitNoChk", "QuitAskChk"}, {"する", "しない", "確認"});
    m_start = startGroup;
    m_quit = quitGroup;
    grid->addWidget(startBox, 1, 0);
    grid->addWidget(quitBox, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    // Design state.
    WinampChk->setChecked(true);
    NormalChk->setChecked(true);
    QuitNoChk->setChecked(true);
    VolA->setValue(10);
    VolB->setValue(5);
    VolC->setValue(0);

    // Arrow keys, assistive technology and the loader change them without a click.
    connect(m_players, &QButtonGroup::idToggled, this, [this] { emit playerChanged(); });
    connect(m_start, &QButtonGroup::idToggled, this, [this] { emit startChanged(); });
    connect(Button1, &QPushButton::clicked, this, &PlayerPage::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &PlayerPage::Button2Click);
}

void PlayerPage::load(const DialogSettings &s)
{
    Winamp->setText(s.winamp);
    Scmpx->setText(s.scmpx);
    checkRadio(m_players, s.player.checked);
    checkRadio(m_start, s.startMode.checked);
    checkRadio(m_quit, s.quitPolicy.checked);
    VolA->setValue(s.volA);
    VolB->setValue(s.volB);
    VolC->setValue(s.volC);
}

void PlayerPage::store(DialogSettings &s) const
{
    s.winamp = Winamp->text();
    s.scmpx = Scmpx->text();
    s.player.checked = m_players->checkedId();
    s.startMode.checked = m_start->checkedId();
    s.quitPolicy.checked = m_quit->checkedId();
    s.volA = VolA->value();
    s.volB = VolB->value();
    s.volC = VolC->value();
}

void PlayerPage::Button1Click()
{
    if (m_browser.browseProgram(window(), Winamp, U("Winampのパス")))
        offerPlugin(Winamp->text());
}

void PlayerPage::Button2Click() { m_browser.browseProgram(window(), Scmpx, U("SCMPXのパス")); }

void PlayerPage::offerPlugin(const QString &playerPath)
{
    const QString target = plugininstall::targetFor(playerPath);
    if (target.isEmpty() || QFileInfo::exists(target))
        return;
    const auto answer =
        m_browser.prompts().message(window(), U("確認"), U("Winamp用のプラグインをインストールします。 （推奨）"),
                                    Prompts::Icon::Information, QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok)
        return;
    // A failure (say, a folder the user may not write) passes quietly; the
    // offer comes again the next time this path is browsed.
    static_cast<void>(plugininstall::install(paths::programFolder() + QLatin1String(plugininstall::kFileName), target));
}

// ---- 表示 ----

DisplayPage::DisplayPage(SettingBrowser &browser, QWidget *parent) : SettingPage(parent), m_browser(browser)
{
    setObjectName(QStringLiteral("DisplaySheet"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(4);

    PlayTimeChk = named<QCheckBox>("PlayTimeChk", U("Tunovia上に再生時間を表示する"));
    PlayTimeChk->setChecked(true);
    IntervalLbl = named<QLabel>("IntervalLbl", U("更新間隔(&I): "));
    DrawInterval = named<QComboBox>("DrawInterval");
    for (int i = 1; i <= 9; ++i)
        DrawInterval->addItem(QStringLiteral("%1ms").arg(i * 100));
    DrawInterval->addItem(QStringLiteral("1.0sec"));
    IntervalLbl->setBuddy(DrawInterval);
    auto *intervalRow = new QHBoxLayout;
    intervalRow->addWidget(PlayTimeChk);
    intervalRow->addStretch(1);
    intervalRow->addWidget(IntervalLbl);
    intervalRow->addWidget(DrawInterval);
    grid->addLayout(intervalRow, 0, 0, 1, 3);

    TimeSkinLbl = named<QLabel>("TimeSkinLbl", U("時間用画像(&T)"));
    TimeSkin = named<QLineEdit>("TimeSkin", QStringLiteral("Skins/time/default/"));
    TimeSkinLbl->setBuddy(TimeSkin);
    Button6 = named<QPushButton>("Button6", U("参照(&1)..."));
    grid->addWidget(TimeSkinLbl, 1, 0);
    grid->addWidget(TimeSkin, 1, 1);
    grid->addWidget(Button6, 1, 2);

    auto *buttonSkinLbl = named<QLabel>("ButtonSkinLbl", U("ボタン用画像(&B)"));
    ButtonSkin = named<QLineEdit>("ButtonSkin", QStringLiteral("Button_Skins/default/"));
    buttonSkinLbl->setBuddy(ButtonSkin);
    Button7 = named<QPushButton>("Button7", U("参照(&2)..."));
    grid->addWidget(buttonSkinLbl, 2, 0);
    grid->addWidget(ButtonSkin, 2, 1);
    grid->addWidget(Button7, 2, 2);

    auto *totals = new QGroupBox(U("選択ファイルの合計時間(サイズ)を表示"), this);
    auto *tl = new QHBoxLayout(totals);
    tl->setContentsMargins(6, 2, 6, 4);
    TotalTime = named<QComboBox>("TotalTime");
    for (const char *style :
         {"表示しない", "1:23:45", "合計：1:23:45", "1時間23分45秒", "合計：1時間23分45秒", "1h23m45s",
          "Total:1h23m45s", "1h23min45sec", "Total:1h23min45sec", "ファイルサイズの合計を表示",
          "ファイルサイズの合計を表示 (KB)", "ファイルサイズの合計を表示 (MB)"})
        TotalTime->addItem(U(style));
    tl->addWidget(TotalTime);
    Size2TimeChk = named<QCheckBox>("Size2TimeChk", U("リストのサイズ項目を時間に変換する"));
    Size2TimeChk->setChecked(true);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(totals);
    bottom->addWidget(Size2TimeChk);
    bottom->addStretch(1);
    grid->addLayout(bottom, 3, 0, 1, 3);
    grid->setRowStretch(4, 1);

    connect(PlayTimeChk, &QCheckBox::toggled, this, [this] { emit playTimeChanged(); });
    connect(Button6, &QPushButton::clicked, this,
            [this] { m_browser.browseFolder(TimeSkin, U("時間用画像のあるフォルダを指定してください。"), true); });
    connect(Button7, &QPushButton::clicked, this,
            [this] { m_browser.browseFolder(ButtonSkin, U("ボタン用画像のあるフォルダを指定してください。"), true); });
}

void DisplayPage::load(const DialogSettings &s)
{
    PlayTimeChk->setChecked(s.playTime);
    m_drawInterval = s.drawInterval;
    DrawInterval->setCurrentIndex(s.drawInterval >= 0 && s.drawInterval < DrawInterval->count() ? s.drawInterval : -1);
    TimeSkin->setText(s.timeSkin);
    ButtonSkin->setText(s.buttonSkin);
    m_totalTime = s.totalTime;
    TotalTime->setCurrentIndex(s.totalTime >= 0 && s.totalTime < TotalTime->count() ? s.totalTime : -1);
    Size2TimeChk->setChecked(s.size2Time);
}

void DisplayPage::store(DialogSettings &s) const
{
    s.playTime = PlayTimeChk->isChecked();
    // A stored index without an entry stays as it was unless the user picked one.
    s.drawInterval = DrawInterval->currentIndex() >= 0 ? DrawInterval->currentIndex() : m_drawInterval;
    s.timeSkin = TimeSkin->text();
    s.buttonSkin = ButtonSkin->text();
    s.totalTime = TotalTime->currentIndex() >= 0 ? TotalTime->currentIndex() : m_totalTime;
    s.size2Time = Size2TimeChk->isChecked();
}
