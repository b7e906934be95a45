#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/window_thread.h"
#include "platform/ui/control_decl.h"
#include "platform/ui/dialog_units.h"
#include "platform/ui/field_ref.h"

class QAction;
class QMenu;
class QMenuBar;
class QKeyEvent;

namespace pordex::ui {

class BoundControl;
class ClientArea;

// A window as declared: its procedure name (the error manager's name and the settings section),
// title, place and size in dialog units, font and controls.
struct WindowDecl {
    std::string_view procedure{};
    std::string_view title{};
    int x = -1, y = -1;    // from the desktop origin; -1: centred on the caller (or the screen)
    int w = 200, h = 100;  // the client area below the menu bar
    std::string_view font = "MS Sans Serif";
    int fontSize = 8;
    bool resizable = false;        // resizable windows keep their size in the settings store
    std::string_view icon{};       // resource path of the window icon
    std::string_view wallpaper{};  // resource path of an image stretched over the client area
    std::span<const ControlDecl> controls{};
};

// A control as built: its declaration, number (1-based declaration order), widget or menu item,
// and the variable binding when it shows one.
struct Control {
    const ControlDecl* decl = nullptr;
    int number = 0;
    QWidget* widget = nullptr;
    QAction* action = nullptr;
    QMenu* menu = nullptr;
    BoundControl* bound = nullptr;
};

enum class FieldEvent { DoubleClick };

using Done = std::function<void(BYTE response)>;

// Where the program's window positions count from: the frame's client area when the frame has
// set it, otherwise the top left of the screen's available area.
QPoint desktopOrigin();
void setDesktopOrigin(std::function<QPoint()> origin);

// A window procedure: the base of every window of the program. It takes its request from its
// thread's GlobalRequest (clearing both globals), names itself to the error manager, builds its
// controls from the declaration, restores its place from the settings store, and when it ends
// saves its place, leaves its response in GlobalResponse and hands it to its caller's callback.
//
// Independent windows run on a thread of their own (adoptThread); nested windows run on their
// caller's thread, window-modal on it, opened with open(): nothing here ever runs a nested event
// loop, so windows of different threads finish in any order.
class WindowProcedure : public QDialog {
    Q_OBJECT
  public:
    static constexpr BYTE InsertRecord = WindowThread::InsertRecord;
    static constexpr BYTE ChangeRecord = WindowThread::ChangeRecord;
    static constexpr BYTE DeleteRecord = WindowThread::DeleteRecord;
    static constexpr BYTE SelectRecord = WindowThread::SelectRecord;
    static constexpr BYTE RequestCompleted = WindowThread::RequestCompleted;
    static constexpr BYTE RequestCancelled = WindowThread::RequestCancelled;

    WindowProcedure(WindowThread& thread, WindowProcedure* caller, const WindowDecl& decl);
    ~WindowProcedure() override;

    // Runs the procedure and returns at once; `done` gets the response when the window ends.
    void run(Done done = {});

    // Gives an independent window its own thread; the thread ends when the window is gone.
    void adoptThread(std::unique_ptr<WindowThread> thread);

    WindowThread& thread() const { return *thread_; }
    Dictionary& dct() const { return thread_->dct; }
    WindowProcedure* caller() const { return caller_; }
    const WindowDecl& windowDecl() const { return decl_; }
    const DialogUnits& units() const { return units_; }

    BYTE request() const { return request_; }
    BYTE response() const { return response_; }
    void setResponse(BYTE r) { response_ = r; }
    bool isOpened() const { return opened_; }
    bool isClosing() const { return closing_; }

    // Controls by name ("?OK") or number; 0 / nullptr when there is none.
    int controlNumber(std::string_view name) const;
    QWidget* control(std::string_view name) const;
    QWidget* control(int number) const;
    QAction* menuItem(std::string_view name) const;
    QAction* menuItem(int number) const;
    const std::vector<Control>& controls() const { return controls_; }
    QWidget* clientArea() const;
    QMenuBar* windowMenuBar() const { return menuBar_; }
    template <class W>
    W* controlAs(std::string_view name) const {
        return qobject_cast<W*>(control(name));
    }

    // Variables the controls show besides record fields ("MES_REW", "KOD"); bind before run().
    void bindVariable(std::string_view name, FieldRef ref);
    // A control's `use`: a bound variable, else a field of the thread's record buffers.
    FieldRef resolve(std::string_view use) const;

    // Shows every control's variable again, except in a control the user is still typing in.
    void display();
    // Takes every control's contents into its variable, all at once. False, with the focus on
    // it, at the first control whose text cannot be read.
    bool acceptAll();
    bool acceptingAll() const { return acceptingAll_; }
    // Takes the controls' contents into their variables (as far as they read).
    void updateVariables();
    // The framework's reset: shows the variables again. Windows add their own steps around it.
    virtual void reset(bool force = false);

    // Ends the window with a response.
    void closeWith(BYTE response);
    // A button that ends the window with a response, the OK button and the cancel button.
    void setResponseButton(std::string_view name, BYTE response);
    void setOkControl(std::string_view name);
    void setCancelControl(std::string_view name);
    int okControl() const { return okControl_; }
    int cancelControl() const { return cancelControl_; }

    // Runs `window` (built on this window's thread with this window as its caller) nested:
    // GlobalRequest = request; `done` gets its response when it has closed.
    void runNested(WindowProcedure* window, BYTE request, Done done = {});
    WindowProcedure* nestedWindow() const { return nested_; }

    // The window the user works in: the last one opened or activated that is still open.
    static WindowProcedure* current();

    // The windows alive, and ending all of them (the end of the program).
    static std::vector<WindowProcedure*> liveWindows();
    static void closeAll();

    // Presses a control as the user would (a button, a menu item).
    void post(int control);

  signals:
    void ended(BYTE response);

  protected:
    // Before the window opens: open files, bind variables.
    virtual void init() {}
    // The controls exist; before the first reset and before the window shows.
    virtual void opened() {}
    // A control was accepted (a button pressed, an entry left changed, a menu item chosen).
    // The base handles the OK, cancel and response buttons.
    virtual void takeAccepted(int control);
    virtual void takeFieldEvent(int control, FieldEvent event);
    // OK was pressed: the base takes all controls and ends the window completed.
    virtual void takeCompleted();
    // The window is ending: close files.
    virtual void kill() {}
    // A key pressed in a control; true when the window handled it.
    virtual bool takeKey(int control, QKeyEvent* event);

    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void build();
    void buildControl(Control& c, QMenu*& lastMenu, QWidget*& lastSheet);
    void applyLook(QWidget* w, const ControlDecl& d);
    QRect designedRect(const Control& c) const;
    int entryWidthForText(const Control& c) const;
    void layoutControls();
    void restorePlacement();
    void savePlacement();
    void controlAccepted(int number);
    void finish();

    std::unique_ptr<WindowThread> ownThread_;
    WindowThread* thread_;
    WindowProcedure* caller_;
    WindowDecl decl_;
    QFont font_;
    DialogUnits units_;
    std::vector<Control> controls_;
    std::map<std::string, FieldRef, std::less<>> variables_;
    std::map<int, BYTE> responseButtons_;
    int okControl_ = 0;
    int cancelControl_ = 0;
    QMenuBar* menuBar_ = nullptr;
    ClientArea* client_ = nullptr;
    QPointer<WindowProcedure> nested_;
    Done done_;
    std::string previousProcedure_;
    BYTE request_ = 0;
    BYTE response_ = 0;
    bool built_ = false;
    bool opened_ = false;
    bool closing_ = false;
    bool acceptingAll_ = false;
};

}  // namespace pordex::ui
