#pragma once
// The desktop edition's controls on Qt Widgets.
//
// QtForm builds the window from a ui::FormDesign: every control at its place,
// with the design's font, colours, texts, tab order and accessible names.
// Each user event runs its handler as an event of the form (ui::FormCore),
// which pushes the text boxes' texts to their widgets once the outermost
// handler has ended, so a report built by many appends costs one widget
// update. The widgets only map Qt's events, pixels and focus to the form.

#include "ui/controls.h"
#include "ui/form_core.h"
#include "ui/form_layout.h"
#include "ui/kept_text.h"
#include "ui/raster/raster_picture.h"
#include "ui/row_list.h"

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

namespace desktop {

// The core's form, controls, design and drawing surface, which this edition
// maps onto its toolkit.
using namespace ui;

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

// A list: the rows, the selection and the click rules of ui::RowList, shown
// in the widget; the widget tells of the user's presses and selections.
class ListWidget final : public QListWidget, public RowList {
public:
    ListWidget(QtForm& form, QWidget* parent);

    using RowList::addItem;
    using RowList::clear;

protected:
    void changed() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    // The row the widget shows selected, -1 for none.
    int shownRow() const;
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

class ButtonWidget final : public QPushButton, public FormButton {
public:
    ButtonWidget(QtForm& form, int index, QWidget* parent);

    using FormButton::isEnabled;
    using FormButton::setEnabled;

protected:
    // Enter presses the focused button, as Space does, in every edition.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showEnabled(bool on) override { QPushButton::setEnabled(on); }
};

class LabelWidget final : public QLabel, public Label {
public:
    explicit LabelWidget(QWidget* parent) : QLabel(parent) {}
    std::string caption() const override { return text().toStdString(); }
};

class QtForm final : public QWidget, public FormOf<PictureWidget, ListWidget, TextWidget, ButtonWidget, LabelWidget> {
public:
    explicit QtForm(const FormDesign& design, QWidget* parent = nullptr);

    // The widget of a control.
    QWidget* widget(ControlRef c);

private:
    std::optional<ControlRef> focusedControl() override;
    void focusControl(ControlRef c) override;
    void showControl(ControlRef c, bool on) override;
    void reportFailure(const std::string& what) override;
};

// The window's fixed light colours with the given window background. The
// design fixes every colour, whatever the desktop theme.
QPalette designPalette(Rgb window);

// Converts between the program's CR LF text and the widget's line breaks.
QString toWidgetText(const std::string& text);
std::string fromWidgetText(const QString& text);

} // namespace desktop
