#pragma once
// Plain, obviously right versions of what the fuzz targets check the code
// against, written without the code under test.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace FuzzReference
{
const char* const WhiteSpace = " \t\n\v\f\r";

inline void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// Arbitrary bytes in which 0xFF n c stands for (n + 1) * 8 bytes c, so
// that short inputs reach the long lines that the limits are about (up to
// a few of them: longer inputs only slow the fuzzer down).
inline std::string Expanded(const uint8_t* data, size_t size)
{
    std::string bytes;
    for (size_t i = 0; i < size; ++i)
    {
        if (data[i] == 0xFF && i + 2 < size && bytes.size() < 8192)
        {
            bytes.append((data[i + 1] + size_t{1}) * 8, static_cast<char>(data[i + 2]));
            i += 2;
        }
        else
            bytes += static_cast<char>(data[i]);
    }
    return bytes;
}

// The frame as the pipeline keeps it: up to a NUL, without trailing white
// space, without leading STX.
inline std::string TrimmedFrame(std::string frame)
{
    frame = frame.c_str();
    while (!frame.empty() && std::string(WhiteSpace).find(frame.back()) != std::string::npos)
        frame.pop_back();
    while (!frame.empty() && frame.front() == '\x02')
        frame.erase(0, 1);
    return frame;
}

// A frame without quotes, blanks or NUL that the tokenizer has no reason to
// read other than by cutting at the separator.
inline std::string PlainFrame(const std::string& raw, char separator)
{
    std::string frame;
    for (char c : raw)
    {
        if (c == separator || (c != '"' && c != '\0' && std::string(WhiteSpace).find(c) == std::string::npos))
            frame += c;
    }
    return frame;
}

// Fields between separators; a separator at the very end opens no field.
inline std::vector<std::string> SplitFields(const std::string& frame, char separator)
{
    std::vector<std::string> fields;
    size_t start = 0;
    while (start < frame.size())
    {
        const size_t end = std::min(frame.find(separator, start), frame.size());
        fields.push_back(frame.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

// The selected fields of the first 20, each followed by " separator ", with
// blanks trimmed at both ends and the separator's characters at the end.
inline std::string SelectedText(const std::vector<std::string>& fields, const std::function<bool(size_t)>& selected,
                                const std::string& separator)
{
    std::string text;
    for (size_t i = 0; i < fields.size() && i < 20; ++i)
    {
        if (selected(i))
            text += fields[i] + " " + separator + " ";
    }
    text.erase(0, text.find_first_not_of(WhiteSpace));
    text.erase(text.find_last_not_of(WhiteSpace) + 1);
    text.erase(text.find_last_not_of(separator) + 1);
    return text;
}
}
