// Reads the input as "MainMenu/streckendaten.txt" and as "MainMenu/MenuDaten.txt", then walks
// every text the records point at, so that a pointer past the buffer shows.

#include <cstdint>
#include <cstring>
#include <vector>

#include "frontend/toolkit/CircuitTexts.h"
#include "frontend/toolkit/MenuDataSections.h"

namespace
{
// The input with the zero byte the readers expect after it.
std::vector<char> TextBuffer(const uint8_t* data, size_t size)
{
    std::vector<char> buffer(data, data + size);
    buffer.push_back('\0');
    return buffer;
}

volatile size_t g_textLength;

void Walk(const char* text)
{
    if (text != nullptr)
    {
        g_textLength = std::strlen(text);
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        std::vector<char> buffer = TextBuffer(data, size);
        CircuitTextTable records;
        records.fill(DefaultCircuitText());
        ParseCircuitTexts(buffer.data(), buffer.data() + size, records);
        for (const CircuitTextRecord& record : records)
        {
            for (size_t slot = 0; slot < kCircuitTextSlots; ++slot)
            {
                Walk(record.titles[slot]);
                Walk(record.names[slot]);
            }
            Walk(record.subtitle);
            Walk(record.grandPrixName);
            Walk(record.grandPrixSecondLine);
        }
    }
    std::vector<char> buffer = TextBuffer(data, size);
    for (const MenuDataSection& section :
         ParseMenuDataSections(buffer.data(), buffer.data() + size))
    {
        for (const char* line : section.lines)
        {
            Walk(line);
        }
        for (const auto& [first, second] : section.pairs)
        {
            Walk(first);
            Walk(second);
        }
    }
    return 0;
}
