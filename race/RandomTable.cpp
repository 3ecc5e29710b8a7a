#include "race/RandomTable.h"

#include <algorithm>

#include "core/util/RuntimeRandom.h"

void RandomTable::Fill()
{
    for (size_t i = 0; i < kWords; ++i)
    {
        words[i] = static_cast<uint32_t>(RuntimeRand());
    }
    std::copy_n(words.begin(), kStoredWords - kWords, words.begin() + kWords);
}
