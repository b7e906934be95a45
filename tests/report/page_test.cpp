// The printed page, read back from the PDF it produces: every field and caption of form 0401060
// must start where the bank form has it, in its face and size.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QTemporaryDir>
#include <cmath>

#include "pdf_text.h"
#include "platform/report/page_painter.h"
#include "print/payment_order_layout.h"

namespace pordex::print {
namespace {

using test::PdfPage;
using test::PdfWord;
using Page = PdfPage;
using Word = PdfWord;

std::vector<Page> readPdf(const QString& file) {
    return test::readPdfWords(file);
}

// One field or caption as the bank form places it: points from the band's corner, the face that
// stands in for the form's font.
struct Expected {
    const char* what;
    double x, y;
    const char* family;
    double size;
    bool bold;
};

constexpr const char* mono = "Liberation Mono";
constexpr const char* sans = "Liberation Sans";
constexpr const char* serif = "Liberation Serif";

// The band lies 61 + 1 points from the paper's left edge and 1 point from its top.
constexpr double kBandX = 62;
constexpr double kBandY = 1;

// Values chosen so that every field prints something distinct.
report::PageValues sampleValues() {
    report::PageValues v(PF_COUNT);
    v[PF_N_D] = "N";
    v[PF_N_DOK_REW] = "1234";
    v[PF_DP1] = "01";
    v[PF_DP2] = "07";
    v[PF_DP3] = "2005";
    v[PF_STRI_REW] = "электронно";
    v[PF_G101] = "08";
    v[PF_S1] = "Одна тысяча двести тридцать четыре рубля 50 копеек";
    v[PF_S2] = "вторая строка суммы";
    v[PF_S3] = "третья строка суммы";
    v[PF_INN_PLA] = "770123456789";
    v[PF_G102] = "770101001";
    v[PF_SUMMA_1] = "1234-50";
    v[PF_N_PLA1] = "ООО Ромашка плательщик";
    v[PF_N_PLA2] = "вторая часть плательщика";
    v[PF_N_PLA3] = "третья часть плательщика";
    v[PF_N_PLA4] = "четвертая часть плательщика";
    v[PF_N_SC_A_REW] = "40702810900000000001";
    v[PF_MFO_A] = "044525225";
    v[PF_BANK_PLA1] = "ПАО Сбербанк";
    v[PF_BANK_PLA2] = "г. Москва";
    v[PF_K_SC_A] = "30101810400000000225";
    v[PF_N_BANK1] = "АО Банк получателя";
    v[PF_N_BANK2] = "г. Тверь";
    v[PF_MFO_B_REW] = "042809679";
    v[PF_K_SC_B_REW] = "30101810700000000679";
    v[PF_INN_POL] = "690123456789";
    v[PF_G103] = "690101001";
    v[PF_N_SC_B_REW] = "40702810100000000002";
    v[PF_N_POL1] = "ООО Получатель";
    v[PF_N_POL2] = "вторая получателя";
    v[PF_N_POL3] = "третья получателя";
    v[PF_N_POL4] = "четвертая получателя";
    v[PF_SORT_REW] = "5";
    v[PF_G104] = "18210102010011000110";
    v[PF_G105] = "45382000";
    v[PF_G106] = "ТП";
    v[PF_G107_D] = "МС.03.2005";
    v[PF_G108] = "0";
    v[PF_G109_D] = "01.04.2005";
    v[PF_G110] = "НС";
    v[PF_NAME1] = "Оплата по договору N 15";
    v[PF_NAME2] = "за поставку товара";
    v[PF_NAME3] = "по счету 77";
    v[PF_NAME4] = "в т.ч. НДС 18% 188-21";
    return v;
}

// The table of the bank form, kept apart from the program's own description of it.
const Expected kFields[] = {
    {"N", 141, 89, mono, 10, true},
    {"1234", 152, 89, mono, 10, true},
    {"01", 218, 86, mono, 10, true},
    {"07", 233, 86, mono, 10, true},
    {"2005", 251, 86, mono, 10, true},
    {"электронно", 352, 80, mono, 10, true},
    {"08", 429, 78, mono, 12, true},
    {"Одна тысяча двести тридцать четыре рубля 50 копеек", 75, 113, sans, 10, false},
    {"вторая строка суммы", 75, 123, sans, 10, false},
    {"третья строка суммы", 75, 133, sans, 10, false},
    {"770123456789", 41, 147, mono, 10, true},
    {"770101001", 150, 147, mono, 10, true},
    {"1234-50", 297, 164, mono, 12, true},
    {"ООО Ромашка плательщик", 16, 168, sans, 9, false},
    {"вторая часть плательщика", 16, 179, sans, 9, false},
    {"третья часть плательщика", 16, 189, sans, 9, false},
    {"четвертая часть плательщика", 16, 200, sans, 9, false},
    {"40702810900000000001", 297, 205, mono, 12, true},
    {"044525225", 297, 230, mono, 12, true},
    {"ПАО Сбербанк", 16, 234, sans, 9, false},
    {"г. Москва", 16, 248, sans, 9, false},
    {"30101810400000000225", 297, 254, mono, 12, true},
    {"АО Банк получателя", 14, 279, sans, 9, false},
    {"г. Тверь", 14, 288, sans, 9, false},
    {"042809679", 297, 279, mono, 12, true},
    {"30101810700000000679", 299, 299, mono, 12, true},
    {"690123456789", 44, 320, mono, 10, true},
    {"690101001", 150, 320, mono, 10, true},
    {"40702810100000000002", 299, 320, mono, 12, true},
    {"ООО Получатель", 17, 336, sans, 9, false},
    {"вторая получателя", 17, 346, sans, 9, false},
    {"третья получателя", 17, 357, sans, 9, false},
    {"четвертая получателя", 17, 369, sans, 9, false},
    {"5", 410, 362, mono, 10, true},
    {"18210102010011000110", 25, 401, serif, 10, true},
    {"45382000", 155, 401, serif, 10, true},
    {"ТП", 227, 401, serif, 10, true},
    {"МС.03.2005", 252, 401, serif, 10, true},
    {"0", 318, 401, serif, 10, true},
    {"01.04.2005", 343, 401, serif, 10, true},
    {"НС", 417, 401, serif, 10, true},
    {"Оплата по договору N 15", 20, 424, sans, 10, false},
    {"за поставку товара", 20, 434, sans, 10, false},
    {"по счету 77", 20, 445, sans, 10, false},
    {"в т.ч. НДС 18% 188-21", 20, 455, sans, 10, false},
};

const Expected kTexts[] = {
    {"0401060", 406, 35, mono, 10, false},
    {"Поступ. в банк плат.", 32, 49, mono, 8, true},
    {"Списано со сч.плат.", 150, 49, mono, 8, true},
    {"ПЛАТЕЖНОЕ ПОРУЧЕНИЕ", 23, 89, mono, 10, true},
    {".", 230, 89, mono, 8, true},
    {".", 245, 89, mono, 8, true},
    {"Дата", 242, 98, mono, 8, true},
    {"Вид платежа", 351, 98, mono, 8, true},
    {"Сумма", 26, 110, mono, 8, true},
    {"прописью", 23, 130, mono, 8, true},
    {"ИНН", 17, 147, mono, 10, true},
    {"КПП", 124, 147, mono, 10, true},
    {"Сумма", 248, 164, mono, 8, true},
    {"Сч. N", 248, 202, mono, 8, true},
    {"Плательщик", 20, 213, mono, 8, true},
    {"БИК", 251, 230, mono, 8, true},
    {"Сч. N", 245, 257, mono, 8, true},
    {"Банк плательщика", 17, 262, mono, 8, true},
    {"БИК", 254, 279, mono, 8, true},
    {"Сч. N", 245, 299, mono, 8, true},
    {"Банк получателя", 20, 302, mono, 8, true},
    {"ИНН", 20, 320, mono, 10, true},
    {"КПП", 124, 320, mono, 10, true},
    {"Сч.  N", 245, 320, mono, 8, true},
    {"01", 305, 340, mono, 10, true},
    {"Вид оп.", 245, 343, mono, 8, true},
    {"Срок плат.", 349, 346, mono, 8, true},
    {"Наз.пл.", 245, 363, mono, 8, true},
    {"Очер.плат.", 349, 363, mono, 8, true},
    {"Код", 254, 380, mono, 8, true},
    {"Рез.поле", 351, 380, mono, 8, true},
    {"Получатель", 23, 386, mono, 8, true},
    {"Назначение платежа", 20, 467, mono, 8, true},
    {"Подписи", 213, 484, mono, 8, true},
    {"Отметки банка", 383, 484, mono, 8, true},
    {"М.П.", 49, 530, mono, 12, false},
};

constexpr double kTolerance = 0.5;

// The word pdftotext reports at the item's place, or null. Words of neighbouring items may have
// been joined to it, so only its start is compared with the item's text.
const Word* wordAt(const Page& page, const Expected& e) {
    const QString first = QString::fromUtf8(e.what).section(u' ', 0, 0, QString::SectionSkipEmpty);
    const double x = kBandX + e.x;
    const double y = kBandY + e.y;
    for (const Word& w : page)
        if (std::abs(w.xMin - x) < kTolerance && std::abs(w.yMin - y) < kTolerance &&
            w.text.startsWith(first))
            return &w;
    return nullptr;
}

QFont qfont(const Expected& e) {
    QFont f(QString::fromLatin1(e.family));
    f.setPixelSize(static_cast<int>(e.size * 100));
    f.setBold(e.bold);
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// The item's face and size, read from its first word: its height is the face's cell at that
// size and its width that of the word in the face.
void expectFont(const Word& w, const Expected& e) {
    const QFontMetricsF fm(qfont(e));
    const QString first = QString::fromUtf8(e.what).section(u' ', 0, 0, QString::SectionSkipEmpty);
    EXPECT_NEAR(w.yMax - w.yMin, fm.height() / 100, 0.05) << e.what;
    if (w.text == first) {
        EXPECT_NEAR(w.xMax - w.xMin, fm.horizontalAdvance(first) / 100, kTolerance) << e.what;
    }
}

class PageTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString pdf(const char* name) { return dir.filePath(QString::fromLatin1(name)); }
};

TEST_F(PageTest, EveryFieldAndCaptionStartsWhereTheFormHasIt) {
    const QString file = pdf("order.pdf");
    ASSERT_TRUE(report::writePdf(file, paymentOrderLayout(), {sampleValues()}));
    const auto pages = readPdf(file);
    ASSERT_EQ(pages.size(), 1u);
    for (const Expected& e : kFields) {
        const Word* w = wordAt(pages[0], e);
        if (!w) {
            ADD_FAILURE() << "field " << e.what << " not at " << e.x << ", " << e.y;
            continue;
        }
        expectFont(*w, e);
    }
    for (const Expected& e : kTexts) {
        const Word* w = wordAt(pages[0], e);
        if (!w) {
            ADD_FAILURE() << "text " << e.what << " not at " << e.x << ", " << e.y;
            continue;
        }
        expectFont(*w, e);
    }
}

// A name in capitals is wider in the stand-in face than the form's box: it is printed whole,
// condensed, and ends before the grid line at the box's edge.
TEST_F(PageTest, ATextWiderThanItsBoxIsCondensedNotCut) {
    report::PageValues v(PF_COUNT);
    v[PF_N_PLA1] = "ОБЩЕСТВО С ОГРАНИЧЕННОЙ ОТВЕТСТВЕННОСТЬЮ";  // 40 characters
    v[PF_N_PLA2] = "ООО Ромашка";
    const QString file = pdf("wide.pdf");
    ASSERT_TRUE(report::writePdf(file, paymentOrderLayout(), {v}));
    const auto pages = readPdf(file);
    ASSERT_EQ(pages.size(), 1u);
    QStringList words;
    double right = 0;
    double left = 1e9;
    for (const Word& w : pages[0]) {
        if (std::abs(w.yMin - (kBandY + 168)) > kTolerance) continue;
        words << w.text;
        left = std::min(left, w.xMin);
        right = std::max(right, w.xMax);
    }
    EXPECT_EQ(words.join(u' '), QString::fromUtf8(v[PF_N_PLA1].c_str()));
    EXPECT_NEAR(left, kBandX + 16, kTolerance);
    EXPECT_LE(right, kBandX + 16 + 222 + 0.01);
    EXPECT_GT(right, kBandX + 16 + 222 - 1);  // condensed to the box, not to less
    // A name that fits keeps its natural width.
    const Expected fits{"ООО Ромашка", 16, 179, sans, 9, false};
    const Word* w = wordAt(pages[0], fits);
    ASSERT_NE(w, nullptr);
    expectFont(*w, fits);
}

}  // namespace
}  // namespace pordex::print
