#include "processing/ErrorLog.h"
#include "processing/FrameStore.h"
#include "tests/bench/BenchFrames.h"

#include <benchmark/benchmark.h>

namespace
{
void SelectFieldsOfTwentyFieldFrame(benchmark::State& state)
{
    CScratchFolder folder("quorbel-bench-select");
    CReceiverSettings settings;
    SelectEveryOtherField(settings);
    CFrameStore store;
    store.SetSeparators(";", ";");
    const std::string frame = TwentyFieldFrame(123456);
    std::string selected;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(store.SelectFields(frame, selected, settings));
        benchmark::DoNotOptimize(selected.data());
    }
}
BENCHMARK(SelectFieldsOfTwentyFieldFrame);

// What a frame costs before the file is touched: field selection and the
// stamped line of store type 3.
void SelectAndFormatLine(benchmark::State& state)
{
    CScratchFolder folder("quorbel-bench-line");
    CReceiverSettings settings;
    SelectEveryOtherField(settings);
    CFrameStore store;
    store.SetSeparators(";", ";");
    const CErrorLog writer("RESULT\\", ".TXT");
    const std::string frame = TwentyFieldFrame(123456);
    std::string selected;
    for (auto _ : state)
    {
        store.SelectFields(frame, selected, settings);
        const CErrorLog::DayLine line = writer.ComposeDayLine(selected, TimestampStyle::Full, ";");
        benchmark::DoNotOptimize(line.line.data());
    }
}
BENCHMARK(SelectAndFormatLine);
}

BENCHMARK_MAIN();
