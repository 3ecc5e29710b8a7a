#include "core/util/Collation.h"

#include <algorithm>
#include <cstring>

#include "core/files/CaseFold.h"

CaseFoldTable g_caseFoldTable;

namespace
{

const std::array<uint8_t, 256>& FoldTable()
{
    if (!g_caseFoldTable.built.load(std::memory_order_acquire))
    {
        InitCaseFoldTable();
    }
    return g_caseFoldTable.folded;
}

}  // namespace

void InitCaseFoldTable()
{
    const std::lock_guard guard(g_caseFoldTable.lock);
    for (size_t i = 0; i < kCaseFold.size(); ++i)
    {
        // A rebuild finds every byte in place and writes nothing, so threads that read the
        // built table meanwhile never see a write.
        if (g_caseFoldTable.folded[i] != kCaseFold[i])
        {
            g_caseFoldTable.folded[i] = kCaseFold[i];
        }
    }
    g_caseFoldTable.built.store(true, std::memory_order_release);
}

void LowerCaseInPlace(char* s)
{
    const auto& fold = FoldTable();
    for (; *s != '\0'; ++s)
    {
        *s = static_cast<char>(fold[static_cast<uint8_t>(*s)]);
    }
}

int32_t CompareNamesFromEnd(const char* a, const char* b)
{
    const auto& fold = FoldTable();
    const size_t lengthA = std::strlen(a);
    const size_t lengthB = std::strlen(b);
    const size_t common = std::min(lengthA, lengthB);
    // The terminators always match, so the walk starts at the last characters.
    for (size_t k = 1; k <= common; ++k)
    {
        const uint8_t foldedA = fold[static_cast<uint8_t>(a[lengthA - k])];
        const uint8_t foldedB = fold[static_cast<uint8_t>(b[lengthB - k])];
        if (foldedA != foldedB)
        {
            return foldedA > foldedB ? 1 : -1;
        }
    }
    if (lengthA == lengthB)
    {
        return 0;
    }
    return lengthA > lengthB ? 1 : -1;
}
