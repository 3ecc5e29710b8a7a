#pragma once

// The file a fuzzing process hands each input to a parser that reads from disk: the named file
// in a folder of the process's own, removed with the folder when the process ends.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class FuzzInputFile
{
public:
    explicit FuzzInputFile(std::string_view name);
    ~FuzzInputFile();
    FuzzInputFile(const FuzzInputFile&) = delete;
    FuzzInputFile& operator=(const FuzzInputFile&) = delete;

    const std::string& Directory() const { return directory_; }
    const std::string& Path() const { return path_; }

    // Replaces the file's content with the input.
    void Hold(const uint8_t* data, size_t size) const;

private:
    std::string directory_;
    std::string path_;
};
