#pragma once
// What every edition's text boxes and form share: a text box that keeps the
// exact text it was given (CR LF lines) and shows it only when the form
// settles, so that a report built by many appends costs one update of the
// toolkit's control; the count of user-event handlers in progress (a list's
// click may run nested inside another handler), after the outermost of which
// the form settles; and the message that tells the user of a failure of the
// program itself.

#include "ui/controls.h"

#include <exception>
#include <string>
#include <string_view>
#include <utility>

namespace ui {

class KeptText : public TextBox {
public:
    std::string text() const override { return text_; }
    void setText(std::string text) override
    {
        text_ = std::move(text);
        dirty_ = true;
        textKept();
    }
    // Shows the kept text in the control if it changed since the last time;
    // a text that could not be shown is shown when the form next settles.
    void sync()
    {
        if (!dirty_)
            return;
        display(text_);
        dirty_ = false;
    }

protected:
    // `shown`: the control shows `text` already.
    explicit KeptText(std::string text = {}, bool shown = false) : text_(std::move(text)), dirty_(!shown) {}
    // A new text is kept: the form shows it when it settles.
    virtual void textKept() = 0;
    // Puts the text into the toolkit's control.
    virtual void display(const std::string& text) = 0;

private:
    std::string text_;
    bool dirty_;
};

class EventDepth {
public:
    // Runs the handler one level deeper; `settle` runs once the outermost
    // level has ended. No failure leaves: a nested handler runs inside the
    // toolkit's own code, which no exception may cross. Each level keeps the
    // first failure, of a handler or of settling, and the outermost level
    // hands its text to `report` once the form has settled; the window goes
    // on with its state as it is.
    template <typename Handler, typename Settle, typename Report>
    void run(Handler&& handler, Settle&& settle, Report&& report)
    {
        ++depth_;
        keep(handler);
        if (--depth_ > 0)
            return;
        keep(settle);
        if (auto failure = std::exchange(failure_, nullptr))
            report(describe(failure));
    }
    // Whether a handler is running.
    bool busy() const { return depth_ > 0; }

private:
    template <typename Step>
    void keep(Step& step)
    {
        try {
            step();
        } catch (...) {
            if (!failure_)
                failure_ = std::current_exception();
        }
    }
    static std::string describe(const std::exception_ptr& failure)
    {
        try {
            std::rethrow_exception(failure);
        } catch (const std::exception& e) {
            return e.what();
        } catch (...) {
            return "unknown exception";
        }
    }

    int depth_ = 0;
    std::exception_ptr failure_;
};

// What every edition shows the user for a failure that EventDepth reports.
inline std::string failureMessage(std::string_view what) { return "Програмна грешка: " + std::string(what); }

// What an edition whose program is loaded before it runs (the page) shows
// the user when it could not load or start the program, before the reason.
inline constexpr std::string_view kStartFailure = "Програмата не можа да се зареди: ";

} // namespace ui
