#include "standin/pluginhost.h"

#include "plugin/gen_tunly.h"

#include <QDir>
#include <QLibrary>

PluginHost::~PluginHost() { quitAll(); }

int PluginHost::loadAll(const QString &folder, void *parentWindow)
{
    const QDir dir(folder);
    const QStringList names = dir.entryList({QStringLiteral("gen_*.so")}, QDir::Files | QDir::Readable, QDir::Name);
    int started = 0;
    for (const QString &name : names) {
        auto library = std::make_unique<QLibrary>(dir.filePath(name));
        if (!library->load()) {
            m_problems.append(QStringLiteral("%1: %2").arg(name, library->errorString()));
            continue;
        }
        auto get = reinterpret_cast<GetGeneralPurposePluginFunction>(library->resolve(GeneralPurposePluginExport));
        GeneralPurposePlugin *record = get ? get() : nullptr;
        if (!record || record->version != GeneralPurposePluginVersion || !record->init) {
            m_problems.append(QStringLiteral("%1: not a general-purpose plug-in").arg(name));
            continue;
        }
        record->parentWindow = parentWindow;
        record->libraryInstance = library.get();
        if (record->init() != 0) {
            m_problems.append(QStringLiteral("%1: init failed").arg(name));
            continue;
        }
        // Never unloaded: a plug-in's Qt objects may outlive quit by an
        // event-loop turn.
        m_plugins.push_back({std::move(library), record});
        ++started;
    }
    return started;
}

QString PluginHost::description(int index) const
{
    if (index < 0 || index >= count() || !m_plugins[size_t(index)].record->description)
        return QString();
    return QString::fromUtf8(m_plugins[size_t(index)].record->description);
}

void PluginHost::configure(int index)
{
    if (index >= 0 && index < count() && m_plugins[size_t(index)].record->config)
        m_plugins[size_t(index)].record->config();
}

void PluginHost::quitAll()
{
    for (auto it = m_plugins.rbegin(); it != m_plugins.rend(); ++it) {
        if (it->record->quit)
            it->record->quit();
    }
    // Destroying a QLibrary does not unload it (see loadAll).
    m_plugins.clear();
}
