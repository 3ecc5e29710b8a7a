#pragma once

// Colour reduction by an octree of 8 levels: each level splits on one bit of red, green and
// blue (red highest, most significant bit first). Whenever a colour makes the tree hold more
// leaves than allowed, the newest inner node of the deepest level that has one absorbs its
// children and becomes a leaf.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace render
{

class ColourOctree
{
public:
    explicit ColourOctree(int maxLeaves);

    void Insert(uint8_t red, uint8_t green, uint8_t blue);
    // Numbers the leaves in tree order and writes their average colours as palette entries
    // {red, green, blue, 0}; entries past the last leaf stay as they are.
    void NumberLeaves(std::span<uint8_t, 1024> palette);
    // Palette index of the leaf an inserted colour reaches (after NumberLeaves).
    uint8_t IndexOf(uint8_t red, uint8_t green, uint8_t blue) const;

    int LeafCount() const { return leafCount_; }

private:
    static constexpr int kLevels = 8;
    static constexpr int32_t kNone = -1;

    struct Node
    {
        std::array<int32_t, 8> children;
        uint64_t count = 0;
        uint64_t red = 0;
        uint64_t green = 0;
        uint64_t blue = 0;
        bool leaf = false;
        uint8_t paletteIndex = 0;
    };

    static int ChildSlot(uint8_t red, uint8_t green, uint8_t blue, int level);
    int32_t NewNode(int level);
    void ReduceDeepest();

    int maxLeaves_;
    int leafCount_ = 0;
    std::vector<Node> nodes_;  // nodes_[0] is the root
    std::vector<int32_t> freeNodes_;
    // Inner nodes of each level that can still be reduced, the newest last.
    std::array<std::vector<int32_t>, kLevels> reducible_;
};

}  // namespace render
