// Only for scripts/bench-win32-startup.sh: the least a window like
// velnorka.exe's can do before it shows, as the floor for its start-up.
// Built as velnorka.exe is, with its manifest and its client area (at
// 96 DPI, where the benchmark runs): one multi-line EDIT holding a line in
// Times New Roman 12 and one BUTTON.
#include "BenchWindow.h"

namespace {

constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const wchar_t* className = L"VelnorkaFloorWindow";
    if (!bench::registerWindowClass(instance, className)) return 1;
    // velnorka.exe's client area, where it puts it.
    RECT frame = {220, 195, 220 + 584, 195 + 294};
    AdjustWindowRectEx(&frame, windowStyle, FALSE, 0);
    const HWND window = CreateWindowExW(0, className, L"Floor window", windowStyle,
                                        frame.left, frame.top, frame.right - frame.left,
                                        frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    const HWND text = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"Edit", L"Zaokrouhli na desítky: 1 234",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
        8, 8, 401, 217, window, nullptr, instance, nullptr);
    const HWND button = CreateWindowExW(0, L"Button", L"Generuj", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                        424, 8, 145, 33, window, nullptr, instance, nullptr);
    const HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, EASTEUROPE_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, L"Times New Roman");
    SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    SetFocus(text);
    const int status = bench::runMessageLoop();
    DeleteObject(font);
    return status;
}
