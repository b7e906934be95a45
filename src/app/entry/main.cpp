#include <QApplication>

#include "app/ui/program.h"
#include "platform/ui/settings_store.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pordex"));
    return pordex::app::runProgram(pordex::ui::defaultSettingsPath());
}
