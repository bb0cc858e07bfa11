// The worked solution: whole report lines (CR LF included) and the ordered
// drawing calls of calculation runs on the in-memory window.

#include "report_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace testing_support;
using ui::memory::DrawCall;

namespace {

std::vector<std::string> runReport(const std::vector<Point>& points, geometry::NumberFormat fmt = {"."})
{
    MemoryWindow w(std::move(fmt));
    w.pressAll(points);
    w.calculate();
    return lines(w.report());
}

TEST(Report, CompleteRightTriangle)
{
    EXPECT_EQ(runReport({{10, 10}, {40, 10}, {10, 50}}), crlf(rightTriangleLines()));
}

// The ordered drawing calls of complete runs.
struct DrawingCase {
    const char* name;
    std::vector<Point> points;
    std::vector<std::string> calls;
    friend void PrintTo(const DrawingCase& c, std::ostream* os) { *os << c.name; }
};

class RunDrawingTest : public testing::TestWithParam<DrawingCase> {};

TEST_P(RunDrawingTest, CallsInOrderAndPenLeftAtWidthOneSolid)
{
    const auto& c = GetParam();
    MemoryWindow w;
    w.pressAll(c.points);
    w.form.Picture1().forgetCalls();
    w.calculate();
    std::vector<std::string> calls;
    for (const auto& call : w.form.Picture1().calls())
        calls.push_back(describe(call));
    EXPECT_EQ(calls, c.calls);
    EXPECT_EQ(w.form.Picture1().drawWidth(), 1);
    EXPECT_EQ(w.form.Picture1().drawStyle(), 0);
    EXPECT_FALSE(w.form.Command1(0).isEnabled());
    EXPECT_TRUE(w.form.Command1(1).isEnabled());
    EXPECT_FALSE(w.form.Command1(2).isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Runs, RunDrawingTest,
                         testing::Values(DrawingCase{"right_triangle",
                                                     {{10, 10}, {40, 10}, {10, 50}},
                                                     {
                                                         "PSet (25,10) w4 s0 RGB(0,0,255)",
                                                         "Line (10,10)-(40,10) w1 s2 fore",
                                                         "PSet (25,30) w4 s0 RGB(0,0,255)",
                                                         "Line (40,10)-(10,50) w1 s2 fore",
                                                         "PSet (10,30) w4 s0 RGB(0,0,255)",
                                                         "Line (10,50)-(10,10) w1 s2 fore",
                                                         "Circle (25,30) r25 w1 s2 fore",
                                                         "Line (25,10)-(25,30) w1 s2 RGB(0,255,0)",
                                                         "Line (25,30)-(25,30) w1 s2 RGB(0,255,0)",
                                                         "Line (10,30)-(25,30) w1 s2 RGB(0,255,0)",
                                                         "PSet (25,30) w6 s2 RGB(250,25,100)",
                                                     }},
                                         // The centre (25.5, 30) is drawn at x = 25: rounded down.
                                         DrawingCase{"fractional_centre_rounds_down",
                                                     {{10, 10}, {41, 10}, {10, 50}},
                                                     {
                                                         "PSet (25.5,10) w4 s0 RGB(0,0,255)",
                                                         "Line (10,10)-(41,10) w1 s2 fore",
                                                         "PSet (25.5,30) w4 s0 RGB(0,0,255)",
                                                         "Line (41,10)-(10,50) w1 s2 fore",
                                                         "PSet (10,30) w4 s0 RGB(0,0,255)",
                                                         "Line (10,50)-(10,10) w1 s2 fore",
                                                         "Circle (25,30) r25.3032 w1 s2 fore",
                                                         "Line (25.5,10)-(25,30) w1 s2 RGB(0,255,0)",
                                                         "Line (25.5,30)-(25,30) w1 s2 RGB(0,255,0)",
                                                         "Line (10,30)-(25,30) w1 s2 RGB(0,255,0)",
                                                         "PSet (25,30) w6 s2 RGB(250,25,100)",
                                                     }}),
                         [](const auto& info) { return std::string(info.param.name); });

// The drawn circumcircle, on the surface's own pixels, crosses the three
// vertex dots, also for points so nearly on one line that its radius runs
// into the thousands.
TEST(Report, DrawnCircumcircleCrossesTheVertexDots)
{
    int centresOnTheSurface = 0;
    for (const auto& points : std::vector<std::vector<Point>>{{{10, 10}, {41, 10}, {10, 50}},
                                                              {{70, 180}, {250, 170}, {120, 60}},
                                                              {{20, 40}, {320, 200}, {170, 121}},
                                                              {{5, 5}, {330, 220}, {168, 112}}}) {
        MemoryWindow w;
        w.pressAll(points);
        w.calculate();
        const DrawCall* circle = nullptr;
        for (const auto& call : w.form.Picture1().calls())
            if (call.op == DrawCall::Op::Circle && !call.colour)
                circle = &call;
        ASSERT_NE(circle, nullptr);
        // The circle alone, on a fresh surface of the window's size.
        ui::raster::Canvas alone(335, 229);
        alone.circle(circle->x1, circle->y1, circle->radius, circle->width, ui::Solid, ui::rgb(0, 0, 0));
        for (const auto& p : points) {
            // Some pixel of the circle lies inside the vertex's 5-pixel dot.
            bool crosses = false;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx)
                    crosses = crosses
                        || (dx * dx + dy * dy < 7
                            && alone.at(static_cast<int>(p.x) + dx, static_cast<int>(p.y) + dy) == ui::rgb(0, 0, 0));
            EXPECT_TRUE(crosses) << "radius " << circle->radius << " misses " << p.x << "," << p.y;
        }
        // The run drew on the same surface: the centre dot is where the
        // calls put it, in its colour.
        const auto& last = w.form.Picture1().calls().back();
        if (last.x1 >= 0 && last.x1 < 335 && last.y1 >= 0 && last.y1 < 229) {
            ++centresOnTheSurface;
            EXPECT_EQ(w.form.Picture1().canvas().at(static_cast<int>(last.x1), static_cast<int>(last.y1)),
                      ui::rgb(250, 25, 100));
        }
    }
    EXPECT_EQ(centresOnTheSurface, 2); // the two triangles of moderate size
}

// Runs of whole report lines, from the line `from` on.
struct LinesCase {
    const char* name;
    std::vector<Point> points;
    const char* separator;
    size_t from;
    std::vector<std::string> lines;
    friend void PrintTo(const LinesCase& c, std::ostream* os) { *os << c.name; }
};

class ReportLinesTest : public testing::TestWithParam<LinesCase> {};

TEST_P(ReportLinesTest, LinesFrom)
{
    const auto& c = GetParam();
    EXPECT_EQ(slice(runReport(c.points, {c.separator}), c.from, c.lines.size()), crlf(c.lines));
}

INSTANTIATE_TEST_SUITE_P(Examples, ReportLinesTest,
                         testing::Values(
                             // The oriented area: the first five lines.
                             LinesCase{"entered_in_order",
                                       {{10, 20}, {30, 20}, {10, 50}},
                                       ".",
                                       0,
                                       {"Ориентирано лице - координати на върховете:", "10, 20, 1", "30, 20, 1",
                                        "10, 50, 1", "Ориентирано лице = 300"}},
                             LinesCase{"swapped_vertices_same_area",
                                       {{10, 20}, {10, 50}, {30, 20}},
                                       ".",
                                       0,
                                       {"Ориентирано лице - координати на върховете:", "10, 20, 1", "10, 50, 1",
                                        "30, 20, 1", "Ориентирано лице = 300"}},
                             LinesCase{"half_area_point",
                                       {{0, 0}, {3, 0}, {0, 1}},
                                       ".",
                                       0,
                                       {"Ориентирано лице - координати на върховете:", "0, 0, 1", "3, 0, 1", "0, 1, 1",
                                        "Ориентирано лице = 1.5"}},
                             LinesCase{"half_area_comma",
                                       {{0, 0}, {3, 0}, {0, 1}},
                                       ",",
                                       0,
                                       {"Ориентирано лице - координати на върховете:", "0, 0, 1", "3, 0, 1", "0, 1, 1",
                                        "Ориентирано лице = 1,5"}},
                             // Perimeter, Heron's area and the radii.
                             LinesCase{"perimeter_right_angle_at_a",
                                       {{10, 20}, {30, 20}, {10, 50}},
                                       ".",
                                       14,
                                       {"Периметър на триъгълника: 86.0555127546399", "Лице по Херон: 300",
                                        "Радиус на описаната окръжност: 18.0277563773199",
                                        "Радиус на вписаната окръжност: 6.97224362268005"}},
                             // Summed as (CA + BC) + AB the last digits read 483.193962982091
                             // and 7545.00000000001: the sides are added AB, BC, CA.
                             LinesCase{"perimeter_order_of_the_sum_shows",
                                       {{326, 8}, {252, 85}, {106, 33}},
                                       ".",
                                       14,
                                       {"Периметър на триъгълника: 483.19396298209", "Лице по Херон: 7545",
                                        "Радиус на описаната окръжност: 121.429361683139",
                                        "Радиус на вписаната окръжност: 31.2296948142113"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Report, SignOfDeterminantFollowsEntryOrder)
{
    MemoryWindow a;
    a.pressAll({{10, 20}, {30, 20}, {10, 50}});
    a.calculate();
    EXPECT_EQ(a.window.state().S_Orie, 600);
    MemoryWindow b;
    b.pressAll({{10, 20}, {10, 50}, {30, 20}});
    b.calculate();
    EXPECT_EQ(b.window.state().S_Orie, -600);
    EXPECT_EQ(b.window.state().S_lice, 300.0);
}

TEST(Report, BisectorsAndCircumcentreOffTheSurface)
{
    const auto report = runReport({{100, 300}, {400, 300}, {250, 100}});
    ASSERT_EQ(report.size(), 34u);
    EXPECT_EQ(slice(report, 21, 13),
              crlf({
                  "Уравнение на симетрала към AB: ",
                  "300*x  - 0*y  - 75000 = 0",
                  "Уравнение на симетрала към BC: ",
                  "-150*x  - 200*y  + 88750 = 0",
                  "Уравнение на симетрала към AC: ",
                  "-150*x  + 200*y  - 13750 = 0",
                  "От решението на системата уравнения за две от симетралите: ",
                  "300*x  - 0*y  - 75000 = 0",
                  "-150*x  - 200*y  + 88750 = 0",
                  "Пресечната точка на симетралите е с координати:",
                  "Sx = -15000000 / -60000 = 250;",
                  "Sy = -15375000 / -60000 = 256.25",
                  "Изчисления по R =a*b*c/(4*S) = 156.25",
              }));
}

TEST(Report, CircumcircleDrawingOffTheSurface)
{
    MemoryWindow w;
    w.pressAll({{100, 300}, {400, 300}, {250, 100}});
    w.calculate();
    const auto& calls = w.form.Picture1().calls();
    ASSERT_GE(calls.size(), 5u);
    std::vector<std::string> last;
    for (auto it = calls.end() - 5; it != calls.end(); ++it)
        last.push_back(describe(*it));
    EXPECT_EQ(last,
              (std::vector<std::string>{
                  "Circle (250,256) r156.25 w1 s2 fore",
                  "Line (250,300)-(250,256) w1 s2 RGB(0,255,0)",
                  "Line (325,200)-(250,256) w1 s2 RGB(0,255,0)",
                  "Line (175,200)-(250,256) w1 s2 RGB(0,255,0)",
                  "PSet (250,256) w6 s2 RGB(250,25,100)",
              }));
}

TEST(Report, HalfPixelBisectorConstant)
{
    const auto report = runReport({{100, 300}, {401, 300}, {250, 100}});
    ASSERT_GT(report.size(), 22u);
    EXPECT_EQ(report[22], "301*x  - 0*y  - 75400.5 = 0\r\n");
}

struct TypeCase {
    const char* name;
    std::vector<Point> points;
    const char* typeLine;
    const char* circleLine;
    bool circleDrawn;
    friend void PrintTo(const TypeCase& c, std::ostream* os) { *os << c.name; }
};

class TriangleTypeTest : public testing::TestWithParam<TypeCase> {};

TEST_P(TriangleTypeTest, TypeLineAndCircle)
{
    const auto& c = GetParam();
    MemoryWindow w;
    w.pressAll(c.points);
    w.form.Picture1().forgetCalls();
    w.calculate();
    const auto report = lines(w.report());
    ASSERT_GE(report.size(), 21u);
    EXPECT_EQ(slice(report, 18, 3), crlf({c.typeLine, "Изчисление по най-дългата страна: ", c.circleLine}));
    int redCircles = 0;
    for (const auto& call : w.form.Picture1().calls())
        if (call.op == DrawCall::Op::Circle && call.colour == ui::rgb(255, 0, 0)) {
            ++redCircles;
            EXPECT_EQ(call.style, 1);
            EXPECT_EQ(call.width, 1);
        }
    EXPECT_EQ(redCircles, c.circleDrawn ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Examples, TriangleTypeTest,
                         testing::Values(TypeCase{"right_longest_bc",
                                                  {{10, 10}, {40, 10}, {10, 50}},
                                                  "Правоъгълен триъгълник: ",
                                                  "Xc = 25; Yc = 30; R = 25",
                                                  false},
                                         TypeCase{"obtuse_draws_circle",
                                                  {{10, 10}, {50, 10}, {20, 20}},
                                                  "Тъпоъгълен триъгълник: ",
                                                  "Xc = 30; Yc = 10; R = 20",
                                                  true},
                                         TypeCase{"acute",
                                                  {{10, 10}, {50, 10}, {30, 40}},
                                                  "Остроъгълен триъгълник: ",
                                                  "Xc = 30; Yc = 10; R = 20",
                                                  false},
                                         TypeCase{"equal_longest_takes_lower_index",
                                                  {{10, 10}, {50, 10}, {30, 80}},
                                                  "Остроъгълен триъгълник: ",
                                                  "Xc = 40; Yc = 45; R = 36.4005494464026",
                                                  false},
                                         // Right angles whose rounded side lengths do not square back exactly.
                                         TypeCase{"right_sqrt10",
                                                  {{0, 0}, {3, 0}, {0, 1}},
                                                  "Правоъгълен триъгълник: ",
                                                  "Xc = 1.5; Yc = 0.5; R = 1.58113883008419",
                                                  false},
                                         TypeCase{"right_sqrt8",
                                                  {{10, 10}, {12, 10}, {10, 12}},
                                                  "Правоъгълен триъгълник: ",
                                                  "Xc = 11; Yc = 11; R = 1.4142135623731",
                                                  false},
                                         TypeCase{"right_two_sqrt2",
                                                  {{10, 10}, {11, 11}, {12, 10}},
                                                  "Правоъгълен триъгълник: ",
                                                  "Xc = 11; Yc = 10; R = 1",
                                                  false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Report, CollinearPointsGiveTheMessageAndKeepTheirDrawings)
{
    MemoryWindow w;
    w.pressAll({{10, 10}, {20, 20}, {30, 30}});
    w.form.Picture1().forgetCalls();
    w.calculate();
    EXPECT_EQ(w.report(), "Точките лежат на права!");
    std::vector<std::string> calls;
    for (const auto& c : w.form.Picture1().calls())
        calls.push_back(describe(c));
    EXPECT_EQ(calls,
              (std::vector<std::string>{
                  "PSet (15,15) w4 s0 RGB(0,0,255)",
                  "Line (10,10)-(20,20) w1 s2 fore",
                  "PSet (25,25) w4 s0 RGB(0,0,255)",
                  "Line (20,20)-(30,30) w1 s2 fore",
                  "PSet (20,20) w4 s0 RGB(0,0,255)",
                  "Line (30,30)-(10,10) w1 s2 fore",
                  "Circle (20,20) r14.1421 w1 s1 RGB(255,0,0)",
              }));
    EXPECT_EQ(w.form.Picture1().drawStyle(), 0);
    EXPECT_FALSE(w.form.Command1(0).isEnabled());
    EXPECT_FALSE(w.form.Command1(2).isEnabled());
}

TEST(Report, CoincidentPointsGiveTheMessage)
{
    MemoryWindow w;
    w.pressAll({{10, 10}, {10, 10}, {30, 40}});
    w.calculate();
    EXPECT_EQ(w.report(), "Точките лежат на права!");
    EXPECT_EQ(w.window.state().S_lice, 0.0);
}

// For these collinear points the Heron product comes out slightly negative.
TEST(Report, NegativeHeronProductCountsAsZero)
{
    ui::memory::MemoryForm form;
    geometry::Sostoyanie st;
    for (auto [x, y] : {std::pair{41, 68}, {44, 66}, {59, 56}}) {
        form.List1(0).addItem(std::to_string(x));
        form.List1(1).addItem(std::to_string(y));
    }
    geometry::Izchislenie calc(st, form.Text1(0), form.Picture1(), form.List1(0), form.List1(1), {"."});
    calc.Orientirano_Lice();
    for (geometry::Integer k = 0; k < 3; ++k)
        calc.Koefic_Strana(k);
    form.Text1(0).setText("");
    calc.Perimetyr_Radiusi();
    EXPECT_EQ(
        lines(form.Text1(0).text()),
        crlf({"Периметър на триъгълника: 43.2666153055679", "Лице по Херон: 0", "Трите върха лежат на една права!"}));
}

TEST(Report, FarCircumcentreIsStillPrintedAndDrawn)
{
    MemoryWindow w;
    w.pressAll({{0, 0}, {300, 0}, {600, 1}});
    w.calculate();
    const auto report = lines(w.report());
    ASSERT_EQ(report.size(), 34u);
    EXPECT_EQ(report[31], "Sx = 45000 / 300 = 150;\r\n");
    EXPECT_EQ(report[32], "Sy = 27000150 / 300 = 90000.5\r\n");
    EXPECT_TRUE(report[33].starts_with("Изчисления по R =a*b*c/(4*S) = "));
    const auto& calls = w.form.Picture1().calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(describe(calls.back()), "PSet (150,90000) w6 s2 RGB(250,25,100)");
}

TEST(Report, CommaSeparatorForHalfPixelMidpoints)
{
    const auto report = runReport({{10, 20}, {11, 21}, {30, 5}}, {","});
    ASSERT_GT(report.size(), 8u);
    EXPECT_EQ(report[7], "Среда на страна c: 10,5, 20,5;\r\n");
    EXPECT_EQ(report[5], kSideAB + "1,4142135623731\r\n");
}

TEST(Report, OverflowKeepsTheReportAndAddsOneLine)
{
    MemoryWindow w;
    const std::string before = w.report();
    w.pressAll({{100000, 100000}, {-100000, 100000}, {0, -100000}});
    w.calculate();
    EXPECT_EQ(w.report(), before + "Изчислението не може да бъде завършено: препълване.\r\n");
    EXPECT_FALSE(w.form.Command1(0).isEnabled());
    EXPECT_FALSE(w.form.Command1(2).isEnabled());
    w.clearAll();
    EXPECT_EQ(w.report(), "");
    w.pressAll({{10, 10}, {40, 10}, {10, 50}});
    w.calculate();
    EXPECT_EQ(lines(w.report()).size(), 34u);
}

TEST(Report, OverflowInASideKeepsTheLinesBeforeIt)
{
    MemoryWindow w;
    // The determinant fits a Long, the square of the side AB does not.
    w.pressAll({{0, 0}, {50000, 0}, {0, 1}});
    w.calculate();
    const auto report = lines(w.report());
    ASSERT_EQ(report.size(), 6u);
    EXPECT_EQ(report[4], "Ориентирано лице = 25000\r\n");
    EXPECT_EQ(report[5], "Изчислението не може да бъде завършено: препълване.\r\n");
}

// Over many triangles of the surface, the printed results agree with
// geometry computed another way.
TEST(ReportProperties, SeededTrianglesOfTheSurface)
{
    std::mt19937 rng(20261208);
    std::uniform_int_distribution<int> xs(0, 334), ys(0, 228);
    int checked = 0;
    for (int n = 0; n < 400; ++n) {
        MemoryWindow w;
        const std::vector<Point> p
            = {{float(xs(rng)), float(ys(rng))}, {float(xs(rng)), float(ys(rng))}, {float(xs(rng)), float(ys(rng))}};
        w.pressAll(p);
        w.calculate();
        const auto& st = w.window.state();
        if (st.S_lice == 0) {
            EXPECT_EQ(w.report(), "Точките лежат на права!");
            continue;
        }
        ++checked;
        const auto report = lines(w.report());
        ASSERT_EQ(report.size(), 34u);
        // Centre from the printed quotients.
        const auto valueAfterLastEquals = [](const std::string& l) {
            return geometry::Val(l.substr(l.rfind("= ") + 2));
        };
        const double sx = valueAfterLastEquals(report[31]);
        const double sy = valueAfterLastEquals(report[32]);
        const double scale = st.Perim;
        double d[3];
        for (int j = 0; j < 3; ++j)
            d[j] = std::hypot(p[j].x - sx, p[j].y - sy);
        EXPECT_NEAR(d[0], d[1], 1e-9 * scale * scale);
        EXPECT_NEAR(d[0], d[2], 1e-9 * scale * scale);
        EXPECT_NEAR(d[0], st.Rad_Op, 1e-9 * scale * scale);
        for (int k = 0; k < 3; ++k) {
            const auto& m = st.mas_Koef;
            EXPECT_NEAR(m[18 + 3 * k] * sx + m[19 + 3 * k] * sy + m[20 + 3 * k], 0, 1e-6 * scale * scale);
        }
        EXPECT_NEAR(st.S_Heron, st.S_lice, 1e-6 * scale * scale);
        // The type from the angles: a vertex with a negative dot product of
        // its two edges is obtuse, a zero one right.
        long long minDot = 1LL << 60;
        for (int j = 0; j < 3; ++j) {
            const Point& a = p[j];
            const Point& b = p[(j + 1) % 3];
            const Point& c = p[(j + 2) % 3];
            const long long dot
                = static_cast<long long>(b.x - a.x) * (c.x - a.x) + static_cast<long long>(b.y - a.y) * (c.y - a.y);
            minDot = std::min(minDot, dot);
        }
        const char* expected = minDot < 0 ? "Тъпоъгълен триъгълник: \r\n"
            : minDot == 0                 ? "Правоъгълен триъгълник: \r\n"
                                          : "Остроъгълен триъгълник: \r\n";
        EXPECT_EQ(report[18], expected);
    }
    EXPECT_GT(checked, 350);
}

} // namespace
