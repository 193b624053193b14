#include "tracks/ui/copyform.h"

#include "platform/u8.h"
#include "tracks/filecopy.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <array>

namespace {

constexpr int kOrderRole = Qt::UserRole;
// CopyList columns and the track fields they show.
constexpr std::array<TrackField, 7> kColumnFields{TrackField::Title,   TrackField::Artist, TrackField::Album,
                                                  TrackField::Comment, TrackField::Size,   TrackField::Time,
                                                  TrackField::Path};
constexpr std::array<const char *, 7> kColumnCaptions{"曲名",   "アーティスト", "アルバム",    "コメント",
                                                      "サイズ", "時間",         "ファイルパス"};
constexpr std::array<int, 7> kColumnWidths{130, 80, 80, 80, 64, 60, 0};

} // namespace

TCopyF::TCopyF(const CopyOptions &options, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CopyF"));
    setWindowTitle(U("選択ファイルのコピー"));
    // A title bar without buttons: the dialog ends through OK or Cancel.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto *method = new QGroupBox(U("コピー方法"), this);
    AutoCopy = new QRadioButton(U("指定されたフォルダに一括コピー(&A)"), method);
    AutoCopy->setObjectName(QStringLiteral("AutoCopy"));
    ManualCopy = new QRadioButton(U("ファイル毎にコピー先を指定する(&N)"), method);
    ManualCopy->setObjectName(QStringLiteral("ManualCopy"));
    MoveChk = new QCheckBox(U("移動する(&M)"), method);
    MoveChk->setObjectName(QStringLiteral("MoveChk"));
    auto *methodColumn = new QVBoxLayout(method);
    methodColumn->addWidget(AutoCopy);
    methodColumn->addWidget(ManualCopy);
    methodColumn->addWidget(MoveChk);

    auto *kinds = new QGroupBox(U("コピー対象"), this);
    CopyMP3Chk = new QCheckBox(U("MP3ファイル(&S)"), kinds);
    CopyMP3Chk->setObjectName(QStringLiteral("CopyMP3Chk"));
    CopySameLyricsChk = new QCheckBox(U("MP3と同じフォルダのLyricsファイル(&L)"), kinds);
    CopySameLyricsChk->setObjectName(QStringLiteral("CopySameLyricsChk"));
    CopyFindLyricsChk = new QCheckBox(U("検索フォルダ内のLyricsファイル(&F)"), kinds);
    CopyFindLyricsChk->setObjectName(QStringLiteral("CopyFindLyricsChk"));
    auto *kindsColumn = new QVBoxLayout(kinds);
    kindsColumn->addWidget(CopyMP3Chk);
    kindsColumn->addWidget(CopySameLyricsChk);
    kindsColumn->addWidget(CopyFindLyricsChk);

    AutoCopy->setChecked(options.mode.isOn(0));
    ManualCopy->setChecked(options.mode.isOn(1));
    MoveChk->setChecked(options.move);
    CopyMP3Chk->setChecked(options.mp3);
    CopySameLyricsChk->setChecked(options.lyrics1);
    CopyFindLyricsChk->setChecked(options.lyrics2);

    CopyList = new QTreeWidget(this);
    CopyList->setObjectName(QStringLiteral("CopyList"));
    CopyList->setRootIsDecorated(false);
    CopyList->setUniformRowHeights(true);
    CopyList->setAllColumnsShowFocus(true);
    CopyList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    CopyList->setSelectionBehavior(QAbstractItemView::SelectRows);
    CopyList->setColumnCount(int(kColumnFields.size()));
    QStringList captions;
    for (const char *c : kColumnCaptions)
        captions << U(c);
    CopyList->setHeaderLabels(captions);
    CopyList->header()->setStretchLastSection(false);
    for (int c = 0; c < int(kColumnWidths.size()); ++c)
        CopyList->setColumnWidth(c, kColumnWidths[size_t(c)]);
    for (int c : {4, 5})
        CopyList->headerItem()->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    CopyList->setMinimumSize(540, 180);

    UpBtn = new QPushButton(QStringLiteral("▲"), this);
    UpBtn->setObjectName(QStringLiteral("UpBtn"));
    DownBtn = new QPushButton(QStringLiteral("▼"), this);
    DownBtn->setObjectName(QStringLiteral("DownBtn"));
    for (QPushButton *b : {UpBtn, DownBtn}) {
        b->setAutoDefault(false);
        b->setFixedWidth(32);
    }
    connect(UpBtn, &QPushButton::clicked, this, &TCopyF::UpBtnClick);
    connect(DownBtn, &QPushButton::clicked, this, &TCopyF::DownBtnClick);

    OkBtn = new QPushButton(QStringLiteral("OK"), this);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    OkBtn->setDefault(true);
    CancelBtn = new QPushButton(U("ｷｬﾝｾﾙ"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setAutoDefault(false);
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto *options_ = new QHBoxLayout;
    options_->addWidget(method, 1);
    options_->addWidget(kinds, 1);

    auto *moves = new QVBoxLayout;
    moves->addStretch(1);
    moves->addWidget(UpBtn);
    moves->addWidget(DownBtn);
    moves->addStretch(1);
    auto *listRow = new QHBoxLayout;
    listRow->addWidget(CopyList, 1);
    listRow->addLayout(moves);

    auto *note = new QLabel(U("↑リストの上から順にコピーされます。"), this);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(note);
    bottom->addStretch(1);
    bottom->addWidget(OkBtn);
    bottom->addWidget(CancelBtn);

    auto *column = new QVBoxLayout(this);
    column->addLayout(options_);
    column->addLayout(listRow, 1);
    column->addLayout(bottom);
}

void TCopyF::setTracks(const std::vector<TrackRecord> &tracks)
{
    CopyList->clear();
    QList<QTreeWidgetItem *> items;
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        auto *item = new QTreeWidgetItem;
        for (int c = 0; c < int(kColumnFields.size()); ++c)
            item->setText(c, tracks[i][kColumnFields[size_t(c)]]);
        for (int c : {4, 5})
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(0, kOrderRole, int(i));
        items << item;
    }
    CopyList->addTopLevelItems(items);
}

CopyOptions TCopyF::options() const
{
    CopyOptions o;
    o.mode.checked = AutoCopy->isChecked() ? 0 : ManualCopy->isChecked() ? 1 : -1;
    o.move = MoveChk->isChecked();
    o.mp3 = CopyMP3Chk->isChecked();
    o.lyrics1 = CopySameLyricsChk->isChecked();
    o.lyrics2 = CopyFindLyricsChk->isChecked();
    return o;
}

std::vector<int> TCopyF::order() const
{
    std::vector<int> out;
    out.reserve(size_t(CopyList->topLevelItemCount()));
    for (int i = 0; i < CopyList->topLevelItemCount(); ++i)
        out.push_back(CopyList->topLevelItem(i)->data(0, kOrderRole).toInt());
    return out;
}

std::vector<bool> TCopyF::selectedRows() const
{
    std::vector<bool> selected(size_t(CopyList->topLevelItemCount()), false);
    for (std::size_t i = 0; i < selected.size(); ++i)
        selected[i] = CopyList->topLevelItem(int(i))->isSelected();
    return selected;
}

void TCopyF::reorder(const std::vector<int> &newOrder, const std::vector<bool> &selected)
{
    QList<QTreeWidgetItem *> items;
    while (CopyList->topLevelItemCount() > 0)
        items << CopyList->takeTopLevelItem(0);
    QList<QTreeWidgetItem *> arranged;
    for (int old : newOrder)
        arranged << items[old];
    CopyList->addTopLevelItems(arranged);
    for (std::size_t i = 0; i < selected.size(); ++i)
        arranged[qsizetype(i)]->setSelected(selected[i]);
}

void TCopyF::UpBtnClick()
{
    std::vector<bool> selected = selectedRows();
    const std::vector<int> newOrder = filecopy::moveSelectedUp(selected);
    reorder(newOrder, selected);
}

void TCopyF::DownBtnClick()
{
    std::vector<bool> selected = selectedRows();
    const std::vector<int> newOrder = filecopy::moveSelectedDown(selected);
    reorder(newOrder, selected);
}

void TCopyF::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}
