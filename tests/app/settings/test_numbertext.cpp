// Text to number, as settings and edit boxes are read: '.' only, whole texts only.
#include <gtest/gtest.h>

#include "app/settings/numbertext.h"

namespace skyrel {
namespace {

TEST(ParseReal, AcceptsPlainDecimalTextOnly) {
    EXPECT_EQ(ParseReal("38.02"), 38.02);
    EXPECT_EQ(ParseReal(" -78.63 "), -78.63);
    EXPECT_EQ(ParseReal("1e3"), 1000.0);
    EXPECT_EQ(ParseReal(".5"), 0.5);
    for (const char* bad : {"", "-", ".", "1.2.3", "abc", "1,500", "1,000.5", "12,5", "inf", "nan", "3 4"})
        EXPECT_FALSE(ParseReal(bad)) << bad;
}

TEST(ParseInteger, AcceptsWholeNumbersOnly) {
    EXPECT_EQ(ParseInteger("3"), 3);
    EXPECT_EQ(ParseInteger("-15"), -15);
    for (const char* bad : {"", "3.0", "1,200", "COM3", "0x10"}) EXPECT_FALSE(ParseInteger(bad)) << bad;
}

TEST(ConversionMessages, NameTheText) {
    EXPECT_EQ(InvalidRealMessage("1.2.3"), "'1.2.3' is not a valid floating point value");
    EXPECT_EQ(InvalidIntegerMessage("COM3"), "'COM3' is not a valid integer value");
}

}  // namespace
}  // namespace skyrel
