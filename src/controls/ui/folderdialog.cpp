#include "controls/ui/folderdialog.h"

#include "platform/ui/prompts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QUrl>
#include <QWidget>

TFolderDialog::TFolderDialog(QObject *parent) : QObject(parent) {}

TFolderDialog::~TFolderDialog() = default;

QString TFolderDialog::withoutTrailingSeparator(const QString &dir)
{
    if (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        return dir.chopped(1);
    // Paths written on Windows: only a drive root such as "C:\" keeps it.
    if (dir.size() > 3 && dir.endsWith(QLatin1Char('\\')))
        return dir.chopped(1);
    return dir;
}

void TFolderDialog::setStatusText(const QString &text)
{
    m_statusText = text;
    if (m_statusLabel)
        m_statusLabel->setText(text);
}

QWidget *TFolderDialog::ownerWindow() const
{
    for (QObject *o = parent(); o; o = o->parent()) {
        if (auto *w = qobject_cast<QWidget *>(o))
            return w->window();
    }
    return nullptr;
}

bool TFolderDialog::executeThroughPrompts()
{
    m_directory.clear();
    emit shown();
    m_open = true;
    const QString chosen = m_prompts->folder(ownerWindow(), m_caption, m_startDir);
    m_directory = chosen.isEmpty() ? QString() : QDir::cleanPath(chosen);
    m_open = false;
    emit closed();
    return !m_directory.isEmpty();
}

bool TFolderDialog::Execute()
{
    if (m_prompts)
        return executeThroughPrompts();
    QFileDialog dlg(ownerWindow(), m_caption);
    dlg.setObjectName(QStringLiteral("FolderDialog"));
    // Qt's own dialog: the native ones do not report selection changes or
    // let a start folder be highlighted.
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setOption(QFileDialog::ShowDirsOnly, true);
    dlg.setFileMode(QFileDialog::Directory);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setWindowModality(Qt::WindowModal);

    const QString root = m_rootDir.isEmpty() ? QString() : QFileInfo(m_rootDir).absoluteFilePath();
    const bool haveRoot = !root.isEmpty() && QFileInfo(root).isDir();
    if (haveRoot) {
        dlg.setDirectory(root);
        dlg.setSidebarUrls({QUrl::fromLocalFile(root)});
        // Keep the user inside the root, as a tree rooted there would.
        const QString rootWithSlash = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
        connect(&dlg, &QFileDialog::directoryEntered, &dlg, [&dlg, root, rootWithSlash](const QString &entered) {
            const QString path = QDir::cleanPath(entered);
            if (path != root && !path.startsWith(rootWithSlash))
                dlg.setDirectory(root);
        });
    }
    if (!m_startDir.isEmpty()) {
        const QFileInfo start(m_startDir);
        if (start.isDir()) {
            dlg.setDirectory(start.absolutePath());
            dlg.selectFile(start.absoluteFilePath());
        }
    }
    if (m_flags.testFlag(lfStatusText)) {
        if (auto *grid = qobject_cast<QGridLayout *>(dlg.layout())) {
            auto *status = new QLabel(m_statusText, &dlg);
            status->setObjectName(QStringLiteral("StatusText"));
            grid->addWidget(status, grid->rowCount(), 0, 1, grid->columnCount());
            m_statusLabel = status;
        }
    }

    connect(&dlg, &QFileDialog::currentChanged, this, [this](const QString &path) {
        if (!m_open)
            return;
        m_directory = path;
        emit selectionChanged();
    });
    // Runs inside exec() once the dialog is up.
    QMetaObject::invokeMethod(
        &dlg,
        [this, &dlg] {
            m_dialog = &dlg;
            emit shown();
            m_open = true;
        },
        Qt::QueuedConnection);

    m_directory.clear();
    const bool accepted = dlg.exec() == QDialog::Accepted;
    const QString chosen = accepted ? dlg.selectedFiles().value(0) : QString();
    m_directory = chosen.isEmpty() ? QString() : QDir::cleanPath(chosen);
    m_open = false;
    m_dialog = nullptr;
    m_statusLabel = nullptr;
    emit closed();
    return !m_directory.isEmpty();
}
