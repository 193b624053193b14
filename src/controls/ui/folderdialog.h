#pragma once
// Non-visual component that lets the user pick a folder in a modal dialog.
#include <QFileDialog>
#include <QFlags>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QString>

class Prompts;

class TFolderDialog : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(QString RootDir READ rootDir WRITE setRootDir)
    Q_PROPERTY(QString StartDir READ startDir WRITE setStartDir)
    Q_PROPERTY(ListedFlags ListedFlags READ listedFlags WRITE setListedFlags)
    Q_PROPERTY(QString StatusText READ statusText WRITE setStatusText)
    Q_PROPERTY(QString Directory READ directory)

public:
    enum ListedFlag {
        lfBrowseForComputer = 0x01,
        lfBrowseForPrinter = 0x02,
        lfDontGoBelowDomain = 0x04,
        lfReturnFSAncestors = 0x08,
        lfReturnOnlyFSDirs = 0x10,
        lfStatusText = 0x20,
    };
    Q_DECLARE_FLAGS(ListedFlags, ListedFlag)
    Q_FLAG(ListedFlags)

    explicit TFolderDialog(QObject *parent = nullptr);
    ~TFolderDialog() override;

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption) { m_caption = caption; }
    QString rootDir() const { return m_rootDir; }
    void setRootDir(const QString &dir) { m_rootDir = withoutTrailingSeparator(dir); }
    QString startDir() const { return m_startDir; }
    void setStartDir(const QString &dir) { m_startDir = withoutTrailingSeparator(dir); }
    ListedFlags listedFlags() const { return m_flags; }
    void setListedFlags(ListedFlags flags) { m_flags = flags; }
    QString statusText() const { return m_statusText; }
    void setStatusText(const QString &text);

    // The chosen folder after Execute, the highlighted one while open.
    QString directory() const { return m_directory; }
    bool isOpen() const { return m_open; }
    // The open dialog between shown() and closed(); null otherwise.
    QFileDialog *dialog() const { return m_dialog; }

    // Modal over the owner's window. True when a folder was chosen.
    bool Execute();

    // When set, Execute asks the prompt service for the folder instead of
    // showing its own dialog, so form tests answer it from their script.
    // No selection changes are reported then.
    void setPrompts(Prompts *prompts) { m_prompts = prompts; }

    // "/music/" → "/music", "/" stays; the Windows form "C:\Music\" → "C:\Music"
    // and a drive root "C:\" stays.
    static QString withoutTrailingSeparator(const QString &dir);

signals:
    void shown();
    void selectionChanged();
    void closed();

private:
    QWidget *ownerWindow() const;
    bool executeThroughPrompts();

    QString m_caption;
    QString m_rootDir;
    QString m_startDir;
    ListedFlags m_flags = lfReturnOnlyFSDirs;
    QString m_statusText;
    QString m_directory;
    bool m_open = false;
    QPointer<QFileDialog> m_dialog;
    QPointer<QLabel> m_statusLabel;
    Prompts *m_prompts = nullptr;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TFolderDialog::ListedFlags)
