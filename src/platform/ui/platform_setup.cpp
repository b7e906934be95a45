#include "platform/ui/platform_setup.h"

#include <QApplication>

#include "platform/system/beep.h"
#include "platform/ui/dialog_units.h"
#include "platform/ui/message_boxes.h"

namespace pordex::ui {

void installPlatform() {
    installFontSubstitutions();
    sys::setBell([] { QApplication::beep(); });
    installMessageBoxes();
}

}  // namespace pordex::ui
