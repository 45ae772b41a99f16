#include "processing/FileSystem.h"

#include <fstream>
#include <iterator>

namespace FileSystem
{
bool ReadContents(const std::string& path, std::string& bytes)
{
    std::ifstream in(HostPath(path), std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}
}
