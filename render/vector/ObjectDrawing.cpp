// Drawing one object: its level of detail, its render states, the objects placed into its BSP
// tree, the tree itself back to front, and then its sub-objects and follow-on objects.

#include <bit>

#include "render/vector/NodeTransform.h"
#include "render/vector/PrimitiveBackEnd.h"
#include "render/vector/SortTree.h"
#include "render/vector/VectorEngine.h"

namespace render::vector
{
namespace
{
constexpr uint32_t kFirstNestedKind = 12;
constexpr float kPlacementLift = 0.5f;

// Never-negative floats compare as the integers of their bit patterns.
bool KeyNotBelow(float limit, float key)
{
    return std::bit_cast<int32_t>(limit) >= std::bit_cast<int32_t>(key);
}

float PlaneValue(const Plane& plane, const Vector3& point)
{
    return Dot(plane.normal, point) + plane.d;
}

// Puts the node at the end of the polygon list of the BSP node its lifted placement falls
// into; false when the tree has no list there to take it.
bool AppendToTree(WorldObject& node, const BspNode* bsp)
{
    const Vector3 point = {node.placement.x, node.placement.y + kPlacementLift, node.placement.z};
    while (bsp != nullptr && bsp->firstPolygon)
    {
        const BspNode* child = PlaneValue(bsp->firstPolygon->plane, point) < 0.0f
                                   ? bsp->negativeChild.get()
                                   : bsp->positiveChild.get();
        if (child == nullptr)
        {
            break;
        }
        bsp = child;
    }
    if (bsp == nullptr || !bsp->firstPolygon)
    {
        return false;
    }
    PolygonListEntry* last = &bsp->firstPolygon->entry;
    while (last->next)
    {
        last = last->next.get();
    }
    last->next.set(&node.entry);
    node.polygonListPrevious.set(last);
    node.entry.next.reset();
    node.mark = 1;
    return true;
}

// Takes every placed node of the list, and of their children, out of the lists again.
void RemovePlaced(WorldObject* first)
{
    for (WorldObject* node = first; node != nullptr; node = node->nextSibling.get())
    {
        if (node->mark != 0)
        {
            PolygonListEntry* previous = node->polygonListPrevious.get();
            previous->next = node->entry.next;
            if (node->entry.next)
            {
                NodeOfEntry(node->entry.next.get())->polygonListPrevious.set(previous);
            }
            node->entry.next.reset();
            node->polygonListPrevious.reset();
            node->mark = 0;
        }
        RemovePlaced(node->firstChild.get());
    }
}

bool SphereInside(const ObjectContext& context, const BspNode& node)
{
    for (const Plane& plane : context.objectPlanes)
    {
        if (PlaneValue(plane, node.centre) + node.radius <= 0.0f)
        {
            return false;
        }
    }
    return true;
}

// Sets back the board states the flags select where they differ between two objects.
void RestoreStates(const GlidePrimitiveTable& table, uint16_t wanted, uint16_t current,
                   const WorldObject& object)
{
    const uint16_t changed = wanted ^ current;
    if ((changed & object_flags::kDepthTestOff) != 0)
    {
        ((wanted & object_flags::kDepthTestOff) != 0 ? table.depthTestOff : table.depthTestOn)();
    }
    if ((changed & object_flags::kDepthWriteOff) != 0)
    {
        ((wanted & object_flags::kDepthWriteOff) != 0 ? table.depthWriteOff : table.depthWriteOn)();
    }
    if ((changed & object_flags::kConstantColour) != 0)
    {
        if ((wanted & object_flags::kConstantColour) != 0)
        {
            table.colourObject(object);
        }
        else
        {
            table.colourOpaque();
        }
    }
    if ((changed & object_flags::kPointSampled) != 0)
    {
        ((wanted & object_flags::kPointSampled) != 0 ? table.filterPoint : table.filterBilinear)();
    }
}
}  // namespace

void VectorEngine::DrawObject(WorldObject& object)
{
    for (WorldObject* next = &object; next != nullptr; next = next->followOn.get())
    {
        DrawOne(*next);
    }
}

const LevelOfDetail* VectorEngine::ChooseLevel(const WorldObject& object) const
{
    if (object.firstLevel.maxDistanceKey == 0.0f)
    {
        return nullptr;
    }
    for (const LevelOfDetail* level = &object.firstLevel; level != nullptr;
         level = level->next.get())
    {
        if (KeyNotBelow(level->maxDistanceKey, object.distanceKey))
        {
            return level;
        }
    }
    return nullptr;
}

void VectorEngine::DrawOne(WorldObject& object)
{
    const GlidePrimitiveTable& table = PrimitiveTable();
    ObjectContext context;
    context.object = &object;
    context.flags = object.flags;
    context.stamp = RaiseStamp();
    if (object.fogTable)
    {
        table.setFog(object);
    }
    ((object.flags & object_flags::kPointSampled) != 0 ? table.filterPoint
                                                       : table.filterBilinear)();
    ((object.flags & object_flags::kAlternatePrimitive) != 0 ? table.alternateNop
                                                             : table.primaryNop)();

    if (const LevelOfDetail* level = ChooseLevel(object))
    {
        context.vertices = level->vertices.get();
        context.normals = level->normals.get();
        context.eye = ApplyTransposed(object.matrix, object.viewTranslation);
        context.eye = {-context.eye.x, -context.eye.y, -context.eye.z};
        if ((object.flags & object_flags::kClipTested) != 0)
        {
            for (size_t i = 0; i < view_.clipPlanes.size(); ++i)
            {
                const Plane& plane = view_.clipPlanes[i];
                context.objectPlanes[i] = {ApplyTransposed(object.matrix, plane.normal),
                                           PlaneValue(plane, object.viewTranslation)};
            }
        }
        PlaceBspObjects(object.firstBspObject.get(), object, *level);
        if ((object.flags & object_flags::kNoOwnPolygons) == 0)
        {
            ((object.flags & object_flags::kDepthTestOff) != 0 ? table.depthTestOff
                                                               : table.depthTestOn)();
            ((object.flags & object_flags::kDepthWriteOff) != 0 ? table.depthWriteOff
                                                                : table.depthWriteOn)();
            if ((object.flags & object_flags::kConstantColour) != 0)
            {
                table.colourObject(object);
            }
            DrawBsp(context, level->bspRoot.get());
            if ((object.flags & object_flags::kConstantColour) != 0)
            {
                table.colourOpaque();
            }
        }
        RemovePlaced(object.firstBspObject.get());
    }

    // Sub-objects come after the object, in an order of their own.
    SortTree subObjects;
    WalkForDraw(object.firstSubObject.get(), object, subObjects, 0);
}

void VectorEngine::PlaceBspObjects(WorldObject* first, const WorldObject& parent,
                                   const LevelOfDetail& level)
{
    for (WorldObject* node = first; node != nullptr; node = node->nextSibling.get())
    {
        TransformNode(*node, parent, cameraHeading_);
        if (TestSpheres(*node) && node->mark == 0)
        {
            node->distanceKey = DistanceKey(*node);
            AppendToTree(*node, level.bspRoot.get());
        }
        PlaceBspObjects(node->firstChild.get(), *node, level);
    }
}

void VectorEngine::DrawBsp(ObjectContext& context, const BspNode* root)
{
    const float limit = context.object->distanceLimit;
    context.farDistance = view_.farDistance;
    context.inverseFar = view_.inverseFar;
    if (limit > 0.0f && limit < view_.farDistance)
    {
        context.farDistance = limit;
        context.inverseFar = 1.0f / limit;
    }
    if (root == nullptr)
    {
        return;
    }
    const bool clipped = (context.flags & object_flags::kClipTested) != 0;
    const size_t base = bspStack_.size();
    bspStack_.push_back({root, nullptr});
    while (bspStack_.size() > base)
    {
        const BspTask task = bspStack_.back();
        bspStack_.pop_back();
        if (task.node == nullptr)
        {
            DrawPolygonList(context, task.list);
            continue;
        }
        const BspNode& node = *task.node;
        if (clipped && node.radius > 0.0f && !SphereInside(context, node))
        {
            continue;
        }
        PolygonRecord* first = node.firstPolygon.get();
        const bool eyeInFront = first == nullptr || PlaneValue(first->plane, context.eye) >= 0.0f;
        // Pushed in reverse: the far side, the node's list, the near side. Seen from behind,
        // the splitting polygon itself is left out.
        const BspNode* nearSide = eyeInFront ? node.positiveChild.get() : node.negativeChild.get();
        const BspNode* farSide = eyeInFront ? node.negativeChild.get() : node.positiveChild.get();
        PolygonListEntry* list = first == nullptr ? nullptr
                                 : eyeInFront     ? &first->entry
                                                  : first->entry.next.get();
        if (nearSide != nullptr)
        {
            bspStack_.push_back({nearSide, nullptr});
        }
        if (list != nullptr)
        {
            bspStack_.push_back({nullptr, list});
        }
        if (farSide != nullptr)
        {
            bspStack_.push_back({farSide, nullptr});
        }
    }
}

void VectorEngine::DrawPolygonList(ObjectContext& context, PolygonListEntry* entry)
{
    for (; entry != nullptr; entry = entry->next.get())
    {
        if (entry->kind >= kFirstNestedKind)
        {
            if (entry->kind == kPolygonNestedObject)
            {
                DrawNested(context, *NodeOfEntry(entry));
            }
            continue;
        }
        const PolygonRecord& polygon = *PolygonOfEntry(entry);
        // Back faces are dropped before any vertex work.
        if (PlaneValue(polygon.plane, context.eye) < 0.0f)
        {
            continue;
        }
        if (entry->kind == kPolygonTextured)
        {
            DrawTexturedPolygon(context, polygon);
        }
        else if (entry->kind == kPolygonEnvironmentMapped)
        {
            DrawEnvironmentPolygon(context, polygon);
        }
    }
}

void VectorEngine::DrawNested(ObjectContext& context, WorldObject& nested)
{
    DrawObject(nested);
    RestoreStates(PrimitiveTable(), context.flags, nested.flags, *context.object);
    // The nested object filled cache entries of its own: a fresh stamp makes the owner
    // compute its vertices again.
    context.stamp = RaiseStamp();
}
}  // namespace render::vector
