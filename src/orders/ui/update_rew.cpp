// The checks' header goes before any Qt header (see update_rew.h).
#include "orders/update_rew_logic.h"

#include "orders/ui/update_rew.h"

#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTimer>

#include "orders/dictionary_references.h"
#include "orders/ui/update_rew_layout.h"
#include "platform/system/beep.h"
#include "platform/system/program_start.h"
#include "platform/ui/picture_text.h"
#include "print/print_snapshot.h"
#include "print/ui/pr_plat.h"

namespace pordex {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// The longest text an entry has to show whole: the widest code of a spin on the same field, else
// as many digits as its picture writes (a letter for the one- and two-character marks).
int widestText(const ui::ControlDecl& entry, std::span<const ui::ControlDecl> all,
               const QFontMetrics& fm) {
    int widest = 0;
    for (const ui::ControlDecl& d : all) {
        if (d.kind != ui::ControlKind::Spin || d.use != entry.use || d.values.empty()) continue;
        for (const QString& v : qs(d.values).split(QLatin1Char('|')))
            widest = std::max(widest, fm.horizontalAdvance(v));
    }
    if (widest > 0) return widest;
    if (ui::isDatePicture(entry.picture)) return fm.horizontalAdvance(QStringLiteral("00/00/0000"));
    const int n = ui::pictureWidth(entry.picture);
    return fm.horizontalAdvance(QString(n, n <= 2 ? QLatin1Char('N') : QLatin1Char('0')));
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

    fitEntries();
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
    print::takePrintSnapshot(dct().REW);
    QPointer<UpdateRewWindow> self(this);
    print::PR_PLAT(thread(), this, [self](BYTE) {
        if (self && !self->isClosing()) self->reset(true);
    });
}

void UpdateRewWindow::startCalculator() {
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

// The framework gives an entry without a declared width room for its picture's characters of
// average width. With this platform's fonts and entry frames a full account number or a code of
// two capitals then loses a few pixels, and the entry scrolls its first characters out of
// sight. Such entries are widened (never narrowed) until their longest value shows whole; the
// layout leaves room for that before the next control.
void UpdateRewWindow::fitEntries() {
    for (const ui::Control& c : controls()) {
        auto* e = qobject_cast<QLineEdit*>(c.widget);
        if (!e || c.decl->kind != ui::ControlKind::Entry || c.decl->w > 0) continue;
        const QFontMetrics fm(e->font());
        // What the entry adds around its text: the style's frame and padding, from its size hint
        // (17 "x" wide plus the line edit's own margins), and the cursor.
        const int chrome = e->sizeHint().width() - fm.horizontalAdvance(QLatin1Char('x')) * 17 + 1;
        const int needed = widestText(*c.decl, updateRewControls(), fm) + chrome;
        if (e->width() < needed) e->resize(needed, e->height());
    }
}

void UpdateRewWindow::resizeEvent(QResizeEvent* event) {
    UpdateForm::resizeEvent(event);  // places the controls again
    fitEntries();
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
