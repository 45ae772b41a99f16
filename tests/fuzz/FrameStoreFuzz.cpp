// fuzz-libs: quorbel_processing
#include "processing/FieldTokenizer.h"
#include "processing/FrameStore.h"
#include "processing/ReceiverSettings.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

// Input layout: 3 bytes of field flags (20 used), 1 byte store type, 1 byte
// quote, 1 byte input separator length (0 to 3), 1 byte output separator
// length (0 to 3), the separators, then the frame.
namespace
{
std::unique_ptr<CReceiverSettings> g_settings;

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

struct Input
{
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    uint8_t Byte() { return m_used < m_size ? m_data[m_used++] : 0; }
    std::string Text(size_t length)
    {
        length = std::min(length, m_size - m_used);
        std::string text(reinterpret_cast<const char*>(m_data + m_used), length);
        m_used += length;
        return text;
    }
    std::string Rest() { return Text(m_size - m_used); }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_used = 0;
};

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
    Input input(data, size);
    const uint32_t flags = input.Byte() | input.Byte() << 8 | static_cast<uint32_t>(input.Byte()) << 16;
    for (int i = 0; i < CReceiverSettings::FieldCount; ++i)
        g_settings->SetFieldInUse(i, static_cast<int16_t>((flags >> i) & 1));
    g_settings->m_storeType = input.Byte() % 5;
    const char quote = static_cast<char>(input.Byte());
    const size_t inputLength = input.Byte() % 4;
    const size_t outputLength = input.Byte() % 4;
    const std::string inputSeparator = input.Text(inputLength);
    const std::string outputSeparator = input.Text(outputLength);
    const std::string frame = input.Rest();

    CheckTokenizer(frame, inputSeparator, quote);

    CFrameStore store;
    store.SetSeparators(inputSeparator, outputSeparator);
    std::string selected = "before";
    const unsigned result = store.SelectFields(frame, selected, *g_settings);
    CFieldTokenizer fields(nullptr, frame, inputSeparator, '"');
    Check(result == (fields.Count() > 2 ? 0u : 65535u));
    if (g_settings->m_storeType < 2 || fields.Count() == 0)
        Check(selected == "before");
    else
        Check(selected.size() <= frame.size() + 3 * 20 + 20 * (outputSeparator.size() + 2));
    return 0;
}
