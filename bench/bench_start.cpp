// The desktop program's warm start to ready, against its yardstick: a bare
// Qt window shown. Both run in this process on Qt's offscreen platform, so
// the costs they share (starting a process, loading Qt, making the
// application object) are left out of both and the ratio is the stricter
// one. The program starts in a temporary working folder holding Debian's
// dictionaries (linked from MIRUDEX_REAL_DATA or build-data) whose index
// files are made by an untimed first start; every timed start finds them.
//   MIRUDEX_REAL_DATA=build-data build/bench/mirudex_bench --benchmark_filter=Start
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <filesystem>
#include <memory>

#include "BenchSupport.h"
#include "core/DefaultOptions.h"
#include "core/OptionNames.h"
#include "core/Registry.h"
#include "dict/DictionaryStore.h"
#include "search/AppState.h"
#include "text/FuzzySearch.h"
#include "ui/app/AppWiring.h"
#include "ui/app/Program.h"
#include "ui/app/WholeProgram.h"
#include "ui/main/MainWindow.h"

namespace {

namespace fs = std::filesystem;
using namespace mirudex;

QApplication& App()
{
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *app;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "mirudex_bench";
    static char* argv[] = {name, nullptr};
    return *new QApplication(argc, argv);
}

// A working folder with the real data, made once and removed at the end; the
// benchmarks run inside it and go back to where they were.
class StartFolder {
public:
    static StartFolder& Get()
    {
        static StartFolder folder;
        return folder;
    }
    bool ok() const { return !dir_.empty(); }
    const fs::path& dir() const { return dir_; }
    ~StartFolder()
    {
        std::error_code ignored;
        if (!dir_.empty())
            fs::remove_all(dir_, ignored);
    }

private:
    StartFolder()
    {
        const fs::path source = bench::RealDataDir();
        if (source.empty())
            return;
        dir_ = bench::MakeTemporaryFolder("mirudex-start");
        if (dir_.empty())
            return;
        std::error_code error;
        fs::create_directory(dir_ / "DICT", error);
        for (const char* name : {"edict", "kanjidic"})
            fs::create_symlink(fs::absolute(source / "DICT" / name), dir_ / "DICT" / name, error);
        for (const char* name : {"fuzzysearch.uni.dat", "partsofspeech.mxf", "radkfile.dat"})
            fs::copy_file(source / name, dir_ / name, error);
    }
    fs::path dir_;
};

// Runs fn inside the working folder.
template <typename Fn>
void InFolder(Fn fn)
{
    const fs::path back = fs::current_path();
    fs::current_path(StartFolder::Get().dir());
    fn();
    fs::current_path(back);
}

// One start of the program as main() wires it, up to its first turn of the
// event loop, and (untimed when state is given) its shutdown.
void StartOnce(benchmark::State* state)
{
    Registry registry;
    registry.LoadFromText(DefaultOptionsText());
    registry.SetBOOL(opt::misc::kFirstTime, false);
    ui::WholeProgram whole(registry);
    ui::Program& program = whole.program;
    program.Start();
    QCoreApplication::processEvents();
    if (state)
        state->PauseTiming();
    program.mainWindow()->OnCommand(40001);  // File > Exit
    program.RunLoop();
    program.Shutdown();
    if (state)
        state->ResumeTiming();
}

void BM_StartToReady(benchmark::State& state)
{
    App();
    if (!StartFolder::Get().ok()) {
        state.SkipWithError("real data not found (set MIRUDEX_REAL_DATA)");
        return;
    }
    InFolder([&] {
        StartOnce(nullptr);  // makes the index files: the timed starts are warm
        for (auto _ : state)
            StartOnce(&state);
    });
}
BENCHMARK(BM_StartToReady)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The yardstick: a bare top-level window of the main window's default size, shown.
void BM_StartMinimalQtWindow(benchmark::State& state)
{
    App();
    for (auto _ : state) {
        QWidget window;
        window.resize(800, 600);
        window.show();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_StartMinimalQtWindow)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
