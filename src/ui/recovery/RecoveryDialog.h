#pragma once

#include <QDialog>

#include <functional>

class QPushButton;
class QTreeWidget;

namespace veltro {

class OrphanClaim;

// The queries a program that ended without closing them left unsaved: title, file name,
// data source, time of the last change and first line of each. Restore opens each chosen
// one in a new query window; Discard lets it go; what is left is offered at the next start.
class RecoveryDialog : public QDialog {
    Q_OBJECT
public:
    // restore opens the claim's document in a new query window and takes over its file;
    // false when that failed.
    RecoveryDialog(OrphanClaim& claim, std::function<bool(std::size_t)> restore,
                   QWidget* parent = nullptr);

    QTreeWidget* list() const { return documents; }
    QPushButton* restoreButton() const { return restoreChosen; }
    QPushButton* discardButton() const { return discardChosen; }
    int restoredCount() const { return restored; }

private:
    void handleChosen(bool restoring);
    void updateButtons();

    OrphanClaim& claim;
    std::function<bool(std::size_t)> restoreDocument;
    QTreeWidget* documents;
    QPushButton* restoreChosen;
    QPushButton* discardChosen;
    int restored = 0;
};

} // namespace veltro
