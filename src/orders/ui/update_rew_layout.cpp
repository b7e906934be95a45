#include "orders/ui/update_rew_layout.h"

#include <vector>

namespace pordex {
namespace {

using ui::Color;
using ui::ControlDecl;
using ui::ControlKind;
using Lines = std::vector<std::string_view>;

// Everything but the top and bottom button rows lies on the sheet.
ControlDecl sheetPrompt(std::string_view text, int x, int y, Color color = Color::Default) {
    return ui::prompt(text, x, y, color, true);
}

ControlDecl entry(std::string_view name, std::string_view use, std::string_view picture, int x,
                  int y, int w = -1, int h = 10, Lines tooltip = {}) {
    return {.kind = ControlKind::Entry,
            .name = name,
            .x = x,
            .y = y,
            .w = w,
            .h = h,
            .use = use,
            .picture = picture,
            .tooltip = std::move(tooltip),
            .parentSheet = true};
}

ControlDecl spin(std::string_view name, std::string_view use, std::string_view picture,
                 std::string_view values, int x, int y, int w, int h, Lines tooltip) {
    return {.kind = ControlKind::Spin,
            .name = name,
            .x = x,
            .y = y,
            .w = w,
            .h = h,
            .use = use,
            .picture = picture,
            .values = values,
            .tooltip = std::move(tooltip),
            .parentSheet = true};
}

ControlDecl formButton(std::string_view name, std::string_view text, int x, int y, int w, int h,
                       bool onSheet = true) {
    return ui::button(name, text, x, y, w, h, Color::Default, onSheet);
}

ControlDecl iconButton(std::string_view name, std::string_view icon, int x, int y, int w, int h,
                       Lines tooltip) {
    return {.kind = ControlKind::Button,
            .name = name,
            .x = x,
            .y = y,
            .w = w,
            .h = h,
            .tooltip = std::move(tooltip),
            .icon = icon,
            .parentSheet = true};
}

const Lines kTip101 = {"01-налогоплательщик",
                       "02-налоговый агент",
                       "03-сборщик налогов и сборов",
                       "04-налоговый орган",
                       "05-служба суд.приставов Минюста РФ",
                       "06-участник ВЭД",
                       "07-таможенный орган",
                       "08-плательщик иных обязательных платежей"};

const Lines kTip106 = {
    "00-на усмотрение налоговых органов",
    "ТП-платежи текущего года",
    "ЗД-добровольное погашение задолжен. по истекшим налоговым периодам при отсутствии "
    "требований об уплате налогов",
    "ТР-погашение задолженности по требованию от налогового органа",
    "РС-погашение рассроченной задолженности",
    "ОТ-погашение отсроченной задолженности",
    "РТ-погашение реструктурируемой задолженности",
    "ВУ-погашение отсроченной задолженности в связи в связи с введ. внеш. управ.",
    "пог.задолж.:ПР-приост.к взыск.;АП-по акту провер.;АР-по исп.док."};

const Lines kTip107 = {"Д1-платеж за первую декаду месяца",
                       "Д2-платеж за вторую деаду месяца",
                       "Д3-платеж за трееееетью декаду месяца",
                       "МС-месячные платежи",
                       "КВ-квартальные платежи",
                       "ПЛ-полугодовые платежи",
                       "ГД-годовые платежи"};

const Lines kTip108 = {"00-для показателей платежа ТП или ЗД",
                       "ТР-номер требованияоб оплате  от налогового органа",
                       "РС-номер решения о рассрочке",
                       "ОТ-номер решения об отсрочке",
                       "РТ-номер решения о реструктуризации",
                       "ПР-номер решения о приостановлении взыскантия",
                       "ВУ-номер деле или материала ,рассмотренного арбитражным судом",
                       "АП-номер акта проверки",
                       "АР-номер исполн.документа и возбужденного",
                       "      на основании его исполнительного производства"};

const Lines kTip110 = {"00-на усмотрение нал.органа",
                       "НС-уплата налога или сбора",
                       "АВ-уплата аванса или предоплата(вт.ч.декадные платежи)",
                       "ПЕ-уплата пени",
                       "ПЦ-уплата процентов",
                       "СА-налоговые санкции,установл.нал.кодексом",
                       "АШ-административные штрафы",
                       "ИШ-иные штрафы"};

const Lines kTipNds = {"Если >0-то автоматический расчет и вставка",
                       "      \"в т.ч. НДС  ХХ %  <сумма НДС>\"",
                       "Если=0-то вставка \"НДС не облагается\"",
                       "Если=-1-то без записи об НДС в назначении", "      платежа"};

std::vector<ControlDecl> build() {
    std::vector<ControlDecl> c;
    // 1-2: the single-tab sheet behind everything but the top and bottom button rows.
    c.push_back(
        {.kind = ControlKind::Sheet, .name = "?CURRENTTAB", .x = 0, .y = 13, .w = 431, .h = 253});
    c.push_back({.kind = ControlKind::Tab, .name = "?TAB:1"});
    c.push_back(formButton("?BUTTON10", "Запомнить плательщика", 183, 0, 99, 12));  // 3
    c.push_back(entry("?REW:N_D", "REW:N_D", "s1", 72, 18));                        // 4
    c.push_back(entry("?REW:N_DOK", "REW:N_DOK", "s5", 88, 18));                    // 5
    c.push_back(entry("?REW:P101", "REW:P101", "s2", 311, 18, 15));                 // 6
    c.push_back(spin("?REW:P101:2", "REW:P101", "s2", "01|02|03|04|05|06|07|08", 281, 18, 25, 10,
                     kTip101));                                       // 7
    c.push_back(entry("?REW:STRI", "REW:STRI", "s10", 116, 31, 55));  // 8
    c.push_back(entry("?REW:D_PLA", "REW:D_PLA", "D6b", 370, 31, -1, 10,
                      {"Двойной клик левой кнопкой", "мыши - выбор из календаря"}));  // 9
    c.push_back(entry("?REW:N_SC_A", "REW:N_SC_A", "s20", 70, 43));                   // 10
    c.push_back(sheetPrompt("ИНН:", 162, 43));                                        // 11
    c.push_back(entry("?REW:INN_PLA", "REW:INN_PLA", "s12", 182, 43));                // 12
    c.push_back(entry("?REW:P102", "REW:P102", "s12", 262, 42));                      // 13
    c.push_back(sheetPrompt("КПП:", 242, 43));                                        // 14
    c.push_back(entry("?REW:N_PLA", "REW:N_PLA", "s160", 4, 55, 338, 9));             // 15
    c.push_back(
        entry("?REW:MFO_A", "REW:MFO_A", "n09b", 90, 66, -1, 10,
              {"Введите БИК и нажмите  ENTER", "реквизиты Банка вставятся автоматически"}));  // 16
    c.push_back(
        iconButton("?BUTTON13", ":/icons/calc.png", 369, 60, 21, 14, {"Калькулятор"}));  // 17
    c.push_back(entry("?REW:K_SC_A", "REW:K_SC_A", "s20", 222, 65));                     // 18
    c.push_back(entry("?REW:BANK_PLA", "REW:BANK_PLA", "s80", 4, 77, 339));              // 19
    c.push_back(
        entry("?REW:MFO_B", "REW:MFO_B", "n09b", 136, 92, -1, 10,
              {"Введите БИК и нажмите ENTER", "реквизиты банка вставятся автоматически"}));  // 20
    c.push_back(entry("?REW:K_SC_B", "REW:K_SC_B", "s20", 115, 104, -1, 9));                 // 21
    c.push_back(entry("?REW:N_BANK", "REW:N_BANK", "s80", 71, 115, 277));                    // 22
    c.push_back(entry("?REW:N_SC_B", "REW:N_SC_B", "s20", 130, 127));                        // 23
    c.push_back(entry("?REW:INN_POL", "REW:INN_POL", "s12", 247, 126));                      // 24
    c.push_back(entry("?REW:P103", "REW:P103", "s12", 332, 127));                            // 25
    c.push_back(sheetPrompt("КПП:", 309, 127));                                              // 26
    c.push_back(entry("?REW:N_POL", "REW:N_POL", "s160", 38, 139, 317));                     // 27
    c.push_back(entry("?REW:SORT", "REW:SORT", "n_1b", 78, 153));                            // 28
    c.push_back(entry("?REW:NDS", "REW:NDS", "s2", 186, 154, -1, 10, kTipNds));              // 29
    c.push_back(sheetPrompt("Сумма платежа:", 281, 154));                                    // 30
    {
        ControlDecl summa = entry("?REW:SUMMA", "REW:SUMMA", "n18.2b", 340, 154);  // 31
        summa.bold = true;
        c.push_back(summa);
    }
    c.push_back(entry("?REW:P104", "REW:P104", "s20", 26, 174));              // 32
    c.push_back(entry("?REW:P105", "REW:P105", "s11", 147, 174));             // 33
    c.push_back(entry("?REW:P106", "REW:P106", "s2", 365, 174, 20));          // 34
    c.push_back(sheetPrompt("Показатель налогового периода(107):", 5, 188));  // 35
    c.push_back(spin("?REW:P107_1:2", "REW:P107_1", "s2", "00|Д1|Д2|Д3|МС|КВ|ПЛ|ГД", 137, 188, 26,
                     9, kTip107));                                            // 36
    c.push_back(entry("?REW:P107_1", "REW:P107_1", "s2", 165, 188, -1, -1));  // 37
    c.push_back(entry("?REW:P107_2", "REW:P107_2", "s2", 185, 188, -1, -1));  // 38
    c.push_back(entry("?REW:P107_3", "REW:P107_3", "s4", 204, 188, -1, -1));  // 39
    c.push_back(sheetPrompt("Показетель номера д-та(108):", 232, 188));       // 40
    c.push_back(spin("?REW:P108:2", "REW:P108", "s2", "  |00|ТР|РС|ОТ|РТ|ПР|ВУ|АП|АР", 335, 189, 29,
                     10, kTip108));                                           // 41
    c.push_back(entry("?REW:P108", "REW:P108", "s2", 369, 188, 17));          // 42
    c.push_back(sheetPrompt("Показатель даты документа(109):", 6, 201));      // 43
    c.push_back(entry("?REW:P109_1", "REW:P109_1", "s2", 125, 201, -1, -1));  // 44
    c.push_back(entry("?REW:P109_2", "REW:P109_2", "s2", 143, 201, -1, -1));  // 45
    c.push_back(entry("?REW:P109_3", "REW:P109_3", "s4", 161, 201, -1, -1));  // 46
    c.push_back(sheetPrompt("Показатель типа платежа(110):", 196, 201));      // 47
    c.push_back(spin("?REW:P110:2", "REW:P110", "s2", "00|НС|АВ|ПЕ|ПЦ|СА|АШ|ИШ", 305, 201, 25, 10,
                     kTip110));                                   // 48
    c.push_back(entry("?REW:P110", "REW:P110", "s2", 335, 202));  // 49
    c.push_back(iconButton("?BUTTON12", ":/icons/vo.png", 399, 195, 25, 14,
                           {"Вставить код VO для", "операций с нерезидентами"}));    // 50
    c.push_back(formButton("?BUTTON6", "Выбрать стандартного", 226, 91, 107, 12));   // 51
    c.push_back(formButton("?BUTTON14", "Восстановить контроль", 333, 14, 95, 12));  // 52
    c.push_back(sheetPrompt("(+Enter)", 192, 92));                                   // 53
    c.push_back(sheetPrompt("Корсчет:", 76, 103));                                   // 54
    c.push_back(sheetPrompt("Дата документа:", 118, 19));                            // 55
    c.push_back(sheetPrompt("Вид платежа:", 1, 31));                                 // 56
    c.push_back(
        sheetPrompt("(выбор стрелк.+клик мышью в поле ввода)", 173, 30, Color::Blue));  // 57
    c.push_back(spin("?REW:STRI:2", "REW:STRI", "s10",
                     " |ЭЛЕКТРОННО|ПОЧТОЙ|ТЕЛЕГРАФОМ|_______________________", 47, 31, 65, 10,
                     {}));                                    // 58
    c.push_back(sheetPrompt("Срок платежа:", 320, 31));       // 59
    c.push_back(sheetPrompt("Плательщик:счет:", 5, 43));      // 60
    c.push_back(sheetPrompt("Расчетный счет:", 72, 126));     // 61
    c.push_back(sheetPrompt("ИНН:", 224, 126));               // 62
    c.push_back(sheetPrompt("ИМЯ:", 9, 139));                 // 63
    c.push_back(sheetPrompt("Приоритет платежа:", 5, 153));   // 64
    c.push_back(sheetPrompt("Назначение платежа:", 6, 210));  // 65
    c.push_back({.kind = ControlKind::TextBox,
                 .name = "?REW:NAME",
                 .x = 7,
                 .y = 222,
                 .w = 331,
                 .h = 31,
                 .use = "REW:NAME",
                 .picture = "s210",
                 .parentSheet = true});  // 66
    c.push_back({.kind = ControlKind::String,
                 .name = "?MES_REW",
                 .x = 6,
                 .y = 254,
                 .w = 283,
                 .h = 10,
                 .use = "MES_REW",
                 .picture = "s50",
                 .color = Color::Red,
                 .parentSheet = true});                                         // 67
    c.push_back(sheetPrompt("Номер документа:", 6, 18));                        // 68
    c.push_back(sheetPrompt("Реквизиты получателя: БИК Банка:", 2, 92));        // 69
    c.push_back(formButton("?BUTTON5", "Выбрать из списка", 324, 41, 91, 12));  // 70
    c.push_back(sheetPrompt("Банк плательщика: БИК:", 4, 67));                  // 71
    c.push_back(sheetPrompt("Корсчет:", 186, 67));                              // 72
    c.push_back(sheetPrompt("(+Enter)", 146, 67));                              // 73
    c.push_back(sheetPrompt("(от 1 до 6)", 101, 154));                          // 74
    c.push_back(sheetPrompt("Ставка НДС:", 138, 153));                          // 75
    c.push_back(sheetPrompt("(если 0 ,то без НДС)", 206, 155));                 // 76
    c.push_back(sheetPrompt("(если -1 ,то записи о НДС нет)", 207, 165));       // 77
    c.push_back(sheetPrompt("(104)", 7, 166));                                  // 78
    c.push_back(sheetPrompt("(105)", 123, 167));                                // 79
    c.push_back(sheetPrompt("КБК:", 6, 175));                                   // 80
    c.push_back(sheetPrompt("ОКАТО:", 118, 175));                               // 81
    c.push_back(sheetPrompt("Показатель основания платежа(106):", 203, 174));   // 82
    c.push_back(spin("?REW:P106:2", "REW:P106", "s2", "00|ТП|ЗД|ТР|РС|ОТ|РТ|ВУ|ПР|АП|АР", 335, 174,
                     25, 10, kTip106));  // 83
    c.push_back({.kind = ControlKind::Spin,
                 .name = "?REW:D_DOK",
                 .x = 181,
                 .y = 19,
                 .w = 55,
                 .h = 10,
                 .use = "REW:D_DOK",
                 .picture = "D6b",
                 .tooltip = {"Двойной клик левой", "кнопкой мыши-вызов", "календаря"},
                 .parentSheet = true});                                                  // 84
    c.push_back(sheetPrompt("Статус(101):", 238, 18));                                   // 85
    c.push_back(formButton("?BUTTON3", "Запомнить  получателя", 85, 0, 94, 13, false));  // 86
    c.push_back(formButton("?BUTTON4", "Напечатать", 16, 0, 65, 13, false));             // 87
    c.push_back(formButton("?BUTTON8", "Снять контроль", 351, 0, 75, 13, false));        // 88
    c.push_back(formButton("?BUTTON9", "Скопировать", 285, 0, 61, 12, false));           // 89
    {
        ControlDecl ok = formButton("?OK", "OK", 233, 268, 45, 11, false);  // 90
        ok.hidden = true;
        c.push_back(ok);
    }
    c.push_back(formButton("?CANCEL", "Закрыть", 377, 268, 45, 10, false));     // 91
    c.push_back(formButton("?BUTTON7", "Готово???", 141, 267, 71, 12, false));  // 92
    return c;
}

}  // namespace

std::span<const ui::ControlDecl> updateRewControls() {
    static const std::vector<ControlDecl> controls = build();
    return controls;
}

}  // namespace pordex
