#include "app/ui/tunoviaapp.h"

#include "platform/ui/prompts.h"

#include <exception>

TunoviaApplication::TunoviaApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    // No display name: the window system would append it to every caption.
    setApplicationName(QStringLiteral("Tunovia"));
    setApplicationVersion(QStringLiteral("4.30"));
}

bool TunoviaApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        if (m_prompts)
            m_prompts->exception(activeWindow(), QString::fromUtf8(e.what()));
    } catch (...) {
        if (m_prompts)
            m_prompts->exception(activeWindow(), QStringLiteral("予期しないエラーが発生しました。"));
    }
    return false;
}
