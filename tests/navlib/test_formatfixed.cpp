// The number-to-text rule of edit boxes, rotator lines and the EME window.
#include <gtest/gtest.h>

#include "navlib/formatfixed.h"

namespace {

TEST(FormatFixed, FewerDigitsOfSignificantAndDecimalLimitsWin) {
    EXPECT_EQ(nav::formatFixed(0.4567, 4, 3), "0.457");
    EXPECT_EQ(nav::formatFixed(-34583.92, 5, 0), "-34584");
    EXPECT_EQ(nav::formatFixed(12.3456, 4, 3), "12.350");
    EXPECT_EQ(nav::formatFixed(38.02, 6, 4), "38.0200");
    EXPECT_EQ(nav::formatFixed(-78.63, 5, 2), "-78.63");
    EXPECT_EQ(nav::formatFixed(0, 4, 3), "0.000");
    EXPECT_EQ(nav::formatFixed(5, 3, 0), "5");
}

TEST(FormatFixed, TiesRoundAwayFromZero) {
    EXPECT_EQ(nav::formatFixed(7.25, 4, 1), "7.3");
    EXPECT_EQ(nav::formatFixed(-7.25, 4, 1), "-7.3");
    EXPECT_EQ(nav::formatFixed(0.5, 3, 0), "1");
    EXPECT_EQ(nav::formatFixed(-2.5, 3, 0), "-3");
    EXPECT_EQ(nav::formatFixed(9.995, 4, 2), "10.00");
}

TEST(FormatFixed, NegativesThatRoundToZeroHaveNoSign) {
    EXPECT_EQ(nav::formatFixed(-0.0004, 4, 3), "0.000");
    EXPECT_EQ(nav::formatFixed(-0.4, 5, 0), "0");
    EXPECT_EQ(nav::formatFixed(-0.0, 3, 2), "0.00");
}

TEST(FormatFixed, TooManyIntegerDigitsSwitchToScientific) {
    EXPECT_EQ(nav::formatFixed(384400, 5, 0), "3.844E5");
    EXPECT_EQ(nav::formatFixed(-384400, 5, 0), "-3.844E5");
    EXPECT_EQ(nav::formatFixed(100000, 5, 0), "1E5");
    EXPECT_EQ(nav::formatFixed(99999, 5, 0), "99999");
    EXPECT_EQ(nav::formatFixed(150087585.8, 5, 0), "1.5009E8");
}

}  // namespace
