// A small Active Accessibility client: reads the running program's window
// as a Windows screen reader does and prints it, one line per object, in
// UTF-8 with line feeds:
//
//   msaa_client            the tree: the window's client area, then each
//                          child window (AccessibleChildren) by its client
//                          area's object, indented by two blanks:
//                          role "name" "description" and its states
//                          (unavailable, invisible)
//   msaa_client --standard the same tree as the system's standard objects
//                          give it, without the program's answer
//   msaa_client --focus    the name of the object with the keyboard focus
//                          (GetGUIThreadInfo, then its client area's name);
//                          "(none)" where no window of the program has it
//
// It waits up to ten seconds for the window. Exit status 0, 1 on a failure,
// 2 on a wrong command line.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <oleacc.h>

#include <array>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr const wchar_t* kWindowClass = L"TrivyrhnikWindow";

void write(const std::wstring& text)
{
    const std::wstring line = text + L"\n";
    const int n
        = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), bytes.data(), n, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::wstring hresult(HRESULT hr)
{
    std::array<wchar_t, 16> text{};
    swprintf(text.data(), text.size(), L"0x%08lx", static_cast<unsigned long>(hr));
    return text.data();
}

int failure(const std::wstring& what)
{
    write(L"FAIL: " + what);
    return 1;
}

// A COM interface pointer released at the end of its scope.
template <typename T>
class Ref {
public:
    Ref() = default;
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    ~Ref()
    {
        if (p_)
            p_->Release();
    }
    T** out() { return &p_; }
    T* operator->() const { return p_; }
    T* get() const { return p_; }

private:
    T* p_ = nullptr;
};

VARIANT self()
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

std::wstring text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), IAccessible* object)
{
    BSTR value = nullptr;
    if (FAILED((object->*get)(self(), &value)) || !value)
        return {};
    std::wstring out(value, SysStringLen(value));
    SysFreeString(value);
    return out;
}

std::wstring roleName(IAccessible* object)
{
    VARIANT role;
    VariantInit(&role);
    if (FAILED(object->get_accRole(self(), &role)))
        return L"(no role)";
    if (role.vt != VT_I4) {
        VariantClear(&role);
        return L"(role not a number)";
    }
    switch (role.lVal) {
    case ROLE_SYSTEM_CLIENT: return L"client";
    case ROLE_SYSTEM_WINDOW: return L"window";
    case ROLE_SYSTEM_GRAPHIC: return L"graphic";
    case ROLE_SYSTEM_LIST: return L"list";
    case ROLE_SYSTEM_LISTITEM: return L"listitem";
    case ROLE_SYSTEM_TEXT: return L"text";
    case ROLE_SYSTEM_PUSHBUTTON: return L"pushbutton";
    case ROLE_SYSTEM_STATICTEXT: return L"statictext";
    default: return L"role " + std::to_wstring(role.lVal);
    }
}

std::wstring states(IAccessible* object)
{
    VARIANT state;
    VariantInit(&state);
    if (FAILED(object->get_accState(self(), &state)) || state.vt != VT_I4) {
        VariantClear(&state);
        return L" (no state)";
    }
    std::wstring out;
    if (state.lVal & STATE_SYSTEM_UNAVAILABLE)
        out += L" unavailable";
    if (state.lVal & STATE_SYSTEM_INVISIBLE)
        out += L" invisible";
    return out;
}

// The object of a window's client area: the window's own answer, or with
// `standard` the system's standard object.
HRESULT clientObject(HWND hwnd, bool standard, IAccessible** out)
{
    if (standard)
        return CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(out));
    return AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(out));
}

std::wstring line(IAccessible* object)
{
    return roleName(object) + L" \"" + text(&IAccessible::get_accName, object) + L"\" \""
        + text(&IAccessible::get_accDescription, object) + L"\"" + states(object);
}

int printTree(HWND window, bool standard)
{
    Ref<IAccessible> top;
    if (const HRESULT hr = clientObject(window, standard, top.out()); FAILED(hr) || !top.get())
        return failure(L"no object for the window's client area: " + hresult(hr));
    write(line(top.get()));

    long count = 0;
    if (FAILED(top->get_accChildCount(&count)) || count <= 0)
        return failure(L"the window's client area has no children");
    std::vector<VARIANT> children(static_cast<size_t>(count));
    long got = 0;
    if (FAILED(AccessibleChildren(top.get(), 0, count, children.data(), &got)))
        return failure(L"AccessibleChildren failed");
    int status = 0;
    for (long i = 0; i < got; ++i) {
        VARIANT& child = children[static_cast<size_t>(i)];
        HWND hwnd = nullptr;
        if (child.vt == VT_DISPATCH && child.pdispVal) {
            Ref<IAccessible> object;
            if (SUCCEEDED(
                    child.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(object.out()))))
                WindowFromAccessibleObject(object.get(), &hwnd);
        }
        VariantClear(&child);
        Ref<IAccessible> client;
        if (!hwnd || FAILED(clientObject(hwnd, standard, client.out())) || !client.get()) {
            status = failure(L"child " + std::to_wstring(i) + L" is no window with a client area");
            continue;
        }
        write(L"  " + line(client.get()));
    }
    return status;
}

int printFocus(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return failure(L"GetGUIThreadInfo failed");
    if (!info.hwndFocus) {
        write(L"(none)");
        return 0;
    }
    Ref<IAccessible> focused;
    if (FAILED(clientObject(info.hwndFocus, false, focused.out())) || !focused.get())
        return failure(L"no object for the focused window");
    write(text(&IAccessible::get_accName, focused.get()));
    return 0;
}

HWND waitForWindow()
{
    for (int i = 0; i < 100; ++i) {
        if (HWND hwnd = FindWindowW(kWindowClass, nullptr))
            return hwnd;
        Sleep(100);
    }
    return nullptr;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (argc > 2 || (!mode.empty() && mode != L"--standard" && mode != L"--focus")) {
        write(L"usage: msaa_client [--standard | --focus]");
        return 2;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return failure(L"CoInitializeEx failed");
    int status = 0;
    if (HWND window = waitForWindow(); !window)
        status = failure(L"the program's window did not appear");
    else if (mode == L"--focus")
        status = printFocus(window);
    else
        status = printTree(window, mode == L"--standard");
    CoUninitialize();
    return status;
}
