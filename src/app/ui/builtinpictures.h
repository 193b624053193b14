#pragma once
// Pictures drawn in code, so that Tunovia looks complete without any skin
// folder; the same pictures are written out as the default skins.
#include <QImage>
#include <QPixmap>
#include <QString>
#include <array>

namespace BuiltinPictures {

// The eight image buttons of the tool bar, in skin-table order.
enum class ButtonPicture : int { Pre, Play, Pause, Stop, Next, Winamp, Scmpx, Mci, Count };
inline constexpr int kButtonPictureCount = static_cast<int>(ButtonPicture::Count);
inline constexpr std::array<ButtonPicture, kButtonPictureCount> kAllButtonPictures = {
    ButtonPicture::Pre,  ButtonPicture::Play,   ButtonPicture::Pause, ButtonPicture::Stop,
    ButtonPicture::Next, ButtonPicture::Winamp, ButtonPicture::Scmpx, ButtonPicture::Mci};

inline constexpr QSize kDigitSize{14, 20};
inline constexpr QSize kSeparatorSize{6, 20};
inline constexpr QSize kButtonSize{24, 20};
inline constexpr QSize kPlayButtonSize{48, 20};
inline constexpr QSize kLyricsStateSize{16, 16};
inline constexpr QSize kLogoSize{360, 120};
inline constexpr QSize kIconSize{32, 32};

QSize buttonSize(ButtonPicture which);
// "pre.bmp", or "click_pre.bmp" for the pressed picture.
QString buttonFileName(ButtonPicture which, bool pressed);
// "0.bmp" … "9.bmp"; the separator is "_.bmp".
QString digitFileName(int digit);
QString separatorFileName();

// QImage forms work without a display; the QPixmap forms need a running
// QGuiApplication like every QPixmap.
QImage digitImage(int digit); // digit outside 0–9 gives an all-dark cell
QImage separatorImage();
QImage buttonImage(ButtonPicture which, bool pressed);
// state: 0 lyrics beside the track, 1 in the search folder, 2 both; anything
// else gives a transparent picture.
QImage lyricsStateImage(int state);
QImage logoImage();
QImage iconImage();

QPixmap digit(int digit);
QPixmap separator();
QPixmap button(ButtonPicture which, bool pressed);
QPixmap lyricsState(int state);
QPixmap logo();
QPixmap icon();

// Writes the digit pictures and separator into timeSkinDir and the sixteen
// button pictures into buttonSkinDir, creating both folders. Each folder is
// used as given, with or without a trailing "/". False if any file failed.
bool writeDefaultSkins(const QString &timeSkinDir, const QString &buttonSkinDir);

} // namespace BuiltinPictures
