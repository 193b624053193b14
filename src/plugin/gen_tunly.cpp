// gen_tunly: tells Tunovia which file the host player plays, by writing the
// file name of the current playlist entry to Tunov.dat in the player's folder.
#include "plugin/gen_tunly.h"
#include "plugin/intervaldialog.h"

#include "config/settingsstore.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/textcodec.h"
#include "platform/windowbus.h"
#include "playback/playermessages.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QSaveFile>
#include <QTimer>

#include <dlfcn.h>

#include <cstdio>
#include <memory>

namespace {

constexpr char kDescriptionBase[] = "Tunovia Lyrics Sub Plug-In v1.10";
constexpr char kDefaultWinampPath[] = "WinampNotInstalled.$$$";
constexpr int kDefaultInterval = 1000;
// A window timer cannot run faster than this; a smaller setting would spin.
constexpr int kMinimumInterval = 10;

char g_description[512] = "";

int32_t pluginInit();
void pluginConfig();
void pluginQuit();

GeneralPurposePlugin g_record = {
    GeneralPurposePluginVersion, g_description, pluginInit, pluginConfig, pluginQuit, nullptr, nullptr};

struct State {
    QString winampPath;
    int interval = kDefaultInterval;
    QString dataFile;
    QByteArray lastWritten;
    bool hasWritten = false;
    std::unique_ptr<QTimer> timer;
};

State &state()
{
    static State s;
    return s;
}

ProfileFile settingsFile() { return ProfileFile(paths::settingsDir() + QStringLiteral("/Tunov.ini")); }

QString readWinampPath(const ProfileFile &settings)
{
    const QString path =
        settings.readString(settingskeys::kSetting, settingskeys::key::Winamp, QLatin1String(kDefaultWinampPath));
    // An empty path would put the data file at the file-system root.
    return path.isEmpty() ? QLatin1String(kDefaultWinampPath) : path;
}

int readInterval(const ProfileFile &settings)
{
    return settings.readInt(settingskeys::kPlugIn, settingskeys::key::Interval, kDefaultInterval);
}

QByteArray ownFileName()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&winampGetGeneralPurposePlugin), &info) == 0 || !info.dli_fname)
        return QByteArray();
    const QByteArray path(info.dli_fname);
    return path.mid(path.lastIndexOf('/') + 1);
}

void poll()
{
    State &s = state();
    const WindowHandle host = WindowHandle::fromNative(g_record.parentWindow);
    const qint64 position = WindowBus::send(host, WM_USER, 0, winamp::IpcGetListPos);
    const qint64 address = WindowBus::send(host, WM_USER, position, winamp::IpcGetPlaylistFile);
    // fromNative() only accepts windows of this process, so the address is ours to read.
    const QByteArray text =
        // NOLINTNEXTLINE(performance-no-int-to-ptr): the player hands the address over as a number
        address ? QByteArray(reinterpret_cast<const char *>(static_cast<quintptr>(address))) : QByteArray("(null)");
    if (s.hasWritten && text == s.lastWritten)
        return;

    // Written beside and renamed over the old file, so that Tunovia never
    // reads a half-written name.
    QSaveFile file(s.dataFile);
    if (!file.open(QIODevice::WriteOnly))
        return;
    // Tunovia reads the name as a file of this system: UTF-8, even when the
    // host hands over CP932.
    file.write(text::toSystemBytes(text));
    file.write("\n", 1);
    if (!file.commit())
        return; // not remembered: the next poll tries again
    s.lastWritten = text;
    s.hasWritten = true;
}

int32_t pluginInit()
{
    State &s = state();
    std::snprintf(g_description, sizeof g_description, "%s [%s]", kDescriptionBase, ownFileName().constData());
    g_record.description = g_description;

    const ProfileFile settings = settingsFile();
    s.winampPath = readWinampPath(settings);
    s.interval = readInterval(settings);

    const QString winamp = paths::fromWindows(s.winampPath);
    const qsizetype slash = winamp.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash >= 0 ? winamp.left(slash) : winamp;
    s.dataFile = folder + QStringLiteral("/Tunov.dat");
    s.hasWritten = false;
    s.lastWritten.clear();

    if (QCoreApplication::instance()) {
        s.timer = std::make_unique<QTimer>();
        s.timer->setInterval(qMax(s.interval, kMinimumInterval));
        QObject::connect(s.timer.get(), &QTimer::timeout, s.timer.get(), &poll);
        s.timer->start();
    }
    return 0;
}

void pluginConfig()
{
    // A dialog needs a widget application; a console host gets nothing.
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    State &s = state();
    QWidget *owner = nullptr;
    if (QObject *host = static_cast<QObject *>(WindowHandle::fromNative(g_record.parentWindow).native())) {
        for (QObject *o = host->parent(); o && !owner; o = o->parent())
            owner = qobject_cast<QWidget *>(o);
    }
    IntervalDialog dialog(s.interval, owner);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ProfileFile settings = settingsFile();
    // The player gives a plug-in no place to tell a failure; a failed write
    // leaves the interval stored before, which the reads below then return.
    static_cast<void>(settings.writeString(settingskeys::kPlugIn, settingskeys::key::Interval, dialog.intervalText()));
    // Kept for the next start; the running timer and data file stay as they are.
    s.winampPath = readWinampPath(settings);
    s.interval = readInterval(settings);
}

void pluginQuit()
{
    State &s = state();
    s.timer.reset();
    if (!s.dataFile.isEmpty())
        QFile::remove(s.dataFile);
    s.hasWritten = false;
    s.lastWritten.clear();
}

} // namespace

extern "C" TUNOVIA_PLUGIN_EXPORT GeneralPurposePlugin *winampGetGeneralPurposePlugin() { return &g_record; }
