#pragma once
// Single-instance guard: a non-visual component that ends a second copy of
// the program silently, before any of its windows is shown. The running copy
// is neither told nor raised.
#include <QObject>
#include <QString>

class MutexCheck : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString MutexID READ mutexId WRITE setMutexId)

public:
    explicit MutexCheck(QObject *parent = nullptr) : QObject(parent) {}

    QString mutexId() const { return m_mutexId; }
    void setMutexId(const QString &id) { m_mutexId = id; }

    // Runs once, after MutexID is set. When another process holds the lock
    // named MutexID, the process exits at once with status -1 (255) and no
    // message; otherwise the lock is kept for the rest of the process's life.
    // An empty MutexID guards nothing. When no lock can be made at all (no
    // writable folder) the program runs unguarded rather than not at all.
    void check();

    bool checked() const { return m_checked; }

private:
    QString m_mutexId;
    bool m_checked = false;
};
