// The window's event loop while the directory summary of the centre is made: the longest stall
// (the longest wait of a timer due every 5 ms), once by the window itself, which makes it on a
// thread of its own, and once with the summary made on the window's thread, as before. The
// target is a stall under 100 ms. The window is shown offscreen; closing it, which frees the
// table, is measured apart. The window goes first, so that the process's peak memory is its:
// what the table and its making hold (the target is under 300 MiB).
//   bench_stall DB          measures on the database DB (offscreen)
//   bench_stall --make DB   builds the centre's 2,015,000-row database at DB first (not timed;
//                           some minutes)
#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "model/TMainDM.h"
#include "reports/DirectorySummary.h"
#include "support/BenchSupport.h"
#include "support/CentreDirectory.h"
#include "ui/app/Application.h"
#include "ui/reports/SummaryModel.h"
#include "ui/reports/TForm61MingLKHZB.h"

namespace {

struct Stall {
    double longestMs = 0;
    double totalMs = 0;
};

// Runs act from the event loop while a timer is due every 5 ms, and measures how late it came
// at worst.
Stall Measure(const std::function<void()>& act) {
    Stall stall;
    QElapsedTimer clock, sinceTick;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        stall.longestMs = std::max(stall.longestMs, sinceTick.nsecsElapsed() / 1e6);
        sinceTick.restart();
    });
    QTimer::singleShot(0, [&] {
        clock.start();
        sinceTick.start();
        tick.start(5);
        act();
        // The tick that ends the work counts too.
        stall.longestMs = std::max(stall.longestMs, sinceTick.nsecsElapsed() / 1e6);
        stall.totalMs = clock.nsecsElapsed() / 1e6;
        tick.stop();
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    return stall;
}

void Print(const char* how, std::size_t rows, const Stall& open, const Stall& close) {
    std::printf("%-36s %8zu rows in %7.2f s, longest stall %8.1f ms; closing %6.1f ms\n", how, rows,
                open.totalMs / 1000, open.longestMs, close.longestMs);
    std::fflush(stdout);
}

// Shows a window and lets it paint.
void Show(QWidget& window) {
    window.show();
    QCoreApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--make") {
        mlk::bench::BuildCentre(argv[2]);
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_stall [--make] DB\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    mlk::ui::Application app(qtArgc, argv);
    mlk::TMainDM dm(argv[1]);
    std::printf("load average at start: %s\n", mlk::bench::LoadAverage().c_str());

    const double residentBefore = mlk::bench::ResidentMiB("VmRSS:");
    std::unique_ptr<mlk::ui::TForm61MingLKHZB> window;
    const Stall after = Measure([&] {
        window = std::make_unique<mlk::ui::TForm61MingLKHZB>(dm);
        Show(*window);
    });
    const std::size_t rowsAfter = window->Table().rows.size();
    const double peak = mlk::bench::ResidentMiB("VmHWM:") - residentBefore,
                 held = mlk::bench::ResidentMiB("VmRSS:") - residentBefore;
    const Stall closedAfter = Measure([&] { window.reset(); });
    Print("the window, off its thread (after)", rowsAfter, after, closedAfter);
    std::printf(
        "the window's table: peak %.1f MiB while made, %.1f MiB held (target < 300 MiB: %s)\n",
        peak, held, peak < 300 ? "met" : "NOT MET");

    // As before: made on the window's thread, then shown in a list.
    std::unique_ptr<QTableView> list;
    std::unique_ptr<mlk::ui::SummaryModel> model;
    const Stall before = Measure([&] {
        list = std::make_unique<QTableView>();
        model = std::make_unique<mlk::ui::SummaryModel>();
        list->setModel(model.get());
        model->SetTable(mlk::DirectorySummary(dm));
        Show(*list);
    });
    const std::size_t rowsBefore = std::size_t(model->rowCount());
    const Stall closedBefore = Measure([&] {
        list.reset();
        model.reset();
    });
    Print("on the window's thread (before)", rowsBefore, before, closedBefore);

    std::printf("longest stall after / before: %.4f (target under 100 ms: %s)\n",
                after.longestMs / before.longestMs, after.longestMs < 100 ? "met" : "NOT MET");
    std::printf("load average at end: %s\n", mlk::bench::LoadAverage().c_str());
    return 0;
}
