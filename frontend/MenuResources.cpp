#include "frontend/MenuResources.h"

void FreeMenuBackground() {}

bool HasMenuFlag()
{
    return false;
}

void DestroyMenuFlag() {}

void CircuitInfoScreen::Close() {}
