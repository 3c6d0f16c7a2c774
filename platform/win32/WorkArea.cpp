#include "platform/win32/WorkArea.h"

#include <algorithm>

namespace velnorka::win32 {

namespace {

// Where a span of `length` starting at `start` goes within [low, high).
LONG placeOnAxis(LONG start, LONG length, LONG low, LONG high) {
    if (length > high - low) return low + (high - low - length) / 2;
    return std::clamp(start, low, high - length);
}

}  // namespace

POINT placeInWorkArea(const RECT& wanted, HMONITOR monitor) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!monitor || !GetMonitorInfoW(monitor, &info)) return {wanted.left, wanted.top};
    const RECT& work = info.rcWork;
    return {placeOnAxis(wanted.left, wanted.right - wanted.left, work.left, work.right),
            placeOnAxis(wanted.top, wanted.bottom - wanted.top, work.top, work.bottom)};
}

void keepInWorkArea(HWND hwnd) {
    RECT rect;
    if (!GetWindowRect(hwnd, &rect)) return;
    const POINT corner = placeInWorkArea(rect, MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST));
    if (corner.x == rect.left && corner.y == rect.top) return;
    SetWindowPos(hwnd, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace velnorka::win32
