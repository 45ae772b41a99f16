#pragma once
#include <string>

// A fresh, empty directory for one test, made the process's working
// directory for the test's lifetime; removed with everything in it at the
// end, and the previous working directory restored.
class CTempDir
{
public:
    CTempDir();
    virtual ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_path; }
    // Path of a file or folder inside, with the host's separator.
    std::string Join(const std::string& name) const;
    // Every byte of a file inside; empty when it cannot be read.
    std::string Read(const std::string& name) const;
    void Write(const std::string& name, const std::string& bytes) const;

private:
    std::string m_path;
    std::string m_previous;
};
