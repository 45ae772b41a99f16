// Measures how fast result lines reach their file through
// CFrameStore::WriteResult, which flushes every line to the disk, against
// two bare loops that open the file, append the same line and close it, one
// line at a time: one without a flush (the system's cache keeps the line)
// and one that flushes it to the disk too.  The three run in alternating
// blocks so that drifts of the machine hit them alike.
#include "processing/FrameStore.h"
#include "tools/bench/BenchFrames.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <cstdio>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif
#include <string>
#include <vector>

namespace
{
// A flush costs the disk's own time: fewer lines than the cache would take.
constexpr int LineCount = 20000;
constexpr int BlockSize = 2000;
using Clock = std::chrono::steady_clock;

bool FlushToDisk(std::FILE* file)
{
#ifdef _WIN32
    return std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
#else
    return std::fflush(file) == 0 && fsync(fileno(file)) == 0;
#endif
}

bool AppendBare(const std::string& path, const std::string& line, bool flush)
{
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file)
        return false;
    const bool wrote = std::fwrite(line.data(), 1, line.size(), file) == line.size() &&
                       std::fwrite("\r\n", 1, 2, file) == 2 && (!flush || FlushToDisk(file));
    return std::fclose(file) == 0 && wrote;
}

// One block of the bare loop; its time, or none when a line failed.
bool TimeBareBlock(const std::string& path, const std::vector<std::string>& lines, bool flush,
                   Clock::duration& total)
{
    const Clock::time_point start = Clock::now();
    for (const std::string& line : lines)
    {
        if (!AppendBare(path, line, flush))
            return false;
    }
    total += Clock::now() - start;
    return true;
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
    const std::string flushedPath = folder.Join("flushed.TXT");

    std::vector<std::string> selected(LineCount);
    for (int i = 0; i < LineCount; ++i)
        store.SelectFields(TwentyFieldFrame(i), selected[i], settings);

    Clock::duration storeTime{}, bareTime{}, flushedTime{};
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
        storeTime += Clock::now() - storeStart;
        if (!TimeBareBlock(barePath, lines, false, bareTime) ||
            !TimeBareBlock(flushedPath, lines, true, flushedTime))
        {
            std::fprintf(stderr, "bare append failed at block %d\n", first);
            return 1;
        }
    }

    const double storeRate = LinesPerSecond(storeTime);
    const double bareRate = LinesPerSecond(bareTime);
    const double flushedRate = LinesPerSecond(flushedTime);
    std::printf("lines: %d (store type 3, 10 of 20 fields selected)\n", LineCount);
    std::printf("WriteResult (flushed to the disk): %.0f lines/s\n", storeRate);
    std::printf("bare open-append-close: %.0f lines/s\n", bareRate);
    std::printf("bare open-append-flush-close: %.0f lines/s\n", flushedRate);
    std::printf("ratio to the bare loop: %.1f %%; to the flushed bare loop: %.1f %%\n",
                100.0 * storeRate / bareRate, 100.0 * storeRate / flushedRate);
    return 0;
}
