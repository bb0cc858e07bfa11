#include "desktop/qt_controls.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QFrame>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace ui::qt {

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
    return QSize(std::max(0, width() - 2 * kBorder), std::max(0, height() - 2 * kBorder));
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

ListWidget::ListWidget(QtForm& form, QWidget* parent) : QListWidget(parent), form_(form)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (listIndex() >= 0)
            raiseClick();
    });
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem*) {
        // A click on the row that is already selected is a click too.
        if (!raisedSincePress_)
            raiseClick();
    });
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

void ListWidget::raiseClick()
{
    raisedSincePress_ = true;
    if (click_)
        form_.dispatch(click_);
}

void ListWidget::mousePressEvent(QMouseEvent* event)
{
    raisedSincePress_ = false;
    QListWidget::mousePressEvent(event);
}

void ListWidget::addItem(const std::string& text)
{
    const QSignalBlocker block(this);
    QListWidget::addItem(QString::fromStdString(text));
}

void ListWidget::removeItem(int row)
{
    if (row < 0 || row >= count())
        return;
    const QSignalBlocker block(this);
    delete takeItem(row);
    clearSelection();
    setCurrentRow(-1);
}

void ListWidget::clear()
{
    const QSignalBlocker block(this);
    QListWidget::clear();
}

std::string ListWidget::list(int row) const
{
    const QListWidgetItem* it = item(row);
    return it ? it->text().toStdString() : std::string();
}

int ListWidget::listIndex() const
{
    const auto selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.front());
}

void ListWidget::setListIndex(int row)
{
    if (row < -1 || row >= count() || row == listIndex())
        return;
    if (row < 0) {
        const QSignalBlocker block(this);
        clearSelection();
        setCurrentRow(-1);
        return;
    }
    // Selecting a different row raises the click at once, as a user's
    // selection would.
    setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
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

void TextWidget::textKept() { form_.syncTexts(); }

void TextWidget::display(const std::string& text) { setPlainText(toWidgetText(text)); }

// ---------------------------------------------------------------- buttons

ButtonWidget::ButtonWidget(QtForm& form, QWidget* parent) : QPushButton(parent), form_(form)
{
    connect(this, &QPushButton::clicked, this, [this] {
        if (click_)
            form_.dispatch(click_);
    });
}

// ------------------------------------------------------------------- form

QtForm::QtForm(const FormDesign& design, QWidget* parent) : QWidget(parent)
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

    std::vector<std::pair<int, QWidget*>> order;
    for (const auto& c : design.controls) {
        QWidget* w = nullptr;
        switch (c.kind) {
        case ControlKind::Picture: {
            picture_ = new PictureWidget(*this, this);
            w = picture_;
            break;
        }
        case ControlKind::List: {
            auto* l = new ListWidget(*this, this);
            lists_.at(static_cast<size_t>(c.index)) = l;
            w = l;
            break;
        }
        case ControlKind::Text: {
            auto* t = new TextWidget(*this, this);
            texts_.at(static_cast<size_t>(c.index)) = t;
            t->setText(c.text);
            t->sync();
            w = t;
            break;
        }
        case ControlKind::Button: {
            auto* b = new ButtonWidget(*this, this);
            buttons_.at(static_cast<size_t>(c.index)) = b;
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
            auto* l = new LabelWidget(this);
            labels_.at(static_cast<size_t>(c.index)) = l;
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
        if (w == picture_)
            picture_->fitCanvas();
        w->setAccessibleName(QString::fromStdString(c.accessibleName));
        if (!c.accessibleDescription.empty())
            w->setAccessibleDescription(QString::fromStdString(c.accessibleDescription));
        w->setVisible(c.visible);
        order.emplace_back(c.tabIndex, w);
    }
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [tab, w] : order)
        tabOrder_.push_back(w);
    // The keyboard moves through the controls that take focus, in the
    // design's order; labels never take it.
    QWidget* previous = nullptr;
    for (QWidget* w : tabOrder_) {
        if (!(w->focusPolicy() & Qt::TabFocus))
            continue;
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
    if (texts_[0])
        texts_[0]->setFocus();
}

void QtForm::dispatch(const std::function<void()>& handler)
{
    // A failure of the program itself (the calculation's own are handled in
    // the window) is told to the user, and the window goes on.
    depth_.run(
        handler, [this] { syncTexts(); },
        [this](const std::string& what) {
            qCritical("trivyrhnik: %s", what.c_str());
            auto* box = new QMessageBox(QMessageBox::Critical, windowTitle(),
                                        QString::fromStdString(failureMessage(what)), QMessageBox::Ok, this);
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->open();
        });
}

void QtForm::syncTexts()
{
    if (depth_.busy())
        return;
    for (TextWidget* t : texts_)
        if (t)
            t->sync();
}

} // namespace ui::qt
