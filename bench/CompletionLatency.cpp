// bench_completion CONNECT_STRING [SCREENSHOT.png]
// Name completion against a large catalog: the program makes, where they are missing, a
// schema bench_names with 10,000 tables (t00001 ... t10000) and a table bench_names.wide200
// of 200 columns, then opens a session window (main frame shown at 1280x800) on the
// connection and completes names in its editor as a user does, while a 1 ms precise timer
// on the UI thread records how late it fires: its lateness is how long the window could not
// answer.
//
// Prints (standard output):
//   first read: the time from Ctrl+Space after "from " to the list of every table, and the
//   longest stall of the UI thread while the names were read;
//   once cached, the time from a keystroke to the list on show (median and worst of 20) for
//   every table after "from " (Ctrl+Space), for the tables that three typed characters open
//   by themselves, for 200 columns after "w." and for the same list narrowed by typing;
// With SCREENSHOT.png, the window with the list of columns on show is saved there (the list
// is a window of its own, drawn into the picture at its place).
// Exits 1 when a list did not appear, 2 on a usage error. Run with QT_QPA_PLATFORM=offscreen
// or on a display.
#include "NoPrompts.h"
#include "app/CMainFrame.h"
#include "app/PromptService.h"
#include "completion/NameCompleter.h"
#include "editor/CQryView.h"
#include "odbc/CRecordsetEx.h"
#include "odbc/OdbcConnection.h"
#include "session/CChildFrame.h"
#include "settings/MemorySettingsStore.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int tableCount = 10000;
constexpr int wideColumns = 200;
constexpr int repeats = 20;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The longest gap between the UI thread's turns at a 1 ms timer since the last reset.
class StallMeter {
public:
    StallMeter() {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(1);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            worst = std::max(worst, msSince(last) - 1.0);
            last = Clock::now();
        });
        timer.start();
    }
    void reset() {
        worst = 0;
        last = Clock::now();
    }
    double longest() const { return std::max(worst, msSince(last) - 1.0); }

private:
    QTimer timer;
    Clock::time_point last = Clock::now();
    double worst = 0;
};

void run(const std::shared_ptr<veltro::OdbcConnection>& connection, const std::string& sql) {
    veltro::CRecordsetEx recordset(connection);
    recordset.Execute(sql);
}

bool catalogReady(const std::shared_ptr<veltro::OdbcConnection>& connection) {
    veltro::CRecordsetEx count(connection);
    count.Execute("select count(*) from information_schema.tables where table_schema = "
                  "'bench_names'");
    std::string value;
    count.GetFieldValue(0, value);
    return value == std::to_string(tableCount + 1);
}

void makeCatalog(const std::string& connectString) {
    auto connection = std::make_shared<veltro::OdbcConnection>();
    connection->open(connectString, nullptr);
    if (catalogReady(connection)) {
        return;
    }
    std::fprintf(stderr, "bench_completion: making %d tables\n", tableCount);
    run(connection, "drop schema if exists bench_names cascade");
    run(connection, "create schema bench_names");
    run(connection, "do $$ begin for i in 1.." + std::to_string(tableCount) +
                        " loop execute format('create table bench_names.t%s (id int)', "
                        "lpad(i::text, 5, '0')); end loop; end $$");
    std::string columns;
    for (int i = 1; i <= wideColumns; ++i) {
        columns += (i > 1 ? ", c" : "c") + std::to_string(i) + " int";
    }
    run(connection, "create table bench_names.wide200 (" + columns + ")");
}

bool waitUntil(const std::function<bool()>& condition) {
    const auto start = Clock::now();
    while (!condition() && msSince(start) < 120000) {
        QApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return condition();
}

void key(QWidget& target, int code, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, code, modifiers, text);
    QApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, code, modifiers, text);
    QApplication::sendEvent(&target, &release);
}

// From a keystroke to the list on show with count entries: median and worst, in ms.
struct Latency {
    double median = 0;
    double worst = 0;
    qsizetype entries = 0;
};

Latency measure(veltro::CQryView& editor, veltro::NameCompleter& names, const std::string& text,
                const std::function<void()>& keystroke) {
    std::vector<double> times;
    Latency latency;
    for (int i = 0; i < repeats; ++i) {
        // Escape, as a user closes a list: nothing is left waiting for the next text.
        key(editor, Qt::Key_Escape, Qt::NoModifier, {});
        editor.setTextUtf8(text);
        editor.setSelectionRange(text.size(), text.size());
        QApplication::processEvents();
        const auto start = Clock::now();
        keystroke();
        if (!waitUntil([&] { return names.listShown(); })) {
            return {};
        }
        times.push_back(msSince(start));
        latency.entries = names.shownEntries().size();
    }
    std::sort(times.begin(), times.end());
    latency.median = times[times.size() / 2];
    latency.worst = times.back();
    return latency;
}

void saveScreenshot(QWidget& window, veltro::CQryView& editor, const QString& file) {
    QImage picture = window.grab().toImage();
    QPainter painter(&picture);
    for (QListWidget* list : editor.findChildren<QListWidget*>()) {
        if (list->isVisible()) {
            painter.drawPixmap(window.mapFromGlobal(list->mapToGlobal(QPoint(0, 0))), list->grab());
        }
    }
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* list = qobject_cast<QListWidget*>(top); list != nullptr && list->isVisible()) {
            painter.drawPixmap(window.mapFromGlobal(list->mapToGlobal(QPoint(0, 0))), list->grab());
        }
    }
    painter.end();
    picture.save(file);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: bench_completion CONNECT_STRING [SCREENSHOT.png]\n");
        return 2;
    }
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const std::string connectString = argv[1];
    makeCatalog(connectString);

    NoPrompts prompts("bench_completion");
    veltro::PromptService::install(&prompts);
    veltro::MemorySettingsStore settings;
    veltro::CMainFrame frame(settings);
    frame.setDataSourcePrompt(&prompts);
    frame.resize(1280, 800);
    frame.show();
    if (frame.newConnection(std::nullopt, connectString, std::nullopt) == nullptr ||
        frame.sessions().empty() || frame.sessions().back()->nameCompleter() == nullptr) {
        std::fprintf(stderr, "bench_completion: no connection\n");
        return 1;
    }
    veltro::CChildFrame& session = *frame.sessions().back();
    veltro::CQryView& editor = session.queryView();
    veltro::NameCompleter& names = *session.nameCompleter();
    editor.setFocus();
    QApplication::processEvents();
    const auto ctrlSpace = [&] { key(editor, Qt::Key_Space, Qt::ControlModifier, " "); };

    StallMeter stalls;
    editor.setTextUtf8("select * from ");
    editor.setSelectionRange(14, 14);
    stalls.reset();
    const auto firstStart = Clock::now();
    ctrlSpace();
    if (!waitUntil([&] { return names.listShown(); })) {
        std::fprintf(stderr, "bench_completion: the first list did not appear\n");
        return 1;
    }
    const double firstMs = msSince(firstStart);
    const double firstStall = stalls.longest();
    const qsizetype firstEntries = names.shownEntries().size();

    const Latency all = measure(editor, names, "select * from ", ctrlSpace);
    const Latency typed = measure(editor, names, "select * from t0",
                                  [&] { key(editor, Qt::Key_0, Qt::NoModifier, "0"); });
    const std::string wide = "select w. from bench_names.wide200 w";
    stalls.reset();
    const Latency columnsFirst = measure(editor, names, "select w", [&] {
        editor.setTextUtf8(wide);
        editor.setSelectionRange(8, 8);
        key(editor, Qt::Key_Period, Qt::NoModifier, ".");
    });
    const double columnsStall = stalls.longest();
    const Latency narrowed = measure(editor, names, "select w.c1 from bench_names.wide200 w", [&] {
        editor.setSelectionRange(11, 11);
        ctrlSpace();
    });
    if (all.entries == 0 || typed.entries == 0 || columnsFirst.entries == 0 ||
        narrowed.entries == 0) {
        std::fprintf(stderr, "bench_completion: a list did not appear\n");
        return 1;
    }
    std::printf("first read: list of %lld tables after %.1f ms, longest UI stall %.1f ms\n",
                static_cast<long long>(firstEntries), firstMs, firstStall);
    const auto show = [](const char* what, const Latency& l) {
        std::printf("cached, %-34s %6lld entries: median %6.1f ms, worst %6.1f ms\n", what,
                    static_cast<long long>(l.entries), l.median, l.worst);
    };
    show("every table (Ctrl+Space):", all);
    show("third typed character (t00):", typed);
    show("200 columns after \"w.\":", columnsFirst);
    show("columns narrowed (w.c1, Ctrl+Space):", narrowed);
    std::printf("longest UI stall while the columns were read and listed: %.1f ms\n", columnsStall);
    if (argc == 3) {
        editor.setTextUtf8(wide);
        editor.setSelectionRange(9, 9);
        ctrlSpace();
        waitUntil([&] { return names.listShown(); });
        QApplication::processEvents();
        saveScreenshot(frame, editor, QString::fromLocal8Bit(argv[2]));
    }
    return 0;
}
