// The panel texts and colours on their own: elongation words, right ascension seconds, commas, colours.
#include <gtest/gtest.h>

#include "navlib/constants.h"
#include "ui/displaytext.h"

namespace skyrel {
namespace {

TEST(ElongationText, PhaseWordsAndMarkers) {
    EXPECT_EQ(ElongationText(-1.2), "new");
    EXPECT_EQ(ElongationText(-1.6), "1.6 v");
    EXPECT_EQ(ElongationText(0.6), "0.6 ^");
    EXPECT_EQ(ElongationText(0.4), "new");
    EXPECT_EQ(ElongationText(179.6), "full");
    EXPECT_EQ(ElongationText(180.0), "full");
    EXPECT_EQ(ElongationText(-179.6), "179.6 v");
    EXPECT_EQ(ElongationText(89.5), "1st Q");
    EXPECT_EQ(ElongationText(90.4), "1st Q");
    EXPECT_EQ(ElongationText(-90.5), "3rd Q");
    EXPECT_EQ(ElongationText(-91.4), "3rd Q");
    EXPECT_EQ(ElongationText(-91.6), "91.6 v");
}

TEST(RightAscensionText, SecondsAreRoundedWithoutCarrying) {
    const auto radiansOfSeconds = [](double seconds) { return seconds / 86400 * 360 * nav::kPi / 180; };
    EXPECT_EQ(RightAscensionText(radiansOfSeconds(59.7)), "00:00:60");
    EXPECT_EQ(RightAscensionText(radiansOfSeconds(3600 * 23 + 60 * 59 + 59.2)), "23:59:59");
    EXPECT_EQ(RightAscensionText(0), "00:00:00");
}

TEST(DistanceText, CommasInBothUnits) {
    EXPECT_EQ(DistanceText(149597871, kKilometres), "149,597,871");
    EXPECT_EQ(DistanceText(149597871, kMiles), "92,955,527");  // 0.621371 would give 92,955,807
    EXPECT_EQ(DistanceText(384400, kKilometres), "384,400");
    EXPECT_EQ(DistanceText(384400, kMiles), "238,854");
}

TEST(ElevationColour, TwilightAndTheUnchangedBoundaries) {
    const QColor red(255, 0, 0), blue(0, 0, 255), black(0, 0, 0), previous(1, 2, 3);
    EXPECT_EQ(ElevationColour(0.01, previous), red);
    EXPECT_EQ(ElevationColour(-0.01, previous), blue);
    EXPECT_EQ(ElevationColour(-5.99, previous), blue);
    EXPECT_EQ(ElevationColour(-6.01, previous), black);
    EXPECT_EQ(ElevationColour(0.0, previous), previous);
    EXPECT_EQ(ElevationColour(-6.0, previous), previous);
}

TEST(FixedText, UsesThePointWhateverTheLocale) {
    EXPECT_EQ(FixedText(-20.689, 2), "-20.69");
    EXPECT_EQ(FixedText(52.4, 1), "52.4");
    EXPECT_EQ(AnomalyText(127.5), "128/256");
    EXPECT_EQ(AnomalyText(47.40014720096692), "47/256");
}

}  // namespace
}  // namespace skyrel
