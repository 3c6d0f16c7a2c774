#pragma once
// The Windows program: the window, its platform services and Form1 wired
// together. wWinMain and the window tests build it the same way.
#include "platform/Random.h"
#include "platform/win32/MainWindow.h"
#include "platform/win32/Win32Platform.h"
#include "window/Form1.h"

namespace velnorka::win32 {

class Program {
public:
    // Creates the window and its controls. Throws PlatformError.
    Program(HINSTANCE instance, RandomSource& random);

    // Raises Form1's load event, then shows the window with the focus in Text1.
    void start(int showCommand);

    MainWindow& window() { return window_; }
    Win32Platform& platform() { return platform_; }
    Form1& form() { return form_; }

private:
    MainWindow window_;
    Win32Platform platform_;
    Form1 form_;
};

}  // namespace velnorka::win32
