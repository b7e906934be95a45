#pragma once

#include <initializer_list>
#include <string_view>
#include <vector>

namespace pordex::ui {

// A window's controls are declared as data, in declaration order (the control's number is its
// position, from 1), and the framework builds the widgets from the list.
enum class ControlKind {
    Prompt,   // a static label
    String,   // a display string bound to a variable (read-only)
    Entry,    // an entry bound to a field, with a picture
    Spin,     // a spin box stepping through `values` ("a|b|c") and writing into its field
    TextBox,  // a multi-line entry bound to a text field
    Button,   // a push button (text) or an icon button (icon, no text)
    Group,    // a group box
    Sheet,    // a tab sheet
    Tab,      // one tab of the sheet declared before it
    List,     // a list bound to a file and key
    Image,    // a picture
    Check,    // a check box
    Menu,     // a menu of the window's menu bar
    Item,     // an item of the menu declared before it (text "-": a separator)
};

enum class Color { Default, Red, Blue, Purple, Green, Olive, Maroon, Navy, Gray };

enum class Align { Left, Right, Center };

// One column of a list: a field of the list's file shown in a picture ("s40" on a wider text
// shows its first 40 characters), width in dialog units, the data's and the header's alignment,
// and an indent in dialog units from the aligned edge.
struct ColumnDecl {
    std::string_view header{};
    std::string_view field{};  // "KBP:NOMER"
    std::string_view picture{};
    int width = 40;
    Align align = Align::Left;
    int indent = 0;
    Align headerAlign = Align::Left;
};

struct ControlDecl {
    ControlKind kind;
    std::string_view name{};  // the object name: "?REW:N_SC_A", "?OK", "?BUTTON7"
    std::string_view text{};  // caption or label text (UTF-8)
    int x = 0, y = 0;
    int w = -1, h = -1;          // dialog units; -1: the default for the kind and picture
    std::string_view use{};      // bound variable: "REW:N_SC_A", "MES_REW"; empty if none
    std::string_view picture{};  // "s20", "n09b", "n18.2b", "D6b" ...
    std::string_view values{};   // spin values "01|02|03"
    std::vector<std::string_view> tooltip{};  // one entry per line
    std::string_view icon{};                  // resource path of a button icon
    Color color = Color::Default;
    bool bold = false;
    int fontSize = 0;  // points; 0: the window's font
    bool hidden = false;
    bool parentSheet = false;   // lies on the single-tab sheet declared before it
    std::string_view status{};  // status-bar text of a menu item or a list
    bool password = false;      // an entry that masks what is typed
    // Lists: `use` names the file ("KBP"), `key` the key ("KEY_1"; empty: file order).
    std::string_view key{};
    std::vector<ColumnDecl> columns{};
    bool locator = false;  // a step locator on the key's field
};

// Builders for the kinds most windows declare, so a window's table reads one control a line.
inline ControlDecl prompt(std::string_view text, int x, int y, Color color = Color::Default,
                          bool onSheet = false) {
    return {.kind = ControlKind::Prompt,
            .text = text,
            .x = x,
            .y = y,
            .color = color,
            .parentSheet = onSheet};
}

inline ControlDecl button(std::string_view name, std::string_view text, int x, int y, int w, int h,
                          Color color = Color::Default, bool onSheet = false) {
    return {.kind = ControlKind::Button,
            .name = name,
            .text = text,
            .x = x,
            .y = y,
            .w = w,
            .h = h,
            .color = color,
            .parentSheet = onSheet};
}

}  // namespace pordex::ui
