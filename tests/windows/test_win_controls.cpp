// The Windows edition's controls on the real Win32 controls, under wine:
// the user's decimal separator, the Ctrl+A handler of the report box, the
// list click rule, the surface's pixel under the pointer, the tab order and a
// whole run whose report the edit control holds with its CR LF lines.

#include "app/layout.h"
#include "app/trivyrhnik.h"
#include "windows/win_controls.h"

#include "fixed_drawings.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

using windows::WinForm;

namespace {

struct Window {
    Window() : form(app::trivyrhnikDesign(), GetModuleHandleW(nullptr)), window(form, {"."})
    {
        form.dispatch([&] { window.Form_Load(); });
    }
    // A press of a mouse button at a device pixel of the surface's window.
    void press(int x, int y, UINT message = WM_LBUTTONDOWN, WPARAM keys = MK_LBUTTON)
    {
        SendMessageW(form.Picture1().hwnd(), message, keys, MAKELPARAM(x, y));
    }
    // A click with the mouse on a row of a list, at the row's middle.
    void clickRow(int list, int row)
    {
        HWND l = form.List1(list).hwnd();
        RECT r{};
        ASSERT_NE(SendMessageW(l, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r)), LB_ERR);
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(l, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(l, WM_LBUTTONUP, 0, at);
    }
    std::wstring shown(HWND control) const
    {
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
        return text;
    }

    WinForm form;
    app::Trivyrhnik window;
};

struct SeparatorCase {
    const char* name;
    std::wstring setting;
    std::string separator;
};

class DecimalSeparator : public testing::TestWithParam<SeparatorCase> {};

TEST_P(DecimalSeparator, FromTheUsersSetting)
{
    EXPECT_EQ(windows::decimalSeparatorFrom(GetParam().setting), GetParam().separator);
}

INSTANTIATE_TEST_SUITE_P(Settings, DecimalSeparator,
                         testing::Values(SeparatorCase{"comma", L",", ","}, SeparatorCase{"full_stop", L".", "."},
                                         SeparatorCase{"arabic_decimal_separator", L"\u066B", "\u066B"},
                                         SeparatorCase{"two_characters", L".,", ".,"},
                                         // Text that could not be told from the number.
                                         SeparatorCase{"empty", L"", "."}, SeparatorCase{"digit", L"0", "."},
                                         SeparatorCase{"minus", L"-", "."}, SeparatorCase{"exponent_letter", L"E", "."},
                                         SeparatorCase{"line_break", L"\r\n", "."},
                                         SeparatorCase{"four_characters", L",,,,", "."}),
                         [](const auto& info) { return std::string(info.param.name); });

struct KeyCase {
    const char* name;
    UINT message;
    WPARAM key;
    bool ctrl, alt;
    bool handled, selectsAll;
};

class CtrlA : public testing::TestWithParam<KeyCase> {};

// The handler itself, on a real multi-line edit control with the caret at
// the start: wine's own control selects all on Ctrl+A, Windows' does not.
TEST_P(CtrlA, SelectsTheWholeReport)
{
    Window w;
    HWND edit = w.form.Text1(0).hwnd();
    SendMessageW(edit, EM_SETSEL, 0, 0);
    const auto& c = GetParam();
    EXPECT_EQ(windows::selectAllOnCtrlA(edit, c.message, c.key, c.ctrl, c.alt), c.handled);
    DWORD first = 1, last = 1;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
    EXPECT_EQ(first, 0u);
    EXPECT_EQ(last, c.selectsAll ? static_cast<DWORD>(GetWindowTextLengthW(edit)) : 0u);
}

INSTANTIATE_TEST_SUITE_P(Keys, CtrlA,
                         testing::Values(KeyCase{"ctrl_a", WM_KEYDOWN, 'A', true, false, true, true},
                                         KeyCase{"a_alone", WM_KEYDOWN, 'A', false, false, false, false},
                                         // AltGr is Ctrl+Alt: a character, not a command.
                                         KeyCase{"altgr_a", WM_KEYDOWN, 'A', true, true, false, false},
                                         KeyCase{"ctrl_c", WM_KEYDOWN, 'C', true, false, false, false},
                                         // The character of Ctrl+A is swallowed: no beep.
                                         KeyCase{"ctrl_a_character", WM_CHAR, 1, true, false, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WinControls, ReportBoxHoldsTheTextWithItsCrLfLines)
{
    struct Row {
        std::string given;
        std::wstring shown;
    };
    const Row rows[] = {
        {"а\r\nб\r\n", L"а\r\nб\r\n"},
        {"lone\nline feed", L"lone\r\nline feed"},
        {"lone\rreturn", L"lone\r\nreturn"},
        {"", L""},
    };
    Window w;
    for (const auto& row : rows) {
        w.form.Text1(0).setText(row.given);
        EXPECT_EQ(w.form.Text1(0).text(), row.given);
        EXPECT_EQ(w.shown(w.form.Text1(0).hwnd()), row.shown);
    }
}

// A failure of the program itself in a handler, also in one nested in it:
// the outermost handler reports it once, the texts given before it are
// shown, and the window goes on.
TEST(WinControls, FailingHandlerIsReportedAndTheWindowGoesOn)
{
    Window w;
    std::vector<std::string> reported;
    w.form.onFailure([&](const std::string& what) { reported.push_back(what); });
    w.form.dispatch([&] {
        w.form.Text1(0).setText("before\r\n");
        w.form.dispatch([] { throw std::runtime_error("the handler failed"); });
        EXPECT_TRUE(reported.empty()) << "reported inside the outer handler";
    });
    EXPECT_EQ(reported, std::vector<std::string>{"the handler failed"});
    EXPECT_EQ(w.shown(w.form.Text1(0).hwnd()), L"before\r\n");
    w.form.dispatch([&] { w.form.Text1(0).setText("after\r\n"); });
    EXPECT_EQ(w.shown(w.form.Text1(0).hwnd()), L"after\r\n");
    EXPECT_EQ(reported.size(), 1u);
}

struct PressCase {
    const char* name;
    double scale;
    int deviceX, deviceY;
    bool inside;
    int x, y;
};

class SurfacePress : public testing::TestWithParam<PressCase> {};

// The logical pixel under the pointer: the two-pixel frame (three device
// pixels at 1.5) is not the drawing area.
TEST_P(SurfacePress, LogicalPixelUnderThePointer)
{
    Window w;
    const auto& c = GetParam();
    auto& picture = w.form.Picture1();
    SetWindowPos(picture.hwnd(), nullptr, 0, 0, static_cast<int>(std::lround(339 * c.scale)),
                 static_cast<int>(std::lround(233 * c.scale)), SWP_NOMOVE | SWP_NOZORDER);
    picture.fit(c.scale);
    EXPECT_EQ(picture.canvas().width(), 335);
    EXPECT_EQ(picture.canvas().height(), 229);
    int x = -1, y = -1;
    EXPECT_EQ(picture.logicalPixel(c.deviceX, c.deviceY, x, y), c.inside);
    if (c.inside) {
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.y);
    }
}

INSTANTIATE_TEST_SUITE_P(Places, SurfacePress,
                         testing::Values(PressCase{"first_pixel", 1.0, 2, 2, true, 0, 0},
                                         PressCase{"on_the_frame", 1.0, 1, 5, false, 0, 0},
                                         PressCase{"last_pixel", 1.0, 336, 230, true, 334, 228},
                                         PressCase{"frame_at_the_right", 1.0, 337, 100, false, 0, 0},
                                         PressCase{"scale_1_5_first", 1.5, 3, 3, true, 0, 0},
                                         PressCase{"scale_1_5_inside", 1.5, 19, 18, true, 10, 10},
                                         PressCase{"scale_1_5_frame", 1.5, 2, 40, false, 0, 0},
                                         PressCase{"scale_2_inside", 2.0, 24, 25, true, 10, 10},
                                         // 424 device pixels wide, frame 3: the buffer's 419th column
                                         // (x = 421) lies on the frame.
                                         PressCase{"scale_1_25_last", 1.25, 420, 287, true, 333, 227},
                                         PressCase{"scale_1_25_frame_at_the_right", 1.25, 421, 100, false, 0, 0},
                                         PressCase{"scale_1_75_frame_below", 1.75, 100, 404, false, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WinControls, PressesAddPointsWithEveryButton)
{
    Window w;
    w.press(12, 12);
    w.press(42, 12, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT);
    w.press(1, 30); // on the frame: nothing
    w.press(12, 52, WM_MBUTTONDOWN, MK_MBUTTON);
    ASSERT_EQ(w.form.List1(0).listCount(), 3);
    EXPECT_EQ(w.form.List1(0).list(1), "40");
    EXPECT_EQ(w.form.List1(1).list(2), "50");
    EXPECT_EQ(w.form.List1(2).list(0), "219"); // 229 - 10
    EXPECT_TRUE(w.form.Command1(0).isEnabled());
}

// A click on a row selects it in all three lists and marks its point red;
// a click on the row that is already selected raises the click again; rows
// selected by code raise nothing.
TEST(WinControls, ListClicks)
{
    Window w;
    w.press(12, 12);
    w.press(42, 12);
    w.press(12, 52);
    int clicks = 0;
    w.form.List1(1).onClick([&] {
        ++clicks;
        w.window.List1_Click(1);
    });
    const ui::Rgb red = ui::rgb(255, 0, 0), black = ui::rgb(0, 0, 0);

    w.clickRow(1, 1);
    EXPECT_EQ(clicks, 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(w.form.List1(i).listIndex(), 1) << i;
    EXPECT_EQ(w.form.Picture1().canvas().at(40, 10), red);
    EXPECT_EQ(w.form.Picture1().canvas().at(10, 10), black);

    // Over the red point, a row click paints it anew: repainted black here
    // by code, the click on the same row makes it red again.
    w.form.Picture1().pset(40, 10, black);
    w.clickRow(1, 1);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(w.form.Picture1().canvas().at(40, 10), red);

    w.form.List1(1).setListIndex(2);
    w.form.List1(1).setListIndex(2);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(w.form.List1(1).listIndex(), 2);

    w.form.List1(1).removeItem(0);
    EXPECT_EQ(w.form.List1(1).listIndex(), -1);
    EXPECT_EQ(w.form.List1(1).list(0), "10");
}

struct ListPressCase {
    const char* name;
    int selectedBefore;
    int row; // -1: below the rows
    int clicks;
    WPARAM key = 0; // a key pressed in the list instead
};

class ListPress : public testing::TestWithParam<ListPressCase> {};

// A press on a row is a click, also on the selected row; a press on the
// empty part below the rows is none; a key that moves the selection is one.
TEST_P(ListPress, ClicksOnlyOnARow)
{
    Window w;
    w.press(12, 12);
    w.press(42, 12);
    w.press(12, 52);
    const auto& c = GetParam();
    auto& list = w.form.List1(0);
    list.setListIndex(c.selectedBefore);
    int clicks = 0;
    list.onClick([&] { ++clicks; });
    if (c.key != 0) {
        SendMessageW(list.hwnd(), WM_KEYDOWN, c.key, 0);
        SendMessageW(list.hwnd(), WM_KEYUP, c.key, 0);
    } else if (c.row >= 0) {
        w.clickRow(0, c.row);
    } else {
        RECT r{};
        GetClientRect(list.hwnd(), &r);
        const LPARAM at = MAKELPARAM(5, r.bottom - 3);
        SendMessageW(list.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(list.hwnd(), WM_LBUTTONUP, 0, at);
    }
    EXPECT_EQ(clicks, c.clicks);
    EXPECT_EQ(list.listIndex(), c.row < 0 ? c.selectedBefore : c.row);
}

INSTANTIATE_TEST_SUITE_P(
    Places, ListPress,
    testing::Values(ListPressCase{"on_a_row", -1, 1, 1}, ListPressCase{"on_row_0", -1, 0, 1},
                    ListPressCase{"on_the_selected_row_0", 0, 0, 1}, ListPressCase{"on_the_selected_row", 1, 1, 1},
                    ListPressCase{"below_the_rows", 2, -1, 0}, ListPressCase{"below_the_rows_none_selected", -1, -1, 0},
                    ListPressCase{"home_key", 2, 0, 1, VK_HOME}, ListPressCase{"down_key", 0, 1, 1, VK_DOWN}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WinControls, DisabledButtonIgnoresClicks)
{
    Window w;
    int clicks = 0;
    w.form.Command1(2).onClick([&] { ++clicks; });
    SendMessageW(w.form.Command1(2).hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    w.form.Command1(2).setEnabled(false);
    EXPECT_FALSE(w.form.Command1(2).isEnabled());
    SendMessageW(w.form.Command1(2).hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
}

// Tab visits the shown controls that take the focus in the design's order;
// a disabled button is passed over, hidden controls and labels never come.
TEST(WinControls, TabOrder)
{
    Window w;
    auto& f = w.form;
    const std::vector<HWND> expected = {f.Text1(0).hwnd(),    f.List1(0).hwnd(),    f.List1(1).hwnd(),
                                        f.Command1(1).hwnd(), f.Command1(2).hwnd(), f.Picture1().hwnd()};
    ShowWindow(f.hwnd(), SW_SHOWNA);
    HWND at = expected.front();
    for (size_t i = 1; i <= expected.size(); ++i) {
        at = GetNextDlgTabItem(f.hwnd(), at, FALSE);
        EXPECT_EQ(at, expected[i % expected.size()]) << "step " << i;
    }
}

// A key pressed and released on the control that has the focus, through
// the window's message loop (the dialog manager first).
void key(WinForm& form, WPARAM vk)
{
    for (const UINT message : {WM_KEYDOWN, WM_KEYUP}) {
        MSG msg{GetFocus(), message, vk, message == WM_KEYDOWN ? 1 : 0xC0000001, 0, {}};
        form.deliver(msg);
    }
}

struct FocusCase {
    const char* name;
    int button; // pressed from the keyboard
    WPARAM vk; // VK_SPACE or VK_RETURN
    HWND (*focused)(WinForm&); // after the press
    HWND (*afterTab)(WinForm&); // after a further Tab
    int rows; // in the lists after the press
};

HWND clearButton(WinForm& f) { return f.Command1(1).hwnd(); }
HWND deleteButton(WinForm& f) { return f.Command1(2).hwnd(); }
HWND surface(WinForm& f) { return f.Picture1().hwnd(); }

void PrintTo(const FocusCase& c, std::ostream* os) { *os << c.name; }

class FocusAfterKeys : public testing::TestWithParam<FocusCase> {};

// A button that disables itself hands the focus on by the form's rule, the
// keyboard goes on working, and Enter presses the focused button as Space
// does.
TEST_P(FocusAfterKeys, FocusMovesOnAndTabGoesOn)
{
    const auto& c = GetParam();
    Window w;
    auto& f = w.form;
    f.show(SW_SHOW);
    w.press(12, 12);
    w.press(42, 12);
    w.press(12, 52);
    w.clickRow(1, 1);
    SetFocus(f.Command1(c.button).hwnd());
    ASSERT_EQ(GetFocus(), f.Command1(c.button).hwnd());
    key(f, c.vk);
    EXPECT_EQ(f.List1(0).listCount(), c.rows);
    EXPECT_EQ(GetFocus(), c.focused(f));
    key(f, VK_TAB);
    EXPECT_EQ(GetFocus(), c.afterTab(f));
    // Shift+Tab goes back.
    std::array<BYTE, 256> keys{};
    ASSERT_TRUE(GetKeyboardState(keys.data()));
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys.data());
    key(f, VK_TAB);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys.data());
    EXPECT_EQ(GetFocus(), c.focused(f));
}

INSTANTIATE_TEST_SUITE_P(Keys, FocusAfterKeys,
                         testing::Values(FocusCase{"space_on_calculate", 0, VK_SPACE, clearButton, surface, 3},
                                         FocusCase{"enter_on_calculate", 0, VK_RETURN, clearButton, surface, 3},
                                         FocusCase{"enter_on_delete", 2, VK_RETURN, deleteButton, surface, 2},
                                         FocusCase{"space_on_delete", 2, VK_SPACE, deleteButton, surface, 2},
                                         FocusCase{"enter_on_clear", 1, VK_RETURN, clearButton, deleteButton, 0},
                                         FocusCase{"space_on_clear", 1, VK_SPACE, clearButton, deleteButton, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// Enter with the focus on no button presses nothing.
TEST(WinControls, EnterOnAListPressesNothing)
{
    Window w;
    w.form.show(SW_SHOW);
    w.press(12, 12);
    SetFocus(w.form.List1(0).hwnd());
    key(w.form, VK_RETURN);
    EXPECT_EQ(w.form.List1(0).listCount(), 1);
    EXPECT_EQ(GetFocus(), w.form.List1(0).hwnd());
}

// Away to another window and back: the focus is on the control left, and
// where that control can no longer take it, on the next one.
TEST(WinControls, FocusComesBackToTheControlLeft)
{
    Window w;
    auto& f = w.form;
    f.show(SW_SHOW);
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    const auto awayAndBack = [&] {
        SetActiveWindow(other);
        EXPECT_NE(GetActiveWindow(), f.hwnd());
        SetActiveWindow(f.hwnd());
        EXPECT_EQ(GetActiveWindow(), f.hwnd());
    };
    SetFocus(f.List1(1).hwnd());
    awayAndBack();
    EXPECT_EQ(GetFocus(), f.List1(1).hwnd());
    // The window itself given the focus passes it on too.
    SetFocus(f.hwnd());
    EXPECT_EQ(GetFocus(), f.List1(1).hwnd());
    SetFocus(f.Command1(2).hwnd());
    SetActiveWindow(other);
    f.Command1(2).setEnabled(false);
    SetActiveWindow(f.hwnd());
    EXPECT_EQ(GetFocus(), f.Picture1().hwnd());
    DestroyWindow(other);
}

// The focused owner-drawn button shows the focus rectangle inside its frame.
TEST(WinControls, FocusedButtonDrawsTheFocusRectangle)
{
    Window w;
    const auto drawn = [&](UINT state) {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 73, 25);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.itemState = state;
        item.hwndItem = w.form.Command1(1).hwnd();
        item.hDC = dc;
        item.rcItem = RECT{0, 0, 73, 25};
        w.form.Command1(1).draw(item);
        std::vector<COLORREF> row;
        for (int x = 0; x < 73; ++x)
            row.push_back(GetPixel(dc, x, 3));
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return row;
    };
    const auto plain = drawn(0);
    const auto focused = drawn(ODS_FOCUS);
    // Away from the caption, the row of the focus rectangle's top edge.
    int marked = 0;
    for (int x = 6; x < 67; ++x)
        marked += focused[static_cast<size_t>(x)] != plain[static_cast<size_t>(x)] ? 1 : 0;
    EXPECT_GT(marked, 20);
}

std::string expectedReport(const char* name)
{
    std::ifstream in(std::string(TRIVYRHNIK_EXPECTED_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A whole run through the real controls: the edit control shows the report
// byte for byte, CR LF lines included.
TEST(WinControls, RunShowsTheWholeReport)
{
    Window w;
    w.press(12, 12);
    w.press(42, 12);
    w.press(12, 52);
    SendMessageW(w.form.Command1(0).hwnd(), BM_CLICK, 0, 0);
    const std::string expected = expectedReport("right.txt");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(w.form.Text1(0).text(), expected);
    EXPECT_EQ(w.shown(w.form.Text1(0).hwnd()), windows::widen(expected));
    EXPECT_FALSE(w.form.Command1(0).isEnabled());
    EXPECT_FALSE(w.form.Command1(2).isEnabled());
}

// Moved to a monitor at 144 dots per inch (wine itself runs at 96): the
// window and its controls take their places at the new scale, and the
// surface's buffer holds the same drawing as one made at that scale from the
// start; presses still find their logical pixel.
TEST(WinControls, MonitorOfAnotherScale)
{
    const auto run = [](Window& w, int border, double scale) {
        for (const auto& [x, y] : {std::pair{10, 10}, std::pair{40, 10}, std::pair{10, 50}})
            w.press(border + static_cast<int>(x * scale), border + static_cast<int>(y * scale));
        SendMessageW(w.form.Command1(0).hwnd(), BM_CLICK, 0, 0);
    };
    Window moved;
    run(moved, 2, 1.0);
    RECT suggested{100, 100, 100 + 700, 100 + 700};
    SendMessageW(moved.form.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT client{};
    GetClientRect(moved.form.hwnd(), &client);
    EXPECT_EQ(client.right, 692); // 6915 twips at 144 dpi
    EXPECT_EQ(client.bottom, 627);
    RECT list{};
    GetWindowRect(moved.form.List1(0).hwnd(), &list);
    MapWindowPoints(nullptr, moved.form.hwnd(), reinterpret_cast<POINT*>(&list), 2);
    EXPECT_EQ(list.left, 540); // 5400 twips
    EXPECT_EQ(list.top, 84);
    EXPECT_EQ(moved.form.Text1(0).text(), expectedReport("right.txt"));

    Window there;
    SetWindowPos(there.form.Picture1().hwnd(), nullptr, 0, 0, 509, 350, SWP_NOMOVE | SWP_NOZORDER);
    there.form.Picture1().fit(1.5);
    run(there, 3, 1.5);
    EXPECT_EQ(there.form.Text1(0).text(), expectedReport("right.txt"));

    const auto& a = moved.form.Picture1().canvas();
    const auto& b = there.form.Picture1().canvas();
    EXPECT_EQ(a.scale(), 1.5);
    EXPECT_EQ(a.width(), 335);
    EXPECT_EQ(a.height(), 229);
    ASSERT_EQ(a.deviceWidth(), b.deviceWidth());
    ASSERT_EQ(a.deviceHeight(), b.deviceHeight());
    EXPECT_TRUE(a.pixels() == b.pixels());
    EXPECT_EQ(a.at(40, 10), ui::rgb(0, 0, 0));
}

// The whole drawings of tests/fixed_drawings.txt, pressed through the real
// surface at their scale: the edition's buffer has exactly their pixels.
class FixedDrawing : public testing::TestWithParam<testing_support::FixedDrawing> {};

TEST_P(FixedDrawing, HasItsPixels)
{
    const auto& d = GetParam();
    Window w;
    auto& picture = w.form.Picture1();
    SetWindowPos(picture.hwnd(), nullptr, 0, 0, static_cast<int>(std::lround(339 * d.scale)),
                 static_cast<int>(std::lround(233 * d.scale)), SWP_NOMOVE | SWP_NOZORDER);
    picture.fit(d.scale);
    const int border = static_cast<int>(std::lround(2 * d.scale));
    for (int k = 0; k < 3; ++k)
        w.press(border + static_cast<int>((d.points[2 * k] + 0.5) * d.scale),
                border + static_cast<int>((d.points[2 * k + 1] + 0.5) * d.scale));
    SendMessageW(w.form.Command1(0).hwnd(), BM_CLICK, 0, 0);
    const auto& c = picture.canvas();
    ASSERT_EQ(c.deviceWidth(), d.deviceWidth);
    ASSERT_EQ(c.deviceHeight(), d.deviceHeight);
    EXPECT_EQ(w.form.List1(0).list(2), std::to_string(static_cast<int>(d.points[4])));
    const auto hash = testing_support::pixelHash(c.pixels().data(), c.pixels().size());
    EXPECT_EQ(hash, d.hash) << std::hex << hash;
}

INSTANTIATE_TEST_SUITE_P(Drawings, FixedDrawing, testing::ValuesIn(testing_support::fixedDrawings()),
                         [](const auto& info) { return info.param.name; });

} // namespace
