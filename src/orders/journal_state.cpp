#include "orders/journal_state.h"

#include "data/file_manager.h"
#include "platform/runtime/date.h"

namespace pordex {

files::Order journalOrder() {
    return files::Order::byKey(REW_KEY_4);
}

namespace journal {

void opened(Globals& g) {
    g.PRI_DEL = 0;
}

LONG reset(Globals& g) {
    g.PRI_DEL = 0;
    return today();
}

void beforeInsert(Globals& g) {
    g.K_POL = 0;
}

void beforeDelete(Globals& g) {
    g.PRI_DEL = 1;
}

}  // namespace journal
}  // namespace pordex
