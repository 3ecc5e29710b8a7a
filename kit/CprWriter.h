#pragma once

// Writes ".cpr" archives the game mounts: one chunk, no directory padding, kind code 0, the
// members' bytes in directory order right after the directory. A chunk's data is as long as its
// members together, so every member keeps its own copy; members with the same bytes are packed
// once, which keeps writing the demo installation's many alike circuit files quick.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/archive/LzCodec.h"

namespace kit
{
enum class MemberStorage
{
    Stored,
    Packed,
    Smaller,  // packed when that is smaller than the bytes themselves, else stored
};

// The packed-member layout: u32 size, u32 block count, the blocks' packed sizes, the blocks.
std::vector<uint8_t> PackMember(std::span<const uint8_t> bytes, LzCodec& codec);

class CprWriter
{
public:
    // False, with the reason, for a name the game could not open or an archive that would
    // grow past 2 GiB. Names are relative paths with '/'.
    bool Add(std::string_view name, std::span<const uint8_t> bytes, MemberStorage storage,
             std::string& error);

    // Takes over the other archive's members whose names this one does not hold yet.
    bool AddMissingFrom(const CprWriter& other, std::string& error);
    std::vector<uint8_t> Build() const;

private:
    struct Member
    {
        std::string name;
        std::shared_ptr<const std::vector<uint8_t>> stored;
        bool packed = false;
    };

    bool Append(Member member, std::string& error);

    std::vector<Member> members_;
    // The members added so far by their bytes and storage.
    std::unordered_map<std::string, Member> byContent_;
    uint64_t archiveSize_ = 16;
    LzCodec codec_;
};
}  // namespace kit
