#include "tests/support/TestDirectory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

TestDirectory::TestDirectory()
{
    previousWorkingDirectory_ = fs::current_path().string();
    std::string pattern = (fs::temp_directory_path() / "zarvo-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
    {
        ADD_FAILURE() << "cannot create a temporary folder";
        return;
    }
    path_ = pattern;
    fs::current_path(path_);
}

TestDirectory::~TestDirectory()
{
    fs::current_path(previousWorkingDirectory_);
    if (!path_.empty())
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
}

void TestDirectory::WriteFile(const std::string& relativePath, const std::string& bytes) const
{
    const fs::path target = fs::path(path_) / relativePath;
    fs::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << "cannot write " << target;
}

std::string TestDirectory::ReadFile(const std::string& relativePath) const
{
    std::ifstream in(fs::path(path_) / relativePath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
