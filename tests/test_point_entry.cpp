// Point entry, selection, deletion and the buttons' enabled states, played as
// event sequences on the in-memory window.

#include "report_fixture.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

using namespace testing_support;
using ui::memory::DrawCall;

namespace {

// One user event: "P x y" press, "R x y" right-button press, "L list row"
// row click, "B index" button click.
struct Event {
    char kind;
    float a = 0, b = 0;
};

// What the window shows after an event: rows as "x,y|x,y", the selected row
// of every list (they must agree), and the enabled states of "Изчисли",
// "Изчисти", "Изтрий" as three digits.
struct Expect {
    std::string rows;
    int selected;
    std::string buttons;
};

struct Sequence {
    const char* name;
    std::vector<std::pair<Event, Expect>> steps;
    friend void PrintTo(const Sequence& c, std::ostream* os) { *os << c.name; }
};

std::string rowsOf(MemoryWindow& w)
{
    std::string out;
    for (int r = 0; r < w.form.List1(0).listCount(); ++r) {
        if (r)
            out += "|";
        out += w.form.List1(0).list(r) + "," + w.form.List1(1).list(r);
    }
    return out;
}

std::string buttonsOf(MemoryWindow& w)
{
    std::string out;
    for (int i = 0; i < 3; ++i)
        out += w.form.Command1(i).isEnabled() ? '1' : '0';
    return out;
}

void play(MemoryWindow& w, const Event& e)
{
    switch (e.kind) {
    case 'P': w.press(e.a, e.b, 1); break;
    case 'R': w.press(e.a, e.b, 2); break;
    case 'M': w.press(e.a, e.b, 4); break;
    case 'L': w.form.List1(static_cast<int>(e.a)).userSelect(static_cast<int>(e.b)); break;
    case 'B': w.form.Command1(static_cast<int>(e.a)).userClick(); break;
    default: FAIL() << "unknown event " << e.kind;
    }
}

class EventSequenceTest : public testing::TestWithParam<std::tuple<Sequence, bool>> {};

TEST_P(EventSequenceTest, StateAfterEveryEvent)
{
    const auto& [seq, raiseOnCode] = GetParam();
    MemoryWindow w;
    for (int i = 0; i < 3; ++i)
        w.form.List1(i).setRaisesOnCodeChange(raiseOnCode);
    ASSERT_EQ(buttonsOf(w), "011");
    int n = 0;
    for (const auto& [event, expect] : seq.steps) {
        play(w, event);
        SCOPED_TRACE(testing::Message() << "after event " << n++ << " '" << event.kind << "'");
        EXPECT_EQ(rowsOf(w), expect.rows);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(w.form.List1(i).listIndex(), expect.selected) << "list " << i;
        EXPECT_EQ(buttonsOf(w), expect.buttons);
        EXPECT_EQ(w.window.state().Obsh_Broj, w.form.List1(0).listCount());
        EXPECT_EQ(w.form.List1(1).listCount(), w.form.List1(0).listCount());
        EXPECT_EQ(w.form.List1(2).listCount(), w.form.List1(0).listCount());
    }
}

const Sequence kSequences[] = {
    {"three_presses_enable_calculate_fourth_ignored",
     {{{'P', 10, 20}, {"10,20", -1, "011"}},
      {{'R', 30, 40}, {"10,20|30,40", -1, "011"}},
      {{'M', 50, 60}, {"10,20|30,40|50,60", -1, "111"}},
      {{'P', 70, 80}, {"10,20|30,40|50,60", -1, "111"}}}},
    {"clear_and_delete_right_after_start",
     {{{'B', 1}, {"", -1, "011"}}, {{'B', 2}, {"", -1, "011"}}, {{'B', 1}, {"", -1, "011"}}}},
    {"select_in_either_list",
     {{{'P', 1, 2}, {"1,2", -1, "011"}},
      {{'P', 3, 4}, {"1,2|3,4", -1, "011"}},
      {{'L', 1, 1}, {"1,2|3,4", 1, "011"}},
      {{'L', 0, 0}, {"1,2|3,4", 0, "011"}},
      {{'L', 0, 0}, {"1,2|3,4", 0, "011"}}}},
    {"delete_middle_then_add_again",
     {{{'P', 1, 2}, {"1,2", -1, "011"}},
      {{'P', 3, 4}, {"1,2|3,4", -1, "011"}},
      {{'P', 5, 6}, {"1,2|3,4|5,6", -1, "111"}},
      {{'L', 1, 1}, {"1,2|3,4|5,6", 1, "111"}},
      {{'B', 2}, {"1,2|5,6", -1, "011"}},
      {{'B', 2}, {"1,2|5,6", -1, "011"}},
      {{'P', 7, 8}, {"1,2|5,6|7,8", -1, "111"}}}},
    {"run_then_only_clear_works",
     {{{'P', 10, 10}, {"10,10", -1, "011"}},
      {{'P', 40, 10}, {"10,10|40,10", -1, "011"}},
      {{'P', 10, 50}, {"10,10|40,10|10,50", -1, "111"}},
      {{'B', 0}, {"10,10|40,10|10,50", -1, "010"}},
      {{'P', 100, 100}, {"10,10|40,10|10,50", -1, "010"}},
      {{'B', 2}, {"10,10|40,10|10,50", -1, "010"}},
      {{'L', 1, 2}, {"10,10|40,10|10,50", 2, "010"}},
      {{'B', 1}, {"", -1, "011"}},
      {{'P', 1, 1}, {"1,1", -1, "011"}}}},
    {"delete_only_point",
     {{{'P', 0, 0}, {"0,0", -1, "011"}}, {{'L', 0, 0}, {"0,0", 0, "011"}}, {{'B', 2}, {"", -1, "011"}}}},
};

INSTANTIATE_TEST_SUITE_P(Sequences, EventSequenceTest, testing::Combine(testing::ValuesIn(kSequences), testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name)
                                 + (std::get<1>(info.param) ? "_nested_clicks" : "_no_nested_clicks");
                         });

TEST(PointEntry, HiddenListHoldsHeightAboveBottom)
{
    MemoryWindow w;
    w.press(5, 0);
    w.press(6, 229);
    w.press(7, 100);
    EXPECT_EQ(w.window.state().Kolko_Y, 229.0f);
    EXPECT_EQ(w.form.List1(2).rows(), (std::vector<std::string>{"229", "0", "129"}));
}

TEST(PointEntry, PressDrawsForegroundDotFiveWide)
{
    MemoryWindow w;
    w.form.Picture1().forgetCalls();
    w.press(12, 34);
    ASSERT_EQ(w.form.Picture1().calls().size(), 1u);
    const DrawCall& c = w.form.Picture1().calls()[0];
    EXPECT_EQ(c.op, DrawCall::Op::PSet);
    EXPECT_EQ(c.x1, 12);
    EXPECT_EQ(c.y1, 34);
    EXPECT_FALSE(c.colour.has_value());
    EXPECT_EQ(c.width, 5);
    EXPECT_EQ(c.style, 4);
}

std::vector<std::string> psets(MemoryWindow& w)
{
    std::vector<std::string> out;
    for (const auto& c : w.form.Picture1().calls())
        out.push_back(describe(c));
    return out;
}

TEST(PointEntry, SelectionPaintsAllBlackThenTheSelectedRed)
{
    MemoryWindow w;
    for (int i = 0; i < 3; ++i)
        w.form.List1(i).setRaisesOnCodeChange(false);
    w.pressAll({{10, 20}, {30, 40}, {50, 60}});
    w.form.Picture1().forgetCalls();
    w.form.List1(1).userSelect(1);
    EXPECT_EQ(psets(w),
              (std::vector<std::string>{
                  "PSet (10,20) w5 s4 RGB(0,0,0)",
                  "PSet (30,40) w5 s4 RGB(0,0,0)",
                  "PSet (50,60) w5 s4 RGB(0,0,0)",
                  "PSet (30,40) w5 s4 RGB(255,0,0)",
              }));
}

TEST(PointEntry, NestedClicksEndInTheSameMarks)
{
    for (bool nested : {false, true}) {
        MemoryWindow w;
        for (int i = 0; i < 3; ++i)
            w.form.List1(i).setRaisesOnCodeChange(nested);
        w.pressAll({{10, 20}, {30, 40}, {50, 60}});
        w.form.List1(1).userSelect(2);
        // The last colour painted on each point.
        std::map<std::pair<float, float>, std::string> last;
        for (const auto& c : w.form.Picture1().calls())
            if (c.op == DrawCall::Op::PSet)
                last[{c.x1, c.y1}] = c.colour ? describe(c) : "fore";
        EXPECT_EQ(last[std::make_pair(10.0f, 20.0f)], "PSet (10,20) w5 s4 RGB(0,0,0)") << nested;
        EXPECT_EQ(last[std::make_pair(30.0f, 40.0f)], "PSet (30,40) w5 s4 RGB(0,0,0)") << nested;
        EXPECT_EQ(last[std::make_pair(50.0f, 60.0f)], "PSet (50,60) w5 s4 RGB(255,0,0)") << nested;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(w.form.List1(i).listIndex(), 2);
    }
}

TEST(PointEntry, DeletionPaintsWhiteThenTheRestBlack)
{
    MemoryWindow w;
    w.pressAll({{10, 20}, {12, 21}, {50, 60}});
    w.form.List1(0).userSelect(0);
    w.form.Picture1().forgetCalls();
    w.deleteSelected();
    EXPECT_EQ(psets(w),
              (std::vector<std::string>{
                  "PSet (10,20) w5 s4 RGB(255,255,255)",
                  "PSet (12,21) w5 s4 RGB(0,0,0)",
                  "PSet (50,60) w5 s4 RGB(0,0,0)",
              }));
}

TEST(PointEntry, ClearKeepsReportAndEmptiesStore)
{
    MemoryWindow w;
    w.pressAll({{10, 20}, {12, 21}, {50, 60}});
    w.form.Picture1().forgetCalls();
    w.clearAll();
    EXPECT_EQ(w.report(), "");
    ASSERT_EQ(w.form.Picture1().calls().size(), 1u);
    EXPECT_EQ(describe(w.form.Picture1().calls()[0]), "Cls");
    EXPECT_EQ(w.form.Picture1().drawWidth(), 5);
    EXPECT_EQ(w.form.Picture1().drawStyle(), 4);
    EXPECT_EQ(w.form.Picture1().backColor(), ui::rgb(255, 255, 255));
}

TEST(PointEntry, PointsBeyondAnyPixelAreStoredButNotRedrawn)
{
    // Only the in-memory controls can deliver such presses; the lists and the
    // count must still agree, and nothing fails.
    MemoryWindow w;
    w.pressAll({{10, 20}, {1e6f, 4e9f}, {50, 60}});
    w.form.List1(0).userSelect(1);
    EXPECT_EQ(w.form.List1(1).listIndex(), 1);
    w.deleteSelected();
    EXPECT_EQ(w.window.state().Obsh_Broj, 2);
    EXPECT_EQ(w.form.List1(2).listCount(), 2);
}

} // namespace
