#pragma once
#include <cstddef>
#include <string>
#include <vector>

// The records of the program's journal files: one a line, its fields
// percent-escaped (so that none holds a tab or a line end) and separated
// by tabs, then a check value of the fields, so that a damaged record is
// recognised and set aside instead of being taken for data.
class CRecordCodec
{
public:
    // The record of the fields, with its CR LF.
    static std::string Encode(const std::vector<std::string>& fields);
    // The fields of a record without its line end; false unless it is
    // whole: `count` fields, sound escapes and the right check value.
    static bool Decode(const std::string& record, size_t count, std::vector<std::string>& fields);

    // A file's bytes, record by record: `take` gets the fields of each
    // sound record and may still refuse it; a refused or damaged record,
    // and whatever follows the last line end (cut off while being
    // written), is counted in `damaged` and kept, byte for byte, in
    // `damagedBytes`.
    template <class Take>
    static void Parse(const std::string& bytes, size_t count, Take take, size_t& damaged,
                      std::string& damagedBytes)
    {
        size_t start = 0;
        for (size_t end = bytes.find('\n'); end != std::string::npos; end = bytes.find('\n', start))
        {
            std::string record = bytes.substr(start, end - start);
            if (!record.empty() && record.back() == '\r')
                record.pop_back();
            std::vector<std::string> fields;
            if (!record.empty() && !(Decode(record, count, fields) && take(fields)))
            {
                ++damaged;
                damagedBytes += bytes.substr(start, end + 1 - start);
            }
            start = end + 1;
        }
        if (start < bytes.size())
        {
            ++damaged;
            damagedBytes += bytes.substr(start);
        }
    }
};
