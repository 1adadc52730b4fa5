// bench_typing [CONNECT_STRING]
// The typing cost: a session window (main frame shown at 1280x800, connected, an SQLite
// database in memory unless CONNECT_STRING names another) holds a generated query of about
// 10 MB in 80,000 lines. Keys are typed into its editor at the top and at the end of the
// text, each delivered as the window system would and followed by the events it leaves
// (repaint, queued slots); the processor time of each key is taken (the process's CPU
// clock).
//
// Prints (standard output): per place, the median and the mean processor time per key in
// ms, and the end's median over the top's (goal: at most 2). Exits 1 when no connection
// was made, 2 on a usage error.
//
// BENCH_TYPING_KEYS sets the number of timed keys per place (60), e.g. fewer under a
// profiler. BENCH_TYPING_MB sets the document's size (10). BENCH_TYPING_RECOVERY=FOLDER keeps
// the changed text for recovery in FOLDER, as the program does, and after the typing reports
// the longest stall of the UI thread while the text is kept. Run with
// QT_QPA_PLATFORM=offscreen.
#include "NoPrompts.h"
#include "app/CMainFrame.h"
#include "app/PromptService.h"
#include "app/WorkKeeper.h"
#include "editor/CQryView.h"
#include "session/CChildFrame.h"
#include "settings/MemorySettingsStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

namespace {

std::size_t documentBytes = 10 * 1000 * 1000;
// Lines of about 125 bytes.
int documentLines = 80000;
constexpr int warmUpKeys = 10;
constexpr int defaultTimedKeys = 60;
int timedKeys = defaultTimedKeys;

double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// SQL of varied shape, lines of about 125 bytes on average, LF line ends.
std::string generatedQuery() {
    std::string text;
    text.reserve(documentBytes + 256);
    const std::size_t lineBytes = documentBytes / documentLines - 1;
    for (int line = 0; line < documentLines; ++line) {
        std::string row;
        switch (line % 4) {
        case 0:
            row = "SELECT id, name, amount, created_at FROM orders_" + std::to_string(line) +
                  " WHERE id > " + std::to_string(line * 7);
            break;
        case 1:
            row = "  AND name LIKE 'customer %" + std::to_string(line) + "%' -- a comment";
            break;
        case 2:
            row = "  AND amount BETWEEN " + std::to_string(line % 1000) + ".50 AND " +
                  std::to_string(line % 1000 + 99) + ".75";
            break;
        default:
            row = "ORDER BY created_at DESC;";
            break;
        }
        row.resize(lineBytes, ' ');
        row.back() = line % 4 == 3 ? ';' : ' ';
        text += row;
        text += '\n';
    }
    return text;
}

// The longest time the UI thread did not get back to its event loop while it ran for the
// time given: a timer that asks every millisecond measures the gaps.
double longestStallMs(int runMs) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer tick;
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, clock.elapsed() - last);
        last = clock.elapsed();
    });
    tick.start();
    while (clock.elapsed() < runMs) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return static_cast<double>(longest);
}

void settle() {
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
    }
}

void typeKey(QWidget& target, char letter) {
    const auto key = static_cast<int>(Qt::Key_A + (letter - 'a'));
    const QString text(QChar::fromLatin1(letter));
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&target, &release);
    settle();
}

struct Cost {
    double median = 0;
    double mean = 0;
};

// Types at the caret's place; the typed text stays.
Cost typeAt(veltro::CQryView& editor, int line, int column) {
    editor.setCursorPosition(line, column);
    editor.ensureCursorVisible();
    settle();
    std::vector<double> costs;
    for (int i = 0; i < warmUpKeys + timedKeys; ++i) {
        const double start = cpuMs();
        typeKey(editor, static_cast<char>('a' + i % 26));
        if (i >= warmUpKeys) {
            costs.push_back(cpuMs() - start);
        }
    }
    std::sort(costs.begin(), costs.end());
    Cost cost;
    cost.median = costs[costs.size() / 2];
    cost.mean =
        std::accumulate(costs.begin(), costs.end(), 0.0) / static_cast<double>(costs.size());
    return cost;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: bench_typing [CONNECT_STRING]\n");
        return 2;
    }
    const std::string connectString = argc == 2 ? argv[1] : "Driver=SQLite3;Database=:memory:";
    if (const char* keys = std::getenv("BENCH_TYPING_KEYS");
        keys != nullptr && std::atoi(keys) > 0) {
        timedKeys = std::atoi(keys);
    }
    if (const char* megabytes = std::getenv("BENCH_TYPING_MB");
        megabytes != nullptr && std::atoi(megabytes) > 0) {
        documentBytes = static_cast<std::size_t>(std::atoi(megabytes)) * 1000 * 1000;
        documentLines = static_cast<int>(documentBytes / 125);
    }
    const char* recoveryFolder = std::getenv("BENCH_TYPING_RECOVERY");
    int appArgc = 1;
    char appName[] = "bench_typing";
    char* appArgv[] = {appName, nullptr};
    QApplication app(appArgc, appArgv);
    std::setlocale(LC_NUMERIC, "C");

    NoPrompts prompts("bench_typing");
    veltro::PromptService::install(&prompts);
    veltro::MemorySettingsStore settings;
    // Never destroyed: the run ends with _exit below, without the question to save.
    auto* frame = new veltro::CMainFrame(settings);
    frame->setDataSourcePrompt(&prompts);
    frame->resize(1280, 800);
    frame->show();
    settle();
    if (recoveryFolder != nullptr) {
        // Never destroyed either, as the frame.
        new veltro::WorkKeeper(*frame, settings, recoveryFolder,
                               std::string(recoveryFolder) + "/history.db");
    }
    if (frame->newConnection(std::nullopt, connectString, std::nullopt) == nullptr ||
        frame->sessions().empty()) {
        std::fprintf(stderr, "bench_typing: no connection\n");
        return 1;
    }
    veltro::CChildFrame& session = *frame->sessions().back();
    veltro::CQryView& editor = session.queryView();
    const std::string query = generatedQuery();
    editor.setTextUtf8(query);
    editor.setFocus();
    settle();

    const int lastLine = editor.lines() - 1;
    const Cost top = typeAt(editor, 0, 0);
    const Cost end = typeAt(editor, lastLine, editor.text(lastLine).size());
    std::printf("document: %zu bytes, %d lines\n", query.size(), editor.lines());
    std::printf("%-6s %16s %14s\n", "place", "median ms/key", "mean ms/key");
    std::printf("%-6s %16.3f %14.3f\n", "top", top.median, top.mean);
    std::printf("%-6s %16.3f %14.3f\n", "end", end.median, end.mean);
    std::printf("end/top (median): %.2f (goal: at most 2)\n", end.median / top.median);
    if (recoveryFolder != nullptr) {
        std::printf("longest UI stall while the text is kept: %.0f ms\n",
                    longestStallMs(veltro::DocumentRecovery::writeDelayMs * 2));
    }
    std::fflush(stdout);
    _exit(0);
}
