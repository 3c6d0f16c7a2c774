// The real window, checked through the Win32 API: the controls as designed,
// the start-up state, the seven events, the prompts and the clipboard.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "AccessibilityRecorder.h"
#include "ClipboardTools.h"
#include "DialogAnswerer.h"
#include "generator/Worksheet.h"
#include "platform/Random.h"
#include "platform/win32/Program.h"
#include "platform/win32/WideText.h"

namespace velnorka::win32::test {
namespace {

constexpr std::uint32_t seed = 20260917;

// The design's pixels at 96 DPI, option buttons already moved by Frame1's corner.
struct DesignedControl {
    ControlId id;
    const wchar_t* windowClass;
    const wchar_t* caption;
    int left, top, width, height;
};
const DesignedControl designed[] = {
    {ControlId::Text1, L"Edit", L"", 8, 8, 401, 217},
    {ControlId::Command1, L"Button", L"Generuj", 424, 8, 145, 33},
    {ControlId::Command2, L"Button", L"Smaž", 424, 48, 145, 33},
    {ControlId::Command3, L"Button", L"Kopíruj", 424, 88, 145, 33},
    {ControlId::Frame1, L"Button", L"Výběr činností", 424, 128, 145, 105},
    {ControlId::Option1, L"Button", L"Jen přirozená čísla", 432, 152, 121, 17},
    {ControlId::Option2, L"Button", L"Jen desetinná čísla", 432, 176, 121, 25},
    {ControlId::Option3, L"Button", L"Mix", 432, 200, 97, 25},
};

std::wstring className(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

LONG style(HWND hwnd) { return GetWindowLongW(hwnd, GWL_STYLE); }

LOGFONTW fontOf(HWND hwnd) {
    LOGFONTW font = {};
    const auto handle = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    if (handle) GetObjectW(handle, sizeof font, &font);
    return font;
}

BOOL CALLBACK countChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// What the core writes for the same seed and replies: the sheet that must
// arrive in Text1 unchanged.
std::wstring coreSheet(int mode, std::int16_t count, std::int16_t groupSize,
                       const std::string& decimalSeparator) {
    MersenneRandom random(seed);
    WorksheetState state;
    state.start();
    state.mode = static_cast<std::int16_t>(mode);
    const std::string questions = writeExercises(state, count, groupSize, random, decimalSeparator);
    return widen(questions + "\r\n" + state.answers);
}

bool onlyCrLfBreaks(const std::wstring& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) return false;
        if (text[i] == L'\r' && (i + 1 == text.size() || text[i + 1] != L'\n')) return false;
    }
    return true;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        program.start(SW_SHOWNORMAL);
        helper = CreateWindowExW(0, L"STATIC", L"helper", 0, 0, 0, 0, 0, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    }
    void TearDown() override { DestroyWindow(helper); }

    HWND main() { return program.window().hwnd(); }
    HWND control(ControlId id) { return program.window().control(id); }
    void click(ControlId id) { SendMessageW(control(id), BM_CLICK, 0, 0); }
    std::wstring text1() { return windowText(control(ControlId::Text1)); }
    bool checked(ControlId id) { return SendMessageW(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    std::pair<DWORD, DWORD> selection() {
        DWORD start = 0, end = 0;
        SendMessageW(control(ControlId::Text1), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    // A key pressed on the focused control, through the program's own
    // message loop (the dialog keys first).
    void pressKey(UINT key) {
        const HWND focus = GetFocus();
        const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
        PostMessageW(focus, WM_KEYDOWN, key, scanCode | 1);
        PostMessageW(focus, WM_KEYUP, key, scanCode | 1 | 0xC0000000);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) processMessage(program.window(), message);
    }
    RECT rectInClient(HWND hwnd) {
        RECT rect;
        GetWindowRect(hwnd, &rect);
        MapWindowPoints(nullptr, main(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    MersenneRandom random{seed};
    Program program{GetModuleHandleW(nullptr), random};
    HWND helper = nullptr;
};

TEST_F(WindowTest, WindowHasTheDesignedCaptionAndClientArea) {
    ASSERT_EQ(program.window().dpi(), 96) << "the designed pixels are those of 96 DPI";
    EXPECT_EQ(windowText(main()), L"Velnorka");
    RECT client;
    GetClientRect(main(), &client);
    EXPECT_EQ(client.right - client.left, 584);
    EXPECT_EQ(client.bottom - client.top, 294);
    EXPECT_EQ(GetMenu(main()), nullptr);
    EXPECT_TRUE(IsWindowVisible(main()));
    EXPECT_FALSE(style(main()) & WS_THICKFRAME) << "fixed size";
}

TEST_F(WindowTest, EveryControlHasItsClassCaptionPlaceAndSize) {
    ASSERT_EQ(program.window().dpi(), 96);
    int children = 0;
    EnumChildWindows(main(), countChild, reinterpret_cast<LPARAM>(&children));
    EXPECT_EQ(children, 8);
    for (const DesignedControl& want : designed) {
        const HWND hwnd = control(want.id);
        ASSERT_NE(hwnd, nullptr);
        SCOPED_TRACE(narrow(want.caption) + " / " + std::string(velnorka::control(want.id).name));
        EXPECT_EQ(GetParent(hwnd), main());
        EXPECT_EQ(GetDlgCtrlID(hwnd), controlId(want.id));
        EXPECT_EQ(className(hwnd), want.windowClass);
        EXPECT_EQ(windowText(hwnd), want.caption);
        EXPECT_TRUE(IsWindowVisible(hwnd));
        const RECT rect = rectInClient(hwnd);
        EXPECT_EQ(rect.left, want.left);
        EXPECT_EQ(rect.top, want.top);
        EXPECT_EQ(rect.right - rect.left, want.width);
        EXPECT_EQ(rect.bottom - rect.top, want.height);
    }
}

TEST_F(WindowTest, Text1IsAWrappingMultiLineBoxWithoutLimit) {
    const HWND text = control(ControlId::Text1);
    const LONG bits = style(text);
    EXPECT_TRUE(bits & ES_MULTILINE);
    EXPECT_TRUE(bits & WS_VSCROLL);
    EXPECT_TRUE(bits & ES_AUTOVSCROLL);
    EXPECT_TRUE(bits & ES_WANTRETURN);
    EXPECT_TRUE(bits & WS_TABSTOP);
    EXPECT_FALSE(bits & WS_HSCROLL);
    EXPECT_FALSE(bits & ES_AUTOHSCROLL) << "lines must wrap";
    EXPECT_FALSE(bits & ES_READONLY);
    EXPECT_GE(static_cast<DWORD>(SendMessageW(text, EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEu);

    // Typing past the EDIT's default limit of 30000 characters still works.
    std::string lines;
    for (int i = 0; i < 4000; ++i) lines += "abc defgh ";
    program.platform().setText(lines);
    SendMessageW(text, EM_SETSEL, 40000, 40000);
    SendMessageW(text, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"yz"));
    EXPECT_EQ(GetWindowTextLengthW(text), 40002);
}

TEST_F(WindowTest, ButtonsFrameAndOptionButtonsHaveTheirKinds) {
    for (const ControlId id : {ControlId::Command1, ControlId::Command2, ControlId::Command3}) {
        EXPECT_EQ(style(control(id)) & BS_TYPEMASK, BS_PUSHBUTTON) << "not a default button";
        EXPECT_TRUE(style(control(id)) & WS_TABSTOP);
    }
    EXPECT_EQ(style(control(ControlId::Frame1)) & BS_TYPEMASK, BS_GROUPBOX);
    for (const ControlId id : {ControlId::Option1, ControlId::Option2, ControlId::Option3})
        EXPECT_EQ(style(control(id)) & BS_TYPEMASK, BS_AUTORADIOBUTTON);
    // One group: it starts at Option1 and runs to the next control that starts one.
    EXPECT_TRUE(style(control(ControlId::Option1)) & WS_GROUP);
    EXPECT_FALSE(style(control(ControlId::Option2)) & WS_GROUP);
    EXPECT_FALSE(style(control(ControlId::Option3)) & WS_GROUP);
    EXPECT_EQ(GetNextDlgGroupItem(main(), control(ControlId::Option1), FALSE), control(ControlId::Option2));
    EXPECT_EQ(GetNextDlgGroupItem(main(), control(ControlId::Option3), FALSE), control(ControlId::Option1));
    // No access keys.
    for (const DesignedControl& want : designed)
        EXPECT_EQ(windowText(control(want.id)).find(L'&'), std::wstring::npos);
}

TEST_F(WindowTest, Text1HasItsOwnFontAndTheOthersTheMessageFont) {
    const LOGFONTW text = fontOf(control(ControlId::Text1));
    EXPECT_STREQ(text.lfFaceName, L"Times New Roman");
    EXPECT_EQ(text.lfHeight, -16) << "12 pt at 96 DPI";
    EXPECT_EQ(text.lfWeight, 400);
    EXPECT_EQ(text.lfCharSet, 238);
    EXPECT_FALSE(text.lfItalic);
    EXPECT_FALSE(text.lfUnderline);
    EXPECT_FALSE(text.lfStrikeOut);
    // The face the box is drawn in, not only the one asked for: where the
    // desktop lacks it, the font mapper quietly substitutes a sans serif.
    const HWND box = control(ControlId::Text1);
    const HDC dc = GetDC(box);
    ASSERT_NE(dc, nullptr);
    const HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    wchar_t drawnFace[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, drawnFace);
    TEXTMETRICW drawn = {};
    GetTextMetricsW(dc, &drawn);
    SelectObject(dc, oldFont);
    ReleaseDC(box, dc);
    EXPECT_STREQ(drawnFace, L"Times New Roman");
    EXPECT_EQ(drawn.tmPitchAndFamily & 0xF0, FF_ROMAN) << "a serif face";

    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    for (const ControlId id : {ControlId::Command1, ControlId::Command2, ControlId::Command3,
                               ControlId::Frame1, ControlId::Option1, ControlId::Option2,
                               ControlId::Option3}) {
        ASSERT_NE(SendMessageW(control(id), WM_GETFONT, 0, 0), 0) << "not the system font";
        const LOGFONTW font = fontOf(control(id));
        EXPECT_STREQ(font.lfFaceName, metrics.lfMessageFont.lfFaceName);
        EXPECT_EQ(font.lfHeight, metrics.lfMessageFont.lfHeight);
    }
}

TEST_F(WindowTest, StartsWithOption1SelectedAndTheFocusInText1) {
    EXPECT_EQ(GetFocus(), control(ControlId::Text1));
    EXPECT_TRUE(checked(ControlId::Option1));
    EXPECT_FALSE(checked(ControlId::Option2));
    EXPECT_FALSE(checked(ControlId::Option3));
    EXPECT_EQ(program.form().mode, 1);
    EXPECT_EQ(text1(), L"");
}

TEST_F(WindowTest, TabFollowsTheTableAndReachesTheGroupAtItsSelectedButton) {
    const std::vector<HWND> forward = {control(ControlId::Text1), control(ControlId::Command1),
                                       control(ControlId::Command2), control(ControlId::Command3),
                                       control(ControlId::Option1)};
    for (std::size_t i = 0; i < forward.size(); ++i) {
        const HWND next = forward[(i + 1) % forward.size()];
        EXPECT_EQ(GetNextDlgTabItem(main(), forward[i], FALSE), next) << "after stop " << i;
        EXPECT_EQ(GetNextDlgTabItem(main(), next, TRUE), forward[i]) << "before stop " << i + 1;
    }
    click(ControlId::Option3);
    EXPECT_EQ(GetNextDlgTabItem(main(), control(ControlId::Command3), FALSE), control(ControlId::Option3));
    EXPECT_EQ(GetNextDlgTabItem(main(), control(ControlId::Option3), FALSE), control(ControlId::Text1));

    // The message loop hands Tab to the dialog manager.
    SetFocus(control(ControlId::Text1));
    MSG tab = {control(ControlId::Text1), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_TRUE(program.window().handleDialogKeys(tab));
    EXPECT_EQ(GetFocus(), control(ControlId::Command1));
    tab.hwnd = control(ControlId::Command3);
    SetFocus(tab.hwnd);
    EXPECT_TRUE(program.window().handleDialogKeys(tab));
    EXPECT_EQ(GetFocus(), control(ControlId::Option3));
}

TEST_F(WindowTest, TabIntoText1KeepsTheCaretAndSelectsNothing) {
    DialogAnswerer answerer({DialogStep::replyWith(L"12"), DialogStep::replyWith(L"4")});
    click(ControlId::Command1);
    ASSERT_EQ(answerer.stepsLeft(), 0u);
    const std::wstring sheet = text1();
    ASSERT_GT(sheet.size(), 20u);
    SendMessageW(control(ControlId::Text1), EM_SETSEL, 7, 7);

    SetFocus(control(ControlId::Option1));  // the last stop: Tab wraps to Text1
    pressKey(VK_TAB);
    ASSERT_EQ(GetFocus(), control(ControlId::Text1));
    EXPECT_EQ(selection(), std::make_pair(DWORD{7}, DWORD{7})) << "the sheet must not be selected";
    pressKey(VK_TAB);
    ASSERT_EQ(GetFocus(), control(ControlId::Command1));

    // Back from Generuj with Shift+Tab.
    BYTE keys[256];
    ASSERT_TRUE(GetKeyboardState(keys));
    keys[VK_SHIFT] |= 0x80;
    SetKeyboardState(keys);
    pressKey(VK_TAB);
    keys[VK_SHIFT] &= 0x7F;
    SetKeyboardState(keys);
    ASSERT_EQ(GetFocus(), control(ControlId::Text1));
    EXPECT_EQ(selection(), std::make_pair(DWORD{7}, DWORD{7}));
    EXPECT_EQ(text1(), sheet);
}

TEST_F(WindowTest, EnterOnAFocusedButtonPressesIt) {
    {
        DialogAnswerer answerer({DialogStep::cancel()});
        SetFocus(control(ControlId::Command1));
        pressKey(VK_RETURN);
        ASSERT_EQ(answerer.seen().size(), 1u) << "Enter on Generuj opens the prompt";
        EXPECT_EQ(answerer.seen()[0].text, L"Zadejte počet příkladů (max.200)");
    }
    program.platform().setText("a) 1 na desítky");
    SetFocus(control(ControlId::Command3));
    pressKey(VK_RETURN);
    EXPECT_EQ(clipboardText(), std::optional<std::wstring>(L"a) 1 na desítky")) << "Kopíruj";
    SetFocus(control(ControlId::Command2));
    pressKey(VK_RETURN);
    EXPECT_EQ(text1(), L"") << "Smaž";
    {
        // An option button is no button to press: nothing happens.
        DialogAnswerer answerer({});
        SetFocus(control(ControlId::Option1));
        pressKey(VK_RETURN);
        EXPECT_TRUE(answerer.seen().empty());
        EXPECT_EQ(program.form().mode, 1);
    }
}

TEST_F(WindowTest, EnterInText1InsertsALineBreak) {
    program.platform().setText("ab");
    SetFocus(control(ControlId::Text1));
    SendMessageW(control(ControlId::Text1), EM_SETSEL, 1, 1);
    DialogAnswerer answerer({});
    pressKey(VK_RETURN);
    EXPECT_EQ(text1(), L"a\r\nb");
    EXPECT_TRUE(answerer.seen().empty());
}

TEST_F(WindowTest, AFailureInsideTheWindowProcedureIsReportedInCzech) {
    program.platform().setText("zůstane");
    program.window().setEventHandler([](FormEvent) { throw std::runtime_error("zkouška"); });
    DialogAnswerer answerer({DialogStep::acknowledge()});
    click(ControlId::Command2);
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_FALSE(answerer.seen()[0].unexpected);
    EXPECT_EQ(answerer.seen()[0].text, L"Akce se nezdařila: zkouška");
    EXPECT_EQ(answerer.seen()[0].owner, main());
    EXPECT_TRUE(IsWindow(main()));
    EXPECT_EQ(text1(), L"zůstane");
}

TEST_F(WindowTest, OptionButtonsSwitchTheModeAndLeaveTheText) {
    program.platform().setText("mé příklady");
    click(ControlId::Option2);
    EXPECT_EQ(program.form().mode, 2);
    EXPECT_FALSE(checked(ControlId::Option1));
    EXPECT_TRUE(checked(ControlId::Option2));
    click(ControlId::Option3);
    EXPECT_EQ(program.form().mode, 3);
    click(ControlId::Option3);
    EXPECT_EQ(program.form().mode, 3);
    EXPECT_TRUE(checked(ControlId::Option3));
    click(ControlId::Option1);
    EXPECT_EQ(program.form().mode, 1);
    EXPECT_EQ(text1(), L"mé příklady");
}

TEST_F(WindowTest, SelectingAnOptionFromTheProgramRaisesNoEvent) {
    std::vector<FormEvent> events;
    program.window().setEventHandler([&](FormEvent event) { events.push_back(event); });
    program.platform().setOptionValue(2, true);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(checked(ControlId::Option2));
    EXPECT_FALSE(checked(ControlId::Option1));
    EXPECT_EQ(program.form().mode, 1);
    // A click does raise it, once.
    click(ControlId::Option3);
    EXPECT_EQ(events, std::vector<FormEvent>{FormEvent::Option3Click});
}

TEST_F(WindowTest, GenerujAsksTwiceAndFillsText1WithTheSheet) {
    DialogAnswerer answerer({DialogStep::replyWith(L"25"), DialogStep::replyWith(L"5")});
    click(ControlId::Command1);
    ASSERT_EQ(answerer.seen().size(), 2u);
    EXPECT_EQ(answerer.stepsLeft(), 0u);
    const wchar_t* prompts[] = {L"Zadejte počet příkladů (max.200)", L"Zadejte po kolika odsazovat"};
    for (int i = 0; i < 2; ++i) {
        const SeenDialog& prompt = answerer.seen()[i];
        EXPECT_TRUE(prompt.isPrompt);
        EXPECT_EQ(prompt.title, L"Velnorka");
        EXPECT_EQ(prompt.text, prompts[i]);
        EXPECT_EQ(prompt.entryText, L"10");
        EXPECT_EQ(prompt.selectionStart, 0u) << "the default reply is selected";
        EXPECT_EQ(prompt.selectionEnd, 2u);
        EXPECT_TRUE(prompt.entryHasFocus);
        EXPECT_TRUE(prompt.okIsDefault);
        EXPECT_EQ(prompt.owner, main());
        EXPECT_TRUE(prompt.ownerDisabled) << "modal";
        EXPECT_TRUE(prompt.overOwner);
    }
    const std::wstring text = text1();
    EXPECT_EQ(text, coreSheet(1, 25, 5, program.platform().numberFormat().decimalSeparator));
    EXPECT_TRUE(onlyCrLfBreaks(text));
    EXPECT_NE(text.find(L'\u00A0'), std::wstring::npos) << "digit groups of mode 1 numbers";
    EXPECT_EQ(text.rfind(L"a) ", 0), 0u);
}

TEST_F(WindowTest, DecimalExercisesUseTheRegionalSeparator) {
    click(ControlId::Option2);
    DialogAnswerer answerer({DialogStep::replyWith(L"12"), DialogStep::replyWith(L"4")});
    click(ControlId::Command1);
    EXPECT_EQ(answerer.stepsLeft(), 0u);
    EXPECT_EQ(text1(), coreSheet(2, 12, 4, program.platform().numberFormat().decimalSeparator));
}

TEST_F(WindowTest, MoreThan200IsRefusedAndTheTextStays) {
    program.platform().setText("moje poznámky");
    DialogAnswerer answerer({DialogStep::replyWith(L"201"), DialogStep::acknowledge()});
    click(ControlId::Command1);
    ASSERT_EQ(answerer.seen().size(), 2u);
    const SeenDialog& message = answerer.seen()[1];
    EXPECT_FALSE(message.isPrompt);
    EXPECT_FALSE(message.unexpected);
    EXPECT_EQ(message.title, L"Velnorka");
    EXPECT_EQ(message.text, L"Tolik příkladů nelze vygenerovat");
    EXPECT_EQ(message.owner, main());
    EXPECT_EQ(text1(), L"moje poznámky");
}

TEST_F(WindowTest, CancelInEitherPromptEndsTheRunQuietly) {
    program.platform().setText("beze změny");
    {
        DialogAnswerer answerer({DialogStep::cancel()});
        click(ControlId::Command1);
        EXPECT_EQ(answerer.seen().size(), 1u);
        EXPECT_EQ(answerer.stepsLeft(), 0u);
    }
    {
        DialogAnswerer answerer({DialogStep::replyWith(L"10"), DialogStep::cancel()});
        click(ControlId::Command1);
        EXPECT_EQ(answerer.seen().size(), 2u) << "no message after Cancel";
        EXPECT_EQ(answerer.stepsLeft(), 0u);
    }
    EXPECT_EQ(text1(), L"beze změny");
}

TEST_F(WindowTest, ANonNumericReplyIsReportedInCzech) {
    program.platform().setText("beze změny");
    DialogAnswerer answerer({DialogStep::replyWith(L"deset"), DialogStep::acknowledge()});
    click(ControlId::Command1);
    ASSERT_EQ(answerer.seen().size(), 2u);
    EXPECT_FALSE(answerer.seen()[1].unexpected);
    EXPECT_NE(answerer.seen()[1].text.find(L"není číslo"), std::wstring::npos);
    EXPECT_EQ(text1(), L"beze změny");
    EXPECT_TRUE(IsWindow(main()));
}

TEST_F(WindowTest, SmazEmptiesText1AndLeavesTheClipboard) {
    ASSERT_TRUE(putOnClipboard(helper, L"ze včerejška"));
    program.platform().setText("a) 1 na desítky");
    click(ControlId::Command2);
    EXPECT_EQ(text1(), L"");
    click(ControlId::Command2);
    EXPECT_EQ(text1(), L"");
    EXPECT_EQ(clipboardText(), std::optional<std::wstring>(L"ze včerejška"));
}

TEST_F(WindowTest, KopirujCopiesTheWholeTextExactlyAndGivesBackTheUsersSelection) {
    program.platform().setText("a) 123\u00A0456 na stovky  123\u00A0500\r\nž\r\n");
    SendMessageW(control(ControlId::Text1), EM_SETSEL, 31, 32);  // the user's own selection
    click(ControlId::Command3);
    EXPECT_EQ(clipboardText(),
              std::optional<std::wstring>(L"a) 123\u00A0456 na stovky  123\u00A0500\r\nž\r\n"));
    EXPECT_EQ(selection(), std::make_pair(DWORD{31}, DWORD{32}));
    // A key typed in the box afterwards replaces that selection, not the sheet.
    SetFocus(control(ControlId::Text1));
    SendMessageW(control(ControlId::Text1), WM_CHAR, L'X', 1);
    EXPECT_EQ(text1(), L"a) 123\u00A0456 na stovky  123\u00A0500\r\nX\r\n");
}

TEST_F(WindowTest, KopirujCopiesAGeneratedSheetWithItsBreaksAndSpaces) {
    DialogAnswerer answerer({DialogStep::replyWith(L"30"), DialogStep::replyWith(L"4")});
    click(ControlId::Command1);
    ASSERT_EQ(answerer.stepsLeft(), 0u);
    click(ControlId::Command3);
    const std::optional<std::wstring> copied = clipboardText();
    ASSERT_TRUE(copied);
    EXPECT_EQ(*copied, text1());
    EXPECT_TRUE(onlyCrLfBreaks(*copied));
    EXPECT_NE(copied->find(L"\r\n\r\n"), std::wstring::npos);
    EXPECT_NE(copied->find(L'\u00A0'), std::wstring::npos);
}

TEST_F(WindowTest, KopirujReplacesEveryFormatOnTheClipboard) {
    const UINT private_format = RegisterClipboardFormatW(L"Velnorka test format");
    ASSERT_TRUE(putOnClipboard(helper, L"cizí data", private_format));
    program.platform().setText("list");
    click(ControlId::Command3);
    EXPECT_FALSE(IsClipboardFormatAvailable(private_format));
    EXPECT_EQ(clipboardText(), std::optional<std::wstring>(L"list"));
}

TEST_F(WindowTest, KopirujOfAnEmptyBoxLeavesTheEmptyText) {
    ASSERT_TRUE(putOnClipboard(helper, L"staré"));
    click(ControlId::Command2);
    click(ControlId::Command3);
    EXPECT_EQ(clipboardText(), std::optional<std::wstring>(L""));
    EXPECT_EQ(selection(), std::make_pair(DWORD{0}, DWORD{0}));
}

// Clipboard history and remote desktops open the clipboard for a moment after
// each change: Kopíruj waits for them instead of giving up.
TEST_F(WindowTest, KopirujWaitsForAProgramHoldingTheClipboardBriefly) {
    ASSERT_TRUE(putOnClipboard(helper, L"před"));
    program.platform().setText("a) 1\u00A0234 na desítky\r\n");
    ClipboardHolder holder(150);
    ASSERT_TRUE(holder.holding());
    DialogAnswerer answerer({});
    click(ControlId::Command3);
    EXPECT_TRUE(answerer.seen().empty()) << "no message";
    EXPECT_EQ(clipboardText(), std::optional<std::wstring>(L"a) 1\u00A0234 na desítky\r\n"));
}

TEST_F(WindowTest, ABusyClipboardIsReportedAndNothingIsLost) {
    ASSERT_TRUE(putOnClipboard(helper, L"před"));
    program.platform().setText("a) 1\u00A0234 na desítky\r\n");
    {
        ClipboardHolder holder(5000);
        ASSERT_TRUE(holder.holding());
        DialogAnswerer answerer({DialogStep::acknowledge()});
        const DWORD clicked = GetTickCount();
        click(ControlId::Command3);
        ASSERT_EQ(answerer.seen().size(), 1u);
        EXPECT_FALSE(answerer.seen()[0].unexpected);
        EXPECT_NE(answerer.seen()[0].text.find(L"Schránku"), std::wstring::npos);
        // After trying for about half a second, and within a second.
        const DWORD waited = answerer.seen()[0].seenAt - clicked;
        EXPECT_GE(waited, 450u);
        EXPECT_LT(waited, 1000u);
    }
    EXPECT_FALSE(program.window().busy()) << "the hourglass went with the message";
    EXPECT_TRUE(IsWindow(main()));
    EXPECT_EQ(text1(), L"a) 1\u00A0234 na desítky\r\n");
    EXPECT_EQ(selection(), std::make_pair(DWORD{0}, DWORD{21}));
    EXPECT_EQ(clipboardText(), std::optional<std::wstring>(L"před")) << "left as it was";

    click(ControlId::Command3);  // the clipboard is free again
    EXPECT_EQ(clipboardText(), std::optional<std::wstring>(L"a) 1\u00A0234 na desítky\r\n"));
}

TEST_F(WindowTest, SelectionCountsSixteenBitCharacters) {
    Win32Platform& platform = program.platform();
    platform.setText("\U0001F600a\r\nb");  // a surrogate pair first
    platform.setSelStart(2);
    platform.setSelLength(3);
    EXPECT_EQ(platform.selText(), "a\r\n");
    EXPECT_EQ(std::make_pair(platform.selStart(), platform.selLength()), std::make_pair(2, 3));
    platform.setSelLength(100);
    EXPECT_EQ(platform.selText(), "a\r\nb");
    platform.setSelStart(0);
    EXPECT_EQ(platform.selText(), "");
    EXPECT_EQ(platform.text(), "\U0001F600a\r\nb");
}

TEST_F(WindowTest, TheHourglassStaysUntilTheWorkIsDone) {
    const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    program.platform().setMousePointer(MousePointer::Hourglass);
    EXPECT_TRUE(SendMessageW(main(), WM_SETCURSOR, reinterpret_cast<WPARAM>(main()),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), wait);
    program.platform().setMousePointer(MousePointer::Default);
    SendMessageW(main(), WM_SETCURSOR, reinterpret_cast<WPARAM>(main()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), wait);
}

TEST_F(WindowTest, AnotherDpiScalesTheWholeWindow) {
    RECT suggested;
    GetWindowRect(main(), &suggested);
    SendMessageW(main(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(program.window().dpi(), 144);
    RECT client;
    GetClientRect(main(), &client);
    EXPECT_EQ(client.right, 876);
    EXPECT_EQ(client.bottom, 441);
    // Frame1 at (6360, 1920) twips, Option3 120, 1080 twips further on.
    const RECT option3 = rectInClient(control(ControlId::Option3));
    EXPECT_EQ(option3.left, 636 + 12);
    EXPECT_EQ(option3.top, 192 + 108);
    EXPECT_EQ(option3.right - option3.left, twipsToPixels(1455, 144));
    EXPECT_EQ(fontOf(control(ControlId::Text1)).lfHeight, -24) << "12 pt at 144 DPI";
}

// Also run at 192 DPI (with-display.sh --dpi), where the design's place
// would put the buttons off the 1280×1024 screen.
TEST_F(WindowTest, TheWholeWindowIsInsideTheWorkArea) {
    const char* runDpi = std::getenv("VELNORKA_TEST_DPI");
    const int dpi = runDpi ? std::atoi(runDpi) : 96;
    ASSERT_EQ(program.window().dpi(), dpi) << "the DPI this run was set up for";
    RECT window;
    GetWindowRect(main(), &window);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(main(), MONITOR_DEFAULTTONEAREST), &monitor));
    const RECT& work = monitor.rcWork;
    EXPECT_GE(window.left, work.left);
    EXPECT_GE(window.top, work.top);
    EXPECT_LE(window.right, work.right);
    EXPECT_LE(window.bottom, work.bottom);

    RECT client;
    GetClientRect(main(), &client);
    EXPECT_EQ(client.right, twipsToPixels(formClientWidth, dpi)) << "the size stays the design's";
    EXPECT_EQ(client.bottom, twipsToPixels(formClientHeight, dpi));
    // Moved no further than needed: the client area where the design puts
    // it, or the window against the edge it would cross.
    POINT origin = {0, 0};
    ClientToScreen(main(), &origin);
    EXPECT_TRUE(origin.x == twipsToPixels(formClientLeft, dpi) || window.right == work.right)
        << "client area at x " << origin.x << ", window's right edge at " << window.right;
    EXPECT_TRUE(origin.y == twipsToPixels(formClientTop, dpi) || window.bottom == work.bottom)
        << "client area at y " << origin.y << ", window's bottom edge at " << window.bottom;
}

TEST_F(WindowTest, ClosingTheWindowEndsTheMessageLoop) {
    const HWND hwnd = main();
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(runMessageLoop(program.window()), 0);
    EXPECT_FALSE(IsWindow(hwnd));
}

// The name a screen reader reads for the box: an annotation on Text1 through
// the system's accessibility property service, made when a client first asks
// for the box (COM is not started for the window to show) and cleared when
// the window goes.
TEST(WindowAccessibilityTest, Text1IsNamedForScreenReaders) {
    AccessibilityRecorder recorder;
    ASSERT_TRUE(recorder.registered());
    HWND text = nullptr;
    {
        MersenneRandom random{seed};
        Program program{GetModuleHandleW(nullptr), random};
        program.start(SW_SHOWNORMAL);
        text = program.window().control(ControlId::Text1);
        EXPECT_TRUE(recorder.set().empty()) << "no COM before a client asks";
        // What a client's AccessibleObjectFromWindow or UI Automation sends first.
        SendMessageW(text, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
        SendMessageW(text, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
        ASSERT_EQ(recorder.set().size(), 1u) << "named once";
        const Annotation& name = recorder.set()[0];
        EXPECT_EQ(name.hwnd, text);
        EXPECT_EQ(name.idObject, static_cast<DWORD>(OBJID_CLIENT));
        EXPECT_EQ(name.idChild, static_cast<DWORD>(CHILDID_SELF));
        EXPECT_TRUE(name.property == PROPID_ACC_NAME);
        EXPECT_EQ(name.value, L"Pracovní list");
        EXPECT_TRUE(recorder.cleared().empty());
        // Nothing visible: no control was added for the name.
        EXPECT_EQ(windowText(text), L"");
        EXPECT_EQ(GetWindow(program.window().hwnd(), GW_CHILD), text);
    }
    ASSERT_EQ(recorder.cleared().size(), 1u);
    EXPECT_EQ(recorder.cleared()[0].hwnd, text);
    EXPECT_TRUE(recorder.cleared()[0].property == PROPID_ACC_NAME);
}

}  // namespace
}  // namespace velnorka::win32::test
