#include "app/ui/program.h"

#include <QApplication>

#include "app/program_entry.h"
#include "app/ui/main_frame.h"
#include "app/ui/window_starts.h"
#include "orders/ui/rew_tab.h"
#include "platform/report/window_support.h"
#include "platform/ui/message_boxes.h"
#include "platform/ui/platform_setup.h"
#include "platform/ui/window_procedure.h"

namespace pordex::app {

int runProgram(const std::filesystem::path& settingsFile) {
    QApplication::setQuitOnLastWindowClosed(false);
    ui::installPlatform();
    report::installQtRussian();

    // The main menu's "Подготовка платежных поручений": a journal on a thread of its own.
    programWindows().journal = [] { REW_TAB(); };

    ProgramEntry entry;
    entry.begin(settingsFile);
    int status = 0;
    {
        MainFrame frame(entry.mainThread());
        // A fatal message, once confirmed, ends the program through the frame.
        ui::installMessageBoxes(files::globalErrors(), [&frame] { frame.endProgram(1); });
        QObject::connect(&frame, &MainFrame::ended, [](int s) { QCoreApplication::exit(s); });
        frame.open();
        status = QApplication::exec();
        ui::WindowProcedure::closeAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    entry.end();
    return status;
}

}  // namespace pordex::app
