#pragma once
// Message numbers understood by the outside players (Winamp and SCMPX, or the
// stand-in player that answers in their place). Commands travel as
// WM_COMMAND with the command code in wParam and 0 in lParam; requests travel
// as WM_USER with the request number in lParam and its argument in wParam.
#include <QtGlobal>

inline constexpr quint32 WM_COMMAND = 0x0111;
inline constexpr quint32 WM_USER = 0x0400;

namespace winamp {

// Transport buttons. Shift and Ctrl variants are the plain code + 100 / + 110.
inline constexpr qint64 Previous = 40044;
inline constexpr qint64 Play = 40045;
inline constexpr qint64 Pause = 40046;
inline constexpr qint64 Stop = 40047;
inline constexpr qint64 Next = 40048;
inline constexpr qint64 ShiftOffset = 100; // 40144 ... 40148
inline constexpr qint64 CtrlOffset = 110;  // 40154 ... 40158
inline constexpr qint64 Close = 40001;

// WM_USER requests (lParam).
inline constexpr qint64 IpcGetOutputTime = 105;   // wParam 0: position in ms, 1: length in s; -1 when none
inline constexpr qint64 IpcSetVolume = 122;       // wParam 0..255
inline constexpr qint64 IpcGetListPos = 125;      // current playlist index
inline constexpr qint64 IpcGetPlaylistFile = 211; // wParam index: address of the entry's name text, 0 if none

inline constexpr qint64 ShiftCode(qint64 plain) { return plain + ShiftOffset; }
inline constexpr qint64 CtrlCode(qint64 plain) { return plain + CtrlOffset; }

inline constexpr char DefaultClassName[] = "Winamp v1.x";

} // namespace winamp

namespace scmpx {

// WM_COMMAND codes.
inline constexpr qint64 Previous = 40024;
inline constexpr qint64 Pause = 40058;
inline constexpr qint64 Stop = 40022;
inline constexpr qint64 Next = 40023;
inline constexpr qint64 Close = 40001;

// WM_USER requests (lParam).
inline constexpr qint64 GetVersion = 0;      // result: version number
inline constexpr qint64 PathChar = 100;      // posted: one byte of the playlist path (signed), 0 ends it
inline constexpr qint64 PathBegin = 101;     // start receiving a playlist path
inline constexpr qint64 Play = 102;          // load the received playlist (if any) and play
inline constexpr qint64 GetOutputTime = 105; // as Winamp's
inline constexpr qint64 SetVolume = 122;     // wParam 0..255 (inverted when the version is InvertedVolumeVersion)

// A player answering this version takes 255 as silence and 0 as full volume.
inline constexpr qint64 InvertedVolumeVersion = 2464; // 0x9A0

inline constexpr char DefaultClassName[] = "SCMPX";

// The wParam for one byte of a path: the byte as a signed 8-bit value widened.
inline constexpr qint64 pathCharParam(char byte) { return static_cast<qint64>(static_cast<qint8>(byte)); }

} // namespace scmpx
