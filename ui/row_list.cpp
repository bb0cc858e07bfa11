#include "ui/row_list.h"

namespace ui {

void RowList::addItem(const std::string& text)
{
    rows_.push_back(text);
    changed();
}

void RowList::removeItem(int row)
{
    if (row < 0 || row >= listCount())
        return;
    rows_.erase(rows_.begin() + row);
    selected_ = -1;
    changed();
}

void RowList::clear()
{
    rows_.clear();
    selected_ = -1;
    changed();
}

std::string RowList::list(int row) const
{
    if (row < 0 || row >= listCount())
        return {};
    return rows_[static_cast<size_t>(row)];
}

void RowList::setListIndex(int row)
{
    if (row < -1 || row >= listCount() || row == selected_)
        return;
    selected_ = row;
    changed();
    if (raisesOnCodeChange_ && row >= 0)
        raiseClick();
}

void RowList::userSelect(int row)
{
    if (row < 0 || row >= listCount())
        return;
    if (row != selected_) {
        selected_ = row;
        changed();
    }
    if (pressing_) {
        // A toolkit may tell of the press's selection more than once.
        if (raisedRow_ == row)
            return;
        raisedRow_ = row;
    }
    raiseClick();
}

void RowList::pressBegan(int row)
{
    pressing_ = true;
    pressedRow_ = row;
    raisedRow_ = -1;
}

void RowList::pressEnded()
{
    if (!pressing_)
        return;
    const bool raised = raisedRow_ >= 0;
    pressing_ = false;
    if (!raised)
        userSelect(pressedRow_);
}

void RowList::raiseClick()
{
    if (!click_)
        return;
    if (form_)
        form_->dispatch(click_);
    else
        click_();
}

} // namespace ui
