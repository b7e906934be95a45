#include "print/pr_plat_record.h"

#include "data/globals.h"
#include "platform/runtime/codec.h"
#include "platform/runtime/picture.h"
#include "print/conv_s.h"
#include "print/payment_order_layout.h"

namespace pordex::print {

namespace {

// Characters from..to (1-based, inclusive) of a fixed-width text; past its end nothing.
std::string_view chars(std::string_view s, std::size_t from, std::size_t to) {
    if (from > s.size() || to < from) return {};
    return s.substr(from - 1, std::min(to, s.size()) - from + 1);
}

template <std::size_t N, std::size_t M>
void cut(Str<N>& piece, const Str<M>& whole, std::size_t from) {
    piece.assignRaw(chars(whole.raw(), from, from + N - 1));
}

// The purpose in four printed lines of 70: the VAT clause always begins a new line.
void purposeLines(PrPlatFields& f, const Str<210>& name) {
    static const std::string marker = utf8ToCp1251("в т.ч. НДС");
    const std::string_view text = name.raw();
    const std::size_t found = text.find(marker);
    f.NAME1.clear();
    f.NAME2.clear();
    f.NAME3.clear();
    f.NAME4.clear();
    if (found == std::string_view::npos) {
        f.NAME1.assignRaw(chars(text, 1, 70));
        f.NAME2.assignRaw(chars(text, 71, 140));
        f.NAME3.assignRaw(chars(text, 141, 210));
        return;
    }
    const std::size_t p = found + 1;
    const std::string_view clause = chars(text, p, 210);  // cut to 70 by the line
    if (p <= 70) {
        f.NAME1.assignRaw(chars(text, 1, p - 1));
        f.NAME2.assignRaw(clause);
    } else if (p <= 140) {
        f.NAME1.assignRaw(chars(text, 1, 70));
        f.NAME2.assignRaw(chars(text, 71, p - 1));
        f.NAME3.assignRaw(clause);
    } else {
        f.NAME1.assignRaw(chars(text, 1, 70));
        f.NAME2.assignRaw(chars(text, 71, 140));
        f.NAME3.assignRaw(chars(text, 141, p - 1));
        f.NAME4.assignRaw(clause);
    }
}

// 1234.5 -> "1234-50": the amount with two decimals, no grouping, the point made a dash.
void amountInFigures(Str<21>& out, double amount) {
    std::string s = utf8ToCp1251(format("n_18.2", amount));
    s.erase(0, s.find_first_not_of(' ') == std::string::npos ? s.size() : s.find_first_not_of(' '));
    const std::size_t point = s.find('.');
    if (point != std::string::npos) s = s.substr(0, point) + "-" + s.substr(point + 1, 2);
    out.assignRaw(s);
}

// A field of three parts separated by points, unless its first part is blank or "0".
template <std::size_t A, std::size_t B, std::size_t C>
void dottedField(Str<1>& sep, Str<10>& out, const Str<A>& first, const Str<B>& second,
                 const Str<C>& third) {
    const std::string_view lead = first.trimmed();
    sep.assignRaw(lead.empty() || lead == "0" ? " " : ".");
    std::string s;
    s.append(first.raw())
        .append(sep.raw())
        .append(second.raw())
        .append(sep.raw())
        .append(third.raw());
    out.assignRaw(s);
}

// A text in an "sN" picture: its first N characters.
template <std::size_t M>
std::string text(const Str<M>& s, std::size_t n) {
    return cp1251ToUtf8(s.raw().substr(0, std::min(n, M)));
}

}  // namespace

void prPlatRecordStep(PrPlatFields& f) {
    Globals& g = globals();

    // Date: "d12" is yyyymmdd.
    const std::string ymd = format("d12", g.D_DOK_REW);
    f.DP3.assign(ymd.substr(0, std::min<std::size_t>(4, ymd.size())));
    f.DP2.assign(ymd.size() >= 6 ? ymd.substr(4, 2) : std::string());
    f.DP1.assign(ymd.size() >= 8 ? ymd.substr(6, 2) : std::string());

    purposeLines(f, g.NAME_REW);

    // Names in fixed pieces of 40, whatever the word boundaries.
    cut(f.N_POL1, g.N_POL_REW, 1);
    cut(f.N_POL2, g.N_POL_REW, 41);
    cut(f.N_POL3, g.N_POL_REW, 81);
    cut(f.N_POL4, g.N_POL_REW, 121);
    cut(f.N_BANK1, g.N_BANK_REW, 1);
    cut(f.N_BANK2, g.N_BANK_REW, 41);
    cut(f.BANK_PLA1, g.BANK_PLA, 1);
    cut(f.BANK_PLA2, g.BANK_PLA, 41);
    cut(f.N_PLA1, g.N_PLA_REW, 1);
    cut(f.N_PLA2, g.N_PLA_REW, 41);
    cut(f.N_PLA3, g.N_PLA_REW, 81);
    cut(f.N_PLA4, g.N_PLA_REW, 121);

    amountInFigures(f.SUMMA_1, g.SUMMA_REW);

    g.S_R = g.SUMMA_REW;
    CONV_S();

    dottedField(f.G107_T, f.G107_D, g.G107_1, g.G107_2, g.G107_3);
    dottedField(f.G109_T, f.G109_D, g.G109_1, g.G109_2, g.G109_3);
}

report::PageValues prPlatPage(const PrPlatFields& f) {
    const Globals& g = globals();
    report::PageValues v(PF_COUNT);
    v[PF_N_D] = text(g.N_D, 1);
    v[PF_N_DOK_REW] = text(g.N_DOK_REW, 10);
    v[PF_DP1] = text(f.DP1, 2);
    v[PF_DP2] = text(f.DP2, 2);
    v[PF_DP3] = text(f.DP3, 4);
    v[PF_STRI_REW] = text(g.STRI_REW, 10);
    v[PF_G101] = text(g.G101, 2);
    v[PF_S1] = text(g.S1, 60);
    v[PF_S2] = text(g.S2, 60);
    v[PF_S3] = text(g.S3, 60);
    v[PF_INN_PLA] = text(g.INN_PLA, 12);
    v[PF_G102] = text(g.G102, 12);
    v[PF_SUMMA_1] = text(f.SUMMA_1, 18);
    v[PF_N_PLA1] = text(f.N_PLA1, 40);
    v[PF_N_PLA2] = text(f.N_PLA2, 40);
    v[PF_N_PLA3] = text(f.N_PLA3, 40);
    v[PF_N_PLA4] = text(f.N_PLA4, 40);
    v[PF_N_SC_A_REW] = text(g.N_SC_A_REW, 20);
    v[PF_MFO_A] = format("n09", g.MFO_A);
    v[PF_BANK_PLA1] = text(f.BANK_PLA1, 40);
    v[PF_BANK_PLA2] = text(f.BANK_PLA2, 40);
    v[PF_K_SC_A] = text(g.K_SC_A, 20);
    v[PF_N_BANK1] = text(f.N_BANK1, 40);
    v[PF_N_BANK2] = text(f.N_BANK2, 40);
    v[PF_MFO_B_REW] = format("n09", g.MFO_B_REW);
    v[PF_K_SC_B_REW] = text(g.K_SC_B_REW, 20);
    v[PF_INN_POL] = text(g.INN_POL, 12);
    v[PF_G103] = text(g.G103, 12);
    v[PF_N_SC_B_REW] = text(g.N_SC_B_REW, 20);
    v[PF_N_POL1] = text(f.N_POL1, 40);
    v[PF_N_POL2] = text(f.N_POL2, 40);
    v[PF_N_POL3] = text(f.N_POL3, 40);
    v[PF_N_POL4] = text(f.N_POL4, 40);
    v[PF_SORT_REW] = format("n2", g.SORT_REW);
    v[PF_G104] = text(g.G104, 20);
    v[PF_G105] = text(g.G105, 11);
    v[PF_G106] = text(g.G106, 2);
    v[PF_G107_D] = text(f.G107_D, 10);
    v[PF_G108] = text(g.G108, 2);
    v[PF_G109_D] = text(f.G109_D, 10);
    v[PF_G110] = text(g.G110, 2);
    v[PF_NAME1] = text(f.NAME1, 70);
    v[PF_NAME2] = text(f.NAME2, 70);
    v[PF_NAME3] = text(f.NAME3, 70);
    v[PF_NAME4] = text(f.NAME4, 70);
    return v;
}

}  // namespace pordex::print
