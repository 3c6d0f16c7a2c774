// "Kopíruj" in the real window: beside the unchanged CF_UNICODETEXT, the
// clipboard holds "HTML Format" with a right header and "Rich Text Format",
// both with the page break before the answer key.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "ClipboardTools.h"
#include "DialogAnswerer.h"
#include "platform/Random.h"
#include "platform/win32/Program.h"
#include "platform/win32/WideText.h"

namespace velnorka::win32::test {
namespace {

// The bytes of a clipboard format up to its closing zero, or nullopt.
std::optional<std::string> clipboardBytes(UINT format) {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<std::string> bytes;
    if (const HANDLE data = GetClipboardData(format)) {
        if (const auto* chars = static_cast<const char*>(GlobalLock(data))) {
            const std::size_t capacity = GlobalSize(data);
            std::size_t length = 0;
            while (length < capacity && chars[length] != '\0') ++length;
            bytes.emplace(chars, length);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return bytes;
}

// A CF_HTML header field's value, or -1 when missing.
long long headerField(const std::string& data, const std::string& name) {
    const std::size_t at = data.find("\r\n" + name + ":");
    if (at == std::string::npos) return -1;
    return std::stoll(data.substr(at + name.size() + 3, 10));
}

class RichClipboardTest : public ::testing::Test {
protected:
    void SetUp() override { program.start(SW_SHOWNORMAL); }
    void click(ControlId id) { SendMessageW(program.window().control(id), BM_CLICK, 0, 0); }

    MersenneRandom random{20260917};
    Program program{GetModuleHandleW(nullptr), random};
};

TEST_F(RichClipboardTest, KopirujPutsTextHtmlAndRtfWithThePageBreakBeforeTheKey) {
    DialogAnswerer answerer({DialogStep::replyWith(L"30"), DialogStep::replyWith(L"4")});
    click(ControlId::Command1);
    ASSERT_EQ(answerer.stepsLeft(), 0u);
    click(ControlId::Command3);

    EXPECT_EQ(clipboardText(), std::optional<std::wstring>(widen(program.platform().text())));

    const std::optional<std::string> html = clipboardBytes(RegisterClipboardFormatW(L"HTML Format"));
    ASSERT_TRUE(html);
    ASSERT_TRUE(html->starts_with("Version:"));
    const long long startHtml = headerField(*html, "StartHTML");
    const long long endHtml = headerField(*html, "EndHTML");
    const long long startFragment = headerField(*html, "StartFragment");
    const long long endFragment = headerField(*html, "EndFragment");
    const std::string startMarker = "<!--StartFragment-->";
    ASSERT_GE(startFragment, static_cast<long long>(startMarker.size()));
    EXPECT_EQ(html->substr(static_cast<std::size_t>(startHtml), 6), "<html>");
    EXPECT_EQ(endHtml, static_cast<long long>(html->size()));
    EXPECT_EQ(html->substr(static_cast<std::size_t>(startFragment) - startMarker.size(), startMarker.size()),
              startMarker);
    EXPECT_EQ(html->substr(static_cast<std::size_t>(endFragment), 18), "<!--EndFragment-->");
    // One page break, in the paragraph of the key's first line.
    const std::size_t pageBreak = html->find("page-break-before:always");
    ASSERT_NE(pageBreak, std::string::npos);
    EXPECT_EQ(html->find("page-break-before", pageBreak + 1), std::string::npos);
    const std::size_t keyLine = html->find("\">", pageBreak) + 2;
    EXPECT_EQ(html->substr(keyLine, 3), "a) ");
    EXPECT_EQ(html->substr(keyLine, html->find("</p>", keyLine) - keyLine).find('_'), std::string::npos);

    const std::optional<std::string> rtf = clipboardBytes(RegisterClipboardFormatW(L"Rich Text Format"));
    ASSERT_TRUE(rtf);
    EXPECT_TRUE(rtf->starts_with("{\\rtf1"));
    const std::size_t rtfBreak = rtf->find("\\pagebb");
    ASSERT_NE(rtfBreak, std::string::npos);
    EXPECT_EQ(rtf->find("\\pagebb", rtfBreak + 1), std::string::npos);
    const std::size_t rtfKeyLine = rtf->find(' ', rtfBreak) + 1;
    EXPECT_EQ(rtf->substr(rtfKeyLine, 3), "a) ");
    EXPECT_EQ(rtf->substr(rtfKeyLine, rtf->find("\\par", rtfKeyLine) - rtfKeyLine).find('_'),
              std::string::npos);
}

TEST_F(RichClipboardTest, AnEmptyBoxGivesEveryFlavourOfTheEmptyText) {
    click(ControlId::Command3);
    EXPECT_EQ(clipboardText(), std::optional<std::wstring>(L""));
    const std::optional<std::string> rtf = clipboardBytes(RegisterClipboardFormatW(L"Rich Text Format"));
    ASSERT_TRUE(rtf);
    EXPECT_EQ(rtf->find("\\pagebb"), std::string::npos);
    EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatW(L"HTML Format")));
}

}  // namespace
}  // namespace velnorka::win32::test
