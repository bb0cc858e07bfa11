// The window right after start-up, on the in-memory controls with the real
// design texts.

#include "app/layout.h"
#include "report_fixture.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

struct StartedWindow {
    StartedWindow() : form(app::trivyrhnikDesign()), window(form, {"."}) { window.Form_Load(); }
    ui::memory::MemoryForm form;
    app::Trivyrhnik window;
};

TEST(Startup, TeachingTextIsShownWhole)
{
    StartedWindow w;
    const std::string text = w.form.Text1(0).text();
    const auto ls = lines(text);
    ASSERT_EQ(ls.size(), 68u);
    EXPECT_EQ(ls.front(), "Нека имаме 3 точки от равнината с различни координати.\r\n");
    for (const auto& l : ls)
        EXPECT_TRUE(l.ends_with("\r\n")) << l;
    // No stray line feed or carriage return inside a line.
    for (const auto& l : ls)
        EXPECT_EQ(l.find_first_of("\r\n"), l.size() - 2) << l;
}

TEST(Startup, TeachingTextHoldsItsFixedLines)
{
    const auto ls = lines(app::teachingText());
    const char* fixed[] = {
        "Какви са разликите:",
        "Нека страните са определени във възходящ ред: a < b < c",
        "c*c > a*a + b*b - тъпоъгълен",
        "c*c = a*a + b*b - правоъгълен",
        "c*c < a*a + b*b - остроъгълен",
        "I. Координати и разстояния",
        "d0 = A*E - B*D;   d1 =  (-C*E  + F*B);  d2 =  - A*F  + D*C",
        "X = d1/d0",
        "Y = d2/d0",
        "Ако d0 = 0 правите или съвпадат или са успоредни",
        "    II. Взаимни положения на две прави",
    };
    size_t at = 0;
    for (const char* f : fixed) {
        const std::string line = std::string(f) + "\r\n";
        auto it = std::find(ls.begin() + static_cast<long>(at), ls.end(), line);
        ASSERT_NE(it, ls.end()) << "missing or out of order: " << f;
        at = static_cast<size_t>(it - ls.begin());
    }
    // Six empty lines in a row before the formulas.
    const std::vector<std::string> six(6, "\r\n");
    EXPECT_NE(std::search(ls.begin(), ls.end(), six.begin(), six.end()), ls.end());
}

TEST(Startup, HiddenNotesStartWithTheirHeading) { EXPECT_TRUE(app::otherText().starts_with("Други сметки\r\n")); }

TEST(Startup, StateAfterLoad)
{
    StartedWindow w;
    auto& pic = w.form.Picture1();
    EXPECT_EQ(pic.scaleMode(), 3);
    EXPECT_TRUE(pic.autoRedraw());
    EXPECT_EQ(w.window.state().Kolko_Y, pic.scaleHeight());
    EXPECT_EQ(pic.backColor(), ui::rgb(255, 255, 255));
    EXPECT_EQ(pic.drawWidth(), 5);
    EXPECT_EQ(pic.drawStyle(), 4);
    ASSERT_EQ(pic.calls().size(), 1u);
    EXPECT_EQ(pic.calls()[0].op, ui::memory::DrawCall::Op::Cls);
    EXPECT_FALSE(w.form.Command1(0).isEnabled());
    EXPECT_TRUE(w.form.Command1(1).isEnabled());
    EXPECT_TRUE(w.form.Command1(2).isEnabled());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(w.form.List1(i).listCount(), 0);
    EXPECT_EQ(w.form.Label1(0).caption(), "Описана окръжност - координати на точки");
}

TEST(Startup, ClearAfterARunEmptiesOnlyTheReport)
{
    StartedWindow w;
    const std::string notes = w.form.Text1(1).text();
    for (auto [x, y] : {std::pair{10.f, 10.f}, {40.f, 10.f}, {10.f, 50.f}})
        w.form.Picture1().pressMouse(x, y);
    w.form.Command1(0).userClick();
    EXPECT_TRUE(w.form.Text1(0).text().starts_with("Ориентирано лице - координати на върховете:\r\n"));
    w.form.Command1(1).userClick();
    EXPECT_EQ(w.form.Text1(0).text(), "");
    EXPECT_EQ(w.form.Text1(1).text(), notes);
    EXPECT_EQ(w.form.Picture1().drawWidth(), 5);
    EXPECT_EQ(w.form.Picture1().drawStyle(), 4);
    // The calculation values stay until the next run overwrites them.
    EXPECT_EQ(w.window.state().S_lice, 600.0);
    EXPECT_EQ(w.window.state().Obsh_Broj, 0);
}

} // namespace
