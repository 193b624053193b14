#include "app/ui/tracklistviews.h"

#include "app/looksettings.h"
#include "app/ui/builtinpictures.h"
#include "config/wincolor.h"
#include "platform/u8.h"
#include "platform/ui/prompts.h"
#include "tracks/trackmodel.h"

#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// Draws a row's lyrics state as the picture in front of its title.
class LyricsStateDelegate final : public QStyledItemDelegate {
public:
    explicit LyricsStateDelegate(QObject *parent) : QStyledItemDelegate(parent)
    {
        // Index 0 is the empty picture, so that every title lines up.
        for (int i = 0; i < 4; ++i)
            m_pictures[size_t(i)] = QIcon(BuiltinPictures::lyricsState(i - 1));
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() != 0)
            return;
        const int picture = std::clamp(index.data(TrackModel::LyricsStateRole).toInt(), -1, 2) + 1; // state -1..2
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->icon = m_pictures[size_t(picture)];
        option->decorationSize = BuiltinPictures::kLyricsStateSize;
    }

private:
    std::array<QIcon, 4> m_pictures;
};

// Without "ShowSelection" an unfocused list draws its selection in its own
// colours, so those follow a colour change.
void hideInactiveSelection(QPalette &palette)
{
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Inactive, QPalette::Base));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, palette.color(QPalette::Inactive, QPalette::Text));
}

} // namespace

TrackListViews::TrackListViews(const ColumnWidths &widths, Prompts &prompts, QObject *modelOwner, QWidget *parent)
    : QWidget(parent), m_prompts(prompts)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_model = new TrackModel(TrackModel::Layout::Legacy, modelOwner);
    m_model2 = new TrackModel(TrackModel::Layout::Album, modelOwner);
    auto makeList = [&](TrackModel *model, const QString &name) {
        auto *view = new QTreeView(this);
        view->setObjectName(name);
        view->setAccessibleName(U("曲リスト"));
        view->setModel(model);
        view->setItemDelegate(new LyricsStateDelegate(view));
        view->setRootIsDecorated(false);
        view->setUniformRowHeights(true);
        view->setItemsExpandable(false);
        view->setAllColumnsShowFocus(true);
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        view->header()->setSectionsMovable(false);
        view->header()->setSectionsClickable(true);
        view->header()->setStretchLastSection(false);
        layout->addWidget(view);
        return view;
    };
    m_MP3ListView = makeList(m_model, QStringLiteral("MP3ListView"));
    m_MP3ListView2 = makeList(m_model2, QStringLiteral("MP3ListView2"));
    m_MP3ListView->hide();
    for (int i = 0; i < kFiveColumnCount; ++i)
        m_MP3ListView->setColumnWidth(i, widths.five[size_t(i)]);
    for (int i = 0; i < kTrackFieldCount; ++i)
        m_MP3ListView2->setColumnWidth(i, widths.thirteen[size_t(i)]);
    m_MP3ListView2->setColumnWidth(kTrackFieldCount, 0);
}

// A column hidden by the plain-list style still has its width; the header
// reports 0 for it, which must not reach the settings file.
int TrackListViews::keptColumnWidth(QTreeView *view, int column)
{
    QHeaderView *header = view->header();
    if (!header->isSectionHidden(column))
        return header->sectionSize(column);
    const QSignalBlocker quiet(header);
    header->showSection(column);
    const int width = header->sectionSize(column);
    header->hideSection(column);
    return width;
}

void TrackListViews::readColumnWidths(ColumnWidths &widths) const
{
    for (int i = 0; i < kFiveColumnCount; ++i)
        widths.five[size_t(i)] = keptColumnWidth(m_MP3ListView, i);
    widths.thirteen = albumColumnWidths();
}

void TrackListViews::restoreColumnWidths(bool five, const ColumnWidths &widths)
{
    QTreeView *view = five ? m_MP3ListView : m_MP3ListView2;
    view->setUpdatesEnabled(false);
    if (five) {
        for (int i = 0; i < kFiveColumnCount; ++i)
            m_MP3ListView->setColumnWidth(i, widths.five[size_t(i)]);
    } else {
        for (int i = 0; i < kTrackFieldCount; ++i)
            m_MP3ListView2->setColumnWidth(i, widths.thirteen[size_t(i)]);
    }
    view->setUpdatesEnabled(true);
}

void TrackListViews::applyLooks(const ListLooks &looks)
{
    applyLook(m_MP3ListView, looks.five);
    applyLook(m_MP3ListView2, looks.thirteen);
}

void TrackListViews::applyLook(QTreeView *view, const ListLook &look)
{
    QFont font(look.fontName);
    font.setPointSize(looksettings::pointSize(look));
    font.setBold(look.bold);
    font.setItalic(look.italic);
    view->setFont(font);
    QPalette palette = view->palette();
    const QColor window = view->style()->standardPalette().color(QPalette::Base);
    const QColor text = view->style()->standardPalette().color(QPalette::Text);
    palette.setColor(QPalette::Base, wincolor::toColor(look.backColor, window, text));
    palette.setColor(QPalette::Text, wincolor::toColor(look.color, window, text));
    view->setPalette(palette);
}

void TrackListViews::showSelectionUnfocused(bool show)
{
    for (QTreeView *view : {m_MP3ListView, m_MP3ListView2}) {
        // Without focus the selection is drawn only when asked to keep it visible.
        QPalette palette = view->palette();
        const QPalette active = view->style()->standardPalette();
        if (show) {
            palette.setColor(QPalette::Inactive, QPalette::Highlight,
                             active.color(QPalette::Active, QPalette::Highlight));
            palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                             active.color(QPalette::Active, QPalette::HighlightedText));
        } else {
            hideInactiveSelection(palette);
        }
        view->setPalette(palette);
    }
}

void TrackListViews::selectWholeRows(QTreeView *view)
{
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setAllColumnsShowFocus(true);
}

bool TrackListViews::chooseFont(QTreeView *view, ListLook &look)
{
    const auto chosen = m_prompts.font(window(), view->font());
    if (!chosen)
        return false;
    QFont font = view->font();
    font.setFamily(chosen->family());
    font.setPointSize(chosen->pointSize());
    font.setBold(chosen->bold());
    font.setItalic(chosen->italic());
    view->setFont(font);
    looksettings::takeFont(look, font.family(), font.pointSize(), font.bold(), font.italic());
    return true;
}

bool TrackListViews::chooseColor(QTreeView *view, QPalette::ColorRole role, bool showSelection, int &stored)
{
    const QColor current = view->palette().color(role);
    const auto chosen = m_prompts.color(window(), current);
    if (!chosen)
        return false;
    QPalette palette = view->palette();
    palette.setColor(role, *chosen);
    if (!showSelection)
        hideInactiveSelection(palette);
    view->setPalette(palette);
    stored = wincolor::fromColor(*chosen);
    return true;
}

void TrackListViews::resetColumnWidths()
{
    ColumnWidths defaults;
    defaults.five = kDefaultWidths5; // the path column open too
    restoreColumnWidths(true, defaults);
    restoreColumnWidths(false, defaults);
}

void TrackListViews::connectCommands(Commands commands)
{
    m_commands = std::move(commands);
    for (QTreeView *view : {m_MP3ListView, m_MP3ListView2}) {
        view->viewport()->installEventFilter(this);
        view->installEventFilter(this);
        connect(view, &QTreeView::doubleClicked, this, [this] { m_commands.handOver(); });
        connect(view, &QWidget::customContextMenuRequested, this,
                [this, view](const QPoint &pos) { m_commands.popupMenu->popup(view->viewport()->mapToGlobal(pos)); });
        connect(view->header(), &QHeaderView::sectionClicked, this, [this](int column) { m_commands.sortBy(column); });
    }
}

bool TrackListViews::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_commands.touched)
        return QWidget::eventFilter(watched, event);
    const bool onViewport = watched == m_MP3ListView2->viewport() || watched == m_MP3ListView->viewport();
    const bool inList = onViewport || watched == m_MP3ListView2 || watched == m_MP3ListView;
    if (inList && (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::KeyRelease))
        m_commands.touched();
    // A double click below the rows hands over too; on a row the view's own
    // doubleClicked signal does it.
    if (event->type() == QEvent::MouseButtonDblClick && onViewport) {
        auto *view = static_cast<QTreeView *>(static_cast<QWidget *>(watched)->parentWidget());
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && !view->indexAt(mouse->position().toPoint()).isValid()) {
            m_commands.handOver();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

std::array<int, kTrackFieldCount> TrackListViews::albumColumnWidths() const
{
    std::array<int, kTrackFieldCount> widths{};
    for (int i = 0; i < kTrackFieldCount; ++i)
        widths[size_t(i)] = keptColumnWidth(m_MP3ListView2, i);
    return widths;
}
