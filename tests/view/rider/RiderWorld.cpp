#include "tests/view/rider/RiderWorld.h"

#include "app/archive/ArchiveSet.h"
#include "core/files/FileSystem.h"
#include "core/world/WorldObject.h"
#include "kit/motion/DemoMotions.h"
#include "render/RenderApi.h"
#include "view/rider/RiderNodes.h"

RiderWorldTest::RiderWorldTest()
{
    world_.BindEngine({&vecdll_init, &vecdll_SetVectorVars, &vecdll_Draw, &vecdll_recalc_matrix,
                       &vecdll_collrotateall});
    root_ = world_.CreateWorld(1u << 20);
    sharedFigure_ = world_.AttachNewObject(root_, 0.0f, 0.0f, 0.0f, kAttachChild, 1000.0f);
}

RiderWorldTest::~RiderWorldTest()
{
    g_archiveMenu = nullptr;
    world_.FreeWorld();
}

void RiderWorldTest::MountDemoMotions()
{
    kit::CprWriter writer;
    std::string error;
    ASSERT_TRUE(kit::AddDemoMotions(writer, error)) << error;
    ASSERT_TRUE(files::ReplaceAtomically("menu.cpr", writer.Build()));
    ASSERT_TRUE(menuArchive_.Open("menu.cpr", true));
    g_archiveMenu = &menuArchive_;
}

void RiderWorldTest::BuildRider(uint32_t rider, float x, float z)
{
    BikeRecord& bike = bikes_[rider];
    RiderObjectLinks& links = bike.links;
    const auto attach = [this](WorldObject* parent, float y)
    { return world_.AttachNewObject(parent, 0.0f, y, 0.0f, kAttachChild, 3.0f); };
    WorldObject* bikeRoot = world_.AttachNewObject(root_, x, 0.0f, z, kAttachChild, 3.0f);
    WorldObject* bikePart = attach(bikeRoot, 0.3f);
    WorldObject* bikeBody = attach(bikePart, 0.0f);
    WorldObject* seat = attach(bikeBody, 0.9f);
    links.bikeRoot.set(bikeRoot);
    links.bikePart.set(bikePart);
    links.bikeBody.set(bikeBody);
    links.seat.set(seat);
    bike.positionX = x;
    bike.positionZ = z;

    // Attached last to first, so that each list holds its nodes in the order given.
    WorldObject* hip = attach(seat, 0.7f);
    links.hip.set(hip);
    const auto chain = [&](std::initializer_list<int32_t> parts, WorldObject* parent)
    {
        for (const int32_t part : parts)
        {
            parent = attach(parent, 0.2f);
            BodyPartLink(links, part).set(parent);
        }
    };
    // The hip's children come out as torso, left leg, right leg, helmet, left arm, right arm;
    // each limb a chain from the hip outwards.
    chain({7, 9, 11}, hip);
    chain({6, 8, 10}, hip);
    chain({12}, hip);
    chain({3, 5}, hip);
    chain({2, 4}, hip);
    chain({1}, hip);
    for (int32_t part = 0; part < 13; ++part)
    {
        Part(rider, part)->userValue = kPartCodes[part];
    }
}

WorldObject* RiderWorldTest::Part(uint32_t rider, int32_t part)
{
    return BodyPartNode(bikes_[rider].links, part);
}
