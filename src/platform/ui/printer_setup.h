#pragma once

class QPrinter;
class QWidget;

namespace pordex::ui {

// The printer the program prints on, as the printer set-up last chose it.
QPrinter& programPrinter();

// The standard printer set-up: the print dialog on the program's printer, window-modal on
// `parent` and opened without an event loop of its own. Returns the dialog (it deletes itself
// when closed).
QWidget* openPrinterSetup(QWidget* parent);

}  // namespace pordex::ui
