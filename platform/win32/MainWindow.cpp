#include "platform/win32/MainWindow.h"

#include <commctrl.h>
#include <initguid.h>  // the GUIDs of oleacc.h defined here
#include <oleacc.h>

#include <string>

#include "platform/Errors.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WorkArea.h"

namespace velnorka::win32 {

namespace {

constexpr wchar_t className[] = L"VelnorkaForm1";
// Fixed size: a caption with the system menu and a minimise box.
constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD windowExStyle = 0;

template <typename Function>
Function moduleFunction(HMODULE module, const char* name) {
    if (!module) return nullptr;
    // Through void(*)() to tell the compiler the signature change is meant.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Functions of newer Windows versions, looked up so that the program still
// starts on Windows 7.
template <typename Function>
Function user32Function(const char* name) {
    return moduleFunction<Function>(GetModuleHandleW(L"user32.dll"), name);
}

// COM, loaded only when an accessibility client first asks for Text1: the
// window does not wait for it to show.
template <typename Function>
Function ole32Function(const char* name) {
    static const HMODULE ole32 = LoadLibraryW(L"ole32.dll");
    return moduleFunction<Function>(ole32, name);
}

int screenDpi(HWND hwnd) {
    const HDC dc = GetDC(hwnd);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(hwnd, dc);
    return dpi > 0 ? dpi : 96;
}

int windowDpi(HWND hwnd) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow) {
        const UINT dpi = getDpiForWindow(hwnd);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return screenDpi(hwnd);
}

// The DPI a new window gets unless it opens on a screen of another.
int systemDpi() {
    using GetDpiForSystemFunction = UINT(WINAPI*)();
    static const auto getDpiForSystem = user32Function<GetDpiForSystemFunction>("GetDpiForSystem");
    if (getDpiForSystem) {
        const UINT dpi = getDpiForSystem();
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return screenDpi(nullptr);
}

// The outer rectangle (relative to the client origin) of a window whose
// client area is the design's at the given DPI.
RECT frameForClient(int dpi) {
    RECT rect = {0, 0, twipsToPixels(formClientWidth, dpi), twipsToPixels(formClientHeight, dpi)};
    using AdjustFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = user32Function<AdjustFunction>("AdjustWindowRectExForDpi");
    if (!adjustForDpi || !adjustForDpi(&rect, windowStyle, FALSE, windowExStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&rect, windowStyle, FALSE, windowExStyle);
    return rect;
}

// The window's outer rectangle on the screen at the given DPI: the client
// area where the design puts it, unless that leaves part of the window off
// the work area (a high DPI on a small screen).
RECT placedFrame(int dpi) {
    RECT frame = frameForClient(dpi);
    OffsetRect(&frame, twipsToPixels(formClientLeft, dpi), twipsToPixels(formClientTop, dpi));
    const POINT corner = placeInWorkArea(frame, MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST));
    OffsetRect(&frame, corner.x - frame.left, corner.y - frame.top);
    return frame;
}

HFONT createText1Font(int dpi) {
    LOGFONTW font = {};
    font.lfHeight = -MulDiv(text1Font.points, dpi, 72);
    font.lfWeight = text1Font.weight;
    font.lfCharSet = static_cast<BYTE>(text1Font.charset);
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const std::wstring face = widen(text1Font.face);
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&font);
}

// The desktop's message font, the one dialogs use, at the given DPI.
HFONT createMessageFont(int dpi) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    using ParametersForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto parametersForDpi =
        user32Function<ParametersForDpiFunction>("SystemParametersInfoForDpi");
    if (parametersForDpi &&
        parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi)))
        return CreateFontIndirectW(&metrics.lfMessageFont);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
    // These metrics are for the system DPI; the window may be on another screen.
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, screenDpi(nullptr));
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

// No access keys: a '&' in a caption is shown as it is.
std::wstring captionText(std::string_view caption) {
    std::wstring text;
    for (const wchar_t c : widen(caption)) {
        if (c == L'&') text += L'&';
        text += c;
    }
    return text;
}

std::size_t indexOf(ControlId id) {
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].id == id) return i;
    return 0;
}

bool isOption(ControlId id) {
    return id == ControlId::Option1 || id == ControlId::Option2 || id == ControlId::Option3;
}

// Text1 keeps its caret and selection when it receives the focus by Tab:
// without DLGC_HASSETSEL the dialog manager does not select all of it, and
// the next keystroke cannot replace the whole worksheet.
// Screen readers and UI Automation reach the box through WM_GETOBJECT: it
// gets its name there, before any client can read it.
LRESULT CALLBACK text1Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR window) {
    switch (message) {
        case WM_GETDLGCODE:
            return DefSubclassProc(hwnd, message, wParam, lParam) & ~static_cast<LRESULT>(DLGC_HASSETSEL);
        case WM_GETOBJECT:
            reinterpret_cast<MainWindow*>(window)->nameText1();
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, text1Proc, 0);
            break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

RECT controlRect(const ControlSpec& entry, int dpi) {
    int left = twipsToPixels(entry.left, dpi);
    int top = twipsToPixels(entry.top, dpi);
    if (entry.inFrame) {
        const ControlSpec& frame = control(ControlId::Frame1);
        left += twipsToPixels(frame.left, dpi);
        top += twipsToPixels(frame.top, dpi);
    }
    return {left, top, left + twipsToPixels(entry.width, dpi), top + twipsToPixels(entry.height, dpi)};
}

int controlId(ControlId id) { return 100 + static_cast<int>(id); }

MainWindow::MainWindow(HINSTANCE instance) : dpi_(systemDpi()) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    // Resource 1 is the program's icon; a program without one gets the default.
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw PlatformError("Okno programu se nepodařilo vytvořit.");
    // Made once, at its place and size and with its controls laid out for
    // the DPI it is expected to get.
    const RECT frame = placedFrame(dpi_);
    if (!CreateWindowExW(windowExStyle, className, widen(formCaption).c_str(), windowStyle, frame.left,
                         frame.top, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                         nullptr, instance, this))
        throw PlatformError("Okno programu se nepodařilo vytvořit.");
    try {
        createFonts();
        createControls(instance);
        // It opened on a screen of another DPI.
        if (const int dpi = windowDpi(hwnd_); dpi != dpi_) {
            const RECT placed = placedFrame(dpi);
            applyDpi(dpi, {placed.left, placed.top});
        }
        if (fitClientArea()) keepInWorkArea(hwnd_);
    } catch (...) {
        destroy();
        throw;
    }
}

MainWindow::~MainWindow() { destroy(); }

void MainWindow::destroy() {
    unnameText1();
    if (comStarted_) {
        using CoUninitializeFunction = void(WINAPI*)();
        if (const auto coUninitialize = ole32Function<CoUninitializeFunction>("CoUninitialize"))
            coUninitialize();
    }
    comStarted_ = false;
    if (hwnd_) {
        // Detached first: the end of this object is not the program's end.
        const HWND hwnd = hwnd_;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        DestroyWindow(hwnd);
    }
    if (textFont_) DeleteObject(textFont_);
    if (messageFont_) DeleteObject(messageFont_);
    textFont_ = messageFont_ = nullptr;
}

void MainWindow::setEventHandler(std::function<void(FormEvent)> handler) {
    handler_ = std::move(handler);
}

void MainWindow::setFailureHandler(std::function<void(std::exception_ptr)> handler) {
    failureHandler_ = std::move(handler);
}

void MainWindow::show(int showCommand) {
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    restoreFocus();
}

HWND MainWindow::control(ControlId id) const { return controls_[indexOf(id)]; }

void MainWindow::createControls(HINSTANCE instance) {
    bool afterOption = false;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlSpec& entry = controls[i];
        DWORD style = WS_CHILD | WS_VISIBLE;
        DWORD exStyle = 0;
        switch (entry.kind) {
            case ControlKind::TextBox:
                // Wraps at the right edge: no horizontal scrolling of any kind.
                style |= WS_TABSTOP | WS_GROUP | WS_VSCROLL | ES_LEFT | ES_MULTILINE |
                         ES_AUTOVSCROLL | ES_WANTRETURN;
                exStyle = WS_EX_CLIENTEDGE;
                break;
            case ControlKind::CommandButton: style |= WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON; break;
            case ControlKind::Frame: style |= WS_GROUP | BS_GROUPBOX; break;
            case ControlKind::OptionButton:
                // One group from the first option button to the next control
                // that starts a group (every other control does).
                style |= BS_AUTORADIOBUTTON;
                if (!afterOption) style |= WS_GROUP | WS_TABSTOP;
                break;
        }
        afterOption = entry.kind == ControlKind::OptionButton;
        const wchar_t* windowClass = entry.kind == ControlKind::TextBox ? L"Edit" : L"Button";
        const RECT rect = controlRect(entry, dpi_);
        controls_[i] = CreateWindowExW(
            exStyle, windowClass, captionText(entry.caption).c_str(), style, rect.left, rect.top,
            rect.right - rect.left, rect.bottom - rect.top, hwnd_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(entry.id))), instance, nullptr);
        if (!controls_[i]) throw PlatformError("Ovládací prvky okna se nepodařilo vytvořit.");
        // Nothing to redraw yet: the window is hidden.
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(entry)), FALSE);
    }
    // The design sets no limit on the text's length.
    SendMessageW(control(ControlId::Text1), EM_SETLIMITTEXT, 0, 0);
    if (!SetWindowSubclass(control(ControlId::Text1), text1Proc, 0, reinterpret_cast<DWORD_PTR>(this)))
        throw PlatformError("Ovládací prvky okna se nepodařilo vytvořit.");
}

void MainWindow::nameText1() {
    if (namingTried_) return;
    namingTried_ = true;
    // The name is an annotation that Windows' own accessibility proxies of
    // the edit control (MSAA and UI Automation) report. Without COM or the
    // service the box simply stays unnamed.
    using CoInitializeExFunction = HRESULT(WINAPI*)(LPVOID, DWORD);
    using CoCreateInstanceFunction = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
    const auto coInitializeEx = ole32Function<CoInitializeExFunction>("CoInitializeEx");
    const auto coCreateInstance = ole32Function<CoCreateInstanceFunction>("CoCreateInstance");
    if (!coInitializeEx || !coCreateInstance) return;
    comStarted_ = SUCCEEDED(coInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (FAILED(coCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                reinterpret_cast<void**>(&accessibility_))))
        accessibility_ = nullptr;
    if (accessibility_ &&
        FAILED(accessibility_->SetHwndPropStr(control(ControlId::Text1), static_cast<DWORD>(OBJID_CLIENT),
                                              CHILDID_SELF, PROPID_ACC_NAME,
                                              widen(text1AccessibleName).c_str()))) {
        accessibility_->Release();
        accessibility_ = nullptr;
    }
}

void MainWindow::unnameText1() {
    if (!accessibility_) return;
    // Annotations stay until they are cleared; Text1 still exists here.
    const MSAAPROPID name = PROPID_ACC_NAME;
    if (const HWND text = control(ControlId::Text1); text && IsWindow(text))
        accessibility_->ClearHwndProps(text, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &name, 1);
    accessibility_->Release();
    accessibility_ = nullptr;
}

void MainWindow::createFonts() {
    textFont_ = createText1Font(dpi_);
    messageFont_ = createMessageFont(dpi_);
}

HFONT MainWindow::fontFor(const ControlSpec& entry) const {
    if (entry.kind == ControlKind::TextBox) return textFont_;
    return messageFont_ ? messageFont_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void MainWindow::applyDpi(int dpi, POINT corner) {
    const HFONT oldTextFont = textFont_;
    const HFONT oldMessageFont = messageFont_;
    dpi_ = dpi;
    createFonts();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const RECT rect = controlRect(controls[i], dpi);
        MoveWindow(controls_[i], rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   TRUE);
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(controls[i])), TRUE);
    }
    // The controls no longer use the old fonts.
    if (oldTextFont) DeleteObject(oldTextFont);
    if (oldMessageFont) DeleteObject(oldMessageFont);
    const RECT frame = frameForClient(dpi);
    SetWindowPos(hwnd_, nullptr, corner.x, corner.y, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

bool MainWindow::fitClientArea() {
    // The frame may differ from what AdjustWindowRectEx foretold (a caption
    // that wraps, a DPI change the frame does not follow): correct by the
    // difference actually measured.
    RECT client;
    RECT outer;
    if (!GetClientRect(hwnd_, &client) || !GetWindowRect(hwnd_, &outer)) return false;
    const int extraWidth = twipsToPixels(formClientWidth, dpi_) - client.right;
    const int extraHeight = twipsToPixels(formClientHeight, dpi_) - client.bottom;
    if (extraWidth == 0 && extraHeight == 0) return false;
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left + extraWidth,
                 outer.bottom - outer.top + extraHeight, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    return true;
}

void MainWindow::setBusy(bool busy) {
    busy_ = busy;
    if (busy) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return;
    }
    // Let the window under the pointer choose its pointer again at once.
    POINT point;
    if (!GetCursorPos(&point)) return;
    const HWND under = WindowFromPoint(point);
    if (under && (under == hwnd_ || IsChild(hwnd_, under))) {
        const LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
        SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                     MAKELPARAM(static_cast<WORD>(hit), WM_MOUSEMOVE));
    }
}

void MainWindow::updateOptionTabStop() {
    HWND stop = nullptr;
    for (const ControlSpec& entry : controls)
        if (isOption(entry.id) && !stop &&
            SendMessageW(control(entry.id), BM_GETCHECK, 0, 0) == BST_CHECKED)
            stop = control(entry.id);
    if (!stop) stop = control(ControlId::Option1);
    for (const ControlSpec& entry : controls) {
        if (!isOption(entry.id)) continue;
        const HWND option = control(entry.id);
        const LONG_PTR style = GetWindowLongPtrW(option, GWL_STYLE);
        const LONG_PTR wanted =
            option == stop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
        if (wanted != style) SetWindowLongPtrW(option, GWL_STYLE, wanted);
    }
}

bool MainWindow::handleDialogKeys(MSG& message) {
    return hwnd_ && IsDialogMessageW(hwnd_, &message);
}

void MainWindow::restoreFocus() {
    const bool remembered = lastFocus_ && IsWindow(lastFocus_) && IsChild(hwnd_, lastFocus_);
    SetFocus(remembered ? lastFocus_ : control(ControlId::Text1));
}

void MainWindow::onClick(int id) {
    for (const ControlSpec& entry : controls) {
        const std::optional<FormEvent> event = clickEvent(entry.id);
        if (controlId(entry.id) != id || !event) continue;
        if (isOption(entry.id)) updateOptionTabStop();
        if (handler_) handler_(*event);
        return;
    }
}

LRESULT CALLBACK MainWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        created->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self) return self->handle(message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    // An exception must not unwind through the system's frames that called
    // the window procedure.
    try {
        return handleMessage(message, wParam, lParam);
    } catch (...) {
        try {
            if (failureHandler_) failureHandler_(std::current_exception());
        } catch (...) {
        }
        return 0;
    }
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = hwnd_;
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
                onClick(LOWORD(wParam));
                return 0;
            }
            break;
        case WM_SETCURSOR:
            if (busy_) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        case WM_ACTIVATE:
            // A plain window forgets its focused control when it is deactivated.
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus && IsChild(hwnd, focus)) lastFocus_ = focus;
            } else if (!HIWORD(wParam)) {
                restoreFocus();
            }
            return 0;
        case WM_SETFOCUS:
            restoreFocus();
            return 0;
        case WM_DPICHANGED: {
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            applyDpi(HIWORD(wParam), {suggested->left, suggested->top});
            fitClientArea();
            return 0;
        }
        case DM_GETDEFID: {
            // Enter on a focused command button presses it, as in a dialog;
            // otherwise no button is the default.
            const HWND focus = GetFocus();
            for (const ControlSpec& entry : controls)
                if (entry.kind == ControlKind::CommandButton && focus == control(entry.id))
                    return MAKELRESULT(controlId(entry.id), DC_HASDEFID);
            return 0;
        }
        case WM_NEXTDLGCTL: {
            // A multi-line EDIT asks its parent to move on at Tab; a plain
            // window has to do what a dialog would.
            HWND next = reinterpret_cast<HWND>(wParam);
            if (!LOWORD(lParam)) next = GetNextDlgTabItem(hwnd, GetFocus(), wParam != 0);
            if (next && IsChild(hwnd, next)) {
                if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
                    SendMessageW(next, EM_SETSEL, 0, -1);
                SetFocus(next);
            }
            return 0;
        }
        case WM_DESTROY:
            unnameText1();
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void processMessage(MainWindow& window, MSG& message) {
    if (window.handleDialogKeys(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int runMessageLoop(MainWindow& window) {
    MSG message;
    for (;;) {
        const BOOL result = GetMessageW(&message, nullptr, 0, 0);
        if (result == 0) return static_cast<int>(message.wParam);
        if (result == -1) return 1;
        processMessage(window, message);
    }
}

}  // namespace velnorka::win32
