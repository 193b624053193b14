#include "settings/ui/settingform.h"

#include "controls/ui/folderdialog.h"
#include "platform/u8.h"
#include "platform/ui/prompts.h"
#include "settings/ui/settingpages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
}

TSettingF::TSettingF(DialogSettings &settings, SettingsStore &store, Prompts &prompts, SettingHooks hooks,
                     QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_settings(settings), m_store(store),
      m_prompts(prompts), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("SettingF"));
    setWindowTitle(U("設定"));
    m_FolderDialog1 = new TFolderDialog(this);
    m_FolderDialog1->setObjectName(QStringLiteral("FolderDialog1"));
    m_FolderDialog1->setPrompts(&prompts);
    m_browser = std::make_unique<SettingBrowser>(prompts, *m_FolderDialog1);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(6);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_player = new PlayerPage(*m_browser);
    m_display = new DisplayPage(*m_browser);
    m_list = new ListPage;
    m_lyrics = new LyricsPage(*m_browser);
    m_joypad = new JoypadPage;
    m_paths = new PathsPage(*m_browser);
    m_other = new OtherPage;
    m_pages->addTab(m_player, U("MP3プレイヤー"));
    m_pages->addTab(m_display, U("表示"));
    m_pages->addTab(m_list, U("リスト"));
    m_pages->addTab(m_lyrics, QStringLiteral("Lyrics"));
    m_pages->addTab(m_joypad, U("ジョイパッド"));
    m_pages->addTab(m_paths, U("パス"));
    m_pages->addTab(m_other, U("その他"));
    column->addWidget(m_pages, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_OkBtn = new QPushButton(QStringLiteral("OK"), this);
    m_OkBtn->setObjectName(QStringLiteral("OkBtn"));
    m_OkBtn->setDefault(true);
    m_CancelBtn = new QPushButton(U("ｷｬﾝｾﾙ"), this);
    m_CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    m_ApplyBtn = new QPushButton(U("適用"), this);
    m_ApplyBtn->setObjectName(QStringLiteral("ApplyBtn"));
    for (QPushButton *b : {m_OkBtn, m_CancelBtn, m_ApplyBtn}) {
        b->setMinimumWidth(75);
        buttons->addWidget(b);
    }
    column->addLayout(buttons);
    resize(510, 189);

    connect(m_OkBtn, &QPushButton::clicked, this, &TSettingF::OkBtnClick);
    // Cancel only closes: the main window re-reads the file afterwards.
    connect(m_CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ApplyBtn, &QPushButton::clicked, this, [this] { ApplyBtnClick(); });
    connect(m_other->ClmDefBtn, &QPushButton::clicked, this, &TSettingF::ClmDefBtnClick);
    // While the pages load, a rule run halfway would act on a mix of old and
    // new states (and could pin the stored interval); they run once after.
    auto unlessLoading = [this](void (TSettingF::*rule)()) {
        return [this, rule] {
            if (!m_loading)
                (this->*rule)();
        };
    };
    connect(m_player, &PlayerPage::startChanged, this, unlessLoading(&TSettingF::applyStartMethodRule));
    connect(m_player, &PlayerPage::playerChanged, this, unlessLoading(&TSettingF::applyDependencyRule));
    connect(m_display, &DisplayPage::playTimeChanged, this, unlessLoading(&TSettingF::applyDependencyRule));
    connect(m_lyrics, &LyricsPage::lyricsChanged, this, unlessLoading(&TSettingF::applyDependencyRule));
}

TSettingF::~TSettingF() = default;

void TSettingF::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        loadPages();
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}

void TSettingF::loadPages()
{
    m_loading = true;
    for (SettingPage *page :
         std::initializer_list<SettingPage *>{m_player, m_display, m_list, m_lyrics, m_joypad, m_paths, m_other})
        page->load(m_settings);
    m_loading = false;
    m_display->Size2TimeChk->setVisible(m_hooks.legacyListShown && m_hooks.legacyListShown());
    applyStartMethodRule();
    applyDependencyRule();

    // A column the user narrowed to nothing counts as switched off. The ticks
    // describe the thirteen-column list, so the five-column list leaves them.
    if (m_hooks.columnWidths) {
        if (const auto widths = m_hooks.columnWidths()) {
            for (int i = 0; i < kTrackFieldCount; ++i) {
                if ((*widths)[size_t(i)] == 0)
                    m_list->CheckBox[size_t(i)]->setChecked(false);
            }
        }
    }
}

void TSettingF::applyStartMethodRule()
{
    // A hidden player is always quit with the program.
    const bool hidden = m_player->HideChk->isChecked();
    if (hidden)
        m_player->QuitYesChk->setChecked(true);
    for (QRadioButton *b : {m_player->QuitYesChk, m_player->QuitNoChk, m_player->QuitAskChk})
        b->setEnabled(!hidden);
}

void TSettingF::greyed(QWidget *edit, bool grey)
{
    QPalette p = edit->palette();
    const QPalette standard = edit->style()->standardPalette();
    const QColor base =
        grey ? standard.color(QPalette::Active, QPalette::Button) : standard.color(QPalette::Active, QPalette::Base);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Base, base);
    edit->setPalette(p);
}

void TSettingF::applyDependencyRule()
{
    PlayerPage &pl = *m_player;
    const bool winamp = pl.WinampChk->isChecked();
    const bool scmpx = pl.ScmpxChk->isChecked();
    pl.Winamp->setEnabled(winamp);
    pl.Button1->setEnabled(winamp);
    greyed(pl.Winamp, !winamp);
    pl.Scmpx->setEnabled(scmpx);
    pl.Button2->setEnabled(scmpx);
    greyed(pl.Scmpx, !scmpx);

    DisplayPage &d = *m_display;
    LyricsPage &ly = *m_lyrics;
    const bool playTime = d.PlayTimeChk->isChecked();
    for (QWidget *w :
         std::initializer_list<QWidget *>{d.IntervalLbl, d.DrawInterval, d.TimeSkinLbl, d.TimeSkin, d.Button6})
        w->setEnabled(playTime);
    ly.LyricsChk->setVisible(playTime);
    ly.LyricsDmy->setVisible(!playTime);
    const std::initializer_list<QWidget *> lyricsButtons{ly.Button4, ly.Button8, ly.Button5};
    if (!playTime) {
        for (QWidget *w : lyricsButtons)
            w->setEnabled(false);
    }

    const bool lyricsShown = !ly.LyricsChk->isHidden();
    if (ly.LyricsChk->isChecked()) {
        if (lyricsShown) {
            // The lyrics follow the clock at its finest interval.
            for (QWidget *w : lyricsButtons)
                w->setEnabled(true);
            d.DrawInterval->setCurrentIndex(0);
            d.DrawInterval->setEnabled(false);
        }
    } else {
        for (QWidget *w : lyricsButtons)
            w->setEnabled(false);
        d.DrawInterval->setEnabled(playTime);
    }
}

bool TSettingF::ApplyBtnClick()
{
    // Lyrics with SCMPX always run at the finest interval.
    if (m_player->ScmpxChk->isChecked() && m_lyrics->LyricsChk->isChecked())
        m_display->DrawInterval->setCurrentIndex(0);

    for (SettingPage *page :
         std::initializer_list<SettingPage *>{m_player, m_display, m_list, m_lyrics, m_joypad, m_paths, m_other})
        page->store(m_settings);
    if (m_hooks.classNames) {
        const ClassNames names = m_hooks.classNames();
        m_settings.winampClass = names.winamp;
        m_settings.scmpxClass = names.scmpx;
    }
    const ProfileWrite result = m_store.storeAll(m_settings, [this] {
        if (m_settings.size2Time != m_settings.size2TimeLoaded)
            m_prompts.info(this, U("サイズから時間への変換は Tunovia を起動し直すと反映されます。"));
    });
    if (!result.ok()) {
        // Told every time: the dialog stays open for another try.
        m_prompts.exception(this, m_store.failureText(result));
        return false;
    }
    if (m_hooks.restoreColumns)
        m_hooks.restoreColumns();
    return true;
}

void TSettingF::OkBtnClick()
{
    // A failed write keeps the dialog open with the user's changes.
    if (ApplyBtnClick())
        accept();
}

void TSettingF::ClmDefBtnClick()
{
    if (m_hooks.resetColumnWidths)
        m_hooks.resetColumnWidths();
}
