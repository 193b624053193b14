// The pages "Lyrics" and "ジョイパッド".
#include "settings/ui/settingpages.h"

#include "config/joypadactions.h"
#include "config/wincolor.h"
#include "platform/u8.h"
#include "platform/ui/prompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

// ---- Lyrics ----

LyricsPage::LyricsPage(SettingBrowser &browser, QWidget *parent) : SettingPage(parent), m_browser(browser)
{
    setObjectName(QStringLiteral("LyricsSheet"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(4);

    const QString caption = U("Lyrics表示を行う (再生時間表示ONの時有効)");
    LyricsChk = named<QCheckBox>("LyricsChk", caption);
    LyricsChk->setChecked(true);
    LyricsDmy = named<QCheckBox>("LyricsDmy", caption);
    LyricsDmy->setEnabled(false);
    LyricsDmy->hide();
    auto *ticks = new QHBoxLayout;
    ticks->addWidget(LyricsChk);
    ticks->addWidget(LyricsDmy);
    ticks->addStretch(1);
    grid->addLayout(ticks, 0, 0, 1, 3);

    ColorPnl = named<QFrame>("ColorPnl");
    ColorPnl->setFrameShape(QFrame::StyledPanel);
    ColorPnl->setFrameShadow(QFrame::Sunken);
    ColorPnl->setAutoFillBackground(true);
    ColorPnl->setMinimumSize(240, 44);
    auto *pl = new QHBoxLayout(ColorPnl);
    FontText2 = named<QLabel>("FontText2", U("Lyrics プレビュー"));
    FontText2->setAlignment(Qt::AlignCenter);
    pl->addWidget(FontText2);
    m_font = QFont(U("ＭＳ Ｐゴシック"));
    m_font.setPixelSize(16);
    m_backColor = 13434828;
    showLook();

    Button4 = named<QPushButton>("Button4", U("フォント(&F)..."));
    Button8 = named<QPushButton>("Button8", U("色(&C)..."));
    Button5 = named<QPushButton>("Button5", U("背景色(&B)..."));
    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(2);
    buttons->addWidget(Button4);
    buttons->addWidget(Button8);
    buttons->addWidget(Button5);
    auto *look = new QHBoxLayout;
    look->addWidget(ColorPnl, 1);
    look->addLayout(buttons);
    grid->addLayout(look, 1, 0, 1, 3);

    NoLyricsHide = named<QCheckBox>("NoLyricsHide", U("Lyricsファイルが無いときは Lyricsウィンドウを消す。"));
    grid->addWidget(NoLyricsHide, 2, 0, 1, 3);

    auto *folderLbl = named<QLabel>("FindFolderLbl", U("Lyrics検索フォルダ(&F):"));
    LyricsFindFolder = named<QLineEdit>("LyricsFindFolder");
    LyricsFindFolder->setToolTip(U("MP3ファイルと同じフォルダにLyricsファイルが見つからなかった場合\n"
                                   "ここで設定されたフォルダからもLyricsファイル検索します。"));
    folderLbl->setBuddy(LyricsFindFolder);
    Button9 = named<QPushButton>("Button9", U("参照..."));
    grid->addWidget(folderLbl, 3, 0);
    grid->addWidget(LyricsFindFolder, 3, 1);
    grid->addWidget(Button9, 3, 2);
    grid->setRowStretch(4, 1);

    connect(LyricsChk, &QCheckBox::toggled, this, [this] { emit lyricsChanged(); });
    connect(LyricsChk, &QCheckBox::toggled, LyricsDmy, &QCheckBox::setChecked);
    connect(Button4, &QPushButton::clicked, this, &LyricsPage::Button4Click);
    connect(Button8, &QPushButton::clicked, this, &LyricsPage::Button8Click);
    connect(Button5, &QPushButton::clicked, this, &LyricsPage::Button5Click);
    connect(Button9, &QPushButton::clicked, this, [this] {
        m_browser.browseFolder(LyricsFindFolder,
                               U("MP3と同じフォルダにLyricsが見つからなかったときの検索フォルダを指定してください。"),
                               true);
    });
}

void LyricsPage::showLook()
{
    const QPalette standard = style()->standardPalette();
    const QColor window = standard.color(QPalette::Base);
    const QColor text = standard.color(QPalette::Text);
    FontText2->setFont(m_font);
    QPalette labelPalette = FontText2->palette();
    labelPalette.setColor(QPalette::WindowText, wincolor::toColor(m_fontColor, window, text));
    FontText2->setPalette(labelPalette);
    QPalette panelPalette = ColorPnl->palette();
    panelPalette.setColor(QPalette::Window, wincolor::toColor(m_backColor, window, text));
    ColorPnl->setPalette(panelPalette);
}

void LyricsPage::load(const DialogSettings &s)
{
    LyricsChk->setChecked(s.showLyrics);
    LyricsDmy->setChecked(s.showLyrics);
    m_font = QFont(s.lyricsFontName);
    m_font.setPointSize(s.lyricsFontSize > 0 ? s.lyricsFontSize : 12);
    m_font.setBold(s.lyricsBold);
    m_font.setItalic(s.lyricsItalic);
    m_fontColor = s.lyricsFontColor;
    m_backColor = s.lyricsBackColor;
    showLook();
    NoLyricsHide->setChecked(s.noLyricsHide);
    LyricsFindFolder->setText(s.findFolder);
}

void LyricsPage::store(DialogSettings &s) const
{
    s.showLyrics = LyricsChk->isChecked();
    s.lyricsFontName = SettingsStore::cutFontName(m_font.family());
    if (m_font.pointSize() > 0)
        s.lyricsFontSize = m_font.pointSize();
    s.lyricsFontColor = m_fontColor;
    s.lyricsBackColor = m_backColor;
    s.lyricsBold = m_font.bold();
    s.lyricsItalic = m_font.italic();
    s.noLyricsHide = NoLyricsHide->isChecked();
    s.findFolder = LyricsFindFolder->text();
}

void LyricsPage::Button4Click()
{
    const auto chosen = m_browser.prompts().font(window(), m_font);
    if (!chosen)
        return;
    // Name, size and the two styles the settings file keeps; nothing else.
    QFont font(chosen->family());
    font.setPointSize(chosen->pointSize() > 0 ? chosen->pointSize() : m_font.pointSize());
    font.setBold(chosen->bold());
    font.setItalic(chosen->italic());
    m_font = font;
    showLook();
}

void LyricsPage::Button8Click()
{
    const auto chosen = m_browser.prompts().color(window(), FontText2->palette().color(QPalette::WindowText));
    if (!chosen)
        return;
    m_fontColor = wincolor::fromColor(*chosen);
    showLook();
}

void LyricsPage::Button5Click()
{
    const auto chosen = m_browser.prompts().color(window(), ColorPnl->palette().color(QPalette::Window));
    if (!chosen)
        return;
    m_backColor = wincolor::fromColor(*chosen);
    showLook();
}

// ---- ジョイパッド ----

JoypadPage::JoypadPage(QWidget *parent) : SettingPage(parent)
{
    setObjectName(QStringLiteral("JoypadSheet"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(3);

    UseJoyPadChk = named<QCheckBox>("UseJoyPadChk", U("ジョイパッドを使う"));
    grid->addWidget(UseJoyPadChk, 0, 0, 1, 6);

    static constexpr std::array<const char *, 8> kLabels{
        "上:", "下:", "左:", "右:", "ボタン１:", "ボタン２:", "ボタン３:", "ボタン４:"};
    m_bindings = DialogSettings{}.joyBindings;
    QStringList actions;
    for (const char *caption : kJoypadActionCaptions)
        actions << U(caption);
    for (int i = 0; i < 8; ++i) {
        auto *label = new QLabel(U(kLabels[size_t(i)]), this);
        label->setObjectName(QStringLiteral("JoyLabel%1").arg(i + 1));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *box = new QComboBox(this);
        box->setObjectName(QStringLiteral("ComboBox%1").arg(i + 1));
        box->addItems(actions);
        box->setMaxVisibleItems(actions.size());
        label->setBuddy(box);
        ComboLabel[size_t(i)] = label;
        ComboBox[size_t(i)] = box;
        // Directions on the left, buttons on the right.
        const int row = 1 + i % 4;
        const int column = i < 4 ? 0 : 2;
        grid->addWidget(label, row, column);
        grid->addWidget(box, row, column + 1);
        box->setCurrentIndex(m_bindings[size_t(i)]);
    }

    JoyMinLbl = named<QLabel>("JoyMinLbl", U("しきい値(最小)"));
    JoyMin = named<QLineEdit>("JoyMin", QStringLiteral("10000"));
    JoyMin->setToolTip(U("十字キーがきかないときに大きくしてください。"));
    JoyMaxLbl = named<QLabel>("JoyMaxLbl", U("しきい値(最大)"));
    JoyMax = named<QLineEdit>("JoyMax", QStringLiteral("50000"));
    JoyMax->setToolTip(U("十字キーがきかないときに小さくしてください。"));
    for (QLineEdit *edit : {JoyMin, JoyMax})
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
    JoyMinLbl->setBuddy(JoyMin);
    JoyMaxLbl->setBuddy(JoyMax);
    grid->addWidget(JoyMinLbl, 1, 4);
    grid->addWidget(JoyMin, 1, 5);
    grid->addWidget(JoyMaxLbl, 2, 4);
    grid->addWidget(JoyMax, 2, 5);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    connect(UseJoyPadChk, &QCheckBox::toggled, this, &JoypadPage::UseJoyPadChkClick);
    UseJoyPadChkClick();
}

void JoypadPage::UseJoyPadChkClick()
{
    const bool on = UseJoyPadChk->isChecked();
    for (int i = 0; i < 8; ++i) {
        ComboBox[size_t(i)]->setEnabled(on);
        ComboLabel[size_t(i)]->setEnabled(on);
    }
    for (QWidget *w : std::initializer_list<QWidget *>{JoyMin, JoyMax, JoyMinLbl, JoyMaxLbl})
        w->setEnabled(on);
}

void JoypadPage::load(const DialogSettings &s)
{
    UseJoyPadChk->setChecked(s.useJoyPad);
    m_bindings = s.joyBindings;
    for (int i = 0; i < 8; ++i) {
        const int action = s.joyBindings[size_t(i)];
        ComboBox[size_t(i)]->setCurrentIndex(action >= 0 && action < kJoypadActionCount ? action : -1);
    }
    JoyMin->setText(s.joyMin);
    JoyMax->setText(s.joyMax);
    UseJoyPadChkClick();
}

void JoypadPage::store(DialogSettings &s) const
{
    s.useJoyPad = UseJoyPadChk->isChecked();
    for (int i = 0; i < 8; ++i) {
        // An index the list has no entry for stays as stored unless the user picked one.
        const int chosen = ComboBox[size_t(i)]->currentIndex();
        s.joyBindings[size_t(i)] = chosen >= 0 ? chosen : m_bindings[size_t(i)];
    }
    s.joyMin = JoyMin->text();
    s.joyMax = JoyMax->text();
}
