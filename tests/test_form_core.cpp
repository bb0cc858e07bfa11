// The form's behaviour that every edition shares: the keyboard focus moves
// on from a control that becomes disabled or hidden to the next one in Tab
// order that can take it; the Tab order and the drawing area come from the
// design.

#include "app/layout.h"
#include "app/trivyrhnik.h"
#include "ui/form_core.h"
#include "ui/memory/memory_controls.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using ui::ControlKind;
using ui::ControlRef;

constexpr ControlRef kReport{ControlKind::Text, 0};
constexpr ControlRef kNotes{ControlKind::Text, 1};
constexpr ControlRef kListX{ControlKind::List, 0};
constexpr ControlRef kListY{ControlKind::List, 1};
constexpr ControlRef kCalculate{ControlKind::Button, 0};
constexpr ControlRef kClear{ControlKind::Button, 1};
constexpr ControlRef kDelete{ControlKind::Button, 2};
constexpr ControlRef kSurface{ControlKind::Picture, 0};
constexpr ControlRef kTitle{ControlKind::Label, 0};

std::string nameOf(std::optional<ControlRef> c)
{
    if (!c)
        return "none";
    return std::string(ui::arrayName(c->kind)) + "(" + std::to_string(c->index) + ")";
}

// The window from its design, loaded, with its focus where it starts.
struct DesignWindow {
    DesignWindow()
    {
        form.dispatch([&] { window.Form_Load(); });
    }
    ui::memory::MemoryForm form{app::trivyrhnikDesign()};
    app::Trivyrhnik window{form, {"."}};
};

struct Step {
    enum Op { Points, SelectRow, Focus, Press, Disable, Enable, Hide, Show } op;
    ControlRef control{};
};

struct FocusCase {
    const char* name;
    std::vector<Step> steps;
    std::optional<ControlRef> focus;
};

void PrintTo(const FocusCase& c, std::ostream* os) { *os << c.name; }

class FocusRuleTest : public testing::TestWithParam<FocusCase> {};

TEST_P(FocusRuleTest, FocusAfterTheSteps)
{
    DesignWindow w;
    auto& form = w.form;
    for (const Step& s : GetParam().steps) {
        switch (s.op) {
        case Step::Points:
            for (const float x : {10.0F, 40.0F, 10.0F})
                form.dispatch([&] { form.Picture1().pressMouse(x, x == 10.0F ? 10.0F : 50.0F, 1); });
            break;
        case Step::SelectRow: form.List1(0).userSelect(1); break;
        case Step::Focus: form.setFocus(s.control); break;
        // A press that leaves the focus where it is: a key of the window,
        // a screen reader's action.
        case Step::Press: form.Command1(s.control.index).userClick(); break;
        case Step::Disable: form.Command1(s.control.index).setEnabled(false); break;
        case Step::Enable: form.Command1(s.control.index).setEnabled(true); break;
        case Step::Hide: form.setControlShown(s.control, false); break;
        case Step::Show: form.setControlShown(s.control, true); break;
        }
    }
    EXPECT_EQ(nameOf(form.focused()), nameOf(GetParam().focus));
}

const FocusCase kFocusCases[] = {
    {"starts_in_the_report_box", {}, kReport},
    // "Изчисли" disables itself after its run: the next button takes over.
    {"calculate_moves_on_to_clear", {{Step::Points}, {Step::Focus, kCalculate}, {Step::Press, kCalculate}}, kClear},
    {"calculate_leaves_a_list_focused", {{Step::Points}, {Step::Focus, kListY}, {Step::Press, kCalculate}}, kListY},
    // "Изтрий" disables "Изчисли", which has not the focus, and stays enabled.
    {"delete_keeps_its_focus",
     {{Step::Points}, {Step::SelectRow}, {Step::Focus, kDelete}, {Step::Press, kDelete}},
     kDelete},
    {"delete_pressed_while_calculate_is_focused",
     {{Step::Points}, {Step::SelectRow}, {Step::Focus, kCalculate}, {Step::Press, kDelete}},
     kClear},
    {"clear_pressed_while_calculate_is_focused",
     {{Step::Points}, {Step::Focus, kCalculate}, {Step::Press, kClear}},
     kClear},
    // The run disables "Изтрий" too: the focus goes on past the labels and
    // the hidden list to the surface.
    {"calculate_pressed_while_delete_is_focused",
     {{Step::Points}, {Step::Focus, kDelete}, {Step::Press, kCalculate}},
     kSurface},
    // Disabled buttons, hidden controls and labels are passed over.
    {"passes_over_disabled_buttons",
     {{Step::Points},
      {Step::Disable, kClear},
      {Step::Disable, kDelete},
      {Step::Focus, kCalculate},
      {Step::Disable, kCalculate}},
     kSurface},
    {"hidden_list_moves_on", {{Step::Focus, kListX}, {Step::Hide, kListX}}, kListY},
    {"hidden_list_passes_over_the_disabled_calculate", {{Step::Focus, kListY}, {Step::Hide, kListY}}, kClear},
    {"last_in_tab_order_wraps_to_the_first", {{Step::Focus, kSurface}, {Step::Hide, kSurface}}, kReport},
    {"hidden_first_control_moves_on", {{Step::Hide, kReport}}, kListX},
    {"shown_again_takes_its_place_in_the_order",
     {{Step::Hide, kNotes}, {Step::Show, kNotes}, {Step::Hide, kReport}},
     kNotes},
    {"hiding_another_control_leaves_the_focus", {{Step::Focus, kListX}, {Step::Hide, kListY}}, kListX},
    {"disabling_another_button_leaves_the_focus", {{Step::Focus, kClear}, {Step::Disable, kDelete}}, kClear},
    {"enabling_takes_no_focus", {{Step::Focus, kListX}, {Step::Enable, kCalculate}}, kListX},
    {"disabling_an_unfocused_button_twice", {{Step::Disable, kDelete}, {Step::Disable, kDelete}}, kReport},
    // With no other control to go to, the focus stays.
    {"nowhere_else_to_go",
     {{Step::Disable, kClear},
      {Step::Disable, kDelete},
      {Step::Hide, kListX},
      {Step::Hide, kListY},
      {Step::Hide, kSurface},
      {Step::Hide, kReport}},
     kReport},
};

INSTANTIATE_TEST_SUITE_P(Cases, FocusRuleTest, testing::ValuesIn(kFocusCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Where the focus goes when the window gets it back.
struct ReturnCase {
    const char* name;
    std::optional<ControlRef> left;
    std::vector<ControlRef> hidden;
    std::optional<ControlRef> focus;
};

void PrintTo(const ReturnCase& c, std::ostream* os) { *os << c.name; }

class FocusReturnTest : public testing::TestWithParam<ReturnCase> {};

TEST_P(FocusReturnTest, BackToTheControlLeft)
{
    DesignWindow w;
    auto& form = w.form;
    for (const ControlRef c : GetParam().hidden)
        form.setControlShown(c, false);
    EXPECT_EQ(nameOf(form.focusReturn(GetParam().left)), nameOf(GetParam().focus));
}

INSTANTIATE_TEST_SUITE_P(Cases, FocusReturnTest,
                         testing::Values(ReturnCase{"the_list_left", kListY, {}, kListY},
                                         ReturnCase{"none_left", std::nullopt, {}, kReport},
                                         // "Изчисли" is disabled after the start.
                                         ReturnCase{"a_control_that_cannot_take_it_now", kCalculate, {}, kClear},
                                         ReturnCase{"a_label", kTitle, {}, kListX},
                                         ReturnCase{"none_left_and_the_first_hidden", std::nullopt, {kReport}, kListX}),
                         [](const auto& info) { return std::string(info.param.name); });

// The design's Tab order, labels and hidden controls included.
TEST(FormCore, TabOrderFollowsTheDesign)
{
    std::vector<std::string> names;
    const ui::FormDesign design = app::trivyrhnikDesign();
    for (const auto* c : ui::tabOrder(design))
        names.push_back(c->name + "(" + std::to_string(c->index) + ")");
    const std::vector<std::string> expected
        = {"Text1(0)",    "Text1(1)",  "Label1(0)", "List1(0)", "List1(1)",    "Command1(0)", "Command1(1)",
           "Command1(2)", "Label1(1)", "Label1(2)", "List1(2)", "Picture1(0)", "Label1(3)"};
    EXPECT_EQ(names, expected);
}

TEST(FormCore, EqualTabIndicesKeepTheDesignsOrder)
{
    ui::FormDesign d;
    for (const char* name : {"b", "a", "c"}) {
        ui::ControlDesign c{};
        c.kind = ControlKind::Label;
        c.name = name;
        c.tabIndex = name[0] == 'c' ? 0 : 1;
        d.controls.push_back(c);
    }
    std::string names;
    for (const auto* c : ui::tabOrder(d))
        names += c->name;
    EXPECT_EQ(names, "cba");
}

struct AreaCase {
    ui::PixelSize outer, inner;
};

class DrawingAreaTest : public testing::TestWithParam<AreaCase> {};

TEST_P(DrawingAreaTest, InsideTheFrame) { EXPECT_EQ(ui::drawingArea(GetParam().outer), GetParam().inner); }

INSTANTIATE_TEST_SUITE_P(Sizes, DrawingAreaTest,
                         testing::Values(AreaCase{{339, 233}, {335, 229}}, AreaCase{{4, 4}, {0, 0}},
                                         AreaCase{{3, 10}, {0, 6}}, AreaCase{{0, 0}, {0, 0}}));

TEST(FormCore, TheDesignsDrawingArea)
{
    const ui::FormDesign design = app::trivyrhnikDesign();
    const auto* picture = design.find("Picture1", 0);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(ui::drawingArea(*picture), (ui::PixelSize{335, 229}));
}

} // namespace

// The list click rule of every edition's lists, as the toolkits tell of the
// user's presses: one press is one click, whether the toolkit tells of its
// selection once, twice or not at all (the row was selected already); a
// drag over other rows clicks each; the keyboard's selections click each.
struct PressCase {
    const char* name;
    int selectedBefore;
    // p<row>: a press begins over the row (p- below the rows); s<row>: the
    // toolkit tells of the user's selection; r: the press ends; c<row>: code
    // selects the row.
    const char* events;
    int clicks;
    int selectedAfter;
};

void PrintTo(const PressCase& c, std::ostream* os) { *os << c.name; }

class ListClickRuleTest : public testing::TestWithParam<PressCase> {};

TEST_P(ListClickRuleTest, OneClickPerPress)
{
    const auto& c = GetParam();
    for (const bool raisesOnCode : {false, true}) {
        ui::memory::MemoryForm form;
        auto& list = form.List1(0);
        list.setRaisesOnCodeChange(raisesOnCode);
        for (const char* row : {"10", "40", "10"})
            list.addItem(row);
        list.setListIndex(c.selectedBefore);
        int clicks = 0;
        list.onClick([&] { ++clicks; });
        const std::string events = c.events;
        for (size_t i = 0; i < events.size(); ++i) {
            const char op = events[i];
            int row = -1;
            if (op != 'r' && events[i + 1] != '-')
                row = events[i + 1] - '0';
            if (op != 'r')
                ++i;
            switch (op) {
            case 'p': list.pressBegan(row); break;
            case 's': list.userSelect(row); break;
            case 'r': list.pressEnded(); break;
            case 'c': list.setListIndex(row); break;
            default: FAIL() << "unknown event " << op;
            }
        }
        const bool codeClicks = raisesOnCode && std::string(c.events).find('c') != std::string::npos;
        EXPECT_EQ(clicks, c.clicks + (codeClicks ? 1 : 0)) << "raises on code: " << raisesOnCode;
        EXPECT_EQ(list.listIndex(), c.selectedAfter);
    }
}

INSTANTIATE_TEST_SUITE_P(Presses, ListClickRuleTest,
                         testing::Values(PressCase{"press_selects_a_row", -1, "p1s1r", 1, 1},
                                         PressCase{"told_at_press_and_release", 0, "p1s1s1r", 1, 1},
                                         PressCase{"told_at_release", 0, "p2s2r", 1, 2},
                                         PressCase{"press_on_the_selected_row_tells_nothing", 1, "p1r", 1, 1},
                                         PressCase{"press_on_an_unselected_row_tells_nothing", 0, "p2r", 1, 2},
                                         PressCase{"drag_over_two_rows", 0, "p1s1s2r", 2, 2},
                                         PressCase{"drag_back_to_the_first_row", 0, "p1s1s2s1r", 3, 1},
                                         PressCase{"press_below_the_rows", 1, "p-r", 0, 1},
                                         PressCase{"release_without_a_press", 1, "r", 0, 1},
                                         PressCase{"keys_outside_a_press", 0, "s1s2s2", 3, 2},
                                         PressCase{"next_press_clicks_again", 1, "p1rp1r", 2, 1},
                                         PressCase{"code_selects_during_a_press", 0, "p1c2r", 1, 1},
                                         PressCase{"row_that_does_not_exist", 1, "p7s7r", 0, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// The click rule of the lists that keep their own rows (the in-memory ones
// and the page's): a user's selection is always a click, a selection by code
// of a different row is one at once, of the same row or of none is not.
struct ListRuleCase {
    const char* name;
    int selectedBefore;
    bool byUser;
    int row;
    int clicks;
    int selectedAfter;
};

class ListClickRule : public testing::TestWithParam<ListRuleCase> {};

TEST_P(ListClickRule, ClicksAndSelection)
{
    const auto& c = GetParam();
    // A list whose toolkit raises the click for a selection made by code.
    ui::memory::MemoryForm form;
    auto& list = form.List1(0);
    list.setRaisesOnCodeChange(true);
    for (const char* t : {"10", "40", "10"})
        list.addItem(t);
    list.setListIndex(c.selectedBefore);
    int clicks = 0;
    list.onClick([&] { ++clicks; });
    if (c.byUser)
        list.userSelect(c.row);
    else
        list.setListIndex(c.row);
    EXPECT_EQ(clicks, c.clicks);
    EXPECT_EQ(list.listIndex(), c.selectedAfter);
}

INSTANTIATE_TEST_SUITE_P(Rows, ListClickRule,
                         testing::Values(ListRuleCase{"code_selects_row_0", -1, false, 0, 1, 0},
                                         ListRuleCase{"code_selects_another_row", 0, false, 2, 1, 2},
                                         ListRuleCase{"code_sets_the_selected_row", 1, false, 1, 0, 1},
                                         ListRuleCase{"code_removes_the_selection", 1, false, -1, 0, -1},
                                         ListRuleCase{"code_selects_no_such_row", 1, false, 3, 0, 1},
                                         ListRuleCase{"user_selects_row_0", -1, true, 0, 1, 0},
                                         ListRuleCase{"user_selects_the_selected_row", 1, true, 1, 1, 1},
                                         ListRuleCase{"user_selects_no_such_row", 1, true, 3, 0, 1}),
                         [](const auto& info) { return std::string(info.param.name); });
