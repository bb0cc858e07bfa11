#include "ui/form_core.h"

#include <algorithm>

namespace ui {

const char* arrayName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Picture: return "Picture1";
    case ControlKind::List: return "List1";
    case ControlKind::Text: return "Text1";
    case ControlKind::Button: return "Command1";
    case ControlKind::Label: return "Label1";
    }
    return "";
}

std::vector<const ControlDesign*> tabOrder(const FormDesign& design)
{
    std::vector<const ControlDesign*> order;
    order.reserve(design.controls.size());
    for (const auto& c : design.controls)
        order.push_back(&c);
    std::stable_sort(order.begin(), order.end(),
                     [](const ControlDesign* a, const ControlDesign* b) { return a->tabIndex < b->tabIndex; });
    return order;
}

PixelSize drawingArea(PixelSize outer)
{
    return {std::max(0, outer.width - 2 * kPictureBorder), std::max(0, outer.height - 2 * kPictureBorder)};
}

PixelSize drawingArea(const ControlDesign& picture)
{
    return drawingArea(PixelSize{twipsToPixels(picture.width), twipsToPixels(picture.height)});
}

// ------------------------------------------------------------------ form

FormCore::FormCore(const FormDesign& design)
{
    for (const ControlDesign* c : ui::tabOrder(design)) {
        const ControlRef ref{c->kind, c->index};
        order_.push_back(ref);
        shown_.push_back(c->visible);
    }
}

void FormCore::dispatch(const std::function<void()>& handler)
{
    depth_.run(
        handler, [this] { settle(); }, [this](const std::string& what) { reportFailure(what); });
}

void FormCore::settle()
{
    if (!busy())
        showPending();
}

int FormCore::find(ControlRef c) const
{
    const auto at = std::find(order_.begin(), order_.end(), c);
    return at == order_.end() ? -1 : static_cast<int>(at - order_.begin());
}

bool FormCore::controlShown(ControlRef c) const
{
    const int at = find(c);
    return at >= 0 && shown_[static_cast<size_t>(at)];
}

bool FormCore::canTakeFocus(ControlRef c)
{
    if (!takesFocus(c.kind) || !controlShown(c))
        return false;
    // Only the buttons can be disabled.
    return c.kind != ControlKind::Button || Command1(c.index).isEnabled();
}

std::optional<ControlRef> FormCore::focusAfter(ControlRef from)
{
    const int at = find(from);
    if (at < 0)
        return std::nullopt;
    const auto n = order_.size();
    const auto start = static_cast<size_t>(at);
    for (size_t step = 1; step < n; ++step) {
        const ControlRef c = order_[(start + step) % n];
        if (canTakeFocus(c))
            return c;
    }
    return std::nullopt;
}

std::optional<ControlRef> FormCore::focusReturn(std::optional<ControlRef> left)
{
    if (left && canTakeFocus(*left))
        return left;
    if (left)
        if (auto next = focusAfter(*left))
            return next;
    for (const ControlRef c : order_)
        if (canTakeFocus(c))
            return c;
    return std::nullopt;
}

void FormCore::giveFocus(std::optional<ControlRef> left)
{
    if (const auto c = focusReturn(left))
        focusControl(*c);
}

void FormCore::losingFocus(ControlRef c)
{
    if (focusedControl() != c)
        return;
    if (const auto next = focusAfter(c))
        focusControl(*next);
}

void FormCore::setControlShown(ControlRef c, bool on)
{
    const int at = find(c);
    if (at < 0 || shown_[static_cast<size_t>(at)] == on)
        return;
    if (!on)
        losingFocus(c);
    shown_[static_cast<size_t>(at)] = on;
    showControl(c, on);
}

// ---------------------------------------------------------------- button

void FormButton::setEnabled(bool on)
{
    if (on == enabled_)
        return;
    if (!on)
        form_.losingFocus({ControlKind::Button, index_});
    enabled_ = on;
    showEnabled(on);
}

void FormButton::userPress()
{
    if (enabled_ && click_)
        form_.dispatch(click_);
}

} // namespace ui
