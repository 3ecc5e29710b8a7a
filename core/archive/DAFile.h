#pragma once

// The one way game data is read: a member of a mounted archive, expanded block by block when
// it is packed, or a plain file on the disk when no archive is given. One open member per
// object; main thread only.
//
// Packed member (at the member's data offset, little-endian): u32 unpacked size U, u32 block
// count B = ceil(U / 0x20000), B x u32 packed block sizes, then the B blocks. Every block but
// the last expands to exactly 0x20000 bytes.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/files/FileSystem.h"

class CprArchive;

class DAFile
{
public:
    static constexpr size_t kMaxNameLength = 511;
    // A block of 0x20000 bytes stored as it is, with its header.
    static constexpr uint32_t kMaxPackedBlockSize = 0x20004;

    enum SeekOrigin
    {
        kFromBegin = 0,
        kFromCurrent = 1,
        kFromEnd = 2,
    };

    // Reads members of an archive mounted elsewhere; without one, plain files.
    explicit DAFile(CprArchive* archive = nullptr);
    // Mounts the archive itself (not into memory); when that fails, reads plain files.
    explicit DAFile(std::string_view archivePath);
    virtual ~DAFile();
    DAFile(const DAFile&) = delete;
    DAFile& operator=(const DAFile&) = delete;

    // Names take '\' as '/' and ignore case. With an archive, a member that is missing or
    // malformed is reported in a message box. mode is the sharing mode of the system the data
    // was made on; reading is all a DAFile does, so it changes nothing here.
    bool Open(std::string_view name, uint32_t mode = 0);
    uint32_t Read(void* buffer, uint32_t count);  // fewer at the end, or when a block is bad
    // The bytes from the position to the end; nothing when not open or a read comes short.
    std::optional<std::vector<uint8_t>> ReadAll();
    // New position, -1 for a bad origin or a target outside [0, length]; 0 when not open.
    int32_t Seek(int32_t offset, int origin);
    int32_t GetLength() const;    // -1 when not open
    int32_t GetPosition() const;  // -1 when not open
    bool Exists(std::string_view name) const;
    void Close();

private:
    bool OpenMember(std::string_view name);
    bool ReadBlockTable();
    void TakeBlockBuffers();
    uint32_t ReadStored(uint8_t* buffer, uint32_t count);
    uint32_t ReadPacked(uint8_t* buffer, uint32_t count);
    bool ExpandBlock(uint32_t block, std::span<uint8_t> destination);
    uint32_t ExpandedBlockLength(uint32_t block) const;

    CprArchive* archive_ = nullptr;
    std::unique_ptr<CprArchive> ownedArchive_;
    files::File plainFile_;

    bool open_ = false;
    std::string name_;  // as looked up, forward slashes
    uint32_t dataOffset_ = 0;
    uint32_t storedSize_ = 0;
    uint32_t size_ = 0;  // unpacked size of a packed member
    uint32_t position_ = 0;
    bool packed_ = false;

    // Packed members only: offsets of the blocks from the data start, and one past the last.
    uint32_t dataStart_ = 0;
    std::vector<uint32_t> blockOffsets_;
    int32_t cachedBlock_ = -1;  // the block the expanded-block buffer holds
    std::span<uint8_t> packedBlock_;
    std::span<uint8_t> expandedBlock_;
    std::unique_ptr<uint8_t[]> ownBlockBuffers_;
};

// The whole member (or plain file) of that name, read by a DAFile on the archive; nothing, and
// no message, when it does not exist or cannot be read whole. For data whose absence the game
// takes in its stride.
std::optional<std::vector<uint8_t>> ReadWholeIfPresent(CprArchive* archive, std::string_view name);

// Screens mark a lengthy load with it (1 before, 0 after); reading needs no such hint here.
inline void SetLoadingHint(int /*on*/) {}
