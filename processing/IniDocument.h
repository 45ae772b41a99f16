#pragma once
#include <string>
#include <vector>

// An INI file held in memory, read and changed with the rules of the
// Windows private-profile functions, so that the native build reads and
// writes "Quorbel.ini" and "PrintSetup.ini" exactly as the Windows build:
//
// - lines end at CR or LF; blanks (space, TAB, VT, FF, CR, LF and the DOS
//   end-of-file byte 0x1A) around lines, names and values do not count;
// - "[name]" opens a section (text after the last ']' is ignored); a '['
//   line without ']' is an ordinary line; lines before the first section
//   belong to a section without a name;
// - "name=value" is a key; a line without '=' is a key without a value,
//   which reads as missing; ';' lines are keys nobody asks for;
// - section and key names compare without regard to ASCII case; the first
//   of duplicate sections or keys wins;
// - a value read loses one pair of matching single or double quotes;
// - writing rewrites the whole file: every section and key in its order,
//   "name=value" with CR LF, blank lines and the blanks around names and
//   values dropped, a UTF-8 byte order mark kept.
//
// Names and values end at a NUL byte, as they do in the C strings of the
// Windows functions.
class CIniDocument
{
public:
    CIniDocument() = default;
    explicit CIniDocument(const std::string& bytes);

    // GetPrivateProfileStringA with a buffer of bufferSize characters: the
    // value, or the default (trailing spaces dropped) when the section, the
    // key or its value is missing; at most bufferSize - 1 characters.
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, unsigned bufferSize) const;

    // WritePrivateProfileStringA: sets the value (leading blanks dropped),
    // appending the key to the first section of that name, or a new section
    // at the end.  False when the key already held exactly that value, in
    // which case the file is not rewritten.
    bool SetString(const std::string& section, const std::string& key, const std::string& value);

    // The file's bytes as the Windows functions write them.
    std::string Serialise() const;

private:
    struct Key
    {
        std::string name;
        std::string value;
        bool hasValue;
    };
    struct Section
    {
        std::string name;
        std::vector<Key> keys;
    };

    void ParseLine(const std::string& bytes, size_t begin, size_t end);

    std::string m_byteOrderMark;
    // The first section is the nameless one, even when the file has no
    // line before its first "[name]".
    std::vector<Section> m_sections{Section{std::string(), {}}};
};
