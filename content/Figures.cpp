#include "content/Figures.h"

#include "app/device/RenderDevice.h"
#include "content/LoadSession.h"
#include "core/world/SceneLinks.h"
#include "core/world/WorldObject.h"

namespace content
{
namespace
{
constexpr float kPartRadius = 2.0f;
}  // namespace

void AttachFigure(LoadSession& session, const FigureNodes& parts, WorldObject* hipParent)
{
    for (const FigureJoint& joint : FigureJoints())
    {
        WorldObject* parent = joint.part == kHip ? hipParent : parts[joint.parent];
        if (parent != nullptr)
        {
            session.device.AttachObject(parts[joint.part], parent, joint.offset.x, joint.offset.y,
                                        joint.offset.z, kAttachChild, kPartRadius);
        }
    }
}

bool CloneFigure(LoadSession& session, const FigureNodes& source, FigureNodes& clones)
{
    for (uint32_t part = 0; part < kFigureParts; ++part)
    {
        clones[part] = session.Clone(*source[part]);
        if (clones[part] == nullptr)
        {
            return false;
        }
    }
    return true;
}
}  // namespace content
