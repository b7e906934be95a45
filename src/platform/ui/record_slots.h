#pragma once

#include <string_view>

#include "data/dictionary.h"
#include "platform/ui/field_ref.h"

namespace pordex::ui {

// One file of a thread's data store reached by its label ("REW"): its file manager, the thread's
// record buffer and the file description.
struct RecordSlot {
    FileManagerBase* access = nullptr;
    std::byte* buffer = nullptr;
    const files::FileDesc* desc = nullptr;

    bool valid() const { return access != nullptr; }
};

RecordSlot recordSlot(Dictionary& dct, std::string_view label);

// "REW:N_SC_A" on the thread's buffers; an invalid reference when there is no such field.
FieldRef recordField(Dictionary& dct, std::string_view use);

// The index of a field of `desc` by name, or -1.
int fieldIndex(const files::FileDesc& desc, std::string_view name);
// The index of a key of `desc` by name ("KEY_4", any case), or -1.
int keyIndex(const files::FileDesc& desc, std::string_view name);

// Prepares a new record in the thread's buffer of `label` as its file manager does (cleared
// unless `keep`, then the file's own rule). False for an unknown label.
bool primeRecord(Dictionary& dct, std::string_view label, bool keep = false);

// Blanks the texts and zeroes the numbers of a record.
void clearRecord(const files::FileDesc& desc, std::byte* record);

}  // namespace pordex::ui
