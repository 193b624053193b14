// The pages "リスト", "パス" and "その他".
#include "platform/u8.h"
#include "settings/ui/settingpages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

// ---- リスト ----

ListPage::ListPage(QWidget *parent) : SettingPage(parent)
{
    setObjectName(QStringLiteral("ListSheet"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 4, 6, 4);
    auto *box = new QGroupBox(U("表示する項目"), this);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setVerticalSpacing(2);
    for (int i = 0; i < kTrackFieldCount; ++i) {
        auto *tick = new QCheckBox(U(kAlbumListColumns[size_t(i)].caption), box);
        tick->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        tick->setChecked(true);
        CheckBox[size_t(i)] = tick;
        grid->addWidget(tick, i % 5, i / 5);
    }
    outer->addWidget(box);
    outer->addStretch(1);
}

void ListPage::load(const DialogSettings &s)
{
    for (int i = 0; i < kTrackFieldCount; ++i)
        CheckBox[size_t(i)]->setChecked(s.columnShown[size_t(i)]);
}

void ListPage::store(DialogSettings &s) const
{
    for (int i = 0; i < kTrackFieldCount; ++i)
        s.columnShown[size_t(i)] = CheckBox[size_t(i)]->isChecked();
}

// ---- パス ----

PathsPage::PathsPage(SettingBrowser &browser, QWidget *parent) : SettingPage(parent), m_browser(browser)
{
    setObjectName(QStringLiteral("PathSheet"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(3);
    struct Row {
        QLineEdit **edit;
        QPushButton **button;
        const char *editName, *buttonName, *label, *buttonCaption;
    };
    const std::array<Row, 5> rows{{
        {&TextEditor, &Button10, "TextEditor", "Button10", "テキストエディタ(&T):", "参照(&1)..."},
        {&LyricsEditor, &Button12, "LyricsEditor", "Button12", "&Lyricsエディタ:", "参照(&2)..."},
        {&J2, &Button3, "J2", "Button3", "&J2:", "参照(&3)..."},
        {&m2h, &Button11, "m2h", "Button11", "&m2h:", "参照(&4)..."},
        {&CurrentFolder, &Button13, "CurrentFolder", "Button13", "エクスプローラ起動時の初期フォルダ:", "参照(&5)..."},
    }};
    int r = 0;
    for (const Row &row : rows) {
        auto *label = new QLabel(U(row.label), this);
        *row.edit = named<QLineEdit>(row.editName);
        *row.button = named<QPushButton>(row.buttonName, U(row.buttonCaption));
        label->setBuddy(*row.edit);
        grid->addWidget(label, r, 0);
        grid->addWidget(*row.edit, r, 1);
        grid->addWidget(*row.button, r, 2);
        ++r;
    }
    grid->setRowStretch(r, 1);
    TextEditor->setText(QStringLiteral("notepad.exe"));
    LyricsEditor->setText(QStringLiteral("notepad.exe"));

    auto program = [this](QPushButton *button, QLineEdit *edit, const char *title) {
        connect(button, &QPushButton::clicked, this,
                [this, edit, title] { m_browser.browseProgram(window(), edit, U(title)); });
    };
    program(Button10, TextEditor, "テキストエディタのパス");
    program(Button12, LyricsEditor, "Lyricsエディタのパス");
    program(Button3, J2, "J2のパス");
    program(Button11, m2h, "m2hのパス");
    // The explorer's start folder is taken as chosen, without a trailing "/".
    connect(Button13, &QPushButton::clicked, this,
            [this] { m_browser.browseFolder(CurrentFolder, U("エクスプローラ起動時の初期フォルダ"), false); });
}

void PathsPage::load(const DialogSettings &s)
{
    TextEditor->setText(s.textEditor);
    LyricsEditor->setText(s.lyricsEditor);
    J2->setText(s.j2);
    m2h->setText(s.m2h);
    CurrentFolder->setText(s.explorerPath);
}

void PathsPage::store(DialogSettings &s) const
{
    s.textEditor = TextEditor->text();
    s.lyricsEditor = LyricsEditor->text();
    s.j2 = J2->text();
    s.m2h = m2h->text();
    s.explorerPath = CurrentFolder->text();
}

// ---- その他 ----

OtherPage::OtherPage(QWidget *parent) : SettingPage(parent)
{
    setObjectName(QStringLiteral("OtherSheet"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 4, 6, 4);
    outer->setSpacing(3);
    ShowSelChk = named<QCheckBox>("ShowSelChk", U("非アクティブ状態でも選択項目が分かるようにする。"));
    AutoSelChk = named<QCheckBox>("AutoSelChk", U("曲データのロード後、自動的に全て選択状態にする。"));
    outer->addWidget(ShowSelChk);
    outer->addWidget(AutoSelChk);

    auto *box = new QGroupBox(U("起動時のインデックスファイル"), this);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(6, 2, 6, 4);
    CurrentChk = named<QRadioButton>("CurrentChk", U(".exeと同じフォルダの.ini"));
    LastChk = named<QRadioButton>("LastChk", U("前回終了時のインデックス"));
    SelectChk = named<QRadioButton>("SelectChk", U("起動時に選択"));
    m_group = new QButtonGroup(this);
    int id = 0;
    for (QRadioButton *b : {CurrentChk, LastChk, SelectChk}) {
        row->addWidget(b);
        m_group->addButton(b, id++);
    }
    CurrentChk->setChecked(true);
    outer->addWidget(box);

    ClmDefBtn = named<QPushButton>("ClmDefBtn", U("カラム幅初期化"));
    ClmDefBtn->setToolTip(U("詳細表示で項目が見えなくなったときに使用すると正常な状態に戻せます。"));
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(ClmDefBtn);
    buttonRow->addStretch(1);
    outer->addLayout(buttonRow);
    outer->addStretch(1);
}

void OtherPage::load(const DialogSettings &s)
{
    ShowSelChk->setChecked(s.showSelection);
    AutoSelChk->setChecked(s.autoSelect);
    // The file keeps the three separately; the last one on wins here.
    checkRadio(m_group, s.groupSelect ? 2 : s.groupLast ? 1 : s.groupCurrent ? 0 : -1);
}

void OtherPage::store(DialogSettings &s) const
{
    s.showSelection = ShowSelChk->isChecked();
    s.autoSelect = AutoSelChk->isChecked();
    s.groupCurrent = CurrentChk->isChecked();
    s.groupLast = LastChk->isChecked();
    s.groupSelect = SelectChk->isChecked();
}
