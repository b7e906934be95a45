#include <gtest/gtest.h>

#include <string>

#include "platform/runtime/codec.h"

namespace pordex {
namespace {

// The one code point of a UTF-8 text holding a single character.
char32_t codePoint(const std::string& s) {
    const auto b = [&s](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(s[i]));
    };
    if (s.size() == 1) return b(0);
    if (s.size() == 2) return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    if (s.size() == 3) return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    return 0xFFFFFFFF;
}

char32_t unicodeOf(int byte) {
    return codePoint(cp1251ToUtf8(std::string(1, static_cast<char>(byte))));
}

// Unicode's own case pairs for the letters Windows-1251 can hold.
char32_t unicodeUpper(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 32;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;  // а..я
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;  // ѐ..џ (ё ђ ѓ є ѕ і ї ј љ њ ћ ќ ў џ)
    if (c == 0x491) return 0x490;                   // ґ
    return c;
}
char32_t unicodeLower(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 32;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    if (c == 0x490) return 0x491;
    return c;
}

TEST(Codec, EveryByteRoundTripsThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(utf8ToCp1251(cp1251ToUtf8(one)), one) << "byte " << b;
        all += one;
    }
    EXPECT_EQ(utf8ToCp1251(cp1251ToUtf8(all)), all);
    EXPECT_EQ(cp1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2"), "Привет");
}

TEST(Codec, UnknownCharactersAndBrokenUtf8BecomeQuestionMarks) {
    EXPECT_EQ(utf8ToCp1251("a€b"),
              "a\x88"
              "b");  // the euro sign is in the code page
    EXPECT_EQ(utf8ToCp1251("a中b"), "a?b");
    EXPECT_EQ(utf8ToCp1251("a\xD0"), "a?");
    EXPECT_EQ(utf8ToCp1251("\xFF"), "?");
}

// Each byte folds to the byte of the character Unicode pairs it with, so every letter pair of
// the code page is covered and nothing else is touched.
TEST(Codec, CaseFoldingFollowsUnicodeForEveryByte) {
    int pairs = 0;
    for (int b = 0; b < 256; ++b) {
        const char32_t u = unicodeOf(b);
        EXPECT_EQ(unicodeOf(cp1251Upper(static_cast<unsigned char>(b))), unicodeUpper(u))
            << "byte " << b;
        EXPECT_EQ(unicodeOf(cp1251Lower(static_cast<unsigned char>(b))), unicodeLower(u))
            << "byte " << b;
        if (unicodeUpper(u) != u) ++pairs;
    }
    EXPECT_EQ(pairs, 26 + 32 + 1 + 14);  // Latin, а-я, ё and the fourteen other Cyrillic pairs
}

TEST(Codec, CaseTablesAreSymmetric) {
    for (int b = 0; b < 256; ++b) {
        const auto c = static_cast<unsigned char>(b);
        const unsigned char up = cp1251Upper(c);
        const unsigned char low = cp1251Lower(c);
        EXPECT_TRUE(up == c || low == c) << "byte " << b << " is both cases";
        if (up != c) {
            EXPECT_EQ(cp1251Lower(up), c) << "byte " << b;
        }
        if (low != c) {
            EXPECT_EQ(cp1251Upper(low), c) << "byte " << b;
        }
        EXPECT_EQ(cp1251Upper(up), up);
        EXPECT_EQ(cp1251Lower(low), low);
    }
}

TEST(Codec, WholeTextsFold) {
    EXPECT_EQ(cp1251ToUtf8(cp1251ToUpper(utf8ToCp1251("ёлка Ґанок їжак ўзор џ, abc 12"))),
              "ЁЛКА ҐАНОК ЇЖАК ЎЗОР Џ, ABC 12");
    EXPECT_EQ(cp1251ToUtf8(cp1251ToLower(utf8ToCp1251("ЁЛКА ЂЃЉЊЌЋЏЈЄІЅ XYZ"))),
              "ёлка ђѓљњќћџјєіѕ xyz");
}

}  // namespace
}  // namespace pordex
