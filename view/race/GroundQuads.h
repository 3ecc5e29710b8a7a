#pragma once

// The machines' shadows lean with the bikes: each shadow's left corners (vertices 0 and 2) and
// right corners (vertices 4 and 5) move sideways by half the sine of the bike's bank. A corner
// the shadow's model lacks is left alone. Main thread, once per drawn frame.

#include <span>

struct BikeRecord;

void UpdateGroundQuads(std::span<const BikeRecord> bikes);
