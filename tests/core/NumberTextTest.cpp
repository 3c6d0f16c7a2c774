#include <gtest/gtest.h>

#include <cmath>

#include "TextHelpers.h"
#include "generator/NumberText.h"

namespace velnorka {
namespace {

using test::nb;

TEST(Mez1, WholeNumbersAreGroupedFromTheRight) {
    EXPECT_EQ(mez1(0.0), "0");
    EXPECT_EQ(mez1(0), "0");
    EXPECT_EQ(mez1(1), "1");
    EXPECT_EQ(mez1(999), "999");
    EXPECT_EQ(mez1(1000), nb("1·000"));
    EXPECT_EQ(mez1(12345), nb("12·345"));
    EXPECT_EQ(mez1(123456), nb("123·456"));
    EXPECT_EQ(mez1(249999), nb("249·999"));
    EXPECT_EQ(mez1(1234567), nb("1·234·567"));
    EXPECT_EQ(mez1(120.0), "120");
    EXPECT_EQ(mez1(250000.0), nb("250·000"));
    EXPECT_EQ(mez1(123.0), "123");
}

TEST(Mez1, EqualValuesGiveEqualTextWhateverTheirType) {
    for (const int value : {0, 7, 999, 1000, 56789, 100000, 250000})
        EXPECT_EQ(mez1(value), mez1(static_cast<double>(value))) << value;
}

TEST(Mez1, DecimalsGetACommaAndFractionGroupsFromIt) {
    EXPECT_EQ(mez1(0.5), "0,5");
    EXPECT_EQ(mez1(0.05), "0,05");
    EXPECT_EQ(mez1(0.125), "0,125");
    EXPECT_EQ(mez1(0.1234), nb("0,123·4"));
    EXPECT_EQ(mez1(0.123456), nb("0,123·456"));
    EXPECT_EQ(mez1(37.5), "37,5");
    EXPECT_EQ(mez1(37.51), "37,51");
    EXPECT_EQ(mez1(123.4), "123,4");
    EXPECT_EQ(mez1(999.9), "999,9");
    EXPECT_EQ(mez1(1234.5), nb("1·234,5"));
    EXPECT_EQ(mez1(1234567.891), nb("1·234·567,891"));
    EXPECT_EQ(mez1(1234.5678), nb("1·234,567·8"));
}

TEST(Mez1, LastBitErrorsAreWrittenAsTheShortValue) {
    EXPECT_EQ(mez1(std::nextafter(123500.0, 0.0)), nb("123·500"));
    EXPECT_EQ(mez1(std::nextafter(123500.0, 1e9)), nb("123·500"));
    EXPECT_EQ(mez1(0.1 + 0.2), "0,3");
    EXPECT_EQ(mez1(1.1 * 3), "3,3");
}

TEST(Mez1, NeverWritesAnOrdinaryBlank) {
    for (const double value : {0.0, 0.5, 999.0, 1000.0, 12345.678, 250000.0, 1234567.891, 0.123456})
        EXPECT_EQ(mez1(value).find(' '), std::string::npos) << value;
}

TEST(Mez1, KeepsTheSignOfANegativeValue) {
    EXPECT_EQ(mez1(-1234), nb("-1·234"));
    EXPECT_EQ(mez1(-0.5), "-0,5");
}

TEST(Mez, GroupsWholeNumbersOnly) {
    EXPECT_EQ(mez(999), "999");
    EXPECT_EQ(mez(1000), nb("1·000"));
    EXPECT_EQ(mez(123456), nb("123·456"));
    EXPECT_EQ(mez(250000.0), nb("250·000"));
}

}  // namespace
}  // namespace velnorka
