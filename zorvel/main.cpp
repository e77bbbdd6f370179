// The zorvel program: `zorvel PROJECT.zvx` opens the model's window; `zorvel --run PROJECT.zvx
// [--top N]` calculates without a window and prints the sorted results as a table.
#include <QApplication>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>

#include "zorvel/model.h"
#include "zorvel/window.h"

namespace {

const char* kUsage =
    "Usage:\n"
    "  zorvel [PROJECT.zvx]                 open the Zorvel window (optionally with a project)\n"
    "  zorvel --run PROJECT.zvx [--top N]   calculate without a window and print the N least-cost\n"
    "                                       feasible systems (default 10; 0 prints all of them)\n"
    "  zorvel --export-year PROJECT.zvx FILE.csv\n"
    "                                       write the synthetic hourly year as CSV (load, sun,\n"
    "                                       temperatures, PV per kW, wind at the hub and per "
    "turbine)\n"
    "  zorvel --help                        show this text\n"
    "\n"
    "Zorvel finds the least-cost hybrid power systems (PV, wind, diesel, batteries) for a village\n"
    "micro-grid. Project files (.zvx) are JSON; see zorvel/README.md for the format.\n";

std::string money(double v) { return "$" + zorvel::groupedNumber(std::llround(v)); }

std::string duration(double seconds) {
    long s = std::lround(seconds);
    return s >= 60 ? std::to_string(s / 60) + " min " + std::to_string(s % 60) + " s"
                   : std::to_string(s) + " s";
}

// Waits for the calculation; on a run longer than a few seconds, reports the progress on
// standard error every few seconds.
void waitReporting(zorvel::Project& p, std::int64_t total) {
    using clock = std::chrono::steady_clock;
    const auto start = clock::now();
    auto next = start + std::chrono::seconds(3);
    while (p.IsCalculating() == 1) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (clock::now() < next) continue;
        next += std::chrono::seconds(5);
        double elapsed = std::chrono::duration<double>(clock::now() - start).count();
        double share = p.PercentComplete() / 100.0;
        std::string left =
            share > 0.001 ? ", about " + duration(elapsed * (1 - share) / share) + " left" : "";
        std::fprintf(stderr, "Zorvel: %.1f%% of %s systems done, %s elapsed%s\n", share * 100,
                     zorvel::groupedNumber(total).c_str(), duration(elapsed).c_str(), left.c_str());
    }
}

int exportYear(const std::string& project, const std::string& csv) {
    // The same file under another name (./P.zvx, a link) would lose the project to the CSV.
    std::error_code ec;
    if (std::filesystem::equivalent(project, csv, ec)) {
        std::cerr << "zorvel: '" << csv << "' is the project file itself; give another CSV file\n";
        return 2;
    }
    try {
        zorvel::Project p;
        p.OpenFile(project);
        p.ExportHourlyYear(csv);
    } catch (const std::exception& e) {
        std::cerr << "zorvel: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

int run(const std::string& path, int top) {
    zorvel::Project p;
    try {
        p.OpenFile(path);
    } catch (const std::exception& e) {
        std::cerr << "zorvel: " << e.what() << "\n";
        return 1;
    }
    if (p.InputsComplete() != 1) {
        std::cerr << "zorvel: cannot calculate '" << path << "': " << p.MissingInputs() << "\n";
        return 1;
    }
    try {
        std::int64_t total = p.SystemsToTry();
        std::cerr << "Zorvel: " << p.Name() << ": trying " << zorvel::groupedNumber(total)
                  << " systems...\n";
        p.StartCalculation();
        waitReporting(p, total);
        p.StopCalculation();  // joins the finished workers
        int n = p.ResultCount(0);
        std::printf("%s: %lld systems tried in %.2f s, %d feasible (capacity shortage <= %g%%)\n",
                    p.Name().c_str(), static_cast<long long>(total), p.LastCalculationSeconds(), n,
                    p.GetCapacityShortage());
        if (n == 0) {
            std::printf("Sorry, there were no feasible solutions.\n");
            return 0;
        }
        int rows = top <= 0 ? n : std::min(n, top);
        std::printf("%4s  %-22s %14s %10s %7s %8s %10s  %s\n", "Rank", "Type", "NPC", "COE $/kWh",
                    "Ren.%", "Short.%", "Fuel L/yr", "System");
        for (int i = 0; i < rows; ++i) {
            zorvel::Result r = p.GetResult(0, i);
            std::printf("%4d  %-22s %14s %10.3f %7.1f %8.2f %10.0f  %s\n", i + 1,
                        zorvel::Project::SystemTypeName(r.SystemTypeCode()).c_str(),
                        money(r.npc).c_str(), r.costOfEnergy, r.renewableFraction * 100,
                        r.capacityShortage * 100, r.fuelLitres, p.DescribeSystem(r).c_str());
        }
    } catch (const std::exception& e) {
        std::cerr << "zorvel: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string project;
    bool headless = false;
    int top = 10;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (a == "--export-year") {
            if (argc != 4 || i != 1) {
                std::cerr << "zorvel: --export-year needs a project file and a CSV file, and "
                             "nothing else\n"
                          << kUsage;
                return 2;
            }
            return exportYear(argv[i + 1], argv[i + 2]);
        } else if (a == "--run") {
            headless = true;
        } else if (a == "--top") {
            if (i + 1 >= argc) {
                std::cerr << "zorvel: --top needs a number\n" << kUsage;
                return 2;
            }
            std::string v = argv[++i];
            char* end = nullptr;
            long n = std::strtol(v.c_str(), &end, 10);
            if (v.empty() || *end != '\0' || n < 0 || n > 1000000) {
                std::cerr << "zorvel: --top needs a whole number from 0 up (got '" << v << "')\n";
                return 2;
            }
            top = static_cast<int>(n);
        } else if (!a.empty() && a[0] == '-') {
            std::cerr << "zorvel: unknown option '" << a << "'\n" << kUsage;
            return 2;
        } else if (project.empty()) {
            project = a;
        } else {
            std::cerr << "zorvel: only one project file can be given\n" << kUsage;
            return 2;
        }
    }
    if (headless) {
        if (project.empty()) {
            std::cerr << "zorvel: --run needs a project file\n" << kUsage;
            return 2;
        }
        return run(project, top);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zorvel");
    zorvel::ZorvelWindow w;
    w.show();
    if (!project.empty()) w.openProject(QString::fromLocal8Bit(project.c_str()));
    return app.exec();
}
