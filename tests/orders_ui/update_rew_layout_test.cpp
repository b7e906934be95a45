#include <gtest/gtest.h>

#include <set>
#include <string>

#include "data/file_layouts.h"
#include "orders/ui/update_rew_layout.h"

namespace pordex {
namespace {

const files::FieldDesc* rewField(std::string_view use) {
    if (!use.starts_with("REW:")) return nullptr;
    for (const auto& f : rewFile().fields)
        if (f.name == use.substr(4)) return &f;
    return nullptr;
}

TEST(UpdateRewLayout, NinetyTwoControlsWithUniqueNamesInTheirPlaces) {
    const auto controls = updateRewControls();
    ASSERT_EQ(controls.size(), 92u);
    std::set<std::string_view> names;
    for (const auto& c : controls) {
        if (!c.name.empty()) {
            EXPECT_TRUE(names.insert(c.name).second) << c.name;
        }
    }
    // The numbers the form's code refers to.
    EXPECT_EQ(controls[3 - 1].name, "?BUTTON10");
    EXPECT_EQ(controls[17 - 1].name, "?BUTTON13");
    EXPECT_EQ(controls[67 - 1].name, "?MES_REW");
    EXPECT_EQ(controls[84 - 1].name, "?REW:D_DOK");
    EXPECT_EQ(controls[90 - 1].name, "?OK");
    EXPECT_TRUE(controls[90 - 1].hidden);
    EXPECT_EQ(controls[92 - 1].text, "Готово???");
}

// A text picture wider or narrower than its field is a transcription fault.
TEST(UpdateRewLayout, EveryDataControlIsBoundToAFieldOfItsWidth) {
    for (const auto& c : updateRewControls()) {
        if (c.use.empty() || c.use == "MES_REW") continue;
        const files::FieldDesc* f = rewField(c.use);
        ASSERT_NE(f, nullptr) << c.name;
        if (c.picture.starts_with("s")) {
            EXPECT_EQ(std::stoul(std::string(c.picture.substr(1))), f->width) << c.name;
        } else {
            EXPECT_NE(f->type, files::FieldType::String) << c.name;
        }
    }
}

TEST(UpdateRewLayout, SpinListsStandAsWritten) {
    const auto controls = updateRewControls();
    EXPECT_EQ(controls[41 - 1].values, "  |00|ТР|РС|ОТ|РТ|ПР|ВУ|АП|АР");
    EXPECT_EQ(controls[58 - 1].values, " |ЭЛЕКТРОННО|ПОЧТОЙ|ТЕЛЕГРАФОМ|_______________________");
    EXPECT_EQ(controls[83 - 1].values, "00|ТП|ЗД|ТР|РС|ОТ|РТ|ВУ|ПР|АП|АР");
    EXPECT_EQ(controls[29 - 1].tooltip.size(), 5u);
    EXPECT_EQ(controls[41 - 1].tooltip.size(), 10u);
}

}  // namespace
}  // namespace pordex
