#include "processing/IniDocument.h"

namespace
{
const char kByteOrderMark[] = "\xEF\xBB\xBF";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1A';
}

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

std::string CutAtNul(const std::string& text)
{
    return text.substr(0, text.find('\0'));
}

std::string TrimLeft(const std::string& text)
{
    size_t begin = 0;
    while (begin < text.size() && IsBlank(text[begin]))
        ++begin;
    return text.substr(begin);
}

std::string TrimRight(const std::string& text)
{
    size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1]))
        --end;
    return text.substr(0, end);
}

// A name as the functions take it from their caller: a C string without
// blanks around it.
std::string CallerName(const std::string& text)
{
    return TrimRight(TrimLeft(CutAtNul(text)));
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
    {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

// The Windows functions drop trailing spaces (not other blanks) of the
// default, but never its first character.
std::string StripDefault(const std::string& defaultValue)
{
    std::string text = CutAtNul(defaultValue);
    while (text.size() > 1 && text.back() == ' ')
        text.pop_back();
    return text;
}

// Copies a value or default into a buffer of bufferSize characters.  A
// value in matching quotes loses the opening quote, and the closing one
// only when the buffer holds the whole rest: a buffer that is one
// character too short therefore loses the value's last character instead,
// which is what the Windows functions return.
std::string CopyEntry(const std::string& value, unsigned bufferSize)
{
    if (bufferSize == 0)
        return std::string();
    std::string text = value;
    const bool quoted = text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0];
    if (quoted)
        text.erase(0, 1);
    const size_t rest = text.size();
    if (text.size() > bufferSize - 1)
        text.resize(bufferSize - 1);
    if (quoted && bufferSize >= rest && !text.empty())
        text.pop_back();
    return text;
}

// The first section or key of that name, or null.
template <class Items>
auto FindNamed(Items& items, const std::string& name) -> decltype(&items.front())
{
    for (auto& item : items)
    {
        if (EqualsIgnoringCase(item.name, name))
            return &item;
    }
    return nullptr;
}
}

CIniDocument::CIniDocument(const std::string& bytes)
{
    size_t begin = 0;
    if (bytes.compare(0, 3, kByteOrderMark) == 0)
    {
        m_byteOrderMark = kByteOrderMark;
        begin = 3;
    }
    while (begin < bytes.size())
    {
        size_t end = begin;
        while (end < bytes.size() && !IsLineEnd(bytes[end]))
            ++end;
        ParseLine(bytes, begin, end);
        begin = end;
        while (begin < bytes.size() && IsLineEnd(bytes[begin]))
            ++begin;
    }
}

void CIniDocument::ParseLine(const std::string& bytes, size_t begin, size_t end)
{
    while (begin < end && IsBlank(bytes[begin]))
        ++begin;
    while (end > begin && IsBlank(bytes[end - 1]))
        --end;
    if (begin == end)
        return;
    const std::string line = bytes.substr(begin, end - begin);

    const size_t closing = line.rfind(']');
    if (line[0] == '[' && closing != std::string::npos && closing > 0)
    {
        const std::string name = TrimRight(TrimLeft(line.substr(1, closing - 1)));
        m_sections.push_back(Section{CutAtNul(name), {}});
        return;
    }

    Key key{line, std::string(), false};
    const size_t equals = line.find('=');
    if (equals != std::string::npos)
    {
        key.name = TrimRight(line.substr(0, equals));
        key.value = CutAtNul(TrimLeft(line.substr(equals + 1)));
        key.hasValue = true;
    }
    // Of several nameless keys in a row only the first is kept.
    std::vector<Key>& keys = m_sections.back().keys;
    if (key.name.empty() && !keys.empty() && keys.back().name.empty())
        return;
    key.name = CutAtNul(key.name);
    keys.push_back(key);
}

std::string CIniDocument::GetString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, unsigned bufferSize) const
{
    const Section* found = FindNamed(m_sections, CallerName(section));
    const Key* entry = found ? FindNamed(found->keys, CallerName(key)) : nullptr;
    if (entry && entry->hasValue)
        return CopyEntry(entry->value, bufferSize);
    return CopyEntry(StripDefault(defaultValue), bufferSize);
}

bool CIniDocument::SetString(const std::string& section, const std::string& key, const std::string& value)
{
    // A new section or key keeps the caller's trailing blanks, as in Windows.
    Section* target = FindNamed(m_sections, CallerName(section));
    if (!target)
    {
        m_sections.push_back(Section{TrimLeft(CutAtNul(section)), {}});
        target = &m_sections.back();
    }
    Key* entry = FindNamed(target->keys, CallerName(key));
    if (!entry)
    {
        target->keys.push_back(Key{TrimLeft(CutAtNul(key)), std::string(), false});
        entry = &target->keys.back();
    }
    const std::string text = TrimLeft(CutAtNul(value));
    if (entry->hasValue && entry->value == text)
        return false;
    entry->value = text;
    entry->hasValue = true;
    return true;
}

std::string CIniDocument::Serialise() const
{
    std::string bytes = m_byteOrderMark;
    for (const Section& section : m_sections)
    {
        if (!section.name.empty())
            bytes += "[" + section.name + "]\r\n";
        for (const Key& key : section.keys)
        {
            bytes += key.name;
            if (key.hasValue)
                bytes += "=" + key.value;
            bytes += "\r\n";
        }
    }
    return bytes;
}
