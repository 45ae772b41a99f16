#include "processing/FieldTokenizer.h"

CFieldTokenizer::CFieldTokenizer(std::string* target, const std::string& text,
                                 const std::string& separators, char quote)
    : m_target(target), m_text(text), m_separators(separators), m_quote(quote)
{
}

size_t CFieldTokenizer::Count()
{
    if (!m_isSplit)
        Split();
    return m_fields.size();
}

const std::string& CFieldTokenizer::GetAt(size_t i)
{
    static const std::string empty;
    return i < Count() ? m_fields[i] : empty;
}

void CFieldTokenizer::Rewind()
{
    m_cursor = 0;
}

void CFieldTokenizer::Split()
{
    const size_t cursor = m_cursor;
    std::string* const target = m_target;
    std::string scratch;
    m_target = &scratch;

    Rewind();
    size_t count = 0;
    while (NextToken())
        ++count;

    m_fields.assign(count, std::string());
    Rewind();
    for (std::string& field : m_fields)
        NextToken(&field);

    m_cursor = cursor;
    m_target = target;
    m_isSplit = true;
}

bool CFieldTokenizer::IsSkippableBlank(char c) const
{
    if (c == ' ')
        return m_quote != ' ' && m_separators != " ";
    if (c == '\t')
        return m_quote != '\t' && m_separators != "\t";
    return false;
}

bool CFieldTokenizer::NextToken(std::string* out)
{
    int c = SkipBlanks(Read());
    if (c == End)
    {
        Deliver(std::string(), out);
        return false;
    }
    std::string field;
    if (c == static_cast<unsigned char>(m_quote))
        c = ReadQuotedPart(field);
    ReadPlainPart(c, field);
    Deliver(field, out);
    return true;
}

// The end of the text leaves the cursor on the end, so every later read
// sees the end again.
int CFieldTokenizer::Read()
{
    if (m_cursor >= m_text.size())
        return End;
    return static_cast<unsigned char>(m_text[m_cursor++]);
}

bool CFieldTokenizer::IsSeparator(int c) const
{
    return c != End && m_separators.find(static_cast<char>(c)) != std::string::npos;
}

int CFieldTokenizer::SkipBlanks(int c)
{
    while (c != End && IsSkippableBlank(static_cast<char>(c)))
        c = Read();
    return c;
}

// Reads after an opening quote up to its closing quote and the blanks after
// it; returns the character that follows.  Text glued to the closing quote
// keeps the quotes, with one space before that text.
int CFieldTokenizer::ReadQuotedPart(std::string& field)
{
    const int quote = static_cast<unsigned char>(m_quote);
    std::string content;
    int c = Read();
    while (c != End)
    {
        if (c != quote)
        {
            content += static_cast<char>(c);
            c = Read();
            continue;
        }
        c = Read();
        if (c != quote)
            break;
        content += m_quote;
        c = Read();
    }
    if (c != End)
        c = SkipBlanks(c);
    if (c == End || IsSeparator(c))
        field = content;
    else
        field = m_quote + content + m_quote + ' ';
    return c;
}

void CFieldTokenizer::ReadPlainPart(int c, std::string& field)
{
    while (c != End && !IsSeparator(c))
    {
        field += static_cast<char>(c);
        c = Read();
    }
}

void CFieldTokenizer::Deliver(const std::string& field, std::string* out)
{
    if (out)
        *out = field;
    if (m_target)
        *m_target = field;
}
