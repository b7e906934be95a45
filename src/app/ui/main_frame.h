#pragma once

#include <QMainWindow>
#include <QPixmap>

#include "data/window_thread.h"
#include "platform/ui/dialog_units.h"

class QAction;

namespace pordex::app {

// The application frame `Main`: the program's main window for as long as the program runs. Its
// menu sets up the printer, ends the program and starts sign-on windows, each on a thread of
// its own. Closing it ends every other window.
class MainFrame : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainFrame(WindowThread& mainThread);
    ~MainFrame() override;

    // Opens the frame in the place kept in section "Main" (designed: centred on the screen).
    void open();

    QAction* printerSetupItem() const { return printerSetup_; }
    QAction* exitItem() const { return exit_; }
    QAction* signOnItem() const { return signOn_; }

    // Ends the program: every window closes, then the frame; `status` is the exit status.
    void endProgram(int status);

    // The frame's designed client area in dialog units.
    static constexpr int kWidth = 420, kHeight = 280;

  signals:
    // The frame has closed: the program ends with this status.
    void ended(int status);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void restorePlacement();
    void savePlacement();

    WindowThread& thread_;
    ui::DialogUnits units_;
    QAction* printerSetup_ = nullptr;
    QAction* exit_ = nullptr;
    QAction* signOn_ = nullptr;
    int status_ = 0;
    bool closing_ = false;
};

}  // namespace pordex::app
