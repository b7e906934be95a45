#include <gtest/gtest.h>

#include <cmath>

#include "print/payment_order_layout.h"

namespace pordex::print {
namespace {

using report::BandLine;

bool horizontal(const BandLine& l) {
    return l.y1 == l.y2;
}

// A segment ending near a line it meets (a cell not closed, or a corner sticking out) shows on
// paper as a gap or a tick. Every end within 4 points of a crossing line must lie on it.
TEST(PaymentOrderLayout, EveryCellOfTheGridCloses) {
    const auto& lines = paymentOrderLayout().detail.lines;
    for (const BandLine& a : lines) {
        ASSERT_TRUE(horizontal(a) || a.x1 == a.x2) << "a slanted line";
        for (const BandLine& b : lines) {
            if (horizontal(a) == horizontal(b)) continue;
            // a's ends along its direction, b's position across it and b's span.
            const double at = horizontal(a) ? a.y1 : a.x1;
            const double lo = horizontal(b) ? b.x1 : b.y1;
            const double hi = horizontal(b) ? b.x2 : b.y2;
            if (at < lo || at > hi) continue;
            const double across = horizontal(b) ? b.y1 : b.x1;
            for (double end : {horizontal(a) ? a.x1 : a.y1, horizontal(a) ? a.x2 : a.y2}) {
                const double gap = std::abs(end - across);
                EXPECT_FALSE(gap > 0 && gap <= 4)
                    << "segment (" << a.x1 << "," << a.y1 << ")-(" << a.x2 << "," << a.y2
                    << ") ends " << gap << " pt from the line at " << across;
            }
        }
    }
}

// Everything printed lies inside the detail band.
TEST(PaymentOrderLayout, EverythingLiesInsideTheBand) {
    const report::Band& band = paymentOrderLayout().detail;
    for (const BandLine& l : band.lines) {
        EXPECT_LE(std::max(l.x1, l.x2), band.box.w);
        EXPECT_LE(std::max(l.y1, l.y2), band.box.h);
    }
    for (const auto& f : band.fields) {
        EXPECT_LE(f.box.x + f.box.w, band.box.w) << f.name;
        EXPECT_LE(f.box.y + f.box.h, band.box.h) << f.name;
    }
    for (const auto& t : band.texts) EXPECT_LE(t.box.y, band.box.h) << t.text;
}

}  // namespace
}  // namespace pordex::print
