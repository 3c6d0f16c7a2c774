// The Windows program's entry point.
#include <windows.h>
#include <commctrl.h>

#include <exception>

#include "platform/Random.h"
#include "platform/win32/Program.h"
#include "platform/win32/WideText.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // Loads the themed controls that the manifest asks for.
    INITCOMMONCONTROLSEX controlsToLoad = {sizeof controlsToLoad, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controlsToLoad);
    try {
        velnorka::MersenneRandom random;
        velnorka::win32::Program program(instance, random);
        program.start(showCommand);
        return velnorka::win32::runMessageLoop(program.window());
    } catch (const std::exception& error) {
        // Only the start can fail here: every event is handled inside Form1.
        std::wstring text = L"Program se nepodařilo spustit.";
        try {
            text = velnorka::win32::widen(error.what());
        } catch (...) {
        }
        MessageBoxW(nullptr, text.c_str(), L"Velnorka", MB_OK | MB_ICONERROR);
    } catch (...) {
        MessageBoxW(nullptr, L"Program se nepodařilo spustit.", L"Velnorka", MB_OK | MB_ICONERROR);
    }
    return 1;
}
