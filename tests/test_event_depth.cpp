// The count of user-event handlers in progress, after the outermost of which
// the form settles: also when a handler or the settling fails. No failure
// leaves; the first one is reported once, after settling. A text box's kept
// text that its control refused is shown at the next settling.

#include "ui/kept_text.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct DepthCase {
    const char* name;
    bool nested; // the handler runs a second handler inside it
    bool handlerThrows; // the (inner) handler fails
    bool settleThrows; // settling fails
    const char* failure; // what is reported, "" for nothing
};

class EventDepthTest : public testing::TestWithParam<DepthCase> {};

TEST_P(EventDepthTest, SettlesOnceAfterTheOutermostHandler)
{
    const auto& c = GetParam();
    ui::EventDepth depth;
    int settled = 0;
    bool busyWhileSettling = true;
    const auto settle = [&] {
        ++settled;
        busyWhileSettling = depth.busy();
        if (c.settleThrows)
            throw std::runtime_error("settle");
    };
    const auto inner = [&] {
        EXPECT_TRUE(depth.busy());
        if (c.handlerThrows)
            throw std::runtime_error("handler");
    };
    std::vector<std::string> reported;
    const auto report = [&](const std::string& what) {
        EXPECT_EQ(settled, 1) << "reported before settling";
        reported.push_back(what);
    };
    depth.run(
        [&] {
            if (c.nested) {
                depth.run(inner, settle, report);
                EXPECT_EQ(settled, 0) << "settled inside the outer handler";
                EXPECT_TRUE(reported.empty()) << "reported inside the outer handler";
            } else {
                inner();
            }
        },
        settle, report);
    EXPECT_EQ(settled, 1);
    EXPECT_FALSE(busyWhileSettling);
    EXPECT_FALSE(depth.busy());
    EXPECT_EQ(reported,
              std::string(c.failure).empty() ? std::vector<std::string>{} : std::vector<std::string>{c.failure});
}

INSTANTIATE_TEST_SUITE_P(Cases, EventDepthTest,
                         testing::Values(DepthCase{"Plain", false, false, false, ""},
                                         DepthCase{"Nested", true, false, false, ""},
                                         DepthCase{"HandlerFails", false, true, false, "handler"},
                                         DepthCase{"NestedHandlerFails", true, true, false, "handler"},
                                         DepthCase{"SettlingFails", false, false, true, "settle"},
                                         DepthCase{"NestedSettlingFails", true, false, true, "settle"},
                                         DepthCase{"BothFailTheHandlersFailureWins", false, true, true, "handler"}),
                         [](const testing::TestParamInfo<DepthCase>& info) { return std::string(info.param.name); });

// A text box whose control refused a text shows it when the form next
// settles, and shows each text once.
class RefusingBox : public ui::KeptText {
public:
    explicit RefusingBox(std::string text = {}, bool shown = false) : KeptText(std::move(text), shown) {}
    int refusals = 0;
    std::vector<std::string> shown;

protected:
    void textKept() override {}
    void display(const std::string& text) override
    {
        if (refusals > 0) {
            --refusals;
            throw std::runtime_error("refused");
        }
        shown.push_back(text);
    }
};

TEST(KeptTextTest, ATextTheControlRefusedIsShownAtTheNextSettling)
{
    RefusingBox box;
    box.setText("report");
    box.refusals = 1;
    EXPECT_THROW(box.sync(), std::runtime_error);
    EXPECT_TRUE(box.shown.empty());
    box.sync();
    box.sync();
    EXPECT_EQ(box.shown, std::vector<std::string>{"report"});
    EXPECT_EQ(box.text(), "report");
}

// A control made with a text shows it at the first settling, unless it
// shows it already.
struct FirstTextCase {
    const char* name;
    const char* text;
    bool shown;
    std::vector<std::string> displayed;
};

class KeptTextFirst : public testing::TestWithParam<FirstTextCase> {};

TEST_P(KeptTextFirst, ShownOnceAtTheFirstSettling)
{
    const auto& c = GetParam();
    RefusingBox box(c.text, c.shown);
    box.sync();
    box.sync();
    EXPECT_EQ(box.shown, c.displayed);
    EXPECT_EQ(box.text(), c.text);
}

INSTANTIATE_TEST_SUITE_P(Cases, KeptTextFirst,
                         testing::Values(FirstTextCase{"not_yet_shown", "teaching text", false, {"teaching text"}},
                                         FirstTextCase{"shown_already", "teaching text", true, {}},
                                         FirstTextCase{"empty_not_yet_shown", "", false, {""}},
                                         FirstTextCase{"empty_shown_already", "", true, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
