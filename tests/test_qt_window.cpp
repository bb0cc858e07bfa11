// The whole window on the real Qt controls, started as the program starts
// it and driven with mouse events: start state, point entry, selection, a
// calculation run, clearing and deletion.

#include "qt_fixture.h"

#include <clocale>

using namespace qt_testing;

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
    QCOMPARE(w.report(), QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    QCOMPARE(w.buttons(), QStringLiteral("011"));
    QCOMPARE(strayPixel(w.form.Picture1(), {kWhite}), QString());
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
    const QList<QPoint> points{{10, 10}, {40, 10}, {10, 50}};
    w.pressAll(points);

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
    QCOMPARE(strayPixel(w.form.Picture1(), {kWhite}), QString());
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
