#include "platform/ui/picture_text.h"

#include <cmath>

#include "platform/runtime/picture.h"

namespace pordex::ui {
namespace {

std::string trimBlanks(std::string s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

std::string shortestNumber(double v) {
    if (v == std::floor(v) && std::fabs(v) < 1e15) return std::to_string(static_cast<long long>(v));
    std::string s = std::to_string(v);
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

}  // namespace

std::string displayText(const FieldRef& field, std::string_view pictureText) {
    if (!field.valid()) return {};
    const std::optional<Picture> pic =
        pictureText.empty() ? std::nullopt : Picture::parse(pictureText);
    if (field.isText()) {
        if (!pic) return field.utf8();
        if (pic->kind == Picture::Kind::Text) {
            // A picture narrower than the field shows its first characters.
            std::string s = formatText(*pic, field.utf8());
            while (!s.empty() && s.back() == ' ') s.pop_back();
            return s;
        }
        return trimBlanks(formatText(*pic, field.utf8()));
    }
    if (!pic) return shortestNumber(field.number());
    if (pic->kind == Picture::Kind::Text) {
        std::string s = formatValue(*pic, field.number());
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
    }
    return trimBlanks(formatValue(*pic, field.number()));
}

bool acceptText(const FieldRef& field, std::string_view pictureText, std::string_view utf8) {
    if (!field.valid()) return false;
    const std::optional<Picture> pic =
        pictureText.empty() ? std::nullopt : Picture::parse(pictureText);
    if (field.isText()) {
        if (!pic || pic->kind == Picture::Kind::Text) {
            field.setUtf8(utf8);
            return true;
        }
        const std::optional<double> v = parseValue(*pic, utf8);
        if (!v) return false;
        field.setUtf8(trimBlanks(formatValue(*pic, *v)));
        return true;
    }
    const std::optional<double> v = parseValue(pic ? *pic : *Picture::parse("s255"), utf8);
    if (!v) return false;
    field.setNumber(*v);
    return true;
}

int pictureWidth(std::string_view pictureText) {
    const std::optional<Picture> pic = Picture::parse(pictureText);
    return pic ? pic->width : 0;
}

bool isValuePicture(std::string_view pictureText) {
    const std::optional<Picture> pic = Picture::parse(pictureText);
    return pic && pic->kind != Picture::Kind::Text;
}

bool isDatePicture(std::string_view pictureText) {
    const std::optional<Picture> pic = Picture::parse(pictureText);
    return pic && pic->kind == Picture::Kind::Date;
}

}  // namespace pordex::ui
