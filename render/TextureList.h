#pragma once

// A list of textures linked through their own next and previous fields, in the order they
// were added. The list does not own them.

#include <cstdint>

#include "render/RenderApi.h"

namespace render
{

class TextureList
{
public:
    TextureList() = default;
    TextureList(TextureList&& other) noexcept;
    TextureList& operator=(TextureList&& other) noexcept;
    TextureList(const TextureList&) = delete;
    TextureList& operator=(const TextureList&) = delete;

    void Append(Texture* texture);
    void Remove(Texture* texture);  // the texture must be in the list
    bool Contains(const Texture* texture) const;

    Texture* Head() const { return head_; }
    int32_t Count() const { return count_; }
    bool Empty() const { return count_ == 0; }

private:
    Texture* head_ = nullptr;
    Texture* tail_ = nullptr;
    int32_t count_ = 0;
};

}  // namespace render
