#pragma once

// Member contents for the archive tests: deterministic, with the mix of runs, repeats and
// noise that exercises every kind of code.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

inline std::vector<uint8_t> RandomBytes(size_t size, uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(size);
    for (uint8_t& byte : bytes)
    {
        byte = static_cast<uint8_t>(random());
    }
    return bytes;
}

inline std::vector<uint8_t> MixedBytes(size_t size, uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes;
    bytes.reserve(size);
    static const std::string kWords[] = {"Rennen ",   "Strecke ",    "Fahrer ", "lap ",
                                         "\xC4rger ", "Ma\xDFstab ", "race ",   "setup "};
    while (bytes.size() < size)
    {
        switch (random() % 4)
        {
            case 0:  // a run
                bytes.insert(bytes.end(), 1 + random() % 300, static_cast<uint8_t>(random()));
                break;
            case 1:  // text
                for (int i = 0; i < 20; ++i)
                {
                    const std::string& word = kWords[random() % std::size(kWords)];
                    bytes.insert(bytes.end(), word.begin(), word.end());
                }
                break;
            case 2:  // noise
                for (uint32_t i = random() % 200; i > 0; --i)
                {
                    bytes.push_back(static_cast<uint8_t>(random()));
                }
                break;
            default:  // an earlier stretch again, near or far
                if (bytes.size() > 16)
                {
                    const size_t length = 2 + random() % 60;
                    const size_t back = 1 + random() % std::min<size_t>(bytes.size(), 2000);
                    for (size_t i = 0; i < length; ++i)
                    {
                        bytes.push_back(bytes[bytes.size() - back]);
                    }
                }
                break;
        }
    }
    bytes.resize(size);
    return bytes;
}

inline std::vector<uint8_t> BytesOf(const std::string& text)
{
    return {text.begin(), text.end()};
}
