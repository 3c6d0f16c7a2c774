#pragma once
// Stands in for Windows' accessibility property service (CLSID_AccPropServices)
// in this process while it lives: COM hands it out to whoever creates the
// service, and it notes the annotations made and cleared. Under Wine the real
// service does not keep annotations, so this is how a test sees them.
#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

namespace velnorka::win32::test {

struct Annotation {
    HWND hwnd = nullptr;
    DWORD idObject = 0;
    DWORD idChild = 0;
    MSAAPROPID property = {};
    std::wstring value;  // empty where the call clears
};

class AccessibilityRecorder {
public:
    AccessibilityRecorder();
    ~AccessibilityRecorder();
    AccessibilityRecorder(const AccessibilityRecorder&) = delete;
    AccessibilityRecorder& operator=(const AccessibilityRecorder&) = delete;

    bool registered() const { return cookie_ != 0; }
    const std::vector<Annotation>& set() const;
    const std::vector<Annotation>& cleared() const;

private:
    bool comStarted_ = false;
    DWORD cookie_ = 0;
};

}  // namespace velnorka::win32::test
