// The checks' header goes before any Qt header (see update_rew.h).
#include "orders/update_rew_logic.h"

#include "orders/ui/update_rew.h"

#include <QEvent>
#include <QPointer>
#include <QTabWidget>
#include <QTimer>

#include "orders/dictionary_references.h"
#include "orders/ui/update_rew_layout.h"
#include "platform/system/beep.h"
#include "platform/system/program_start.h"
#include "print/print_snapshot.h"
#include "print/ui/pr_plat.h"

namespace pordex {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

}  // namespace

ui::WindowDecl UpdateRewWindow::decl() {
    return {.procedure = "UpdateRew",
            .title = "Ввод/корректировка платежных поручений",
            .w = kUpdateRewWidth,
            .h = kUpdateRewHeight,
            .font = "MS Sans Serif",
            .fontSize = 8,
            .resizable = true,
            .icon = ":/icons/tiv5.png",
            .controls = updateRewControls()};
}

UpdateRewWindow::UpdateRewWindow(WindowThread& thread, ui::WindowProcedure* caller)
    : UpdateForm(thread, caller, decl(), "REW") {}

UpdateRewWindow::~UpdateRewWindow() = default;

void UpdateRewWindow::init() {
    UpdateForm::init();
    logic_ = std::make_unique<UpdateRewLogic>(dct(), request());
    logic_->open();
    refs_ = std::make_unique<DictionaryReferences>(dct());
    bindVariable("MES_REW", ui::FieldRef::of(logic_->MES_REW));
}

void UpdateRewWindow::opened() {
    UpdateForm::opened();  // primes a new order, marked "N"
    setOkControl("?OK");
    setCancelControl("?CANCEL");
    // Every data control but the message line has the field history: the form's default.

    // One tab only: the sheet is a frame behind the fields, with no tab to choose.
    if (auto* sheet = controlAs<QTabWidget>("?CURRENTTAB")) {
        sheet->setTabBarAutoHide(true);
        sheet->setFocusPolicy(Qt::NoFocus);
    }
    // The recipient's remember button acts on every event, receiving the focus included.
    if (QWidget* b = control("?BUTTON3")) b->installEventFilter(this);

    setWindowTitle(qs(logic_->title()));
    if (QWidget* first = control("?BUTTON10")) first->setFocus();
}

void UpdateRewWindow::reset(bool force) {
    // Nothing while the controls are being taken all at once (OK).
    if (acceptingAll() || !logic_) return;
    logic_->reset();
    if (firstReset_) {
        firstReset_ = false;
        logic_->opened();
    }
    showState();
    UpdateForm::reset(force);
}

void UpdateRewWindow::showState() {
    if (QWidget* ok = control("?OK")) ok->setVisible(logic_->okVisible);
    display();
}

void UpdateRewWindow::showCheck(const CheckResult& result) {
    for (const Beep& b : result.signal) sys::beep(b.tone, b.duration);
    showState();
    if (!result.passed && !result.focus.empty())
        if (QWidget* w = control(result.focus)) w->setFocus(Qt::OtherFocusReason);
}

void UpdateRewWindow::takeAccepted(int number) {
    const std::string_view name = number >= 1 && number <= static_cast<int>(controls().size())
                                      ? controls()[static_cast<std::size_t>(number - 1)].decl->name
                                      : std::string_view{};
    if (name == "?BUTTON10") {
        logic_->rememberPayer();
        showState();
    } else if (name == "?BUTTON3") {
        logic_->rememberRecipient();
        showState();
    } else if (name == "?BUTTON8") {
        logic_->controlOff();
        showState();
    } else if (name == "?BUTTON14") {
        logic_->controlOn();
        showState();
    } else if (name == "?BUTTON9") {
        logic_->copyOrder();
        showState();
    } else if (name == "?BUTTON4") {
        print();
    } else if (name == "?BUTTON13") {
        startCalculator();
    } else if (name == "?BUTTON7") {
        showCheck(logic_->confirm(*refs_));
    } else if (name == "?CANCEL") {
        logic_->cancel();
        UpdateForm::takeAccepted(number);
    } else {
        UpdateForm::takeAccepted(number);
    }
}

bool UpdateRewWindow::completion() {
    const CheckResult result = logic_->okPressed(*refs_);
    if (!result.passed) {
        showCheck(result);
        return false;
    }
    logic_->complete();
    return true;
}

void UpdateRewWindow::print() {
    // What is typed but not yet taken (the focus still in the entry) goes on paper too.
    updateVariables();
    print::takePrintSnapshot(dct().REW);
    QPointer<UpdateRewWindow> self(this);
    print::PR_PLAT(thread(), this, [self](BYTE) {
        if (self && !self->isClosing()) self->reset(true);
    });
}

void UpdateRewWindow::startCalculator() {
    // Taken first: the reset below shows the buffer again.
    updateVariables();
    const bool started = sys::startProgram("calc.exe ");
    reset(true);
    if (!started) {
        logic_->MES_REW = kNoCalculator;
        display();
    }
}

bool UpdateRewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && watched == control("?BUTTON3") && logic_ &&
        !isClosing()) {
        logic_->rememberRecipient();
        showState();
    }
    return UpdateForm::eventFilter(watched, event);
}

void UpdateRewWindow::kill() {
    refs_.reset();
    if (logic_) logic_->close();
    UpdateForm::kill();
}

UpdateRewWindow* UpdateRew(WindowThread& thread, ui::WindowProcedure* caller, ui::Done done) {
    auto* window = new UpdateRewWindow(thread, caller);
    if (caller) {
        caller->runNested(window, thread.GlobalRequest, std::move(done));
    } else {
        window->run(std::move(done));
    }
    return window;
}

}  // namespace pordex
