#pragma once

class QPrinter;
class QWidget;

namespace veltro {

// The printer, paper and orientation chosen with Print Setup. They hold for the rest of
// the run: every later print starts from them.
void applyPrinterSetup(QPrinter& printer);

// Print Setup: the printer set-up dialog, with a wait cursor while the printers are
// looked up. True when the user confirmed a choice.
bool runPrintSetup(QWidget* parent);

} // namespace veltro
