#pragma once

#include "results/GridStore.h"

#include <QTableView>

#include <memory>
#include <vector>

class QKeyEvent;

namespace veltro {

class GridTableModel;

// One result grid on screen: a table view over a grid store. The store row 0 (the column
// names) is the horizontal header; data rows follow; there is no row header. The store is
// what the worker writes and what copy and export read; this widget shows it and keeps the
// store's selection corners (Row, Col, RowSel, ColSel) in step with the user's selection.
//
// The store is changed behind the widget's back (cells by the worker, rows and redraw by the
// session), so the session tells the widget: rowsChanged() after a new row count, refresh()
// whenever it wants what was written to show.
class CMSFlexGrid : public QTableView {
    Q_OBJECT
public:
    explicit CMSFlexGrid(std::shared_ptr<GridStore> store, QWidget* parent = nullptr);
    ~CMSFlexGrid() override;

    GridStore& store() const { return *gridStore; }
    const std::shared_ptr<GridStore>& sharedStore() const { return gridStore; }

    // The store's row count changed: the new rows are announced, not the whole grid.
    void rowsChanged();
    // Takes up everything the store may have changed (shape, column names, widths, font,
    // appearance, redraw switch) and repaints.
    void refresh();
    // The store's font (or appearance) changed.
    void applyStoreFont();
    void applyAppearance();
    // The store's selection corners changed (Select All): the view follows.
    void selectionFromStore();

    // Keys the results pane answers itself (Copy, Select All, Wrap Word, Enter), in a grid
    // or in its text, before any shortcut of the session window.
    static bool isPaneCommandKey(const QKeyEvent* key);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void applyColumnWidths();
    void applyRedraw();
    void selectionToStore();
    void placeFirstCurrentCell();

    std::shared_ptr<GridStore> gridStore;
    GridTableModel* tableModel;
    // Widths last taken from the store; a column the user resized keeps its width until the
    // store sets a new one.
    std::vector<int> appliedWidths;
    bool followingStore = false;
    bool fontApplied = false;
};

} // namespace veltro
