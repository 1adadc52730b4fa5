#pragma once

#include "catalog/CatalogTarget.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTreeWidgetItem;
class QVBoxLayout;

namespace veltro {

class CChildFrame;
class CListCtrlEx;
struct CatalogListing;

// What the Tables and Procedures dialogs share: a name box above a list of catalog objects,
// OK and Cancel beside it. Typing selects the first row whose name, with or without its
// quotes, begins with the text; a header click sorts by that column (descending first), a
// double click is OK. The list is read from the active session's connection on this thread.
class ObjectListDialog : public QDialog {
    Q_OBJECT
public:
    // Starts the dialog and runs it modally; Rejected at once when the catalog could not be
    // read.
    int run();
    // The start alone: false when the catalog could not be read (the user has been told).
    bool start();

    CListCtrlEx& list() const { return *rows; }
    const CatalogTarget& catalogTarget() const { return target; }

protected:
    void showEvent(QShowEvent* event) override;

    ObjectListDialog(CChildFrame& session, const QString& caption, const QStringList& columns,
                     QSize size, QWidget* parent);

    // The dialog's own part of the start, after the columns are made.
    virtual bool initialize() = 0;
    virtual void onOk() = 0;
    // After typing made a row the only selected one.
    virtual void rowFound() {}
    // Puts the listed rows into the list, selects the first, reports a failure and sets the
    // buttons: OK and "Cancel" with rows, a disabled OK and "&Close" without. Whether the
    // catalog could be opened.
    bool showListing(const CatalogListing& listing);

    CChildFrame& frame;
    CatalogTarget target;
    QLineEdit* nameBox = nullptr;
    CListCtrlEx* rows = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
    // Below the buttons, for the dialog's own controls.
    QVBoxLayout* sideColumn = nullptr;
    QString findText;
    bool sortAscending = true;

private:
    bool nameBegins(const QTreeWidgetItem& row, const QString& text) const;
    void onFindTextChanged();
    void onHeaderClicked(int column);
    void fitColumns();

    int columnCount;
    bool columnsFitted = false;
};

} // namespace veltro
