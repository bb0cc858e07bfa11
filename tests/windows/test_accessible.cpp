// What the Windows controls give a screen reader, read in the program's own
// process through Active Accessibility: the design's name, description and
// role for each control itself, and the standard object's answers for its
// parts and everything else. msaa-wine.sh reads the running program from
// another process.

#include "app/layout.h"
#include "app/trivyrhnik.h"
#include "windows/accessible.h"
#include "windows/win_controls.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>

using windows::WinForm;

namespace {

VARIANT child(long id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// A control's client object as a screen reader asks for it, or with
// `standard` the system's standard object for it.
struct Object {
    explicit Object(HWND hwnd, bool standard = false)
    {
        hr = standard
            ? CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&p))
            : AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&p));
    }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    ~Object()
    {
        if (p)
            p->Release();
    }
    std::string text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), long id = CHILDID_SELF) const
    {
        BSTR value = nullptr;
        if (FAILED((p->*get)(child(id), &value)) || !value)
            return "(none)";
        std::string out = windows::narrow(std::wstring(value, SysStringLen(value)));
        SysFreeString(value);
        return out;
    }
    long number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), long id = CHILDID_SELF) const
    {
        VARIANT v;
        VariantInit(&v);
        if (FAILED((p->*get)(child(id), &v)) || v.vt != VT_I4) {
            VariantClear(&v);
            return -1;
        }
        return v.lVal;
    }

    IAccessible* p = nullptr;
    HRESULT hr = E_FAIL;
};

class Accessible : public testing::Test {
protected:
    Accessible() : form(app::trivyrhnikDesign(), GetModuleHandleW(nullptr)), window(form, {"."})
    {
        form.dispatch([&] { window.Form_Load(); });
    }
    windows::ComApartment com;
    WinForm form;
    app::Trivyrhnik window;
};

// Each control of the design, found in the form.
HWND controlWindow(WinForm& form, const ui::ControlDesign& c)
{
    switch (c.kind) {
    case ui::ControlKind::Picture: return form.Picture1().hwnd();
    case ui::ControlKind::List: return form.List1(c.index).hwnd();
    case ui::ControlKind::Text: return form.Text1(c.index).hwnd();
    case ui::ControlKind::Button: return form.Command1(c.index).hwnd();
    case ui::ControlKind::Label: return form.Label1(c.index).hwnd();
    }
    return nullptr;
}

TEST_F(Accessible, EveryControlHasTheDesignsNameDescriptionAndRole)
{
    for (const auto& c : app::trivyrhnikDesign().controls) {
        SCOPED_TRACE(c.name + "(" + std::to_string(c.index) + ")");
        const Object o(controlWindow(form, c));
        ASSERT_TRUE(SUCCEEDED(o.hr) && o.p);
        EXPECT_EQ(o.text(&IAccessible::get_accName), c.accessibleName);
        if (!c.accessibleDescription.empty()) {
            EXPECT_EQ(o.text(&IAccessible::get_accDescription), c.accessibleDescription);
        }
        EXPECT_EQ(o.number(&IAccessible::get_accRole), windows::accessibleRole(c.kind));
    }
}

// The control's parts (a list's rows) and everything but its own name,
// description and role are the standard object's: the same answer, and the
// expected one where wine's standard object gives one.
struct ForwardCase {
    const char* name;
    std::function<HWND(WinForm&)> control;
    std::function<std::string(const Object&)> read;
    std::optional<std::string> expected;
};

void PrintTo(const ForwardCase& c, std::ostream* out) { *out << c.name; }

class Forwarded : public Accessible, public testing::WithParamInterface<ForwardCase> {};

TEST_P(Forwarded, AsTheStandardObjectGivesIt)
{
    // Three points: the lists have three rows, "Изчисли" is enabled.
    for (const auto& [x, y] : {std::pair{12, 12}, {42, 12}, {12, 52}})
        SendMessageW(form.Picture1().hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    const Object o(GetParam().control(form));
    const Object standard(GetParam().control(form), true);
    ASSERT_TRUE(SUCCEEDED(o.hr) && o.p && SUCCEEDED(standard.hr) && standard.p);
    EXPECT_EQ(GetParam().read(o), GetParam().read(standard));
    if (GetParam().expected) {
        EXPECT_EQ(GetParam().read(o), *GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Parts, Forwarded,
    testing::Values(
        ForwardCase{"list_rows_counted", [](WinForm& f) { return f.List1(0).hwnd(); },
                    [](const Object& o) {
                        long n = -1;
                        o.p->get_accChildCount(&n);
                        return std::to_string(n);
                    },
                    std::nullopt},
        ForwardCase{"list_row_name", [](WinForm& f) { return f.List1(0).hwnd(); },
                    [](const Object& o) { return o.text(&IAccessible::get_accName, 2); }, std::nullopt},
        ForwardCase{"list_row_description", [](WinForm& f) { return f.List1(0).hwnd(); },
                    [](const Object& o) { return o.text(&IAccessible::get_accDescription, 1); }, std::nullopt},
        ForwardCase{"list_row_role", [](WinForm& f) { return f.List1(1).hwnd(); },
                    [](const Object& o) { return std::to_string(o.number(&IAccessible::get_accRole, 3)); },
                    std::nullopt},
        ForwardCase{"surface_location", [](WinForm& f) { return f.Picture1().hwnd(); },
                    [](const Object& o) {
                        long left = 0, top = 0, width = 0, height = 0;
                        o.p->accLocation(&left, &top, &width, &height, child(CHILDID_SELF));
                        return std::to_string(width) + "x" + std::to_string(height);
                    },
                    "339x233"},
        ForwardCase{"enabled_button_available", [](WinForm& f) { return f.Command1(0).hwnd(); },
                    [](const Object& o) {
                        return (o.number(&IAccessible::get_accState) & STATE_SYSTEM_UNAVAILABLE) ? "unavailable"
                                                                                                 : "available";
                    },
                    "available"},
        ForwardCase{"hidden_list_invisible", [](WinForm& f) { return f.List1(2).hwnd(); },
                    [](const Object& o) {
                        return (o.number(&IAccessible::get_accState) & STATE_SYSTEM_INVISIBLE) ? "invisible"
                                                                                               : "visible";
                    },
                    "invisible"},
        ForwardCase{"report_box_value_is_its_text", [](WinForm& f) { return f.Text1(0).hwnd(); },
                    [](const Object& o) {
                        return o.text(&IAccessible::get_accValue).substr(0, std::string("Нека имаме").size());
                    },
                    "Нека имаме"}),
    [](const auto& info) { return std::string(info.param.name); });

// A client that calls through IDispatch (by DISPID, or by name through
// GetIDsOfNames) gets the same answers as through the interface.
struct DispatchCase {
    const char* name;
    std::function<DISPID(IAccessible*)> id;
    std::string expected;
};

void PrintTo(const DispatchCase& c, std::ostream* out) { *out << c.name; }

class ByDispatch : public Accessible, public testing::WithParamInterface<DispatchCase> {};

TEST_P(ByDispatch, SameAnswersAsTheInterface)
{
    const Object o(form.Picture1().hwnd());
    ASSERT_TRUE(SUCCEEDED(o.hr) && o.p);
    VARIANT argument = child(CHILDID_SELF);
    DISPPARAMS params{&argument, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(o.p->Invoke(GetParam().id(o.p), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &params, &result,
                          nullptr, nullptr),
              S_OK);
    std::string got = "type " + std::to_string(result.vt);
    if (result.vt == VT_BSTR)
        got = windows::narrow(std::wstring(result.bstrVal, SysStringLen(result.bstrVal)));
    else if (result.vt == VT_I4)
        got = std::to_string(result.lVal);
    VariantClear(&result);
    EXPECT_EQ(got, GetParam().expected);
}

DISPID byName(IAccessible* object, const wchar_t* name)
{
    std::wstring text = name;
    LPOLESTR names[] = {text.data()};
    DISPID id = DISPID_UNKNOWN;
    object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return id;
}

INSTANTIATE_TEST_SUITE_P(
    Surface, ByDispatch,
    testing::Values(
        DispatchCase{"name", [](IAccessible*) { return DISPID_ACC_NAME; }, "Чертожна площ"},
        DispatchCase{"description", [](IAccessible*) { return DISPID_ACC_DESCRIPTION; },
                     app::trivyrhnikDesign().find("Picture1", 0)->accessibleDescription},
        DispatchCase{"role", [](IAccessible*) { return DISPID_ACC_ROLE; }, std::to_string(ROLE_SYSTEM_GRAPHIC)},
        DispatchCase{"name_by_name", [](IAccessible* o) { return byName(o, L"accName"); }, "Чертожна площ"}),
    [](const auto& info) { return std::string(info.param.name); });

// A screen reader may keep an object after its window has gone: it still
// answers, from its own copy of the design's texts.
TEST(AccessibleAfterTheWindow, KeepsItsNameAndFailsTheRest)
{
    const windows::ComApartment com;
    IAccessible* kept = nullptr;
    {
        WinForm form(app::trivyrhnikDesign(), GetModuleHandleW(nullptr));
        ASSERT_TRUE(SUCCEEDED(AccessibleObjectFromWindow(form.Picture1().hwnd(), OBJID_CLIENT, __uuidof(IAccessible),
                                                         reinterpret_cast<void**>(&kept))));
    }
    ASSERT_NE(kept, nullptr);
    BSTR name = nullptr;
    ASSERT_EQ(kept->get_accName(child(CHILDID_SELF), &name), S_OK);
    EXPECT_EQ(windows::narrow(std::wstring(name, SysStringLen(name))), "Чертожна площ");
    SysFreeString(name);
    long left = 0, top = 0, width = 0, height = 0;
    EXPECT_FALSE(SUCCEEDED(kept->accLocation(&left, &top, &width, &height, child(CHILDID_SELF))) && width > 0
                 && height > 0);
    kept->Release();
}

} // namespace
