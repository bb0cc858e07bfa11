#include "windows/accessible.h"

#include "windows/win_controls.h"

#include <commctrl.h>
#include <oleacc.h>

#include <atomic>
#include <utility>

namespace windows {

namespace {

// Apart from the controls' own subclasses (id 1).
constexpr UINT_PTR kAccessibleSubclassId = 0xACC;

bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The standard object of a window's client area with the design's name,
// description and role for the control itself; for its parts (a list's
// rows) and for everything else it is the standard object. It keeps its
// own copy of the texts, so that it may outlive the window. Like every COM
// object it is deleted only by its own Release, never through the interface.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class DesignedAccessible final : public IAccessible {
public:
    DesignedAccessible(IAccessible* standard, AccessibleText text) : standard_(standard), text_(std::move(text))
    {
        standard_->AddRef();
    }
    DesignedAccessible(const DesignedAccessible&) = delete;
    DesignedAccessible& operator=(const DesignedAccessible&) = delete;

    // IUnknown. The standard object's other interfaces (IEnumVARIANT over
    // the children, IOleWindow, IServiceProvider) are its own.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, __uuidof(IAccessible))) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        return standard_->QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++count_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --count_;
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch: through IAccessible's type information from oleacc's type
    // library, so that a call by name or DISPID reaches this object's own
    // methods and gives the same answers; without the type library, the
    // standard object's.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override
    {
        if (!n)
            return E_INVALIDARG;
        if (!typeInfo())
            return standard_->GetTypeInfoCount(n);
        *n = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override
    {
        if (!info)
            return E_INVALIDARG;
        if (!typeInfo())
            return standard_->GetTypeInfo(index, locale, info);
        if (index != 0)
            return DISP_E_BADINDEX;
        *info = typeInfo();
        (*info)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT n, LCID locale, DISPID* ids) override
    {
        if (!typeInfo())
            return standard_->GetIDsOfNames(iid, names, n, locale, ids);
        if (!IsEqualIID(iid, IID_NULL))
            return DISP_E_UNKNOWNINTERFACE;
        return DispGetIDsOfNames(typeInfo(), names, n, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argument) override
    {
        if (!typeInfo())
            return standard_->Invoke(id, iid, locale, flags, params, result, exception, argument);
        if (!IsEqualIID(iid, IID_NULL))
            return DISP_E_UNKNOWNINTERFACE;
        return DispInvoke(static_cast<IAccessible*>(this), typeInfo(), id, flags, params, result, exception, argument);
    }

    // IAccessible: what the design gives.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (!isSelf(child) || text_.name.empty())
            return standard_->get_accName(child, name);
        return copy(text_.name, name);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        if (!isSelf(child) || text_.description.empty())
            return standard_->get_accDescription(child, description);
        return copy(text_.description, description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!isSelf(child) || text_.role == 0)
            return standard_->get_accRole(child, role);
        if (!role)
            return E_INVALIDARG;
        VariantInit(role);
        role->vt = VT_I4;
        role->lVal = text_.role;
        return S_OK;
    }

    // IAccessible: the standard object's.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* n) override { return standard_->get_accChildCount(n); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override
    {
        return standard_->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override
    {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override
    {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override
    {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return standard_->put_accValue(child, value);
    }

private:
    ~DesignedAccessible()
    {
        if (typeInfo_)
            typeInfo_->Release();
        standard_->Release();
    }

    // IAccessible's type information, loaded when first asked for; null
    // where the type library is missing.
    ITypeInfo* typeInfo()
    {
        if (!typeInfo_ && !typeInfoMissing_) {
            ITypeLib* library = nullptr;
            if (SUCCEEDED(LoadRegTypeLib(LIBID_Accessibility, 1, 1, LOCALE_NEUTRAL, &library))) {
                if (FAILED(library->GetTypeInfoOfGuid(__uuidof(IAccessible), &typeInfo_)))
                    typeInfo_ = nullptr;
                library->Release();
            }
            typeInfoMissing_ = typeInfo_ == nullptr;
        }
        return typeInfo_;
    }

    static HRESULT copy(const std::wstring& text, BSTR* out)
    {
        if (!out)
            return E_INVALIDARG;
        *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    IAccessible* standard_;
    AccessibleText text_;
    ITypeInfo* typeInfo_ = nullptr;
    bool typeInfoMissing_ = false;
    std::atomic<ULONG> count_{1};
};
#pragma GCC diagnostic pop

LRESULT CALLBACK accessibleProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/, DWORD_PTR data)
{
    auto* text = reinterpret_cast<AccessibleText*>(data);
    switch (message) {
    case WM_GETOBJECT:
        // The object id comes as a 32-bit value, sign-extended or not.
        if (static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
            if (const LRESULT answer = answerGetObject(hwnd, wParam, *text); answer > 0)
                return answer;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, &accessibleProc, kAccessibleSubclassId);
        delete text;
        break;
    default: break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace

long accessibleRole(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Picture: return ROLE_SYSTEM_GRAPHIC;
    case ControlKind::List: return ROLE_SYSTEM_LIST;
    case ControlKind::Text: return ROLE_SYSTEM_TEXT;
    case ControlKind::Button: return ROLE_SYSTEM_PUSHBUTTON;
    case ControlKind::Label: return ROLE_SYSTEM_STATICTEXT;
    }
    return 0;
}

AccessibleText accessibleText(const ControlDesign& design)
{
    return AccessibleText{.name = widen(design.accessibleName),
                          .description = widen(design.accessibleDescription),
                          .role = accessibleRole(design.kind)};
}

void makeAccessible(HWND hwnd, const ControlDesign& design)
{
    auto* text = new AccessibleText(accessibleText(design));
    if (!SetWindowSubclass(hwnd, &accessibleProc, kAccessibleSubclassId, reinterpret_cast<DWORD_PTR>(text)))
        delete text;
}

LRESULT answerGetObject(HWND hwnd, WPARAM flags, const AccessibleText& text)
{
    IAccessible* standard = nullptr;
    if (FAILED(
            CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard)))
        || !standard)
        return 0;
    auto* designed = new DesignedAccessible(standard, text);
    standard->Release();
    const LRESULT answer = LresultFromObject(__uuidof(IAccessible), flags, designed);
    designed->Release();
    // A negative answer is a failure (an HRESULT): the system answers then.
    return answer > 0 ? answer : 0;
}

ComApartment::ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

ComApartment::~ComApartment()
{
    if (initialised_)
        CoUninitialize();
}

} // namespace windows
