#pragma once

#include "data/globals.h"
#include "platform/files/record_file.h"
#include "platform/runtime/types.h"

namespace pordex {

// The journal of payment orders lists REW in REW:KEY_4: DDD (99999 minus the document date)
// ascending, so the newest date comes first, equal dates by document number descending, orders
// with DDD = 0 left out.
files::Order journalOrder();

// The journal's own steps on the program's shared values, around what the window shows.
namespace journal {

// The journal opens: no delete is pending.
void opened(Globals& g = globals());
// Every reset of the window (at opening and when the form returns): no delete is pending;
// the date to show as "Текущая дата:".
LONG reset(Globals& g = globals());
// Before the form opens to add an order: no standard recipient chosen beforehand.
void beforeInsert(Globals& g = globals());
// Before the form opens to delete an order: the form shows it for deleting.
void beforeDelete(Globals& g = globals());

}  // namespace journal
}  // namespace pordex
