#include "AccessibilityRecorder.h"

namespace velnorka::win32::test {

namespace {

std::vector<Annotation> setAnnotations;
std::vector<Annotation> clearedAnnotations;

// One object for the whole process, as the service is to its callers.
class RecordingService final : public IAccPropServices, public IClassFactory {
public:
    // IUnknown: static lifetime, so counting is not needed.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IAccPropServices) {
            *object = static_cast<IAccPropServices*>(this);
        } else if (iid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    // IClassFactory
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        return QueryInterface(iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

    // IAccPropServices: the calls on window handles are noted.
    HRESULT STDMETHODCALLTYPE SetHwndPropStr(HWND hwnd, DWORD idObject, DWORD idChild, MSAAPROPID property,
                                             LPCWSTR value) override {
        setAnnotations.push_back({hwnd, idObject, idChild, property, value ? value : L""});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ClearHwndProps(HWND hwnd, DWORD idObject, DWORD idChild,
                                             const MSAAPROPID* properties, int count) override {
        for (int i = 0; i < count; ++i) clearedAnnotations.push_back({hwnd, idObject, idChild, properties[i], {}});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHwndProp(HWND hwnd, DWORD idObject, DWORD idChild, MSAAPROPID property,
                                          VARIANT) override {
        setAnnotations.push_back({hwnd, idObject, idChild, property, L"(VARIANT)"});
        return S_OK;
    }
    // The rest is not used by the program.
    HRESULT STDMETHODCALLTYPE SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                            AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                                AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                                 AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*, DWORD*) override {
        return E_NOTIMPL;
    }
};

RecordingService service;

}  // namespace

AccessibilityRecorder::AccessibilityRecorder() {
    setAnnotations.clear();
    clearedAnnotations.clear();
    comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (FAILED(CoRegisterClassObject(CLSID_AccPropServices, static_cast<IClassFactory*>(&service),
                                     CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_)))
        cookie_ = 0;
}

AccessibilityRecorder::~AccessibilityRecorder() {
    if (cookie_) CoRevokeClassObject(cookie_);
    if (comStarted_) CoUninitialize();
}

const std::vector<Annotation>& AccessibilityRecorder::set() const { return setAnnotations; }
const std::vector<Annotation>& AccessibilityRecorder::cleared() const { return clearedAnnotations; }

}  // namespace velnorka::win32::test
