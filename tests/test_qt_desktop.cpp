// The window as a desktop program: the font it really uses, captions that fit,
// crisp drawing at any scale factor, accessible names and keyboard use.
// Registered three times: at scale 1, 1.5 and 2 (QT_SCALE_FACTOR).

#include "fixed_drawings.h"
#include "qt_fixture.h"

#include <QAccessible>
#include <QFontInfo>
#include <QFontMetrics>

#include <array>
#include <cmath>
#include <numbers>

using namespace qt_testing;

namespace {

// The design's visible widgets with their texts.
std::vector<std::pair<QWidget*, QString>> captioned(QtForm& f)
{
    return {{&f.Label1(0), f.Label1(0).text()},     {&f.Label1(1), f.Label1(1).text()},
            {&f.Label1(2), f.Label1(2).text()},     {&f.Label1(3), f.Label1(3).text()},
            {&f.Command1(0), f.Command1(0).text()}, {&f.Command1(1), f.Command1(1).text()},
            {&f.Command1(2), f.Command1(2).text()}};
}

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT

private slots:
    void fontIsLiberationSerifAtTwelvePoints()
    {
        RunningWindow w;
        for (QWidget* widget : w.form.findChildren<QWidget*>()) {
            const QFontInfo info(widget->font());
            QCOMPARE(info.family(), QStringLiteral("Liberation Serif"));
            QCOMPARE(info.pointSize(), 12);
            QVERIFY(!info.italic());
        }
    }

    void fontCoversEveryCharacterShown()
    {
        RunningWindow w;
        // Every text the window can show: captions, the teaching text, list
        // entries, the reports of a triangle and of collinear points, the
        // failure line.
        QString all;
        for (const auto& [widget, text] : captioned(w.form))
            all += text;
        all += w.form.Text1(0).toPlainText();
        w.press(70, 180);
        w.press(250, 170);
        w.press(120, 60);
        for (int r = 0; r < 3; ++r)
            all += w.form.List1(0).item(r)->text() + w.form.List1(1).item(r)->text();
        QTest::mouseClick(&w.form.Command1(0), Qt::LeftButton);
        all += w.form.Text1(0).toPlainText();
        all += QStringLiteral(
            "Точките лежат на права! Изчислението не може да бъде завършено: препълване. 0123456789,.-");
        QVERIFY(all.size() > 4000);
        const QFontMetrics metrics(w.form.Text1(0).font());
        for (const char32_t ch : all.toUcs4()) {
            if (ch == '\n')
                continue;
            QVERIFY2(metrics.inFontUcs4(ch), qPrintable(QStringLiteral("missing U+%1").arg(uint(ch), 4, 16)));
        }
    }

    void captionsFitTheirControls()
    {
        RunningWindow w;
        for (const auto& [widget, text] : captioned(w.form)) {
            const QFontMetrics m(widget->font());
            QVERIFY2(m.horizontalAdvance(text) <= widget->contentsRect().width() - 2, qPrintable(text));
            QVERIFY2(m.height() <= widget->contentsRect().height(), qPrintable(text));
        }
    }

    void reportCanBeSelectedAndCopied()
    {
        RunningWindow w;
        auto& box = w.form.Text1(0);
        QVERIFY(box.isReadOnly());
        QVERIFY(box.textInteractionFlags() & Qt::TextSelectableByMouse);
        QVERIFY(box.textInteractionFlags() & Qt::TextSelectableByKeyboard);
        box.setFocus();
        QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(box.textCursor().selectedText().size(), box.toPlainText().size());
    }

    void layoutIsTheSameInLogicalPixels()
    {
        RunningWindow w;
        QCOMPARE(w.form.size(), QSize(461, 418));
        QCOMPARE(w.form.Picture1().geometry(), QRect(16, 56, 339, 233));
        QCOMPARE(w.window.state().Kolko_Y, 229.0f);
    }

    // The retained image has the device pixel ratio: a one-pixel dot covers
    // exactly ratio x ratio device pixels, a five-pixel dot about five logical
    // pixels, and nothing is blurred into other colours.
    void drawingIsCrispAtDeviceResolution()
    {
        RunningWindow w;
        auto& pic = w.form.Picture1();
        const qreal dpr = pic.devicePixelRatioF();
        pic.setDrawWidth(1);
        pic.pset(10, 10, ui::rgb(255, 0, 0));
        pic.setDrawWidth(5);
        pic.pset(100, 100, ui::rgb(0, 0, 255));
        pic.setDrawWidth(1);
        pic.setDrawStyle(0);
        pic.line(20, 50, 200, 50, ui::rgb(0, 255, 0));
        const QImage image = pic.image();
        QCOMPARE(image.devicePixelRatio(), dpr);
        QCOMPARE(image.width(), qRound(335 * dpr));
        int red = 0, blue = 0, green = 0, other = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y) & 0xFFFFFF;
                if (c == 0xFF0000)
                    ++red;
                else if (c == 0x0000FF)
                    ++blue;
                else if (c == 0x00FF00)
                    ++green;
                else if (c != 0xFFFFFF)
                    ++other;
            }
        const int d = qRound(dpr);
        if (qFuzzyCompare(dpr, qreal(d))) {
            QCOMPARE(red, d * d);
            // The line: 181 logical pixels long, one logical pixel thick.
            QVERIFY2(std::abs(green - 181 * d * d) <= 2 * d * d, qPrintable(QString::number(green)));
            if (d >= 2) {
                // Finer than logical pixels: some logical pixel of the wide
                // dot is only partly covered by its device pixels.
                bool partial = false;
                for (int ly = 97; ly <= 103; ++ly)
                    for (int lx = 97; lx <= 103; ++lx) {
                        int covered = 0;
                        for (int i = 0; i < d * d; ++i)
                            covered += (image.pixel(lx * d + i % d, ly * d + i / d) & 0xFFFFFF) == 0x0000FF;
                        partial = partial || (covered > 0 && covered < d * d);
                    }
                QVERIFY(partial);
            }
        } else {
            QVERIFY(red >= 1 && red <= 4);
        }
        const double disc = std::numbers::pi * 2.5 * 2.5 * dpr * dpr;
        QVERIFY2(blue > 0.6 * disc && blue < 1.6 * disc, qPrintable(QString::number(blue)));
        QCOMPARE(other, 0);
    }

    // A dot is centred on its point, the middle of the pixel (x, y) as for
    // lines and circles: its device pixels mirror onto each other around
    // ((x + 0.5) * ratio, (y + 0.5) * ratio), half-pixel points included.
    void dotIsCentredOnItsPoint_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<int>("width");
        QTest::newRow("point, 5 pixels wide") << 60.0 << 40.0 << 5;
        QTest::newRow("centre, 6 pixels wide") << 60.0 << 40.0 << 6;
        QTest::newRow("point, 4 pixels wide") << 60.0 << 40.0 << 4;
        QTest::newRow("point, 1 pixel wide") << 60.0 << 40.0 << 1;
        QTest::newRow("half-pixel midpoint, 4 pixels wide") << 12.5 << 20.5 << 4;
        QTest::newRow("half-pixel x only, 4 pixels wide") << 12.5 << 20.0 << 4;
        QTest::newRow("half-pixel midpoint, 5 pixels wide") << 12.5 << 20.5 << 5;
    }
    void dotIsCentredOnItsPoint()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(int, width);
        RunningWindow w;
        auto& pic = w.form.Picture1();
        const qreal dpr = pic.devicePixelRatioF();
        const int d = qRound(dpr);
        if (!qFuzzyCompare(dpr, qreal(d)))
            QSKIP("the pixel grid has no mirror axis at a fractional scale");
        pic.setDrawWidth(width);
        pic.pset(float(x), float(y), ui::rgb(255, 0, 0));
        const QImage image = pic.image();
        const auto red = [&](int px, int py) {
            return image.rect().contains(px, py) && (image.pixel(px, py) & 0xFFFFFF) == 0xFF0000;
        };
        // Twice the centre in device pixels: a whole number at whole scales.
        const int twiceX = qRound((2 * x + 1) * d), twiceY = qRound((2 * y + 1) * d);
        int count = 0;
        for (int py = 0; py < image.height(); ++py)
            for (int px = 0; px < image.width(); ++px)
                if (red(px, py)) {
                    ++count;
                    QVERIFY2(red(twiceX - 1 - px, py) && red(px, twiceY - 1 - py),
                             qPrintable(QStringLiteral("%1,%2 has no mirror").arg(px).arg(py)));
                }
        // Round, with no lone pixel sticking out of its top row.
        int top = 0;
        for (int py = 0; py < image.height() && top == 0; ++py)
            for (int px = 0; px < image.width(); ++px)
                top += red(px, py);
        QVERIFY2(top > 1 || width * d < 3, qPrintable(QString::number(top)));
        const double disc = std::numbers::pi * width * width / 4.0 * d * d;
        QVERIFY2(count > 0.7 * disc && count < 1.5 * disc, qPrintable(QString::number(count)));
    }

    // Through the real widget at the screen's scale: the circle through
    // three points nearly on one line (radius about 16,400) is exact and
    // crosses their dots, and the widget shows its buffer one to one.
    void circumcircleCrossesItsDotsOnScreen()
    {
        RunningWindow w;
        auto& pic = w.form.Picture1();
        const double dpr = pic.devicePixelRatioF();
        pic.setBackColor(ui::rgb(255, 255, 255));
        pic.cls();
        const double ax = 20, ay = 40, bx = 320, by = 200, cx = 170, cy = 121;
        const double d = 2 * (ax * (by - cy) + bx * (cy - ay) + cx * (ay - by));
        const double a2 = ax * ax + ay * ay, b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
        const double ox = (a2 * (by - cy) + b2 * (cy - ay) + c2 * (ay - by)) / d;
        const double oy = (a2 * (cx - bx) + b2 * (ax - cx) + c2 * (bx - ax)) / d;
        const double r = std::hypot(ax - ox, ay - oy);
        QVERIFY(r > 16000 && r < 17000);
        pic.setDrawWidth(1);
        pic.setDrawStyle(ui::Solid);
        pic.circle(float(ox), float(oy), float(r), ui::rgb(255, 0, 0));
        const QImage image = pic.image();
        // The single-precision centre and radius that the surface was given.
        const double fx = (float(ox) + 0.5) * dpr, fy = (float(oy) + 0.5) * dpr, fr = float(r) * dpr;
        int red = 0;
        std::array<bool, 3> crossed{};
        const std::array<std::pair<double, double>, 3> vertices{{{ax, ay}, {bx, by}, {cx, cy}}};
        for (int j = 0; j < image.height(); ++j)
            for (int i = 0; i < image.width(); ++i) {
                if ((image.pixel(i, j) & 0xFFFFFF) != 0xFF0000)
                    continue;
                ++red;
                const double dist = std::hypot(i + 0.5 - fx, j + 0.5 - fy);
                QVERIFY2(std::fabs(dist - fr) <= 0.5 + dpr / 2, qPrintable(QStringLiteral("%1,%2").arg(i).arg(j)));
                for (size_t k = 0; k < 3; ++k)
                    crossed[k] = crossed[k]
                        || std::hypot(i + 0.5 - (vertices[k].first + 0.5) * dpr,
                                      j + 0.5 - (vertices[k].second + 0.5) * dpr)
                            < 2.5 * dpr;
            }
        QVERIFY(red > 300 * dpr);
        QVERIFY(crossed[0] && crossed[1] && crossed[2]);
        // On screen: the buffer inside the frame, device pixel for device
        // pixel, not an enlarged picture of lower resolution.
        const QImage shown = pic.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int b = qRound(kB * dpr);
        QCOMPARE(shown.copy(b, b, image.width(), image.height()), image.convertToFormat(QImage::Format_RGB32));
    }

    // The whole drawings of tests/fixed_drawings.txt at this scale factor,
    // as the window shows them inside the frame.
    void fixedDrawingsAsShown()
    {
        int drawn = 0;
        for (const auto& d : testing_support::fixedDrawings()) {
            RunningWindow w;
            auto& pic = w.form.Picture1();
            if (pic.devicePixelRatioF() != d.scale)
                continue;
            for (int k = 0; k < 3; ++k)
                w.press(static_cast<int>(d.points[2 * k]), static_cast<int>(d.points[2 * k + 1]));
            w.clickButton(0);
            const int b = qRound(kB * d.scale);
            const QImage shown
                = pic.grab().toImage().convertToFormat(QImage::Format_RGB32).copy(b, b, d.deviceWidth, d.deviceHeight);
            const auto* pixels = reinterpret_cast<const std::uint32_t*>(shown.constBits());
            const auto hash = testing_support::pixelHash(pixels, static_cast<std::size_t>(shown.sizeInBytes() / 4));
            QVERIFY2(hash == d.hash,
                     qPrintable(QStringLiteral("%1: %2").arg(QString::fromStdString(d.name)).arg(hash, 8, 16)));
            ++drawn;
        }
        if (drawn == 0)
            QSKIP("no fixed drawing at this scale factor");
    }

    void pressGivesTheWholeLogicalPixelUnderThePointer()
    {
        RunningWindow w;
        auto& pic = w.form.Picture1();
        const QPointF local(kB + 10.7, kB + 20.2);
        QMouseEvent press(QEvent::MouseButtonPress, local, pic.mapToGlobal(local), Qt::RightButton, Qt::RightButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&pic, &press);
        QCOMPARE(w.form.List1(0).item(0)->text(), QStringLiteral("10"));
        QCOMPARE(w.form.List1(1).item(0)->text(), QStringLiteral("20"));
        QCOMPARE(pic.pixel(10, 20), QColor(pic.palette().color(QPalette::ButtonText)));
    }

    // What a screen reader gets of every control: its name, role,
    // description and whether it can be used.
    void accessibleTree_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("enabled");
        const auto row = [](const char* tag, const char* control, const char* name, QAccessible::Role role,
                            const char* description, bool enabled = true) {
            QTest::newRow(tag) << QString::fromUtf8(control) << QString::fromUtf8(name) << int(role)
                               << QString::fromUtf8(description) << enabled;
        };
        row("window", "", "https://trivyrhnik.example.org  Аналитична геометрия - координати", QAccessible::Window, "");
        row("title label", "Label1_0", "Описана окръжност - координати на точки", QAccessible::StaticText, "Заглавие");
        row("hint label", "Label1_3", "Посочете трите върха на триъгълника", QAccessible::StaticText, "Указание");
        row("X label", "Label1_1", "Ос X", QAccessible::StaticText, "Надпис на ос X");
        row("Y label", "Label1_2", "Ос Y", QAccessible::StaticText, "Надпис на ос Y");
        row("surface", "Picture1_0", "Чертожна площ", QAccessible::Canvas,
            "Щракнете с мишката, за да посочите връх на триъгълника. "
            "Тук се чертаят точките, средите на страните, контурът и окръжностите.");
        row("X list", "List1_0", "Координати X на точките", QAccessible::List, "");
        row("Y list", "List1_1", "Координати Y на точките", QAccessible::List, "");
        row("Изчисли, disabled before three points", "Command1_0", "Изчисли", QAccessible::Button, "", false);
        row("Изчисти", "Command1_1", "Изчисти", QAccessible::Button, "");
        row("Изтрий", "Command1_2", "Изтрий", QAccessible::Button, "");
        row("report", "Text1_0", "Решение", QAccessible::EditableText,
            "Учебен текст, а след изчисление - решението стъпка по стъпка.");
    }
    void accessibleTree()
    {
        QFETCH(QString, control);
        QFETCH(QString, name);
        QFETCH(int, role);
        QFETCH(QString, description);
        QFETCH(bool, enabled);
        RunningWindow w;
        QWidget* widget = control.isEmpty() ? &w.form : w.form.findChild<QWidget*>(control);
        QVERIFY(widget);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(a);
        QCOMPARE(a->text(QAccessible::Name), name);
        QCOMPARE(int(a->role()), role);
        QCOMPARE(a->text(QAccessible::Description), description);
        QCOMPARE(!a->state().disabled, enabled);
        QVERIFY(!a->state().invisible);
    }

    void tabOrderFollowsTheDesign()
    {
        RunningWindow w;
        auto& f = w.form;
        // The controls that take focus, in the design's tab order.
        const QList<QWidget*> expected = {&f.Text1(0),    &f.Text1(1),    &f.List1(0), &f.List1(1),  &f.Command1(0),
                                          &f.Command1(1), &f.Command1(2), &f.List1(2), &f.Picture1()};
        QList<QWidget*> chain;
        QWidget* at = &f.Text1(0);
        for (int i = 0; i < 64 && chain.size() < expected.size(); ++i, at = at->nextInFocusChain())
            if (expected.contains(at))
                chain.append(at);
        QCOMPARE(chain, expected);
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&f.Text1(0)));
        // Tab skips the hidden controls and the disabled "Изчисли".
        const QList<QWidget*> visited
            = {&f.List1(0), &f.List1(1), &f.Command1(1), &f.Command1(2), &f.Picture1(), &f.Text1(0)};
        for (QWidget* next : visited) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        // The surface shows its focus on its frame and takes no key.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&f.Picture1()));
        const QImage focused = f.Picture1().grab().toImage();
        const QImage drawing = f.Picture1().image();
        QTest::keyClicks(&f.Picture1(), QStringLiteral("a 1"));
        QCOMPARE(f.List1(0).count(), 0);
        QCOMPARE(f.Picture1().image(), drawing);
        f.Command1(1).setFocus();
        const QImage unfocused = f.Picture1().grab().toImage();
        // Only the frame changes; the drawing looks the same either way.
        const int b = qCeil(kB * focused.devicePixelRatio());
        const QRect inner = focused.rect().marginsRemoved(QMargins(b, b, b, b));
        QCOMPARE(focused.copy(inner), unfocused.copy(inner));
        QVERIFY(focused.pixel(0, 0) != unfocused.pixel(0, 0));
    }

    void buttonsWorkFromTheKeyboard()
    {
        RunningWindow w;
        w.pressAll({{10, 10}, {40, 10}, {10, 50}});
        w.form.Command1(0).setFocus();
        QTest::keyClick(&w.form.Command1(0), Qt::Key_Space);
        QCOMPARE(w.report(), rightTriangleReport().join(QLatin1Char('\n')) + QLatin1Char('\n'));
        w.form.Command1(1).setFocus();
        QTest::keyClick(&w.form.Command1(1), Qt::Key_Space);
        QCOMPARE(w.form.Text1(0).toPlainText(), QString());
        QCOMPARE(w.form.List1(0).count(), 0);
    }

    // The focus when a button disables itself goes on to the next control
    // in Tab order, as the form's rule says; one that stays enabled keeps it.
    void focusAfterAButton_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("key"); // 0: a click with the mouse
        QTest::addColumn<QString>("focused");
        QTest::addColumn<QString>("afterTab");
        QTest::newRow("Space on Изчисли") << 0 << int(Qt::Key_Space) << "Command1_1"
                                          << "Picture1_0";
        QTest::newRow("Enter on Изчисли") << 0 << int(Qt::Key_Return) << "Command1_1"
                                          << "Picture1_0";
        QTest::newRow("click on Изчисли") << 0 << 0 << "Command1_1"
                                          << "Picture1_0";
        QTest::newRow("Space on Изтрий") << 2 << int(Qt::Key_Space) << "Command1_2"
                                         << "Picture1_0";
        QTest::newRow("Enter on Изтрий") << 2 << int(Qt::Key_Enter) << "Command1_2"
                                         << "Picture1_0";
        QTest::newRow("click on Изтрий") << 2 << 0 << "Command1_2"
                                         << "Picture1_0";
        QTest::newRow("Space on Изчисти") << 1 << int(Qt::Key_Space) << "Command1_1"
                                          << "Command1_2";
        QTest::newRow("Enter on Изчисти") << 1 << int(Qt::Key_Return) << "Command1_1"
                                          << "Command1_2";
    }
    void focusAfterAButton()
    {
        QFETCH(int, button);
        QFETCH(int, key);
        QFETCH(QString, focused);
        QFETCH(QString, afterTab);
        RunningWindow w;
        QVERIFY(QTest::qWaitForWindowActive(&w.form));
        w.pressAll({{10, 10}, {40, 10}, {10, 50}});
        w.clickRow(0, 1);
        auto& b = w.form.Command1(button);
        if (key != 0) {
            b.setFocus();
            QTest::keyClick(&b, static_cast<Qt::Key>(key));
        } else {
            w.clickButton(button);
        }
        // The press did what the button does: "Изчисли" wrote the report,
        // "Изтрий" deleted the selected point, "Изчисти" emptied the lists.
        const int rows[] = {3, 0, 2};
        QCOMPARE(w.form.List1(0).count(), rows[button]);
        if (button == 0)
            QVERIFY(w.form.Text1(0).toPlainText().startsWith(rightTriangleReport().front()));
        QVERIFY(w.form.focusWidget());
        QCOMPARE(w.form.focusWidget()->objectName(), focused);
        QTest::keyClick(w.form.focusWidget(), Qt::Key_Tab);
        QCOMPARE(w.form.focusWidget()->objectName(), afterTab);
    }
};

QTEST_MAIN(DesktopTest)
#include "test_qt_desktop.moc"
