#pragma once
// The desktop edition's controls on Qt Widgets.
//
// QtForm builds the window from a ui::FormDesign: every control at its place,
// with the design's font, colours, texts, tab order and accessible names.
// Each user event runs its handler through QtForm::dispatch, which pushes the
// text boxes' texts to their widgets once the outermost handler has ended, so
// a report built by many appends costs one widget update.

#include "ui/controls.h"
#include "ui/form_layout.h"
#include "ui/kept_text.h"
#include "ui/raster/raster_picture.h"

#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

namespace ui::qt {

class QtForm;

// The drawing surface: a widget that shows the shared pixel buffer. Its
// scale is the screen's device pixel ratio, so the drawing is as fine as the
// screen while coordinates stay logical pixels; around it a two-pixel frame.
class PictureWidget final : public QWidget, public raster::RasterPicture {
public:
    PictureWidget(QtForm& form, QWidget* parent);

    static constexpr int kBorder = kPictureBorder;

    // A copy of the buffer at its device pixel ratio, and its logical size.
    QImage image() const;
    QSize innerSize() const;
    // The colour of the logical pixel (x, y) of the drawing area.
    QColor pixel(int x, int y) const;
    // The buffer at the widget's logical size and the screen's scale.
    void fitCanvas();

protected:
    void changed() override { update(); }
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The buffer as an image that shares its pixels.
    QImage view() const;

    QtForm& form_;
};

class ListWidget final : public QListWidget, public ListBox {
public:
    ListWidget(QtForm& form, QWidget* parent);

    void addItem(const std::string& text) override;
    void removeItem(int row) override;
    void clear() override;
    std::string list(int row) const override;
    int listCount() const override { return count(); }
    int listIndex() const override;
    void setListIndex(int row) override;
    void onClick(ClickHandler handler) override { click_ = std::move(handler); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void raiseClick();

    QtForm& form_;
    ClickHandler click_;
    bool raisedSincePress_ = false;
};

// A multi-line text box. It keeps the exact text it was given (CR LF lines)
// and shows it with the widget's own line breaks.
class TextWidget final : public QPlainTextEdit, public KeptText {
public:
    TextWidget(QtForm& form, QWidget* parent);

private:
    void textKept() override;
    void display(const std::string& text) override;

    QtForm& form_;
};

class ButtonWidget final : public QPushButton, public CommandButton {
public:
    ButtonWidget(QtForm& form, QWidget* parent);

    void setEnabled(bool on) override { QPushButton::setEnabled(on); }
    bool isEnabled() const override { return QPushButton::isEnabled(); }
    void onClick(ClickHandler handler) override { click_ = std::move(handler); }

private:
    QtForm& form_;
    ClickHandler click_;
};

class LabelWidget final : public QLabel, public Label {
public:
    explicit LabelWidget(QWidget* parent) : QLabel(parent) {}
    std::string caption() const override { return text().toStdString(); }
};

class QtForm final : public QWidget, public Form {
public:
    explicit QtForm(const FormDesign& design, QWidget* parent = nullptr);

    PictureWidget& Picture1() override { return *picture_; }
    ListWidget& List1(int index) override { return *lists_.at(static_cast<size_t>(index)); }
    TextWidget& Text1(int index) override { return *texts_.at(static_cast<size_t>(index)); }
    ButtonWidget& Command1(int index) override { return *buttons_.at(static_cast<size_t>(index)); }
    LabelWidget& Label1(int index) override { return *labels_.at(static_cast<size_t>(index)); }

    // Runs one event's handler; the widgets show the new texts once the
    // outermost handler has ended.
    void dispatch(const std::function<void()>& handler);
    // Pushes pending texts to the widgets.
    void syncTexts();

    // The widgets in tab order.
    std::vector<QWidget*> tabOrder() const { return tabOrder_; }

private:
    PictureWidget* picture_ = nullptr;
    std::array<ListWidget*, 3> lists_{};
    std::array<TextWidget*, 2> texts_{};
    std::array<ButtonWidget*, 3> buttons_{};
    std::array<LabelWidget*, 4> labels_{};
    std::vector<QWidget*> tabOrder_;
    EventDepth depth_;
};

// The window's fixed light colours with the given window background. The
// design fixes every colour, whatever the desktop theme.
QPalette designPalette(Rgb window);

// Converts between the program's CR LF text and the widget's line breaks.
QString toWidgetText(const std::string& text);
std::string fromWidgetText(const QString& text);

} // namespace ui::qt
