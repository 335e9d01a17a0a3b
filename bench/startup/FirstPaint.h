// Shared by the two start-up probes: on the first paint of any widget, print the moment
// (CLOCK_MONOTONIC, ns) and whether QtWebEngine is mapped into the process, then quit.
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
        if (!done_ && event->type() == QEvent::Paint) {
            done_ = true;
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::printf("painted_ns=%lld webengine=%d\n",
                        static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec,
                        WebEngineMapped() ? 1 : 0);
            std::fflush(stdout);
            // Stay a moment, so that the peak memory covers what start-up does after it.
            QTimer::singleShot(300, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static bool WebEngineMapped() {
        QFile maps(QStringLiteral("/proc/self/maps"));
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngine");
    }

    bool done_ = false;
};
