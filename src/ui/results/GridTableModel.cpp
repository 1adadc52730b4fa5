#include "results/GridTableModel.h"

#include "results/GridStore.h"

#include <algorithm>

namespace veltro {

namespace {

constexpr int generalAlignment = 9;

int dataRowsOf(const GridStore& store) {
    return std::max(store.Rows() - 1, 0);
}

bool looksNumeric(const QString& text) {
    bool number = false;
    text.toDouble(&number);
    return number;
}

} // namespace

GridTableModel::GridTableModel(std::shared_ptr<GridStore> store, QObject* parent)
    : QAbstractTableModel(parent), store(std::move(store)) {
    rows = dataRowsOf(*this->store);
    cols = this->store->Cols();
}

int GridTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows;
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : cols;
}

// Alignment values: 0-2 left (top, centre, bottom), 3-5 centre, 6-8 right, 9 general.
Qt::Alignment GridTableModel::alignmentOf(int colAlignment) {
    if (colAlignment < 0 || colAlignment > 8) {
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
    static constexpr Qt::AlignmentFlag horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter,
                                                       Qt::AlignRight};
    static constexpr Qt::AlignmentFlag vertical[] = {Qt::AlignTop, Qt::AlignVCenter,
                                                     Qt::AlignBottom};
    return horizontal[colAlignment / 3] | vertical[colAlignment % 3];
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        cell.clear();
        store->AppendTextMatrix(index.row() + 1, index.column(), cell);
        return QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size()));
    }
    if (role == Qt::TextAlignmentRole) {
        const int alignment = store->ColAlignment(index.column());
        if (alignment != generalAlignment) {
            return QVariant::fromValue(alignmentOf(alignment));
        }
        // General: numbers to the right, any other text to the left.
        cell.clear();
        store->AppendTextMatrix(index.row() + 1, index.column(), cell);
        const QString text = QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size()));
        const Qt::Alignment horizontal = looksNumeric(text) ? Qt::AlignRight : Qt::AlignLeft;
        return QVariant::fromValue(horizontal | Qt::AlignVCenter);
    }
    return {};
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= cols) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::DisplayRole) {
        cell.clear();
        store->AppendTextMatrix(0, section, cell);
        return QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size()));
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

void GridTableModel::followShape() {
    const int newCols = store->Cols();
    const int newRows = dataRowsOf(*store);
    if (newCols != cols) {
        beginResetModel();
        cols = newCols;
        rows = newRows;
        endResetModel();
        return;
    }
    if (newRows > rows) {
        beginInsertRows({}, rows, newRows - 1);
        rows = newRows;
        endInsertRows();
    } else if (newRows < rows) {
        beginRemoveRows({}, newRows, rows - 1);
        rows = newRows;
        endRemoveRows();
    }
}

void GridTableModel::announceNewTexts() {
    if (cols > 0) {
        emit headerDataChanged(Qt::Horizontal, 0, cols - 1);
    }
    if (rows > 0 && cols > 0) {
        emit dataChanged(index(0, 0), index(rows - 1, cols - 1), {Qt::DisplayRole});
    }
}

} // namespace veltro
