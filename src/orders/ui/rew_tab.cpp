#include "orders/ui/rew_tab.h"

#include <QWidget>
#include <memory>
#include <vector>

#include "data/globals.h"
#include "orders/journal_search.h"
#include "orders/journal_state.h"
#include "orders/ui/update_rew.h"

namespace pordex {
namespace {

using ui::Align;
using ui::button;
using ui::Color;
using ui::ControlDecl;
using ui::ControlKind;
using ui::prompt;

// The search entries. The three below the first are declared at the default width, which for
// fifty characters would run under the buttons beside them: they take the first one's width.
ControlDecl searchEntry(std::string_view name, std::string_view use, int y, int h) {
    return {.kind = ControlKind::Entry,
            .name = name,
            .x = 153,
            .y = y,
            .w = 137,
            .h = h,
            .use = use,
            .picture = "s50"};
}

// A value of the detail panel: the field's whole length as text.
ControlDecl detail(std::string_view field, std::string_view picture, int x, int y, int w) {
    return {.kind = ControlKind::String,
            .name = field,
            .x = x,
            .y = y,
            .w = w,
            .h = 10,
            .use = field.substr(1),
            .picture = picture};
}

const std::vector<ControlDecl>& declaredControls() {
    static const std::vector<ControlDecl> c = {
        prompt("Поиск по фрагменту имен", 2, 1, Color::Blue),
        prompt("Плательщика:", 100, 2),
        searchEntry("?NAME_P", "NAME_P", 2, 9),
        prompt("Банка плательщика:", 79, 14),
        searchEntry("?NAME_BNP", "NAME_BNP", 14, 10),
        prompt("Получателя:", 107, 25),
        searchEntry("?NAME_POL", "NAME_POL", 26, 9),
        searchEntry("?NAME_N", "NAME_N", 38, 9),
        button("?Find", "Поиск", 295, 12, 59, 11, Color::Blue),
        button("?ClearFind", "Сброс результатов поиска", 295, 24, 101, 14, Color::Purple),
        prompt("Текущая дата:", 297, 2),
        // Designed at x 353 for a face whose digits are narrower; moved in so that the year
        // is not cut at the window's edge.
        {.kind = ControlKind::String,
         .name = "?T_DATA",
         .x = 350,
         .y = 0,
         .w = 46,
         .use = "T_DATA",
         .picture = "d6",
         .fontSize = 10},
        {.kind = ControlKind::Sheet, .name = "?CurrentTab", .x = 3, .y = 44, .w = 386, .h = 180},
        {.kind = ControlKind::Tab, .name = "?Tab:1"},
        prompt("Назначения платежа:", 75, 37, Color::Default, true),
        {.kind = ControlKind::List,
         .name = "?Browse:1",
         .x = 0,
         .y = 58,
         .w = 376,
         .h = 151,
         .use = "REW",
         .status = "Browsing Records",
         .key = "KEY_4",
         .columns = {{.header = "Дата",
                      .field = "REW:D_DOK",
                      .picture = "d6",
                      .width = 44,
                      .align = Align::Left,
                      .indent = 3},
                     {.header = "Nдок",
                      .field = "REW:N_DOK",
                      .picture = "s5",
                      .width = 21,
                      .align = Align::Left},
                     {.header = "БИК банка",
                      .field = "REW:MFO_B",
                      .picture = "n09",
                      .width = 41,
                      .align = Align::Right,
                      .indent = 1,
                      .headerAlign = Align::Center},
                     {.header = "Л/с получателя",
                      .field = "REW:N_SC_B",
                      .picture = "s20",
                      .width = 85,
                      .align = Align::Left,
                      .headerAlign = Align::Center},
                     {.header = "Л/с плательщика",
                      .field = "REW:N_SC_A",
                      .picture = "s20",
                      .width = 85,
                      .align = Align::Left,
                      .headerAlign = Align::Center},
                     {.header = "Сумма",
                      .field = "REW:SUMMA",
                      .picture = "n18.2",
                      .width = 65,
                      .align = Align::Right,
                      .indent = 1,
                      .headerAlign = Align::Center}},
         .locator = true},
        button("?Insert", "&Добавить", 166, 211, 56, 11),
        button("?Change", "&Изменить", 229, 211, 51, 11),
        button("?Delete", "&Удалить", 283, 210, 45, 12),
        button("?Close", "Закрыть", 331, 211, 45, 10, Color::Default, true),
        {.kind = ControlKind::Group,
         .name = "?Group1",
         .text = "Расшифровка платежа",
         .x = 1,
         .y = 226,
         .w = 395,
         .h = 62},
        prompt("От кого:", 3, 234, Color::Blue),
        detail("?REW:N_PLA", "s160", 31, 234, 359),
        prompt("Банк:", 4, 244, Color::Blue),
        detail("?REW:BANK_PLA", "s80", 25, 244, 367),
        prompt("Кому:", 3, 254, Color::Blue),
        detail("?REW:N_BANK", "s80", 23, 254, 360),
        detail("?REW:N_POL", "s160", 3, 264, 389),
        prompt("За что:", 2, 273, Color::Blue),
        detail("?REW:NAME", "s210", 26, 273, 368),
    };
    return c;
}

}  // namespace

ui::WindowDecl RewTab::decl() {
    return {.procedure = "rew_tab",
            .title = "Сводный журнал платежных поручений",
            .w = 396,
            .h = 289,
            .font = "MS Sans Serif",
            .fontSize = 8,
            .resizable = true,
            .controls = declaredControls()};
}

RewTab::RewTab(WindowThread& thread, ui::WindowProcedure* caller)
    : WindowProcedure(thread, caller, decl()) {
    Globals& g = globals();
    bindVariable("NAME_P", ui::FieldRef::of(g.NAME_P));
    bindVariable("NAME_BNP", ui::FieldRef::of(g.NAME_BNP));
    bindVariable("NAME_POL", ui::FieldRef::of(g.NAME_POL));
    bindVariable("NAME_N", ui::FieldRef::of(g.NAME_N));
    bindVariable("T_DATA", ui::FieldRef::of(T_DATA_));
}

ui::BrowseList* RewTab::list() const {
    return controlAs<ui::BrowseList>("?Browse:1");
}

void RewTab::init() {
    // KBP stays open for the form, which reads and adds payers.
    dct().Relate.REW.open();
    dct().Relate.KBP.open();
    filesOpen_ = true;
    journal::opened();
}

void RewTab::opened() {
    ui::BrowseList* l = list();
    l->setInsertButton("?Insert");
    l->setChangeButton("?Change");
    l->setDeleteButton("?Delete");
    l->setUpdateProcedure([](ui::WindowProcedure& caller) -> ui::WindowProcedure* {
        return new UpdateRewWindow(caller.thread(), &caller);
    });
    // The keys, the context menu and double click open the form too: what the form reads first
    // is set here, whichever way it was asked for.
    connect(l, &ui::BrowseList::aboutToAsk, this, [](BYTE request) {
        if (request == InsertRecord) journal::beforeInsert();
        if (request == DeleteRecord) journal::beforeDelete();
    });
    // The list has read its page again around the order the form left: the rest of the reset.
    connect(l, &ui::BrowseList::asked, this, [this](BYTE, BYTE) {
        if (isClosing()) return;
        resetSteps();
        display();
    });
    setCancelControl("?Close");
    // A group's frame runs through the middle of its title, so the first line of the panel,
    // designed just below the title, stays clear of it.
    if (QWidget* g = control("?Group1")) {
        g->setStyleSheet(QStringLiteral(
            "QGroupBox { border: 1px solid palette(mid); margin-top: 0.5em; }"
            "QGroupBox::title { subcontrol-origin: margin; left: 4px; padding: 0px 1px; }"));
        g->setFont(font());
    }
    takeSearch();
}

void RewTab::resetSteps() {
    T_DATA_ = journal::reset();
    takeSearch();
}

void RewTab::reset(bool force) {
    if (!acceptingAll()) resetSteps();
    WindowProcedure::reset(force);
}

void RewTab::takeSearch() {
    if (ui::BrowseList* l = list()) l->setFilter(JournalSearch::fromGlobals().filter());
}

void RewTab::takeAccepted(int control) {
    static constexpr std::string_view kSearchEntries[] = {"?NAME_P", "?NAME_BNP", "?NAME_POL",
                                                          "?NAME_N"};
    for (std::string_view name : kSearchEntries) {
        // A search text typed alone rebuilds nothing: it counts from the next read of the list.
        if (control == controlNumber(name)) {
            takeSearch();
            return;
        }
    }
    if (control == controlNumber("?Find")) {
        updateVariables();
        takeSearch();
        list()->refresh();
        return;
    }
    if (control == controlNumber("?ClearFind")) {
        updateVariables();
        clearSearchTexts();
        takeSearch();
        display();
        list()->refresh();
        return;
    }
    WindowProcedure::takeAccepted(control);
}

void RewTab::kill() {
    if (!filesOpen_) return;
    filesOpen_ = false;
    dct().Relate.KBP.close();
    dct().Relate.REW.close();
}

RewTab* REW_TAB() {
    auto thread = std::make_unique<WindowThread>();
    auto* w = new RewTab(*thread, nullptr);
    w->adoptThread(std::move(thread));
    w->run();
    return w;
}

}  // namespace pordex
