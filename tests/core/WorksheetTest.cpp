#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "Draws.h"
#include "ScriptedRandom.h"
#include "TextHelpers.h"
#include "generator/Worksheet.h"

namespace velnorka {
namespace {

using namespace test;

WorksheetState startState(std::int16_t mode) {
    WorksheetState state;
    state.start();
    state.mode = mode;
    return state;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text does not end with a line break";
    return lines;
}

// Writes `count` exercises from the scripted draws, which must all be used.
struct Sheet {
    std::vector<std::string> questions;
    std::vector<std::string> answers;
};
Sheet run(std::int16_t mode, std::int16_t count, ScriptedRandom random, std::string_view separator = ",",
        std::int16_t groupSize = 0) {
    WorksheetState state = startState(mode);
    const std::string questions = writeExercises(state, count, groupSize, random, separator);
    EXPECT_EQ(random.left(), 0u) << "draws left over";
    return {linesOf(questions), linesOf(state.answers)};
}

TEST(Worksheet, WholeNumberExercise) {
    const Sheet sheet = run(1, 1, {indexDraw(2, 4), wholeDraw(123456)});
    EXPECT_EQ(sheet.questions.at(0), nb("a) 123·456 na stovky ____________________"));
    EXPECT_EQ(sheet.answers.at(0), nb("a) 123·456 na stovky  123·500"));
}

TEST(Worksheet, DecimalNumberExerciseUsesTheRegionalSeparator) {
    ScriptedRandom draws{indexDraw(1, 3), integerPartDraw(5), fractionDraw(1, 3),
                         indexDraw(3, 3), integerPartDraw(37), fractionDraw(512, 3)};
    const Sheet sheet = run(2, 2, draws);
    EXPECT_EQ(sheet.questions.at(1), "b) 37,512 na setiny ____________________");
    EXPECT_EQ(sheet.answers.at(1), "b) 37,512 na setiny  37,51");
    EXPECT_EQ(sheet.answers.at(0), "a) 5,001 na jednotky  5");

    const Sheet english = run(2, 2, draws, ".");
    EXPECT_EQ(english.questions.at(1), "b) 37.512 na setiny ____________________");
    EXPECT_EQ(english.answers.at(1), "b) 37.512 na setiny  37,51");  // the key is always Czech
}

TEST(Worksheet, MixTensNumberDividedByTen) {
    ScriptedRandom draws;
    for (int i = 0; i < 2; ++i)  // two exercises before it, to get the letter c
        draws.add({indexDraw(1, 2), indexDraw(2, 4), spanDraw(4321, 1000, 9000)});
    draws.add({indexDraw(1, 2), indexDraw(1, 4), spanDraw(1234, 1000, 9000), indexDraw(2, 2)});
    const Sheet sheet = run(3, 3, draws);
    EXPECT_EQ(sheet.questions.at(0), nb("a) 4·321 na stovky ____________________"));
    EXPECT_EQ(sheet.answers.at(0), nb("a) 4·321 na stovky  4·300"));
    EXPECT_EQ(sheet.questions.at(2), "c) 123,4 na desítky ____________________");
    EXPECT_EQ(sheet.answers.at(2), "c) 123,4 na desítky  120");
}

TEST(Worksheet, MixDecimalBelowOneShowsALeadingZero) {
    ScriptedRandom draws;
    for (int i = 0; i < 3; ++i)  // the third exercise gets the letter c
        draws.add({indexDraw(2, 2), indexDraw(1, 3), integerPartDraw(0), fractionDraw(45, 2)});
    const Sheet sheet = run(3, 3, draws);
    EXPECT_EQ(sheet.questions.at(2), "c) 0,45 na jednotky ____________________");
    EXPECT_EQ(sheet.answers.at(2), "c) 0,45 na jednotky  0");
}

TEST(Worksheet, MixCases) {
    const Sheet sheet = run(3, 6,
                          {// tens number that stays whole
                           indexDraw(1, 2), indexDraw(1, 4), spanDraw(1235, 1000, 9000), indexDraw(1, 2),
                           // tens number that ended in 0 before the division
                           indexDraw(1, 2), indexDraw(1, 4), spanDraw(1230, 1000, 9000), indexDraw(2, 2),
                           // thousands and ten-thousands draw 10000..99999
                           indexDraw(1, 2), indexDraw(3, 4), spanDraw(98765, 10000, 90000),
                           indexDraw(1, 2), indexDraw(4, 4), spanDraw(10000, 10000, 90000),
                           // decimal to tenths: two fraction digits; to hundredths: three
                           indexDraw(2, 2), indexDraw(2, 3), integerPartDraw(2), fractionDraw(35, 2),
                           indexDraw(2, 2), indexDraw(3, 3), integerPartDraw(1), fractionDraw(5, 3)});
    EXPECT_EQ(sheet.answers.at(0), nb("a) 1·235 na desítky  1·240"));
    EXPECT_EQ(sheet.answers.at(1), "b) 123 na desítky  120");
    EXPECT_EQ(sheet.answers.at(2), nb("c) 98·765 na tisíce  99·000"));
    EXPECT_EQ(sheet.answers.at(3), nb("d) 10·000 na desetitisíce  10·000"));
    EXPECT_EQ(sheet.answers.at(4), "e) 2,35 na desetiny  2,4");
    EXPECT_EQ(sheet.answers.at(5), "f) 1,005 na setiny  1,01");
}

TEST(Worksheet, WholeNumberRangeEnds) {
    const Sheet sheet = run(1, 3, {0.0f, 0.0f, indexDraw(1, 4), 0x1.fffffep-1f, indexDraw(4, 4), 0x1.fffffep-1f});
    EXPECT_EQ(sheet.answers.at(0), nb("a) 1·000 na desítky  1·000"));
    EXPECT_EQ(sheet.answers.at(1), nb("b) 249·999 na desítky  250·000"));
    EXPECT_EQ(sheet.answers.at(2), nb("c) 249·999 na desetitisíce  250·000"));
}

TEST(Worksheet, DecimalRangeEnds) {
    const float top = 0x1.fffffep-1f;
    const Sheet sheet = run(2, 2, {0.0f, 0.0f, 0.0f, top, top, top});
    EXPECT_EQ(sheet.answers.at(0), "a) 0,001 na jednotky  0");
    EXPECT_EQ(sheet.answers.at(1), "b) 98,999 na setiny  99");
}

TEST(Worksheet, TrailingZerosOfTheFractionAreNotShown) {
    const Sheet sheet = run(2, 1, {indexDraw(2, 3), integerPartDraw(37), fractionDraw(500, 3)});
    EXPECT_EQ(sheet.answers.at(0), "a) 37,5 na desetiny  37,5");
}

TEST(Worksheet, FieldsKeepTheLastExercise) {
    WorksheetState state = startState(1);
    ScriptedRandom random{indexDraw(1, 4), wholeDraw(5000), indexDraw(3, 4), wholeDraw(77777)};
    writeExercises(state, 2, 0, random, ",");
    EXPECT_EQ(state.place, 3);
    EXPECT_EQ(state.whole, 77777);
}

TEST(Worksheet, LettersCycleAfterZ) {
    ScriptedRandom random;
    for (int i = 0; i < 30; ++i) random.add({indexDraw(1, 4), wholeDraw(2000)});
    const Sheet sheet = run(1, 30, random, ",", 0);
    ASSERT_EQ(sheet.questions.size(), 30u);
    std::string letters;
    for (const std::string& line : sheet.questions) letters += line.substr(0, 2);
    EXPECT_EQ(letters, "a)b)c)d)e)f)g)h)i)j)k)l)m)n)o)p)q)r)s)t)u)v)w)x)y)z)a)b)c)d)");
}

TEST(Worksheet, EmptyLineAfterEveryGroupInBothHalves) {
    ScriptedRandom random;
    for (int i = 0; i < 5; ++i) random.add({indexDraw(1, 4), wholeDraw(2000)});
    const Sheet sheet = run(1, 5, random, ",", 2);
    const std::vector<std::string> expectedShape = {"a", "b", "", "c", "d", "", "e"};
    for (const auto* half : {&sheet.questions, &sheet.answers}) {
        ASSERT_EQ(half->size(), expectedShape.size());
        for (std::size_t i = 0; i < expectedShape.size(); ++i)
            EXPECT_EQ(half->at(i).substr(0, expectedShape[i].size()), expectedShape[i]);
        EXPECT_TRUE(half->at(2).empty());
        EXPECT_TRUE(half->at(5).empty());
    }
}

TEST(Worksheet, GroupSizesThatNeverMatchInsertNoEmptyLine) {
    for (const std::int16_t groupSize : std::initializer_list<std::int16_t>{0, -1, 4, 32767}) {
        ScriptedRandom random;
        for (int i = 0; i < 3; ++i) random.add({indexDraw(1, 4), wholeDraw(2000)});
        const Sheet sheet = run(1, 3, random, ",", groupSize);
        EXPECT_EQ(sheet.questions.size(), 3u) << groupSize;
        EXPECT_EQ(sheet.answers.size(), 3u) << groupSize;
    }
}

TEST(Worksheet, NoExerciseForZeroOrNegativeCount) {
    for (const std::int16_t count : std::initializer_list<std::int16_t>{0, -1, -32768}) {
        WorksheetState state = startState(3);
        ScriptedRandom random;
        EXPECT_EQ(writeExercises(state, count, 10, random, ","), "");
        EXPECT_EQ(state.answers, "");
    }
}

}  // namespace
}  // namespace velnorka
