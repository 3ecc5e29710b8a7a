#pragma once

// An object with nothing but a virtual destructor, which the game window holds as a member.

class EmptyVirtualObject
{
public:
    EmptyVirtualObject() = default;
    virtual ~EmptyVirtualObject() = default;
    EmptyVirtualObject(const EmptyVirtualObject&) = delete;
    EmptyVirtualObject& operator=(const EmptyVirtualObject&) = delete;
};
