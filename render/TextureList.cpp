#include "render/TextureList.h"

#include <cassert>
#include <utility>

namespace render
{

TextureList::TextureList(TextureList&& other) noexcept
    : head_(std::exchange(other.head_, nullptr)),
      tail_(std::exchange(other.tail_, nullptr)),
      count_(std::exchange(other.count_, 0))
{
}

TextureList& TextureList::operator=(TextureList&& other) noexcept
{
    assert(Empty() && "the textures of a list that is overwritten would be lost");
    head_ = std::exchange(other.head_, nullptr);
    tail_ = std::exchange(other.tail_, nullptr);
    count_ = std::exchange(other.count_, 0);
    return *this;
}

void TextureList::Append(Texture* texture)
{
    texture->next = nullptr;
    texture->previous = tail_;
    (tail_ != nullptr ? tail_->next : head_) = texture;
    tail_ = texture;
    ++count_;
}

void TextureList::Remove(Texture* texture)
{
    assert(Contains(texture));
    (texture->previous != nullptr ? texture->previous->next : head_) = texture->next;
    (texture->next != nullptr ? texture->next->previous : tail_) = texture->previous;
    texture->next = nullptr;
    texture->previous = nullptr;
    --count_;
}

bool TextureList::Contains(const Texture* texture) const
{
    for (const Texture* member = head_; member != nullptr; member = member->next)
    {
        if (member == texture)
        {
            return true;
        }
    }
    return false;
}

}  // namespace render
