#include "app/ui/maintoolbar.h"

#include "app/looksettings.h"
#include "controls/ui/dtrackbar.h"
#include "platform/regularfile.h"
#include "platform/u8.h"

#include <QFile>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>

using BuiltinPictures::ButtonPicture;

namespace {

const char *const kHandOverHints[3] = {"Winampに選択ファイルを渡す", "SCMPXに選択ファイルを渡す",
                                       "内蔵プレイヤーで再生"};
const char *const kSpeedHints[5] = {"Previous", "Play/Restart", "Pause/Unpause", "Stop", "Next"};

// What a skin load failure reports; the pictures loaded before it stay.
struct SkinError {
    QString file;
};

QPixmap loadSkinPicture(const QString &file)
{
    // Read from a checked file: a FIFO named like a skin picture would never answer.
    QFile device;
    if (!regularfile::open(device, file))
        throw SkinError{file};
    QImageReader reader(&device);
    const QImage image = reader.read();
    if (image.isNull())
        throw SkinError{file};
    return QPixmap::fromImage(image);
}

} // namespace

MainToolBar::MainToolBar(QWidget *shortcutOwner, QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("ToolBarPnl"));
    setFixedHeight(33);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(2);

    auto makeImageButton = [&](ButtonPicture which, const QString &name, const QString &hint) {
        auto *b = new QToolButton(this);
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
    };
    makeImageButton(ButtonPicture::Winamp, QStringLiteral("RunWinamp"), U(kHandOverHints[0]));
    makeImageButton(ButtonPicture::Scmpx, QStringLiteral("RunScmpx"), U(kHandOverHints[1]));
    makeImageButton(ButtonPicture::Mci, QStringLiteral("RunMci"), U(kHandOverHints[2]));
    imageButton(ButtonPicture::Scmpx)->hide();
    imageButton(ButtonPicture::Mci)->hide();
    for (int i = 0; i < 5; ++i)
        makeImageButton(BuiltinPictures::kAllButtonPictures[size_t(i)], QStringLiteral("SpeedButton%1").arg(i + 1),
                        U(kSpeedHints[i]));

    m_PlayerQuitBtn = new QToolButton(this);
    m_PlayerQuitBtn->setObjectName(QStringLiteral("PlayerQuitBtn"));
    m_PlayerQuitBtn->setToolTip(U("MP3プレイヤーの終了"));
    m_PlayerQuitBtn->setAccessibleName(U("MP3プレイヤーの終了"));
    m_PlayerQuitBtn->setText(QStringLiteral("×"));
    m_PlayerQuitBtn->setAutoRaise(true);
    row->addWidget(m_PlayerQuitBtn);
    row->addSpacing(6);

    auto makeStyleButton = [&](const QString &name, const QString &hint, QStyle::StandardPixmap icon) {
        auto *b = new QToolButton(this);
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
    row->addSpacing(6);

    m_VolumeBar = new TDisRangeTrackBar(Qt::Horizontal, this);
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

    m_TotalTimePnl = new QLabel(QStringLiteral("0:00:00"), this);
    m_TotalTimePnl->setObjectName(QStringLiteral("TotalTimePnl"));
    m_TotalTimePnl->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_TotalTimePnl->setAlignment(Qt::AlignCenter);
    m_TotalTimePnl->setMinimumWidth(64);
    m_TotalTimePnl->setAccessibleName(U("合計"));
    m_TotalTimePnl->hide();
    row->addWidget(m_TotalTimePnl);

    m_TimePnl = new QFrame(this);
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
    m_ExitBtn = new QPushButton(U("終了(&X)"), this);
    m_ExitBtn->setObjectName(QStringLiteral("ExitBtn"));
    m_ExitBtn->setFixedSize(0, 0);
    m_ExitBtn->setFocusPolicy(Qt::NoFocus);
    m_WinampBtn = new QPushButton(this);
    m_WinampBtn->setObjectName(QStringLiteral("WinampBtn"));
    m_WinampBtn->setFixedSize(0, 0);
    m_WinampBtn->setFocusPolicy(Qt::NoFocus);
    auto *esc = new QShortcut(QKeySequence(Qt::Key_Escape), shortcutOwner);
    connect(esc, &QShortcut::activated, m_ExitBtn, &QPushButton::click);
    for (int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
        auto *enter = new QShortcut(QKeySequence(key), shortcutOwner);
        connect(enter, &QShortcut::activated, m_WinampBtn, &QPushButton::click);
    }
}

bool MainToolBar::eventFilter(QObject *watched, QEvent *event)
{
    // Image buttons show their pressed picture while the mouse is down.
    for (size_t i = 0; i < m_imageButtons.size(); ++i) {
        if (watched != m_imageButtons[i])
            continue;
        if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            setButtonPicture(int(i), true);
        else if (event->type() == QEvent::MouseButtonRelease)
            setButtonPicture(int(i), false);
        break;
    }
    return QFrame::eventFilter(watched, event);
}

void MainToolBar::setButtonPicture(int which, bool pressed)
{
    QToolButton *b = m_imageButtons[size_t(which)];
    b->setIcon(pressed ? m_pressedPictures[size_t(which)] : m_normalPictures[size_t(which)]);
}

Result<> MainToolBar::loadSkins(const QString &timeSkin, const QString &buttonSkin)
{
    try {
        const QStringList timeFiles = looksettings::timeSkinFiles(timeSkin);
        if (!timeFiles.isEmpty()) {
            for (int i = 0; i < 10; ++i)
                m_digitPictures[size_t(i)] = loadSkinPicture(timeFiles[i]);
            m_Img1->setPixmap(loadSkinPicture(timeFiles[10]));
        }
        for (QLabel *digit : m_timeDigits)
            digit->setPixmap(m_digitPictures[0]);

        QStringList normalNames, pressedNames;
        for (auto which : BuiltinPictures::kAllButtonPictures) {
            normalNames << BuiltinPictures::buttonFileName(which, false);
            pressedNames << BuiltinPictures::buttonFileName(which, true);
        }
        const auto buttonFiles = looksettings::buttonSkinFiles(buttonSkin, normalNames, pressedNames);
        if (!buttonFiles.normal.isEmpty()) {
            for (auto which : BuiltinPictures::kAllButtonPictures) {
                const size_t i = size_t(which);
                m_imageButtons[i]->setIcon(loadSkinPicture(buttonFiles.normal[int(i)]));
                m_normalPictures[i] = m_imageButtons[i]->icon().pixmap(BuiltinPictures::buttonSize(which));
            }
            for (auto which : BuiltinPictures::kAllButtonPictures) {
                const size_t i = size_t(which);
                m_pressedPictures[i] =
                    buttonFiles.pressed.isEmpty() ? m_normalPictures[i] : loadSkinPicture(buttonFiles.pressed[int(i)]);
            }
        }
        for (auto which : BuiltinPictures::kAllButtonPictures) {
            const size_t i = size_t(which);
            m_normalPictures[i] = m_imageButtons[i]->icon().pixmap(BuiltinPictures::buttonSize(which));
        }
    } catch (const SkinError &e) {
        return Result<>::failure(looksettings::skinErrorText(e.file));
    }
    return {};
}
