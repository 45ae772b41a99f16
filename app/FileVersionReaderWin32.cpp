#include "app/FileVersionReader.h"

#include <cstdio>
#include <cstring>

CFileVersionReader::CFileVersionReader() : m_fixedInfo{} {}

bool CFileVersionReader::Load(const char* path)
{
    m_codePage = 1252;
    m_fixedInfo = VS_FIXEDFILEINFO{};
    if (!ReadResource(path)) {
        // A half-read block is never queried.
        m_versionData.reset();
        return false;
    }
    ReadTranslation();
    return m_fixedInfo.dwSignature == VS_FFI_SIGNATURE;
}

bool CFileVersionReader::ReadResource(const char* path)
{
    const HMODULE module = ::GetModuleHandleA(path);
    if (!module && path)
        return false;
    char fileName[MAX_PATH + 1] = {};
    if (::GetModuleFileNameA(module, fileName, MAX_PATH) == 0)
        return false;
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(fileName, &handle);
    if (size == 0)
        return false;
    m_versionData.reset(new unsigned char[size]);
    if (!::GetFileVersionInfoA(fileName, 0, size, m_versionData.get()))
        return false;
    void* root = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(m_versionData.get(), "\\", &root, &length) ||
        length < sizeof m_fixedInfo)
        return false;
    std::memcpy(&m_fixedInfo, root, sizeof m_fixedInfo);
    return true;
}

void CFileVersionReader::ReadTranslation()
{
    void* translation = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(m_versionData.get(), "\\VarFileInfo\\Translation", &translation,
                          &length) ||
        length < 2 * sizeof(WORD))
        return;
    const auto* entry = static_cast<const WORD*>(translation);
    m_language = entry[0];
    m_codePage = entry[1];
}

std::string CFileVersionReader::QueryString(const std::string& name) const
{
    if (!m_versionData)
        return {};
    char block[300];
    std::snprintf(block, sizeof block, "\\StringFileInfo\\%04x%04x\\%s", m_language, m_codePage,
                  name.c_str());
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(m_versionData.get(), block, &value, &length) || !value)
        return {};
    const auto* text = static_cast<const char*>(value);
    return std::string(text, ::strnlen(text, length));
}
