// Stations sending results to one central database, for
// tools/database-bench.py: each station is an outbox and a sender of
// Quorbel's own, fed with a row every 1/RATE seconds for SECONDS seconds;
// each row's frame carries the moment it was added (microseconds since the
// epoch), so that the server's commit times give the delay.
//   database_load_bench CONNECTION STATIONS RATE SECONDS
// Prints "added N" and "waiting N" (rows still in the outboxes 60 s after
// the last was added) and exits 0.
#include "database/ResultOutbox.h"
#include "database/ResultSender.h"
#include "tests/support/TempDir.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace
{
class CQuietReport : public IDeliveryReport
{
public:
    void OnDatabaseTrouble(const std::string& problem, size_t) override
    {
        std::fprintf(stderr, "trouble: %s\n", problem.c_str());
    }
    void OnDatabaseConnected(const std::string&, size_t) override {}
    void OnRowsDelivered() override {}
};

struct Station
{
    explicit Station(int index) : outbox("outbox-" + std::to_string(index)), sender(outbox, report) {}
    CResultOutbox outbox;
    CQuietReport report;
    CResultSender sender;
};

long long MicrosecondsNow()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void Feed(Station& station, double rate, int seconds, std::atomic<long long>& added)
{
    const auto start = std::chrono::steady_clock::now();
    const auto interval = std::chrono::duration<double>(1.0 / rate);
    for (long long n = 0;; ++n)
    {
        const auto due = start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(interval * n);
        if (due - start >= std::chrono::seconds(seconds))
            return;
        std::this_thread::sleep_until(due);
        const std::string frame = "BENCH" + std::to_string(MicrosecondsNow()) + ";P01;PASS;2.1bar";
        std::vector<ResultRow> rows{{0, "07/12/2026 12:00:00", "2026-12-07.TXT", 0, frame, frame}};
        if (station.outbox.Add(rows))
        {
            station.sender.RowsAdded();
            ++added;
        }
    }
}
}

int main(int argc, char** argv)
{
    if (argc != 5)
    {
        std::fprintf(stderr, "usage: database_load_bench CONNECTION STATIONS RATE SECONDS\n");
        return 2;
    }
    const std::string connection = argv[1];
    const int count = std::atoi(argv[2]);
    const double rate = std::atof(argv[3]);
    const int seconds = std::atoi(argv[4]);
    CTempDir dir;
    std::vector<std::unique_ptr<Station>> stations;
    for (int i = 0; i < count; ++i)
    {
        stations.push_back(std::make_unique<Station>(i));
        stations.back()->sender.Send({connection, "", "quorbel_results", "bench-" + std::to_string(i)});
    }
    std::atomic<long long> added{0};
    std::vector<std::thread> feeders;
    for (auto& station : stations)
        feeders.emplace_back(Feed, std::ref(*station), rate, seconds, std::ref(added));
    for (std::thread& feeder : feeders)
        feeder.join();
    size_t waiting = 0;
    for (int tenth = 0; tenth < 600; ++tenth)
    {
        waiting = 0;
        for (auto& station : stations)
            waiting += station->outbox.WaitingCount();
        if (waiting == 0)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    for (auto& station : stations)
        station->sender.Stop();
    std::printf("added %lld\nwaiting %zu\n", added.load(), waiting);
    return 0;
}
