#pragma once

// A fresh empty folder that a test works in: created under the system's temporary folder,
// made the working directory, and removed with everything in it when the test ends.

#include <string>

class TestDirectory
{
public:
    TestDirectory();
    ~TestDirectory();
    TestDirectory(const TestDirectory&) = delete;
    TestDirectory& operator=(const TestDirectory&) = delete;

    const std::string& path() const { return path_; }

    // Writes a file below the folder (creating its folders), with the exact bytes given.
    void WriteFile(const std::string& relativePath, const std::string& bytes) const;
    std::string ReadFile(const std::string& relativePath) const;

private:
    std::string path_;
    std::string previousWorkingDirectory_;
};
