// Benchmarks of the program's hot paths, on the headless backend:
//   drawing a whole page, drawing a line of text, packing and extracting the package.
// Run: build/native/tests/kv_bench  (not part of the test run).
#include "app/wizard.h"
#include "engine/package.h"
#include "gfx/screen.h"
#include "platform/headless/headless.h"
#include "support/gfxtest.h"
#include "support/tempdir.h"
#include "wizard/pages.h"

#include <benchmark/benchmark.h>

#include <string>
#include <sys/resource.h>

namespace {

long MaxRssKiB()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A wizard with the real fonts, its window open on the headless backend.
struct WIZARDFIXTURE {
    TEMPDIR dir;
    WIZARD* wizard = nullptr;
    WIZARDFIXTURE()
    {
        ResetProgramState();
        if (CopyBuiltFonts()) wizard = CreateApplication();
        g_shell.running = 1;
    }
    ~WIZARDFIXTURE()
    {
        g_shell.running = 0;
        DestroyApplication(wizard);
    }
};

void BM_RenderPage(benchmark::State& state)
{
    WIZARDFIXTURE f;
    if (!f.wizard || !f.wizard->GraphicsReady()) {
        state.SkipWithError("no fonts");
        return;
    }
    f.wizard->page = static_cast<int16_t>(state.range(0));
    for (auto _ : state) {
        f.wizard->shownPage = -1;  // a page change: widgets rebuilt, everything drawn
        f.wizard->Render();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RenderPage)->Arg(PAGE_LANGUAGE)->Arg(PAGE_VERSIONS)->Arg(PAGE_INCOMPATIBLE);

void BM_TextLine(benchmark::State& state)
{
    WIZARDFIXTURE f;
    if (!f.wizard || !f.wizard->GraphicsReady()) {
        state.SkipWithError("no fonts");
        return;
    }
    const char* line = "Re-install KV99/00 from CD and try again";
    for (auto _ : state) benchmark::DoNotOptimize(f.wizard->Text(20, 100, static_cast<int32_t>(state.range(0)), 0x7FFF, line));
    state.SetItemsProcessed(state.iterations() * 40);
}
BENCHMARK(BM_TextLine)->Arg(1)->Arg(6);

// Eighteen files of size/18 bytes each, packed and then all extracted.
void BM_PackAndExtract(benchmark::State& state)
{
    TEMPDIR dir;
    HeadlessReset();
    const size_t each = static_cast<size_t>(state.range(0)) / FILE_COUNT;
    std::string bytes(each, 'k');
    for (int i = 0; i < FILE_COUNT; ++i) WriteFileBytes(FileTable[i].name, bytes);
    long before = MaxRssKiB();
    for (auto _ : state) {
        if (!PackFiles()) state.SkipWithError("pack failed");
        unsigned char fault = 0;
        for (int i = 0; i < FILE_COUNT; ++i)
            if (!ExtractFile(i, "out.bin", &fault)) state.SkipWithError("extract failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(each) * FILE_COUNT * 2);
    state.counters["rss_growth_KiB"] = static_cast<double>(MaxRssKiB() - before);
}
BENCHMARK(BM_PackAndExtract)->Arg(18 << 20)->Arg(180 << 20)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
