// Start-up: the Qt application, the window built from its design, the
// window's logic wired to it, then Form_Load before any user event.

#include "app/layout.h"
#include "app/trivyrhnik.h"
#include "desktop/first_paint.h"
#include "desktop/qt_controls.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("trivyrhnik"));
    QApplication::setDesktopFileName(QStringLiteral("org.example.Trivyrhnik"));
    const QIcon icon(QStringLiteral(":/icons/org.example.Trivyrhnik.png"));
    QApplication::setWindowIcon(icon);

    // The decimal separator of the user's regional settings.
    geometry::NumberFormat format;
    format.decimalSeparator = geometry::usableDecimalSeparator(QLocale::system().decimalPoint().toStdString());

    desktop::QtForm form(app::trivyrhnikDesign());
    form.setWindowIcon(icon);
    app::Trivyrhnik window(form, format);
    form.dispatch([&] { window.Form_Load(); });
    desktop::QuitAfterFirstPaint::installIfAsked(&form);
    form.show();
    return QApplication::exec();
}
