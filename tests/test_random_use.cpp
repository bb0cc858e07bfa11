// Long random sequences of a pupil's events on the in-memory window, with the
// window's invariants checked after every event. On a failure the test prints
// the seed and the shortest failing sequence it can find.
//
// TRIVYRHNIK_RANDOM_EVENTS raises the number of events (default 200000);
// TRIVYRHNIK_RANDOM_SEED picks another seed.

#include "report_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <random>
#include <sstream>

using namespace testing_support;

namespace {

struct Event {
    enum Kind { Press, Row, Button } kind;
    int a = 0, b = 0, c = 0; // press: x, y, button; row: list, row; button: index
};

std::string describe(const Event& e)
{
    std::ostringstream s;
    switch (e.kind) {
    case Event::Press: s << "press(" << e.a << "," << e.b << ",button " << e.c << ")"; break;
    case Event::Row: s << "row(list " << e.a << ", row " << e.b << ")"; break;
    case Event::Button: s << "button(" << e.a << ")"; break;
    }
    return s.str();
}

// The enabled states the buttons must have, kept by the rules of the window.
struct Model {
    bool calculate = false;
    bool erase = true;
};

constexpr int kSurfaceWidth = 335;
constexpr int kSurfaceHeight = 229;

// Plays the events on a fresh window; returns the first broken invariant.
std::optional<std::string> play(const std::vector<Event>& events, bool nestedClicks)
{
    MemoryWindow w;
    for (int i = 0; i < 3; ++i)
        w.form.List1(i).setRaisesOnCodeChange(nestedClicks);
    Model model;
    for (size_t n = 0; n < events.size(); ++n) {
        const Event& e = events[n];
        const int before = w.window.state().Obsh_Broj;
        bool ran = false;
        switch (e.kind) {
        case Event::Press:
            w.press(static_cast<float>(e.a), static_cast<float>(e.b), static_cast<std::int16_t>(e.c));
            if (before < 3 && before + 1 == 3)
                model.calculate = true;
            break;
        case Event::Row: w.form.List1(e.a).userSelect(e.b); break;
        case Event::Button: {
            const bool enabled = w.form.Command1(e.a).isEnabled();
            const int selected = w.form.List1(0).listIndex();
            w.form.Command1(e.a).userClick();
            if (!enabled)
                break;
            if (e.a == 0) {
                ran = true;
                model.calculate = false;
                model.erase = false;
            } else if (e.a == 1) {
                model.calculate = false;
                model.erase = true;
            } else if (selected >= 0) {
                model.calculate = false;
            }
            break;
        }
        }

        std::ostringstream why;
        const auto& st = w.window.state();
        const int count = st.Obsh_Broj;
        if (count < 0 || count > 3)
            why << "Obsh_Broj " << count;
        for (int i = 0; i < 3; ++i)
            if (w.form.List1(i).listCount() != count)
                why << "List1(" << i << ") has " << w.form.List1(i).listCount() << " rows, Obsh_Broj " << count;
        const int s0 = w.form.List1(0).listIndex();
        if (w.form.List1(1).listIndex() != s0 || w.form.List1(2).listIndex() != s0)
            why << "selections " << s0 << " " << w.form.List1(1).listIndex() << " " << w.form.List1(2).listIndex();
        if (w.form.Command1(0).isEnabled() != model.calculate)
            why << "\"Изчисли\" enabled " << w.form.Command1(0).isEnabled();
        if (!w.form.Command1(1).isEnabled())
            why << "\"Изчисти\" disabled";
        if (w.form.Command1(2).isEnabled() != model.erase)
            why << "\"Изтрий\" enabled " << w.form.Command1(2).isEnabled();
        if (ran) {
            const std::string r = w.report();
            if (!r.starts_with("Ориентирано лице - координати на върховете:\r\n") && r != "Точките лежат на права!")
                why << "report starts " << r.substr(0, 80);
            if (w.form.Picture1().drawStyle() != 0)
                why << "style after a run " << w.form.Picture1().drawStyle();
        }
        // A point added or a row selected leaves the pen 5 pixels wide for the
        // dots that come next.
        const bool added = e.kind == Event::Press && before < 3;
        const bool selected = e.kind == Event::Row && w.form.List1(0).listIndex() >= 0;
        if ((added || selected) && w.form.Picture1().drawWidth() != 5)
            why << "pen width " << w.form.Picture1().drawWidth();
        if (!why.str().empty())
            return "after event " + std::to_string(n) + " " + describe(e) + ": " + why.str();
    }
    return std::nullopt;
}

// Removes events while the sequence still fails.
std::vector<Event> shrink(std::vector<Event> events, bool nested)
{
    bool progress = true;
    while (progress) {
        progress = false;
        for (size_t chunk = events.size() / 2; chunk >= 1; chunk /= 2) {
            for (size_t at = 0; at + chunk <= events.size();) {
                std::vector<Event> shorter(events.begin(), events.begin() + static_cast<long>(at));
                shorter.insert(shorter.end(), events.begin() + static_cast<long>(at + chunk), events.end());
                if (play(shorter, nested)) {
                    events = std::move(shorter);
                    progress = true;
                } else {
                    at += chunk;
                }
            }
            if (chunk == 1)
                break;
        }
    }
    return events;
}

long long envNumber(const char* name, long long fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? std::atoll(v) : fallback;
}

Event randomEvent(std::mt19937_64& rng)
{
    std::uniform_int_distribution<int> kind(0, 9);
    const int k = kind(rng);
    Event e{};
    if (k < 4) {
        // Edges and corners come up often.
        std::uniform_int_distribution<int> edge(0, 4);
        auto coordinate = [&](int size) {
            switch (edge(rng)) {
            case 0: return 0;
            case 1: return size - 1;
            default: return std::uniform_int_distribution<int>(0, size - 1)(rng);
            }
        };
        const int buttons[] = {1, 2, 4};
        e = {Event::Press, coordinate(kSurfaceWidth), coordinate(kSurfaceHeight),
             buttons[std::uniform_int_distribution<int>(0, 2)(rng)]};
    } else if (k < 7) {
        e = {Event::Row, std::uniform_int_distribution<int>(0, 1)(rng), std::uniform_int_distribution<int>(0, 2)(rng)};
    } else {
        e = {Event::Button, std::uniform_int_distribution<int>(0, 2)(rng)};
    }
    return e;
}

TEST(RandomUse, InvariantsHoldOverLongSequences)
{
    const long long total = envNumber("TRIVYRHNIK_RANDOM_EVENTS", 200000);
    const auto seed = static_cast<std::uint64_t>(envNumber("TRIVYRHNIK_RANDOM_SEED", 20261208));
    std::mt19937_64 rng(seed);
    long long played = 0;
    while (played < total) {
        const bool nested = (rng() & 1) != 0;
        std::vector<Event> events(200);
        for (auto& e : events)
            e = randomEvent(rng);
        // Row clicks only reach rows that exist: the list ignores the others,
        // which the invariants cover as well.
        if (auto failure = play(events, nested)) {
            const auto shortest = shrink(events, nested);
            std::ostringstream s;
            s << "seed " << seed << ", nested clicks " << nested << ": " << *play(shortest, nested)
              << "\nshortest failing sequence:";
            for (const auto& e : shortest)
                s << "\n  " << describe(e);
            FAIL() << s.str();
        }
        played += static_cast<long long>(events.size());
    }
    RecordProperty("events", std::to_string(played));
}

} // namespace
