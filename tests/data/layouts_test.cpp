#include <gtest/gtest.h>

#include <numeric>

#include "data/file_layouts.h"

namespace pordex {
namespace {

TEST(Layouts, FieldsCoverEachRecordWithoutGaps) {
    for (const files::FileDesc* f : {&prpFile(), &bikFile(), &polFile(), &mcoFile(), &kszFile(),
                                     &knnFile(), &kbpFile(), &bl2File(), &rewFile()}) {
        std::size_t at = 0;
        for (const auto& field : f->fields) {
            EXPECT_EQ(field.offset, at) << f->label << ":" << field.name;
            at += field.width;
        }
        EXPECT_EQ(at, f->recordSize) << f->label;
    }
}

TEST(Layouts, RecordLengthsAndKeys) {
    EXPECT_EQ(rewFile().recordSize, 936u);
    EXPECT_EQ(rewFile().fields.size(), 41u);
    ASSERT_EQ(rewFile().keys.size(), 1u);
    EXPECT_EQ(rewFile().fields[rewFile().keys[0].field].name, "DDD");
    EXPECT_FALSE(rewFile().keys[0].unique);
    EXPECT_EQ(bikFile().fields[bikFile().keys[0].field].name, "MFO9");
    EXPECT_EQ(kszFile().fields[kszFile().keys[0].field].name, "KS");
    EXPECT_EQ(kbpFile().keys[0].description, "Kbp:KEY_1");
    EXPECT_TRUE(prpFile().keys.empty());
}

}  // namespace
}  // namespace pordex
