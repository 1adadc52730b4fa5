// bench_window_run CONNECT_STRING SQL_FILE [EXPECTED_ROWS]
// The window run: the batch is read into a session window's grid exactly as a user's session
// does (main frame shown at 1280x800, query typed into the editor, Execute), while a 10 ms
// precise timer on the UI thread records how late it fires. Its lateness is how long the
// event loop could not answer the user.
//
// Prints (standard output): the batch's wall time (Execute to completion), the longest
// stall and the 99th-percentile lateness in ms, the status panes 0 and 2 and the grid's row
// count. Exits 0, or 1 when the batch did not complete or (EXPECTED_ROWS given) the grid or
// pane 2 does not hold that many rows; 2 on a usage error.
//
// BENCH_WINDOW_TRACE=1 also times every event delivery (QApplication::notify) and prints,
// on standard error, the slowest deliveries by receiver and event type, and the paint events
// by widget: where stalls go.
//
// Run with QT_QPA_PLATFORM=offscreen. Peak memory is measured from outside (bench_measure).
#include "NoPrompts.h"
#include "app/CMainFrame.h"
#include "app/PromptService.h"
#include "app/QtSettingsStore.h"
#include "editor/CQryView.h"
#include "execution/ExecutionControl.h"
#include "results/CMSFlexGrid.h"
#include "results/CResultView.h"
#include "session/CChildFrame.h"
#include "session/Session.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start, Clock::time_point end = Clock::now()) {
    return std::chrono::duration<double, std::milli>(end - start).count();
}

// Times every event delivery when tracing. Only the outermost delivery is counted: a
// nested loop (processEvents inside a handler) would otherwise count its events twice.
class TracingApplication : public QApplication {
public:
    TracingApplication(int& argc, char** argv, bool trace)
        : QApplication(argc, argv), tracing(trace) {}

    bool notify(QObject* receiver, QEvent* event) override {
        if (tracing && depth > 0 && event->type() == QEvent::Paint) {
            return notifyPaint(receiver, event);
        }
        if (!tracing || depth > 0) {
            return QApplication::notify(receiver, event);
        }
        const QEvent::Type type = event->type();
        const char* className = receiver->metaObject()->className();
        ++depth;
        const auto start = Clock::now();
        const bool result = QApplication::notify(receiver, event);
        const double ms = msSince(start);
        --depth;
        Total& total = totals[{className, type}];
        ++total.count;
        total.ms += ms;
        total.maxMs = std::max(total.maxMs, ms);
        const double atMs = msSince(origin, start);
        if (ms >= 20) {
            slow.push_back({atMs, ms, className, type});
        }
        // Per second of the run: whether the cost of a delivery grows with the row count.
        if (atMs >= 0) {
            const auto second = static_cast<std::size_t>(atMs / 1000);
            if (seconds.size() <= second) {
                seconds.resize(second + 1);
            }
            Second& bucket = seconds[second];
            bucket.busyMs += ms;
            if (type == QEvent::UpdateRequest) {
                ++bucket.paints;
                bucket.paintMs += ms;
            }
        }
        return result;
    }

    void report() const {
        if (!tracing) {
            return;
        }
        std::vector<std::pair<std::pair<std::string, int>, Total>> sorted(totals.begin(),
                                                                          totals.end());
        std::sort(sorted.begin(), sorted.end(),
                  [](const auto& a, const auto& b) { return a.second.ms > b.second.ms; });
        std::fprintf(stderr, "trace: event deliveries by total time (receiver, event type)\n");
        std::fprintf(stderr, "  %-28s %6s %9s %10s %9s\n", "receiver", "type", "count", "total ms",
                     "max ms");
        for (std::size_t i = 0; i < sorted.size() && i < 15; ++i) {
            const auto& [key, total] = sorted[i];
            std::fprintf(stderr, "  %-28s %6d %9ld %10.1f %9.1f\n", key.first.c_str(), key.second,
                         total.count, total.ms, total.maxMs);
        }
        std::fprintf(stderr, "trace: paint events by widget (class<parent class)\n");
        for (const auto& [name, paint] : paints) {
            std::fprintf(stderr, "  %-44s %6ld %9.1f ms\n", name.c_str(), paint.count, paint.ms);
        }
        std::fprintf(stderr, "trace: per second of the run: UI thread busy, window paints\n");
        std::fprintf(stderr, "  %6s %9s %7s %12s\n", "second", "busy ms", "paints", "ms per paint");
        for (std::size_t i = 0; i < seconds.size(); ++i) {
            const Second& bucket = seconds[i];
            std::fprintf(stderr, "  %6zu %9.1f %7ld %12.2f\n", i, bucket.busyMs, bucket.paints,
                         bucket.paints > 0 ? bucket.paintMs / bucket.paints : 0.0);
        }
        std::fprintf(stderr, "trace: deliveries of 20 ms or more: %zu\n", slow.size());
        for (std::size_t i = 0; i < slow.size() && i < 40; ++i) {
            std::fprintf(stderr, "  at %8.1f ms: %7.1f ms %s type %d\n", slow[i].atMs, slow[i].ms,
                         slow[i].className.c_str(), static_cast<int>(slow[i].type));
        }
    }

    void setOrigin(Clock::time_point start) { origin = start; }

private:
    // Paint events come inside the window's update request: which widgets a repaint
    // reaches, and what each costs.
    bool notifyPaint(QObject* receiver, QEvent* event) {
        const auto start = Clock::now();
        const bool result = QApplication::notify(receiver, event);
        std::string name = receiver->metaObject()->className();
        if (const QObject* parent = receiver->parent()) {
            name += std::string("<") + parent->metaObject()->className();
        }
        Total& paint = paints[name];
        ++paint.count;
        paint.ms += msSince(start);
        return result;
    }

    struct Total {
        long count = 0;
        double ms = 0;
        double maxMs = 0;
    };
    struct Second {
        double busyMs = 0;
        long paints = 0;
        double paintMs = 0;
    };
    struct Slow {
        double atMs;
        double ms;
        std::string className;
        QEvent::Type type;
    };
    bool tracing;
    int depth = 0;
    Clock::time_point origin = Clock::now();
    std::map<std::pair<std::string, int>, Total> totals;
    std::map<std::string, Total> paints;
    std::vector<Slow> slow;
    std::vector<Second> seconds;
};

// CPU time of the calling thread: the UI thread's share of the read.
double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p / 100.0 * static_cast<double>(values.size() - 1));
    return values[index];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: bench_window_run CONNECT_STRING SQL_FILE [EXPECTED_ROWS]\n");
        return 2;
    }
    const std::string connectString = argv[1];
    const long expectedRows = argc == 4 ? std::atol(argv[3]) : -1;
    const char* traceSetting = std::getenv("BENCH_WINDOW_TRACE");
    const bool trace = traceSetting != nullptr && traceSetting[0] == '1';

    int appArgc = 1;
    char appName[] = "bench_window_run";
    char* appArgv[] = {appName, nullptr};
    TracingApplication app(appArgc, appArgv, trace);
    // As the program does: drivers format numbers by the C library's locale.
    std::setlocale(LC_NUMERIC, "C");

    QFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "bench_window_run: cannot read %s\n", argv[2]);
        return 2;
    }
    const std::string sql = file.readAll().toStdString();

    NoPrompts prompts("bench_window_run");
    veltro::PromptService::install(&prompts);
    // The user's settings, as the program reads them: the worker's priority among them, which
    // the headless run it is compared with reads from the same file.
    veltro::QtSettingsStore settings;
    // Never destroyed: the run ends with _exit below.
    auto* frame = new veltro::CMainFrame(settings);
    frame->setDataSourcePrompt(&prompts);
    frame->resize(1280, 800);
    frame->show();
    QApplication::processEvents();

    if (frame->newConnection(std::nullopt, connectString, std::nullopt) == nullptr ||
        frame->sessions().empty()) {
        std::fprintf(stderr, "bench_window_run: no connection\n");
        return 1;
    }
    veltro::CChildFrame& session = *frame->sessions().back();
    session.queryView().setTextUtf8(sql);
    // Let the window settle (layout, first paint) before the clock starts.
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }

    constexpr int periodMs = 10;
    std::vector<double> lateness;
    Clock::time_point lastFire;
    Clock::time_point start;
    Clock::time_point end;
    bool completed = false;

    // Our own loop, not QApplication::exec: QApplication::quit would close the windows and
    // so ask whether to save the query.
    QEventLoop loop;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(periodMs);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        lateness.push_back(std::max(0.0, msSince(lastFire, now) - periodMs));
        lastFire = now;
        if (!session.executionControl().batch().executing()) {
            end = now;
            completed = true;
            loop.quit();
        }
    });
    // A batch that never ends must not hang the benchmark.
    QTimer::singleShot(30 * 60 * 1000, &loop, [&] { loop.quit(); });

    const double uiCpuBefore = threadCpuSeconds();
    start = Clock::now();
    app.setOrigin(start);
    lastFire = start;
    probe.start();
    session.executeQuery();
    if (!session.executionControl().batch().executing()) {
        std::fprintf(stderr, "bench_window_run: the batch did not start\n");
        return 1;
    }
    loop.exec();
    probe.stop();
    const double uiCpu = threadCpuSeconds() - uiCpuBefore;
    const double wallMs = completed ? msSince(start, end) : msSince(start);

    // Rows must be reachable: the last one scrolled into view, and the paint done.
    int gridRows = -1;
    double scrollMs = 0;
    if (veltro::CMSFlexGrid* grid = session.resultView().currentGrid()) {
        gridRows = grid->store().Rows() - 1; // row 0 holds the column names
        const auto scrollStart = Clock::now();
        grid->scrollToBottom();
        QApplication::processEvents();
        scrollMs = msSince(scrollStart);
    }

    const QString pane0 = session.paneText(0);
    const QString pane2 = session.paneText(2);
    std::printf("batch wall s: %.3f\n", wallMs / 1000.0);
    std::printf("longest stall ms: %.1f\n",
                lateness.empty() ? 0.0 : *std::max_element(lateness.begin(), lateness.end()));
    std::printf("p99 lateness ms: %.1f\n", percentile(lateness, 99));
    std::printf("timer firings: %zu\n", lateness.size());
    std::printf("ui thread cpu s: %.3f\n", uiCpu);
    std::printf("grid rows: %d (scrolled to the bottom in %.1f ms)\n", gridRows, scrollMs);
    std::printf("pane 0: %s\n", pane0.toUtf8().constData());
    std::printf("pane 2: %s\n", pane2.toUtf8().constData());
    app.report();

    int code = 0;
    if (!completed || pane0 != "Query batch completed") {
        std::fprintf(stderr, "bench_window_run: the batch did not complete\n");
        code = 1;
    }
    if (expectedRows >= 0) {
        const QString rowsText = QString("; %1 row(s);").arg(expectedRows);
        if (gridRows != expectedRows || !pane2.contains(rowsText)) {
            std::fprintf(stderr, "bench_window_run: expected %ld rows\n", expectedRows);
            code = 1;
        }
    }
    std::fflush(stdout);
    std::fflush(stderr);
    // Closing the window (freeing the grid, ending the session's threads) is what a user
    // does later, not part of reading the result: leave at once.
    _exit(code);
}
