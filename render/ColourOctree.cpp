#include "render/ColourOctree.h"

#include <cassert>
#include <cstddef>

namespace render
{

ColourOctree::ColourOctree(int maxLeaves) : maxLeaves_(maxLeaves)
{
    NewNode(0);
}

int ColourOctree::ChildSlot(uint8_t red, uint8_t green, uint8_t blue, int level)
{
    const int bit = 7 - level;
    return ((red >> bit) & 1) << 2 | ((green >> bit) & 1) << 1 | ((blue >> bit) & 1);
}

int32_t ColourOctree::NewNode(int level)
{
    int32_t index = 0;
    if (freeNodes_.empty())
    {
        index = static_cast<int32_t>(nodes_.size());
        nodes_.emplace_back();
    }
    else
    {
        index = freeNodes_.back();
        freeNodes_.pop_back();
        nodes_[index] = Node{};
    }
    Node& node = nodes_[index];
    node.children.fill(kNone);
    node.leaf = level == kLevels;
    if (node.leaf)
    {
        ++leafCount_;
    }
    else
    {
        reducible_[level].push_back(index);
    }
    return index;
}

void ColourOctree::Insert(uint8_t red, uint8_t green, uint8_t blue)
{
    int32_t index = 0;
    for (int level = 0; !nodes_[index].leaf; ++level)
    {
        const int slot = ChildSlot(red, green, blue, level);
        if (nodes_[index].children[slot] == kNone)
        {
            const int32_t child = NewNode(level + 1);
            nodes_[index].children[slot] = child;
        }
        index = nodes_[index].children[slot];
    }
    Node& leaf = nodes_[index];
    ++leaf.count;
    leaf.red += red;
    leaf.green += green;
    leaf.blue += blue;
    while (leafCount_ > maxLeaves_)
    {
        ReduceDeepest();
    }
}

void ColourOctree::ReduceDeepest()
{
    int level = kLevels - 1;
    while (level > 0 && reducible_[level].empty())
    {
        --level;
    }
    assert(!reducible_[level].empty());
    const int32_t index = reducible_[level].back();
    reducible_[level].pop_back();
    // Every node below the deepest reducible level is a leaf, so the children are leaves.
    int merged = 0;
    for (int32_t& child : nodes_[index].children)
    {
        if (child == kNone)
        {
            continue;
        }
        Node& node = nodes_[index];
        const Node& absorbed = nodes_[child];
        node.count += absorbed.count;
        node.red += absorbed.red;
        node.green += absorbed.green;
        node.blue += absorbed.blue;
        freeNodes_.push_back(child);
        child = kNone;
        ++merged;
    }
    nodes_[index].leaf = true;
    leafCount_ -= merged - 1;
}

void ColourOctree::NumberLeaves(std::span<uint8_t, 1024> palette)
{
    uint8_t next = 0;
    std::vector<int32_t> pending{0};
    while (!pending.empty())
    {
        Node& node = nodes_[pending.back()];
        pending.pop_back();
        if (node.leaf)
        {
            node.paletteIndex = next;
            if (node.count > 0)
            {
                uint8_t* entry = palette.data() + 4 * static_cast<size_t>(next);
                entry[0] = static_cast<uint8_t>(node.red / node.count);
                entry[1] = static_cast<uint8_t>(node.green / node.count);
                entry[2] = static_cast<uint8_t>(node.blue / node.count);
                entry[3] = 0;
            }
            ++next;
            continue;
        }
        // Children pushed last first, so that they are visited in slot order.
        for (int slot = 7; slot >= 0; --slot)
        {
            if (node.children[slot] != kNone)
            {
                pending.push_back(node.children[slot]);
            }
        }
    }
}

uint8_t ColourOctree::IndexOf(uint8_t red, uint8_t green, uint8_t blue) const
{
    int32_t index = 0;
    for (int level = 0; !nodes_[index].leaf; ++level)
    {
        index = nodes_[index].children[ChildSlot(red, green, blue, level)];
        assert(index != kNone && "colour was never inserted");
    }
    return nodes_[index].paletteIndex;
}

}  // namespace render
