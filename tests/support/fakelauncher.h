#pragma once
// Test double of the launcher: records every request and starts nothing.
#include "platform/launcher.h"

#include <QList>

class FakeLauncher final : public Launcher {
public:
    enum class Kind { Start, Document, Folder };
    struct Request {
        Kind kind;
        QString target; // program, document or folder
        QStringList arguments;
        int showWindow = -1;
    };

    // What every request returns (a program that fails to start, a missing opener).
    bool succeed = true;

    const QList<Request> &requests() const { return m_requests; }
    void clear() { m_requests.clear(); }

    bool startDetached(const QString &program, const QStringList &arguments, int showWindow) override
    {
        m_requests.append({Kind::Start, program, arguments, showWindow});
        return succeed;
    }
    bool openDocument(const QString &path) override
    {
        m_requests.append({Kind::Document, path, {}, -1});
        return succeed;
    }
    bool openFolder(const QString &folder) override
    {
        m_requests.append({Kind::Folder, folder, {}, -1});
        return succeed;
    }

private:
    QList<Request> m_requests;
};
