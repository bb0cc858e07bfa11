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
    raiseClick();
}

void RowList::raiseClick()
{
    if (click_)
        click_();
}

} // namespace ui
