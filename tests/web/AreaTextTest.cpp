// The textarea's "\n" against the window logic's "\r\n": texts, and positions
// in UTF-16 units where a line break counts one on the page and two in the
// window logic.
#include <gtest/gtest.h>

#include "platform/web/AreaText.h"

namespace velnorka::web {
namespace {

TEST(AreaText, LineBreaksConvertBothWays) {
    EXPECT_EQ(programText("a\nb\n\n"), "a\r\nb\r\n\r\n");
    EXPECT_EQ(areaText("a\r\nb\rc\nd\r\n\r\n"), "a\nb\nc\nd\n\n");
    EXPECT_EQ(programText(areaText("x\u00A0y\r\n")), "x\u00A0y\r\n");
}

// "ab", a line break, "č", an emoji (a surrogate pair), a line break.
constexpr const char* sample = "ab\n\u010D\U0001F600\n";

TEST(AreaText, ProgramPositionsOnThePage) {
    const struct {
        long long program;
        int area;
    } cases[] = {
        {0, 0}, {2, 2}, {3, 2},  // inside the line break: before it
        {4, 3}, {5, 4}, {6, 4},  // inside the surrogate pair: before it
        {7, 6}, {9, 7}, {100, 7},  // the end, and beyond it
    };
    for (const auto& c : cases) EXPECT_EQ(areaPosition(sample, c.program), c.area) << c.program;
}

TEST(AreaText, PagePositionsInProgramUnits) {
    const struct {
        int area;
        int program;
    } cases[] = {{0, 0}, {2, 2}, {3, 4}, {4, 5}, {5, 5}, {6, 7}, {7, 9}, {50, 9}};
    for (const auto& c : cases) EXPECT_EQ(programPosition(sample, c.area), c.program) << c.area;
}

}  // namespace
}  // namespace velnorka::web
