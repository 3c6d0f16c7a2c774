#include <gtest/gtest.h>

#include <vector>

#include "FakePlatform.h"
#include "ScriptedRandom.h"
#include "Draws.h"
#include "TextHelpers.h"
#include "window/Form1.h"
#include "window/RichCopy.h"

namespace velnorka {
namespace {

using namespace test;

const std::string questions = nb(
    "a) 1·234 na desítky ____________________\r\n"
    "b) 56·789 na stovky ____________________\r\n"
    "\r\n"
    "c) 7,25 na desetiny ____________________\r\n"
    "\r\n");
const std::string key = nb(
    "a) 1·234 na desítky  1·230\r\n"
    "b) 56·789 na stovky  56·800\r\n"
    "\r\n"
    "c) 7,25 na desetiny  7,3\r\n"
    "\r\n");
const std::string sheet = questions + "\r\n" + key;

// The RTF's paragraphs, each as written between the paragraph's format and \par.
std::vector<std::string> rtfParagraphs(const std::string& rtf) {
    std::vector<std::string> paragraphs;
    for (std::size_t at = rtf.find("\\pard"); at != std::string::npos; at = rtf.find("\\pard", at + 1))
        paragraphs.push_back(rtf.substr(at, rtf.find("\\par\r\n", at) - at));
    return paragraphs;
}

// The line index of the paragraph that starts a new page, or -1.
int rtfPageBreakLine(const std::string& rtf) {
    const std::vector<std::string> paragraphs = rtfParagraphs(rtf);
    int found = -1;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (paragraphs[i].find("\\pagebb") == std::string::npos) continue;
        EXPECT_EQ(found, -1) << "a second page break";
        found = static_cast<int>(i);
    }
    return found;
}

// The HTML's paragraphs, each as written from "<p" to "</p>".
std::vector<std::string> htmlParagraphs(const std::string& html) {
    std::vector<std::string> paragraphs;
    for (std::size_t at = html.find("<p "); at != std::string::npos; at = html.find("<p ", at + 1))
        paragraphs.push_back(html.substr(at, html.find("</p>", at) + 4 - at));
    return paragraphs;
}

// What a paragraph shows: its HTML between the opening tag and "</p>".
std::string htmlContent(const std::string& paragraph) {
    const std::size_t start = paragraph.find("\">") + 2;
    return paragraph.substr(start, paragraph.size() - 4 - start);
}

TEST(FindAnswerKey, TheGeneratedStartIsTakenAsItIs) {
    EXPECT_EQ(findAnswerKey(sheet, questions.size() + 2), questions.size() + 2);
    // An empty key (no exercises) is no key.
    EXPECT_EQ(findAnswerKey("\r\n", std::size_t{2}), std::nullopt);
}

TEST(FindAnswerKey, AnEditedSheetHasItsKeyFoundByShape) {
    EXPECT_EQ(findAnswerKey(sheet, std::nullopt), questions.size() + 2);
    // A note typed among the questions does not move the key.
    const std::string noted = nb("Jméno: ________\r\n\r\n") + questions.substr(0, questions.find("b) ")) +
                              "poznámka\r\n" + questions.substr(questions.find("b) ")) + "\r\n" + key;
    EXPECT_EQ(findAnswerKey(noted, std::nullopt), noted.find(key));
    // The key after questions that end without an empty line of their own.
    const std::string tight = nb("a) 5 na desítky ____________________\r\n\r\na) 5 na desítky  10\r\n");
    EXPECT_EQ(findAnswerKey(tight, std::nullopt), tight.find("\r\na) 5 na desítky  ") + 2);
}

TEST(FindAnswerKey, LinesOfOnlySpacesAndTabsCountAsEmpty) {
    for (const std::string separator : {" \r\n", "\t\r\n", " \t  \r\n", "\r\n  \r\n", "   \r\n\r\n"}) {
        const std::string edited = questions + separator + key;
        EXPECT_EQ(findAnswerKey(edited, std::nullopt), questions.size() + separator.size())
            << testing::PrintToString(separator);
    }
    // Blank lines are passed over on the way back to the last question, too.
    const std::string spaced = nb("a) 5 na desítky ____\r\n \r\n\t\r\n\r\na) 5 na desítky  10\r\n");
    EXPECT_EQ(findAnswerKey(spaced, std::nullopt), spaced.find("a) 5 na desítky  "));
}

TEST(FindAnswerKey, ALineOfTheKeysShapeTypedAmongTheQuestionsTakesTheBreak) {
    // It follows an empty line after a question: the rule cannot tell it from a key.
    const std::string typed = questions.substr(0, questions.find("c) ")) + "a) bez čáry\r\n" +
                              questions.substr(questions.find("c) ")) + "\r\n" + key;
    EXPECT_EQ(findAnswerKey(typed, std::nullopt), typed.find("a) bez čáry"));
}

TEST(FindAnswerKey, NoKeyNoBreak) {
    EXPECT_EQ(findAnswerKey(questions, std::nullopt), std::nullopt) << "key deleted";
    EXPECT_EQ(findAnswerKey("Nákup:\r\n\r\na) mléko\r\nb) chléb\r\n", std::nullopt), std::nullopt);
    EXPECT_EQ(findAnswerKey(key, std::nullopt), std::nullopt) << "questions deleted";
    EXPECT_EQ(findAnswerKey("", std::nullopt), std::nullopt);
    // The key's first line glued to the questions follows no empty line.
    EXPECT_EQ(findAnswerKey(nb("a) 5 na desítky ____\r\na) 5 na desítky  10"), std::nullopt),
              std::nullopt);
}

TEST(RtfDocument, EveryLineIsAParagraphInTheBoxsFontWithoutSpacing) {
    const std::string rtf = rtfDocument("a) x\r\n\r\nb) y", std::nullopt);
    EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi"));
    EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}}"), std::string::npos);
    EXPECT_TRUE(rtf.ends_with("}"));
    const std::vector<std::string> paragraphs = rtfParagraphs(rtf);
    ASSERT_EQ(paragraphs.size(), 3u);
    const std::string format = "\\pard\\plain\\sb0\\sa0\\sl240\\slmult1\\f0\\fs24 ";
    EXPECT_EQ(paragraphs[0], format + "a) x");
    EXPECT_EQ(paragraphs[1], format);
    EXPECT_EQ(paragraphs[2], format + "b) y");
    EXPECT_EQ(rtfPageBreakLine(rtf), -1);
}

TEST(RtfDocument, CharactersAreKeptInSevenBitRtf) {
    const std::string rtf = rtfDocument(nb("1·234,5 čŘ {\\} \t😀 ü"), std::nullopt);
    for (const char c : rtf) EXPECT_LT(static_cast<unsigned char>(c), 0x80) << rtf;
    EXPECT_NE(rtf.find("\\fs24 1\\~234,5 \\u269c\\u344R \\{\\\\\\} \\tab \\u-10179?\\u-8704? \\u252?\\par"),
              std::string::npos)
        << rtf;
}

TEST(RtfDocument, ASpaceAfterASpaceIsAGroupOfItsOwn) {
    const std::vector<std::string> paragraphs = rtfParagraphs(rtfDocument("a  b   c", std::nullopt));
    ASSERT_EQ(paragraphs.size(), 1u);
    EXPECT_TRUE(paragraphs[0].ends_with(" a {\\'20}b {\\'20}{\\'20}c")) << paragraphs[0];
}

TEST(RichFlavours, ControlCharactersOtherThanTheTabAreLeftOut) {
    const std::string spaces = "<span style=\"mso-spacerun:yes\">&#32;&#32;</span>";
    struct Case {
        std::string line, html, rtf;
    };
    const std::vector<Case> cases = {
        {"a\fb", "ab", "ab"},                           // a form feed would start a page
        {"\f", "<br>", ""},                             // and a line of it is an empty line
        {"a \x1B b", "a" + spaces + "b", "a {\\'20}b"},  // the spaces around it make a run
        {std::string("\x01\t\x1F\0", 4), "&#9;", "\\tab "},
        {"\x7F\xC2\x85", "\x7F\xC2\x85", "\\u127?\\u133?"},  // not C0: kept
    };
    for (const Case& c : cases) {
        const ClipboardFlavours flavours = clipboardFlavours(c.line, std::nullopt);
        EXPECT_EQ(flavours.plainText, c.line);
        const std::vector<std::string> html = htmlParagraphs(flavours.html);
        ASSERT_EQ(html.size(), 1u) << flavours.html;
        EXPECT_EQ(htmlContent(html[0]), c.html) << testing::PrintToString(c.line);
        const std::vector<std::string> rtf = rtfParagraphs(flavours.rtf);
        ASSERT_EQ(rtf.size(), 1u) << flavours.rtf;
        EXPECT_EQ(rtf[0].substr(rtf[0].find("\\fs24 ") + 6), c.rtf) << testing::PrintToString(c.line);
    }
}

TEST(RtfDocument, LoneCarriageReturnsAndLineFeedsAlsoEndLines) {
    EXPECT_EQ(rtfParagraphs(rtfDocument("a\rb\nc\r\n", std::nullopt)).size(), 4u);
    EXPECT_EQ(rtfParagraphs(rtfDocument("", std::nullopt)).size(), 0u);
}

TEST(RtfDocument, ThePageBreakComesBeforeTheKeysFirstLine) {
    const std::string rtf = rtfDocument(sheet, questions.size() + 2);
    // Questions: 5 lines, then the line break between the halves.
    EXPECT_EQ(rtfPageBreakLine(rtf), 6);
    EXPECT_EQ(rtfParagraphs(rtf).size(), 12u);  // 11 lines ended by a break, and the empty last one
}

TEST(HtmlDocument, LinesAreParagraphsWithTheFontAndThePageBreak) {
    const std::string text = nb("<a> & \"b\"  1·5\r\n\r\na) k");
    const std::string html = htmlDocument(text, text.find("a) k"));
    const std::string style = "<p style=\"margin:0pt;line-height:100%;font-family:'Times New Roman',serif;"
                              "font-size:12pt;white-space:pre-wrap";
    EXPECT_NE(html.find("<!--StartFragment-->" + style + "\">&lt;a&gt; &amp; &quot;b&quot;"
                        "<span style=\"mso-spacerun:yes\">&#32;&#32;</span>1&nbsp;5</p>" +
                        style + "\"><br></p>" +
                        style + ";page-break-before:always;break-before:page\">a) k</p>"
                        "<!--EndFragment-->"),
              std::string::npos)
        << html;
    EXPECT_TRUE(html.starts_with("<html>"));
    EXPECT_EQ(html.find("page-break"), html.rfind("page-break-before"));
}

TEST(HtmlDocument, SpacesAtEitherEndOfALineAreKept) {
    const std::string html = htmlDocument(" a b ", std::nullopt);
    const std::string kept = "<span style=\"mso-spacerun:yes\">&#32;</span>";
    EXPECT_NE(html.find("\">" + kept + "a b" + kept + "</p>"), std::string::npos) << html;
}

TEST(WindowsHtmlFormat, TheHeaderGivesTheRightByteOffsets) {
    const std::string html = htmlDocument(nb("a) 1·234 čísla"), std::nullopt);
    const std::string data = windowsHtmlFormat(html);
    const auto field = [&](const std::string& name) {
        const std::size_t at = data.find(name + ":");
        return static_cast<std::size_t>(std::stoull(data.substr(at + name.size() + 1, 10)));
    };
    EXPECT_TRUE(data.starts_with("Version:0.9\r\nStartHTML:"));
    EXPECT_EQ(data.substr(field("StartHTML")), html);
    EXPECT_EQ(field("EndHTML"), data.size());
    EXPECT_EQ(data.substr(field("StartFragment") - 20, 20), "<!--StartFragment-->");
    EXPECT_EQ(data.substr(field("EndFragment"), 18), "<!--EndFragment-->");
    EXPECT_EQ(data.substr(field("StartFragment"), field("EndFragment") - field("StartFragment")),
              html.substr(html.find("<p "), html.find("<!--End") - html.find("<p ")));
}

class RichCopyByForm1 : public ::testing::Test {
protected:
    void SetUp() override {
        form.raise(FormEvent::Load);
        platform.replies = {"3", "2"};
        random.add({indexDraw(1, 4), wholeDraw(1234), indexDraw(2, 4), wholeDraw(56789),
                    indexDraw(3, 4), wholeDraw(100000)});
        form.raise(FormEvent::Command1Click);
        generated = platform.box;
        platform.log.clear();
    }

    FakePlatform platform;
    ScriptedRandom random;
    Form1 form{platform, random};
    std::string generated;
};

TEST_F(RichCopyByForm1, AnUnchangedSheetBreaksRightAfterTheQuestions) {
    form.raise(FormEvent::Command3Click);
    EXPECT_EQ(platform.clipboard, generated);
    // Three questions with an empty line after the second, then the break
    // between the halves: the key is line 5 (from 0).
    EXPECT_EQ(rtfPageBreakLine(platform.clipboardRtf), 5);
    const std::vector<std::string> html = htmlParagraphs(platform.clipboardHtml);
    ASSERT_EQ(html.size(), 10u) << platform.clipboardHtml;
    EXPECT_EQ(html[5], "<p style=\"margin:0pt;line-height:100%;font-family:'Times New Roman',serif;"
                       "font-size:12pt;white-space:pre-wrap;page-break-before:always;break-before:page\">"
                       "a) 1&nbsp;234 na desítky<span style=\"mso-spacerun:yes\">&#32;&#32;</span>"
                       "1&nbsp;230</p>");
    EXPECT_EQ(platform.clipboardHtml.find("page-break"), platform.clipboardHtml.rfind("page-break"));
    EXPECT_EQ(platform.log, (std::vector<std::string>{"clipboardClear", "clipboardSetText"}));
}

TEST_F(RichCopyByForm1, AnEditedSheetBreaksWhereTheShapeSays) {
    platform.box = "Jméno:\r\n" + generated;
    form.raise(FormEvent::Command3Click);
    EXPECT_EQ(platform.clipboard, platform.box);
    EXPECT_EQ(rtfPageBreakLine(platform.clipboardRtf), 6);

    platform.box = generated.substr(0, generated.find("\r\n\r\na) 1") + 4);  // key deleted
    form.raise(FormEvent::Command3Click);
    EXPECT_EQ(platform.clipboard, platform.box);
    EXPECT_EQ(rtfPageBreakLine(platform.clipboardRtf), -1);

    platform.box = "Úplně jiný text";
    form.raise(FormEvent::Command3Click);
    EXPECT_EQ(rtfPageBreakLine(platform.clipboardRtf), -1);
}

TEST_F(RichCopyByForm1, AfterClearingTheBoxTheFlavoursAreEmpty) {
    form.raise(FormEvent::Command2Click);
    form.raise(FormEvent::Command3Click);
    EXPECT_EQ(platform.clipboard, std::optional<std::string>(""));
    EXPECT_TRUE(rtfParagraphs(platform.clipboardRtf).empty());
    EXPECT_EQ(platform.clipboardHtml.find("<p"), std::string::npos);
}

}  // namespace
}  // namespace velnorka
