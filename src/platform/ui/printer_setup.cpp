#include "platform/ui/printer_setup.h"

#include <QPrintDialog>
#include <QPrinter>

namespace pordex::ui {

QPrinter& programPrinter() {
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

QWidget* openPrinterSetup(QWidget* parent) {
    auto* d = new QPrintDialog(&programPrinter(), parent);
    d->setObjectName(QStringLiteral("printerSetup"));
    d->setAttribute(Qt::WA_DeleteOnClose);
    d->setOption(QAbstractPrintDialog::PrintToFile, true);
    d->open();
    return d;
}

}  // namespace pordex::ui
