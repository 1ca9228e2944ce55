// The month page over a generated data folder (bench/run.sh makes it): the first build after
// the start, on a fresh calendar source, and a rebuild; beside them khal listing the same 42
// days of the same calendars, once with an empty cache and once with a filled one.
//
//   month_page_bench [benchmark options] DATA_FOLDER
//
// DATA_FOLDER holds calendars/ and tasks/ as gen_vdir.py writes them. One data folder per run,
// so that the peak memory printed at the end belongs to that data alone.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "adapters/fake/memory_settings_store.h"
#include "adapters/ical/ical_safe_item_library.h"
#include "adapters/ical/ical_sources.h"
#include "adapters/linux/console_notice.h"
#include "adapters/linux/linux_file_system.h"
#include "adapters/linux/linux_folders.h"
#include "adapters/linux/system_clock.h"
#include "adapters/linux/system_event_loop.h"
#include "core/app/event_loop.h"
#include "core/app/main_form.h"
#include "core/app/program.h"
#include "core/app/services.h"
#include "core/app/trace_log.h"
#include "core/settings/setting_values.h"
#include "khal_list.h"

namespace planwarte::bench {
namespace {

// The generator clusters the tasks around this day; its month page shows 30 November 2026 to
// 10 January 2027.
const DateTime kPageDate = EncodeDate(2026, 12, 10);
constexpr const char* kFirstShownDay = "2026-11-30";
constexpr int kShownDays = 42;
constexpr int kMonthView = 0;

// The program's message loop, keeping count of the pauses the page build takes between two
// tasks, so that the time of the build proper can be told apart from them.
class PauseCountingLoop : public EventLoop {
  public:
    std::unique_ptr<Timer> CreateTimer(int interval_ms, std::function<void()> on_tick) override {
        return loop_.CreateTimer(interval_ms, std::move(on_tick));
    }
    void Post(std::function<void()> message) override { loop_.Post(std::move(message)); }
    void ProcessPendingMessages() override { loop_.ProcessPendingMessages(); }
    void Synchronize(std::function<void()> call) override { loop_.Synchronize(std::move(call)); }
    void Sleep(int milliseconds) override {
        const auto start = std::chrono::steady_clock::now();
        loop_.Sleep(milliseconds);
        paused_ += std::chrono::steady_clock::now() - start;
    }
    int Run() override { return loop_.Run(); }
    void Quit(int exit_code) override { loop_.Quit(exit_code); }

    // The time spent in Sleep since the last call, in milliseconds.
    double TakePausedMs() {
        const double paused = std::chrono::duration<double, std::milli>(paused_).count();
        paused_ = {};
        return paused;
    }

  private:
    SystemEventLoop loop_;
    std::chrono::steady_clock::duration paused_{};
};

// Everything the program's page mode runs on apart from the calendar source.
struct Platform {
    LinuxFileSystem files;
    LinuxFolders folders{PLANWARTE_SOURCE_DATA};
    TraceLog trace{files, folders.TempFolder()};
    MemorySettingsStore settings;
    SystemClock clock;
    PauseCountingLoop loop;
    ConsoleNotice notice;
    IcalSafeItemLibrary safe_items;
};

IcalSources SourcesOf(const std::string& data_folder, TraceLog& trace) {
    IcalSources sources;
    sources.store_roots = {data_folder + "/calendars", data_folder + "/tasks"};
    sources.trace = [&trace](const std::string& line) { trace.DebugTrace(line); };
    return sources;
}

Services ServicesOf(Platform& platform, OlApplicationFactory& calendars) {
    return Services{
        .settings = platform.settings,
        .clock = platform.clock,
        .loop = platform.loop,
        .files = platform.files,
        .folders = platform.folders,
        .notice = platform.notice,
        .trace = platform.trace,
        .outlook = calendars,
        .safe_items = platform.safe_items,
    };
}

// One start of the page mode on a fresh calendar source: the main window's start-up, after
// which each Build() makes the month page as a rebuild in the running program does.
class PageStart {
  public:
    PageStart(Platform& platform, const std::string& data_folder)
        : calendars_(SourcesOf(data_folder, platform.trace)),
          services_(ServicesOf(platform, calendars_)),
          form_(services_, StartMode::PageOnly, {}, nullptr) {
        form_.FormCreate();
    }

    std::string Build() {
        return form_.BuildPageText(kPageDate, form_.DefaultPageWindow(), kRenderScreen);
    }

  private:
    IcalApplicationFactory calendars_;
    Services services_;
    TForm1 form_;
};

// The month view with every calendar and task folder of the data ticked, as a first start
// of the program ticks them.
void PrepareSettings(Platform& platform, const std::string& data_folder) {
    platform.settings.SetInteger(kSettingsKeyPath, "VORLAGE", kMonthView);
    platform.settings.SetInteger(kSettingsKeyPath, "UseDelay", 0);
    IcalApplicationFactory calendars(SourcesOf(data_folder, platform.trace));
    Services services = ServicesOf(platform, calendars);
    ChooseEveryFolderOnFirstStart(services);
}

// The entries of a page: each opens its item on a click.
int EntriesOf(const std::string& page) {
    int count = 0;
    for (std::size_t at = page.find("OpenOLWindow("); at != std::string::npos;
         at = page.find("OpenOLWindow(", at + 1)) {
        ++count;
    }
    return count;
}

// Besides the time: the entries on the page and the pauses between tasks in each build.
void MonthPageCold(benchmark::State& state, Platform* platform, std::string data_folder) {
    int entries = 0;
    double paused_ms = 0.0;
    platform->loop.TakePausedMs();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto page_start = std::make_unique<PageStart>(*platform, data_folder);
        const std::string page = page_start->Build();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        paused_ms += platform->loop.TakePausedMs();
        entries = EntriesOf(page);
    }
    state.counters["entries"] = entries;
    state.counters["pauses_ms"] = benchmark::Counter(paused_ms, benchmark::Counter::kAvgIterations);
}

void MonthPageWarm(benchmark::State& state, Platform* platform, std::string data_folder) {
    PageStart page_start(*platform, data_folder);
    std::string page = page_start.Build();
    platform->loop.TakePausedMs();
    for (auto _ : state) {
        page = page_start.Build();
        benchmark::DoNotOptimize(page.data());
    }
    state.counters["entries"] = EntriesOf(page);
    state.counters["pauses_ms"] =
        benchmark::Counter(platform->loop.TakePausedMs(), benchmark::Counter::kAvgIterations);
}

void KhalCold(benchmark::State& state, const KhalList* khal) {
    for (auto _ : state) {
        khal->DropCache();
        state.SetIterationTime(khal->List(kFirstShownDay, kShownDays));
    }
}

void KhalWarm(benchmark::State& state, const KhalList* khal) {
    khal->List(kFirstShownDay, kShownDays);
    for (auto _ : state) {
        state.SetIterationTime(khal->List(kFirstShownDay, kShownDays));
    }
}

long PeakKibibytes(int who) {
    rusage usage{};
    ::getrusage(who, &usage);
    return usage.ru_maxrss;
}

}  // namespace
}  // namespace planwarte::bench

int main(int argc, char** argv) {
    using namespace planwarte::bench;
    benchmark::Initialize(&argc, argv);
    if (argc != 2 || !std::filesystem::is_directory(std::string(argv[1]) + "/calendars")) {
        std::fprintf(stderr,
                     "usage: %s [benchmark options] DATA_FOLDER (with calendars/, tasks/)\n",
                     argv[0]);
        return 2;
    }
    const std::string data_folder = std::filesystem::canonical(argv[1]).string();
    const std::string label = std::filesystem::path(data_folder).filename().string();

    Platform platform;
    PrepareSettings(platform, data_folder);
    benchmark::RegisterBenchmark(("MonthPage/cold/" + label).c_str(), MonthPageCold, &platform,
                                 data_folder)
        ->UseManualTime()
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("MonthPage/warm/" + label).c_str(), MonthPageWarm, &platform,
                                 data_folder)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);

    std::unique_ptr<KhalList> khal;
    if (const auto program = FindKhal()) {
        khal = std::make_unique<KhalList>(
            *program, data_folder,
            (std::filesystem::path(platform.folders.TempFolder()) / ("khal-" + label)).string());
        benchmark::RegisterBenchmark(("KhalList/cold/" + label).c_str(), KhalCold, khal.get())
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(1)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("KhalList/warm/" + label).c_str(), KhalWarm, khal.get())
            ->UseManualTime()
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    } else {
        std::fprintf(stderr, "khal is not installed: its listing is left out\n");
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("peak memory %s: planwarte %ld KiB, khal %ld KiB\n", label.c_str(),
                PeakKibibytes(RUSAGE_SELF), PeakKibibytes(RUSAGE_CHILDREN));
    return 0;
}
