#pragma once
// The general-purpose plug-in interface between a player (the host) and a
// plug-in library such as gen_tunly.so.
//
// Loading. The host loads every "gen_*.so" of its Plugins/ folder, resolves
// the one exported C function winampGetGeneralPurposePlugin and calls it; it
// returns the plug-in's record, which lives as long as the library stays
// loaded. The host rejects a record whose version is not
// GeneralPurposePluginVersion.
//
// Record layout (C struct, natural alignment, fields in this order):
//     int32_t  version           0x10
//     char    *description       zero-terminated UTF-8; "" until init
//     int32_t (*init)(void)      returns 0 on success
//     void    (*config)(void)
//     void    (*quit)(void)
//     void    *parentWindow      set by the host before init
//     void    *libraryInstance   set by the host before init
//
// parentWindow is the host's message window: the native() pointer of a
// MessageWindow (platform/windowbus.h) living in the host process. The plug-in
// turns it back into a handle with WindowHandle::fromNative() and sends it
// window messages through the direct path, so results that are addresses
// (the playlist entry text) are valid in the plug-in. libraryInstance is
// opaque: the plug-in never dereferences it.
//
// Threads and calls. Everything happens on the host's GUI thread, which runs
// a Qt event loop (a QApplication when config may be called):
//  * init: once after the host filled in parentWindow and libraryInstance.
//    May read settings and start timers on the host's event loop. Must not
//    block or show UI.
//  * config: when the user asks; may run a modal dialog (a nested event loop,
//    so the plug-in's timers and the host's message handling go on).
//  * quit: once before the host exits or unloads the library. Must stop every
//    timer and release everything the plug-in started; after quit the host
//    calls nothing but init again.
//  * No function may delete host objects, call quit/init re-entrantly, or
//    keep a pointer returned by a message beyond the call that handled it.
#include <cstdint>

#define TUNOVIA_PLUGIN_EXPORT __attribute__((visibility("default")))

extern "C" {

struct GeneralPurposePlugin {
    int32_t version;
    char *description;
    int32_t (*init)();
    void (*config)();
    void (*quit)();
    void *parentWindow;
    void *libraryInstance;
};

typedef GeneralPurposePlugin *(*GetGeneralPurposePluginFunction)();

TUNOVIA_PLUGIN_EXPORT GeneralPurposePlugin *winampGetGeneralPurposePlugin();

} // extern "C"

inline constexpr int32_t GeneralPurposePluginVersion = 0x10;
inline constexpr char GeneralPurposePluginExport[] = "winampGetGeneralPurposePlugin";
