#pragma once

// Small helpers on file paths written either with '/' or with '\'.

#include <cstdint>
#include <string>

void ToForwardSlashes(std::string& s);
void ToBackslashes(std::string& s);

// Keeps what follows the last separator (everything when there is none).
void StripDirectory(std::string& s);

// Keeps what precedes the last separator, without it (nothing when there is none).
void StripFileName(std::string& s);

// Joins with '/' unless the path already ends in a separator. A path of at most one
// character, or a name with a drive (':'), is replaced by the name.
void AppendPathComponent(std::string& path, const std::string& name);

uint32_t CountPathSeparators(const std::string& s);

// 1 when the two paths are equal apart from ASCII letter case, else 0.
uint32_t IsSamePath(const char* a, const char* b);

// Brings the path to backslash form and takes away trailing ".." components together with
// the components they lead out of. A path ending in "\." becomes empty; a bare drive ("C:")
// gets its root backslash.
void ResolvePath(std::string& path);
