#pragma once

#include <QIcon>
#include <QList>
#include <QTreeWidget>

namespace veltro {

// The report list of the object dialogs: rows of cells under a clickable header. With
// full-row selection a row is selected, highlighted and focused as a whole, the highlight
// reaching the right edge of the list; a selected row stays highlighted while another
// control has the keyboard focus. Cells that do not fit their column end in "...".
class CListCtrlEx : public QTreeWidget {
    Q_OBJECT
public:
    explicit CListCtrlEx(QWidget* parent = nullptr);

    // Whether the style changed.
    bool SetFullRowSel(bool on);
    bool fullRowSel() const { return fullRow; }

    // The images that rows name by index (AddDelimitedRow).
    void setSmallImages(const QList<QIcon>& images) { smallImages = images; }
    QIcon smallImage(int index) const;

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;

private:
    bool fullRow = false;
    QList<QIcon> smallImages;
};

} // namespace veltro
