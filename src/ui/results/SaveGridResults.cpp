#include "results/SaveGridResults.h"

#include "app/PromptService.h"
#include "common/AtomicFile.h"
#include "results/CExportDlg.h"
#include "results/CMSFlexGrid.h"
#include "results/CResultView.h"
#include "results/GridExport.h"
#include "results/ResultViewOwner.h"
#include "session/Session.h"

namespace veltro {

namespace {

constexpr int statusPane = 0;

} // namespace

bool SaveGridResults(CResultView& pane, bool selectionOnly) {
    ResultViewOwner& owner = pane.owner();
    CMSFlexGrid* shown = pane.currentGrid();
    if (selectionOnly && shown == nullptr) {
        return false;
    }
    CExportDlg dialog(owner.settings(), selectionOnly, &pane);
    if (!dialog.run()) {
        return false;
    }
    const std::string path = dialog.chosenPath().toStdString();
    const std::string& delimiter = dialog.delimiter();
    Session& session = owner.session();

    // A grid still being filled is written as it stands: the store hands out what the
    // worker has written, and rows made room for but not yet filled as empty cells.
    std::string failure;
    bool written = false;
    if (selectionOnly) {
        owner.setPaneText(statusPane, "Saving selection...");
        const std::shared_ptr<GridStore> grid = shown->sharedStore();
        written = writeFileAtomically(
            path, [&](std::FILE* out) { return WriteGridSelection(out, *grid, delimiter); },
            failure);
    } else {
        owner.setPaneText(statusPane, "Saving grid results...");
        // The session's grids in creation order, as their windows hold them.
        std::vector<std::shared_ptr<GridStore>> grids;
        for (const CMSFlexGrid* widget : pane.grids()) {
            grids.push_back(widget->sharedStore());
        }
        const bool columnNames = dialog.columnNames();
        written = writeFileAtomically(
            path, [&](std::FILE* out) { return WriteGridFile(out, grids, delimiter, columnNames); },
            failure);
    }
    owner.setPaneText(statusPane, session.statusText);
    if (!written) {
        PromptService::current().message(&pane, QString::fromStdString(failure), PromptButtons::ok,
                                         PromptIcon::warning);
    }
    return written;
}

} // namespace veltro
