#include <gtest/gtest.h>

#include <algorithm>

#include "Draws.h"
#include "FakePlatform.h"
#include "ScriptedRandom.h"
#include "TextHelpers.h"
#include "window/Form1.h"

namespace velnorka {
namespace {

using namespace test;

class Form1Test : public ::testing::Test {
protected:
    void SetUp() override {
        form.raise(FormEvent::Load);
        platform.log.clear();
    }
    // Two mode-1 exercises' worth of draws.
    void scriptWholeNumbers(int count) {
        for (int i = 0; i < count; ++i) random.add({indexDraw(1, 4), wholeDraw(1234 + i)});
    }
    std::size_t count(const std::string& entry) const {
        return static_cast<std::size_t>(std::count(platform.log.begin(), platform.log.end(), entry));
    }

    FakePlatform platform;
    ScriptedRandom random;
    Form1 form{platform, random};
};

TEST(Form1Load, SeedsFillsTheTablesAndSelectsWholeNumbers) {
    FakePlatform platform;
    ScriptedRandom random;
    Form1 form(platform, random);
    form.raise(FormEvent::Load);
    EXPECT_EQ(random.randomizeCalls, 1);
    EXPECT_EQ(form.wholeLabels, (std::array<std::string, 4>{"na desítky", "na stovky", "na tisíce", "na desetitisíce"}));
    EXPECT_EQ(form.decimalLabels, (std::array<std::string, 3>{"na jednotky", "na desetiny", "na setiny"}));
    EXPECT_EQ(form.newline, "\r\n");
    EXPECT_EQ(form.mode, 1);
    EXPECT_EQ(platform.log, (std::vector<std::string>{"option:1=on"}));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(Form1Test, OptionClicksSetTheModeAndNothingElse) {
    platform.box = "typed by the user";
    form.raise(FormEvent::Option2Click);
    EXPECT_EQ(form.mode, 2);
    form.raise(FormEvent::Option3Click);
    EXPECT_EQ(form.mode, 3);
    form.raise(FormEvent::Option3Click);
    EXPECT_EQ(form.mode, 3);
    form.raise(FormEvent::Option1Click);
    EXPECT_EQ(form.mode, 1);
    EXPECT_EQ(platform.box, "typed by the user");
    EXPECT_TRUE(platform.log.empty());
}

TEST_F(Form1Test, GenerateWritesQuestionsNewlineAnswersInOneAssignment) {
    platform.replies = {"3", "2"};
    random.add({indexDraw(1, 4), wholeDraw(1234), indexDraw(2, 4), wholeDraw(56789),
                indexDraw(3, 4), wholeDraw(100000)});
    form.raise(FormEvent::Command1Click);
    EXPECT_EQ(platform.box, nb("a) 1·234 na desítky ____________________\r\n"
                               "b) 56·789 na stovky ____________________\r\n"
                               "\r\n"
                               "c) 100·000 na tisíce ____________________\r\n"
                               "\r\n"
                               "a) 1·234 na desítky  1·230\r\n"
                               "b) 56·789 na stovky  56·800\r\n"
                               "\r\n"
                               "c) 100·000 na tisíce  100·000\r\n"));
    EXPECT_EQ(form.answers, nb("a) 1·234 na desítky  1·230\r\nb) 56·789 na stovky  56·800\r\n\r\n"
                               "c) 100·000 na tisíce  100·000\r\n"));
    EXPECT_EQ(platform.log, (std::vector<std::string>{
                                "prompt:Zadejte počet příkladů (max.200)|10",
                                "prompt:Zadejte po kolika odsazovat|10", "pointer:hourglass",
                                "setText", "pointer:default"}));
    EXPECT_EQ(form.place, 3);
    EXPECT_EQ(form.whole, 100000);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(Form1Test, RightAfterStartGenerateUsesWholeNumbers) {
    platform.replies = {"2", "10"};
    scriptWholeNumbers(2);
    form.raise(FormEvent::Command1Click);
    EXPECT_EQ(random.left(), 0u);  // two draws an exercise, as for whole numbers
    EXPECT_NE(platform.box.find("na desítky"), std::string::npos);
}

TEST_F(Form1Test, ZeroOrNegativeCountGivesASingleLineBreak) {
    for (const char* reply : {"0", "-5"}) {
        platform.replies = {reply, "10"};
        form.raise(FormEvent::Command1Click);
        EXPECT_EQ(platform.box, "\r\n") << reply;
    }
}

TEST_F(Form1Test, GroupOfOneLeavesTwoEmptyLinesBetweenTheHalves) {
    platform.replies = {"2", "1"};
    scriptWholeNumbers(2);
    form.raise(FormEvent::Command1Click);
    EXPECT_NE(platform.box.find("____\r\n\r\n\r\na) "), std::string::npos);
    EXPECT_TRUE(platform.box.ends_with("\r\n\r\n"));
}

TEST_F(Form1Test, TwoHundredIsAcceptedTwoHundredOneRefused) {
    MersenneRandom realRandom(42u);
    Form1 real(platform, realRandom);
    real.raise(FormEvent::Load);
    platform.replies = {"200", "0"};
    real.raise(FormEvent::Command1Click);
    EXPECT_EQ(std::count(platform.box.begin(), platform.box.end(), '\n'), 401);
    const std::string sheet = platform.box;
    const std::string key = real.answers;

    platform.log.clear();
    platform.replies = {"201", "10"};
    real.raise(FormEvent::Command1Click);
    EXPECT_EQ(platform.messages, (std::vector<std::string>{"Tolik příkladů nelze vygenerovat"}));
    EXPECT_EQ(platform.box, sheet);
    EXPECT_EQ(real.answers, key);
    EXPECT_EQ(platform.replies.size(), 1u);  // the second prompt was not shown
    EXPECT_EQ(count("pointer:hourglass"), 0u);
}

TEST_F(Form1Test, SecondRunReplacesTheFirstCompletely) {
    platform.replies = {"2", "10", "1", "10"};
    scriptWholeNumbers(3);
    form.raise(FormEvent::Command1Click);
    form.raise(FormEvent::Command1Click);
    EXPECT_EQ(platform.box, nb("a) 1·236 na desítky ____________________\r\n\r\n"
                               "a) 1·236 na desítky  1·240\r\n"));
    EXPECT_EQ(form.answers, nb("a) 1·236 na desítky  1·240\r\n"));
}

TEST_F(Form1Test, ABadFirstReplyIsReportedAndChangesNothing) {
    platform.box = "earlier sheet";
    form.answers = "earlier key";
    for (const char* reply : {"abc", "", "40000", "12.5"}) {
        platform.messages.clear();
        platform.replies = {reply, "10"};
        form.raise(FormEvent::Command1Click);
        ASSERT_EQ(platform.messages.size(), 1u) << reply;
        EXPECT_NE(platform.messages[0].find("celé číslo"), std::string::npos) << platform.messages[0];
        EXPECT_EQ(platform.box, "earlier sheet");
        EXPECT_EQ(form.answers, "earlier key");
    }
    EXPECT_EQ(count("pointer:hourglass"), 0u);
    EXPECT_EQ(count("setText"), 0u);
}

TEST_F(Form1Test, ABadSecondReplyEmptiesTheKeyButLeavesTheBox) {
    platform.box = "earlier sheet";
    form.answers = "earlier key";
    platform.replies = {"5", "pět"};
    form.raise(FormEvent::Command1Click);
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.box, "earlier sheet");
    EXPECT_EQ(form.answers, "");
    EXPECT_EQ(count("pointer:hourglass"), 0u);
}

TEST_F(Form1Test, CancelEndsTheRunSilently) {
    platform.box = "earlier sheet";
    form.answers = "earlier key";
    platform.replies = {std::nullopt};
    form.raise(FormEvent::Command1Click);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(platform.box, "earlier sheet");
    EXPECT_EQ(form.answers, "earlier key");

    platform.replies = {"5", std::nullopt};
    form.raise(FormEvent::Command1Click);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(platform.box, "earlier sheet");
    EXPECT_EQ(count("pointer:hourglass"), 0u);
}

TEST_F(Form1Test, RegionalSeparatorsApplyToRepliesAndDecimalNumbers) {
    platform.format = {".", ","};
    form.raise(FormEvent::Option2Click);
    platform.replies = {"1.5", "10"};  // rounds to 2
    random.add({indexDraw(3, 3), integerPartDraw(37), fractionDraw(512, 3),
                indexDraw(1, 3), integerPartDraw(0), fractionDraw(450, 3)});
    form.raise(FormEvent::Command1Click);
    EXPECT_EQ(platform.box, "a) 37.512 na setiny ____________________\r\n"
                            "b) 0.45 na jednotky ____________________\r\n"
                            "\r\n"
                            "a) 37.512 na setiny  37,51\r\n"
                            "b) 0.45 na jednotky  0\r\n");
}

TEST_F(Form1Test, ClearEmptiesTheBoxOnly) {
    platform.box = nb("a) 1·234 na desítky  1·230\r\n");
    platform.clipboard = "copied sheet";
    form.raise(FormEvent::Command2Click);
    EXPECT_EQ(platform.box, "");
    EXPECT_EQ(platform.clipboard, "copied sheet");
    form.raise(FormEvent::Command2Click);
    EXPECT_EQ(platform.box, "");
    EXPECT_EQ(form.mode, 1);
}

TEST_F(Form1Test, CopyPutsTheWholeTextOnTheClipboardAndGivesTheBoxBackItsSelection) {
    platform.box = nb("a) 1·234 na desítky ____\r\nb) Smaž\r\n");
    platform.selectionStart = 3;
    platform.selectionLength = 2;
    form.raise(FormEvent::Command3Click);
    // UTF-16 units, each line break counting two
    EXPECT_EQ(platform.selectionWhenCopied, std::make_pair(0, 35));
    EXPECT_EQ(platform.clipboard, platform.box);
    EXPECT_EQ(platform.log, (std::vector<std::string>{"clipboardClear", "clipboardSetText"}));
    EXPECT_EQ(platform.selectionStart, 3);
    EXPECT_EQ(platform.selectionLength, 2);
}

TEST_F(Form1Test, CopyOfAnEmptyBoxPutsTheEmptyText) {
    form.raise(FormEvent::Command2Click);
    form.raise(FormEvent::Command3Click);
    EXPECT_EQ(platform.selectionWhenCopied, std::make_pair(0, 0));
    EXPECT_EQ(platform.clipboard, "");
}

TEST_F(Form1Test, ABusyClipboardIsReportedAndTheTextStaysSelected) {
    platform.box = "sheet\r\n";
    platform.selectionStart = 2;
    platform.clipboardLocked = true;
    form.raise(FormEvent::Command3Click);
    EXPECT_EQ(platform.messages, (std::vector<std::string>{"Schránka je obsazená jiným programem."}));
    EXPECT_EQ(platform.clipboard, "earlier clipboard");
    EXPECT_EQ(platform.selectionStart, 0);
    EXPECT_EQ(platform.selectionLength, 7);
    EXPECT_EQ(platform.box, "sheet\r\n");
}

// A desktop whose message box fails too: the dispatcher still returns.
class BrokenPlatform : public FakePlatform {
public:
    void msgBox(const std::string&) override { throw PlatformError("no message box"); }
    void setText(const std::string&) override { throw std::runtime_error("text box gone"); }
};

TEST(Form1Dispatcher, FailuresWhileReportingEndTheHandlerAndTheFormGoesOn) {
    BrokenPlatform platform;
    MersenneRandom random(1u);
    Form1 form(platform, random);
    form.raise(FormEvent::Load);
    platform.replies = {"abc"};
    form.raise(FormEvent::Command1Click);  // the message about "abc" fails too
    platform.replies = {"3", "3"};
    form.raise(FormEvent::Command1Click);  // the text box fails
    EXPECT_TRUE(platform.replies.empty());  // the second run still asked both questions
    EXPECT_EQ(platform.log.back(), "pointer:default");  // the hourglass does not stay up
}

}  // namespace
}  // namespace velnorka

namespace velnorka {
namespace {

TEST(ClickEvent, EveryButtonRaisesItsOwnClickAndNothingElseRaisesOne) {
    std::vector<FormEvent> raised;
    for (const ControlSpec& entry : controls) {
        const std::optional<FormEvent> event = clickEvent(entry.id);
        const bool isButton = entry.kind == ControlKind::CommandButton || entry.kind == ControlKind::OptionButton;
        EXPECT_EQ(event.has_value(), isButton) << entry.name;
        if (event) raised.push_back(*event);
    }
    EXPECT_EQ(raised, (std::vector<FormEvent>{FormEvent::Command1Click, FormEvent::Command2Click,
                                              FormEvent::Command3Click, FormEvent::Option1Click,
                                              FormEvent::Option2Click, FormEvent::Option3Click}));
}

}  // namespace
}  // namespace velnorka
