#include "toolkit/qt/FirstPaint.h"

#include <time.h>

#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace tk {
namespace {

class FirstPaintWatcher : public QObject {
  public:
    FirstPaintWatcher(QWidget* window, std::function<void()> action)
        : QObject(window), m_window(window), m_action(std::move(action)) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window && event->type() == QEvent::Paint && m_action) {
            m_window->removeEventFilter(this);
            // The children are painted and the image flushed after this event;
            // the action waits for that.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    std::function<void()> action = std::move(m_action);
                    deleteLater();
                    action();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

  private:
    QWidget* m_window;
    std::function<void()> m_action;
};

}  // namespace

void AfterFirstPaint(QWidget* window, std::function<void()> action) {
    new FirstPaintWatcher(window, std::move(action));
}

long StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    const std::string wanted = std::string(field) + ":";
    std::string key;
    while (status >> key) {
        if (key == wanted) {
            long kb = -1;
            status >> kb;
            return kb;
        }
        status.ignore(4096, '\n');
    }
    return -1;
}

long ResidentKb() {
    return StatusKb("VmRSS");
}

long PeakResidentKb() {
    return StatusKb("VmHWM");
}

void PrintShownReport() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    std::printf("shown monotonic_ns=%lld cpu_ns=%lld vmrss_kb=%ld vmhwm_kb=%ld\n",
                static_cast<long long>(std::chrono::nanoseconds(now).count()),
                static_cast<long long>(cpu.tv_sec) * 1000000000LL + cpu.tv_nsec, ResidentKb(),
                PeakResidentKb());
    std::fflush(stdout);
}

}  // namespace tk
