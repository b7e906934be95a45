#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pordex {

// A display picture as the platform writes it (no leading marker). The letter is case-blind.
//
//   sN      text of N characters: cut to N, padded with blanks to N.
//   nW      number in a field of W characters (sign, digits, separators and decimals included),
//           right-aligned with leading blanks, "," between thousands ("n18.2": 12 digits max).
//   n0W     W digits with leading zeros, no separators ("n09" -> "044525225").
//   n_W     as nW without thousands separators ("n_5", "n_18.2").
//   ....D   D decimals after a "." ("n18.2"); rounded half away from zero as the value reads in
//           its shortest decimal form (1.005 -> "1.01").
//   ...b    zero (after rounding) is written as W blanks.
//   d6, D6  date dd/mm/yyyy ("01/07/2005"), 10 characters.
//   d12     date yyyymmdd ("20050701"), 8 characters.
//   D4      long date "1 июля 2005 г.": day without leading zero, the month's name in the
//           genitive, four-digit year, " г."; not padded (at most 19 characters).
//   A trailing "b" is accepted on dates too; a zero date is blank with or without it.
//
// Written results (UTF-8) are exactly the picture's width (D4 excepted):
//   - a number that does not fit (negative numbers need a place for "-"), NaN or infinity,
//     fills the field with '#';
//   - a date that is 0 is blank; a day number outside 1.1.1801..31.12.9999 or not a whole
//     number fills the field with '#'.
struct Picture {
    enum class Kind { Text, Number, Date };
    enum class DateForm { DayMonthYear, Compact, Long };  // d6/D6, d12, D4

    Kind kind = Kind::Text;
    int width = 0;  // characters written (D4: its longest length)
    int decimals = 0;
    bool zeroFill = false;
    bool grouping = false;
    bool blankZero = false;
    DateForm dateForm = DateForm::DayMonthYear;

    // nullopt for anything that is not one of the forms above (or a width of 0, more than
    // 255 for numbers, more than 65535 for texts, decimals that leave no room for a digit).
    static std::optional<Picture> parse(std::string_view text);
};

// A number (Number pictures), a day number (Date pictures), or the number in its shortest
// decimal form written as text (Text pictures).
std::string formatValue(const Picture& picture, double value);

// Text pictures: cut to the width in characters (never inside a UTF-8 sequence), padded with
// blanks. Number and date pictures: the text as parseValue reads it, written in the picture;
// text that does not read fills the field with '#'.
std::string formatText(const Picture& picture, std::string_view utf8);

// What a user types into a field of this picture; nullopt for anything else.
// Numbers: blanks (also no-break blanks) around and between the digit groups; a leading "-" or
//   "+"; "." is always the decimal point; "," separates thousands, but is the decimal comma
//   when the picture has decimals and it is the only comma and is not followed by exactly three
//   digits, or the digits are grouped by blanks, or the whole part is 0 ("12,5", "1 234,50",
//   "0,125"; but "1,500" is 1500). Digit groups after the first must have three digits. More
//   decimals than the picture has are rounded as formatValue rounds. A number that would not
//   fit the field is refused. Empty (or blank) text is 0.
// Dates: day, month, year in that order (year, month, day for d12) separated by "/", ".", "-"
//   or blanks; the month may be written as its Russian name (any case, nominative or genitive,
//   or its first three letters or more) and a final "г." or "года" is ignored; or all digits
//   run together: ddmmyyyy, ddmmyy (yyyymmdd for d12). A two-digit year is 20yy below 80 and
//   19yy from 80. The date must exist and lie in 1801..9999. Empty text, or text of blanks and
//   separators only (an emptied entry), is 0 (no date).
// Texts: the text read as a number of any size and precision.
std::optional<double> parseValue(const Picture& picture, std::string_view utf8);

// formatValue with a picture given as text; an invalid picture gives "".
std::string format(std::string_view picture, double value);

}  // namespace pordex
