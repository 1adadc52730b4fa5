#include "catalog/CListCtrlEx.h"

#include "catalog/ListRules.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace veltro {

namespace {

constexpr int imageSize = 16;
constexpr int labelInset = 2;
constexpr int labelAllowance = 4;
constexpr int cellInset = 6;
constexpr int cellAllowance = 12;

// Draws a cell as the list control of the dialogs does: the first column's text after its
// image, the others inset, shortened with "..." to fit; a shortened text is always left
// aligned.
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(CListCtrlEx& owner) : QStyledItemDelegate(&owner), list(owner) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool label = index.column() == 0;
        const bool selected =
            (option.state & QStyle::State_Selected) && (label || list.fullRowSel());
        const QPalette& colours = option.palette;
        painter->save();
        painter->fillRect(option.rect, selected
                                           ? colours.color(QPalette::Active, QPalette::Highlight)
                                           : colours.color(QPalette::Base));
        QRect area = option.rect;
        if (label) {
            const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
            if (!icon.isNull()) {
                const QRect iconRect(area.left() + labelInset,
                                     area.top() + (area.height() - imageSize) / 2, imageSize,
                                     imageSize);
                icon.paint(painter, iconRect, Qt::AlignCenter,
                           selected ? QIcon::Selected : QIcon::Normal);
                area.setLeft(iconRect.right() + 1);
            }
        }
        const QString text = index.data(Qt::DisplayRole).toString();
        if (!text.isEmpty()) {
            const int inset = label ? labelInset : cellInset;
            const QRect textRect = area.adjusted(inset, 0, -inset, 0);
            const QFontMetrics metrics(option.font);
            const DrawnText drawn = shortenedText(
                text.toStdString(), area.width(), label ? labelAllowance : cellAllowance,
                [&metrics](std::string_view part) {
                    return metrics.horizontalAdvance(
                        QString::fromUtf8(part.data(), static_cast<qsizetype>(part.size())));
                });
            Qt::Alignment alignment = Qt::AlignLeft;
            if (!label && !drawn.shortened) {
                alignment = Qt::Alignment(list.headerItem()->textAlignment(index.column())) &
                            Qt::AlignHorizontal_Mask;
            }
            painter->setFont(option.font);
            painter->setPen(selected ? colours.color(QPalette::Active, QPalette::HighlightedText)
                                     : colours.color(QPalette::Text));
            painter->drawText(textRect,
                              static_cast<int>(alignment | Qt::AlignVCenter) | Qt::TextSingleLine |
                                  Qt::TextDontClip,
                              QString::fromStdString(drawn.text));
        }
        painter->restore();
    }

private:
    CListCtrlEx& list;
};

} // namespace

CListCtrlEx::CListCtrlEx(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setIconSize(QSize(imageSize, imageSize));
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    setItemDelegate(new CellDelegate(*this));
    // The selection looks the same whether or not the list has the keyboard focus.
    QPalette colours = palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    }
    setPalette(colours);
}

bool CListCtrlEx::SetFullRowSel(bool on) {
    if (fullRow == on) {
        return false;
    }
    setUpdatesEnabled(false);
    fullRow = on;
    setAllColumnsShowFocus(on);
    setUpdatesEnabled(true);
    viewport()->update();
    return true;
}

QIcon CListCtrlEx::smallImage(int index) const {
    return index >= 0 && index < smallImages.size() ? smallImages[index] : QIcon();
}

void CListCtrlEx::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    QTreeWidget::drawRow(painter, option, index);
    // The highlight of a selected row goes on beyond the last column.
    const int columnsEnd = header()->length() - header()->offset();
    if (fullRow && selectionModel()->isSelected(index) && columnsEnd < viewport()->width()) {
        painter->fillRect(QRect(columnsEnd, option.rect.top(), viewport()->width() - columnsEnd,
                                option.rect.height()),
                          palette().color(QPalette::Active, QPalette::Highlight));
    }
}

} // namespace veltro
