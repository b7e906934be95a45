#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pordex::report {

// A report is described as plain data in points (1/72 inch): the program states what goes
// where, the engine paints it. Nothing here knows what the report is about.

// A font as a report names it ("Courier New" 10 bold). An empty face or a size of 0 takes
// the enclosing band's font.
struct FontSpec {
    std::string_view face;
    double size = 0;
    bool bold = false;
};

// A control's box in points from the band's top-left corner. A width of 0 means the text's
// own width; a text wider than a set width is condensed to fit the box.
struct Box {
    double x = 0;
    double y = 0;
    double w = 0;
    double h = 0;
};

// A text printed as it stands.
struct BandText {
    std::string_view text;  // UTF-8
    Box box;
    FontSpec font;
};

// A field whose text comes from the page's values, at the same index as the field.
struct BandField {
    std::string_view name;  // the variable it shows: "N_DOK_REW"
    Box box;
    FontSpec font;
};

// A straight segment from (x1, y1) to (x2, y2).
struct BandLine {
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
};

// The detail band: printed once per record, at its place in the page area.
struct Band {
    Box box;  // x, y from the page area's top-left corner
    FontSpec font;
    std::span<const BandField> fields;
    std::span<const BandText> texts;
    std::span<const BandLine> lines;
};

struct ReportLayout {
    std::string_view name;  // the report's name: also the file name when saved
    FontSpec font;          // the report's default font
    Box area;               // the page area, from the paper's top-left corner
    Band detail;
    double lineWidth = 0.75;  // points
};

// One printed page: the texts of the detail band's fields, in the band's field order (UTF-8).
using PageValues = std::vector<std::string>;

// The face and size a control is printed in, after the band's and report's defaults.
inline FontSpec resolveFont(const FontSpec& own, const FontSpec& band, const FontSpec& report) {
    FontSpec f = own;
    if (f.face.empty()) f.face = band.face.empty() ? report.face : band.face;
    if (f.size <= 0) f.size = band.size > 0 ? band.size : report.size;
    return f;
}

}  // namespace pordex::report
