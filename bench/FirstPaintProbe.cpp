// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into the start-up programs: when the application object exists, watches for the first
// paint of a top-level window, prints the monotonic time once it has reached the screen, and ends.
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

class FirstPaintProbe : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->isWindow()) {
            m_seen = true;
            // Queued, so the time is taken after the children have painted and the frame is flushed.
            QMetaObject::invokeMethod(this, &FirstPaintProbe::report, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void report()
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("first-paint %lld\n",
            static_cast<long long>(
                std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stdout);
        // Peak memory is already recorded by the kernel; tearing the window down only adds noise.
        std::_Exit(0);
    }

    bool m_seen = false;
};

void installFirstPaintProbe()
{
    QCoreApplication::instance()->installEventFilter(
        new FirstPaintProbe(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installFirstPaintProbe)
