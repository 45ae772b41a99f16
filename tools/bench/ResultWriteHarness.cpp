// Measures how fast result lines reach their file through
// CFrameStore::WriteResult, against a bare loop that opens the file, appends
// the same line and closes it, one line at a time.  The two run in
// alternating blocks so that drifts of the machine hit both alike.
#include "processing/FrameStore.h"
#include "tools/bench/BenchFrames.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
constexpr int LineCount = 100000;
constexpr int BlockSize = 10000;
using Clock = std::chrono::steady_clock;

bool AppendBare(const std::string& path, const std::string& line)
{
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file)
        return false;
    const bool wrote = std::fwrite(line.data(), 1, line.size(), file) == line.size() &&
                       std::fwrite("\r\n", 1, 2, file) == 2;
    return std::fclose(file) == 0 && wrote;
}

double LinesPerSecond(Clock::duration elapsed)
{
    return LineCount / std::chrono::duration<double>(elapsed).count();
}
}

int main()
{
    const CTempDir folder;  // the settings read and create their files in the working directory
    CReceiverSettings settings;
    SelectEveryOtherField(settings);
    CFrameStore store;
    store.SetSeparators(";", ";");
    const std::string results = folder.Path() + "\\RESULT\\";
    const std::string barePath = folder.Join("bare.TXT");

    std::vector<std::string> selected(LineCount);
    for (int i = 0; i < LineCount; ++i)
        store.SelectFields(TwentyFieldFrame(i), selected[i], settings);

    Clock::duration storeTime{}, bareTime{};
    std::vector<std::string> lines(BlockSize);
    for (int first = 0; first < LineCount; first += BlockSize)
    {
        const Clock::time_point storeStart = Clock::now();
        for (int i = 0; i < BlockSize; ++i)
        {
            if (store.WriteResult(results, ".TXT", "", selected[first + i], 3, lines[i]) != 0)
            {
                std::fprintf(stderr, "WriteResult failed at line %d\n", first + i);
                return 1;
            }
        }
        const Clock::time_point bareStart = Clock::now();
        for (const std::string& line : lines)
        {
            if (!AppendBare(barePath, line))
            {
                std::fprintf(stderr, "bare append failed at block %d\n", first);
                return 1;
            }
        }
        const Clock::time_point end = Clock::now();
        storeTime += bareStart - storeStart;
        bareTime += end - bareStart;
    }

    const double storeRate = LinesPerSecond(storeTime);
    const double bareRate = LinesPerSecond(bareTime);
    std::printf("lines: %d (store type 3, 10 of 20 fields selected)\n", LineCount);
    std::printf("WriteResult: %.0f lines/s\n", storeRate);
    std::printf("bare open-append-close: %.0f lines/s\n", bareRate);
    std::printf("ratio: %.1f %%\n", 100.0 * storeRate / bareRate);
    return 0;
}
