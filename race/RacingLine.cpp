#include "race/RacingLine.h"

uint32_t RacingLine::CanonicalNode(uint32_t node) const
{
    if (node >= nodeCount)
    {
        return node;
    }
    while (nodes[node].sideLink1 < linkLimit && nodes[node].sideLink1 < node)
    {
        node = nodes[node].sideLink1;
    }
    while (nodes[node].sideLink0 < linkLimit && nodes[node].sideLink0 < node)
    {
        node = nodes[node].sideLink0;
    }
    return node;
}
