#include "app/PrinterSetup.h"

#include "app/PromptService.h"
#include "app/WaitCursor.h"

#include <QPageLayout>
#include <QPrinter>

#include <memory>
#include <optional>

namespace veltro {

namespace {

struct PrinterChoice {
    QString printerName;
    QPageLayout pageLayout;
};

std::optional<PrinterChoice>& chosenPrinter() {
    static std::optional<PrinterChoice> choice;
    return choice;
}

} // namespace

void applyPrinterSetup(QPrinter& printer) {
    const std::optional<PrinterChoice>& choice = chosenPrinter();
    if (!choice) {
        return;
    }
    if (!choice->printerName.isEmpty()) {
        printer.setPrinterName(choice->printerName);
    }
    printer.setPageLayout(choice->pageLayout);
}

bool runPrintSetup(QWidget* parent) {
    std::unique_ptr<QPrinter> printer;
    {
        // Finding the printers may take the print system a while.
        const WaitCursor wait;
        printer = std::make_unique<QPrinter>();
        applyPrinterSetup(*printer);
    }
    if (!PromptService::current().setUpPrinter(parent, *printer)) {
        return false;
    }
    chosenPrinter() = PrinterChoice{printer->printerName(), printer->pageLayout()};
    return true;
}

} // namespace veltro
