#pragma once

// Name collation shared by the archive's name tree and the menus' picture names. The order is
// stored implicitly in every archive, so it must not change by a single byte.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

// The fold of every byte, built on first use. `folded` is read only after `built` is seen set;
// builders hold `lock`.
struct CaseFoldTable
{
    std::array<uint8_t, 256> folded{};
    std::atomic<bool> built{false};
    std::mutex lock;
};

extern CaseFoldTable g_caseFoldTable;

// Builds the table, even when it is built already.
void InitCaseFoldTable();

// Folds every byte of the zero-terminated string.
void LowerCaseInPlace(char* s);

// -1, 0 or 1. Folded bytes are compared from the terminators backwards, unsigned; the first
// difference decides, and a name that ends in the whole other name is the greater one.
int32_t CompareNamesFromEnd(const char* a, const char* b);
