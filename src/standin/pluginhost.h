#pragma once
// Loads the general-purpose plug-ins ("gen_*.so") of a folder and drives them
// through their records: init after loading, config on request, quit at exit.
#include <QLibrary>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

struct GeneralPurposePlugin;

class PluginHost {
public:
    PluginHost() = default;
    ~PluginHost();
    Q_DISABLE_COPY_MOVE(PluginHost)

    // Loads and initialises every plug-in of `folder` in name order; returns
    // how many were started. Libraries that fail to load, lack the entry
    // point or have another record version are skipped (see problems()).
    int loadAll(const QString &folder, void *parentWindow);
    int count() const { return int(m_plugins.size()); }
    QString description(int index) const;
    void configure(int index);
    // Calls quit of every plug-in, last loaded first; later calls do nothing.
    void quitAll();
    const QStringList &problems() const { return m_problems; }

private:
    struct Loaded {
        std::unique_ptr<QLibrary> library;
        GeneralPurposePlugin *record = nullptr;
    };
    std::vector<Loaded> m_plugins;
    QStringList m_problems;
};
