#!/usr/bin/env python3
"""An independent model of the worked solution, used to write the expected
reports of the acceptance test (expected/*.txt). It follows the rules of the
report on its own, in Python's IEEE doubles, so a fault in the program's
arithmetic or texts does not carry over into the expectations.

    report_oracle.py x1 y1 x2 y2 x3 y3 > expected/name.txt
"""
import math
import sys


def num(v):
    """Double number text: 15 significant digits, full stop."""
    if v == 0:
        return "0"
    s = "%.14e" % v
    mant, exp = s.split("e")
    exp = int(exp)
    neg = mant.startswith("-")
    digits = mant.lstrip("-").replace(".", "").rstrip("0") or "0"
    out = "-" if neg else ""
    if exp >= 15 or exp < -4:
        out += digits[0] + ("." + digits[1:] if len(digits) > 1 else "")
        return out + "E%s%02d" % ("-" if exp < 0 else "+", abs(exp))
    if exp < 0:
        return out + "0." + "0" * (-exp - 1) + digits
    if len(digits) <= exp + 1:
        return out + digits + "0" * (exp + 1 - len(digits))
    return out + digits[: exp + 1] + "." + digits[exp + 1 :]


def signed(v):
    return (" + " if v > 0 else " - ") + num(abs(v))


def equation(a, b, c):
    return num(a) + "*x " + signed(b) + "*y " + signed(c) + " = 0"


SIDES = [
    ("AB", "c", "Страна AB = Sqrt( (Ax-Bx)*(Ax-Bx) + {Ay-By)*(Ay-By) ) = ", 0, 1),
    ("BC", "a", "Страна BC = Sqrt( (Bx-Cx)*(Bx-Cx) + {By-Cy)*(By-Cy) ) = ", 1, 2),
    ("AC", "b", "Страна AC = Sqrt( (Cx-Ax)*(Cx-Ax) + {Cy-Ay)*(Cy-Ay) ) = ", 2, 0),
]


def report(p):
    out = ["Ориентирано лице - координати на върховете:"]
    (ax, ay), (bx, by), (cx, cy) = p
    det = ax * by + bx * cy + cx * ay - cx * by - cy * ax - ay * bx
    area = abs(det) / 2
    for x, y in p:
        out.append("%d, %d, 1" % (x, y))
    out.append("Ориентирано лице = " + num(area))
    lengths, coef, mids = [], [], []
    for name, letter, lit, i, j in SIDES:
        (x1, y1), (x2, y2) = p[i], p[j]
        length = math.sqrt((x1 - x2) ** 2 + (y1 - y2) ** 2)
        lengths.append(length)
        out.append(lit + num(length))
        a, b, c = float(y1 - y2), float(x2 - x1), float((y2 - y1) * x2 + (x1 - x2) * y2)
        coef.append((a, b, c))
        out.append("Уравнение на страната %s %s:" % (name, letter) + equation(a, b, c))
        m = ((x1 + x2) / 2, (y1 + y2) / 2)
        mids.append(m)
        out.append("Среда на страна %s: %s, %s;" % (letter, num(m[0]), num(m[1])))
    if area == 0:
        return "Точките лежат на права!"
    perim = ((0 + lengths[0]) + lengths[1]) + lengths[2]
    half = perim / 2
    prod = ((half * (half - lengths[0])) * (half - lengths[1])) * (half - lengths[2])
    out.append("Периметър на триъгълника: " + num(perim))
    out.append("Лице по Херон: " + num(math.sqrt(max(prod, 0.0))))
    rad = ((1 * lengths[0]) * lengths[1]) * lengths[2] / (4 * area)
    out.append("Радиус на описаната окръжност: " + num(rad))
    out.append("Радиус на вписаната окръжност: " + num(area / half))
    m = 0
    for j in (1, 2):
        if lengths[j] > lengths[m]:
            m = j
    others = [k for k in range(3) if k != m]
    sq = []
    for _, _, _, i, j in SIDES:
        sq.append((p[i][0] - p[j][0]) ** 2 + (p[i][1] - p[j][1]) ** 2)
    c2, s = sq[m], sq[others[0]] + sq[others[1]]
    out.append("Тъпоъгълен триъгълник: " if c2 > s else "Правоъгълен триъгълник: " if c2 == s
               else "Остроъгълен триъгълник: ")
    out.append("Изчисление по най-дългата страна: ")
    out.append("Xc = %s; Yc = %s; R = %s" % (num(mids[m][0]), num(mids[m][1]), num(lengths[m] / 2)))
    bis = []
    for k, (name, _, _, _, _) in enumerate(SIDES):
        a, b, _ = coef[k]
        mx, my = mids[k]
        a1, b1, c1 = b, -a, (-b) * mx + my * a
        bis.append((a1, b1, c1))
        out.append("Уравнение на симетрала към %s: " % name)
        out.append(equation(a1, b1, c1))
    aa1, bb1, cc1 = bis[0][0], bis[0][1], -bis[0][2]
    aa2, bb2, cc2 = bis[1][0], bis[1][1], -bis[1][2]
    det0 = aa1 * bb2 - aa2 * bb1
    det1 = cc1 * bb2 - cc2 * bb1
    det2 = aa1 * cc2 - aa2 * cc1
    out.append("От решението на системата уравнения за две от симетралите: ")
    out.append(equation(aa1, bb1, -cc1))
    out.append(equation(aa2, bb2, -cc2))
    out.append("Пресечната точка на симетралите е с координати:")
    out.append("Sx = %s / %s = %s;" % (num(det1), num(det0), num(det1 / det0)))
    out.append("Sy = %s / %s = %s" % (num(det2), num(det0), num(det2 / det0)))
    out.append("Изчисления по R =a*b*c/(4*S) = " + num(rad))
    return "".join(line + "\r\n" for line in out)


if __name__ == "__main__":
    v = [int(a) for a in sys.argv[1:7]]
    sys.stdout.buffer.write(report([(v[0], v[1]), (v[2], v[3]), (v[4], v[5])]).encode("utf-8"))
