#pragma once
// The form's behaviour, once for every edition: the control arrays and their
// accessors, the dispatch of user events with the settling after the
// outermost one, the Tab order from the design, the drawing area inside the
// surface's frame and the focus rule. An edition creates its controls, maps
// its toolkit's events, pixels and focus to this, and keeps no rule of its
// own.
//
// The focus rule: when the control that has the keyboard focus becomes
// disabled or hidden, the focus moves on to the next control in Tab order
// that can take it (shown, enabled, not a label), round to the first after
// the last; with none, it stays where it is.

#include "ui/controls.h"
#include "ui/form_layout.h"
#include "ui/kept_text.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

// One control of a form: its array and its index in it.
struct ControlRef {
    ControlKind kind = ControlKind::Picture;
    int index = 0;
    friend constexpr bool operator==(ControlRef, ControlRef) = default;
};

// The designer name of the control array of a kind: "Picture1", "List1",
// "Text1", "Command1", "Label1".
const char* arrayName(ControlKind kind);

// The design's controls in Tab order: by tab index, equal ones as designed.
std::vector<const ControlDesign*> tabOrder(const FormDesign& design);

struct PixelSize {
    int width = 0, height = 0;
    friend constexpr bool operator==(PixelSize, PixelSize) = default;
};

// The drawing area of a surface whose window is `outer` logical pixels: the
// frame taken off every side.
PixelSize drawingArea(PixelSize outer);
// The drawing area of a surface at its design size.
PixelSize drawingArea(const ControlDesign& picture);

// Labels never take the keyboard focus; every other kind does.
constexpr bool takesFocus(ControlKind kind) { return kind != ControlKind::Label; }

class FormCore : public Form {
public:
    static constexpr int kLists = 3;
    static constexpr int kTexts = 2;
    static constexpr int kButtons = 3;
    static constexpr int kLabels = 4;

    FormCore(const FormCore&) = delete;
    FormCore& operator=(const FormCore&) = delete;

    // Runs one user event's handler. Once the outermost handler has ended,
    // also with a failure, the form settles: every control shows its
    // pending change. A failure of the program itself is reported then, and
    // the window goes on.
    void dispatch(const std::function<void()>& handler);
    // Shows every pending change, unless a handler is running.
    void settle();
    bool busy() const { return depth_.busy(); }

    // The controls in Tab order.
    const std::vector<ControlRef>& tabOrder() const { return order_; }
    bool controlShown(ControlRef c) const;
    // Shown, enabled and of a kind that takes the focus.
    bool canTakeFocus(ControlRef c);
    // Where the focus goes when `from` can no longer keep it.
    std::optional<ControlRef> focusAfter(ControlRef from);
    // Where the focus goes when the window gets it back after the pupil
    // left `left` (or at the start, with none): that control while it can
    // take it, else the next one that can.
    std::optional<ControlRef> focusReturn(std::optional<ControlRef> left);
    // The window gets the keyboard focus: it goes where focusReturn says.
    void giveFocus(std::optional<ControlRef> left = std::nullopt);
    // `c` is about to become disabled or hidden: if it has the focus, the
    // focus moves on first.
    void losingFocus(ControlRef c);
    // Shows or hides a control, the focus moving on from a hidden one.
    void setControlShown(ControlRef c, bool on);

protected:
    FormCore() = default;
    explicit FormCore(const FormDesign& design);
    ~FormCore() override = default;

    // The edition's side. The control that has the keyboard focus in this
    // window, if any.
    virtual std::optional<ControlRef> focusedControl() = 0;
    // Gives the keyboard focus to the control.
    virtual void focusControl(ControlRef c) = 0;
    // Shows or hides the toolkit's control.
    virtual void showControl(ControlRef c, bool on) = 0;
    // Brings the toolkit's controls up to date.
    virtual void showPending() = 0;
    // Tells the user of a failure of the program itself.
    virtual void reportFailure(const std::string& what) = 0;

private:
    // The place of a control in Tab order, -1 for none.
    int find(ControlRef c) const;

    std::vector<ControlRef> order_;
    // Whether each control of order_ is shown.
    std::vector<bool> shown_;
    EventDepth depth_;
};

// A command button of a form: its enabled state and its click. Disabling it
// takes the focus on first (the focus rule); a press of a disabled button
// does nothing.
class FormButton : public CommandButton {
public:
    void setEnabled(bool on) override;
    bool isEnabled() const override { return enabled_; }
    void onClick(ClickHandler handler) override { click_ = std::move(handler); }

    // The user presses the button (a click, Space or Enter): its click runs
    // as one event of the form.
    void userPress();

protected:
    FormButton(FormCore& form, int index) : form_(form), index_(index) {}
    // Shows the enabled state in the toolkit's control.
    virtual void showEnabled(bool on) = 0;

private:
    FormCore& form_;
    int index_;
    bool enabled_ = true;
    ClickHandler click_;
};

// The control arrays of a form of one edition's control types, with their
// accessors. The edition creates the controls and places them with adopt()
// (the form owns them) or place() (the toolkit owns them).
template <typename Picture, typename List, typename Text, typename Button, typename Lbl>
class FormOf : public FormCore {
public:
    Picture& Picture1() override { return *picture_; }
    List& List1(int index) override { return *lists_.at(static_cast<size_t>(index)); }
    Text& Text1(int index) override { return *texts_.at(static_cast<size_t>(index)); }
    Button& Command1(int index) override { return *buttons_.at(static_cast<size_t>(index)); }
    Lbl& Label1(int index) override { return *labels_.at(static_cast<size_t>(index)); }

protected:
    using FormCore::FormCore;

    // Places a control that the toolkit owns.
    template <typename Control>
    Control* place(int index, Control* control)
    {
        slot(index, control) = control;
        return control;
    }
    // Places a control that the form owns.
    template <typename Control>
    Control* adopt(int index, std::unique_ptr<Control> control)
    {
        Control* raw = control.get();
        owned_.push_back(std::shared_ptr<Control>(std::move(control)));
        return place(index, raw);
    }

    // Every control that keeps a pending change shows it: the texts, the
    // lists, the buttons, then the surface.
    void showPending() override
    {
        syncAll(texts_);
        syncAll(lists_);
        syncAll(buttons_);
        if constexpr (requires(Picture & p) { p.sync(); })
            if (picture_)
                picture_->sync();
    }

private:
    template <typename Control>
    Control*& slot(int index, Control* /*kind*/)
    {
        const auto i = static_cast<size_t>(index);
        if constexpr (std::is_same_v<Control, Picture>)
            return picture_;
        else if constexpr (std::is_same_v<Control, List>)
            return lists_.at(i);
        else if constexpr (std::is_same_v<Control, Text>)
            return texts_.at(i);
        else if constexpr (std::is_same_v<Control, Button>)
            return buttons_.at(i);
        else
            return labels_.at(i);
    }
    template <typename Array>
    static void syncAll(Array& controls)
    {
        for (auto* c : controls)
            if constexpr (requires { c->sync(); })
                if (c)
                    c->sync();
    }

    Picture* picture_ = nullptr;
    std::array<List*, kLists> lists_{};
    std::array<Text*, kTexts> texts_{};
    std::array<Button*, kButtons> buttons_{};
    std::array<Lbl*, kLabels> labels_{};
    std::vector<std::shared_ptr<void>> owned_;
};

} // namespace ui
