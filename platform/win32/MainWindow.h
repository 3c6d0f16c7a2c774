#pragma once
// Form1's native window: the controls of the layout table as Win32 controls.
// It forwards the seven events of the design and nothing else.
#include <windows.h>
#include <oleacc.h>

#include <array>
#include <exception>
#include <functional>

#include "window/Form1.h"
#include "window/Layout.h"

namespace velnorka::win32 {

// Where a control of the table lies in the client area at the given DPI.
// Option buttons are placed relative to Frame1.
RECT controlRect(const ControlSpec& entry, int dpi);

// The control id (GetDlgCtrlID) of a control of the table.
int controlId(ControlId id);

class MainWindow {
public:
    // Creates the window and its controls, hidden. Throws PlatformError.
    explicit MainWindow(HINSTANCE instance);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Receives the load-free events: clicks of the buttons and option buttons.
    void setEventHandler(std::function<void(FormEvent)> handler);

    // Receives what failed while the window handled a message of its own
    // (a DPI change, say): nothing crosses the window procedure.
    void setFailureHandler(std::function<void(std::exception_ptr)> handler);

    // Shows the window with the focus on Text1.
    void show(int showCommand);

    HWND hwnd() const { return hwnd_; }
    HWND control(ControlId id) const;
    int dpi() const { return dpi_; }

    // The hourglass over the whole window while busy.
    void setBusy(bool busy);
    bool busy() const { return busy_; }

    // Keeps the Tab stop of the option group on the checked option button,
    // so that Tab reaches the group once, at its selected button.
    void updateOptionTabStop();

    // Tab, Shift+Tab and the arrows between the controls. True when the
    // message was used up.
    bool handleDialogKeys(MSG& message);

    // Gives Text1 its accessible name, once: at the first WM_GETOBJECT that
    // Text1 receives, so that start-up does not wait for COM.
    void nameText1();

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls(HINSTANCE instance);
    void unnameText1();
    // The fonts of the controls at dpi_.
    void createFonts();
    HFONT fontFor(const ControlSpec& entry) const;
    // Lays the window out anew for another DPI, its top-left corner at
    // `corner` on the screen.
    void applyDpi(int dpi, POINT corner);
    void onClick(int id);
    void restoreFocus();
    void destroy();
    // True when the window had to be resized.
    bool fitClientArea();

    HWND hwnd_ = nullptr;
    std::array<HWND, controls.size()> controls_{};
    HFONT textFont_ = nullptr;
    HFONT messageFont_ = nullptr;
    int dpi_ = 96;
    bool busy_ = false;
    HWND lastFocus_ = nullptr;
    std::function<void(FormEvent)> handler_;
    std::function<void(std::exception_ptr)> failureHandler_;
    IAccPropServices* accessibility_ = nullptr;
    bool comStarted_ = false;
    bool namingTried_ = false;
};

// What the message loop does with each message: the window's dialog keys
// first, then translation and dispatch.
void processMessage(MainWindow& window, MSG& message);

// Runs the message loop until the window is closed; returns WM_QUIT's code.
int runMessageLoop(MainWindow& window);

}  // namespace velnorka::win32
