#include "frontend/MenuResources.h"

bool HasMenuFlag()
{
    return false;
}

void DestroyMenuFlag() {}
