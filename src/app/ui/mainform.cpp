#include "app/ui/mainform.h"

#include "config/wincolor.h"
#include "controls/mutexcheck.h"
#include "controls/ui/animatewindow.h"
#include "controls/ui/dtrackbar.h"
#include "controls/ui/folderdialog.h"
#include "platform/launcher.h"
#include "platform/paths.h"
#include "platform/u8.h"
#include "platform/ui/prompts.h"
#include "tracks/trackmodel.h"

#include <QApplication>
#include <algorithm>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QSlider>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

using BuiltinPictures::ButtonPicture;

namespace {

const char *const kHandOverHints[3] = {"Winampに選択ファイルを渡す", "SCMPXに選択ファイルを渡す", "内蔵プレイヤーで再生"};
const char *const kSpeedHints[5] = {"Previous", "Play/Restart", "Pause/Unpause", "Stop", "Next"};
constexpr int kRunWinamp = int(ButtonPicture::Winamp);
constexpr int kRunScmpx = int(ButtonPicture::Scmpx);
constexpr int kRunMci = int(ButtonPicture::Mci);

// Draws a row's lyrics state as the picture in front of its title.
class LyricsStateDelegate final : public QStyledItemDelegate {
public:
    explicit LyricsStateDelegate(QObject *parent) : QStyledItemDelegate(parent)
    {
        // Index 0 is the empty picture, so that every title lines up.
        for (int i = 0; i < 4; ++i)
            m_pictures[size_t(i)] = QIcon(BuiltinPictures::lyricsState(i - 1));
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() != 0)
            return;
        const int state = std::clamp(index.data(TrackModel::LyricsStateRole).toInt(), -1, 2);
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->icon = m_pictures[size_t(state + 1)];
        option->decorationSize = BuiltinPictures::kLyricsStateSize;
    }

private:
    std::array<QIcon, 4> m_pictures;
};

} // namespace

TTunoviaF::TTunoviaF(MainServices services, QWidget *parent) : QMainWindow(parent), m_services(services)
{
    setObjectName(QStringLiteral("TunoviaF"));
    // The guard runs while the window is being built, before anything shows.
    m_CheckMutex1 = new MutexCheck(this);
    m_CheckMutex1->setObjectName(QStringLiteral("CheckMutex1"));
    m_CheckMutex1->setMutexId(QStringLiteral("Tunovia"));
    m_CheckMutex1->check();

    setWindowTitle(QStringLiteral("Tunovia"));
    setWindowIcon(BuiltinPictures::icon());
    resize(494, 354);

    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 2, 0, 0); // the bevel above the tool bar
    column->setSpacing(0);
    auto *bar = new QFrame(central);
    bar->setObjectName(QStringLiteral("ToolBarPnl"));
    bar->setFixedHeight(33);
    buildToolBar(bar);
    column->addWidget(bar);
    auto *listArea = new QWidget(central);
    buildLists(listArea);
    column->addWidget(listArea, 1);
    setCentralWidget(central);
    buildMenus();
    m_AnimateWindow1 = new TAnimateWindow(this);
    m_AnimateWindow1->setObjectName(QStringLiteral("AnimateWindow1"));
    m_FolderDialog1 = new TFolderDialog(this);
    m_FolderDialog1->setObjectName(QStringLiteral("FolderDialog1"));

    m_DrawTimer.setObjectName(QStringLiteral("DrawTimer"));
    m_DrawTimer.setInterval(100);
    m_JoyTimer.setObjectName(QStringLiteral("JoyTimer"));
    m_JoyTimer.setInterval(100);
    m_MciTimer.setObjectName(QStringLiteral("MciTimer"));
    m_MciTimer.setInterval(500);

    m_currentIndexPath = m_services.settings.defaultIndexPath();
    setCurrentList(m_MP3ListView2);

    connectPlayerControls();
    connectClockAndLyrics();
    connectJoypad();
}

TTunoviaF::~TTunoviaF() = default;

void TTunoviaF::buildToolBar(QWidget *bar)
{
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(2);

    auto makeImageButton = [&](ButtonPicture which, const QString &name, const QString &hint) {
        auto *b = new QToolButton(bar);
        b->setObjectName(name);
        b->setToolTip(hint);
        b->setAccessibleName(hint);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::TabFocus);
        const int i = int(which);
        m_normalPictures[size_t(i)] = BuiltinPictures::button(which, false);
        m_pressedPictures[size_t(i)] = BuiltinPictures::button(which, true);
        b->setIcon(m_normalPictures[size_t(i)]);
        b->setIconSize(BuiltinPictures::buttonSize(which));
        b->installEventFilter(this);
        m_imageButtons[size_t(i)] = b;
        row->addWidget(b);
        return b;
    };

    connect(makeImageButton(ButtonPicture::Winamp, QStringLiteral("RunWinamp"), U(kHandOverHints[0])),
            &QToolButton::clicked, this, &TTunoviaF::MP3ListViewDblClick);
    connect(makeImageButton(ButtonPicture::Scmpx, QStringLiteral("RunScmpx"), U(kHandOverHints[1])),
            &QToolButton::clicked, this, &TTunoviaF::MP3ListViewDblClick);
    connect(makeImageButton(ButtonPicture::Mci, QStringLiteral("RunMci"), U(kHandOverHints[2])),
            &QToolButton::clicked, this, &TTunoviaF::MP3ListViewDblClick);
    m_imageButtons[kRunScmpx]->hide();
    m_imageButtons[kRunMci]->hide();

    const std::array<void (TTunoviaF::*)(), 5> speedHandlers{
        &TTunoviaF::SpeedButton1Click, &TTunoviaF::SpeedButton2Click, &TTunoviaF::SpeedButton3Click,
        &TTunoviaF::SpeedButton4Click, &TTunoviaF::SpeedButton5Click};
    for (int i = 0; i < 5; ++i) {
        auto *b = makeImageButton(BuiltinPictures::kAllButtonPictures[size_t(i)],
                                  QStringLiteral("SpeedButton%1").arg(i + 1), U(kSpeedHints[i]));
        connect(b, &QToolButton::clicked, this, speedHandlers[size_t(i)]);
    }

    m_PlayerQuitBtn = new QToolButton(bar);
    m_PlayerQuitBtn->setObjectName(QStringLiteral("PlayerQuitBtn"));
    m_PlayerQuitBtn->setToolTip(U("MP3プレイヤーの終了"));
    m_PlayerQuitBtn->setAccessibleName(U("MP3プレイヤーの終了"));
    m_PlayerQuitBtn->setText(QStringLiteral("×"));
    m_PlayerQuitBtn->setAutoRaise(true);
    connect(m_PlayerQuitBtn, &QToolButton::clicked, this, &TTunoviaF::PlayerQuitMnuClick);
    row->addWidget(m_PlayerQuitBtn);
    row->addSpacing(6);

    auto makeStyleButton = [&](const QString &name, const QString &hint, QStyle::StandardPixmap icon) {
        auto *b = new QToolButton(bar);
        b->setObjectName(name);
        b->setToolTip(hint);
        b->setAccessibleName(hint);
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setAutoRaise(true);
        b->setIcon(style()->standardIcon(icon));
        row->addWidget(b);
        return b;
    };
    m_ListBtn = makeStyleButton(QStringLiteral("ListBtn"), U("一覧"), QStyle::SP_FileDialogListView);
    m_ReportBtn = makeStyleButton(QStringLiteral("ReportBtn"), U("詳細"), QStyle::SP_FileDialogDetailedView);
    m_ReportBtn->setChecked(true);
    connect(m_ListBtn, &QToolButton::clicked, this, &TTunoviaF::ListBtnClick);
    connect(m_ReportBtn, &QToolButton::clicked, this, &TTunoviaF::ReportBtnClick);
    row->addSpacing(6);

    m_VolumeBar = new TDisRangeTrackBar(Qt::Horizontal, bar);
    m_VolumeBar->setObjectName(QStringLiteral("VolumeBar"));
    m_VolumeBar->setAccessibleName(U("ボリューム"));
    m_VolumeBar->setToolTip(U("ボリューム"));
    m_VolumeBar->setRange(0, 10);
    m_VolumeBar->setPageStep(1);
    m_VolumeBar->setValue(10);
    m_VolumeBar->setTickPosition(QSlider::TicksBelow);
    m_VolumeBar->setTickInterval(1);
    m_VolumeBar->setFixedWidth(80);
    row->addWidget(m_VolumeBar);
    row->addStretch(1);

    m_TotalTimePnl = new QLabel(QStringLiteral("0:00:00"), bar);
    m_TotalTimePnl->setObjectName(QStringLiteral("TotalTimePnl"));
    m_TotalTimePnl->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_TotalTimePnl->setAlignment(Qt::AlignCenter);
    m_TotalTimePnl->setMinimumWidth(64);
    m_TotalTimePnl->setAccessibleName(U("合計"));
    m_TotalTimePnl->hide();
    row->addWidget(m_TotalTimePnl);

    m_TimePnl = new QFrame(bar);
    m_TimePnl->setObjectName(QStringLiteral("TimePnl2"));
    m_TimePnl->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_TimePnl->setFixedSize(72, 24);
    m_TimePnl->setAccessibleName(U("演奏時間"));
    auto *digits = new QHBoxLayout(m_TimePnl);
    digits->setContentsMargins(2, 1, 2, 1);
    digits->setSpacing(0);
    for (int i = 0; i < 10; ++i)
        m_digitPictures[size_t(i)] = BuiltinPictures::digit(i);
    for (int i = 0; i < 4; ++i) {
        auto *d = new QLabel(m_TimePnl);
        d->setObjectName(QStringLiteral("Time%1").arg(i + 1));
        d->setFixedSize(14, 20);
        d->setScaledContents(true);
        d->setPixmap(m_digitPictures[0]);
        m_timeDigits[size_t(i)] = d;
        digits->addWidget(d);
        if (i == 1) {
            m_Img1 = new QLabel(m_TimePnl);
            m_Img1->setObjectName(QStringLiteral("Img1"));
            m_Img1->setFixedSize(BuiltinPictures::kSeparatorSize);
            m_Img1->setScaledContents(true);
            m_Img1->setPixmap(BuiltinPictures::separator());
            digits->addWidget(m_Img1);
        }
    }
    row->addWidget(m_TimePnl);

    // Zero-sized buttons that carry the window's Esc and Enter keys.
    m_ExitBtn = new QPushButton(U("終了(&X)"), bar);
    m_ExitBtn->setObjectName(QStringLiteral("ExitBtn"));
    m_ExitBtn->setFixedSize(0, 0);
    m_ExitBtn->setFocusPolicy(Qt::NoFocus);
    connect(m_ExitBtn, &QPushButton::clicked, this, &TTunoviaF::ExitBtnClick);
    m_WinampBtn = new QPushButton(bar);
    m_WinampBtn->setObjectName(QStringLiteral("WinampBtn"));
    m_WinampBtn->setFixedSize(0, 0);
    m_WinampBtn->setFocusPolicy(Qt::NoFocus);
    connect(m_WinampBtn, &QPushButton::clicked, this, &TTunoviaF::MP3ListViewDblClick);
    auto *esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, m_ExitBtn, &QPushButton::click);
    for (int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
        auto *enter = new QShortcut(QKeySequence(key), this);
        connect(enter, &QShortcut::activated, m_WinampBtn, &QPushButton::click);
    }
}

void TTunoviaF::buildLists(QWidget *area)
{
    auto *layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    m_model = new TrackModel(TrackModel::Layout::Legacy, this);
    m_model2 = new TrackModel(TrackModel::Layout::Album, this);
    auto makeList = [&](TrackModel *model, const QString &name) {
        auto *view = new QTreeView(area);
        view->setObjectName(name);
        view->setAccessibleName(U("曲リスト"));
        view->setModel(model);
        view->setItemDelegate(new LyricsStateDelegate(view));
        view->setRootIsDecorated(false);
        view->setUniformRowHeights(true);
        view->setItemsExpandable(false);
        view->setAllColumnsShowFocus(true);
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        view->header()->setSectionsMovable(false);
        view->header()->setSectionsClickable(true);
        view->header()->setStretchLastSection(false);
        view->viewport()->installEventFilter(this);
        view->installEventFilter(this);
        connect(view, &QTreeView::doubleClicked, this, &TTunoviaF::MP3ListViewDblClick);
        connect(view, &QWidget::customContextMenuRequested, this,
                [this, view](const QPoint &pos) { m_listMenu->popup(view->viewport()->mapToGlobal(pos)); });
        connect(view->header(), &QHeaderView::sectionClicked, this, &TTunoviaF::MP3ListViewColumnClick);
        layout->addWidget(view);
        return view;
    };
    m_MP3ListView = makeList(m_model, QStringLiteral("MP3ListView"));
    m_MP3ListView2 = makeList(m_model2, QStringLiteral("MP3ListView2"));
    m_MP3ListView->hide();
    for (int i = 0; i < kFiveColumnCount; ++i)
        m_MP3ListView->setColumnWidth(i, m_widths.five[size_t(i)]);
    for (int i = 0; i < kTrackFieldCount; ++i)
        m_MP3ListView2->setColumnWidth(i, m_widths.thirteen[size_t(i)]);
    m_MP3ListView2->setColumnWidth(kTrackFieldCount, 0);
    // The album list draws in the desktop's text colour, the older list in black.
    m_look13.color = wincolor::kWindowText;
}

bool TTunoviaF::eventFilter(QObject *watched, QEvent *event)
{
    // Image buttons show their pressed picture while the mouse is down.
    for (size_t i = 0; i < m_imageButtons.size(); ++i) {
        if (watched != m_imageButtons[i])
            continue;
        if (event->type() == QEvent::MouseButtonPress
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            setButtonPicture(int(i), true);
        else if (event->type() == QEvent::MouseButtonRelease)
            setButtonPicture(int(i), false);
        return QMainWindow::eventFilter(watched, event);
    }
    const bool inList = watched == m_MP3ListView2 || watched == m_MP3ListView2->viewport()
                        || watched == m_MP3ListView || watched == m_MP3ListView->viewport();
    if (inList && (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::KeyRelease))
        updateTotalDisplay();
    // A double click below the rows hands over too; on a row the view's own
    // doubleClicked signal does it.
    if (event->type() == QEvent::MouseButtonDblClick
        && (watched == m_MP3ListView2->viewport() || watched == m_MP3ListView->viewport())) {
        auto *view = static_cast<QTreeView *>(static_cast<QWidget *>(watched)->parentWidget());
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && !view->indexAt(mouse->position().toPoint()).isValid()) {
            MP3ListViewDblClick();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TTunoviaF::setButtonPicture(int which, bool pressed)
{
    QToolButton *b = m_imageButtons[size_t(which)];
    b->setIcon(pressed ? m_pressedPictures[size_t(which)] : m_normalPictures[size_t(which)]);
}

void TTunoviaF::setCurrentList(QTreeView *list)
{
    m_currentList = list;
}

void TTunoviaF::MP3ListViewColumnClick(int column)
{
    // One sort state serves both lists; the click sorts the current one.
    m_sortState = TrackModel::nextSortState(m_sortState, column);
    static_cast<TrackModel *>(m_currentList->model())->sortByState(m_sortState);
}

int TTunoviaF::volumePosition() const { return m_VolumeBar->value(); }

WindowBounds TTunoviaF::bounds() const
{
    const QRect g = geometry();
    return WindowBounds{g.top(), g.left(), g.width(), g.height()};
}

void TTunoviaF::reportStoreError(const StoreResult &result) { m_lifecycle.reportStoreError(result); }

// ---- start-up ----

void TTunoviaF::FormCreate(const QStringList &arguments) { m_lifecycle.create(arguments); }

void TTunoviaF::setVolume(int position) { m_VolumeBar->setValue(position); }

void TTunoviaF::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_firstShowDone) {
        m_firstShowDone = true;
        // Run once the window is on screen, so that dialogs open over it.
        QTimer::singleShot(0, this, &TTunoviaF::FormShow);
    }
}
