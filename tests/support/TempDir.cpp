#include "tests/support/TempDir.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace stdfs = std::filesystem;

CTempDir::CTempDir() : m_previous(stdfs::current_path().string())
{
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    const stdfs::path dir =
        stdfs::temp_directory_path() / ("quorbel-test-" + std::to_string(ticks) + "-" + std::to_string(counter++));
    stdfs::create_directories(dir);
    stdfs::current_path(dir);
    m_path = dir.string();
}

CTempDir::~CTempDir()
{
    std::error_code ignored;
    stdfs::current_path(m_previous, ignored);
    stdfs::remove_all(m_path, ignored);
}

std::string CTempDir::Join(const std::string& name) const
{
    return (stdfs::path(m_path) / name).string();
}

std::string CTempDir::Read(const std::string& name) const
{
    std::ifstream in(Join(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void CTempDir::Write(const std::string& name, const std::string& bytes) const
{
    std::ofstream(Join(name), std::ios::binary) << bytes;
}
