#include "geometry/izchislenie.h"

#include <array>
#include <cmath>
#include <utility>

namespace geometry {

namespace {

constexpr std::string_view kCrLf = "\r\n";

constexpr ui::Rgb kBlue = ui::rgb(0, 0, 255);
constexpr ui::Rgb kRed = ui::rgb(255, 0, 0);
constexpr ui::Rgb kGreen = ui::rgb(0, 255, 0);
constexpr ui::Rgb kCentre = ui::rgb(250, 25, 100);

struct SideText {
    std::string_view length;
    std::string_view equation;
    std::string_view midpoint;
};

constexpr std::array<SideText, 3> kSideTexts = {{
    {"Страна AB = Sqrt( (Ax-Bx)*(Ax-Bx) + {Ay-By)*(Ay-By) ) = ", "Уравнение на страната AB c:", "Среда на страна c: "},
    {"Страна BC = Sqrt( (Bx-Cx)*(Bx-Cx) + {By-Cy)*(By-Cy) ) = ", "Уравнение на страната BC a:", "Среда на страна a: "},
    {"Страна AC = Sqrt( (Cx-Ax)*(Cx-Ax) + {Cy-Ay)*(Cy-Ay) ) = ", "Уравнение на страната AC b:", "Среда на страна b: "},
}};

constexpr std::array<std::string_view, 3> kBisectorLabels = {
    "Уравнение на симетрала към AB: ",
    "Уравнение на симетрала към BC: ",
    "Уравнение на симетрала към AC: ",
};

// Side k runs from vertex kSideEnds[k][0] to vertex kSideEnds[k][1].
constexpr std::array<std::array<int, 2>, 3> kSideEnds = {{{0, 1}, {1, 2}, {2, 0}}};

float single(double v) { return static_cast<float>(v); }

} // namespace

Izchislenie::Izchislenie(Sostoyanie& state, ui::TextBox& report, ui::PictureBox& picture, const ui::ListBox& listX,
                         const ui::ListBox& listY, NumberFormat format)
    : st_(state)
    , report_(report)
    , pic_(picture)
    , listX_(listX)
    , listY_(listY)
    , fmt_(std::move(format))
{
}

void Izchislenie::dobavi(std::string_view piece)
{
    std::string text = report_.text();
    text += piece;
    report_.setText(std::move(text));
}

void Izchislenie::dobaviRed(std::string_view text)
{
    std::string piece(text);
    piece += kCrLf;
    dobavi(piece);
}

void Izchislenie::Plius_Minus(double value)
{
    std::string piece = value > 0 ? " + " : " - ";
    piece += num(std::fabs(value));
    dobavi(piece);
}

void Izchislenie::uravnenie(double a, double b, double c)
{
    dobavi(num(a) + "*x ");
    Plius_Minus(b);
    dobavi("*y ");
    Plius_Minus(c);
    dobaviRed(" = 0");
}

void Izchislenie::Orientirano_Lice()
{
    // Everything is computed before the report is touched, so a failure
    // leaves the box as it was.
    std::array<std::array<Long, 3>, 4> m = st_.mas1;
    for (int j = 0; j < 3; ++j) {
        m[j][0] = toLong(Val(listX_.list(j)));
        m[j][1] = toLong(Val(listY_.list(j)));
    }
    st_.mas1 = m;

    const Long Ax = m[0][0], Ay = m[0][1];
    const Long Bx = m[1][0], By = m[1][1];
    const Long Cx = m[2][0], Cy = m[2][1];
    // Sarrus' rule, left to right, every step in checked Long arithmetic.
    Long d = lMul(Ax, By);
    d = lAdd(d, lMul(Bx, Cy));
    d = lAdd(d, lMul(Cx, Ay));
    d = lSub(d, lMul(Cx, By));
    d = lSub(d, lMul(Cy, Ax));
    d = lSub(d, lMul(Ay, Bx));
    const double area = static_cast<double>(lAbs(d)) / 2;
    st_.S_Orie = d;
    st_.S_lice = area;

    report_.setText(std::string("Ориентирано лице - координати на върховете:") + std::string(kCrLf));
    for (int j = 0; j < 3; ++j)
        dobaviRed(longText(m[j][0]) + ", " + longText(m[j][1]) + ", 1");
    dobaviRed("Ориентирано лице = " + num(st_.S_lice));
}

void Izchislenie::Koefic_Strana(Integer koe)
{
    if (koe < 0 || koe > 2)
        return;
    const auto& P = st_.mas1[kSideEnds[koe][0]];
    const auto& Q = st_.mas1[kSideEnds[koe][1]];
    const Long x1 = P[0], y1 = P[1], x2 = Q[0], y2 = Q[1];
    const SideText& t = kSideTexts[koe];

    const Long dx = lSub(x1, x2), dy = lSub(y1, y2);
    const Long s = lAdd(lMul(dx, dx), lMul(dy, dy));
    st_.Kv_Strani[koe] = s;
    st_.Strani[koe] = std::sqrt(static_cast<double>(s));
    dobaviRed(std::string(t.length) + num(st_.Strani[koe]));

    const Long a = lSub(y1, y2);
    const Long b = lSub(x2, x1);
    const Long c = lAdd(lMul(lSub(y2, y1), x2), lMul(lSub(x1, x2), y2));
    auto& k = st_.mas_Koef;
    const size_t first = 3 * static_cast<size_t>(koe);
    k[first] = a;
    k[first + 1] = b;
    k[first + 2] = c;
    dobavi(t.equation);
    uravnenie(k[first], k[first + 1], k[first + 2]);

    st_.Sredi[koe][0] = static_cast<double>(lAdd(x1, x2)) / 2;
    st_.Sredi[koe][1] = static_cast<double>(lAdd(y1, y2)) / 2;
    dobaviRed(std::string(t.midpoint) + num(st_.Sredi[koe][0]) + ", " + num(st_.Sredi[koe][1]) + ";");
}

void Izchislenie::Risuwa_Kontur()
{
    for (int j = 0; j < 3; ++j) {
        const int k = (j + 1) % 3;
        pic_.setDrawWidth(4);
        pic_.setDrawStyle(ui::Solid);
        pic_.pset(single(st_.Sredi[j][0]), single(st_.Sredi[j][1]), kBlue);
        pic_.setDrawWidth(1);
        pic_.setDrawStyle(ui::Dot);
        pic_.line(single(st_.mas1[j][0]), single(st_.mas1[j][1]), single(st_.mas1[k][0]), single(st_.mas1[k][1]));
    }
}

void Izchislenie::Perimetyr_Radiusi()
{
    double radOp = 1;
    double perim = 0;
    for (int j = 0; j < 3; ++j) {
        radOp = radOp * st_.Strani[j];
        perim = perim + st_.Strani[j];
    }
    st_.Rad_Op = radOp;
    st_.Perim = perim;
    st_.Per_Polu = st_.Perim / 2;
    dobaviRed("Периметър на триъгълника: " + num(st_.Perim));

    const double p = st_.Per_Polu;
    double product = ((p * (p - st_.Strani[0])) * (p - st_.Strani[1])) * (p - st_.Strani[2]);
    // For three points on one line rounding can leave the product a hair
    // below zero; the area there is 0.
    if (product < 0)
        product = 0;
    st_.S_Heron = checkedSqrt(product);
    dobaviRed("Лице по Херон: " + num(st_.S_Heron));

    if (st_.S_lice > 0) {
        st_.Rad_Op = st_.Rad_Op / (4 * st_.S_lice);
        dobaviRed("Радиус на описаната окръжност: " + num(st_.Rad_Op));
        st_.Rad_Wpis = st_.S_lice / st_.Per_Polu;
        dobaviRed("Радиус на вписаната окръжност: " + num(st_.Rad_Wpis));
    } else {
        dobaviRed("Трите върха лежат на една права!");
    }
}

void Izchislenie::Wid_Triygylnik()
{
    int m = 0;
    for (int j = 1; j <= 2; ++j)
        if (st_.Strani[j] > st_.Strani[m])
            m = j;
    const double Xc = st_.Sredi[m][0];
    const double Yc = st_.Sredi[m][1];
    const double R = st_.Strani[m] / 2;
    const int p = m == 0 ? 1 : 0;
    const int q = m == 2 ? 1 : 2;

    // The type is decided on the exact whole squares of the sides: the
    // squares of the rounded lengths can miss a right angle by the last bit.
    const auto& sq = st_.Kv_Strani;
    const std::int64_t c2 = sq[m];
    const std::int64_t s = std::int64_t{sq[p]} + sq[q];

    if (c2 > s) {
        dobaviRed("Тъпоъгълен триъгълник: ");
        pic_.setDrawStyle(ui::Dash);
        pic_.circle(single(Xc), single(Yc), single(R), kRed);
    } else if (c2 == s) {
        dobaviRed("Правоъгълен триъгълник: ");
    } else {
        dobaviRed("Остроъгълен триъгълник: ");
    }
    dobaviRed("Изчисление по най-дългата страна: ");
    dobaviRed("Xc = " + num(Xc) + "; Yc = " + num(Yc) + "; R = " + num(R));
}

void Izchislenie::Simetrali()
{
    auto& k = st_.mas_Koef;
    for (int side = 0; side < 3; ++side) {
        const size_t first = 3 * static_cast<size_t>(side);
        const double a = k[first];
        const double b = k[first + 1];
        const double mx = st_.Sredi[side][0];
        const double my = st_.Sredi[side][1];
        const double a1 = b;
        const double b1 = -a;
        const double p1 = (-b) * mx;
        const double p2 = my * a;
        const double c1 = p1 + p2;
        k[18 + first] = a1;
        k[19 + first] = b1;
        k[20 + first] = c1;

        dobaviRed(kBisectorLabels[side]);
        uravnenie(a1, b1, c1);
    }
}

void Izchislenie::Presechna_Tochka(Integer koe)
{
    if (koe != 3)
        return;
    const auto& k = st_.mas_Koef;
    const double aa1 = k[18], bb1 = k[19], cc1 = -k[20];
    const double aa2 = k[21], bb2 = k[22], cc2 = -k[23];

    const double det0 = aa1 * bb2 - aa2 * bb1;
    if (det0 == 0) {
        dobaviRed("Програмен проблем при изчисляване пресечна точка на височини!");
        return;
    }
    const double det1 = cc1 * bb2 - cc2 * bb1;
    const double det2 = aa1 * cc2 - aa2 * cc1;

    dobaviRed("От решението на системата уравнения за две от симетралите: ");
    uravnenie(aa1, bb1, -cc1);
    uravnenie(aa2, bb2, -cc2);
    dobaviRed("Пресечната точка на симетралите е с координати:");
    const double qx = det1 / det0;
    const double qy = det2 / det0;
    dobaviRed("Sx = " + num(det1) + " / " + num(det0) + " = " + num(qx) + ";");
    dobaviRed("Sy = " + num(det2) + " / " + num(det0) + " = " + num(qy));

    // The centre for drawing, rounded down. Its y is kept in a 64-bit integer:
    // points almost on one line put the centre far beyond 16 bits.
    const double Xc = std::floor(qx);
    const auto Yc = store<std::int64_t>(std::floor(qy));

    dobaviRed("Изчисления по R =a*b*c/(4*S) = " + num(st_.Rad_Op));

    const float xc = single(Xc);
    const auto yc = static_cast<float>(Yc);
    pic_.setDrawWidth(1);
    pic_.setDrawStyle(ui::Dot);
    pic_.circle(xc, yc, single(st_.Rad_Op));
    for (int side = 0; side < 3; ++side)
        pic_.line(single(st_.Sredi[side][0]), single(st_.Sredi[side][1]), xc, yc, kGreen);
    pic_.setDrawWidth(6);
    pic_.pset(xc, yc, kCentre);
    pic_.setDrawWidth(1);
    pic_.setDrawStyle(ui::Solid);
}

} // namespace geometry
