#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/field_ref.h"

namespace pordex::ui {

// How a variable shows in a control with a display picture, and how a control's text goes back
// into it. Texts are UTF-8.

// The text a control shows: numbers and dates formatted by the picture, without the padding
// blanks; texts as they stand without trailing blanks. An empty picture shows texts as they are
// and numbers in their shortest form.
std::string displayText(const FieldRef& field, std::string_view picture);

// Stores what the user typed. False (the variable unchanged) when a number or date picture
// cannot read the text.
bool acceptText(const FieldRef& field, std::string_view picture, std::string_view utf8);

// Characters a picture writes (texts: their width), for default control widths; 0 when unknown.
int pictureWidth(std::string_view picture);

// A number or date picture (the control then edits a value, not free text).
bool isValuePicture(std::string_view picture);
bool isDatePicture(std::string_view picture);

}  // namespace pordex::ui
