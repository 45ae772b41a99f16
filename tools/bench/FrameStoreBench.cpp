#include "processing/ErrorLog.h"
#include "processing/FrameStore.h"
#include "tools/bench/BenchFrames.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

namespace
{
// Every other field of a twenty-field frame selected, ";" on both sides.
struct Selection
{
    Selection()
    {
        SelectEveryOtherField(settings);
        store.SetSeparators(";", ";");
    }

    CTempDir folder;  // the settings read and create their files in the working directory
    CReceiverSettings settings;
    CFrameStore store;
    const std::string frame = TwentyFieldFrame(123456);
    std::string selected;
};

void SelectFieldsOfTwentyFieldFrame(benchmark::State& state)
{
    Selection s;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(s.store.SelectFields(s.frame, s.selected, s.settings));
        benchmark::DoNotOptimize(s.selected.data());
    }
}
BENCHMARK(SelectFieldsOfTwentyFieldFrame);

// What a frame costs before the file is touched: field selection and the
// stamped line of store type 3.
void SelectAndFormatLine(benchmark::State& state)
{
    Selection s;
    const CErrorLog writer("RESULT\\", ".TXT");
    for (auto _ : state)
    {
        s.store.SelectFields(s.frame, s.selected, s.settings);
        const CErrorLog::DayLine line = writer.ComposeDayLine(s.selected, TimestampStyle::Full, ";");
        benchmark::DoNotOptimize(line.line.data());
    }
}
BENCHMARK(SelectAndFormatLine);
}

BENCHMARK_MAIN();
