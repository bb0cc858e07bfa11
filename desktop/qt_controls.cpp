#include "desktop/qt_controls.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace desktop {

namespace {

QColor toQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

Rgb fromQColor(const QColor& c) { return rgb(c.red(), c.green(), c.blue()); }

QString colourCss(Rgb c) { return QStringLiteral("rgb(%1, %2, %3)").arg(c.r).arg(c.g).arg(c.b); }

QRect pixelRect(const ControlDesign& c)
{
    return QRect(twipsToPixels(c.left), twipsToPixels(c.top), twipsToPixels(c.width), twipsToPixels(c.height));
}

} // namespace

namespace {

// The roles the toolkit cannot tell from a plain widget: the window is a
// frame and the drawing surface a canvas.
QAccessibleInterface* accessibleFor(const QString& /*className*/, QObject* object)
{
    if (auto* form = dynamic_cast<QtForm*>(object); form && form->isWindow())
        return new QAccessibleWidget(form, QAccessible::Window);
    if (auto* picture = dynamic_cast<PictureWidget*>(object))
        return new QAccessibleWidget(picture, QAccessible::Canvas);
    return nullptr;
}

} // namespace

QPalette designPalette(Rgb window)
{
    // The toolkit's classic light colours, fixed role by role so that no
    // desktop theme (dark, high contrast) reaches the window: black text,
    // white lists and report box, and black as the surface's foreground.
    const QColor face(239, 239, 239);
    const QColor dark = face.darker(150);
    const QColor mid = face.darker(130);
    QPalette pal(Qt::black, face, face.lighter(150), dark, mid, Qt::black, Qt::white, Qt::white, toQColor(window));
    pal.setColor(QPalette::Midlight, mid.lighter(110));
    pal.setColor(QPalette::Shadow, dark.darker(135));
    pal.setColor(QPalette::Highlight, QColor(48, 140, 198));
    pal.setColor(QPalette::HighlightedText, Qt::white);
    pal.setColor(QPalette::Link, QColor(0, 0, 255));
    pal.setColor(QPalette::LinkVisited, QColor(255, 0, 255));
    pal.setColor(QPalette::AlternateBase, QColor(247, 247, 247));
    pal.setColor(QPalette::ToolTipBase, QColor(255, 255, 220));
    pal.setColor(QPalette::ToolTipText, Qt::black);
    QColor placeholder(Qt::black);
    placeholder.setAlpha(128);
    pal.setColor(QPalette::PlaceholderText, placeholder);
    const QColor disabledText(190, 190, 190);
    pal.setColor(QPalette::Disabled, QPalette::WindowText, disabledText);
    pal.setColor(QPalette::Disabled, QPalette::Text, disabledText);
    pal.setColor(QPalette::Disabled, QPalette::ButtonText, disabledText);
    pal.setColor(QPalette::Disabled, QPalette::Base, face);
    pal.setColor(QPalette::Disabled, QPalette::Highlight, QColor(145, 145, 145));
    return pal;
}

QString toWidgetText(const std::string& text)
{
    QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

std::string fromWidgetText(const QString& text)
{
    QString s = text;
    s.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return s.toStdString();
}

// ---------------------------------------------------------------- surface

PictureWidget::PictureWidget(QtForm& form, QWidget* parent) : QWidget(parent), form_(form)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // It takes the keyboard focus in its place in the Tab chain and shows
    // it, although it ignores keys.
    setFocusPolicy(Qt::StrongFocus);
    setForeColor(fromQColor(palette().color(QPalette::ButtonText)));
}

QSize PictureWidget::innerSize() const
{
    const PixelSize area = drawingArea(PixelSize{width(), height()});
    return QSize(area.width, area.height);
}

void PictureWidget::fitCanvas()
{
    const QSize logical = innerSize();
    const double dpr = devicePixelRatioF();
    const auto& c = canvas();
    if (c.width() != logical.width() || c.height() != logical.height() || c.scale() != dpr)
        resizeCanvas(logical.width(), logical.height(), dpr);
}

void PictureWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitCanvas();
}

bool PictureWidget::event(QEvent* event)
{
    // Moved to a screen of another scale: the drawing is drawn again for it.
    if (event->type() == QEvent::ScreenChangeInternal
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
        || event->type() == QEvent::DevicePixelRatioChange
#endif
    )
        fitCanvas();
    return QWidget::event(event);
}

void PictureWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        setForeColor(fromQColor(palette().color(QPalette::ButtonText)));
    QWidget::changeEvent(event);
}

QImage PictureWidget::view() const
{
    const auto& c = canvas();
    QImage shared(reinterpret_cast<const uchar*>(c.pixels().data()), c.deviceWidth(), c.deviceHeight(),
                  static_cast<qsizetype>(c.deviceWidth()) * 4, QImage::Format_RGB32);
    shared.setDevicePixelRatio(c.scale());
    return shared;
}

QImage PictureWidget::image() const { return view().copy(); }

QColor PictureWidget::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= canvas().width() || y >= canvas().height())
        return {};
    return toQColor(canvas().at(x, y));
}

void PictureWidget::paintEvent(QPaintEvent* /*event*/)
{
    // Moved to a screen of another scale, the buffer follows it first.
    fitCanvas();
    QPainter p(this);
    // A sunken two-pixel frame around the drawing area; with the keyboard
    // focus it takes the highlight colour, as the toolkit marks focused
    // lists and fields, and the drawing itself stays as it is.
    const QRect all = rect();
    if (hasFocus()) {
        p.fillRect(all, palette().color(QPalette::Highlight));
    } else {
        p.fillRect(all, palette().color(QPalette::Mid));
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(all.topLeft(), all.topRight());
        p.drawLine(all.topLeft(), all.bottomLeft());
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(all.bottomLeft(), all.bottomRight());
        p.drawLine(all.topRight(), all.bottomRight());
    }
    // The buffer has the screen's own pixels: shown one to one.
    p.drawImage(QPointF(kBorder, kBorder), view());
}

void PictureWidget::mousePressEvent(QMouseEvent* event)
{
    // The pixel under the pointer, in the coordinates of the drawing area.
    const QPointF pos = event->position() - QPointF(kBorder, kBorder);
    const auto x = static_cast<float>(std::floor(pos.x()));
    const auto y = static_cast<float>(std::floor(pos.y()));
    const QSize inner = innerSize();
    if (x < 0 || y < 0 || x >= static_cast<float>(inner.width()) || y >= static_cast<float>(inner.height()))
        return; // on the frame
    std::int16_t button = 0;
    switch (event->button()) {
    case Qt::LeftButton: button = 1; break;
    case Qt::RightButton: button = 2; break;
    case Qt::MiddleButton: button = 4; break;
    default: button = 0; break;
    }
    std::int16_t shift = 0;
    if (event->modifiers() & Qt::ShiftModifier)
        shift |= 1;
    if (event->modifiers() & Qt::ControlModifier)
        shift |= 2;
    if (event->modifiers() & Qt::AltModifier)
        shift |= 4;
    form_.dispatch([&] { pressMouse(x, y, button, shift); });
}

// ------------------------------------------------------------------ lists

ListWidget::ListWidget(QtForm& form, QWidget* parent) : QListWidget(parent), RowList(&form)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setUniformItemSizes(true);
    // The list shows its rows with the signals blocked: a selection the
    // widget tells of is the user's (a press, a drag, a key).
    connect(this, &QListWidget::itemSelectionChanged, this, [this] { userSelect(shownRow()); });
}

int ListWidget::shownRow() const
{
    const auto selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.front());
}

void ListWidget::changed()
{
    const QSignalBlocker block(this);
    const auto& texts = rows();
    const int n = static_cast<int>(texts.size());
    while (count() > n)
        delete takeItem(count() - 1);
    for (int r = 0; r < n; ++r) {
        const QString text = QString::fromStdString(texts[static_cast<size_t>(r)]);
        if (r < count()) {
            if (item(r)->text() != text)
                item(r)->setText(text);
        } else {
            QListWidget::addItem(text);
        }
    }
    const int selected = listIndex();
    if (selected < 0) {
        clearSelection();
        setCurrentRow(-1);
    } else if (shownRow() != selected || currentRow() != selected) {
        setCurrentRow(selected, QItemSelectionModel::ClearAndSelect);
    }
}

QItemSelectionModel::SelectionFlags ListWidget::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    // Ctrl+click or Ctrl+Space on the selected row would leave the list
    // without a selection; a chosen row stays until a deletion or a reset.
    const auto command = QListWidget::selectionCommand(index, event);
    if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::NoUpdate;
    if ((command & QItemSelectionModel::Clear) && !index.isValid() && listIndex() >= 0)
        return QItemSelectionModel::NoUpdate;
    return command;
}

void ListWidget::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // The row the program moves to in a list without the keyboard focus is
    // not announced: a screen reader speaks only the list the pupil is in.
    if (hasFocus())
        QListWidget::currentChanged(current, previous);
    else
        QAbstractItemView::currentChanged(current, previous); // NOLINT(bugprone-parent-virtual-call)
}

void ListWidget::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex at = indexAt(event->position().toPoint());
    pressBegan(at.isValid() ? at.row() : -1);
    QListWidget::mousePressEvent(event);
}

void ListWidget::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    pressEnded();
}

// ------------------------------------------------------------------- text

TextWidget::TextWidget(QtForm& form, QWidget* parent) : QPlainTextEdit(parent), form_(form)
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setUndoRedoEnabled(false);
    // The box is only read: Tab moves on to the next control.
    setTabChangesFocus(true);
}

void TextWidget::textKept() { form_.settle(); }

void TextWidget::display(const std::string& text) { setPlainText(toWidgetText(text)); }

// ---------------------------------------------------------------- buttons

ButtonWidget::ButtonWidget(QtForm& form, int index, QWidget* parent) : QPushButton(parent), FormButton(form, index)
{
    connect(this, &QPushButton::clicked, this, [this] { userPress(); });
}

void ButtonWidget::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier) {
        click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

// ------------------------------------------------------------------- form

QtForm::QtForm(const FormDesign& design, QWidget* parent) : QWidget(parent), FormOf(design)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    (void)factoryInstalled;
    setWindowTitle(QString::fromStdString(design.caption));
    const QSize client(twipsToPixels(design.clientWidth), twipsToPixels(design.clientHeight));
    setFixedSize(client);
    setAutoFillBackground(true);
    setPalette(designPalette(design.backColor));
    QFont font(QString::fromStdString(design.font.family));
    font.setPointSize(design.font.pointSize);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    setFont(font);

    for (const auto& c : design.controls) {
        QWidget* w = nullptr;
        switch (c.kind) {
        case ControlKind::Picture: {
            auto* p = place(0, new PictureWidget(*this, this));
            w = p;
            break;
        }
        case ControlKind::List: {
            w = place(c.index, new ListWidget(*this, this));
            break;
        }
        case ControlKind::Text: {
            auto* t = place(c.index, new TextWidget(*this, this));
            t->setText(c.text);
            t->sync();
            w = t;
            break;
        }
        case ControlKind::Button: {
            auto* b = place(c.index, new ButtonWidget(*this, c.index, this));
            b->setText(QString::fromStdString(c.text));
            if (c.backColor) {
                // A plain style sheet shows the colour exactly, also when
                // the button is disabled.
                b->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid "
                                                "rgb(64, 64, 64); color: black; }"
                                                "QPushButton:pressed { border: 2px inset rgb(64, 64, 64); }"
                                                "QPushButton:disabled { color: rgb(96, 96, 96); }"
                                                "QPushButton:focus { border: 2px solid black; }")
                                     .arg(colourCss(*c.backColor)));
            }
            w = b;
            break;
        }
        case ControlKind::Label: {
            auto* l = place(c.index, new LabelWidget(this));
            l->setText(QString::fromStdString(c.text));
            l->setAlignment(Qt::AlignCenter);
            l->setAutoFillBackground(true);
            if (c.backColor) {
                QPalette lp = l->palette();
                lp.setColor(QPalette::Window, toQColor(*c.backColor));
                l->setPalette(lp);
            }
            w = l;
            break;
        }
        }
        w->setObjectName(QStringLiteral("%1_%2").arg(QString::fromStdString(c.name)).arg(c.index));
        w->setGeometry(pixelRect(c));
        if (c.kind == ControlKind::Picture)
            Picture1().fitCanvas();
        w->setAccessibleName(QString::fromStdString(c.accessibleName));
        if (!c.accessibleDescription.empty())
            w->setAccessibleDescription(QString::fromStdString(c.accessibleDescription));
        w->setVisible(c.visible);
    }
    // The keyboard moves through the controls in the design's tab order;
    // labels never take the focus.
    QWidget* previous = nullptr;
    for (const ControlRef c : tabOrder()) {
        if (!takesFocus(c.kind))
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget(c));
        previous = widget(c);
    }
    giveFocus();
}

QWidget* QtForm::widget(ControlRef c)
{
    switch (c.kind) {
    case ControlKind::Picture: return &Picture1();
    case ControlKind::List: return &List1(c.index);
    case ControlKind::Text: return &Text1(c.index);
    case ControlKind::Button: return &Command1(c.index);
    case ControlKind::Label: return &Label1(c.index);
    }
    return nullptr;
}

std::optional<ControlRef> QtForm::focusedControl()
{
    // The window's own focus widget, also while another window is active.
    const QWidget* focused = focusWidget();
    for (const ControlRef c : tabOrder())
        if (focused && widget(c) == focused)
            return c;
    return std::nullopt;
}

void QtForm::focusControl(ControlRef c) { widget(c)->setFocus(Qt::TabFocusReason); }

void QtForm::showControl(ControlRef c, bool on) { widget(c)->setVisible(on); }

void QtForm::reportFailure(const std::string& what)
{
    // A failure of the program itself (the calculation's own are handled in
    // the window) is told to the user, and the window goes on.
    qCritical("trivyrhnik: %s", what.c_str());
    auto* box = new QMessageBox(QMessageBox::Critical, windowTitle(), QString::fromStdString(failureMessage(what)),
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace desktop
