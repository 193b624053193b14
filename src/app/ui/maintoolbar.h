#pragma once
// The main window's tool bar: the image buttons with their normal and pressed
// pictures, the player-quit and list-style buttons, the volume bar, the total
// panel, the time digits, and the two hidden buttons behind Esc and Enter.
// The window connects the buttons to its commands.
#include "app/ui/builtinpictures.h"
#include "platform/result.h"

#include <QFrame>
#include <QPixmap>
#include <array>

class QLabel;
class QPushButton;
class QToolButton;
class TDisRangeTrackBar;

class MainToolBar : public QFrame {
public:
    static constexpr int kPictureCount = BuiltinPictures::kButtonPictureCount;
    using ImageButtons = std::array<QToolButton *, kPictureCount>;

    // shortcutOwner carries the Esc and Enter keys (the main window).
    MainToolBar(QWidget *shortcutOwner, QWidget *parent);

    // RunWinamp, RunScmpx, RunMci, SpeedButton1-5 in picture order.
    const ImageButtons &imageButtons() const { return m_imageButtons; }
    QToolButton *imageButton(BuiltinPictures::ButtonPicture which) const { return m_imageButtons[size_t(which)]; }
    QToolButton *playerQuitButton() const { return m_PlayerQuitBtn; }
    QToolButton *listButton() const { return m_ListBtn; }
    QToolButton *reportButton() const { return m_ReportBtn; }
    TDisRangeTrackBar *volumeBar() const { return m_VolumeBar; }
    QLabel *totalTimePanel() const { return m_TotalTimePnl; }
    QFrame *timePanel() const { return m_TimePnl; }
    const std::array<QLabel *, 4> &timeDigits() const { return m_timeDigits; }
    QLabel *separator() const { return m_Img1; }
    const std::array<QPixmap, 10> &digitPictures() const { return m_digitPictures; } // Image0-Image9
    QPushButton *exitButton() const { return m_ExitBtn; }
    QPushButton *winampButton() const { return m_WinampBtn; }

    // Shows picture `pressed` or the normal one on image button `which`.
    void setButtonPicture(int which, bool pressed);
    // Reads the time skin and the button skin named by their folder prefixes
    // (see looksettings.h for which files) and resets the digits to 0. Fails
    // with the message naming the file that could not be read; the pictures
    // read before it stay.
    [[nodiscard]] Result<> loadSkins(const QString &timeSkin, const QString &buttonSkin);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ImageButtons m_imageButtons{};
    std::array<QPixmap, kPictureCount> m_normalPictures;  // SBtn1n, Run*Img1
    std::array<QPixmap, kPictureCount> m_pressedPictures; // SBtn2n, Run*Img2
    QToolButton *m_PlayerQuitBtn = nullptr;
    QToolButton *m_ListBtn = nullptr;
    QToolButton *m_ReportBtn = nullptr;
    TDisRangeTrackBar *m_VolumeBar = nullptr;
    QLabel *m_TotalTimePnl = nullptr;
    QFrame *m_TimePnl = nullptr;
    std::array<QLabel *, 4> m_timeDigits{}; // Time1-Time4
    QLabel *m_Img1 = nullptr;
    std::array<QPixmap, 10> m_digitPictures;
    QPushButton *m_ExitBtn = nullptr;
    QPushButton *m_WinampBtn = nullptr;
};
