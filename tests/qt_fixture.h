#pragma once
// Helpers of the widget tests: surface pixels as colour names, clicks on list
// rows, a form from the design and the whole window as main() builds it.

#include "app/layout.h"
#include "app/trivyrhnik.h"
#include "desktop/qt_controls.h"

#include "report_fixture.h"

#include <QtTest>

#include <memory>
#include <vector>

namespace qt_testing {

using desktop::PictureWidget;
using desktop::QtForm;

constexpr int kB = PictureWidget::kBorder;

// A pixel as "#rrggbb", or "invalid" outside the drawing area, so that a
// missing pixel never passes for black.
inline QString px(const PictureWidget& pic, int x, int y)
{
    const QColor c = pic.pixel(x, y);
    return c.isValid() ? c.name() : QStringLiteral("invalid");
}

inline QString name(int r, int g, int b) { return QColor(r, g, b).name(); }

inline const QString kWhite = name(255, 255, 255);
inline const QString kBlack = name(0, 0, 0);
inline const QString kRed = name(255, 0, 0);

// The first pixel of the drawing area whose colour is none of the allowed
// ones, as "x,y #rrggbb"; empty when there is none.
inline QString strayPixel(const PictureWidget& pic, const QStringList& allowed)
{
    const QSize size = pic.innerSize();
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (!allowed.contains(px(pic, x, y)))
                return QStringLiteral("%1,%2 %3").arg(x).arg(y).arg(px(pic, x, y));
    return {};
}

// The logical pixels of the drawing area that have the colour.
inline std::vector<QPoint> pixelsOf(const PictureWidget& pic, const QString& colour)
{
    std::vector<QPoint> out;
    const QSize size = pic.innerSize();
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (px(pic, x, y) == colour)
                out.emplace_back(x, y);
    return out;
}

inline void clickRow(QListWidget& list, int row, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers, list.visualItemRect(list.item(row)).center());
}

// A form from the program's design, shown and exposed.
inline std::unique_ptr<QtForm> shownForm()
{
    auto form = std::make_unique<QtForm>(app::trivyrhnikDesign());
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        return nullptr;
    return form;
}

// The report of the right triangle (10,10), (40,10), (10,50) as the report
// box shows it, one line each.
inline QStringList rightTriangleReport()
{
    QStringList out;
    for (const std::string& line : testing_support::rightTriangleLines())
        out << QString::fromStdString(line);
    return out;
}

// The program as main() builds it, shown and exposed.
struct RunningWindow {
    RunningWindow() : form(app::trivyrhnikDesign()), window(form, {"."})
    {
        form.dispatch([&] { window.Form_Load(); });
        form.show();
        exposed = QTest::qWaitForWindowExposed(&form);
    }

    // A press and release of the button on the pixel (x, y) of the drawing area.
    void press(int x, int y, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(&form.Picture1(), button, {}, QPoint(kB + x, kB + y));
    }
    void pressAll(const QList<QPoint>& points)
    {
        for (const QPoint& p : points)
            press(p.x(), p.y());
    }
    void clickRow(int list, int row) { qt_testing::clickRow(form.List1(list), row); }
    void clickButton(int index) { QTest::mouseClick(&form.Command1(index), Qt::LeftButton); }

    QString pixel(int x, int y) { return px(form.Picture1(), x, y); }
    int countOf(const QString& colour) { return static_cast<int>(pixelsOf(form.Picture1(), colour).size()); }
    QStringList rows(int list)
    {
        QStringList out;
        QListWidget& l = form.List1(list);
        for (int r = 0; r < l.count(); ++r)
            out << l.item(r)->text();
        return out;
    }
    int selectedRow(int list)
    {
        const auto selected = form.List1(list).selectedItems();
        return selected.isEmpty() ? -1 : form.List1(list).row(selected.front());
    }
    QString buttons()
    {
        QString out;
        for (int i = 0; i < 3; ++i)
            out += form.Command1(i).isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return out;
    }
    QString report() { return form.Text1(0).toPlainText(); }

    QtForm form;
    app::Trivyrhnik window;
    bool exposed = false;
};

} // namespace qt_testing
