#include "platform/ui/update_form.h"

#include <QKeyEvent>
#include <algorithm>
#include <cstring>

#include "platform/ui/bound_controls.h"
#include "platform/ui/record_slots.h"

namespace pordex::ui {

UpdateForm::UpdateForm(WindowThread& thread, WindowProcedure* caller, const WindowDecl& decl,
                       std::string_view primaryLabel)
    : WindowProcedure(thread, caller, decl), primary_(primaryLabel) {}

RecordSlot UpdateForm::primary() const {
    return recordSlot(dct(), primary_);
}

void UpdateForm::setHistoryControls(std::vector<std::string> names) {
    historyNames_ = std::move(names);
    historyListed_ = true;
}

bool UpdateForm::hasHistory(int control) const {
    if (control < 1 || control > static_cast<int>(controls().size())) return false;
    const Control& c = controls()[static_cast<std::size_t>(control - 1)];
    if (!c.bound) return false;
    if (historyListed_)
        return std::find(historyNames_.begin(), historyNames_.end(), c.decl->name) !=
               historyNames_.end();
    // Every control on a field of the primary file.
    const std::string_view use = c.decl->use;
    const auto colon = use.find(':');
    if (colon == std::string_view::npos) return false;
    const std::string_view label = use.substr(0, colon);
    return label.size() == primary_.size() &&
           std::equal(label.begin(), label.end(), primary_.begin(), [](char a, char b) {
               return std::toupper(static_cast<unsigned char>(a)) ==
                      std::toupper(static_cast<unsigned char>(b));
           });
}

void UpdateForm::restoreFromHistory(int control) {
    if (!hasHistory(control)) return;
    const RecordSlot slot = primary();
    if (!slot.valid()) return;
    const Control& c = controls()[static_cast<std::size_t>(control - 1)];
    const FieldRef target = c.bound->field();
    // The copy of this thread, or an empty record when nothing was saved on it yet.
    std::vector<std::byte> copy;
    if (auto it = thread().history.find(primary_); it != thread().history.end()) {
        copy = it->second;
    } else {
        copy.resize(slot.desc->recordSize);
        clearRecord(*slot.desc, copy.data());
    }
    const char* base = reinterpret_cast<const char*>(slot.buffer);
    const std::ptrdiff_t offset = target.data() - base;
    if (offset < 0 || static_cast<std::size_t>(offset) + target.width() > copy.size()) return;
    target.setBytes({reinterpret_cast<const char*>(copy.data()) + offset, target.width()});
    c.bound->display();
    display();
}

void UpdateForm::init() {
    if (RecordSlot s = primary(); s.valid()) s.access->registerOpen();
}

void UpdateForm::kill() {
    if (RecordSlot s = primary(); s.valid()) s.access->releaseOpen();
}

void UpdateForm::opened() {
    // The forms' usual buttons; a form with other names registers its own.
    if (controlNumber("?OK")) setOkControl("?OK");
    if (controlNumber("?CANCEL")) setCancelControl("?CANCEL");
    const RecordSlot slot = primary();
    if (!slot.valid()) return;
    if (request() == InsertRecord) primeRecord(dct(), primary_);
    original_.assign(slot.buffer, slot.buffer + slot.desc->recordSize);
}

bool UpdateForm::takeKey(int control, QKeyEvent* event) {
    if (isHistoryKey(event) && hasHistory(control)) {
        restoreFromHistory(control);
        return true;
    }
    return WindowProcedure::takeKey(control, event);
}

void UpdateForm::takeCompleted() {
    if (!acceptAll()) return;
    if (!completion()) return;
    if (save()) closeWith(RequestCompleted);
}

bool UpdateForm::save() {
    const RecordSlot slot = primary();
    if (!slot.valid()) return false;
    const std::size_t size = slot.desc->recordSize;
    // The history copy of this thread follows every OK.
    thread().history[primary_].assign(slot.buffer, slot.buffer + size);
    switch (request()) {
        case InsertRecord:
            return slot.access->insert();
        case ChangeRecord:
            if (original_.size() == size && std::memcmp(original_.data(), slot.buffer, size) == 0)
                return true;  // nothing altered: nothing written
            return slot.access->update();
        case DeleteRecord:
            return slot.access->deleteRecord();
        default:
            return true;
    }
}

}  // namespace pordex::ui
