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

// The RTF's paragraphs, each as written from its format to its "\par", or to
// the end of the document for a last paragraph left open.
std::vector<std::string> rtfParagraphs(const std::string& rtf) {
    std::vector<std::string> paragraphs;
    for (std::size_t at = rtf.find("\\pard"); at != std::string::npos; at = rtf.find("\\pard", at + 1))
        paragraphs.push_back(rtf.substr(at, rtf.find("\r\n", at) - at));
    return paragraphs;
}

// The index of the paragraph that starts a new page, or -1.
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

// What an RTF paragraph shows, as RTF: what comes after its format.
std::string rtfContent(const std::string& paragraph) {
    std::string content = paragraph.substr(paragraph.find("\\fs24 ") + 6);
    if (content.ends_with("\\par")) content.resize(content.size() - 4);
    return content;
}

// The HTML's paragraphs, each as written from "<p" to "</p>", or to the end
// of the fragment for a last paragraph left open.
std::vector<std::string> htmlParagraphs(const std::string& html) {
    std::vector<std::string> paragraphs;
    for (std::size_t at = html.find("<p "); at != std::string::npos; at = html.find("<p ", at + 1)) {
        const std::size_t closed = html.find("</p>", at);
        const std::size_t open = html.find(htmlFragmentEnd, at);
        paragraphs.push_back(closed < open ? html.substr(at, closed + 4 - at) : html.substr(at, open - at));
    }
    return paragraphs;
}

// What a paragraph shows: its HTML between the opening tag and "</p>".
std::string htmlContent(const std::string& paragraph) {
    const std::size_t start = paragraph.find("\">") + 2;
    return paragraph.substr(start, paragraph.size() - (paragraph.ends_with("</p>") ? 4 : 0) - start);
}

// The lines that both rich flavours of the text write, with "|" before the
// one that starts a new page. Checked on the way: the plain text is the text,
// the flavours agree, and only the last paragraph goes without its end (a
// paste joins it to the paragraph pasted into), unless it starts the page.
std::vector<std::string> richLines(const std::string& text, std::optional<std::size_t> generatedKeyStart) {
    const ClipboardFlavours flavours = clipboardFlavours(text, generatedKeyStart);
    EXPECT_EQ(flavours.plainText, text);
    const std::vector<std::string> html = htmlParagraphs(flavours.html);
    const std::vector<std::string> rtf = rtfParagraphs(flavours.rtf);
    EXPECT_EQ(rtf.size(), html.size()) << flavours.rtf;
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < html.size() && i < rtf.size(); ++i) {
        const bool breaks = html[i].find("page-break-before") != std::string::npos;
        EXPECT_EQ(rtf[i].find("\\pagebb") != std::string::npos, breaks) << rtf[i];
        const bool closed = i + 1 < html.size() || breaks;
        EXPECT_EQ(html[i].ends_with("</p>"), closed) << html[i];
        EXPECT_EQ(rtf[i].ends_with("\\par"), closed) << rtf[i];
        const std::string line = htmlContent(html[i]) == "<br>" ? "" : htmlContent(html[i]);
        EXPECT_EQ(rtfContent(rtf[i]), rtfContent(rtfParagraphs(rtfDocument(line + "\r\nx", std::nullopt))[0]));
        lines.push_back((breaks ? "|" : "") + line);
    }
    return lines;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? "\r\n" : "") + lines[i];
    return text;
}

TEST(RichLines, TheKeysPageIsFoundAndNoEmptyLineCanFillAPageAlone) {
    const std::vector<std::string> questions = {"a) 5 na desítky ____", "", "b) 7 na desítky ____", ""};
    const std::vector<std::string> key = {"a) 5 na desítky 10", "", "b) 7 na desítky 10", "", ""};
    const auto plus = [](std::vector<std::string> lines, const std::vector<std::string>& more) {
        lines.insert(lines.end(), more.begin(), more.end());
        return lines;
    };
    const std::vector<std::string> sheet = plus(plus(questions, {""}), key);
    // The printed lines: questions, the break instead of the empty lines, the
    // key without the empty lines at the end.
    const std::vector<std::string> printed = {"a) 5 na desítky ____", "", "b) 7 na desítky ____",
                                              "|a) 5 na desítky 10", "", "b) 7 na desítky 10"};
    const std::vector<std::string> heading = {"a) 5 na desítky ____", "", "b) 7 na desítky ____", "",
                                              "", "Výsledky:"};
    const std::string name = "Jméno: ______________________________";
    struct Case {
        const char* edit;
        std::vector<std::string> text;
        std::vector<std::string> printed;
    };
    const std::vector<Case> cases = {
        {"none", sheet, printed},
        {"empty lines of spaces and tabs", plus(plus(questions, {" \t", "  "}), key), printed},
        {"empty lines at the end", plus(sheet, {" ", "", "\t"}), printed},
        {"a heading above the key", plus(heading, key),
         {"a) 5 na desítky ____", "", "b) 7 na desítky ____", "|Výsledky:", "a) 5 na desítky 10", "",
          "b) 7 na desítky 10"}},
        {"a heading and an empty line", plus(plus(heading, {""}), key),
         {"a) 5 na desítky ____", "", "b) 7 na desítky ____", "|Výsledky:", "", "a) 5 na desítky 10", "",
          "b) 7 na desítky 10"}},
        {"exercise a) deleted from both halves", {"b) 7 na desítky ____", "", "", "b) 7 na desítky 10", "", ""},
         {"b) 7 na desítky ____", "|b) 7 na desítky 10"}},
        {"a name line on top", plus({name, ""}, sheet), plus({name, ""}, printed)},
        {"a line of the key's shape among the questions",
         plus({"a) 5 na desítky ____", "", "a) bez čáry"}, plus({questions[2], questions[3], ""}, key)),
         {"a) 5 na desítky ____", "", "a) bez čáry", "b) 7 na desítky ____", "|a) 5 na desítky 10", "",
          "b) 7 na desítky 10"}},
        {"the key glued to the questions", {"a) 5 na desítky ____", "a) 5 na desítky 10"},
         {"a) 5 na desítky ____", "|a) 5 na desítky 10"}},
        {"key deleted", plus(questions, {""}), {"a) 5 na desítky ____", "", "b) 7 na desítky ____"}},
        {"questions deleted", key, {"a) 5 na desítky 10", "", "b) 7 na desítky 10"}},
        {"no exercise: a list under a name line", {name, "", "Nákup:", "a) mléko", "b) chléb", ""},
         {name, "", "Nákup:", "a) mléko", "b) chléb"}},
        {"no exercise, nothing printed", {" ", "", "\t", ""}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(richLines(joined(c.text), std::nullopt), c.printed) << c.edit;
    }

    // An unchanged sheet breaks where "Generuj" put the key, whatever its lines.
    const std::string generated = joined(sheet);
    EXPECT_EQ(richLines(generated, generated.find("a) 5 na desítky 10")), printed);
    const std::string odd = joined({"Nadpis", "", "klíč", ""});
    EXPECT_EQ(richLines(odd, odd.find("klíč")), (std::vector<std::string>{"Nadpis", "|klíč"}));
    // The key's one line is the last: it keeps its end, and with it the break.
    const std::string one = joined({"a) 5 na desítky ____", "", "", "a) 5 na desítky 10", "", ""});
    EXPECT_EQ(richLines(one, one.find("a) 5 na desítky 10")),
              (std::vector<std::string>{"a) 5 na desítky ____", "|a) 5 na desítky 10"}));
    // An empty key is no key, and a break after nothing printed is none.
    EXPECT_EQ(findAnswerKey("\r\n", std::size_t{2}), std::nullopt);
    const std::string blankFirst = joined({"", "", "klíč"});
    EXPECT_EQ(richLines(blankFirst, blankFirst.find("klíč")), (std::vector<std::string>{"", "", "klíč"}));
}

TEST(RtfDocument, EveryLineIsAParagraphInTheBoxsFontWithoutSpacing) {
    const std::string rtf = rtfDocument("a) x\r\n\r\nb) y", std::nullopt);
    EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi"));
    EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}}"), std::string::npos);
    EXPECT_TRUE(rtf.ends_with("}"));
    const std::vector<std::string> paragraphs = rtfParagraphs(rtf);
    ASSERT_EQ(paragraphs.size(), 3u);
    const std::string format = "\\pard\\plain\\sb0\\sa0\\sl240\\slmult1\\f0\\fs24 ";
    EXPECT_EQ(paragraphs[0], format + "a) x\\par");
    EXPECT_EQ(paragraphs[1], format + "\\par");
    EXPECT_EQ(paragraphs[2], format + "b) y");  // left open
    EXPECT_EQ(rtfPageBreakLine(rtf), -1);
}

TEST(RtfDocument, CharactersAreKeptInSevenBitRtf) {
    const std::string rtf = rtfDocument(nb("1·234,5 čŘ {\\} \t😀 ü"), std::nullopt);
    for (const char c : rtf) EXPECT_LT(static_cast<unsigned char>(c), 0x80) << rtf;
    EXPECT_NE(rtf.find("\\fs24 1\\~234,5 \\u269c\\u344R \\{\\\\\\} \\tab \\u-10179?\\u-8704? \\u252?\r\n}"),
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
        const std::string text = c.line + "\r\nz";  // a line to follow: an empty last line is left out
        const ClipboardFlavours flavours = clipboardFlavours(text, std::nullopt);
        EXPECT_EQ(flavours.plainText, text);
        const std::vector<std::string> html = htmlParagraphs(flavours.html);
        ASSERT_EQ(html.size(), 2u) << flavours.html;
        EXPECT_EQ(htmlContent(html[0]), c.html) << testing::PrintToString(c.line);
        const std::vector<std::string> rtf = rtfParagraphs(flavours.rtf);
        ASSERT_EQ(rtf.size(), 2u) << flavours.rtf;
        EXPECT_EQ(rtfContent(rtf[0]), c.rtf) << testing::PrintToString(c.line);
    }
}

TEST(RtfDocument, LoneCarriageReturnsAndLineFeedsAlsoEndLines) {
    EXPECT_EQ(rtfParagraphs(rtfDocument("a\rb\nc\r\nd", std::nullopt)).size(), 4u);
    EXPECT_EQ(rtfParagraphs(rtfDocument("", std::nullopt)).size(), 0u);
}

TEST(HtmlDocument, LinesAreParagraphsWithTheFontAndThePageBreak) {
    const std::string text = nb("<a> & \"b\"  1·5\r\n\r\nx\r\na) k\r\nz");
    const std::string html = htmlDocument(text, text.find("a) k"));
    const std::string style = "<p style=\"margin:0pt;line-height:100%;font-family:'Times New Roman',serif;"
                              "font-size:12pt;white-space:pre-wrap";
    EXPECT_NE(html.find("<!--StartFragment-->" + style + "\">&lt;a&gt; &amp; &quot;b&quot;"
                        "<span style=\"mso-spacerun:yes\">&#32;&#32;</span>1&nbsp;5</p>" +
                        style + "\"><br></p>" + style + "\">x</p>" +
                        style + ";page-break-before:always;break-before:page\">a) k</p>" +
                        style + "\">z<!--EndFragment--></body></html>"),
              std::string::npos)
        << html;
    EXPECT_TRUE(html.ends_with("z<!--EndFragment--></body></html>")) << "nothing after the open last line";
    EXPECT_TRUE(html.starts_with("<html>"));
    EXPECT_EQ(html.find("page-break"), html.rfind("page-break-before"));
}

TEST(HtmlDocument, SpacesAtEitherEndOfALineAreKept) {
    const std::string html = htmlDocument(" a b ", std::nullopt);
    const std::string kept = "<span style=\"mso-spacerun:yes\">&#32;</span>";
    EXPECT_NE(html.find("\">" + kept + "a b" + kept + "<!--EndFragment-->"), std::string::npos) << html;
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
    // instead of the empty line between the halves: the key is paragraph 4
    // (from 0), and the key's last line the last paragraph.
    EXPECT_EQ(rtfPageBreakLine(platform.clipboardRtf), 4);
    const std::vector<std::string> html = htmlParagraphs(platform.clipboardHtml);
    ASSERT_EQ(html.size(), 8u) << platform.clipboardHtml;
    EXPECT_EQ(html[4], "<p style=\"margin:0pt;line-height:100%;font-family:'Times New Roman',serif;"
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
    EXPECT_EQ(rtfPageBreakLine(platform.clipboardRtf), 5);

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
