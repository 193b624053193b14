#include "platform/windowbus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QElapsedTimer>
#include <QMutex>
#include <QThread>
#include <QVariant>

#include <map>

namespace {

// Shared by every copy of this module in the process (the host's and each
// plug-in's), because it hangs off the one application object.
constexpr char kRegistryName[] = "org.tunovia.Window.registry";
constexpr char kWindowProperty[] = "tunoviaWindow";
constexpr int kMaxBusNameLength = 255;

QObject *registry(bool create)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app) {
        static QObject fallback;
        return &fallback;
    }
    QObject *found = app->findChild<QObject *>(QLatin1String(kRegistryName), Qt::FindDirectChildrenOnly);
    if (!found && create) {
        found = new QObject(app);
        found->setObjectName(QLatin1String(kRegistryName));
    }
    return found;
}

QObject *windowOf(const QObject *entry) { return entry->property(kWindowProperty).value<QObject *>(); }

Qt::ConnectionType callTypeFor(const QObject *window)
{
    return window->thread() == QThread::currentThread() ? Qt::DirectConnection : Qt::BlockingQueuedConnection;
}

QDBusMessage methodCall(const WindowHandle &window, const char *method)
{
    return QDBusMessage::createMethodCall(window.busName(), QLatin1String(WindowBus::ObjectPath),
                                          QLatin1String(WindowBus::Interface), QLatin1String(method));
}

bool ranOutOfTime(const QDBusMessage &reply)
{
    if (reply.type() != QDBusMessage::ErrorMessage)
        return false;
    const QDBusError::ErrorType type = QDBusError(reply).type();
    return type == QDBusError::NoReply || type == QDBusError::Timeout || type == QDBusError::TimedOut;
}

// Windows on the bus that let a call run out of time. Such a window counts as
// not running until it answers again, so that a stopped or hung player costs
// the caller one wait, not one per message. Whether it answers again is asked
// in the background, at most once a second, with a title request that its
// GUI thread (the one that handles messages) has to answer.
class SilentWindows {
public:
    static constexpr qint64 ProbeIntervalMs = 1000;

    static SilentWindows &instance()
    {
        static SilentWindows windows;
        return windows;
    }

    void add(const QString &busName)
    {
        const QMutexLocker lock(&m_mutex);
        Entry &entry = m_entries[busName];
        entry.sinceProbe.start();
    }

    // True while `busName` counts as not running; asks it again when due.
    bool isSilent(const QString &busName)
    {
        const QMutexLocker lock(&m_mutex);
        const auto it = m_entries.find(busName);
        if (it == m_entries.end())
            return false;
        Entry &entry = it->second;
        if (!entry.probing && entry.sinceProbe.elapsed() >= ProbeIntervalMs) {
            entry.probing = true;
            entry.sinceProbe.start();
            probe(busName);
        }
        return true;
    }

private:
    struct Entry {
        QElapsedTimer sinceProbe;
        bool probing = false;
    };

    // Called with the mutex held; the answer arrives through the event loop
    // of the calling thread.
    void probe(const QString &busName)
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected()) {
            m_entries.erase(busName);
            return;
        }
        const QDBusMessage call =
            QDBusMessage::createMethodCall(busName, QLatin1String(WindowBus::ObjectPath),
                                           QLatin1String(WindowBus::Interface), QStringLiteral("GetWindowText"));
        QCoreApplication *app = QCoreApplication::instance();
        QObject *parent = app && app->thread() == QThread::currentThread() ? app : nullptr;
        auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, WindowBus::SendTimeoutMs), parent);
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                         [this, busName](QDBusPendingCallWatcher *done) {
                             done->deleteLater();
                             const QMutexLocker lock(&m_mutex);
                             // The analyzer loses `this` in Qt's slot object.
                             // NOLINTNEXTLINE(clang-analyzer-core.CallAndMessage)
                             const auto it = m_entries.find(busName);
                             if (it == m_entries.end())
                                 return;
                             // Any other error means the window has gone, and
                             // its unique name never comes back.
                             if (done->isError() && ranOutOfTime(done->reply()))
                                 it->second.probing = false;
                             else
                                 m_entries.erase(it);
                         });
    }

    QMutex m_mutex;
    std::map<QString, Entry> m_entries;
};

// A call that would wait for a silent window gives up at once.
bool isSilent(const WindowHandle &window) { return SilentWindows::instance().isSilent(window.busName()); }

} // namespace

// The object a window exports on its own bus connection.
class WindowBusAdaptor : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.tunovia.Window")
public:
    explicit WindowBusAdaptor(MessageWindow *window) : m_window(window) {}

public Q_SLOTS:
    qlonglong SendMessage(uint msg, qlonglong wParam, qlonglong lParam)
    {
        return m_window ? m_window->handleSend(msg, wParam, lParam, true) : 0;
    }
    Q_NOREPLY void PostMessage(uint msg, qlonglong wParam, qlonglong lParam)
    {
        if (m_window)
            m_window->queuePost(msg, wParam, lParam, true);
    }
    QString GetWindowText() { return m_window ? m_window->title() : QString(); }

private:
    QPointer<MessageWindow> m_window;
};

WindowHandle WindowHandle::fromNative(void *window)
{
    WindowHandle handle;
    if (!window)
        return handle;
    QObject *reg = registry(false);
    if (!reg)
        return handle;
    for (QObject *entry : reg->children()) {
        QObject *candidate = windowOf(entry);
        if (candidate && static_cast<void *>(candidate) == window) {
            handle.m_local = candidate;
            break;
        }
    }
    return handle;
}

QString WindowBus::escapeClassName(const QString &className)
{
    if (className.isEmpty())
        return QStringLiteral("_");
    static constexpr char hex[] = "0123456789abcdef";
    const QByteArray utf8 = className.toUtf8();
    QString out;
    out.reserve(utf8.size() * 3);
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const bool digit = c >= '0' && c <= '9';
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (letter || (digit && i > 0)) {
            out += QLatin1Char(static_cast<char>(c));
        } else {
            out += QLatin1Char('_');
            out += QLatin1Char(hex[c >> 4]);
            out += QLatin1Char(hex[c & 0x0F]);
        }
    }
    return out;
}

WindowHandle WindowBus::findWindow(const QString &className)
{
    WindowHandle handle;
    if (QObject *reg = registry(false)) {
        for (QObject *entry : reg->children()) {
            if (entry->objectName() == className) {
                if (QObject *window = windowOf(entry)) {
                    handle.m_local = window;
                    return handle;
                }
            }
        }
    }
    const QString name = busNameFor(className);
    if (name.size() > kMaxBusNameLength)
        return handle;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return handle;
    const QDBusReply<QString> owner = bus.interface()->serviceOwner(name);
    if (owner.isValid() && !owner.value().isEmpty() && !SilentWindows::instance().isSilent(owner.value()))
        handle.m_busName = owner.value();
    return handle;
}

qint64 WindowBus::send(const WindowHandle &window, quint32 msg, qint64 wParam, qint64 lParam)
{
    if (window.isLocal()) {
        QObject *target = window.m_local.data();
        qint64 result = 0;
        QMetaObject::invokeMethod(target, "deliverSend", callTypeFor(target), Q_RETURN_ARG(qint64, result),
                                  Q_ARG(quint32, msg), Q_ARG(qint64, wParam), Q_ARG(qint64, lParam));
        return result;
    }
    if (window.busName().isEmpty() || isSilent(window))
        return 0;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return 0;
    QDBusMessage call = methodCall(window, "SendMessage");
    call << uint(msg) << qlonglong(wParam) << qlonglong(lParam);
    const QDBusMessage reply = bus.call(call, QDBus::Block, SendTimeoutMs);
    if (ranOutOfTime(reply))
        SilentWindows::instance().add(window.busName());
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return 0;
    return reply.arguments().constFirst().toLongLong();
}

void WindowBus::post(const WindowHandle &window, quint32 msg, qint64 wParam, qint64 lParam)
{
    if (window.isLocal()) {
        QObject *target = window.m_local.data();
        QMetaObject::invokeMethod(target, "deliverPost", callTypeFor(target), Q_ARG(quint32, msg),
                                  Q_ARG(qint64, wParam), Q_ARG(qint64, lParam));
        return;
    }
    if (window.busName().isEmpty() || isSilent(window))
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = methodCall(window, "PostMessage");
    call << uint(msg) << qlonglong(wParam) << qlonglong(lParam);
    // Same connection as send(), so the bus delivers both in the order made.
    bus.send(call);
}

QString WindowBus::windowText(const WindowHandle &window)
{
    if (window.isLocal()) {
        QObject *target = window.m_local.data();
        QString title;
        QMetaObject::invokeMethod(target, "windowTitle", callTypeFor(target), Q_RETURN_ARG(QString, title));
        return title;
    }
    if (window.busName().isEmpty() || isSilent(window))
        return QString();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return QString();
    const QDBusMessage reply = bus.call(methodCall(window, "GetWindowText"), QDBus::Block, SendTimeoutMs);
    if (ranOutOfTime(reply))
        SilentWindows::instance().add(window.busName());
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return QString();
    return reply.arguments().constFirst().toString();
}

MessageWindow::MessageWindow(const QString &className, Handler handler, const QString &title, QObject *parent)
    : QObject(parent), m_className(className), m_handler(std::move(handler)), m_title(title)
{
    auto *entry = new QObject(registry(true));
    entry->setObjectName(className);
    entry->setProperty(kWindowProperty, QVariant::fromValue<QObject *>(this));
    m_registryEntry = entry;

    const QString name = WindowBus::busNameFor(className);
    if (name.size() > kMaxBusNameLength)
        return;
    // One connection per window: each needs its own /window object.
    const QString connectionName = QStringLiteral("tunovia-window-%1").arg(quintptr(this), 0, 16);
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName);
    if (!bus.isConnected() || !bus.interface()) {
        QDBusConnection::disconnectFromBus(connectionName);
        return;
    }
    m_connectionName = connectionName;
    m_uniqueName = bus.baseService();
    m_adaptor = std::make_unique<WindowBusAdaptor>(this);
    bus.registerObject(QLatin1String(WindowBus::ObjectPath), m_adaptor.get(), QDBusConnection::ExportAllSlots);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus.interface()->registerService(
        name, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    m_ownsName = reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
}

MessageWindow::~MessageWindow()
{
    if (!m_connectionName.isEmpty()) {
        QDBusConnection bus(m_connectionName);
        if (m_ownsName && bus.interface())
            bus.interface()->unregisterService(WindowBus::busNameFor(m_className));
        bus.unregisterObject(QLatin1String(WindowBus::ObjectPath));
        QDBusConnection::disconnectFromBus(m_connectionName);
    }
    delete m_registryEntry.data();
}

WindowHandle MessageWindow::handle() const
{
    WindowHandle h;
    h.m_local = const_cast<MessageWindow *>(this);
    return h;
}

bool MessageWindow::exportObject(const QString &path, QObject *object)
{
    if (m_connectionName.isEmpty())
        return false;
    QDBusConnection bus(m_connectionName);
    return bus.registerObject(path, object, QDBusConnection::ExportAllSlots);
}

qint64 MessageWindow::deliverSend(quint32 msg, qint64 wParam, qint64 lParam)
{
    return handleSend(msg, wParam, lParam, false);
}

void MessageWindow::deliverPost(quint32 msg, qint64 wParam, qint64 lParam) { queuePost(msg, wParam, lParam, false); }

qint64 MessageWindow::handleSend(quint32 msg, qint64 wParam, qint64 lParam, bool fromBus)
{
    // Posts made before this send are handled first.
    drainPosts();
    if (!m_handler)
        return 0;
    const bool outer = m_fromBus;
    m_fromBus = fromBus;
    const qint64 result = m_handler(msg, wParam, lParam);
    m_fromBus = outer;
    return result;
}

void MessageWindow::queuePost(quint32 msg, qint64 wParam, qint64 lParam, bool fromBus)
{
    m_posted.push_back({msg, wParam, lParam, fromBus});
    if (!m_drainScheduled) {
        m_drainScheduled = true;
        QMetaObject::invokeMethod(this, &MessageWindow::drainPosts, Qt::QueuedConnection);
    }
}

void MessageWindow::drainPosts()
{
    m_drainScheduled = false;
    while (!m_posted.empty()) {
        const Posted p = m_posted.front();
        m_posted.pop_front();
        const bool outerPost = m_inPost;
        const bool outerBus = m_fromBus;
        m_inPost = true;
        m_fromBus = p.fromBus;
        if (m_handler)
            m_handler(p.msg, p.wParam, p.lParam);
        m_inPost = outerPost;
        m_fromBus = outerBus;
    }
}

#include "windowbus.moc"
