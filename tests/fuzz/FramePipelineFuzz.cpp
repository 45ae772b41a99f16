// fuzz-libs: quorbel_app
// Feeds arbitrary frames, as a link delivers them (no line break inside,
// perhaps a CR LF left at the end), through the frame handler and checks
// what must hold for any frames: in store type 0 the day file holds exactly
// the trimmed frames, one a line; in store type 2 one line per accepted
// frame after the header; the counter counts the accepted frames; every
// printed frame goes out in its number of copies.
#include "app/FramePipeline.h"
#include "printing/PrintSettings.h"
#include "printing/TicketPrinter.h"
#include "processing/FileSystem.h"
#include "processing/FrameStore.h"
#include "processing/ReceiverSettings.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <fuzzer/FuzzedDataProvider.h>
#include <iterator>
#include <string>

namespace
{
void Check(bool condition)
{
    if (!condition)
        std::abort();
}

struct CountingView : IFrameView
{
    int ListLineCount() override { return lines; }
    void RemoveFirstListLine() override { --lines; }
    void AppendListLine(const std::string&) override { ++lines; }
    void SetStoredLine(const std::string&) override {}
    void SwitchIndicatorOn() override {}
    PrintFields ReadPrintFields() override { return {"  operator ", "serial", "comment"}; }
    void PrintJobFile(const std::string&) override { ++printed; }

    int lines = 0;
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

bool IsTrimmed(const std::string& frame)
{
    return frame.find('\0') == std::string::npos && (frame.empty() || !std::isspace(static_cast<unsigned char>(frame.back()))) &&
           (frame.empty() || frame.front() != '\x02');
}
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "quorbel-frame-pipeline-fuzz";
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::filesystem::remove_all("RESULT");
    FuzzedDataProvider input(data, size);
    CReceiverSettings settings;
    settings.m_storeType = input.ConsumeBool() ? CReceiverSettings::OriginalFrame : CReceiverSettings::SelectedFields;
    settings.m_inputSeparator = input.ConsumeIntegralInRange(0, 3);
    settings.m_printOut = input.ConsumeBool();
    settings.SetFieldInUse(0, 1);
    settings.SetFieldInUse(2, 1);
    CPrintSettings printSettings;
    printSettings.m_printingType = input.ConsumeIntegralInRange(0, 2);
    printSettings.m_numberOfCopies = input.ConsumeIntegralInRange(-2, 5);
    CFrameStore store(CPendingLines::DefaultBound, FixedDay);
    CTicketPrinter printer;
    CountingView view;
    CFramePipeline pipeline(view, settings, printSettings, store, printer, FixedDay);

    std::string expected;
    int frames = 0;
    int accepted = 0;
    while (input.remaining_bytes() > 0 && frames < 50)
    {
        const std::string received = LinkFrame(input);
        std::string frame = received;
        const bool written = pipeline.HandleFrame(frame) == 0;
        ++frames;
        accepted += written;
        Check(IsTrimmed(frame) && received.find(frame) != std::string::npos);
        Check(written || settings.m_storeType != CReceiverSettings::OriginalFrame);
        expected += frame + "\r\n";
    }
    Check(pipeline.FrameCounter() == accepted % 100000);
    Check(view.lines == frames);
    Check(view.printed == (settings.m_printOut ? frames * std::max(printSettings.m_numberOfCopies, 1) : 0));

    std::ifstream in(FileSystem::HostPath("RESULT\\2026-12-05.TXT"), std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (settings.m_storeType == CReceiverSettings::OriginalFrame)
        Check(file == expected);
    else
        Check(std::count(file.begin(), file.end(), '\n') == (accepted > 0 ? accepted + 1 : 0));
    return 0;
}
