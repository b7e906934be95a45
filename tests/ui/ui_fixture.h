#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "data/file_layouts.h"
#include "data/globals.h"
#include "data/window_thread.h"
#include "platform/files/error_manager.h"
#include "platform/files/record_file.h"
#include "platform/ui/platform_setup.h"
#include "platform/ui/settings_store.h"
#include "platform/ui/window_procedure.h"
#include "support/record_store.h"
#include "support/temp_workdir.h"

namespace pordex::test {

// A working folder of its own with its own INI file, the framework installed, and every window
// ended after the test.
class UiTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetGlobals();
        ui::installPlatform();
        ui::iniMgr().init(work.ini());
        files::globalErrors().setProcedureName();
    }
    void TearDown() override {
        ui::WindowProcedure::closeAll();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QMessageBox*>(w)) w->close();
        flush();
        ui::iniMgr().close();
    }

    // Lets queued work and deferred deletions run.
    static void flush() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    // Message boxes now showing, by title.
    static std::vector<QMessageBox*> messageBoxes() {
        std::vector<QMessageBox*> out;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) out.push_back(b);
        return out;
    }

    TempWorkdir work;
};

inline KbpRecord payer(SHORT nomer, std::string_view name, std::string_view account = "") {
    KbpRecord r{};
    r.NOMER = nomer;
    r.N_PLA = name;
    r.N_SC_A = account;
    return r;
}

}  // namespace pordex::test
