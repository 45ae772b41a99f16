#pragma once
#include <cstdint>
#include <string>

// Reads and writes one INI file through the private-profile functions.
// Relative paths count from the executable's directory (module-directory
// flag 1) or from the working directory (flag 0).  Every operation that is
// given a section makes it the current one.
class CIniFile
{
public:
    CIniFile(const std::string& path, int moduleDirectory);
    virtual ~CIniFile() = default;

    // At most size - 1 characters (the settings' texts 255); a missing key
    // or file gives the default.
    static constexpr size_t ShortText = 256;
    const std::string& ReadString(const std::string& key, const std::string& section,
                                  const std::string& defaultValue = std::string(), size_t size = ShortText);
    int ReadInt(const std::string& key, int defaultValue, const std::string& section);
    void WriteString(const std::string& key, const std::string& value,
                     const std::string& section);
    void WriteInt(const std::string& key, int value, const std::string& section);

    // load true reads the key into the variable, false writes the variable.
    void ExchangeString(bool load, std::string& value, const std::string& key,
                        const std::string& section, const std::string& defaultValue,
                        size_t size = ShortText);
    void ExchangeInt(bool load, int& value, const std::string& key,
                     const std::string& section, int defaultValue);
    void ExchangeShort(bool load, int16_t& value, const std::string& key,
                       const std::string& section, int defaultValue);
    // Element j under the key keyBase + "_" + j.
    void ExchangeShortArray(bool load, int16_t* values, int count, const std::string& keyBase,
                            const std::string& section, int defaultValue);

    const std::string& GetPath() const { return m_path; }
    const std::string& GetSection() const { return m_section; }

private:
    void UseSection(const std::string& section);

    int m_moduleDirectory;
    std::string m_value;
    std::string m_path;
    std::string m_section;
};

// Path utilities of the settings, the result files and the error log.
void EnsureTrailingBackslash(std::string& path);
// Creates every missing directory of the path; failures are ignored.
void CreateDirectoryPath(const std::string& path);
std::string MakeAbsolutePath(const std::string& path, int moduleDirectory);
std::string DefaultIniPath(int moduleDirectory);
// C atoi: optional blanks and sign, leading decimal digits, 0 when none;
// values beyond the int range saturate instead of overflowing.
int AtoiLike(const std::string& text);
