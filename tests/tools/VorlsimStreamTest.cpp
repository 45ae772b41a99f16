#include "tools/vorlsim/FrameSource.h"
#include "tools/vorlsim/StreamWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace
{
// Records every write; fails from the given write on.
class CRecordingSink : public CByteSink
{
public:
    explicit CRecordingSink(size_t failFrom = SIZE_MAX) : m_failFrom(failFrom) {}
    bool Write(const char* data, size_t size) override
    {
        if (writes.size() >= m_failFrom)
            return false;
        writes.emplace_back(data, size);
        return true;
    }
    std::vector<std::string> writes;

private:
    size_t m_failFrom;
};

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    parts.push_back(text.substr(start));
    return parts;
}

std::vector<std::string> Generated(char separator, uint32_t seed, int count)
{
    CFrameSource source(separator, seed);
    std::vector<std::string> frames(static_cast<size_t>(count));
    for (std::string& frame : frames)
        frame = source.Next();
    return frames;
}

std::string EchoOf(CSimOptions& options, CRecordingSink& sink, bool& sent)
{
    CFrameSource source(options.separator, options.seed);
    std::FILE* echo = std::tmpfile();
    CStreamWriter writer(options, source, echo);
    sent = writer.Send(sink);
    std::rewind(echo);
    std::string text;
    for (int c; (c = std::fgetc(echo)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(echo);
    return text;
}

std::string Joined(const std::vector<std::string>& frames, const std::string& before, const std::string& after)
{
    std::string all;
    for (const std::string& frame : frames)
        all += before + frame + after;
    return all;
}
}

TEST(VorlsimFrames, LookLikeTesterResultsWithSixToTwelveFields)
{
    const std::vector<std::string> frames = Generated(' ', 5, 500);
    size_t fewest = 99, most = 0;
    for (const std::string& frame : frames)
    {
        const std::vector<std::string> fields = Split(frame, ' ');
        fewest = std::min(fewest, fields.size());
        most = std::max(most, fields.size());
        EXPECT_EQ(0u, fields[0].rfind("SN", 0)) << frame;
        EXPECT_TRUE(fields[2] == "PASS" || fields[2] == "FAIL") << frame;
        for (const std::string& field : fields)
            EXPECT_FALSE(field.empty()) << frame;
    }
    EXPECT_EQ(6u, fewest);
    EXPECT_EQ(12u, most);
    EXPECT_EQ(frames, Generated(' ', 5, 500));
    EXPECT_NE(frames, Generated(' ', 6, 500));
}

TEST(VorlsimFrames, SendsTheLinesOfAFileOverAndOver)
{
    const std::string path = "vorlsim-lines-test.txt";
    std::ofstream(path, std::ios::binary) << "A;1\r\nB;2\n\nC;3";
    CFrameSource source(';', 1);
    std::string error;
    ASSERT_TRUE(source.LoadFile(path, error)) << error;
    std::vector<std::string> lines(6);
    for (std::string& line : lines)
        line = source.Next();
    EXPECT_EQ(std::vector<std::string>({"A;1", "B;2", "", "C;3", "A;1", "B;2"}), lines);
    std::remove(path.c_str());
    EXPECT_FALSE(CFrameSource(';', 1).LoadFile(path, error));
}

TEST(VorlsimStream, RandomWritesCrossFramesAndTheEchoFollowsWhatWasWritten)
{
    CSimOptions options;
    options.count = 400;
    options.chunking = CSimOptions::Chunking::Random;
    options.seed = 11;
    CRecordingSink sink;
    bool sent = false;
    const std::string echo = EchoOf(options, sink, sent);
    ASSERT_TRUE(sent);
    const std::vector<std::string> frames = Generated(';', 11, 400);
    EXPECT_EQ(Joined(frames, "", "\r\n"), Joined(sink.writes, "", ""));
    EXPECT_EQ(Joined(frames, "", "\n"), echo);
    size_t crossing = 0;
    for (const std::string& write : sink.writes)
        crossing += write.find("\r\n") != std::string::npos && write.find("\r\n") + 2 < write.size();
    EXPECT_GT(crossing, 0u);
    EXPECT_GT(sink.writes.size(), 10u);
}

TEST(VorlsimStream, AddsStxAndTheChosenTerminatorAndCutsFixedWrites)
{
    CSimOptions options;
    options.count = 50;
    options.stx = true;
    options.terminator = "\x03";
    options.chunking = CSimOptions::Chunking::Fixed;
    options.chunkSize = 7;
    CRecordingSink sink;
    bool sent = false;
    EchoOf(options, sink, sent);
    ASSERT_TRUE(sent);
    EXPECT_EQ(Joined(Generated(';', 1, 50), "\x02", "\x03"), Joined(sink.writes, "", ""));
    for (size_t i = 0; i + 1 < sink.writes.size(); ++i)
        ASSERT_EQ(7u, sink.writes[i].size()) << i;
    EXPECT_LE(sink.writes.back().size(), 7u);
}

TEST(VorlsimStream, PacedFramesGoOutWholeAtTheirTime)
{
    CSimOptions options;
    options.count = 5;
    options.rate = 200;
    options.chunking = CSimOptions::Chunking::Fixed;
    options.chunkSize = 1000;
    CRecordingSink sink;
    bool sent = false;
    EchoOf(options, sink, sent);
    ASSERT_TRUE(sent);
    EXPECT_EQ(Joined(Generated(';', 1, 5), "", "\r\n"), Joined(sink.writes, "", ""));
    for (const std::string& write : sink.writes)
        EXPECT_EQ(write.find("\r\n") + 2, write.size()) << write;
}

TEST(VorlsimStream, EchoesOnlyTheFramesWrittenBeforeTheSinkFailed)
{
    CSimOptions options;
    options.count = 10;
    CRecordingSink sink(3);
    bool sent = true;
    const std::string echo = EchoOf(options, sink, sent);
    EXPECT_FALSE(sent);
    const std::vector<std::string> frames = Generated(';', 1, 3);
    EXPECT_EQ(Joined(frames, "", "\n"), echo);
}
