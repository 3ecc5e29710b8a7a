#pragma once

// Drawing an owner's gadgets over the active repaint list. Main thread only.

#include <span>

struct GadgetList;
struct Texture;

// Each visible gadget shows its normal picture, or its hover picture while the pointer is over
// it and it has one: the gadget's part of that picture sheet of the owner's table, drawn at
// the gadget with its drawing flag. A picture index outside the table draws nothing.
void DrawGadgetList(const GadgetList& owner, std::span<Texture* const> pictures);
