// fuzz-libs: quorbel_processing
#include "FuzzReference.h"
#include "processing/FieldTokenizer.h"
#include "processing/FrameStore.h"
#include "processing/ReceiverSettings.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fuzzer/FuzzedDataProvider.h>
#include <memory>
#include <string>
#include <vector>

// The input gives the selected fields, the store type, the quote, both
// separators (up to 3 bytes each) for the tokenizer, the separator codes
// for the selection, then the frame.  Half the inputs build a frame of
// quoted, plain and blank-led fields whose fields are known as it is built,
// and both the tokenizer and the selection are checked against them.  The
// other half give arbitrary bytes: the tokenizer must agree with itself;
// the selection takes them without quotes and blanks, where the fields are
// simply what lies between the separators.
namespace
{
using FuzzReference::Check;

std::unique_ptr<CReceiverSettings> g_settings;

void CheckTokenizer(const std::string& frame, const std::string& separators, char quote)
{
    std::string target;
    CFieldTokenizer tokenizer(&target, frame, separators, quote);
    const size_t count = tokenizer.Count();
    Check(count <= frame.size());
    std::string field;
    for (size_t i = 0; i < count; ++i)
    {
        Check(tokenizer.NextToken(&field));
        Check(field == tokenizer.GetAt(i) && target == field);
        Check(field.size() <= frame.size() + 3);
    }
    Check(!tokenizer.NextToken(&field) && field.empty() && target.empty());
    Check(tokenizer.GetAt(count).empty());
}

// A frame built field by field, as an instrument writes one: each field
// after blanks, plain or in quotes (a quote inside doubled), so that what
// the tokenizer must find is known without reading the frame back.  A
// frame's last plain field that is empty opens no field.
struct BuiltFrame
{
    std::string text;
    std::vector<std::string> fields;
};

BuiltFrame BuildFrame(FuzzedDataProvider& input, char separator)
{
    const std::string plainAlphabet = "ABCxyz019 .-_+/";
    BuiltFrame built;
    bool lastIsEmptyPlain = false;
    while (input.remaining_bytes() > 0 && built.fields.size() < 40)
    {
        if (!built.fields.empty())
            built.text += separator;
        built.text.append(input.ConsumeIntegralInRange(0, 2), input.ConsumeBool() ? ' ' : '\t');
        const bool quoted = input.ConsumeBool();
        std::string field;
        for (size_t n = input.ConsumeIntegralInRange<size_t>(0, 8); n > 0; --n)
        {
            if (quoted)
                field += static_cast<char>(input.ConsumeIntegralInRange<int>(1, 255));
            else
                field += plainAlphabet[input.ConsumeIntegralInRange<size_t>(0, plainAlphabet.size() - 1)];
        }
        if (quoted)
        {
            std::string escaped;
            for (char c : field)
                escaped += c == '"' ? std::string("\"\"") : std::string(1, c);
            built.text += '"' + escaped + '"';
            built.text.append(input.ConsumeIntegralInRange(0, 2), ' ');
        }
        else
        {
            // A plain field never begins with a blank: those are skipped.
            field.erase(0, field.find_first_not_of(' '));
            built.text += field;
        }
        built.fields.push_back(field);
        lastIsEmptyPlain = !quoted && field.empty();
    }
    if (lastIsEmptyPlain)
        built.fields.pop_back();
    return built;
}

void CheckAgainstBuiltFrame(FuzzedDataProvider& input, uint32_t flags)
{
    const char separator = input.ConsumeBool() ? ';' : ',';
    const BuiltFrame built = BuildFrame(input, separator);
    std::string target;
    CFieldTokenizer tokenizer(&target, built.text, std::string(1, separator), '"');
    Check(tokenizer.Count() == built.fields.size());
    for (size_t i = 0; i < built.fields.size(); ++i)
        Check(tokenizer.GetAt(i) == built.fields[i]);

    g_settings->m_storeType = CReceiverSettings::SelectedFields;
    CFrameStore store;
    store.SetSeparators(std::string(1, separator), ";");
    std::string selected = "before";
    const auto inUse = [flags](size_t i) { return ((flags >> i) & 1) != 0; };
    Check(store.SelectFields(built.text, selected, *g_settings) == (built.fields.size() > 2 ? 0u : 65535u));
    Check(selected == (built.fields.empty() ? "before" : FuzzReference::SelectedText(built.fields, inUse, ";")));
}
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The settings read and create their files in the working directory.
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "quorbel-frame-store-fuzz";
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    g_settings = std::make_unique<CReceiverSettings>();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const uint32_t flags = input.ConsumeIntegral<uint32_t>();
    for (int i = 0; i < CReceiverSettings::FieldCount; ++i)
        g_settings->SetFieldInUse(i, static_cast<int16_t>((flags >> i) & 1));
    g_settings->m_storeType = input.ConsumeIntegralInRange(0, 4);
    const char quote = input.ConsumeIntegral<char>();
    const std::string separators = input.ConsumeBytesAsString(input.ConsumeIntegralInRange(0, 3));
    const std::string inputSeparator = CReceiverSettings::SeparatorText(input.ConsumeIntegralInRange(0, 3));
    const std::string outputSeparator = CReceiverSettings::SeparatorText(input.ConsumeIntegralInRange(0, 3));
    if (input.ConsumeBool())
    {
        CheckAgainstBuiltFrame(input, flags);
        return 0;
    }
    const std::string raw = input.ConsumeRemainingBytesAsString();
    CheckTokenizer(raw, separators, quote);

    const std::string frame = FuzzReference::PlainFrame(raw, inputSeparator[0]);
    const std::vector<std::string> fields = FuzzReference::SplitFields(frame, inputSeparator[0]);
    CFrameStore store;
    store.SetSeparators(inputSeparator, outputSeparator);
    std::string selected = "before";
    Check(store.SelectFields(frame, selected, *g_settings) == (fields.size() > 2 ? 0u : 65535u));
    const bool selects = g_settings->m_storeType == 2 || g_settings->m_storeType == 3;
    const auto inUse = [flags](size_t i) { return ((flags >> i) & 1) != 0; };
    const bool rebuilt = selects && !fields.empty();
    Check(selected == (rebuilt ? FuzzReference::SelectedText(fields, inUse, outputSeparator) : "before"));
    return 0;
}
