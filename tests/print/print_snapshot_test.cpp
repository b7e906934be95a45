#include <gtest/gtest.h>

#include "data/globals.h"
#include "print/print_snapshot.h"

namespace pordex::print {
namespace {

class PrintSnapshotTest : public ::testing::Test {
  protected:
    void SetUp() override { resetGlobals(); }
    void TearDown() override { resetGlobals(); }

    // An order with every field filled, each with a text of its own.
    static RewRecord order() {
        RewRecord r{};
        r.MFO_B = 42809679;
        r.N_DOK = "12345";
        r.K_SC_B = "30101810700000000679";
        r.N_SC_B = "40702810100000000002";
        r.SUMMA = 1234.5;
        r.DATA = 11;
        r.N_SC_A = "40702810900000000001";
        r.SORT = 5;
        r.D_DOK = 75000;
        r.INN_PLA = "770123456789";
        r.INN_POL = "690123456789";
        r.NAME = "Оплата по счету 77 в т.ч. НДС 18%";
        r.N_PLA = "ООО Ромашка";
        r.N_POL = "ООО Василек";
        r.STRI = "электронно";
        r.N_BANK = "АО Банк получателя";
        r.BANK_PLA = "ПАО Банк плательщика";
        r.MFO_A = 44525225;
        r.K_SC_A = "30101810400000000225";
        r.P101 = "08";
        r.P102 = "770101001";
        r.P103 = "690101001";
        r.P104 = "18210102010011000110";
        r.P105 = "45382000";
        r.P106 = "ТП";
        r.P107_1 = "МС";
        r.P107_2 = "03";
        r.P107_3 = "2005";
        r.P108 = "0";
        r.P109_1 = "01";
        r.P109_2 = "04";
        r.P109_3 = "2005";
        r.P110 = "НС";
        r.N_D = "N";
        return r;
    }
};

TEST_F(PrintSnapshotTest, CopiesEveryFieldOfTheOrder) {
    const RewRecord r = order();
    takePrintSnapshot(r);
    const Globals& g = globals();
    EXPECT_EQ(g.N_DOK_REW.utf8(), "12345");
    EXPECT_EQ(g.N_DOK_REW.raw(), "12345     ");  // wider than the order's field, blank padded
    EXPECT_EQ(g.D_DOK_REW, 75000);
    EXPECT_EQ(g.STRI_REW.utf8(), "электронно");
    EXPECT_EQ(g.N_SC_A_REW.utf8(), "40702810900000000001");
    EXPECT_EQ(g.MFO_B_REW, 42809679);
    EXPECT_EQ(g.K_SC_B_REW.utf8(), "30101810700000000679");
    EXPECT_EQ(g.N_SC_B_REW.utf8(), "40702810100000000002");
    EXPECT_EQ(g.SORT_REW, 5);
    EXPECT_EQ(g.NAME_REW.utf8(), "Оплата по счету 77 в т.ч. НДС 18%");
    EXPECT_EQ(g.N_POL_REW.utf8(), "ООО Василек");
    EXPECT_EQ(g.N_BANK_REW.utf8(), "АО Банк получателя");
    EXPECT_EQ(g.N_PLA_REW.utf8(), "ООО Ромашка");
    EXPECT_EQ(g.SUMMA_REW, 1234.5);
    EXPECT_EQ(g.BANK_PLA.utf8(), "ПАО Банк плательщика");
    EXPECT_EQ(g.MFO_A, 44525225);
    EXPECT_EQ(g.K_SC_A.utf8(), "30101810400000000225");
    EXPECT_EQ(g.G101.utf8(), "08");
    EXPECT_EQ(g.G102.utf8(), "770101001");
    EXPECT_EQ(g.G103.utf8(), "690101001");
    EXPECT_EQ(g.G104.utf8(), "18210102010011000110");
    EXPECT_EQ(g.G105.utf8(), "45382000");
    EXPECT_EQ(g.G106.utf8(), "ТП");
    EXPECT_EQ(g.G107_1.utf8(), "МС");
    EXPECT_EQ(g.G107_2.utf8(), "03");
    EXPECT_EQ(g.G107_3.utf8(), "2005");
    EXPECT_EQ(g.G108.utf8(), "0");
    EXPECT_EQ(g.G109_1.utf8(), "01");
    EXPECT_EQ(g.G109_2.utf8(), "04");
    EXPECT_EQ(g.G109_3.utf8(), "2005");
    EXPECT_EQ(g.G110.utf8(), "НС");
    EXPECT_EQ(g.N_D.raw(), "N  ");
    EXPECT_EQ(g.INN_PLA.utf8(), "770123456789");
    EXPECT_EQ(g.INN_POL.utf8(), "690123456789");
}

// A document number in field 108 replaces the number sign on the printed order.
TEST_F(PrintSnapshotTest, NumberSignFollowsField108) {
    struct Case {
        const char* p108;
        const char* nd;  // the order's N_D
        const char* printed;
    };
    const Case cases[] = {
        {"", "N", "N"},  {"0", "N", "N"},  {"00", "N", "N"}, {"ТР", "N", ""},
        {"12", "N", ""}, {"0 ", "N", "N"}, {"", " ", ""},    {"", "X", "X"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("108 = '") + c.p108 + "'");
        RewRecord r = order();
        r.P108 = c.p108;
        r.N_D = c.nd;
        globals().N_D = "'N'";  // whatever the last print left
        takePrintSnapshot(r);
        EXPECT_EQ(globals().N_D.utf8(), c.printed);
        EXPECT_EQ(globals().G108.utf8(), Str<2>(c.p108).utf8());
    }
}

// Taking a snapshot replaces the previous one entirely: a shorter text leaves nothing behind.
TEST_F(PrintSnapshotTest, ASecondSnapshotLeavesNothingOfTheFirst) {
    takePrintSnapshot(order());
    RewRecord r = order();
    r.NAME = "Аванс";
    r.N_PLA = "";
    r.SUMMA = 0.01;
    takePrintSnapshot(r);
    EXPECT_EQ(globals().NAME_REW.raw(), Str<210>("Аванс").raw());
    EXPECT_TRUE(globals().N_PLA_REW.blank());
    EXPECT_EQ(globals().SUMMA_REW, 0.01);
}

}  // namespace
}  // namespace pordex::print
