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

// The input gives the selected fields, the store type, the quote, both
// separators (up to 3 bytes each) for the tokenizer, the separator codes
// for the selection, then the frame.  The tokenizer takes the frame as it
// is; the selection takes it without quotes and blanks, where the fields
// are simply what lies between the separators.
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
