// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into a Qt Widgets program, this notes the moment its first window
// has been painted: it prints "first-paint <ns>" (CLOCK_MONOTONIC, the clock
// the benchmark reads before it starts the program) and ends the program
// through its event loop, as Exit does. The program's own sources stay as
// they are: the hook installs itself when the application object is built.
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace {

long long monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (!seen_ && event->type() == QEvent::Paint && object->isWidgetType() &&
            static_cast<QWidget*>(object)->isWindow()) {
            seen_ = true;
            // The window is painted first, then its controls, then the whole
            // is flushed to the screen, all before the event loop takes the
            // next posted event. The note is posted ahead of any other work
            // already queued, so that it is taken right after that flush.
            QCoreApplication::postEvent(this, new QEvent(kNote), Qt::HighEventPriority);
        }
        return false;
    }
    bool event(QEvent* event) override
    {
        if (event->type() != kNote)
            return QObject::event(event);
        std::printf("first-paint %lld\n", monotonicNanoseconds());
        std::fflush(stdout);
        QCoreApplication::exit(0);
        return true;
    }

private:
    static constexpr QEvent::Type kNote = static_cast<QEvent::Type>(QEvent::User + 1);
    bool seen_ = false;
};

void installFirstPaint()
{
    auto* hook = new FirstPaint;
    hook->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(hook);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installFirstPaint)
