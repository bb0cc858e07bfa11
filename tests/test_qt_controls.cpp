// The Qt controls on a form built from the program's design: text boxes,
// lists, the drawing surface's pixels, buttons, geometry and mouse entry.

#include "qt_fixture.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaEnum>

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

using namespace qt_testing;

namespace {

QWidget* widgetOf(QtForm& form, const QString& name, int index)
{
    if (name == QLatin1String("Picture1"))
        return &form.Picture1();
    if (name == QLatin1String("List1"))
        return &form.List1(index);
    if (name == QLatin1String("Text1"))
        return &form.Text1(index);
    if (name == QLatin1String("Command1"))
        return &form.Command1(index);
    if (name == QLatin1String("Label1"))
        return &form.Label1(index);
    return nullptr;
}

// Clears the surface to white and sets the pen.
void clearWhite(PictureWidget& pic, int width, int style = ui::Solid)
{
    pic.setBackColor(ui::rgb(255, 255, 255));
    pic.cls();
    pic.setDrawWidth(width);
    pic.setDrawStyle(style);
}

// A desktop theme at odds with every colour of the design: the application
// palette, and the palettes a platform theme gives item views and text
// fields, in one dark grey that the design never uses, for every role of
// every group. The application's palettes come back when it goes.
class ForeignTheme {
public:
    ForeignTheme() : saved_(QApplication::palette())
    {
        for (const char* c : kClasses)
            savedClasses_.emplace_back(c, QApplication::palette(c));
        QPalette theme;
        for (int g = 0; g < QPalette::NColorGroups; ++g)
            for (int r = 0; r < QPalette::NColorRoles; ++r)
                theme.setColor(QPalette::ColorGroup(g), QPalette::ColorRole(r), kColour);
        QApplication::setPalette(theme);
        for (const char* c : kClasses)
            QApplication::setPalette(theme, c);
    }
    ~ForeignTheme()
    {
        // Setting the application palette drops every class palette.
        QApplication::setPalette(saved_);
        for (const auto& [c, pal] : savedClasses_)
            if (pal != saved_)
                QApplication::setPalette(pal, c);
    }
    ForeignTheme(const ForeignTheme&) = delete;
    ForeignTheme& operator=(const ForeignTheme&) = delete;

    static inline const QColor kColour{13, 17, 19};

private:
    static constexpr const char* kClasses[] = {"QAbstractItemView", "QAbstractScrollArea", "QPlainTextEdit"};
    QPalette saved_;
    std::vector<std::pair<const char*, QPalette>> savedClasses_;
};

enum class ListAction {
    UserClick,
    CtrlClick,
    CtrlSpace,
    ClickBelowRows,
    KeyDown,
    KeyHome,
    SetIndex,
    RemoveItem,
    Clear,
    AddItem
};

} // namespace

Q_DECLARE_METATYPE(ListAction)

class QtControlsTest : public QObject {
    Q_OBJECT

private slots:
    void textRoundTrip_data();
    void textRoundTrip();
    void textReachesWidgetAfterOutermostHandler();
    void failingHandlerIsReportedAndTheWindowGoesOn();

    void listClickRule_data();
    void listClickRule();

    void clsErasesToBackColourAndKeepsPen();
    void widePsetIsSolidDot();
    void narrowPsetColoursOnePixel();
    void solidLineColoursItsPixels_data();
    void solidLineColoursItsPixels();
    void dottedLineOnlyOnNarrowPen_data();
    void dottedLineOnlyOnNarrowPen();
    void circleWithoutColourUsesButtonText();
    void widgetShowsTheRetainedImage();

    void backgroundColourShownExactly_data();
    void backgroundColourShownExactly();
    void designColoursUnderForeignTheme_data();
    void designColoursUnderForeignTheme();
    void geometryFollowsDesign_data();
    void geometryFollowsDesign();
    void clientSizeIsFixed();
    void windowTitle();

    void mousePressOnSurface_data();
    void mousePressOnSurface();
    void doubleClickOnSurfaceIsTwoPresses();
};

// ------------------------------------------------------------------ text

void QtControlsTest::textRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("one line with final CR LF") << "abc\r\n"
                                               << "abc\n";
    QTest::newRow("several lines") << "one\r\ntwo\r\nthree\r\n"
                                   << "one\ntwo\nthree\n";
    QTest::newRow("empty lines") << "\r\n\r\nx\r\n\r\n"
                                 << "\n\nx\n\n";
    QTest::newRow("Cyrillic") << "Лице по Херон: 600\r\nПравоъгълен триъгълник: \r\n"
                              << "Лице по Херон: 600\nПравоъгълен триъгълник: \n";
    QTest::newRow("no final line break") << "първи\r\nвтори"
                                         << "първи\nвтори";
}

void QtControlsTest::textRoundTrip()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QtForm form(app::trivyrhnikDesign());
    auto& box = form.Text1(0);
    const std::string exact = text.toStdString();
    box.setText(exact);
    QCOMPARE(box.text(), exact);
    QCOMPARE(box.toPlainText(), shown);
}

void QtControlsTest::textReachesWidgetAfterOutermostHandler()
{
    QtForm form(app::trivyrhnikDesign());
    auto& box = form.Text1(0);
    QString shownInside;
    form.dispatch([&] {
        box.setText("a\r\n");
        form.dispatch([&] { box.setText(box.text() + "b\r\n"); });
        shownInside = box.toPlainText();
    });
    // While a handler runs the widget still shows the design text...
    QVERIFY(shownInside.startsWith(QStringLiteral("Нека имаме 3 точки")));
    // ...and the whole new text once it has ended.
    QCOMPARE(box.toPlainText(), QStringLiteral("a\nb\n"));
    QCOMPARE(box.text(), std::string("a\r\nb\r\n"));
}

void QtControlsTest::failingHandlerIsReportedAndTheWindowGoesOn()
{
    QtForm form(app::trivyrhnikDesign());
    auto& box = form.Text1(0);
    QTest::ignoreMessage(QtCriticalMsg, "trivyrhnik: the handler failed");
    form.dispatch([&] {
        box.setText("before\r\n");
        form.dispatch([] { throw std::runtime_error("the handler failed"); });
    });
    // The form settled: the text given before the failure is shown...
    QCOMPARE(box.toPlainText(), QStringLiteral("before\n"));
    // ...the user is told...
    auto* message = form.findChild<QMessageBox*>();
    QVERIFY(message);
    QCOMPARE(message->text(), QStringLiteral("Програмна грешка: the handler failed"));
    message->close();
    // ...and the next event runs.
    form.dispatch([&] { box.setText("after\r\n"); });
    QCOMPARE(box.toPlainText(), QStringLiteral("after\n"));
}

// ------------------------------------------------------------------ lists

void QtControlsTest::listClickRule_data()
{
    QTest::addColumn<int>("selectedBefore");
    QTest::addColumn<ListAction>("action");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("indexAfter");

    QTest::newRow("user selects a row") << -1 << ListAction::UserClick << 1 << 1 << 1;
    QTest::newRow("user selects another row") << 0 << ListAction::UserClick << 2 << 1 << 2;
    QTest::newRow("user clicks the selected row") << 1 << ListAction::UserClick << 1 << 1 << 1;
    // The user cannot leave a list without its chosen row.
    QTest::newRow("user Ctrl+clicks the selected row") << 1 << ListAction::CtrlClick << 1 << 1 << 1;
    QTest::newRow("user Ctrl+clicks another row") << 1 << ListAction::CtrlClick << 2 << 1 << 2;
    QTest::newRow("user presses Ctrl+Space on the selected row") << 1 << ListAction::CtrlSpace << 1 << 0 << 1;
    QTest::newRow("user clicks below the rows") << 1 << ListAction::ClickBelowRows << 0 << 0 << 1;
    QTest::newRow("user clicks below the rows with row 0 chosen") << 0 << ListAction::ClickBelowRows << 0 << 0 << 0;
    // The keyboard still moves the chosen row.
    QTest::newRow("user presses Down") << 1 << ListAction::KeyDown << 0 << 1 << 2;
    QTest::newRow("user presses Home") << 2 << ListAction::KeyHome << 0 << 1 << 0;
    QTest::newRow("code sets the selected row") << 1 << ListAction::SetIndex << 1 << 0 << 1;
    QTest::newRow("code sets another row") << 0 << ListAction::SetIndex << 2 << 1 << 2;
    QTest::newRow("code sets a row when none is selected") << -1 << ListAction::SetIndex << 0 << 1 << 0;
    QTest::newRow("code removes the selection") << 1 << ListAction::SetIndex << -1 << 0 << -1;
    QTest::newRow("remove the selected row") << 1 << ListAction::RemoveItem << 1 << 0 << -1;
    QTest::newRow("remove the selected last row") << 2 << ListAction::RemoveItem << 2 << 0 << -1;
    QTest::newRow("clear") << 1 << ListAction::Clear << 0 << 0 << -1;
    QTest::newRow("add keeps the selection") << 1 << ListAction::AddItem << 0 << 0 << 1;
    QTest::newRow("add selects nothing") << -1 << ListAction::AddItem << 0 << 0 << -1;
}

void QtControlsTest::listClickRule()
{
    QFETCH(int, selectedBefore);
    QFETCH(ListAction, action);
    QFETCH(int, row);
    QFETCH(int, clicks);
    QFETCH(int, indexAfter);

    auto form = shownForm();
    QVERIFY(form);
    auto& list = form->List1(0);
    for (const char* t : {"10", "40", "10"})
        list.addItem(t);
    list.setListIndex(selectedBefore);
    QCOMPARE(list.listIndex(), selectedBefore);

    int raised = 0;
    list.onClick([&] { ++raised; });
    switch (action) {
    case ListAction::UserClick: clickRow(list, row); break;
    case ListAction::CtrlClick: clickRow(list, row, Qt::ControlModifier); break;
    case ListAction::CtrlSpace:
        list.setFocus();
        list.setCurrentRow(row, QItemSelectionModel::NoUpdate);
        QTest::keyClick(&list, Qt::Key_Space, Qt::ControlModifier);
        break;
    case ListAction::KeyDown:
    case ListAction::KeyHome:
        list.setFocus();
        QTest::keyClick(&list, action == ListAction::KeyDown ? Qt::Key_Down : Qt::Key_Home);
        break;
    case ListAction::ClickBelowRows:
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(5, list.viewport()->height() - 3));
        break;
    case ListAction::SetIndex: list.setListIndex(row); break;
    case ListAction::RemoveItem: list.removeItem(row); break;
    case ListAction::Clear: list.clear(); break;
    case ListAction::AddItem: list.addItem("7"); break;
    }
    QCOMPARE(raised, clicks);
    QCOMPARE(list.listIndex(), indexAfter);
    // The widget shows the same selection.
    const auto selected = list.selectedItems();
    QCOMPARE(selected.isEmpty() ? -1 : list.row(selected.front()), indexAfter);

    // After a removal or clear the next user selection is a click again.
    if (list.listCount() > 0) {
        raised = 0;
        const int other = indexAfter == 0 ? 1 : 0;
        clickRow(list, other);
        QCOMPARE(raised, 1);
        QCOMPARE(list.listIndex(), other);
    }
}

// ---------------------------------------------------------------- surface

void QtControlsTest::clsErasesToBackColourAndKeepsPen()
{
    QtForm form(app::trivyrhnikDesign());
    auto& pic = form.Picture1();
    pic.setDrawWidth(3);
    pic.setDrawStyle(ui::Dot);
    pic.pset(20, 20, ui::rgb(255, 0, 0));
    pic.line(0, 0, 100, 100, ui::rgb(0, 0, 255));
    pic.circle(50, 50, 30, std::nullopt);

    pic.setBackColor(ui::rgb(10, 200, 30));
    pic.cls();
    QCOMPARE(strayPixel(pic, {name(10, 200, 30)}), QString());
    QCOMPARE(pic.drawWidth(), 3);
    QCOMPARE(pic.drawStyle(), int(ui::Dot));

    pic.setBackColor(ui::rgb(255, 255, 255));
    pic.cls();
    QCOMPARE(strayPixel(pic, {kWhite}), QString());
}

void QtControlsTest::widePsetIsSolidDot()
{
    QtForm form(app::trivyrhnikDesign());
    auto& pic = form.Picture1();
    clearWhite(pic, 5, ui::DashDotDot);
    pic.pset(60, 40, ui::rgb(255, 0, 0));

    // The 5 x 5 square around the point without its corners, and nothing else.
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            QCOMPARE(px(pic, 60 + dx, 40 + dy), std::abs(dx) == 2 && std::abs(dy) == 2 ? kWhite : kRed);
    QCOMPARE(pixelsOf(pic, kRed).size(), size_t(21));
    QCOMPARE(strayPixel(pic, {kWhite, kRed}), QString());
}

void QtControlsTest::narrowPsetColoursOnePixel()
{
    QtForm form(app::trivyrhnikDesign());
    auto& pic = form.Picture1();
    clearWhite(pic, 1);
    pic.pset(7, 9, ui::rgb(0, 0, 255));
    const auto blue = pixelsOf(pic, name(0, 0, 255));
    QCOMPARE(blue.size(), size_t(1));
    QCOMPARE(blue.front(), QPoint(7, 9));
    QCOMPARE(strayPixel(pic, {kWhite, name(0, 0, 255)}), QString());
}

void QtControlsTest::solidLineColoursItsPixels_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");

    QTest::newRow("horizontal") << QPoint(10, 20) << QPoint(40, 20);
    QTest::newRow("vertical") << QPoint(30, 5) << QPoint(30, 45);
    QTest::newRow("right to left") << QPoint(80, 60) << QPoint(50, 60);
    QTest::newRow("diagonal") << QPoint(10, 100) << QPoint(40, 130);
}

void QtControlsTest::solidLineColoursItsPixels()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QtForm form(app::trivyrhnikDesign());
    auto& pic = form.Picture1();
    clearWhite(pic, 1);
    const QString green = name(0, 160, 0);
    pic.line(float(from.x()), float(from.y()), float(to.x()), float(to.y()), ui::rgb(0, 160, 0));

    // Every pixel between the ends lies on the segment; which of the two
    // end pixels are drawn is the toolkit's choice.
    const int steps = std::max(std::abs(to.x() - from.x()), std::abs(to.y() - from.y()));
    for (int i = 1; i < steps; ++i) {
        const int x = from.x() + (to.x() - from.x()) * i / steps;
        const int y = from.y() + (to.y() - from.y()) * i / steps;
        QVERIFY2(px(pic, x, y) == green, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    }
    // One pixel wide: one pixel per step, nothing beside it.
    const auto drawn = pixelsOf(pic, green);
    for (const QPoint& p : drawn) {
        const int i = std::max(std::abs(p.x() - from.x()), std::abs(p.y() - from.y()));
        QVERIFY2(
            i <= steps
                && p == QPoint(from.x() + (to.x() - from.x()) * i / steps, from.y() + (to.y() - from.y()) * i / steps),
            qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    }
    QCOMPARE(strayPixel(pic, {kWhite, green}), QString());
}

void QtControlsTest::dottedLineOnlyOnNarrowPen_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("gaps");

    QTest::newRow("dot, width 1") << 1 << int(ui::Dot) << true;
    QTest::newRow("dash, width 1") << 1 << int(ui::Dash) << true;
    QTest::newRow("dash-dot-dot, width 1") << 1 << int(ui::DashDotDot) << true;
    QTest::newRow("solid, width 1") << 1 << int(ui::Solid) << false;
    QTest::newRow("dot, width 3") << 3 << int(ui::Dot) << false;
    QTest::newRow("dash-dot-dot, width 2") << 2 << int(ui::DashDotDot) << false;
}

void QtControlsTest::dottedLineOnlyOnNarrowPen()
{
    QFETCH(int, width);
    QFETCH(int, style);
    QFETCH(bool, gaps);
    QtForm form(app::trivyrhnikDesign());
    auto& pic = form.Picture1();
    clearWhite(pic, width, style);
    pic.line(20, 50, 120, 50, std::nullopt);
    const QString fore = pic.palette().color(QPalette::ButtonText).name();

    int drawn = 0, blank = 0;
    for (int x = 22; x < 118; ++x)
        (px(pic, x, 50) == fore ? drawn : blank) += 1;
    QVERIFY(drawn > 0);
    if (gaps)
        QVERIFY2(blank > 0, "a patterned narrow line has gaps");
    else
        QCOMPARE(blank, 0);
    QCOMPARE(strayPixel(pic, {kWhite, fore}), QString());
}

void QtControlsTest::circleWithoutColourUsesButtonText()
{
    QtForm form(app::trivyrhnikDesign());
    auto& pic = form.Picture1();
    QPalette pal = pic.palette();
    pal.setColor(QPalette::ButtonText, QColor(20, 110, 60));
    pic.setPalette(pal);
    clearWhite(pic, 1);
    pic.circle(100, 100, 20, std::nullopt);

    const QString fore = name(20, 110, 60);
    const auto drawn = pixelsOf(pic, fore);
    QVERIFY2(drawn.size() > 100, qPrintable(QString::number(drawn.size())));
    for (const QPoint& p : drawn) {
        const double d = std::hypot(p.x() - 100, p.y() - 100);
        QVERIFY2(d > 18.5 && d < 21.5, qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    }
    // The outline reaches all four sides.
    for (const QPoint& p : {QPoint(100, 80), QPoint(100, 120), QPoint(80, 100), QPoint(120, 100)}) {
        bool near = false;
        for (const QPoint& q : drawn)
            near = near || (std::abs(q.x() - p.x()) <= 1 && std::abs(q.y() - p.y()) <= 1);
        QVERIFY2(near, qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    }
    QCOMPARE(px(pic, 100, 100), kWhite);
    QCOMPARE(strayPixel(pic, {kWhite, fore}), QString());
}

void QtControlsTest::widgetShowsTheRetainedImage()
{
    auto form = shownForm();
    QVERIFY(form);
    auto& pic = form->Picture1();
    pic.setAutoRedraw(true);
    clearWhite(pic, 1);
    pic.pset(0, 0, ui::rgb(255, 0, 0));
    pic.pset(30, 12, ui::rgb(0, 0, 255));
    const QImage shown = pic.grab().toImage();
    const qreal dpr = shown.devicePixelRatio();
    auto at = [&](int x, int y) {
        return shown.pixelColor(QPoint(int(x * dpr), int(y * dpr))).name();
    };
    QCOMPARE(at(kB, kB), kRed);
    QCOMPARE(at(kB + 30, kB + 12), name(0, 0, 255));
    QCOMPARE(at(kB + 31, kB + 12), kWhite);
    // Hidden and shown again, the drawing is still there.
    form->hide();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCOMPARE(px(pic, 30, 12), name(0, 0, 255));
}

void QtControlsTest::backgroundColourShownExactly_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("Изчисли") << "Command1" << 0 << true;
    QTest::newRow("Изчисли disabled") << "Command1" << 0 << false;
    QTest::newRow("Изчисти") << "Command1" << 1 << true;
    QTest::newRow("Изтрий") << "Command1" << 2 << true;
    QTest::newRow("Изтрий disabled") << "Command1" << 2 << false;
    QTest::newRow("Label1(0)") << "Label1" << 0 << true;
    QTest::newRow("Label1(1)") << "Label1" << 1 << true;
    QTest::newRow("Label1(2)") << "Label1" << 2 << true;
    QTest::newRow("Label1(3)") << "Label1" << 3 << true;
}

void QtControlsTest::backgroundColourShownExactly()
{
    QFETCH(QString, control);
    QFETCH(int, index);
    QFETCH(bool, enabled);
    const ui::FormDesign design = app::trivyrhnikDesign();
    const ui::ControlDesign* c = design.find(control.toStdString(), index);
    QVERIFY(c && c->backColor);
    auto form = shownForm();
    QVERIFY(form);
    QWidget* w = widgetOf(*form, control, index);
    QVERIFY(w);
    w->setEnabled(enabled);
    const QImage shot = w->grab().toImage();
    const qreal dpr = shot.devicePixelRatio();
    // Away from the centred caption and the border: a button's middle left,
    // a label's top left corner (a label has no border).
    const QPoint logical = control == QLatin1String("Label1") ? QPoint(1, 1) : QPoint(5, w->height() / 2);
    const QPoint probe(int(logical.x() * dpr), int(logical.y() * dpr));
    QCOMPARE(shot.pixelColor(probe).name(), name(c->backColor->r, c->backColor->g, c->backColor->b));
}

void QtControlsTest::designColoursUnderForeignTheme_data()
{
    QTest::addColumn<QPalette::ColorGroup>("group");
    QTest::addColumn<QPalette::ColorRole>("role");
    QTest::addColumn<QColor>("colour");

    struct RoleColours {
        QPalette::ColorRole role;
        QColor normal;
        QColor disabled;
    };
    const ui::Rgb back = app::trivyrhnikDesign().backColor;
    const QColor window(back.r, back.g, back.b);
    const QColor black(0, 0, 0), white(255, 255, 255), grey(190, 190, 190), face(239, 239, 239);
    const QColor placeholder(0, 0, 0, 128);
    const RoleColours roles[] = {
        {QPalette::WindowText, black, grey},
        {QPalette::Button, face, face},
        {QPalette::Light, white, white},
        {QPalette::Midlight, QColor(202, 202, 202), QColor(202, 202, 202)},
        {QPalette::Dark, QColor(159, 159, 159), QColor(159, 159, 159)},
        {QPalette::Mid, QColor(184, 184, 184), QColor(184, 184, 184)},
        {QPalette::Text, black, grey},
        {QPalette::BrightText, white, white},
        {QPalette::ButtonText, black, grey},
        {QPalette::Base, white, face},
        {QPalette::Window, window, window},
        {QPalette::Shadow, QColor(118, 118, 118), QColor(118, 118, 118)},
        // The chosen list row and the surface's focus frame.
        {QPalette::Highlight, QColor(48, 140, 198), QColor(145, 145, 145)},
        {QPalette::HighlightedText, white, white},
        {QPalette::Link, QColor(0, 0, 255), QColor(0, 0, 255)},
        {QPalette::LinkVisited, QColor(255, 0, 255), QColor(255, 0, 255)},
        {QPalette::AlternateBase, QColor(247, 247, 247), QColor(247, 247, 247)},
        {QPalette::ToolTipBase, QColor(255, 255, 220), QColor(255, 255, 220)},
        {QPalette::ToolTipText, black, black},
        {QPalette::PlaceholderText, placeholder, placeholder},
    };
    const QMetaEnum groupName = QMetaEnum::fromType<QPalette::ColorGroup>();
    const QMetaEnum roleName = QMetaEnum::fromType<QPalette::ColorRole>();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (const RoleColours& r : roles)
            QTest::addRow("%s %s", groupName.valueToKey(group), roleName.valueToKey(r.role))
                << group << r.role << (group == QPalette::Disabled ? r.disabled : r.normal);
}

void QtControlsTest::designColoursUnderForeignTheme()
{
    QFETCH(QPalette::ColorGroup, group);
    QFETCH(QPalette::ColorRole, role);
    QFETCH(QColor, colour);
    const ForeignTheme theme;
    QCOMPARE(QApplication::palette().color(group, role), ForeignTheme::kColour);
    auto form = shownForm();
    QVERIFY(form);
    const std::pair<const char*, const QWidget*> widgets[]
        = {{"form", form.get()}, {"list", &form->List1(0)}, {"report box", &form->Text1(0)}};
    for (const auto& [what, w] : widgets) {
        const QString shown = w->palette().color(group, role).name(QColor::HexArgb);
        QVERIFY2(shown == colour.name(QColor::HexArgb), qPrintable(QStringLiteral("%1: %2").arg(what, shown)));
    }
}

void QtControlsTest::geometryFollowsDesign_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("index");
    QTest::addColumn<QRect>("pixels");
    QTest::addColumn<bool>("shown");

    // Left, top, width, height in pixels at 15 twips per pixel.
    QTest::newRow("Label1(0)") << "Label1" << 0 << QRect(64, 0, 305, 25) << true;
    QTest::newRow("Label1(3)") << "Label1" << 3 << QRect(64, 32, 265, 25) << true;
    QTest::newRow("Label1(1)") << "Label1" << 1 << QRect(360, 32, 49, 25) << true;
    QTest::newRow("Label1(2)") << "Label1" << 2 << QRect(416, 32, 41, 25) << true;
    QTest::newRow("Picture1") << "Picture1" << 0 << QRect(16, 56, 339, 233) << true;
    QTest::newRow("List1(0)") << "List1" << 0 << QRect(360, 56, 49, 80) << true;
    QTest::newRow("List1(1)") << "List1" << 1 << QRect(416, 56, 41, 80) << true;
    QTest::newRow("List1(2)") << "List1" << 2 << QRect(0, 152, 73, 80) << false;
    QTest::newRow("Command1(0)") << "Command1" << 0 << QRect(376, 152, 73, 25) << true;
    QTest::newRow("Command1(1)") << "Command1" << 1 << QRect(376, 192, 73, 25) << true;
    QTest::newRow("Command1(2)") << "Command1" << 2 << QRect(376, 232, 73, 25) << true;
    QTest::newRow("Text1(0)") << "Text1" << 0 << QRect(8, 296, 449, 113) << true;
    QTest::newRow("Text1(1)") << "Text1" << 1 << QRect(136, 344, 449, 27) << false;
}

void QtControlsTest::geometryFollowsDesign()
{
    QFETCH(QString, control);
    QFETCH(int, index);
    QFETCH(QRect, pixels);
    QFETCH(bool, shown);
    const ui::FormDesign design = app::trivyrhnikDesign();
    // Every control of the design has its row here.
    QCOMPARE(design.controls.size(), size_t(13));
    const ui::ControlDesign* c = design.find(control.toStdString(), index);
    QVERIFY(c);
    QCOMPARE(c->visible, shown);

    auto form = shownForm();
    QVERIFY(form);
    QWidget* w = widgetOf(*form, control, index);
    QVERIFY(w);
    QCOMPARE(w->parentWidget(), form.get());
    QCOMPARE(w->geometry(), pixels);
    QCOMPARE(w->isVisible(), shown);
}

void QtControlsTest::clientSizeIsFixed()
{
    auto form = shownForm();
    QVERIFY(form);
    QCOMPARE(form->size(), QSize(461, 418));
    QCOMPARE(form->minimumSize(), QSize(461, 418));
    QCOMPARE(form->maximumSize(), QSize(461, 418));
    form->resize(600, 500);
    QCOMPARE(form->size(), QSize(461, 418));
}

void QtControlsTest::windowTitle()
{
    QtForm form(app::trivyrhnikDesign());
    const QString title = form.windowTitle();
    const QString tail = QStringLiteral("  Аналитична геометрия - координати");
    QVERIFY2(title.endsWith(tail), qPrintable(title));
    QVERIFY2(title.size() > tail.size() && !title.startsWith(QLatin1Char(' ')), qPrintable(title));
}

// ------------------------------------------------------------------ mouse

void QtControlsTest::mousePressOnSurface_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("raised");
    QTest::addColumn<QPointF>("pixel");

    const int right = 339 - 1, bottom = 233 - 1;
    QTest::newRow("left button") << Qt::LeftButton << QPoint(kB + 10, kB + 20) << true << QPointF(10, 20);
    QTest::newRow("right button") << Qt::RightButton << QPoint(kB + 10, kB + 20) << true << QPointF(10, 20);
    QTest::newRow("middle button") << Qt::MiddleButton << QPoint(kB + 10, kB + 20) << true << QPointF(10, 20);
    QTest::newRow("first inner pixel") << Qt::LeftButton << QPoint(kB, kB) << true << QPointF(0, 0);
    QTest::newRow("last inner pixel") << Qt::LeftButton << QPoint(right - kB, bottom - kB) << true
                                      << QPointF(right - 2 * kB, bottom - 2 * kB);
    QTest::newRow("frame, top left") << Qt::LeftButton << QPoint(1, 1) << false << QPointF();
    QTest::newRow("frame, left") << Qt::LeftButton << QPoint(kB - 1, 50) << false << QPointF();
    QTest::newRow("frame, top") << Qt::RightButton << QPoint(50, 1) << false << QPointF();
    QTest::newRow("frame, right") << Qt::LeftButton << QPoint(right - 1, 50) << false << QPointF();
    QTest::newRow("frame, bottom") << Qt::MiddleButton << QPoint(50, bottom) << false << QPointF();
}

void QtControlsTest::mousePressOnSurface()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, at);
    QFETCH(bool, raised);
    QFETCH(QPointF, pixel);
    auto form = shownForm();
    QVERIFY(form);
    auto& pic = form->Picture1();
    std::vector<QPointF> presses;
    pic.onMouseDown([&](std::int16_t, std::int16_t, float x, float y) { presses.emplace_back(x, y); });
    QTest::mousePress(&pic, button, {}, at);
    QTest::mouseRelease(&pic, button, {}, at);
    QCOMPARE(presses.size(), size_t(raised ? 1 : 0));
    if (raised)
        QCOMPARE(presses.front(), pixel);
}

void QtControlsTest::doubleClickOnSurfaceIsTwoPresses()
{
    auto form = shownForm();
    QVERIFY(form);
    auto& pic = form->Picture1();
    std::vector<QPointF> presses;
    pic.onMouseDown([&](std::int16_t, std::int16_t, float x, float y) { presses.emplace_back(x, y); });
    // Through the window, as the platform delivers it: press, release, and
    // a second press that arrives as a double click.
    QTest::mouseDClick(form->windowHandle(), Qt::LeftButton, {}, pic.mapTo(form.get(), QPoint(kB + 30, kB + 40)));
    QCOMPARE(presses.size(), size_t(2));
    QCOMPARE(presses.front(), QPointF(30, 40));
    QCOMPARE(presses.back(), QPointF(30, 40));
}

QTEST_MAIN(QtControlsTest)
#include "test_qt_controls.moc"
