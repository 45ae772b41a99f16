// One table of INI cases run through the private-profile seam.  The Windows
// build runs it against GetPrivateProfileStringA / WritePrivateProfileStringA
// themselves, the native build against our own reader and writer; the
// expectations are the same for both, so the native engine is held to the
// behaviour of the Windows functions byte for byte.
#include "processing/PrivateProfile.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

using namespace std::string_literals;

// Named, not anonymous: the cases are the parameters of a test template.
namespace PrivateProfileTable
{
struct Write { std::string section, key, value; };
struct Lookup { std::string section, key, defaultValue = "d"; unsigned bufferSize = 256; };

struct ProfileCase
{
    const char* name;
    std::optional<std::string> before; // no value: the file does not exist
    std::vector<Write> writes;
    Lookup lookup;                     // read after the writes
    std::string expected;
    std::optional<std::string> after;  // the file's bytes afterwards
};

const std::optional<std::string> kNoFile;

ProfileCase Reads(const char* name, const std::optional<std::string>& file, const Lookup& lookup,
                  const std::string& expected)
{
    return ProfileCase{name, file, {}, lookup, expected, file};
}

ProfileCase Writes(const char* name, const std::optional<std::string>& before, const std::vector<Write>& writes,
                   const std::string& after, const Lookup& lookup, const std::string& expected)
{
    return ProfileCase{name, before, writes, lookup, expected, after};
}

const std::string kSettings = "[Option]\r\nHideAtStart=1\r\n";
const std::string kLong(300, 'v');

std::string Quoted(size_t length)
{
    return "[S]\r\nK=\"" + std::string(length, 'v') + "\"\r\n";
}

// Bytes no settings file should hold: binary junk with NUL bytes, an
// unclosed section and overlong lines, before one good section.
std::string Junk()
{
    std::string junk;
    for (unsigned i = 0; i < 1u << 20; ++i)
    {
        const unsigned byte = i * 7919u % 251u + 1u;
        junk += byte == '[' ? ' ' : static_cast<char>(byte);
    }
    return junk + "\0\0x=\0\r\n[Open\r\n[Long]\r\n"s + std::string(100000, 'j') + "=" + kLong + "\r\n" +
           std::string(1000, 'k') + "=" + kLong + "\r\n[S]\r\nK=v\r\n";
}

const std::vector<ProfileCase> kCases = {
    // Names
    Reads("SectionAndKeyIgnoreCase", "[zone]\r\nHideAtStart=1\r\n", {"ZONE", "hideatstart"}, "1"),
    Reads("SectionsDifferingInCaseAreDuplicates", "[S]\r\nA=1\r\n[s]\r\nB=2\r\n", {"s", "B"}, "d"),
    // Blanks
    Reads("BlanksAroundNamesAndValues", "  [ Option ]  \r\n  Hide At  =   1 2  \r\n", {"Option", "Hide At"}, "1 2"),
    Reads("BlanksAroundLookedUpNames", "[Option]\r\nHide At=1 2\r\n", {" Option ", "  Hide At "}, "1 2"),
    Reads("ControlZAndFormFeedAreBlanks", "[S]\r\nA=1\x1a\x0b\x0c\r\n", {"S", "A"}, "1"),
    Reads("OtherControlsAreNotBlanks", "[S]\r\nA=\x1c" "1\x1f\r\n", {"S", "A"}, "\x1c" "1\x1f"),
    // Quotes
    Reads("SingleQuotesDropped", "[S]\r\nK='q'\r\n", {"S", "K"}, "q"),
    Reads("QuotedBlanksKept", "[S]\r\nK=\" a \"\r\n", {"S", "K"}, " a "),
    Reads("MismatchedQuotesKept", "[S]\r\nK=\"q'\r\n", {"S", "K"}, "\"q'"),
    Reads("LoneQuoteKept", "[S]\r\nK=\"\r\n", {"S", "K"}, "\""),
    Reads("OnlyOuterPairDropped", "[S]\r\nK=\"a\"b\"\r\n", {"S", "K"}, "a\"b"),
    // Comments and lines without '='
    Reads("CommentedSectionIgnored", ";[S]\r\nK=1\r\n", {"S", "K"}, "d"),
    Reads("NoInlineComments", "[S]\r\nK=1 ; c\r\n", {"S", "K"}, "1 ; c"),
    Reads("KeyWithoutEqualsReadsAsMissing", "[S]\r\nK\r\nK=2\r\n", {"S", "K"}, "d"),
    // Duplicates: the first wins
    Reads("DuplicateKeyFirstWins", "[S]\r\nK=1\r\nk=2\r\n", {"S", "K"}, "1"),
    Reads("DuplicateSectionFirstWins", "[S]\r\nA=1\r\n[T]\r\n[S]\r\nA=2\r\nB=3\r\n", {"S", "A"}, "1"),
    // Section headers
    Reads("TextAfterClosingBracketIgnored", "[S] ; c\r\nA=1\r\n", {"S", "A"}, "1"),
    Reads("LastClosingBracketEndsName", "[S]]\r\nA=1\r\n", {"S]", "A"}, "1"),
    Reads("HeaderSwallowsKeyOnItsLine", "[S]A=1\r\nB=2\r\n", {"S", "A"}, "d"),
    Reads("UnclosedSectionIsAnOrdinaryLine", "[S]\r\nA=1\r\n[T\r\nB=2\r\n", {"S", "B"}, "2"),
    Reads("NamelessSectionComesFirst", "A=1\r\n[S]\r\nA=2\r\n", {"", "A"}, "1"),
    // Missing file, section or key, and defaults
    Reads("MissingFile", kNoFile, {"S", "K", "dflt"}, "dflt"),
    Reads("DefaultKeepsOtherBlanks", kSettings, {"Option", "X", "  dflt \t "}, "  dflt \t"),
    Reads("DefaultOfSpacesKeepsOne", kSettings, {"Option", "X", "   "}, " "),
    Reads("QuotedDefaultLosesQuotes", kSettings, {"Option", "X", "\"d\""}, "d"),
    // The buffer cut
    Reads("LongValueCutTo255", "[S]\r\nK=" + kLong + "\r\n", {"S", "K"}, std::string(255, 'v')),
    Reads("EmptyQuotesAreAnEmptyValue", Quoted(0), {"S", "K"}, ""),
    Reads("QuotedValueFits", Quoted(254), {"S", "K"}, std::string(254, 'v')),
    Reads("QuotedValueOneTooLongLosesLastCharacter", Quoted(255), {"S", "K"}, std::string(254, 'v')),
    Reads("QuotedValueTwoTooLong", Quoted(256), {"S", "K"}, std::string(255, 'v')),
    Reads("OneCharacterBuffer", "[S]\r\nK=abc\r\n", {"S", "K", "d", 1}, ""),
    Reads("QuotedValueInSmallBuffer", "[S]\r\nK=\"ab\"\r\n", {"S", "K", "d", 3}, "a"),
    // Line ends
    Reads("LineFeedOnly", "[S]\nA=1\nB=2\n", {"S", "B"}, "2"),
    Reads("CarriageReturnOnly", "[S]\rA=1\rB=2", {"S", "B"}, "2"),
    Reads("Utf8ByteOrderMarkSkipped", "\xEF\xBB\xBF[S]\r\nA=1\r\n", {"S", "A"}, "1"),
    // NUL bytes end names and values
    Reads("NulEndsKeyName", "[S]\r\nA\0B=1\r\n"s, {"S", "A"}, "1"),
    Reads("NulEndsValue", "[S]\r\nA=1\0x\r\n"s, {"S", "A"}, "1"),
    Reads("JunkBeforeGoodSection", Junk(), {"S", "K"}, "v"),
    Reads("OverlongKeyCut", Junk(), {"Long", std::string(1000, 'k')}, std::string(255, 'v')),

    // Writing
    Writes("ReplaceKeepsStoredNameCase", "[S]\r\nKey=1\r\n", {{"s", "KEY", "2"}}, "[S]\r\nKey=2\r\n", {"S", "key"}, "2"),
    Writes("ValueLosesLeadingBlanksOnly", kNoFile, {{"S", "A", "\t\x1a  v  "}}, "[S]\r\nA=v  \r\n", {"S", "A"}, "v"),
    Writes("NewNamesKeepTrailingBlanks", kNoFile, {{" S ", "  A  ", "v"}}, "[S ]\r\nA  =v\r\n", {"S", "A"}, "v"),
    Writes("ExistingContentKeptInNormalForm", "; top\r\n[S]\r\n; c1\r\nA = 1\r\n\r\n  B=2  \r\n[T]\r\nC=3\r\n",
           {{"S", "D", "4"}}, "; top\r\n[S]\r\n; c1\r\nA=1\r\nB=2\r\nD=4\r\n[T]\r\nC=3\r\n", {"T", "C"}, "3"),
    Writes("LineFeedFileRewrittenWithCrLf", "[S]\nA=1\nB=2\n", {{"S", "C", "3"}}, "[S]\r\nA=1\r\nB=2\r\nC=3\r\n",
           {"S", "B"}, "2"),
    Writes("SameValueLeavesFileAlone", "[S]\nA = 1 \nB=2\n", {{"S", "A", "1"}}, "[S]\nA = 1 \nB=2\n", {"S", "A"}, "1"),
    Writes("FirstDuplicateSectionChanged", "[S]\r\nA=1\r\n[T]\r\nX=1\r\n[S]\r\nB=2\r\n", {{"S", "B", "9"}},
           "[S]\r\nA=1\r\nB=9\r\n[T]\r\nX=1\r\n[S]\r\nB=2\r\n", {"S", "B"}, "9"),
    Writes("NamelessSectionWritten", "[S]\r\nB=2\r\n", {{"", "A", "1"}}, "A=1\r\n[S]\r\nB=2\r\n", {"", "A"}, "1"),
    Writes("LinesWithoutEqualsKept", "[S]\r\nJunk\r\n[T\r\nA=1\r\n", {{"S", "B", "2"}},
           "[S]\r\nJunk\r\n[T\r\nA=1\r\nB=2\r\n", {"S", "A"}, "1"),
    Writes("KeyWithoutEqualsGetsValue", "[S]\r\nA\r\n", {{"S", "A", "1"}}, "[S]\r\nA=1\r\n", {"S", "A"}, "1"),
    Writes("RepeatedNamelessKeysDropped", "[S]\r\n=a\r\n=b\r\nK=1\r\n=c\r\n=d\r\n", {{"S", "B", "3"}},
           "[S]\r\n=a\r\nK=1\r\n=c\r\nB=3\r\n", {"S", ""}, "a"),
    Writes("EmptySectionHeaderDropped", "[]\r\nA=1\r\n[S]\r\nB=1\r\n", {{"S", "B", "2"}}, "A=1\r\n[S]\r\nB=2\r\n",
           {"S", "B"}, "2"),
    Writes("ByteOrderMarkKept", "\xEF\xBB\xBF[S]\r\nA=1\r\n", {{"S", "B", "2"}}, "\xEF\xBB\xBF[S]\r\nA=1\r\nB=2\r\n",
           {"S", "B"}, "2"),
    Writes("LongValueWrittenWhole", kNoFile, {{"S", "A", kLong}}, "[S]\r\nA=" + kLong + "\r\n", {"S", "A"},
           std::string(255, 'v')),
};

// Nothing but the INI file may be left behind, no temporary copy.
std::vector<std::string> FilesIn(const CTempDir& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        names.push_back(entry.path().filename().string());
    return names;
}

class PrivateProfileCase : public testing::TestWithParam<ProfileCase>
{
};
}

using namespace PrivateProfileTable;

TEST_P(PrivateProfileCase, BehavesAsTheWindowsFunctions)
{
    const ProfileCase& c = GetParam();
    CTempDir dir;
    const std::string path = dir.Join("t.ini");
    if (c.before)
        dir.Write("t.ini", *c.before);

    for (const Write& write : c.writes)
        EXPECT_TRUE(PrivateProfile::WriteString(write.section, write.key, write.value, path));
    EXPECT_EQ(PrivateProfile::GetString(c.lookup.section, c.lookup.key, c.lookup.defaultValue, path,
                                        c.lookup.bufferSize),
              c.expected);

    ASSERT_EQ(FilesIn(dir), c.after ? std::vector<std::string>{"t.ini"} : std::vector<std::string>{});
    EXPECT_EQ(dir.Read("t.ini"), c.after.value_or(""));
}

INSTANTIATE_TEST_SUITE_P(Table, PrivateProfileCase, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ProfileCase>& info) { return std::string(info.param.name); });

// A missing folder fails the write and is not created; a folder in the
// place of the file is neither read nor replaced.
TEST(PrivateProfile, WritesThatCannotReachAFileFailAndChangeNothing)
{
    for (const bool folderInPlace : {false, true})
    {
        CTempDir dir;
        const std::string path = folderInPlace ? dir.Join("t.ini") : dir.Join("missing") + "\\t.ini";
        if (folderInPlace)
            std::filesystem::create_directory(path);
        EXPECT_FALSE(PrivateProfile::WriteString("S", "A", "1", path));
        EXPECT_EQ(PrivateProfile::GetString("S", "A", "d", path), "d");
        EXPECT_EQ(FilesIn(dir), folderInPlace ? std::vector<std::string>{"t.ini"} : std::vector<std::string>{});
    }
}
