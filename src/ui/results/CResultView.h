#pragma once

#include "results/GridStore.h"
#include "settings/PaneFont.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>

#include <memory>
#include <string>
#include <vector>

class QMenu;
class QPrinter;

namespace veltro {

class CMSFlexGrid;
class ResultViewOwner;

// The lower pane of a session window: read-only text (the batch's messages or an object's
// source text) with the session's result grids lying over it at its full size, at most one
// on show. The session window decides what is on show; this pane answers the user's
// commands on whatever is.
//
// Grid widgets are created and destroyed here on the session's behalf; their stores belong
// to the session (its gridList).
class CResultView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CResultView(ResultViewOwner& owner, QWidget* parent = nullptr);
    ~CResultView() override;

    // The grid this pane shows or would show; null when the session has none.
    CMSFlexGrid* currentGrid() const { return shownGrid; }
    void setCurrentGrid(CMSFlexGrid* grid) { shownGrid = grid; }
    // Name of the object whose source text the pane shows.
    const std::string& paneTitle() const { return title; }
    void setPaneTitle(const std::string& text) { title = text; }
    // The current grid exists and is not hidden.
    bool gridOnShow() const;

    // Grid windows, for the session's worker-message handlers and navigation.
    // A new grid widget, hidden, with the pane's size; nullptr when none could be made.
    CMSFlexGrid* createGrid(std::shared_ptr<GridStore> store);
    CMSFlexGrid* gridFor(const ResultSink& store) const;
    // In creation order.
    const std::vector<CMSFlexGrid*>& grids() const { return gridWidgets; }
    void setGridShown(const ResultSink& store, bool shown);
    // Makes the grid the current one and shows it at the pane's size, taking the focus
    // when the pane has it.
    void showGrid(CMSFlexGrid* grid);
    // The store's row count changed (on this thread).
    void gridRowsChanged(const ResultSink& store);
    // Shows what the worker has written so far.
    void repaintGrid(const ResultSink& store);
    void repaintCurrentGrid();
    void destroyAllGrids();

    // The pane's text, caret at its start.
    void setPaneText(const std::string& text);
    std::string paneText() const;
    int lineCount() const;
    void setRedraw(bool on);

    // Commands and their enabling rules. Save, Cut, Paste and Replace are never enabled here.
    void onEditCopy();
    bool canCopy() const;
    void onEditSelectAll();
    bool canSelectAll() const;
    // Whether a file was written.
    bool onFileSaveAs();
    bool onSaveSelection();
    // Asks for a printer, then printTo.
    void onFilePrint();
    bool canPrint() const { return !gridOnShow(); }
    // False when nothing was printed (landscape is refused).
    bool printTo(QPrinter& printer);
    void onWrapWord();
    bool canWrapWord() const { return !gridOnShow(); }
    bool wrapWordChecked() const { return wrapMode == 1; }
    void onFont();
    void onClearAll();
    bool canClearAll() const;

    // The right-click menu for what is on show, its entries enabled by the rules above.
    std::unique_ptr<QMenu> contextMenu();

    // Font changes that reach every session: each live pane takes them.
    void applyTextFont(const QFont& font);
    void applyGridFont(const GridFontProperties& properties, const LogicalFont& logical);
    static const std::vector<CResultView*>& liveViews();

    ResultViewOwner& owner() const { return viewOwner; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool saveText();
    void applyWrapMode();
    void chooseGridFont();
    void chooseTextFont();
    void resetStatusAfterClear();
    void placeGrid(CMSFlexGrid* grid);

    ResultViewOwner& viewOwner;
    CMSFlexGrid* shownGrid = nullptr;
    QElapsedTimer progressClock;
    bool progressRepaintPending = false;
    bool redrawOn = true;
    static constexpr int progressRepaintMs = 250;
    std::vector<CMSFlexGrid*> gridWidgets;
    std::string title;
    int wrapMode = 0;
};

} // namespace veltro
