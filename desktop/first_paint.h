#pragma once
// For start-up measurements: with TRIVYRHNIK_QUIT_AFTER_FIRST_PAINT set, the
// program quits as soon as its window has painted its first frame.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

namespace desktop {

class QuitAfterFirstPaint final : public QObject {
public:
    static void installIfAsked(QObject* window)
    {
        if (qEnvironmentVariableIsSet("TRIVYRHNIK_QUIT_AFTER_FIRST_PAINT"))
            window->installEventFilter(new QuitAfterFirstPaint(window));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            // Queued: the frame is painted and flushed first.
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    explicit QuitAfterFirstPaint(QObject* parent) : QObject(parent) {}
    bool done_ = false;
};

} // namespace desktop
