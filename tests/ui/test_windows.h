#pragma once

#include <vector>

#include "platform/ui/browse_list.h"
#include "platform/ui/update_form.h"
#include "platform/ui/window_procedure.h"

// Small windows over the payers' file, built the way the program's lists and forms are.
namespace pordex::test {

using ui::ControlDecl;
using ui::ControlKind;

inline const std::vector<ControlDecl>& payerFormControls() {
    static const std::vector<ControlDecl> c = {
        {.kind = ControlKind::Prompt, .text = "Номер:", .x = 4, .y = 4},
        {.kind = ControlKind::Entry,
         .name = "?KBP:NOMER",
         .x = 40,
         .y = 4,
         .use = "KBP:NOMER",
         .picture = "n_5"},
        {.kind = ControlKind::Prompt, .text = "Имя:", .x = 4, .y = 18},
        {.kind = ControlKind::Entry,
         .name = "?KBP:N_PLA",
         .x = 40,
         .y = 18,
         .w = 150,
         .use = "KBP:N_PLA",
         .picture = "s160"},
        {.kind = ControlKind::Entry,
         .name = "?KBP:N_SC_A",
         .x = 40,
         .y = 32,
         .use = "KBP:N_SC_A",
         .picture = "s20"},
        {.kind = ControlKind::Button,
         .name = "?OK",
         .text = "OK",
         .x = 100,
         .y = 50,
         .w = 40,
         .h = 12},
        {.kind = ControlKind::Button,
         .name = "?CANCEL",
         .text = "Закрыть",
         .x = 150,
         .y = 50,
         .w = 40,
         .h = 12},
    };
    return c;
}

class PayerForm : public ui::UpdateForm {
  public:
    static ui::WindowDecl decl() {
        return {.procedure = "kbp_form",
                .title = "Плательщик",
                .x = 18,
                .y = 5,
                .w = 200,
                .h = 66,
                .controls = payerFormControls()};
    }
    PayerForm(WindowThread& t, ui::WindowProcedure* caller)
        : UpdateForm(t, caller, decl(), "KBP") {}
};

inline const std::vector<ControlDecl>& payerListControls() {
    static const std::vector<ControlDecl> c = {
        {.kind = ControlKind::List,
         .name = "?LIST",
         .x = 5,
         .y = 5,
         .w = 200,
         .h = 100,
         .use = "KBP",
         .columns = {{.header = "Номер",
                      .field = "KBP:NOMER",
                      .picture = "n_5",
                      .width = 25,
                      .align = ui::Align::Right},
                     {.header = "Плательщик",
                      .field = "KBP:N_PLA",
                      .picture = "s60",
                      .width = 160,
                      .headerAlign = ui::Align::Center}}},
        {.kind = ControlKind::Button,
         .name = "?SELECT",
         .text = "&Выбрать",
         .x = 3,
         .y = 110,
         .w = 40,
         .h = 12},
        {.kind = ControlKind::Button,
         .name = "?INSERT",
         .text = "&Добавить",
         .x = 50,
         .y = 110,
         .w = 40,
         .h = 12},
        {.kind = ControlKind::Button,
         .name = "?CHANGE",
         .text = "&Изменить",
         .x = 95,
         .y = 110,
         .w = 40,
         .h = 12},
        {.kind = ControlKind::Button,
         .name = "?DELETE",
         .text = "&Удалить",
         .x = 140,
         .y = 110,
         .w = 40,
         .h = 12},
        {.kind = ControlKind::Button,
         .name = "?CLOSE",
         .text = "Закрыть",
         .x = 185,
         .y = 110,
         .w = 25,
         .h = 12},
    };
    return c;
}

class PayerList : public ui::WindowProcedure {
  public:
    static ui::WindowDecl decl() {
        return {.procedure = "KBP_TAB",
                .title = "Список",
                .x = 0,
                .y = 0,
                .w = 212,
                .h = 126,
                .resizable = true,
                .controls = payerListControls()};
    }
    PayerList(WindowThread& t, ui::WindowProcedure* caller) : WindowProcedure(t, caller, decl()) {}

    ui::BrowseList* list() const { return controlAs<ui::BrowseList>("?LIST"); }

  protected:
    void init() override { dct().Relate.KBP.open(); }
    void opened() override {
        ui::BrowseList* l = list();
        l->setInsertButton("?INSERT");
        l->setChangeButton("?CHANGE");
        l->setDeleteButton("?DELETE");
        l->setSelectButton("?SELECT");
        l->setUpdateProcedure(
            [](ui::WindowProcedure& caller) { return new PayerForm(caller.thread(), &caller); });
        setResponseButton("?CLOSE", RequestCancelled);
    }
    void kill() override { dct().Relate.KBP.close(); }
};

}  // namespace pordex::test
