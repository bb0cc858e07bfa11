#include "ui/qt/qt_controls.h"

#include <QAccessible>
#include <QApplication>
#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace ui::qt {

namespace {

// Drawing far beyond the surface shows nothing and only strains the
// rasteriser; such coordinates are left out.
constexpr double kCoordinateLimit = 1.0e7;

bool drawable(double v) { return std::isfinite(v) && std::fabs(v) < kCoordinateLimit; }

QColor toQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

QString colourCss(Rgb c) { return QStringLiteral("rgb(%1, %2, %3)").arg(c.r).arg(c.g).arg(c.b); }

QRect pixelRect(const ControlDesign& c)
{
    return QRect(twipsToPixels(c.left), twipsToPixels(c.top), twipsToPixels(c.width), twipsToPixels(c.height));
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
}

QSize PictureWidget::innerSize() const
{
    return QSize(std::max(0, width() - 2 * kBorder), std::max(0, height() - 2 * kBorder));
}

float PictureWidget::scaleHeight() const { return static_cast<float>(innerSize().height()); }

void PictureWidget::ensureImage()
{
    const qreal dpr = devicePixelRatioF();
    const QSize logical = innerSize();
    const QSize device(qRound(logical.width() * dpr), qRound(logical.height() * dpr));
    if (!image_.isNull() && image_.size() == device && image_.devicePixelRatio() == dpr)
        return;
    QImage fresh(device, QImage::Format_RGB32);
    fresh.setDevicePixelRatio(dpr);
    fresh.fill(back_);
    if (!image_.isNull()) {
        QPainter p(&fresh);
        p.drawImage(QRectF(QPointF(0, 0), QSizeF(logical)), image_);
    }
    image_ = fresh;
}

void PictureWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ensureImage();
}

void PictureWidget::setBackColor(Rgb colour)
{
    back_ = toQColor(colour);
    update();
}

void PictureWidget::cls()
{
    ensureImage();
    image_.fill(back_);
    update();
}

void PictureWidget::setDrawStyle(int style)
{
    if (style >= 0 && style <= 6)
        drawStyle_ = style;
}

QColor PictureWidget::foreground() const { return palette().color(QPalette::ButtonText); }

QColor PictureWidget::colourOf(std::optional<Rgb> colour) const { return colour ? toQColor(*colour) : foreground(); }

QPen PictureWidget::pen(const QColor& colour) const
{
    QPen p(colour);
    p.setWidth(drawWidth_);
    p.setCapStyle(drawWidth_ > 1 ? Qt::RoundCap : Qt::FlatCap);
    p.setJoinStyle(Qt::RoundJoin);
    Qt::PenStyle style = Qt::SolidLine;
    if (drawWidth_ == 1) {
        switch (drawStyle_) {
        case Dash: style = Qt::DashLine; break;
        case Dot: style = Qt::DotLine; break;
        case DashDot: style = Qt::DashDotLine; break;
        case DashDotDot: style = Qt::DashDotDotLine; break;
        default: break;
        }
    }
    if (drawStyle_ == Transparent)
        style = Qt::NoPen;
    p.setStyle(style);
    return p;
}

void PictureWidget::pset(float x, float y, std::optional<Rgb> colour)
{
    if (!drawable(x) || !drawable(y))
        return;
    ensureImage();
    const QRgb c = colourOf(colour).rgb();
    // A round dot laid out row by row in device pixels, so that it is as
    // fine as the screen allows (the aliased rasteriser turns small ellipses
    // into lopsided blobs). The point (x, y) is the middle of the pixel
    // (x, y), at (x + 0.5, y + 0.5), as for lines and circles; a device
    // pixel belongs to the dot when its centre lies within drawWidth / 2 of
    // the point. A half-pixel point thus lies between pixels, and an even
    // width covers them evenly on both sides.
    const double dpr = image_.devicePixelRatio();
    const double r = drawWidth_ / 2.0 * dpr;
    const double cx = (static_cast<double>(x) + 0.5) * dpr, cy = (static_cast<double>(y) + 0.5) * dpr;
    const int top = std::max(0, static_cast<int>(std::floor(cy - r)));
    const int bottom = std::min(image_.height() - 1, static_cast<int>(std::ceil(cy + r)));
    bool painted = false;
    for (int row = top; row <= bottom; ++row) {
        const double dy = row + 0.5 - cy;
        // A pixel centre exactly on the rim stays outside: less than half
        // of that pixel is covered, and it would stick out alone.
        if (dy * dy >= r * r)
            continue;
        const double half = std::sqrt(r * r - dy * dy);
        const int left = std::max(0, static_cast<int>(std::floor(cx - half - 0.5)) + 1);
        const int right = std::min(image_.width() - 1, static_cast<int>(std::ceil(cx + half - 0.5)) - 1);
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(row));
        for (int col = left; col <= right; ++col)
            line[col] = c;
        painted = painted || left <= right;
    }
    // A dot narrower than the gap between pixel centres still shows: it
    // takes the device pixel under its point.
    const QPoint under(static_cast<int>(std::floor(cx)), static_cast<int>(std::floor(cy)));
    if (!painted && image_.rect().contains(under))
        image_.setPixel(under, c);
    update();
}

void PictureWidget::line(float x1, float y1, float x2, float y2, std::optional<Rgb> colour)
{
    if (!drawable(x1) || !drawable(y1) || !drawable(x2) || !drawable(y2))
        return;
    ensureImage();
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(pen(colourOf(colour)));
    // Aliased, Qt colours the pixels from the first point up to the last one.
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    update();
}

void PictureWidget::circle(float x, float y, float radius, std::optional<Rgb> colour)
{
    if (!drawable(x) || !drawable(y) || !drawable(radius))
        return;
    ensureImage();
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(pen(colourOf(colour)));
    p.setBrush(Qt::NoBrush);
    const double r = std::fabs(radius);
    p.drawEllipse(QPointF(x + 0.5, y + 0.5), r, r);
    update();
}

QColor PictureWidget::pixel(int x, int y) const
{
    if (image_.isNull())
        return {};
    const qreal dpr = image_.devicePixelRatio();
    const QPoint d(static_cast<int>(std::floor((x + 0.5) * dpr)), static_cast<int>(std::floor((y + 0.5) * dpr)));
    if (!image_.rect().contains(d))
        return {};
    return image_.pixelColor(d);
}

void PictureWidget::paintEvent(QPaintEvent* /*event*/)
{
    ensureImage();
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
    p.drawImage(QPointF(kBorder, kBorder), image_);
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
    if (mouseDown_)
        form_.dispatch([&] { mouseDown_(button, shift, x, y); });
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

void TextWidget::setText(std::string text)
{
    text_ = std::move(text);
    dirty_ = true;
    form_.syncTexts();
}

void TextWidget::sync()
{
    if (!dirty_)
        return;
    dirty_ = false;
    setPlainText(toWidgetText(text_));
}

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
    ++depth_;
    try {
        handler();
    } catch (...) {
        --depth_;
        syncTexts();
        throw;
    }
    --depth_;
    syncTexts();
}

void QtForm::syncTexts()
{
    if (depth_ > 0)
        return;
    for (TextWidget* t : texts_)
        if (t)
            t->sync();
}

} // namespace ui::qt
