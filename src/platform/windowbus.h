#pragma once
// Window messages between programs, carried by the D-Bus session bus.
//
// Protocol (enough to implement a window in any language):
//
//  * A window is a D-Bus connection that owns the well-known bus name
//        org.tunovia.Window.<escaped class name>
//    The class name is taken as UTF-8; every byte outside A-Z a-z 0-9, and a
//    digit in first place, is written as "_" followed by two lower-case hex
//    digits; an empty class name is "_". "Winamp v1.x" becomes
//    org.tunovia.Window.Winamp_20v1_2ex, "SCMPX" stays SCMPX. The first
//    connection to own the name is the window that is found; a later one of
//    the same class is not found while the first lives. Names longer than
//    D-Bus allows (255 bytes) cannot be registered and are never found.
//  * The window exports the object path /window with the interface
//    org.tunovia.Window:
//        SendMessage(u msg, x wParam, x lParam) -> x result
//            Handled at once; the caller waits at most 2 s. A caller treats
//            no window, no answer in time or any D-Bus error as result 0.
//            A window that let a call run out of time counts as missing
//            (not found, every call 0 at once) until it answers a
//            GetWindowText again, which the caller asks in the background
//            at most once a second.
//        PostMessage(u msg, x wParam, x lParam)      (no reply is sent)
//            Queued by the window and handled after the posts before it and
//            before any later send from the same caller. Callers send posts
//            and sends over one connection, so D-Bus keeps them in order.
//        GetWindowText() -> s
//            The window's title.
//  * Message numbers are the players' own: 0x0111 (WM_COMMAND) carries a
//    command code in wParam, 0x0400 (WM_USER) a request number in lParam.
//
// Inside one process a window is called directly, without the bus, in the
// caller's thread (which must be the window's thread, the GUI thread). Windows
// of the current process are found before any window on the bus, and are
// found even without a session bus; without a bus nothing else is found and
// every call to a handle that is not local returns 0.
//
// The registry of local windows is kept on the QCoreApplication object, so
// that a plug-in library carrying its own copy of this module reaches the
// windows of its host.
#include <QObject>
#include <QPointer>
#include <QString>

#include <deque>
#include <functional>
#include <memory>

class QDBusConnection;

// Refers to one window: a window of this process, or the bus connection of a
// window in another program. Stays valid as a value after the window is gone;
// calls to a gone window return 0.
class WindowHandle {
public:
    WindowHandle() = default;

    bool isNull() const { return !m_local && m_busName.isEmpty(); }
    explicit operator bool() const { return !isNull(); }
    bool isLocal() const { return !m_local.isNull(); }
    // The unique bus name of a remote window's connection ("" for local ones).
    const QString &busName() const { return m_busName; }

    // An opaque pointer for a local window (handed to plug-ins as their
    // host's window), null otherwise; fromNative() accepts only pointers of
    // windows that are alive in this process.
    void *native() const { return m_local.data(); }
    static WindowHandle fromNative(void *window);

    bool operator==(const WindowHandle &other) const
    {
        return m_local == other.m_local && m_busName == other.m_busName;
    }

private:
    friend class WindowBus;
    friend class MessageWindow;
    QPointer<QObject> m_local;
    QString m_busName;
};

class WindowBus {
public:
    WindowBus() = delete;

    static constexpr const char *NamePrefix = "org.tunovia.Window.";
    static constexpr const char *ObjectPath = "/window";
    static constexpr const char *Interface = "org.tunovia.Window";
    static constexpr int SendTimeoutMs = 2000;

    static QString escapeClassName(const QString &className);
    static QString busNameFor(const QString &className)
    {
        return QLatin1String(NamePrefix) + escapeClassName(className);
    }

    // The window of this class, or a null handle when there is none or it
    // has not answered in time (see the protocol above).
    static WindowHandle findWindow(const QString &className);
    // Synchronous; 0 when the window is missing, does not answer in 2 s or fails.
    static qint64 send(const WindowHandle &window, quint32 msg, qint64 wParam, qint64 lParam);
    // Does not wait; keeps its order with sends and posts of this program.
    static void post(const WindowHandle &window, quint32 msg, qint64 wParam, qint64 lParam);
    // "" when the window is missing.
    static QString windowText(const WindowHandle &window);
};

// A window that other programs (and this one) find by its class name. The
// handler runs on the GUI thread for every message sent or posted to it.
class MessageWindow : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<qint64(quint32 msg, qint64 wParam, qint64 lParam)>;

    MessageWindow(const QString &className, Handler handler, const QString &title = QString(),
                  QObject *parent = nullptr);
    ~MessageWindow() override;
    Q_DISABLE_COPY_MOVE(MessageWindow)

    const QString &className() const { return m_className; }
    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }

    // False when there is no session bus or another program owns the name.
    bool ownsBusName() const { return m_ownsName; }
    WindowHandle handle() const;
    // True while the handler runs for a posted (not sent) message.
    bool handlingPost() const { return m_inPost; }
    // True while the handler runs for a message from another program; such a
    // caller cannot use results that are addresses in this process.
    bool handlingBusMessage() const { return m_fromBus; }

    // Offers another object on this window's bus connection (for requests
    // that do not fit in a message). False without a bus.
    bool exportObject(const QString &path, QObject *object);

    // The direct path, also used across copies of this module by name.
    Q_INVOKABLE qint64 deliverSend(quint32 msg, qint64 wParam, qint64 lParam);
    Q_INVOKABLE void deliverPost(quint32 msg, qint64 wParam, qint64 lParam);
    Q_INVOKABLE QString windowTitle() const { return m_title; }
    Q_INVOKABLE QString windowClassName() const { return m_className; }

private:
    friend class WindowBusAdaptor;
    struct Posted {
        quint32 msg;
        qint64 wParam;
        qint64 lParam;
        bool fromBus;
    };
    qint64 handleSend(quint32 msg, qint64 wParam, qint64 lParam, bool fromBus);
    void queuePost(quint32 msg, qint64 wParam, qint64 lParam, bool fromBus);
    void drainPosts();

    QString m_className;
    Handler m_handler;
    QString m_title;
    QString m_connectionName;
    QString m_uniqueName;
    bool m_ownsName = false;
    bool m_inPost = false;
    bool m_fromBus = false;
    bool m_drainScheduled = false;
    std::deque<Posted> m_posted;
    QPointer<QObject> m_registryEntry;
    std::unique_ptr<QObject> m_adaptor;
};
