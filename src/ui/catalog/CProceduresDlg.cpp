#include "catalog/CProceduresDlg.h"

#include "catalog/CListCtrlEx.h"
#include "catalog/CatalogListing.h"

#include <QLineEdit>
#include <QVBoxLayout>

namespace veltro {

namespace {

// The dialog's size in pixels: 335 by 231 dialog units of the classic dialog font.
constexpr QSize dialogSize(503, 375);

} // namespace

CProceduresDlg::CProceduresDlg(CChildFrame& session, QWidget* parent)
    : ObjectListDialog(session, "Procedures", {"Name", "Owner"}, dialogSize, parent) {
    rows->setSelectionMode(QAbstractItemView::SingleSelection);
    sideColumn->addStretch(1);
}

bool CProceduresDlg::initialize() {
    if (!showListing(listProcedures(target))) {
        return false;
    }
    rows->SetFullRowSel(true);
    nameBox->clear();
    return true;
}

void CProceduresDlg::onOk() {
    const QTreeWidgetItem* row = rows->currentItem();
    if (row == nullptr) {
        return;
    }
    name = row->text(0).toStdString();
    owner = row->text(1).toStdString();
    accept();
}

} // namespace veltro
