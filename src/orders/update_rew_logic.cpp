#include "orders/update_rew_logic.h"

#include <string>

#include "data/file_manager.h"

namespace pordex {
namespace {

// A BIK kept as text in the lists ("041234567", or "41234567" as the form stores it) read as the
// order's number. Only digits, blanks on either side aside, make a BIK; anything else reads as 0,
// which the checks then report as an unknown bank.
LONG bikNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.empty() || text.size() > 9) return 0;
    LONG n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

// A number written from the left, without leading zeros.
std::string numberText(long long n) {
    return std::to_string(n);
}

// Looks through the whole of a list file, in file order, for an entry whose account equals
// `account`. The buffer is left holding the last record read. `nextNumber` gets the number a new
// entry takes: the record count plus 1, or - when an entry already has that number, as after a
// deletion from the middle of the list - one more than the highest number in use, so that the
// list's unique key does not refuse it.
enum class Scan { Found, Missing, Failed };

template <class R, class AccountOf>
Scan scanForAccount(FileManager<R>& file, const R& buffer, std::string_view account,
                    AccountOf accountOf, SHORT& nextNumber) {
    if (!file.file()) return Scan::Failed;  // the open failed and has been reported
    const LONG count = file.count();
    if (file.lastStatus() == files::Status::Failed) return Scan::Failed;
    const long candidate = long{count} + 1;
    bool candidateTaken = false;
    long highest = 0;
    file.set(FILE_ORDER);
    while (file.next()) {
        if (accountOf(buffer) == account) return Scan::Found;
        candidateTaken = candidateTaken || buffer.NOMER == candidate;
        if (buffer.NOMER > highest) highest = buffer.NOMER;
    }
    if (file.lastStatus() == files::Status::Failed) return Scan::Failed;
    nextNumber = static_cast<SHORT>(candidateTaken ? highest + 1 : candidate);
    return Scan::Missing;
}

}  // namespace

UpdateRewLogic::UpdateRewLogic(Dictionary& dct, BYTE request, Globals& g)
    : dct_(dct), g_(g), request_(request) {}

std::string_view UpdateRewLogic::title() const {
    switch (request_) {
        case Insert:
            return "Добавить???";
        case Change:
            return "Изменить???";
        case Delete:
            return "Удалить???";
        default:
            return {};
    }
}

void UpdateRewLogic::open() {
    if (open_) return;
    dct_.Relate.BIK.open();
    dct_.Relate.BL2.open();
    dct_.Relate.KBP.open();
    dct_.Relate.KSZ.open();
    dct_.Relate.MCO.open();
    dct_.Relate.POL.open();
    dct_.Relate.REW.open();
    open_ = true;
}

void UpdateRewLogic::opened() {
    g_.KONTR = 0;
    g_.PLAT = 0;
    g_.K_POL = 0;
    MES_REW.clear();
}

void UpdateRewLogic::close() {
    if (!open_) return;
    dct_.Relate.BIK.close();
    dct_.Relate.BL2.close();
    dct_.Relate.KBP.close();
    dct_.Relate.KSZ.close();
    dct_.Relate.MCO.close();
    dct_.Relate.POL.close();
    dct_.Relate.REW.close();
    open_ = false;
}

void UpdateRewLogic::reset() {
    RewRecord& rew = dct_.REW;
    if (g_.PRI_DEL == 0) {
        if (g_.PLAT != 0) {
            KbpRecord& kbp = dct_.KBP;
            kbp.NOMER = static_cast<SHORT>(g_.PLAT);
            if (dct_.Access.KBP.fetch(KBP_KEY_1)) {
                rew.N_SC_A.assignFrom(kbp.N_SC_A);
                rew.N_PLA.assignFrom(kbp.N_PLA);
                rew.INN_PLA.assignFrom(kbp.INN_PLA);
                rew.NOMER = kbp.NOMER;
                rew.BANK_PLA.assignFrom(kbp.N_BANK);
                rew.MFO_A = bikNumber(kbp.MFO_A.raw());
                rew.K_SC_A.assignFrom(kbp.K_SC_A);
                rew.P102.assignFrom(kbp.KPP);
                rew.P105.assignFrom(kbp.OKATO);
                // KPP and OKATO belong on tax payments only, which carry a status.
                if (rew.P101.blank()) {
                    rew.P102.clear();
                    rew.P105.clear();
                }
            }
        }
        if (g_.K_POL != 0) {
            PolRecord& pol = dct_.POL;
            pol.NOMER = static_cast<SHORT>(g_.K_POL);
            // A recipient that is no longer there leaves the order as it is, rather than filling
            // it with whatever the buffer held before.
            if (dct_.Access.POL.fetch(POL_KEY_1)) {
                rew.INN_POL.assignFrom(pol.INN_POL);
                rew.N_POL.assignFrom(pol.N_POL);
                rew.N_SC_B.assignFrom(pol.N_SC);
                rew.K_SC_B.assignFrom(pol.KOR_SC);
                rew.MFO_B = bikNumber(pol.BIK.raw());
                rew.N_BANK.assignFrom(pol.N_BANK);
                rew.P103.assignFrom(pol.KPP);
            }
        }
    }
    if (g_.PRI_DEL == 1) okVisible = true;
    if (rew.N_DOK.blank()) rew.N_DOK = numberText(long{dct_.Access.REW.count()} + 1);
    g_.PLAT = 0;
    g_.K_POL = 0;
    MES_REW.clear();
    if (rew.N_D.blank()) rew.N_D = "N";
    if (!rew.P101.blank()) {
        if (rew.P106.blank()) rew.P106 = "00";
        if (rew.P109_2.blank()) rew.P109_2 = "0";
    }
}

CheckResult UpdateRewLogic::confirm(OrderReferences& refs) {
    if (g_.PRI_DEL == 0 && g_.KONTR == 0) okVisible = false;
    CheckResult result = CheckOrder(dct_.REW, refs, CheckMode::Confirm, g_);
    if (result.passed && result.showOk) {
        okVisible = true;
        reset();
        MES_REW = result.message;
    } else if (!result.passed) {
        MES_REW = result.message;
    }
    return result;
}

CheckResult UpdateRewLogic::okPressed(OrderReferences& refs) {
    CheckResult result = CheckOrder(dct_.REW, refs, CheckMode::Save, g_);
    if (!result.passed) {
        MES_REW = result.message;
        return result;
    }
    MES_REW.clear();
    g_.PLAT = 0;
    g_.K_POL = 0;
    return result;
}

void UpdateRewLogic::complete() {
    RewRecord& rew = dct_.REW;
    g_.PRI_DEL = 0;
    if (dct_.Access.REW.count() == 0) rew.PRI = 1;
    rew.DDD = 99999 - rew.D_DOK;
    g_.K_POL = 0;
}

void UpdateRewLogic::cancel() {
    g_.KONTR = 0;
    g_.PLAT = 0;
    g_.K_POL = 0;
    MES_REW.clear();
}

void UpdateRewLogic::rememberPayer() {
    MES_REW.clear();
    if (g_.PRI_DEL != 0) return;
    const RewRecord& rew = dct_.REW;
    if (!rew.N_SC_A.blank() && g_.ER == 0) {
        KbpRecord& kbp = dct_.KBP;
        SHORT number = 0;
        const Scan scan = scanForAccount(
            dct_.Access.KBP, kbp, rew.N_SC_A.trimmed(),
            [](const KbpRecord& r) { return r.N_SC_A.trimmed(); }, number);
        if (scan == Scan::Failed) return;
        if (scan == Scan::Missing) {
            // KPP and OKATO come from the order itself: the buffer still holds the last payer
            // read by the search, whose codes would be filed under this payer's name.
            kbp.NOMER = number;
            kbp.KPP.assignFrom(rew.P102);
            kbp.OKATO.assignFrom(rew.P105);
            kbp.N_PLA.assignFrom(rew.N_PLA);
            kbp.INN_PLA.assignFrom(rew.INN_PLA);
            kbp.N_SC_A.assignFrom(rew.N_SC_A);
            kbp.MFO_A = numberText(rew.MFO_A);
            kbp.K_SC_A.assignFrom(rew.K_SC_A);
            kbp.N_BANK.assignFrom(rew.BANK_PLA);
            // A refused add has shown its message; "done" would then be untrue.
            if (!dct_.Access.KBP.insert()) return;
        }
    }
    MES_REW = rew_messages::done;
}

void UpdateRewLogic::rememberRecipient() {
    MES_REW.clear();
    const RewRecord& rew = dct_.REW;
    // Unlike the payer's button, this one says "done" in delete mode too, where it adds nothing.
    if (g_.PRI_DEL == 0 && !rew.N_SC_B.blank() && g_.ER == 0) {
        PolRecord& pol = dct_.POL;
        SHORT number = 0;
        const Scan scan = scanForAccount(
            dct_.Access.POL, pol, rew.N_SC_B.trimmed(),
            [](const PolRecord& r) { return r.N_SC.trimmed(); }, number);
        if (scan == Scan::Failed) return;
        if (scan == Scan::Missing) {
            // The recipient's KPP is the order's; the order holds no OKATO of the recipient.
            pol.NOMER = number;
            pol.KPP.assignFrom(rew.P103);
            pol.OKATO.clear();
            pol.N_POL.assignFrom(rew.N_POL);
            pol.INN_POL.assignFrom(rew.INN_POL);
            pol.N_SC.assignFrom(rew.N_SC_B);
            pol.BIK = numberText(rew.MFO_B);
            pol.KOR_SC.assignFrom(rew.K_SC_B);
            pol.N_BANK.assignFrom(rew.N_BANK);  // its first 60 characters
            if (!dct_.Access.POL.insert()) return;
        }
    }
    MES_REW = rew_messages::done;
}

void UpdateRewLogic::controlOff() {
    g_.KONTR = 1;
    MES_REW = rew_messages::controlOff;
}

void UpdateRewLogic::controlOn() {
    g_.KONTR = 0;
    MES_REW = rew_messages::controlOn;
    okVisible = false;
}

void UpdateRewLogic::copyOrder() {
    MES_REW.clear();
    RewRecord& rew = dct_.REW;
    FileManager<RewRecord>& file = dct_.Access.REW;
    const LONG count = file.count();
    if (file.lastStatus() == files::Status::Failed) return;
    rew.SUMMA = 0.01;
    rew.N_DOK = numberText(long{count} + 1) + "??";
    // The journal lists orders by this key; without it the copy would be stored but never shown.
    rew.DDD = 99999 - rew.D_DOK;
    // The copy becomes the form's record: a change written back on OK lands on the copy, not on
    // the order it was copied from.
    if (!file.insert()) return;
    MES_REW = rew_messages::copied;
}

}  // namespace pordex
