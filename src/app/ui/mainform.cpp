#include "app/ui/mainform.h"

#include "app/commandline.h"
#include "app/startupindex.h"
#include "app/ui/maintoolbar.h"
#include "app/ui/tracklistviews.h"
#include "config/wincolor.h"
#include "controls/mutexcheck.h"
#include "controls/ui/animatewindow.h"
#include "controls/ui/dtrackbar.h"
#include "controls/ui/folderdialog.h"
#include "platform/launcher.h"
#include "platform/paths.h"
#include "platform/u8.h"
#include "platform/ui/prompts.h"
#include "tracks/tracklists.h"
#include "tracks/trackmodel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

TTunoviaF::TTunoviaF(MainServices services, QWidget *parent)
    : QMainWindow(parent), m_services(services), m_toolBar(new MainToolBar(this, this)),
      m_digitPictures(m_toolBar->digitPictures())
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
    column->addWidget(m_toolBar);
    m_lists = new TrackListViews(m_looks.widths, m_services.prompts, this, central);
    column->addWidget(m_lists, 1);
    setCentralWidget(central);
    m_imageButtons = m_toolBar->imageButtons();
    m_VolumeBar = m_toolBar->volumeBar();
    m_TotalTimePnl = m_toolBar->totalTimePanel();
    m_TimePnl = m_toolBar->timePanel();
    m_timeDigits = m_toolBar->timeDigits();
    m_Img1 = m_toolBar->separator();
    m_model = m_lists->legacyModel();
    m_model2 = m_lists->albumModel();
    m_MP3ListView = m_lists->legacyView();
    m_MP3ListView2 = m_lists->albumView();
    connectToolBarAndLists();
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

void TTunoviaF::connectToolBarAndLists()
{
    using BuiltinPictures::ButtonPicture;
    for (auto which : {ButtonPicture::Winamp, ButtonPicture::Scmpx, ButtonPicture::Mci})
        connect(m_toolBar->imageButton(which), &QToolButton::clicked, this, &TTunoviaF::MP3ListViewDblClick);
    const std::array<void (TTunoviaF::*)(), 5> speedHandlers{
        &TTunoviaF::SpeedButton1Click, &TTunoviaF::SpeedButton2Click, &TTunoviaF::SpeedButton3Click,
        &TTunoviaF::SpeedButton4Click, &TTunoviaF::SpeedButton5Click};
    for (size_t i = 0; i < speedHandlers.size(); ++i)
        connect(m_toolBar->imageButton(BuiltinPictures::kAllButtonPictures[i]), &QToolButton::clicked, this,
                speedHandlers[i]);
    connect(m_toolBar->playerQuitButton(), &QToolButton::clicked, this, &TTunoviaF::PlayerQuitMnuClick);
    connect(m_toolBar->listButton(), &QToolButton::clicked, this, &TTunoviaF::ListBtnClick);
    connect(m_toolBar->reportButton(), &QToolButton::clicked, this, &TTunoviaF::ReportBtnClick);
    connect(m_toolBar->exitButton(), &QPushButton::clicked, this, &TTunoviaF::ExitBtnClick);
    connect(m_toolBar->winampButton(), &QPushButton::clicked, this, &TTunoviaF::MP3ListViewDblClick);

    for (QTreeView *view : {m_MP3ListView, m_MP3ListView2}) {
        view->viewport()->installEventFilter(this);
        view->installEventFilter(this);
        connect(view, &QTreeView::doubleClicked, this, &TTunoviaF::MP3ListViewDblClick);
        connect(view, &QWidget::customContextMenuRequested, this,
                [this, view](const QPoint &pos) { m_listMenu->popup(view->viewport()->mapToGlobal(pos)); });
        connect(view->header(), &QHeaderView::sectionClicked, this, &TTunoviaF::MP3ListViewColumnClick);
    }
}

bool TTunoviaF::eventFilter(QObject *watched, QEvent *event)
{
    const bool inList = watched == m_MP3ListView2 || watched == m_MP3ListView2->viewport() ||
                        watched == m_MP3ListView || watched == m_MP3ListView->viewport();
    if (inList && (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::KeyRelease))
        updateTotalDisplay();
    // A double click below the rows hands over too; on a row the view's own
    // doubleClicked signal does it.
    if (event->type() == QEvent::MouseButtonDblClick &&
        (watched == m_MP3ListView2->viewport() || watched == m_MP3ListView->viewport())) {
        auto *view = static_cast<QTreeView *>(static_cast<QWidget *>(watched)->parentWidget());
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && !view->indexAt(mouse->position().toPoint()).isValid()) {
            MP3ListViewDblClick();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TTunoviaF::setCurrentList(QTreeView *list)
{
    m_currentList = list;
    trackLists().setLegacyCurrent(list == m_MP3ListView);
}

void TTunoviaF::MP3ListViewColumnClick(int column) { trackLists().columnClicked(column); }

int TTunoviaF::volumePosition() const { return m_VolumeBar->value(); }

int TTunoviaF::keptColumnWidth(QTreeView *view, int column) { return TrackListViews::keptColumnWidth(view, column); }

WindowBounds TTunoviaF::bounds() const
{
    const QRect g = geometry();
    return WindowBounds{g.top(), g.left(), g.width(), g.height()};
}

void TTunoviaF::reportStoreError(const ProfileWrite &result) { m_lifecycle.reportStoreError(result); }

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
