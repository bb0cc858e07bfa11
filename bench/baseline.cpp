// The toolkit's floor for start-up: a bare Qt window with the same controls,
// places, font, colours and texts as the program, and no logic at all.

#include "app/layout.h"
#include "desktop/first_paint.h"
#include "desktop/qt_controls.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const ui::FormDesign design = app::trivyrhnikDesign();
    QWidget window;
    window.setWindowTitle(QString::fromStdString(design.caption));
    window.setFixedSize(ui::twipsToPixels(design.clientWidth), ui::twipsToPixels(design.clientHeight));
    window.setPalette(desktop::designPalette(design.backColor));
    window.setAutoFillBackground(true);
    QFont font(QString::fromStdString(design.font.family));
    font.setPointSize(design.font.pointSize);
    window.setFont(font);
    for (const auto& c : design.controls) {
        QWidget* w = nullptr;
        const QString text = QString::fromStdString(c.text);
        switch (c.kind) {
        case ui::ControlKind::Picture: {
            w = new QWidget(&window);
            QPalette white = w->palette();
            white.setColor(QPalette::Window, Qt::white);
            w->setPalette(white);
            w->setAutoFillBackground(true);
            break;
        }
        case ui::ControlKind::List: w = new QListWidget(&window); break;
        case ui::ControlKind::Text: {
            auto* t = new QPlainTextEdit(&window);
            t->setPlainText(text);
            w = t;
            break;
        }
        case ui::ControlKind::Button: {
            auto* b = new QPushButton(text, &window);
            if (c.backColor)
                b->setStyleSheet(QStringLiteral("QPushButton { background-color: rgb(%1, %2, %3); border: 1px solid "
                                                "rgb(64, 64, 64); }")
                                     .arg(c.backColor->r)
                                     .arg(c.backColor->g)
                                     .arg(c.backColor->b));
            w = b;
            break;
        }
        case ui::ControlKind::Label: {
            auto* l = new QLabel(text, &window);
            l->setAlignment(Qt::AlignCenter);
            w = l;
            break;
        }
        }
        w->setGeometry(ui::twipsToPixels(c.left), ui::twipsToPixels(c.top), ui::twipsToPixels(c.width),
                       ui::twipsToPixels(c.height));
        w->setVisible(c.visible);
    }
    desktop::QuitAfterFirstPaint::installIfAsked(&window);
    window.show();
    return QApplication::exec();
}
