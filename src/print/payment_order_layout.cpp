#include "print/payment_order_layout.h"

namespace pordex::print {

namespace {

using report::BandField;
using report::BandLine;
using report::BandText;
using report::Box;
using report::FontSpec;

// Fonts of the form; an empty face is the band's "Courier".
constexpr FontSpec courierNew10B{"Courier New", 10, true};
constexpr FontSpec courierNew12B{"Courier New", 12, true};
constexpr FontSpec courierNew8B{"Courier New", 8, true};
constexpr FontSpec courierNew10R{"Courier New", 10, false};
constexpr FontSpec band10B{"", 10, true};
constexpr FontSpec band12B{"", 12, true};
constexpr FontSpec bandB{"", 0, true};
constexpr FontSpec courier8B{"Courier", 8, true};
constexpr FontSpec sans10{"MS Sans Serif", 10, false};
constexpr FontSpec sans9{"MS Sans Serif", 9, false};
constexpr FontSpec serif10B{"MS Serif", 10, true};

constexpr BandField fields[] = {
    {"N_D", {141, 89, 12, 16}, courierNew10B},
    {"N_DOK_REW", {152, 89}, band10B},
    {"DP1", {218, 86}, band10B},
    {"DP2", {233, 86}, band10B},
    {"DP3", {251, 86}, band10B},
    {"STRI_REW", {352, 80}, courierNew10B},
    {"G101", {429, 78}, courierNew12B},
    {"S1", {75, 113, 371, 14}, sans10},
    {"S2", {75, 123, 389, 14}, sans10},
    {"S3", {75, 133, 383, 14}, sans10},
    {"INN_PLA", {41, 147}, courierNew10B},
    {"G102", {150, 147}, courierNew10B},
    {"SUMMA_1", {297, 164, 153, 17}, band12B},
    {"N_PLA1", {16, 168, 222, 14}, sans9},
    {"N_PLA2", {16, 179, 222, 14}, sans9},
    {"N_PLA3", {16, 189, 219, 14}, sans9},
    {"N_PLA4", {16, 200, 222, 14}, sans9},
    {"N_SC_A_REW", {297, 205}, band12B},
    {"MFO_A", {297, 230}, band12B},
    {"BANK_PLA1", {16, 234, 225, 14}, sans9},
    {"BANK_PLA2", {16, 248, 222, 14}, sans9},
    {"K_SC_A", {297, 254}, band12B},
    {"N_BANK1", {14, 279, 225, 14}, sans9},
    {"N_BANK2", {14, 288, 225, 14}, sans9},
    {"MFO_B_REW", {297, 279}, band12B},
    {"K_SC_B_REW", {299, 299}, band12B},
    {"INN_POL", {44, 320}, courierNew10B},
    {"G103", {150, 320}, courierNew10B},
    {"N_SC_B_REW", {299, 320}, band12B},
    {"N_POL1", {17, 336, 222, 14}, sans9},
    {"N_POL2", {17, 346, 222, 14}, sans9},
    {"N_POL3", {17, 357, 222, 14}, sans9},
    {"N_POL4", {17, 369, 222, 14}, sans9},
    {"SORT_REW", {410, 362}, band10B},
    {"G104", {25, 401}, serif10B},
    {"G105", {155, 401}, serif10B},
    {"G106", {227, 401}, serif10B},
    {"G107_D", {252, 401}, serif10B},
    {"G108", {318, 401}, serif10B},
    {"G109_D", {343, 401}, serif10B},
    {"G110", {417, 401}, serif10B},
    {"NAME1", {20, 424, 443, 14}, sans10},
    {"NAME2", {20, 434, 446, 14}, sans10},
    {"NAME3", {20, 445, 446, 14}, sans10},
    {"NAME4", {20, 455, 398, 14}, sans10},
};
static_assert(std::size(fields) == PF_COUNT);

constexpr BandText texts[] = {
    {"0401060", {406, 35}, {"Courier", 10, false}},
    {"Поступ. в банк плат.", {32, 49}, courierNew8B},
    {"Списано со сч.плат.", {150, 49}, courierNew8B},
    {"ПЛАТЕЖНОЕ ПОРУЧЕНИЕ ", {23, 89}, {"Courier New", 10, true}},
    {".", {230, 89}, bandB},
    {".", {245, 89}, bandB},
    {"Дата", {242, 98}, courierNew8B},
    {"Вид платежа", {351, 98}, courierNew8B},
    {"Сумма", {26, 110}, courier8B},
    {"прописью", {23, 130}, courier8B},
    {"ИНН", {17, 147}, {"Courier New", 10, true}},
    {"КПП", {124, 147}, {"Courier New", 10, true}},
    {"Сумма", {248, 164}, courier8B},
    {"Сч. N", {248, 202}, courier8B},
    {"Плательщик", {20, 213}, courierNew8B},
    {"БИК", {251, 230}, courier8B},
    {"Сч. N", {245, 257}, courier8B},
    {"Банк плательщика", {17, 262}, courierNew8B},
    {"БИК", {254, 279}, courier8B},
    {"Сч. N ", {245, 299}, courier8B},
    {"Банк получателя", {20, 302}, courierNew8B},
    {"ИНН", {20, 320}, {"Courier New", 10, true}},
    {"КПП", {124, 320}, {"Courier New", 10, true}},
    {"Сч.  N", {245, 320}, courier8B},
    {"01", {305, 340}, band10B},
    {"Вид оп.", {245, 343}, courier8B},
    {"Срок плат.", {349, 346}, courier8B},
    {"Наз.пл.", {245, 363}, courier8B},
    {"Очер.плат.", {349, 363}, courier8B},
    {"Код", {254, 380}, courier8B},
    {"Рез.поле", {351, 380, 44, 20}, courier8B},
    {"Получатель", {23, 386}, courierNew8B},
    {"Назначение платежа", {20, 467}, courierNew8B},
    {"Подписи", {213, 484}, courier8B},
    {"Отметки банка", {383, 484}, courier8B},
    {"М.П.", {49, 530}, {"Courier", 12, false}},
};

// The bank form's grid. A few segments of the form's description stop 1 to 3 points short of, or
// run 1 point past, the line they meet (the corners of the form-code box, the cells of "Вид оп.",
// "Наз.пл." and "Код", the line above the recipient's name); here they end on that line, so
// every cell of the printed grid is closed.
constexpr BandLine lines[] = {
    // Horizontal.
    {401, 32, 452, 32},
    {26, 46, 130, 46},
    {147, 46, 245, 46},
    {401, 49, 452, 49},
    {423, 72, 449, 72},
    {352, 91, 412, 91},
    {423, 95, 449, 95},
    {219, 98, 285, 98},
    {17, 144, 466, 144},
    {17, 161, 239, 161},
    {239, 196, 472, 196},
    {17, 225, 285, 225},
    {239, 254, 285, 254},
    {17, 277, 469, 277},
    {239, 294, 285, 294},
    {20, 317, 285, 317},
    {20, 334, 239, 334},
    {239, 337, 478, 337},
    {239, 357, 285, 357},
    {346, 360, 401, 360},
    {239, 377, 285, 377},
    {346, 377, 401, 377},
    {23, 398, 478, 398},
    {23, 418, 478, 418},
    {20, 481, 475, 481},
    {155, 527, 319, 527},
    {155, 565, 319, 565},
    // Vertical.
    {69, 107, 69, 144},
    {118, 144, 118, 161},
    {118, 317, 118, 334},
    {150, 398, 150, 418},
    {222, 398, 222, 418},
    {239, 144, 239, 398},
    {245, 398, 245, 418},
    {285, 144, 285, 398},
    {314, 398, 314, 418},
    {332, 398, 332, 418},
    {346, 337, 346, 398},
    {401, 32, 401, 49},
    {401, 337, 401, 398},
    {410, 398, 410, 418},
    {423, 72, 423, 95},
    {449, 72, 449, 95},
    {452, 32, 452, 49},
};

}  // namespace

const report::ReportLayout& paymentOrderLayout() {
    static const report::ReportLayout layout{
        "pr_plat",
        {"Arial", 10, false},
        {61, 0, 518, 596},
        {{1, 1, 518, 587}, {"Courier", 8, false}, fields, texts, lines},
    };
    return layout;
}

}  // namespace pordex::print
