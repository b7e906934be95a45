#include "platform/files/flat_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "data/file_layouts.h"
#include "files/error_recorder.h"
#include "support/temp_workdir.h"

namespace pordex {
namespace {

using files::FlatMode;
using files::RecordFile;

std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void write(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

std::string bikBytes(LONG mfo9, std::string_view name) {
    BikRecord b;
    b.MFORKC = 0x01020304;
    b.MFO9 = mfo9;
    b.NAME = name;
    b.KS = "30101810400000000225";
    return {reinterpret_cast<const char*>(&b), sizeof b};
}

class FlatFileTest : public ::testing::Test {
  protected:
    test::TempWorkdir dir;
    test::ErrorRecorder errors;
};

TEST_F(FlatFileTest, ImportAndExportAreByteForByte) {
    std::string flat;
    for (LONG i = 1; i <= 50; ++i) flat += bikBytes(44525000 + i, "БАНК №" + std::to_string(i));
    flat[5] = '\x98';  // the one byte Windows-1251 leaves undefined
    flat[6] = '\0';
    write("Bik.flat", flat);
    RecordFile bik(bikFile());
    const auto in = files::importFlat(bik, "Bik.flat");
    ASSERT_TRUE(in.ok) << in.message;
    EXPECT_EQ(in.records, 50u);
    EXPECT_EQ(bik.count(), 50);
    const auto out = files::exportFlat(bik, "Bik.out");
    ASSERT_TRUE(out.ok) << out.message;
    EXPECT_EQ(out.records, 50u);
    EXPECT_EQ(slurp("Bik.out"), flat);

    // A replacing import takes the new content whole; an appending one adds to it.
    write("Bik2.flat", bikBytes(1, "A") + bikBytes(2, "B"));
    ASSERT_TRUE(files::importFlat(bik, "Bik2.flat").ok);
    EXPECT_EQ(bik.count(), 2);
    write("Bik3.flat", bikBytes(3, "C"));
    ASSERT_TRUE(files::importFlat(bik, "Bik3.flat", FlatMode::Append).ok);
    EXPECT_EQ(bik.count(), 3);
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(FlatFileTest, BadFlatFilesChangeNothing) {
    RecordFile bik(bikFile());
    write("good.flat", bikBytes(1, "A") + bikBytes(2, "B"));
    ASSERT_TRUE(files::importFlat(bik, "good.flat").ok);

    struct Case {
        const char* what;
        std::string bytes;
        std::string message;
    } cases[] = {
        {"length not a multiple of 113", bikBytes(5, "X") + "abc",
         "Файл bad.flat длиной 116 байт не состоит из записей BIK по 113 байт; ничего не "
         "загружено."},
        {"a BIK twice", bikBytes(5, "X") + bikBytes(6, "Y") + bikBytes(5, "Z"),
         "Запись 3 файла bad.flat не принята (Bik:KEY_1); ничего не загружено."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        write("bad.flat", c.bytes);
        for (FlatMode mode : {FlatMode::Replace, FlatMode::Append}) {
            const auto r = files::importFlat(bik, "bad.flat", mode);
            EXPECT_FALSE(r.ok);
            EXPECT_EQ(r.message, c.message);
            EXPECT_EQ(bik.count(), 2);
        }
    }
    const auto missing = files::importFlat(bik, "nowhere.flat");
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.message, "Файл nowhere.flat не удается прочитать.");
    EXPECT_EQ(bik.count(), 2);
}

}  // namespace
}  // namespace pordex
