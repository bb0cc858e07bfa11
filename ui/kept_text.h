#pragma once
// What every edition's text boxes and form share: a text box that keeps the
// exact text it was given (CR LF lines) and shows it only when the form
// settles, so that a report built by many appends costs one update of the
// toolkit's control; and the count of user-event handlers in progress (a
// list's click may run nested inside another handler), after the outermost
// of which the form settles.

#include "ui/controls.h"

#include <string>
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
    // Shows the kept text in the control if it changed since the last time.
    void sync()
    {
        if (!dirty_)
            return;
        dirty_ = false;
        display(text_);
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
    // level has ended, also when the handler throws. A failure of `settle`
    // reaches the caller like the handler's own, except after a failed
    // handler, whose failure it does not replace.
    template <typename Handler, typename Settle>
    void run(Handler&& handler, Settle&& settle)
    {
        ++depth_;
        try {
            handler();
        } catch (...) {
            if (--depth_ == 0) {
                try {
                    settle();
                } catch (...) { // NOLINT(bugprone-empty-catch): the handler's failure goes on
                }
            }
            throw;
        }
        if (--depth_ == 0)
            settle();
    }
    // Whether a handler is running.
    bool busy() const { return depth_ > 0; }

private:
    int depth_ = 0;
};

} // namespace ui
