// Shared by the start-up probes. The window's first paint is over when the event that
// delivered it returns; a high-priority posted event runs right then, before anything the
// program queued meanwhile (the splash among it). At that moment the probe prints the time
// (CLOCK_MONOTONIC, ns), the peak resident set so far, and whether QtWebEngine is mapped,
// then stays a moment so that the parent's peak figure also covers what start-up does after.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <ctime>

class FirstPaint : public QObject {
public:
    explicit FirstPaint(QApplication& app) { app.installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && event->type() == QEvent::Paint) {
            seen_ = true;
            QCoreApplication::postEvent(this, new QEvent(Painted), Qt::HighEventPriority);
        }
        return QObject::eventFilter(watched, event);
    }

protected:
    bool event(QEvent* event) override {
        if (event->type() != Painted) return QObject::event(event);
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const QByteArray status = ReadProc("status");
        const qsizetype hwm = status.indexOf("VmHWM:");
        const long peakKiB = hwm < 0 ? 0 : std::atol(status.constData() + hwm + 6);
        std::printf("painted_ns=%lld peak_kib=%ld webengine=%d\n",
                    static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec, peakKiB,
                    ReadProc("maps").contains("libQt6WebEngine") ? 1 : 0);
        std::fflush(stdout);
        QTimer::singleShot(300, qApp, &QCoreApplication::quit);
        return true;
    }

private:
    static constexpr QEvent::Type Painted = QEvent::User;

    static QByteArray ReadProc(const char* name) {
        QFile file(QStringLiteral("/proc/self/") + QLatin1String(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    bool seen_ = false;
};
