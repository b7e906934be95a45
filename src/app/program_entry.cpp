#include "app/program_entry.h"

#include "data/globals.h"
#include "platform/system/drag_full_windows.h"
#include "platform/ui/settings_store.h"

namespace pordex::app {

ProgramEntry::ProgramEntry() {
    resetGlobals();
    mainThread_ = std::make_unique<WindowThread>(WindowThread::Kind::Main);
}

ProgramEntry::~ProgramEntry() {
    if (begun_) end();
}

void ProgramEntry::begin(const std::filesystem::path& settingsFile) {
    ui::iniMgr().init(settingsFile);
    mainThread_->dct.DctInit();
    lCurrentFDSetting_ = sys::dragFullWindows();
    if (lCurrentFDSetting_ == 1) sys::setDragFullWindows(0);
    begun_ = true;
}

void ProgramEntry::end() {
    if (!begun_) return;
    begun_ = false;
    if (lCurrentFDSetting_ == 1) sys::setDragFullWindows(1);
    ui::iniMgr().close();
}

}  // namespace pordex::app
