#include "results/CResultView.h"

#include "app/LogicalFontConversion.h"
#include "app/PrinterSetup.h"
#include "app/PromptService.h"
#include "common/AtomicFile.h"
#include "execution/ExecutionControl.h"
#include "execution/ResultNavigation.h"
#include "results/CMSFlexGrid.h"
#include "results/ResultFonts.h"
#include "results/ResultPaneText.h"
#include "results/ResultViewOwner.h"
#include "results/SaveGridResults.h"
#include "session/ExecTime.h"
#include "session/Session.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPrinter>
#include <QTimer>

#include <algorithm>

namespace veltro {

namespace {

constexpr const char* resultSection = "Result";
constexpr const char* wrapWordEntry = "WrapWord";
constexpr int statusPane = 0;
constexpr int execPane = 1;
constexpr int resultPane = 2;
constexpr double printMarginInches = 0.5; // 720 twips

std::vector<CResultView*>& registry() {
    static std::vector<CResultView*> views;
    return views;
}

} // namespace

CResultView::CResultView(ResultViewOwner& owner, QWidget* parent)
    : QPlainTextEdit(parent), viewOwner(owner) {
    setReadOnly(true);
    // Keeps the caret visible and movable in the read-only text, as a text control does.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    LogicalFont stored = defaultResultFont();
    readPaneFont(owner.settings(), resultFontSection, stored);
    setFont(fontFromLogical(stored));
    wrapMode = owner.settings().readInt(resultSection, wrapWordEntry, 0) != 0 ? 1 : 0;
    applyWrapMode();
    registry().push_back(this);
}

CResultView::~CResultView() {
    auto& views = registry();
    views.erase(std::remove(views.begin(), views.end(), this), views.end());
}

const std::vector<CResultView*>& CResultView::liveViews() {
    return registry();
}

bool CResultView::gridOnShow() const {
    return shownGrid != nullptr && !shownGrid->isHidden();
}

// Grid windows.

CMSFlexGrid* CResultView::createGrid(std::shared_ptr<GridStore> store) {
    if (!store) {
        return nullptr;
    }
    auto* grid = new CMSFlexGrid(std::move(store), this);
    grid->hide();
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this, [this, grid](const QPoint& at) {
        if (std::unique_ptr<QMenu> menu = contextMenu()) {
            menu->exec(grid->viewport()->mapToGlobal(at));
        }
    });
    placeGrid(grid);
    gridWidgets.push_back(grid);
    return grid;
}

CMSFlexGrid* CResultView::gridFor(const ResultSink& store) const {
    for (CMSFlexGrid* grid : gridWidgets) {
        if (static_cast<const ResultSink*>(&grid->store()) == &store) {
            return grid;
        }
    }
    return nullptr;
}

void CResultView::setGridShown(const ResultSink& store, bool shown) {
    if (CMSFlexGrid* grid = gridFor(store)) {
        // Showing the grid on show again would only repaint it at every growth step.
        if (shown && grid->isVisible()) {
            return;
        }
        if (shown) {
            grid->refresh();
            grid->raise();
        }
        grid->setVisible(shown);
    }
}

void CResultView::showGrid(CMSFlexGrid* grid) {
    if (grid == nullptr) {
        return;
    }
    const bool hadFocus = hasFocus();
    shownGrid = grid;
    placeGrid(grid);
    grid->refresh();
    grid->raise();
    grid->show();
    if (hadFocus) {
        grid->setFocus();
    }
    viewport()->update();
}

void CResultView::gridRowsChanged(const ResultSink& store) {
    // Row counts grow at every step of a fetch; the view follows a few times a second.
    repaintGrid(store);
}

void CResultView::repaintGrid(const ResultSink& store) {
    CMSFlexGrid* grid = gridFor(store);
    if (grid == nullptr) {
        return;
    }
    // Notices come at every growth step. Each row count change repaints the grid's view and
    // its scroll bar, which costs this thread milliseconds, more on a busy machine: a few
    // repaints a second show the progress. The last request is never lost.
    if (progressClock.isValid() && progressClock.elapsed() < progressRepaintMs) {
        if (!progressRepaintPending) {
            progressRepaintPending = true;
            QTimer::singleShot(progressRepaintMs, this, [this] {
                progressRepaintPending = false;
                progressClock.start();
                for (CMSFlexGrid* each : gridWidgets) {
                    each->refresh();
                }
            });
        }
        return;
    }
    progressClock.start();
    grid->refresh();
}

void CResultView::repaintCurrentGrid() {
    if (shownGrid != nullptr) {
        shownGrid->refresh();
    }
}

void CResultView::destroyAllGrids() {
    const bool gridHadFocus = gridOnShow() && shownGrid->hasFocus();
    shownGrid = nullptr;
    for (CMSFlexGrid* grid : gridWidgets) {
        delete grid;
    }
    gridWidgets.clear();
    if (gridHadFocus) {
        setFocus();
    }
}

void CResultView::placeGrid(CMSFlexGrid* grid) {
    grid->setGeometry(rect());
}

// Text.

void CResultView::setPaneText(const std::string& text) {
    setPlainText(QString::fromStdString(text));
    moveCursor(QTextCursor::Start);
}

std::string CResultView::paneText() const {
    return toPlainText().toStdString();
}

int CResultView::lineCount() const {
    return blockCount();
}

void CResultView::setRedraw(bool on) {
    // Switching Qt's updates back on would repaint the pane and its grid every time, and
    // the row count changes at every growth step: paint events are held back instead.
    redrawOn = on;
    if (on && !gridOnShow()) {
        viewport()->update();
    }
}

void CResultView::paintEvent(QPaintEvent* event) {
    if (redrawOn) {
        QPlainTextEdit::paintEvent(event);
    }
}

// Commands.

void CResultView::onEditCopy() {
    if (!gridOnShow()) {
        copy();
        return;
    }
    const Session& session = viewOwner.session();
    const bool executing = viewOwner.executionControl().batch().executing();
    if (executing) {
        shownGrid->refresh();
    }
    viewOwner.setPaneText(statusPane, copyingText);
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(gridBlockText(shownGrid->store())));
    if (executing) {
        shownGrid->refresh();
    }
    viewOwner.setPaneText(statusPane, session.statusText);
}

bool CResultView::canCopy() const {
    return gridOnShow() || textCursor().hasSelection();
}

void CResultView::onEditSelectAll() {
    if (!gridOnShow()) {
        selectAll();
        return;
    }
    GridStore& grid = shownGrid->store();
    if (grid.Rows() <= 1) {
        return;
    }
    grid.SetRow(1);
    grid.SetCol(0);
    grid.SetRowSel(grid.Rows() - 1);
    grid.SetColSel(grid.Cols() - 1);
    shownGrid->selectionFromStore();
}

bool CResultView::canSelectAll() const {
    if (gridOnShow()) {
        return shownGrid->store().Rows() > 1;
    }
    return !document()->isEmpty();
}

bool CResultView::onFileSaveAs() {
    return gridOnShow() ? SaveGridResults(*this, false) : saveText();
}

bool CResultView::onSaveSelection() {
    return gridOnShow() && SaveGridResults(*this, true);
}

bool CResultView::saveText() {
    const std::string text = paneText();
    const TextSaveChoice choice = textSaveChoice(title, text);
    if (!choice.objectSource) {
        title = untitledName;
    }
    PromptService& prompts = PromptService::current();
    const QString file = prompts.saveFileName(
        this, QStringLiteral("Save As"), QString::fromStdString(choice.suggestedName),
        QString::fromStdString(choice.filter), QString::fromStdString(choice.defaultExtension));
    if (file.isEmpty()) {
        return false;
    }
    const std::string saved = textWithCrLf(text);
    std::string failure;
    const bool written = writeFileAtomically(
        file.toStdString(),
        [&saved](std::FILE* out) {
            return std::fwrite(saved.data(), 1, saved.size(), out) == saved.size();
        },
        failure);
    if (!written) {
        prompts.message(this, QString::fromStdString(failure), PromptButtons::ok,
                        PromptIcon::warning);
    }
    return written;
}

void CResultView::onFilePrint() {
    if (!canPrint()) {
        return;
    }
    QPrinter printer;
    applyPrinterSetup(printer);
    if (PromptService::current().choosePrinter(this, printer)) {
        printTo(printer);
    }
}

bool CResultView::printTo(QPrinter& printer) {
    if (gridOnShow()) {
        return false;
    }
    if (printer.pageLayout().orientation() == QPageLayout::Landscape) {
        PromptService::current().message(this, QString::fromUtf8(landscapeRefusedText),
                                         PromptButtons::ok, PromptIcon::warning);
        return false;
    }
    if (title.empty()) {
        title = untitledName;
    }
    const std::string documentTitle = viewOwner.documentTitle();
    viewOwner.setDocumentTitle(title);
    viewOwner.setDrawingLocked(true);
    printer.setDocName(QString::fromStdString(title));
    printer.setPageMargins(
        QMarginsF(printMarginInches, printMarginInches, printMarginInches, printMarginInches),
        QPageLayout::Inch);
    document()->print(&printer);
    viewOwner.setDrawingLocked(false);
    viewOwner.setDocumentTitle(documentTitle.empty() ? std::string(untitledName) + "."
                                                     : documentTitle);
    return true;
}

void CResultView::onWrapWord() {
    if (!canWrapWord()) {
        return;
    }
    wrapMode = wrapMode == 1 ? 0 : 1;
    applyWrapMode();
    viewOwner.settings().writeInt(resultSection, wrapWordEntry, wrapMode);
}

void CResultView::applyWrapMode() {
    setLineWrapMode(wrapMode == 1 ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void CResultView::onFont() {
    if (gridOnShow()) {
        chooseGridFont();
    } else {
        chooseTextFont();
    }
}

void CResultView::chooseGridFont() {
    const bool executing = viewOwner.executionControl().batch().executing();
    if (executing) {
        shownGrid->refresh();
    }
    const std::optional<QFont> chosen =
        PromptService::current().chooseFont(this, drawnFont(shownGrid->font()));
    if (chosen) {
        const GridFontProperties properties = gridPropertiesFromFont(*chosen, logicalDpiY());
        const LogicalFont logical = logicalFromFont(*chosen);
        for (CResultView* view : liveViews()) {
            view->applyGridFont(properties, logical);
        }
        GridFontExtras extras;
        extras.bold = properties.bold ? 1 : 0;
        extras.size = static_cast<int>(properties.size);
        writePaneFont(viewOwner.settings(), gridFontSection, logical, &extras);
    }
    if (executing && shownGrid != nullptr) {
        shownGrid->refresh();
    }
}

void CResultView::chooseTextFont() {
    const std::optional<QFont> chosen =
        PromptService::current().chooseFont(this, drawnFont(font()));
    if (!chosen) {
        return;
    }
    for (CResultView* view : liveViews()) {
        view->applyTextFont(*chosen);
    }
    writePaneFont(viewOwner.settings(), resultFontSection, logicalFromFont(*chosen));
}

void CResultView::applyTextFont(const QFont& textFont) {
    setFont(textFont);
    viewport()->update();
}

void CResultView::applyGridFont(const GridFontProperties& properties, const LogicalFont& logical) {
    Session& session = viewOwner.session();
    session.gridFont = logical;
    session.gridFontExtras.bold = properties.bold ? 1 : 0;
    session.gridFontExtras.size = static_cast<int>(properties.size);
    for (CMSFlexGrid* grid : gridWidgets) {
        grid->store().setFont(properties);
        grid->applyStoreFont();
    }
}

void CResultView::onClearAll() {
    if (!canClearAll()) {
        return;
    }
    if (PromptService::current().message(this, QString::fromUtf8(clearAllQuestionText),
                                         PromptButtons::yesNo,
                                         PromptIcon::question) != PromptAnswer::yes) {
        return;
    }
    Session& session = viewOwner.session();
    // Pane 2 tells what is on show now: no grid, or an empty text.
    if (gridOnShow()) {
        viewOwner.focusQueryEditor();
        viewOwner.executionControl().ClearResults({});
        setFocus();
        session.resultInfoText = emptyGridInfoText;
    } else {
        if (session.showsMessages()) {
            viewOwner.executionControl().clearMessages();
        } else {
            viewOwner.executionControl().clearText();
            session.resultInfoText = ResultNavigation::linesOfTextInfo(0);
        }
        clear();
        viewport()->update();
    }
    resetStatusAfterClear();
}

void CResultView::resetStatusAfterClear() {
    viewOwner.updateStatusPanes();
    Session& session = viewOwner.session();
    const BatchState& batch = viewOwner.executionControl().batch();
    if (!batch.messageBuffer.empty() || !batch.textBuffer.empty() || batch.gridCount() != 0) {
        return;
    }
    session.statusText = readyText;
    viewOwner.setPaneText(statusPane, session.statusText);
    session.execTimeText = initialExecTimeText;
    viewOwner.setPaneText(execPane, session.execTimeText);
    session.resultInfoText = session.isConnected() ? resultInfoOpenText : connectionClosedInfoText;
    viewOwner.setPaneText(resultPane, session.resultInfoText);
}

bool CResultView::canClearAll() const {
    return (gridOnShow() || !document()->isEmpty()) &&
           !viewOwner.executionControl().batch().executing();
}

std::unique_ptr<QMenu> CResultView::contextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    if (gridOnShow()) {
        menu->setTitle(QStringLiteral("Grid"));
        menu->addAction(QStringLiteral("&Copy"), this, &CResultView::onEditCopy);
        menu->addAction(QStringLiteral("&Save Selection..."), this, [this] { onSaveSelection(); });
        menu->addAction(QStringLiteral("&Font..."), this, &CResultView::onFont);
        return menu;
    }
    menu->setTitle(QStringLiteral("&Result_View"));
    menu->addAction(QStringLiteral("&Copy"), this, &CResultView::onEditCopy)
        ->setEnabled(textCursor().hasSelection());
    menu->addAction(QStringLiteral("Select A&ll"), this, &CResultView::onEditSelectAll)
        ->setEnabled(!document()->isEmpty());
    menu->addAction(QStringLiteral("Save &As..."), this, [this] { onFileSaveAs(); });
    menu->addAction(QStringLiteral("&Print..."), this, &CResultView::onFilePrint);
    menu->addAction(QStringLiteral("&Font..."), this, &CResultView::onFont);
    return menu;
}

// Events.

void CResultView::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    for (CMSFlexGrid* grid : gridWidgets) {
        placeGrid(grid);
    }
    if (gridOnShow()) {
        shownGrid->update();
    }
    viewport()->update();
}

void CResultView::focusInEvent(QFocusEvent* event) {
    if (gridOnShow()) {
        shownGrid->setFocus();
        return;
    }
    QPlainTextEdit::focusInEvent(event);
}

void CResultView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (gridOnShow()) {
            PromptService::current().beep();
            return;
        }
    } else if (event->matches(QKeySequence::Copy)) {
        if (canCopy()) {
            onEditCopy();
        }
        return;
    } else if (event->matches(QKeySequence::SelectAll)) {
        if (canSelectAll()) {
            onEditSelectAll();
        }
        return;
    } else if (event->key() == Qt::Key_F7 && event->modifiers() == Qt::NoModifier) {
        onWrapWord();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CResultView::contextMenuEvent(QContextMenuEvent* event) {
    if (std::unique_ptr<QMenu> menu = contextMenu()) {
        menu->exec(event->globalPos());
    }
}

} // namespace veltro
