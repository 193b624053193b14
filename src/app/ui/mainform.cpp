#include "app/ui/mainform.h"

#include "app/ui/mainmenus.h"
#include "controls/mutexcheck.h"
#include "controls/ui/animatewindow.h"
#include "controls/ui/dtrackbar.h"
#include "controls/ui/folderdialog.h"
#include "tracks/tracklists.h"

#include <QPushButton>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

TTunoviaF::TTunoviaF(MainServices services, QWidget *parent)
    : QMainWindow(parent), m_services(services), m_toolBar(new MainToolBar(this, this))
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
    m_listMenu = mainmenus::build(*this);
    connectToolBarAndLists();
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
    setCurrentList(listView2());

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

    m_lists->connectCommands({[this] { updateTotalDisplay(); }, [this] { MP3ListViewDblClick(); },
                              [this](int column) { MP3ListViewColumnClick(column); }, m_listMenu});
}

void TTunoviaF::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_firstShowDone) {
        m_firstShowDone = true;
        // Run once the window is on screen, so that dialogs open over it.
        QTimer::singleShot(0, this, &TTunoviaF::FormShow);
    }
}

void TTunoviaF::setCurrentList(QTreeView *list)
{
    m_currentList = list;
    trackLists().setLegacyCurrent(list == listView());
}

int TTunoviaF::volumePosition() const { return volumeBar()->value(); }
void TTunoviaF::setVolume(int position) { volumeBar()->setValue(position); }

void TTunoviaF::reportStoreError(const ProfileWrite &result) { m_lifecycle.reportStoreError(result); }
