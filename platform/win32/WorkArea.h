#pragma once
// Keeps windows where the user can see them: inside the work area of a
// monitor, the screen less the taskbar and docked bars.
#include <windows.h>

namespace velnorka::win32 {

// The top-left corner for a window that would cover `wanted`: that place
// where it lies inside the work area of `monitor`, moved just onto it where
// it does not, centred on it along a side longer than the work area's. The
// size is never changed. Without a work area, `wanted`'s own corner.
POINT placeInWorkArea(const RECT& wanted, HMONITOR monitor);

// Moves a window by placeInWorkArea on the monitor nearest to it.
void keepInWorkArea(HWND hwnd);

}  // namespace velnorka::win32
