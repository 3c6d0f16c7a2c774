#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

#include "TextHelpers.h"
#include "platform/Errors.h"
#include "platform/NumberFormat.h"
#include "platform/Utf.h"

namespace velnorka {
namespace {

using test::nb;

const NumberFormat czech{",", "\u00A0"};
const NumberFormat english{".", ","};

ConversionError::Reason failureOf(std::string_view reply, const NumberFormat& format) {
    try {
        replyToInt16(reply, format);
    } catch (const ConversionError& error) {
        return error.reason();
    }
    ADD_FAILURE() << "\"" << reply << "\" converted";
    return ConversionError::Reason::Empty;
}

TEST(ReplyToInt16, WholeNumbersWithBlanksAroundAndSigns) {
    EXPECT_EQ(replyToInt16("10", czech), 10);
    EXPECT_EQ(replyToInt16("  200 ", czech), 200);
    EXPECT_EQ(replyToInt16("\t7\t", czech), 7);
    EXPECT_EQ(replyToInt16(nb("·5·"), czech), 5);
    EXPECT_EQ(replyToInt16("+7", czech), 7);
    EXPECT_EQ(replyToInt16("-3", czech), -3);
    EXPECT_EQ(replyToInt16("007", czech), 7);
    EXPECT_EQ(replyToInt16("0", czech), 0);
}

TEST(ReplyToInt16, DecimalsRoundHalfToEvenWithTheRegionalSeparator) {
    EXPECT_EQ(replyToInt16("12,5", czech), 12);
    EXPECT_EQ(replyToInt16("13,5", czech), 14);
    EXPECT_EQ(replyToInt16(" 12,5 ", czech), 12);
    EXPECT_EQ(replyToInt16("12,50001", czech), 13);
    EXPECT_EQ(replyToInt16("12,4999", czech), 12);
    EXPECT_EQ(replyToInt16(",5", czech), 0);
    EXPECT_EQ(replyToInt16("0,51", czech), 1);
    EXPECT_EQ(replyToInt16("-1,5", czech), -2);
    EXPECT_EQ(replyToInt16("-2,5", czech), -2);
    EXPECT_EQ(replyToInt16("7,", czech), 7);
    EXPECT_EQ(replyToInt16("12.5", english), 12);
    EXPECT_EQ(replyToInt16("13.5", english), 14);
}

TEST(ReplyToInt16, GroupSeparatorsBetweenDigits) {
    EXPECT_EQ(replyToInt16(nb("1·000"), czech), 1000);
    EXPECT_EQ(replyToInt16("1 000", czech), 1000);  // the blank people type for it
    EXPECT_EQ(replyToInt16("1,000", english), 1000);
    EXPECT_EQ(replyToInt16("12,5", english), 125);
    EXPECT_EQ(failureOf("1 000", english), ConversionError::Reason::NotANumber);
    EXPECT_EQ(failureOf(nb("1·000"), english), ConversionError::Reason::NotANumber);
    EXPECT_EQ(failureOf("1,,000", english), ConversionError::Reason::NotANumber);
}

TEST(ReplyToInt16, RangeIsCheckedAfterRounding) {
    EXPECT_EQ(replyToInt16("32767", czech), 32767);
    EXPECT_EQ(replyToInt16("-32768", czech), -32768);
    EXPECT_EQ(replyToInt16("32767,4", czech), 32767);
    EXPECT_EQ(replyToInt16("-32768,5", czech), -32768);
    EXPECT_EQ(replyToInt16("0000000000032767", czech), 32767);
    EXPECT_EQ(failureOf("32768", czech), ConversionError::Reason::OutOfRange);
    EXPECT_EQ(failureOf("32767,5", czech), ConversionError::Reason::OutOfRange);
    EXPECT_EQ(failureOf("-32769", czech), ConversionError::Reason::OutOfRange);
    EXPECT_EQ(failureOf("99999999999999999999999", czech), ConversionError::Reason::OutOfRange);
}

TEST(ReplyToInt16, EmptyAndNonNumericRepliesAreErrors) {
    EXPECT_EQ(failureOf("", czech), ConversionError::Reason::Empty);
    EXPECT_EQ(failureOf("   ", czech), ConversionError::Reason::Empty);
    for (const char* reply : {"abc", "12a", "a12", ",", "-", "+", "1,2,3", "12.5", "1e3", "--1", "½"})
        EXPECT_EQ(failureOf(reply, czech), ConversionError::Reason::NotANumber) << reply;
}

TEST(ReplyToInt16, MessagesAreCzechAndQuoteTheReply) {
    try {
        replyToInt16("pět", czech);
        FAIL();
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "„pět“ není číslo. Zadejte celé číslo, například 10.");
    }
    try {
        replyToInt16("40000", czech);
        FAIL();
    } catch (const ConversionError& error) {
        EXPECT_NE(std::string(error.what()).find("„40000“ je mimo povolený rozsah"), std::string::npos);
    }
    try {  // a long paste is quoted shortened
        replyToInt16(std::string(100000, 'x'), czech);
        FAIL();
    } catch (const ConversionError& error) {
        EXPECT_EQ(std::string(error.what()).find("„" + std::string(40, 'x') + "…“ není číslo."), 0u);
    }
}

TEST(DoubleToInt32, RoundsHalfToEven) {
    EXPECT_EQ(doubleToInt32(2.5), 2);
    EXPECT_EQ(doubleToInt32(3.5), 4);
    EXPECT_EQ(doubleToInt32(-2.5), -2);
    EXPECT_EQ(doubleToInt32(-2.6), -3);
    EXPECT_EQ(doubleToInt32(1000.4999), 1000);
    EXPECT_EQ(doubleToInt32(249999.0), 249999);
    EXPECT_EQ(doubleToInt32(2147483647.4), 2147483647);
    EXPECT_THROW(doubleToInt32(2147483647.5), ConversionError);
    EXPECT_THROW(doubleToInt32(std::numeric_limits<double>::quiet_NaN()), ConversionError);
}

TEST(DefaultText, FifteenDigitsNoGroupingRegionalSeparator) {
    EXPECT_EQ(defaultText(37.512, czech), "37,512");
    EXPECT_EQ(defaultText(37.512, english), "37.512");
    EXPECT_EQ(defaultText(0.45, czech), "0,45");
    EXPECT_EQ(defaultText(37.0f + 0.5, czech), "37,5");
    EXPECT_EQ(defaultText(120.0, czech), "120");
    EXPECT_EQ(defaultText(123456.0, czech), "123456");
    EXPECT_EQ(defaultText(0.001, czech), "0,001");
    EXPECT_EQ(defaultText(98.0f + 0.999, czech), "98,999");
    EXPECT_EQ(defaultText(0.1 + 0.2, czech), "0,3");
    EXPECT_EQ(defaultText(-1.25, czech), "-1,25");
    EXPECT_EQ(defaultText(0.0, czech), "0");
    EXPECT_EQ(defaultText(1e20, czech), "1E+20");
    EXPECT_EQ(defaultText(1.5e-20, czech), "1,5E-20");
}

TEST(PlainText, BlankSignPositionPointOnlyNoLeadingZero) {
    EXPECT_EQ(plainText(123456), " 123456");
    EXPECT_EQ(plainText(0), " 0");
    EXPECT_EQ(plainText(-5), "-5");
    EXPECT_EQ(plainText(0.0), " 0");
    EXPECT_EQ(plainText(0.5), " .5");
    EXPECT_EQ(plainText(0.05), " .05");
    EXPECT_EQ(plainText(37.51), " 37.51");
    EXPECT_EQ(plainText(120.0), " 120");
    EXPECT_EQ(plainText(250000.0), " 250000");
    EXPECT_EQ(plainText(1234567.891), " 1234567.891");
    EXPECT_EQ(plainText(0.1 + 0.2), " .3");
    EXPECT_EQ(plainText(std::nextafter(123500.0, 0.0)), " 123500");
    EXPECT_EQ(plainText(-0.25), "-.25");
}

TEST(Utf16Length, CountsCodeUnitsAndTwoPerLineBreak) {
    EXPECT_EQ(utf16Length(""), 0);
    EXPECT_EQ(utf16Length("a\r\nb"), 4);
    EXPECT_EQ(utf16Length("Smaž"), 4);
    EXPECT_EQ(utf16Length(nb("1·000")), 5);
    EXPECT_EQ(utf16Length("€"), 1);
    EXPECT_EQ(utf16Length("\xF0\x9F\x99\x82"), 2);  // outside the BMP: a surrogate pair
    // Malformed bytes count one each: a stray continuation byte, bytes that
    // never occur in UTF-8, a sequence cut short, a surrogate's encoding.
    EXPECT_EQ(utf16Length("a\x80" "b"), 3);
    EXPECT_EQ(utf16Length("\xF8\xFF"), 2);
    EXPECT_EQ(utf16Length("\xF0\x9F\x99"), 3);
    EXPECT_EQ(utf16Length("\xED\xA0\x80"), 3);
}

TEST(Quoted, CutsToFortyCharactersOnACharacterBoundary) {
    EXPECT_EQ(quotedValue("pět"), "„pět“");
    EXPECT_EQ(quotedValue(""), "„“");
    EXPECT_EQ(quotedValue(std::string(40, 'x')), "„" + std::string(40, 'x') + "“");
    EXPECT_EQ(quotedValue(std::string(41, 'x')), "„" + std::string(40, 'x') + "…“");
    std::string czechWord;
    for (int i = 0; i < 50; ++i) czechWord += "ž";
    std::string forty;
    for (int i = 0; i < 40; ++i) forty += "ž";
    EXPECT_EQ(quotedValue(czechWord), "„" + forty + "…“");
}

TEST(Quoted, ShowsControlCharactersEscapedAndMalformedBytesReplaced) {
    EXPECT_EQ(quotedValue("\x1B[31mred"), "„\\x1B[31mred“");
    EXPECT_EQ(quotedValue("12\r\n"), "„12\\x0D\\x0A“");
    EXPECT_EQ(quotedValue("\x7F\xC2\x85"), "„\\x7F\\x85“");          // DEL and the C1 NEL
    EXPECT_EQ(quotedValue("a\xFFz"), "„a\uFFFDz“");              // a byte that never starts a character
    EXPECT_EQ(quotedValue("\xC5"), "„\uFFFD“");                      // cut short
    EXPECT_EQ(quotedValue("\xC0\xAF"), "„\uFFFD\uFFFD“");           // overlong '/'
    EXPECT_EQ(quotedValue("\xED\xA0\x80"), "„\uFFFD\uFFFD\uFFFD“");  // a surrogate
    EXPECT_EQ(quotedValue("\xF0\x9F\x99\x82"), "„\xF0\x9F\x99\x82“");  // well-formed, outside the BMP
}

}  // namespace
}  // namespace velnorka

namespace velnorka {
namespace {

// The value rounded to 15 significant digits, as printf does it in the C
// locale (which tests never change): the reference for plainText.
std::string referencePlainText(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    std::string text = buffer;
    if (text.find('e') != std::string::npos) return "";
    if (text.rfind("0.", 0) == 0) text.erase(0, 1);
    return " " + text;
}

TEST(PlainText, AgreesWithFifteenDigitPrintfOverTheWholeDomain) {
    std::mt19937 engine(2024);
    std::uniform_real_distribution<double> anywhere(0.0, 1.0);
    int compared = 0;
    for (int i = 0; i < 50000; ++i) {
        const double r = anywhere(engine);
        const double values[] = {
            std::floor(r * 99) + std::floor(r * 997 * 1000 + 1) / 1000.0,  // decimal exercises
            std::floor(r * 9000 + 1000) / 10,                              // tens numbers
            std::floor(r * 9899 + 1) / 100.0,                              // rounded results
            r * 1e6,                                                       // anything with many digits
            r * 1e-3,
        };
        for (const double value : values) {
            const std::string expected = referencePlainText(value);
            if (expected.empty()) continue;
            ASSERT_EQ(plainText(value), expected) << std::hexfloat << value;
            ++compared;
        }
    }
    EXPECT_GT(compared, 200000);
}

}  // namespace
}  // namespace velnorka

#include <clocale>

namespace velnorka {
namespace {

#ifndef _WIN32
// The command-line tool on Linux takes its numeric locale from the system;
// the number text must not change with it. (The Windows programs never set
// the C library's locale.)
TEST(PlainText, SameUnderACommaLocale) {
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "cs_CZ.UTF-8")) GTEST_SKIP() << "no cs_CZ.UTF-8 locale here";
    const std::string longValue = plainText(0.1 + 0.2);
    const std::string shortValue = plainText(1234567.891);
    const std::string tiny = defaultText(1.5e-20, czech);
    std::setlocale(LC_NUMERIC, before.c_str());
    EXPECT_EQ(longValue, " .3");
    EXPECT_EQ(shortValue, " 1234567.891");
    EXPECT_EQ(tiny, "1,5E-20");
}
#endif

}  // namespace
}  // namespace velnorka
