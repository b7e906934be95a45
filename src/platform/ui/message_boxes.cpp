#include "platform/ui/message_boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include "platform/ui/window_procedure.h"

namespace pordex::ui {
namespace {

struct FatalState {
    bool pending = false;
    std::function<void()> end;
};

FatalState& fatal() {
    static FatalState s;
    return s;
}

void defaultEnd() {
    WindowProcedure::closeAll();
    QCoreApplication::exit(1);
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

bool fatalPending() {
    return fatal().pending;
}

void MessageBoxPresenter::present(const files::ErrorReport& report) {
    const bool isFatal = report.kind == files::ErrorKind::Fatal;
    // On the window the user works in (the one whose operation failed).
    QWidget* parent = WindowProcedure::current();
    if (!parent) parent = QApplication::activeWindow();
    auto* box = new QMessageBox(isFatal ? QMessageBox::Critical : QMessageBox::Warning,
                                qs(report.title), qs(report.text), QMessageBox::Ok, parent);
    box->setObjectName(isFatal ? QStringLiteral("fatalMessage") : QStringLiteral("noticeMessage"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    // The message names the procedure it came from.
    if (!report.procedure.empty()) box->setInformativeText(qs(report.procedure));
    if (isFatal) {
        fatal().pending = true;
        box->setWindowModality(Qt::ApplicationModal);
        QObject::connect(box, &QMessageBox::finished, [] {
            // After the box has gone: the program ends from the event loop, not from inside
            // the box's own signal.
            QTimer::singleShot(0, [] {
                fatal().pending = false;
                if (fatal().end) fatal().end();
            });
        });
        box->show();
    } else if (parent) {
        box->open();  // window-modal on the window the user works in
    } else {
        box->show();
    }
}

void installMessageBoxes(files::ErrorManager& errors, std::function<void()> endProgram) {
    fatal().end = endProgram ? std::move(endProgram) : defaultEnd;
    errors.setPresenter(std::make_shared<MessageBoxPresenter>());
    // The error manager ends the program right after presenting; here the program ends when
    // the user has confirmed the message, so the manager's hook only waits for that.
    errors.setEndProgram([] {
        if (!fatal().pending && fatal().end) fatal().end();
    });
}

}  // namespace pordex::ui
