#include <gtest/gtest.h>

#include <cmath>

#include "generator/Rounding.h"

namespace velnorka {
namespace {

TEST(Zaon, WholeNumbersToTensAndAbove) {
    EXPECT_EQ(zaon(12345, -1), 12350.0);
    EXPECT_EQ(zaon(12344, -1), 12340.0);
    EXPECT_EQ(zaon(123456, -2), 123500.0);
    EXPECT_EQ(zaon(1234, -1), 1230.0);
    EXPECT_EQ(zaon(56789, -2), 56800.0);
    EXPECT_EQ(zaon(100000, -3), 100000.0);
    EXPECT_EQ(zaon(1234, -4), 0.0);
    EXPECT_EQ(zaon(5000, -4), 10000.0);
    EXPECT_EQ(zaon(4999, -4), 0.0);
    EXPECT_EQ(zaon(95000, -5), 100000.0);
}

TEST(Zaon, TopOfTheWholeRangeCarriesIntoANewDigit) {
    for (std::int16_t place = 1; place <= 4; ++place)
        EXPECT_EQ(zaon(249999, static_cast<std::int16_t>(-place)), 250000.0) << place;
}

TEST(Zaon, HalvesRoundUpOnTheDecimalValue) {
    EXPECT_EQ(zaon(37.512, 2), 37.51);
    EXPECT_EQ(zaon(0.145, 2), 0.15);
    EXPECT_EQ(zaon(1.005, 2), 1.01);
    EXPECT_EQ(zaon(2.35, 1), 2.4);
    EXPECT_EQ(zaon(0.3, 0), 0.0);
    EXPECT_EQ(zaon(0.5, 0), 1.0);
    EXPECT_EQ(zaon(0.45, 0), 0.0);
    EXPECT_EQ(zaon(98.999, 2), 99.0);
    EXPECT_EQ(zaon(98.95, 1), 99.0);
    EXPECT_EQ(zaon(123.4, -1), 120.0);
    EXPECT_EQ(zaon(999.9, -1), 1000.0);
    EXPECT_EQ(zaon(0.004, 2), 0.0);
    EXPECT_EQ(zaon(0.005, 2), 0.01);
    EXPECT_EQ(zaon(0.0004, 2), 0.0);
}

TEST(Zaon, ReturnsTheDoubleNearestTheDecimalResult) {
    // A binary product would give 100.49999999999999 for 1.005 * 100.
    EXPECT_EQ(zaon(1.005, 2), 1.01);
    EXPECT_EQ(zaon(37.0f + 0.125, 2), 37.13);
    EXPECT_EQ(zaon(12.345, 3), 12.345);  // nothing dropped
    EXPECT_EQ(zaon(0.0, 2), 0.0);
}

TEST(Zaon, NegativeValuesRoundHalfUpTowardPlusInfinity) {
    EXPECT_EQ(zaon(-2.5, 0), -2.0);
    EXPECT_EQ(zaon(-2.51, 0), -3.0);
    EXPECT_EQ(zaon(-1234, -1), -1230.0);
    EXPECT_EQ(zaon(-1235, -1), -1230.0);
    EXPECT_EQ(zaon(-1236, -1), -1240.0);
    EXPECT_FALSE(std::signbit(zaon(-0.4, 0)));
}

}  // namespace
}  // namespace velnorka
