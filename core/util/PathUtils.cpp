#include "core/util/PathUtils.h"

#include <algorithm>

namespace
{

constexpr bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

constexpr char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

size_t FindLastSeparator(const std::string& s)
{
    return s.find_last_of("/\\");
}

// Cuts the last backslash component and the backslash before it.
void CutLastComponent(std::string& path)
{
    const size_t separator = path.rfind('\\');
    path.resize(separator == std::string::npos ? 0 : separator);
}

}  // namespace

void ToForwardSlashes(std::string& s)
{
    std::replace(s.begin(), s.end(), '\\', '/');
}

void ToBackslashes(std::string& s)
{
    std::replace(s.begin(), s.end(), '/', '\\');
}

void StripDirectory(std::string& s)
{
    const size_t separator = FindLastSeparator(s);
    if (separator != std::string::npos)
    {
        s.erase(0, separator + 1);
    }
}

void StripFileName(std::string& s)
{
    const size_t separator = FindLastSeparator(s);
    s.resize(separator == std::string::npos ? 0 : separator);
}

void AppendPathComponent(std::string& path, const std::string& name)
{
    if (path.size() <= 1 || name.find(':') != std::string::npos)
    {
        path = name;
        return;
    }
    if (!IsSeparator(path.back()))
    {
        path += '/';
    }
    path += name;
}

uint32_t CountPathSeparators(const std::string& s)
{
    return static_cast<uint32_t>(std::count_if(s.begin(), s.end(), IsSeparator));
}

uint32_t IsSamePath(const char* a, const char* b)
{
    for (; LowerAscii(*a) == LowerAscii(*b); ++a, ++b)
    {
        if (*a == '\0')
        {
            return 1;
        }
    }
    return 0;
}

void ResolvePath(std::string& path)
{
    ToBackslashes(path);
    // Every trailing ".." owes one component; a run of them reaches past each other, so
    // "a\b\..\.." leaves nothing rather than "a\b".
    int owedComponents = 0;
    while (!path.empty() && (owedComponents > 0 || path.ends_with("\\..")))
    {
        if (path.ends_with("\\.."))
        {
            path.resize(path.size() - 3);
            ++owedComponents;
        }
        else
        {
            CutLastComponent(path);
            --owedComponents;
        }
    }
    if (path.size() >= 3 && path.ends_with("\\."))
    {
        path.clear();
    }
    if (path.size() == 2)
    {
        path += '\\';
    }
}
