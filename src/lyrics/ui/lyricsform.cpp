#include "lyrics/ui/lyricsform.h"

#include "config/wincolor.h"
#include "controls/ui/screenfit.h"
#include "platform/launcher.h"
#include "platform/paths.h"
#include "platform/u8.h"
#include "platform/ui/prompts.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
const QString kCaption = QStringLiteral("Lyrics");

// A plain QWidget reads to screen readers as a pane inside something else;
// this one is a window of its own.
QAccessibleInterface *lyricsWindowInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("TLyricsF") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}
} // namespace

TLyricsF::TLyricsF(LyricsFormContext context, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_ctx(std::move(context))
{
    setObjectName(QStringLiteral("LyricsF"));
    static const bool accessibleAsWindow = (QAccessible::installFactory(lyricsWindowInterface), true);
    Q_UNUSED(accessibleAsWindow);
    setWindowTitle(kCaption);
    // Appearing because a new track has lyrics must not take the keyboard
    // away from the track list.
    setAttribute(Qt::WA_ShowWithoutActivating);
    resize(399, 255);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_LyricsList = new QListWidget(this);
    m_LyricsList->setObjectName(QStringLiteral("LyricsList"));
    m_LyricsList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_LyricsList->setUniformItemSizes(true);
    m_LyricsList->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_LyricsList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_LyricsList->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(m_LyricsList);

    m_PopupMenu = new QMenu(this);
    m_PopupMenu->setObjectName(QStringLiteral("PopupMenu1"));
    auto add = [this](const char *caption, const char *name, void (TLyricsF::*handler)()) {
        QAction *a = m_PopupMenu->addAction(U(caption));
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, handler);
    };
    add("Lyricsをテキストエディタで編集(&E)", "LyricsEdtMnu", &TLyricsF::LyricsEdtMnuClick);
    add("LyricsをLyricsエディタで編集(&L)", "LyricsEdtMnu2", &TLyricsF::LyricsEdtMnu2Click);
    add("Lyricsをリロード(&R)", "LyricsReloadMnu", &TLyricsF::LyricsReloadMnuClick);
    connect(m_LyricsList, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_PopupMenu->popup(m_LyricsList->viewport()->mapToGlobal(pos)); });

    applyLook();
}

TLyricsF::~TLyricsF() = default;

// ---- loading ----

void TLyricsF::loadLyrics(int index)
{
    m_TimeList.clear();
    m_timeLines.clear();
    m_LyricsList->clear();
    m_lastTop = -1;
    // Reload shows the information of the track it was last loaded for.
    LyricsFileTag = index;

    // A folder or a missing file is simply "no lyrics".
    std::optional<lyrics::Lyrics> loaded;
    if (QFileInfo(LyricsFile).isFile()) {
        if (Result<lyrics::Lyrics> read = lyrics::readFile(LyricsFile); read.ok())
            loaded = std::move(read).value();
    }
    if (loaded) {
        if (m_ctx.tag == 0) {
            m_ctx.tag = 1;
            showWindow();
        }
        QStringList rows;
        rows.reserve(loaded->lines.size());
        m_TimeList.reserve(loaded->lines.size());
        for (const lyrics::Line &line : loaded->lines) {
            m_TimeList.append(line.tag);
            rows.append(line.text);
        }
        m_timeLines = std::move(loaded->lines);
        for (QString &row : rows) {
            if (row.size() > kMaxShownChars)
                row.truncate(kMaxShownChars);
        }
        m_LyricsList->addItems(rows);
        // Long lines: the row shows the start, the item keeps the whole text.
        for (int i = 0; i < m_timeLines.size(); ++i) {
            if (m_timeLines.at(i).text.size() > kMaxShownChars)
                m_LyricsList->item(i)->setData(Qt::UserRole, m_timeLines.at(i).text);
        }
        // A file without a title line must not keep the previous track's title.
        setWindowTitle(loaded->caption.value_or(kCaption));
        return;
    }

    // Not beside the track: look in the search folder, once. An empty search
    // folder setting means there is none (not the working directory).
    const QString folder = paths::withTrailingSlash(m_ctx.dialog.findFolder);
    if (!folder.isEmpty()) {
        const QString name = paths::namePart(LyricsFile);
        const QString inFolder = folder + name;
        const bool retry = inFolder != LyricsFile;
        LyricsFile = inFolder;
        if (retry && QFileInfo(inFolder).isFile() && QFileInfo(inFolder).isReadable()) {
            loadLyrics(index);
            return;
        }
    }
    if (m_ctx.dialog.noLyricsHide) {
        if (m_ctx.tag == 1)
            closeWindow();
        return;
    }
    m_TimeList.append(QStringLiteral("00:00"));
    m_timeLines.append({QStringLiteral("00:00"), QString()});
    setWindowTitle(kCaption);
    QStringList info = m_ctx.trackInfo ? m_ctx.trackInfo(index) : QStringList();
    if (info.isEmpty())
        info = QStringList{QStringLiteral("No Lyrics File"), QStringLiteral(" ")};
    m_LyricsList->addItems(info);
}

void TLyricsF::followTime(const QString &timeText)
{
    const int k = lyrics::lineForTime(m_timeLines, timeText);
    // Ctrl+click can take the selection off the current row; the highlight
    // must come back, so test the selection, not the current row.
    if (k < 0 || k >= m_LyricsList->count() || m_LyricsList->item(k)->isSelected())
        return;
    m_LyricsList->setCurrentRow(k);
}

int TLyricsF::rowHeight() const
{
    const int h = m_LyricsList->count() > 0 ? m_LyricsList->sizeHintForRow(0) : 0;
    return h > 0 ? h : m_LyricsList->fontMetrics().height();
}

void TLyricsF::centre()
{
    const int visible = m_LyricsList->viewport()->height() / qMax(1, rowHeight());
    const int top = lyrics::centredTopRow(m_LyricsList->currentRow(), visible);
    // Per-item scrolling: the scroll bar's value is the top row.
    QScrollBar *bar = m_LyricsList->verticalScrollBar();
    if (top == m_lastTop && bar->value() == top)
        return;
    m_lastTop = top;
    bar->setValue(top);
}

QStringList TLyricsF::displayList() const
{
    QStringList out;
    out.reserve(m_LyricsList->count());
    for (int i = 0; i < m_LyricsList->count(); ++i) {
        const QListWidgetItem *item = m_LyricsList->item(i);
        const QVariant whole = item->data(Qt::UserRole);
        out.append(whole.isValid() ? whole.toString() : item->text());
    }
    return out;
}

int TLyricsF::selectedRow() const
{
    const QList<QListWidgetItem *> selected = m_LyricsList->selectedItems();
    return selected.isEmpty() ? -1 : m_LyricsList->row(selected.first());
}

// ---- showing and closing ----

void TLyricsF::applyLook()
{
    QFont font(m_ctx.dialog.lyricsFontName);
    font.setPointSize(qMax(1, m_ctx.dialog.lyricsFontSize));
    font.setBold(m_ctx.dialog.lyricsBold);
    font.setItalic(m_ctx.dialog.lyricsItalic);
    m_LyricsList->setFont(font);
    QPalette palette = m_LyricsList->palette();
    const QColor window = palette.color(QPalette::Base);
    const QColor text = palette.color(QPalette::Text);
    palette.setColor(QPalette::Base, wincolor::toColor(m_ctx.dialog.lyricsBackColor, window, text));
    palette.setColor(QPalette::Text, wincolor::toColor(m_ctx.dialog.lyricsFontColor, window, text));
    m_LyricsList->setPalette(palette);
    m_lastTop = -1;
}

void TLyricsF::showWindow()
{
    if (!isVisible()) {
        const WindowBounds &b = m_ctx.window.bounds;
        const bool stored = b.width > 0 && b.height > 0;
        if (stored)
            setGeometry(screenfit::fitClient(this, QRect(b.left, b.top, b.width, b.height)));
        applyLook();
        show();
        // The frame's width is known only now.
        if (stored)
            setGeometry(screenfit::fitClient(this, geometry()));
        return;
    }
    show();
}

void TLyricsF::closeWindow()
{
    if (isVisible())
        close(); // runs FormCloseQuery
    else
        m_ctx.tag = 0;
}

void TLyricsF::closeEvent(QCloseEvent *event)
{
    FormCloseQuery();
    event->accept();
}

void TLyricsF::FormCloseQuery()
{
    const QRect g = geometry();
    m_ctx.window.bounds = WindowBounds{g.top(), g.left(), g.width(), g.height()};
    const ProfileWrite result = m_ctx.settings.storeLyricsWindowBounds(m_ctx.window.bounds);
    m_ctx.tag = 0;
    if (!result.ok() && m_ctx.reportStoreError)
        m_ctx.reportStoreError(result);
}

// ---- pop-up menu ----

void TLyricsF::startEditor(const QString &editor, const QString &missingText)
{
    if (editor.isEmpty()) {
        m_ctx.prompts.error(this, missingText);
        return;
    }
    // The user reloads after editing.
    if (!m_ctx.launcher.startEditor(editor, LyricsFile))
        m_ctx.prompts.error(this, editor + U("を起動できませんでした。"));
}

void TLyricsF::LyricsEdtMnuClick()
{
    startEditor(m_ctx.dialog.textEditor, U("テキストエディタのパスが設定されていません。"));
}

void TLyricsF::LyricsEdtMnu2Click()
{
    startEditor(m_ctx.dialog.lyricsEditor, U("Lyricsエディタのパスが設定されていません。"));
}

void TLyricsF::LyricsReloadMnuClick() { loadLyrics(LyricsFileTag); }
