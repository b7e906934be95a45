#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <optional>

#include "data/globals.h"
#include "orders_ui/update_rew_fixture.h"
#include "platform/system/beep.h"
#include "platform/system/program_start.h"
#include "platform/ui/platform_setup.h"
#include "platform/ui/settings_store.h"
#include "platform/ui/window_procedure.h"
#include "support/temp_workdir.h"

namespace pordex::test {

// The journal's and the form's tests: a working folder and INI file of their own, the file
// layer's messages kept, reference data under which a complete order passes, and every window
// ended after the test.
class OrderWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetGlobals();
        ui::installPlatform();
        messages_.emplace();  // after the platform's message boxes: kept, not shown
        ui::iniMgr().init(work_.ini());
        sys::clearRecentBeeps();
        storeReferences();
    }
    void TearDown() override {
        ui::WindowProcedure::closeAll();
        flush();
        ui::iniMgr().close();
        messages_.reset();
        sys::setProgramStarter({});
        resetGlobals();
    }

    // Lets queued work and deferred deletions run.
    static void flush() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    TempWorkdir work_;
    std::optional<KeptMessages> messages_;
};

}  // namespace pordex::test
