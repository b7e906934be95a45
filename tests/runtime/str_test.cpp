#include <gtest/gtest.h>

#include <string_view>

#include "platform/runtime/str.h"

namespace pordex {
namespace {

TEST(Str, AssignsEmptyAndOverlongTexts) {
    Str<5> s("абв");
    s.assignRaw(std::string_view{});  // an empty view without data blanks the field
    EXPECT_EQ(s.raw(), "     ");
    s = "";
    EXPECT_TRUE(s.blank());
    s = "абвгдеж";
    EXPECT_EQ(s.utf8(), "абвгд");
    s = "аб";
    EXPECT_EQ(s.raw(), utf8ToCp1251("аб") + "   ");
}

}  // namespace
}  // namespace pordex
