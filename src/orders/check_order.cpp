#include "orders/check_order.h"

#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

#include "orders/account_key.h"
#include "orders/order_numbers.h"
#include "orders/purpose_text.h"

namespace pordex {
namespace {

constexpr std::string_view kPayerKeyWrong = "Некорр.счет плательщ.(по ключу)";
constexpr std::string_view kUnknownBik = "Ошибочный код БИК ???";
constexpr std::string_view kCorrClosed = "Этот корсчет банка закрыт???";
constexpr std::string_view kNoSuchCorr = "Такого корсчета нет в базе???";
constexpr std::string_view kBadBalance = "Недопустимый бал.сч. 2 пор.";
constexpr std::string_view kAccountClosed = "Этот л.с. в этом банке закрыт?";
constexpr std::string_view kRecipientKeyWrong = "Некорр.счет п/плат.(по ключу)";
constexpr std::string_view kBadPriority = "Ошибка в приоритете???";
constexpr std::string_view kNoVo = "Нет VO.Платеж с участием нерезидента!";
constexpr std::string_view kKbkMismatch = "Нет соответствия 14-го разряда КБК";
constexpr std::string_view kPressOk = "Нажмите ОК для записи в базу";

// What the bank lookup writes when the directory does not know the BIK. Written by the checks
// themselves, so it counts as no name: once the BIK is corrected the real name goes in.
const Str<80>& unknownBankName() {
    static const Str<80> s{"???????????????"};
    return s;
}

struct Failure {
    std::string_view message;
    const std::vector<Beep>* signal;
    std::string_view focus;
};

// One side of the order: its bank's BIK and the fields completed from the directory.
struct BankSide {
    LONG bik;
    Str<80>& name;
    Str<20>& corr;
    std::string_view bikControl;
    std::string_view corrControl;
};

// Looks the bank up, fills in its name and correspondent account, and tests the account.
// `mco` receives the bank's MCO record.
std::optional<Failure> completeBank(const BankSide& side, OrderReferences& refs, McoRecord& mco) {
    if (!refs.fetchMco(side.bik, mco))
        return Failure{kUnknownBik, &beeps::threeTone, side.bikControl};

    BikRecord bik;
    if (refs.fetchBik(mco.MFO, bik)) {
        if (side.name.blank() || side.name == unknownBankName()) side.name.assignFrom(bik.NAME);
    } else {
        side.name = unknownBankName();
    }

    side.corr.assignFrom(mco.KS);
    if (mco.KS.blank()) return std::nullopt;

    Str<25> key;
    key.assignFrom(side.corr);
    KszRecord ksz;
    if (refs.fetchKsz(key, ksz) && !(ksz.KS == ksz.KS_N) && ksz.MFO == side.bik)
        return Failure{kCorrClosed, &beeps::threeTone, side.corrControl};
    if (!(mco.KS == side.corr)) return Failure{kNoSuchCorr, &beeps::threeTone, side.bikControl};
    return std::nullopt;
}

std::optional<Failure> checkRecipientAccount(RewRecord& rew, OrderReferences& refs,
                                             const McoRecord& recipientMco) {
    constexpr std::string_view control = "?REW:N_SC_B";

    // The balance account of the second order: the first five characters, leading blanks aside.
    std::string_view lead = rew.N_SC_B.raw();
    while (!lead.empty() && lead.front() == ' ') lead.remove_prefix(1);
    const auto balance = plainNumber(lead.substr(0, 5));
    Bl2Record bl2;
    if (!balance || !refs.fetchBl2(LONG(std::stol(*balance)), bl2))
        return Failure{kBadBalance, &beeps::lowBeep, control};

    Str<25> key;
    key.assignFrom(rew.N_SC_B);
    KszRecord ksz;
    if (refs.fetchKsz(key, ksz)) return Failure{kAccountClosed, &beeps::threeTone, control};

    // The account in normal form: its number right-aligned in the field. Text that is not a
    // number is left as typed (the key test below refuses it).
    if (const auto number = plainNumber(rew.N_SC_B.raw()); number && number->size() <= 20)
        rew.N_SC_B.assignRaw(std::string(20 - number->size(), ' ') + *number);
    const BankPart part =
        recipientMco.KS.blank() ? BankPart::SettlementCentre : BankPart::CreditInstitution;
    if (!accountKeyValid(rew.MFO_B, rew.N_SC_B.raw(), part))
        return Failure{kRecipientKeyWrong, &beeps::lowBeep, control};
    return std::nullopt;
}

std::optional<Failure> checkRequired(const RewRecord& rew) {
    // A non-finite amount (only a damaged record holds one) is no amount either.
    const bool noAmount = rew.SUMMA == 0 || !std::isfinite(rew.SUMMA);
    const struct {
        bool empty;
        std::string_view control;
    } fields[] = {
        {rew.MFO_B == 0, "?REW:MFO_B"},
        {rew.N_SC_B.blank(), "?REW:N_SC_B"},
        {rew.INN_POL.blank(), "?REW:INN_POL"},
        {rew.N_POL.blank(), "?REW:N_POL"},
        {rew.SORT == 0, "?REW:SORT"},
        {rew.NDS.blank(), "?REW:NDS"},
        {noAmount, "?REW:SUMMA"},
        {rew.NAME.blank(), "?REW:NAME"},
    };
    for (const auto& f : fields)
        if (f.empty) return Failure{{}, &beeps::highBeep, f.control};
    return std::nullopt;
}

// Digit 14 of the KBK that the payment type of field 110 requires; 0 for no requirement.
char kbkDigitFor(const Str<2>& p110) {
    struct Row {
        Str<2> code;
        char digit;
    };
    static const Row table[] = {{Str<2>("НС"), '1'}, {Str<2>("АВ"), '1'}, {Str<2>("ПЛ"), '1'},
                                {Str<2>("ВЗ"), '1'}, {Str<2>("ГП"), '1'}, {Str<2>("СА"), '3'},
                                {Str<2>("АШ"), '3'}, {Str<2>("ИШ"), '3'}, {Str<2>("ПЕ"), '2'},
                                {Str<2>("ПЦ"), '2'}};
    for (const auto& row : table)
        if (row.code == p110) return row.digit;
    return 0;
}

bool beginsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

std::optional<Failure> runChain(RewRecord& rew, OrderReferences& refs, Globals& g) {
    if (!accountKeyValid(rew.MFO_A, rew.N_SC_A.raw(), BankPart::CreditInstitution))
        return Failure{kPayerKeyWrong, &beeps::lowBeep, "?REW:N_SC_A"};

    McoRecord mco;
    if (auto f = completeBank({rew.MFO_A, rew.BANK_PLA, rew.K_SC_A, "?REW:MFO_A", "?REW:K_SC_A"},
                              refs, mco))
        return f;
    McoRecord recipientMco;
    if (auto f = completeBank({rew.MFO_B, rew.N_BANK, rew.K_SC_B, "?REW:MFO_B", "?REW:K_SC_B"},
                              refs, recipientMco))
        return f;

    if (!rew.N_SC_B.blank())
        if (auto f = checkRecipientAccount(rew, refs, recipientMco)) return f;

    if (rew.SORT > 6) return Failure{kBadPriority, &beeps::shortThreeTone, "?REW:SORT"};
    // A rate is a number of at least 0, or -1 for "no VAT phrase": a rate such as -5 would
    // print a negative VAT amount in the purpose.
    if (!rew.NDS.blank()) {
        const auto rate = signedNumber(rew.NDS.raw());
        if (!rate || *rate < -1) return Failure{{}, &beeps::shortThreeTone, "?REW:NDS"};
    }
    if (auto f = checkRequired(rew)) return f;

    applyVatPhrase(rew.NAME, rew.NDS, rew.SUMMA);
    if (g.KNN1 != 0) {
        applyVoCode(rew.NAME, g.KNN1);
        g.KNN1 = 0;
    }

    if ((beginsWith(rew.N_SC_A.raw(), "40807") || beginsWith(rew.N_SC_B.raw(), "40807")) &&
        !beginsWith(rew.NAME.raw(), "{VO"))
        return Failure{kNoVo, nullptr, "?REW:NAME"};

    if (const char digit = kbkDigitFor(rew.P110); digit != 0 && rew.P104[13] != digit)
        return Failure{kKbkMismatch, nullptr, "?REW:P104"};
    return std::nullopt;
}

}  // namespace

CheckResult CheckOrder(RewRecord& rew, OrderReferences& refs, CheckMode mode, Globals& g) {
    CheckResult result;
    if (g.PRI_DEL == 1 || g.KONTR == 1) {
        // Deleting needs no checks; with control switched off "Готово???" offers OK unchecked,
        // in delete mode too.
        result.ran = false;
        if (mode == CheckMode::Confirm && g.KONTR == 1) result.message = kPressOk;
        result.showOk = mode == CheckMode::Confirm;
        return result;
    }

    g.ER = 0;
    if (const auto failure = runChain(rew, refs, g)) {
        g.ER = 1;
        result.passed = false;
        result.message = failure->message;
        if (failure->signal) result.signal = *failure->signal;
        result.focus = failure->focus;
        return result;
    }
    if (mode == CheckMode::Confirm) {
        result.message = kPressOk;
        result.showOk = true;
    }
    return result;
}

}  // namespace pordex
