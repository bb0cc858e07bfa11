#pragma once
// A list box that keeps its rows and its selection itself, with the click
// rules every edition follows: the user's selection raises the click, also on
// the row already selected; a selection by code raises it at once when it
// changes the row, and never for the row already selected (the click handler
// relies on that to end). The in-memory lists and the page's lists are made
// of it; an edition only shows the rows and runs the click as its event.

#include "ui/controls.h"
#include "ui/form_core.h"

#include <string>
#include <vector>

namespace ui {

class RowList : public ListBox {
public:
    void addItem(const std::string& text) override;
    // Removes the row; later rows move up and none stays selected.
    void removeItem(int row) override;
    void clear() override;
    std::string list(int row) const override;
    int listCount() const override { return static_cast<int>(rows_.size()); }
    int listIndex() const override { return selected_; }
    void setListIndex(int row) override;
    void onClick(ClickHandler handler) override { click_ = std::move(handler); }

    // The user selects a row (click, tap or key). A row that does not exist
    // is ignored, so the selection is never emptied.
    void userSelect(int row);
    // A press of the pointer on the list begins over `row` (-1: below the
    // rows), and ends.
    void pressBegan(int row);
    void pressEnded();

    const std::vector<std::string>& rows() const { return rows_; }

protected:
    // `form`: the form whose event the click runs as (none: it runs as it is).
    explicit RowList(FormCore* form = nullptr) : form_(form) {}
    // After every change of the rows or the selection.
    virtual void changed() {}
    // Whether a selection by code of a different row raises the click
    // (toolkits differ; the logic ends in the same state either way).
    bool raisesOnCodeChange_ = true;

private:
    void raiseClick();

    FormCore* form_;
    std::vector<std::string> rows_;
    int selected_ = -1;
    ClickHandler click_;
    bool pressing_ = false;
    int pressedRow_ = -1;
    // The row whose click the press has raised, -1 for none yet.
    int raisedRow_ = -1;
};

} // namespace ui
