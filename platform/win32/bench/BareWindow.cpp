// Only for scripts/bench-win32-startup.sh: the least a Win32 window program
// does before its window shows, built like velnorka.exe, as the yardstick
// for velnorka.exe's start-up.
#include "BenchWindow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const wchar_t* className = L"VelnorkaBareWindow";
    if (!bench::registerWindowClass(instance, className)) return 1;
    HWND window = CreateWindowExW(0, className, L"Bare window", WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 600, 330, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return bench::runMessageLoop();
}
