#include "app/ui/tunoviaapp.h"

#include "platform/ui/prompts.h"

#include <QLibraryInfo>
#include <exception>

TunoviaApplication::TunoviaApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    // No display name: the window system would append it to every caption.
    setApplicationName(QStringLiteral("Tunovia"));
    setApplicationVersion(QStringLiteral("4.30"));
    // Qt's own dialogs and standard buttons speak the language of the rest
    // of the program, whatever the user's locale.
    if (m_qtTranslator.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&m_qtTranslator);
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
