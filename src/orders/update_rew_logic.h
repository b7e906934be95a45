#pragma once

#include <string_view>

#include "data/dictionary.h"
#include "data/globals.h"
#include "orders/check_order.h"
#include "platform/runtime/str.h"
#include "platform/runtime/types.h"

namespace pordex {

// What the payment-order form decides, on its thread's record buffers and the process-wide
// globals; the window only shows it. The form edits the thread's REW buffer in place and adds
// payers, recipients and copies of orders to KBP, POL and REW itself.
class UpdateRewLogic {
  public:
    // The request the form runs with (the framework's numbers).
    static constexpr BYTE Insert = 1, Change = 2, Delete = 3;

    UpdateRewLogic(Dictionary& dct, BYTE request, Globals& g = globals());

    BYTE request() const { return request_; }
    // The window's title: "Добавить???", "Изменить???" or "Удалить???".
    std::string_view title() const;

    // Opening: registers the seven files the form works with. The order is the thread's REW
    // buffer: a new one primed by the framework, or the one the caller left current.
    void open();
    // After the opening reset: no control switch, no selection, no message.
    void opened();
    // Closing: releases the seven files.
    void close();

    // The form's reset: takes over a payer (PLAT) or recipient (K_POL) chosen in a list, shows OK
    // for a deletion, numbers a new order, and fills the defaults of the tax fields.
    void reset();

    // "Готово???": the checks in confirm mode. After a pass (or with control switched off) OK is
    // shown, the reset runs and the message line asks to press OK; after a failure the message
    // line holds the check's message and the result names the signal and the focus.
    CheckResult confirm(OrderReferences& refs);

    // OK: the checks in save mode unless deleting or control is off. After a pass the caller
    // completes and saves; after a failure the form stays open with the check's message.
    CheckResult okPressed(OrderReferences& refs);
    // Before the framework saves the order: the journal's key (99999 minus the document date)
    // and the marks.
    void complete();
    // "Закрыть".
    void cancel();

    // "Запомнить плательщика" / "Запомнить  получателя": add the order's payer or recipient to
    // its list unless an entry with the same account is there. Neither adds anything in delete
    // mode; the payer's then leaves the message line empty, the recipient's still says "done".
    void rememberPayer();
    void rememberRecipient();
    // "Снять контроль" / "Восстановить контроль".
    void controlOff();
    void controlOn();
    // "Скопировать": stores a copy of the order under a new number and goes on with the copy,
    // which becomes the current record (a change written back on OK lands on the copy).
    void copyOrder();

    Dictionary& dct() { return dct_; }
    RewRecord& rew() { return dct_.REW; }

    // The form's message line.
    Str<50> MES_REW;
    // The OK button's visibility.
    bool okVisible = false;

  private:
    Dictionary& dct_;
    Globals& g_;
    BYTE request_;
    bool open_ = false;
};

namespace rew_messages {
inline constexpr std::string_view done = "Задание выполнено";
inline constexpr std::string_view controlOff = "Контроль снят !!!";
inline constexpr std::string_view controlOn = "Контроль восстановлен !!!";
inline constexpr std::string_view copied = "П/п скопировано";
}  // namespace rew_messages

}  // namespace pordex
