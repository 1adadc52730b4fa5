#pragma once

#include <QAbstractTableModel>

#include <memory>
#include <string>

namespace veltro {

class GridStore;

// The data rows of a grid store as a table: model row r is store row r + 1, since store row 0
// (the column names) is shown by the horizontal header. Only cells asked for are turned into
// text, so a grid of a million rows costs no more to show than one screen of it.
//
// The row and column counts are the ones last announced: the store may be changed by the
// session before the model is told, and a view must never see a count the model did not
// announce.
class GridTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridTableModel(std::shared_ptr<GridStore> store, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Announces the store's current shape: rows added or removed at the end are announced as
    // such, a new column count resets the model.
    void followShape();
    // Cells and column names written since: the view fetches again what it shows.
    void announceNewTexts();

    static Qt::Alignment alignmentOf(int colAlignment);

private:
    std::shared_ptr<GridStore> store;
    int rows = 0; // data rows, header excluded
    int cols = 0;
    mutable std::string cell;
};

} // namespace veltro
