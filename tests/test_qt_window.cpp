// The whole window on the real Qt controls, started as the program starts
// it and driven with mouse events: start state, point entry, selection, a
// calculation run, clearing and deletion.

#include "app/layout.h"
#include "app/trivyrhnik.h"
#include "ui/qt/qt_controls.h"

#include <QtTest>

#include <clocale>

#include <memory>

using ui::qt::PictureWidget;
using ui::qt::QtForm;

namespace {

constexpr int kB = PictureWidget::kBorder;

// The program as main() builds it, shown and exposed.
struct RunningWindow {
    RunningWindow() : form(app::trivyrhnikDesign()), window(form, {"."})
    {
        form.dispatch([&] { window.Form_Load(); });
        form.show();
        exposed = QTest::qWaitForWindowExposed(&form);
    }

    // A left press and release on the pixel (x, y) of the drawing area.
    void press(int x, int y, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(&form.Picture1(), button, {}, QPoint(kB + x, kB + y));
    }
    void pressAll(std::initializer_list<QPoint> points)
    {
        for (const QPoint& p : points)
            press(p.x(), p.y());
    }
    void clickRow(int list, int row)
    {
        QListWidget& l = form.List1(list);
        QTest::mouseClick(l.viewport(), Qt::LeftButton, {}, l.visualItemRect(l.item(row)).center());
    }
    void clickButton(int index) { QTest::mouseClick(&form.Command1(index), Qt::LeftButton); }

    QString pixel(int x, int y)
    {
        const QColor c = form.Picture1().pixel(x, y);
        return c.isValid() ? c.name() : QStringLiteral("invalid");
    }
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
    // The first pixel of the drawing area that is not white, as "x,y #rrggbb".
    QString firstNonWhite()
    {
        const QSize size = form.Picture1().innerSize();
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                if (pixel(x, y) != QLatin1String("#ffffff"))
                    return QStringLiteral("%1,%2 %3").arg(x).arg(y).arg(pixel(x, y));
        return {};
    }
    int countOf(const QString& colour)
    {
        int n = 0;
        const QSize size = form.Picture1().innerSize();
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                n += pixel(x, y) == colour;
        return n;
    }

    QtForm form;
    app::Trivyrhnik window;
    bool exposed = false;
};

QString name(int r, int g, int b) { return QColor(r, g, b).name(); }

const QString kWhite = name(255, 255, 255);
const QString kBlack = name(0, 0, 0);
const QString kRed = name(255, 0, 0);

const QString kSideAB = QStringLiteral("Страна AB = Sqrt( (Ax-Bx)*(Ax-Bx) + {Ay-By)*(Ay-By) ) = ");
const QString kSideBC = QStringLiteral("Страна BC = Sqrt( (Bx-Cx)*(Bx-Cx) + {By-Cy)*(By-Cy) ) = ");
const QString kSideAC = QStringLiteral("Страна AC = Sqrt( (Cx-Ax)*(Cx-Ax) + {Cy-Ay)*(Cy-Ay) ) = ");

// The report of the right triangle (10,10), (40,10), (10,50), one line each.
QStringList rightTriangleReport()
{
    return {
        QStringLiteral("Ориентирано лице - координати на върховете:"),
        QStringLiteral("10, 10, 1"),
        QStringLiteral("40, 10, 1"),
        QStringLiteral("10, 50, 1"),
        QStringLiteral("Ориентирано лице = 600"),
        kSideAB + QStringLiteral("30"),
        QStringLiteral("Уравнение на страната AB c:0*x  + 30*y  - 300 = 0"),
        QStringLiteral("Среда на страна c: 25, 10;"),
        kSideBC + QStringLiteral("50"),
        QStringLiteral("Уравнение на страната BC a:-40*x  - 30*y  + 1900 = 0"),
        QStringLiteral("Среда на страна a: 25, 30;"),
        kSideAC + QStringLiteral("40"),
        QStringLiteral("Уравнение на страната AC b:40*x  - 0*y  - 400 = 0"),
        QStringLiteral("Среда на страна b: 10, 30;"),
        QStringLiteral("Периметър на триъгълника: 120"),
        QStringLiteral("Лице по Херон: 600"),
        QStringLiteral("Радиус на описаната окръжност: 25"),
        QStringLiteral("Радиус на вписаната окръжност: 10"),
        QStringLiteral("Правоъгълен триъгълник: "),
        QStringLiteral("Изчисление по най-дългата страна: "),
        QStringLiteral("Xc = 25; Yc = 30; R = 25"),
        QStringLiteral("Уравнение на симетрала към AB: "),
        QStringLiteral("30*x  - 0*y  - 750 = 0"),
        QStringLiteral("Уравнение на симетрала към BC: "),
        QStringLiteral("-30*x  + 40*y  - 450 = 0"),
        QStringLiteral("Уравнение на симетрала към AC: "),
        QStringLiteral("0*x  - 40*y  + 1200 = 0"),
        QStringLiteral("От решението на системата уравнения за две от симетралите: "),
        QStringLiteral("30*x  - 0*y  - 750 = 0"),
        QStringLiteral("-30*x  + 40*y  - 450 = 0"),
        QStringLiteral("Пресечната точка на симетралите е с координати:"),
        QStringLiteral("Sx = 30000 / 1200 = 25;"),
        QStringLiteral("Sy = 36000 / 1200 = 30"),
        QStringLiteral("Изчисления по R =a*b*c/(4*S) = 25"),
    };
}

} // namespace

class QtWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void stateAfterStart();
    void pressesFillTheLists_data();
    void pressesFillTheLists();
    void rowClickSelectsThePointEverywhere_data();
    void rowClickSelectsThePointEverywhere();
    void calculationRunAndClear();
    void deletionRepaintsOverlappingDot();
    void collinearPoints();
};

// Under a locale the system lacks, the run would quietly repeat the C one.
void QtWindowTest::initTestCase()
{
    const QByteArray expected = qgetenv("TRIVYRHNIK_EXPECT_DECIMAL");
    if (!expected.isEmpty())
        QCOMPARE(QByteArray(std::localeconv()->decimal_point), expected);
}

void QtWindowTest::stateAfterStart()
{
    RunningWindow w;
    QVERIFY(w.exposed);

    const std::string text = w.form.Text1(0).text();
    QCOMPARE(text, app::teachingText());
    const QStringList lines = QString::fromStdString(text).split(QStringLiteral("\r\n"));
    // 68 lines, each ending in CR LF: the split leaves one empty piece last.
    QCOMPARE(lines.size(), 69);
    QCOMPARE(lines.last(), QString());
    QCOMPARE(lines.first(), QStringLiteral("Нека имаме 3 точки от равнината с различни координати."));
    for (const QString& line : lines)
        QVERIFY2(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')), qPrintable(line));
    QCOMPARE(w.report(), QStringList(lines).join(QLatin1Char('\n')));

    QCOMPARE(w.buttons(), QStringLiteral("011"));
    QCOMPARE(w.firstNonWhite(), QString());
    QCOMPARE(w.form.Picture1().drawWidth(), 5);
    QCOMPARE(w.form.Picture1().drawStyle(), int(ui::DashDotDot));
    QCOMPARE(w.form.Picture1().scaleHeight(), 229.0f);
    QCOMPARE(w.window.state().Kolko_Y, 229.0f);
    QCOMPARE(w.window.state().Obsh_Broj, 0);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(w.form.List1(i).count(), 0);
    QVERIFY(!w.form.List1(2).isVisible());
    QVERIFY(!w.form.Text1(1).isVisible());

    // The disabled "Изчисли" does nothing when clicked.
    w.clickButton(0);
    QCOMPARE(w.form.Text1(0).text(), app::teachingText());
}

void QtWindowTest::pressesFillTheLists_data()
{
    QTest::addColumn<Qt::MouseButton>("button");

    QTest::newRow("left button") << Qt::LeftButton;
    QTest::newRow("right button") << Qt::RightButton;
    QTest::newRow("middle button") << Qt::MiddleButton;
}

void QtWindowTest::pressesFillTheLists()
{
    QFETCH(Qt::MouseButton, button);
    RunningWindow w;
    QVERIFY(w.exposed);
    const QString fore = w.form.Picture1().palette().color(QPalette::ButtonText).name();

    w.press(10, 10, button);
    w.press(40, 10, button);
    QCOMPARE(w.buttons(), QStringLiteral("011"));
    w.press(10, 50, button);
    QCOMPARE(w.rows(0), (QStringList{"10", "40", "10"}));
    QCOMPARE(w.rows(1), (QStringList{"10", "10", "50"}));
    QCOMPARE(w.rows(2), (QStringList{"219", "219", "179"}));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(w.selectedRow(i), -1);
    QCOMPARE(w.pixel(10, 10), fore);
    QCOMPARE(w.pixel(40, 10), fore);
    QCOMPARE(w.pixel(10, 50), fore);
    QCOMPARE(w.pixel(12, 50), fore);
    QCOMPARE(w.pixel(13, 50), kWhite);
    QCOMPARE(w.buttons(), QStringLiteral("111"));

    // A fourth press adds nothing.
    w.press(100, 100, button);
    QCOMPARE(w.rows(0).size(), 3);
    QCOMPARE(w.pixel(100, 100), kWhite);
    QCOMPARE(w.window.state().Obsh_Broj, 3);
}

void QtWindowTest::rowClickSelectsThePointEverywhere_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<QList<int>>("clicks");

    QTest::newRow("row 1 in Ос Y") << 1 << QList<int>{1};
    QTest::newRow("row 1 in Ос X") << 0 << QList<int>{1};
    QTest::newRow("row 2 in Ос X") << 0 << QList<int>{2};
    QTest::newRow("row 1, then row 0 in Ос Y") << 1 << QList<int>{1, 0};
    QTest::newRow("row 0 twice in Ос X") << 0 << QList<int>{0, 0};
}

void QtWindowTest::rowClickSelectsThePointEverywhere()
{
    QFETCH(int, list);
    QFETCH(QList<int>, clicks);
    RunningWindow w;
    QVERIFY(w.exposed);
    const QPoint points[] = {{10, 10}, {40, 10}, {10, 50}};
    for (const QPoint& p : points)
        w.press(p.x(), p.y());

    for (int row : clicks)
        w.clickRow(list, row);
    const int selected = clicks.last();
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(w.selectedRow(i), selected);
        QCOMPARE(w.form.List1(i).listIndex(), selected);
    }
    for (int r = 0; r < 3; ++r)
        QCOMPARE(w.pixel(points[r].x(), points[r].y()), r == selected ? kRed : kBlack);
    // Only the selected dot is red: 21 pixels of a round 5-pixel dot.
    QCOMPARE(w.countOf(kRed), 21);
    QCOMPARE(w.rows(0), (QStringList{"10", "40", "10"}));
    QCOMPARE(w.buttons(), QStringLiteral("111"));
}

void QtWindowTest::calculationRunAndClear()
{
    RunningWindow w;
    QVERIFY(w.exposed);
    w.pressAll({{10, 10}, {40, 10}, {10, 50}});
    w.clickRow(1, 1);
    QCOMPARE(w.pixel(40, 10), kRed);

    w.clickButton(0);
    const QStringList expected = rightTriangleReport();
    QCOMPARE(w.report(), expected.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    QCOMPARE(w.form.Text1(0).text(), (expected.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toStdString());
    QCOMPARE(w.buttons(), QStringLiteral("010"));
    QCOMPARE(w.form.Picture1().drawStyle(), int(ui::Solid));

    // The midpoint of AB in blue, around the gaps of the dotted outline and
    // bisector drawn over it.
    const QString blue = name(0, 0, 255);
    for (const QPoint& p : {QPoint(24, 10), QPoint(25, 9), QPoint(24, 11), QPoint(26, 11)})
        QCOMPARE(w.pixel(p.x(), p.y()), blue);
    // The circumcentre, drawn last.
    QCOMPARE(w.pixel(25, 30), name(250, 25, 100));
    QCOMPARE(w.pixel(27, 30), name(250, 25, 100));

    // After the run presses on the surface add nothing and "Изтрий" is off.
    w.press(100, 100);
    QCOMPARE(w.rows(0).size(), 3);
    w.clickButton(2);
    QCOMPARE(w.rows(0).size(), 3);

    w.clickButton(1);
    QCOMPARE(w.report(), QString());
    QCOMPARE(w.form.Text1(0).text(), std::string());
    for (int i = 0; i < 3; ++i)
        QCOMPARE(w.form.List1(i).count(), 0);
    QCOMPARE(w.firstNonWhite(), QString());
    QCOMPARE(w.buttons(), QStringLiteral("011"));
    QCOMPARE(w.form.Picture1().drawWidth(), 5);
    QCOMPARE(w.form.Picture1().drawStyle(), int(ui::DashDotDot));

    // Three new points enable "Изчисли" again.
    w.pressAll({{5, 5}, {60, 5}, {5, 60}});
    QCOMPARE(w.buttons(), QStringLiteral("111"));
    QCOMPARE(w.countOf(kBlack), 3 * 21);
}

void QtWindowTest::deletionRepaintsOverlappingDot()
{
    RunningWindow w;
    QVERIFY(w.exposed);
    w.pressAll({{50, 50}, {53, 50}, {100, 80}});
    w.clickRow(0, 0);
    QCOMPARE(w.pixel(50, 50), kRed);
    QCOMPARE(w.pixel(52, 50), kRed);

    w.clickButton(2);
    QCOMPARE(w.rows(0), (QStringList{"53", "100"}));
    QCOMPARE(w.rows(1), (QStringList{"50", "80"}));
    QCOMPARE(w.rows(2), (QStringList{"179", "149"}));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(w.selectedRow(i), -1);
    // The remaining overlapped dot is whole and black again.
    for (int d = -2; d <= 2; ++d) {
        QCOMPARE(w.pixel(53 + d, 50), kBlack);
        QCOMPARE(w.pixel(53, 50 + d), kBlack);
    }
    // The deleted dot's own pixels are white.
    for (const QPoint& p : {QPoint(48, 50), QPoint(49, 50), QPoint(50, 50), QPoint(50, 48), QPoint(50, 52)})
        QCOMPARE(w.pixel(p.x(), p.y()), kWhite);
    QCOMPARE(w.countOf(kRed), 0);
    QCOMPARE(w.countOf(kBlack), 2 * 21);
    QCOMPARE(w.buttons(), QStringLiteral("011"));
    QCOMPARE(w.window.state().Obsh_Broj, 2);

    // The third point again enables "Изчисли"; it is appended as the last row.
    w.press(20, 20);
    QCOMPARE(w.rows(0), (QStringList{"53", "100", "20"}));
    QCOMPARE(w.buttons(), QStringLiteral("111"));
}

void QtWindowTest::collinearPoints()
{
    RunningWindow w;
    QVERIFY(w.exposed);
    w.pressAll({{10, 10}, {20, 20}, {30, 30}});
    w.clickButton(0);
    QCOMPARE(w.report(), QStringLiteral("Точките лежат на права!"));
    QCOMPARE(w.form.Text1(0).text(), std::string("Точките лежат на права!"));
    QCOMPARE(w.buttons(), QStringLiteral("010"));
}

QTEST_MAIN(QtWindowTest)
#include "test_qt_window.moc"
