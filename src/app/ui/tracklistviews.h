#pragma once
// The two track lists of the main window with their models: the five-column
// list of an older track list file (hidden at first) and the thirteen-column
// album list. Also puts a list look, column widths and chosen fonts and
// colours on the views; the looks and widths themselves are ListLooks.
#include "app/looksettings.h"

#include <QPalette>
#include <QWidget>
#include <functional>

class Prompts;
class QMenu;
class QTreeView;
class TrackModel;

class TrackListViews : public QWidget {
public:
    // The models belong to modelOwner. Font and colour choices ask prompts.
    TrackListViews(const ColumnWidths &widths, Prompts &prompts, QObject *modelOwner, QWidget *parent);

    TrackModel *legacyModel() const { return m_model; }
    TrackModel *albumModel() const { return m_model2; }
    QTreeView *legacyView() const { return m_MP3ListView; } // five columns
    QTreeView *albumView() const { return m_MP3ListView2; } // thirteen columns

    // What the lists' own events run, on both lists.
    struct Commands {
        std::function<void()> touched;          // a mouse button or key released on a list
        std::function<void()> handOver;         // a double click, on a row or below the rows
        std::function<void(int column)> sortBy; // a header click
        QMenu *popupMenu;                       // the right-click menu
    };
    void connectCommands(Commands commands);

    // The album list's kept widths.
    std::array<int, kTrackFieldCount> albumColumnWidths() const;
    // A column's width even while the plain-list style hides it.
    static int keptColumnWidth(QTreeView *view, int column);
    // The kept widths of both lists.
    void readColumnWidths(ColumnWidths &widths) const;
    // Puts the stored widths on one list (the five-column one when five).
    void restoreColumnWidths(bool five, const ColumnWidths &widths);
    // Puts the default widths on both lists.
    void resetColumnWidths();

    // The fonts and colours of the stored looks, on both lists.
    void applyLooks(const ListLooks &looks);
    static void applyLook(QTreeView *view, const ListLook &look);
    // Whether an unfocused list still draws its selection, on both lists.
    void showSelectionUnfocused(bool show);
    // Selecting a cell selects its whole row.
    static void selectWholeRows(QTreeView *view);
    // Asks for a font for view, sets it and records it in look; false if none was chosen.
    bool chooseFont(QTreeView *view, ListLook &look);
    // Asks for the colour of role (Text or Base) on view, sets it and puts it
    // into stored as the settings file keeps it; false if none was chosen.
    bool chooseColor(QTreeView *view, QPalette::ColorRole role, bool showSelection, int &stored);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Prompts &m_prompts;
    Commands m_commands{};
    TrackModel *m_model = nullptr;
    TrackModel *m_model2 = nullptr;
    QTreeView *m_MP3ListView = nullptr;
    QTreeView *m_MP3ListView2 = nullptr;
};
