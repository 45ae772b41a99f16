#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Splits a text into fields at any of the separator characters.  Leading
// blanks of a field are skipped (unless the blank is itself the separator or
// the quote), a field may be enclosed in quote characters, in which a
// doubled quote stands for one quote and separators are plain characters.
// The whole text is split once, on the first request for the count or a
// field; NextToken reads field after field from a cursor instead.
class CFieldTokenizer
{
public:
    // target, when given, receives every field NextToken reads as well.
    CFieldTokenizer(std::string* target, const std::string& text, const std::string& separators,
                    char quote);
    virtual ~CFieldTokenizer() = default;

    size_t Count();
    // Field i, or an empty text when the text has no field i.
    const std::string& GetAt(size_t i);

    // Reads the field at the cursor into out (and the target); false at the
    // end of the text, with out and the target emptied.
    bool NextToken(std::string* out = nullptr);
    void Rewind();
    void Split();
    bool IsSkippableBlank(char c) const;

private:
    static constexpr int End = -1;

    int Read();
    bool IsSeparator(int c) const;
    int SkipBlanks(int c);
    int ReadQuotedPart(std::string& field);
    void ReadPlainPart(int c, std::string& field);
    void Deliver(const std::string& field, std::string* out);

    size_t m_cursor = 0;
    std::string* m_target;
    std::string m_text;
    std::string m_separators;
    char m_quote;
    std::vector<std::string> m_fields;
    bool m_isSplit = false;
};
