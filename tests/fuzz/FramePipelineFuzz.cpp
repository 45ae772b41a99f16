// fuzz-libs: quorbel_app
// Feeds arbitrary frames, as a link delivers them (no line break inside,
// perhaps a CR LF left at the end), through the frame handler and compares
// with what a plain reading of the frames expects: the trimmed frame; in
// store type 0 the day file holds exactly the trimmed frames, one a line;
// in store type 2 (frames without quotes or blanks, so that the fields are
// what lies between the separators) a header and the selected fields of
// every frame with at least three fields, after the header line of the
// field names; the counter counts the accepted frames and wraps after
// 99999; every trimmed frame is listed (tabs shown as blanks) in one
// batch for the window, and printed in its number of copies.
#include "FuzzReference.h"
#include "app/FramePipeline.h"
#include "printing/PrintSettings.h"
#include "printing/TicketPrinter.h"
#include "processing/FileSystem.h"
#include "processing/FrameStore.h"
#include "processing/ReceiverSettings.h"

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <fuzzer/FuzzedDataProvider.h>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
using FuzzReference::Check;

struct CountingView : IFrameView
{
    void UpdatesWaiting() override { ++told; }
    void PrintJobFile(const std::string&) override { ++printed; }

    int told = 0;
    int printed = 0;
};

std::tm FixedDay()
{
    std::tm day{};
    day.tm_year = 126;
    day.tm_mon = 11;
    day.tm_mday = 5;
    return day;
}

std::string LinkFrame(FuzzedDataProvider& input)
{
    std::string frame = input.ConsumeRandomLengthString(300);
    frame.erase(std::remove_if(frame.begin(), frame.end(), [](char c) { return c == '\r' || c == '\n'; }),
                frame.end());
    if (input.ConsumeBool())
        frame += "\r\n";
    return frame;
}
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // One folder per process, so that parallel jobs keep their day files
    // apart; removed when the run ends.
    static const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("quorbel-frame-pipeline-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::filesystem::remove_all("RESULT");
    FuzzedDataProvider input(data, size);
    // Settings read their file key by key: read once, copied for each input.
    static const CReceiverSettings defaults;
    static const CPrintSettings printDefaults;
    CReceiverSettings settings = defaults;
    settings.m_storeType = input.ConsumeBool() ? CReceiverSettings::OriginalFrame : CReceiverSettings::SelectedFields;
    settings.m_inputSeparator = input.ConsumeIntegralInRange(0, 3);
    settings.m_outputSeparator = input.ConsumeIntegralInRange(0, 3);
    settings.m_printOut = input.ConsumeBool();
    settings.SetFieldInUse(0, 1);
    settings.SetFieldInUse(2, 1);
    CPrintSettings printSettings = printDefaults;
    printSettings.m_printingType = input.ConsumeIntegralInRange(0, 2);
    printSettings.m_numberOfCopies = input.ConsumeIntegralInRange(-2, 5);
    CFrameStore store(CPendingLines::DefaultBound, FixedDay);
    CTicketPrinter printer;
    CountingView view;
    CFramePipeline pipeline(view, settings, printSettings, store, printer, FixedDay);
    pipeline.SetPrintFields({"  operator ", "serial", "comment"});
    // Near the counter's wrap, so that short runs reach it.
    const int counterStart = input.ConsumeIntegralInRange(99990, 99999);
    pipeline.SetFrameCounter(counterStart);
    std::vector<std::string> listed;

    const bool whole = settings.m_storeType == CReceiverSettings::OriginalFrame;
    const char separator = CReceiverSettings::SeparatorText(settings.m_inputSeparator)[0];
    const std::string outputSeparator = CReceiverSettings::SeparatorText(settings.m_outputSeparator);
    const auto inUse = [](size_t i) { return i == 0 || i == 2; };
    std::string expected;
    int frames = 0;
    int accepted = 0;
    while (input.remaining_bytes() > 0 && frames < 10)
    {
        const std::string link = LinkFrame(input);
        const std::string received = whole ? link : FuzzReference::PlainFrame(link, separator);
        const std::string trimmed = FuzzReference::TrimmedFrame(received);
        const std::vector<std::string> fields = FuzzReference::SplitFields(trimmed, separator);
        const bool accepts = whole || fields.size() > 2;
        std::string frame = received;
        Check((pipeline.HandleFrame(frame) == 0) == accepts && frame == trimmed);
        ++frames;
        accepted += accepts;
        listed.push_back(trimmed);
        std::replace(listed.back().begin(), listed.back().end(), '\t', ' ');
        if (accepts)
            expected += (whole ? trimmed : FuzzReference::SelectedText(fields, inUse, outputSeparator)) + "\r\n";
    }
    Check(pipeline.FrameCounter() == (counterStart + accepted) % 100000);
    Check(view.told == (frames > 0));
    Check(pipeline.Updates().Take().listLines == listed);
    PrintRecord printout;
    while (pipeline.Updates().TakePrintout(printout))
        pipeline.Print(printout);
    Check(view.printed == (settings.m_printOut ? frames * std::max(printSettings.m_numberOfCopies, 1) : 0));

    std::ifstream in(FileSystem::HostPath("RESULT\\2026-12-05.TXT"), std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The selected-fields file begins with the header line of the names of
    // fields 0 and 2 (no settings file here: their default names).
    const std::string headerLine = "Name_0" + outputSeparator + "Name_2" + outputSeparator + "\r\n";
    const size_t header = whole || file.empty() ? 0 : headerLine.size();
    Check(file.substr(0, header) == (header == 0 ? "" : headerLine));
    Check(file.substr(header) == expected && (whole || file.empty() == (accepted == 0)));
    return 0;
}
