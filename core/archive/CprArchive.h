#pragma once

// A mounted ".cpr" data archive: its directory in memory, lookup by member name, and reads of
// byte ranges for DAFile. The game and the render library read through the same object.
//
// File format (little-endian): chunks up to the end of the file, each
//   "BAUM", i32 entry count N, u32 reserved directory size R, u32 used directory size U,
//   N entries {u32 data offset (0xFFFFFFFF = directory marker, dropped), u32 stored size,
//              u32 flags (0x800 = packed; low byte = kind), u32 name length L (< 1024),
//              L name bytes XORed with the key bytes B7 51 9E 3C in turn},
//   R - U padding bytes, then the chunk's data area: the sum of its entries' stored sizes.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/files/FileSystem.h"

struct CprChunk
{
    std::array<char, 4> magic{};
    int32_t entryCount = 0;
    uint32_t reservedSize = 0;
    uint32_t usedSize = 0;
    uint32_t headerPosition = 0;
    uint32_t dataSize = 0;
};

struct CprEntry
{
    uint32_t recordPosition = 0;
    int32_t dataOffset = 0;
    uint32_t storedSize = 0;
    uint32_t packed = 0;  // 1 = the member is in the packed-member layout
    uint32_t nameLength = 0;
    uint32_t kind = 0;  // kept, never interpreted
    std::string name;   // A-Z lower-cased
};

// Where a member's bytes lie in the archive file.
struct CprLocation
{
    int32_t dataOffset = 0;
    uint32_t storedSize = 0;
    uint32_t packed = 0;
};

// Names are stored XORed with the key's bytes in turn; doing it again restores them.
void ScrambleCprName(std::span<uint8_t> name);

class CprArchive
{
public:
    static constexpr uint32_t kScrambleKey = 0x3C9E51B7;
    static constexpr uint32_t kPackedFlag = 0x800;
    static constexpr uint32_t kDirectoryMarker = 0xFFFFFFFF;
    static constexpr uint32_t kMaxNameLength = 1023;
    static constexpr size_t kPackedBlockBufferSize = 0x20400;
    static constexpr size_t kExpandedBlockBufferSize = 0x20000;

    CprArchive();
    virtual ~CprArchive();
    CprArchive(const CprArchive&) = delete;
    CprArchive& operator=(const CprArchive&) = delete;

    // Mounts the archive; with readWholly the file is kept in memory. Fails when already
    // mounted, and on any malformed chunk, entry or data range.
    bool Open(std::string_view path, bool readWholly);
    bool Close();  // false when not mounted

    bool IsMounted() const { return file_ != nullptr; }
    bool IsFileOpen() const { return fileOpen_; }
    uint32_t GetLength() const { return length_; }

    // Case-insensitive ('A'-'Z' and the umlauts); the first of several equal names wins.
    bool Lookup(CprLocation& location, std::string_view name) const;
    const CprEntry* FindEntry(std::string_view name) const;
    // True when some member's name (lower-cased) is exactly the pattern, slashes turned.
    bool FindMatch(std::string_view pattern) const;
    const std::vector<CprEntry>& GetEntryList() const { return entries_; }
    const std::vector<CprChunk>& GetChunkList() const { return chunks_; }

    // Bytes read: fewer at the end of the archive, none beyond it or while suspended.
    uint32_t ReadAt(void* buffer, uint32_t position, uint32_t count);
    // Moves the file to the position, which a suspended archive resumes at. False beyond the
    // end, while suspended or when not mounted.
    bool Seek(uint32_t position);

    // Reads a directory record of the older form at the position: {u32 data offset, u32 stored
    // size, two u32 words that are skipped, u32 flags, u32 name length, scrambled name}. No
    // archive the game reads has such records. False for a record that runs past the end or a
    // name longer than kMaxNameLength; the position then stays.
    bool ReadEntryVariant(uint32_t& position, CprEntry& entry);

    // A suspended archive keeps its directory but no open file, so that the disc it lies on
    // is free for other use; reads return nothing until it is resumed.
    bool Suspend();
    bool Resume();

    static bool IsArchive(std::string_view path);

    // DAFile readers of this archive's members. The block buffers may be lent to a reader
    // only while it is the sole open one.
    int OpenFileCount() const { return openFileCount_; }
    void AddOpenFile() { ++openFileCount_; }
    void RemoveOpenFile() { --openFileCount_; }
    std::span<uint8_t> LentPackedBlock() { return {packedBlock_.get(), kPackedBlockBufferSize}; }
    std::span<uint8_t> LentExpandedBlock()
    {
        return {expandedBlock_.get(), kExpandedBlockBufferSize};
    }

private:
    bool ReadDirectory();
    bool ReadChunk(uint32_t& position);
    bool ReadEntry(uint32_t& position, CprEntry& entry);
    bool ReadEntryName(uint32_t& position, CprEntry& entry);
    bool ReadExactly(void* buffer, uint32_t position, uint32_t count);
    void SortNames();
    void Unmount();

    bool inMemory_ = false;
    std::vector<uint8_t> image_;
    int openFileCount_ = 0;
    std::string path_;
    // Kept from the first mount to destruction, so that a reader left open over a closed
    // archive never holds freed memory.
    std::unique_ptr<uint8_t[]> packedBlock_;
    std::unique_ptr<uint8_t[]> expandedBlock_;
    uint64_t suspendedPosition_ = 0;
    bool fileOpen_ = false;
    std::vector<CprChunk> chunks_;
    std::vector<CprEntry> entries_;  // directory order
    // Entry indices in name order (CompareNamesFromEnd), directory order among equal names.
    std::vector<uint32_t> nameOrder_;
    uint32_t length_ = 0;
    std::unique_ptr<files::File> file_;
};
