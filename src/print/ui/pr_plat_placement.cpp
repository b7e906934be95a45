#include <QWidget>

#include "platform/ui/dialog_units.h"
#include "platform/ui/settings_store.h"
#include "platform/ui/window_procedure.h"
#include "print/ui/pr_plat.h"

namespace pordex::print {

namespace {

// A window's place in the settings store, in dialog units of its own font, counted from the
// origin of the program's windows.
report::WindowPlacement placementIn(std::string section, bool resizable) {
    report::WindowPlacement p;
    p.restore = [section, resizable](QWidget& w) {
        const ui::StoredPlacement stored = ui::iniMgr().fetch(section);
        const ui::DialogUnits du(w.font());
        const QPoint origin = ui::desktopOrigin();
        if (stored.x && stored.y) w.move(origin + du.point(*stored.x, *stored.y));
        if (resizable && stored.width && stored.height)
            w.resize(du.size(*stored.width, *stored.height));
        if (resizable && stored.maximize) w.showMaximized();
    };
    p.save = [section, resizable](QWidget& w) {
        const ui::DialogUnits du(w.font());
        const QPoint at = w.pos() - ui::desktopOrigin();
        const QSize size = w.isMaximized() ? w.normalGeometry().size() : w.size();
        ui::Placement placement;
        placement.x = du.fromX(at.x());
        placement.y = du.fromY(at.y());
        placement.width = du.fromX(size.width());
        placement.height = du.fromY(size.height());
        placement.maximize = w.isMaximized();
        placement.minimize = w.isMinimized();
        ui::iniMgr().update(section, placement, resizable);
    };
    return p;
}

}  // namespace

report::WindowPlacement prPlatPlacement(bool preview) {
    return preview ? placementIn("pr_plat_preview", true) : placementIn("pr_plat", false);
}

}  // namespace pordex::print
