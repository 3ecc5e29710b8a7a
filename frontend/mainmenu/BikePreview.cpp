#include "frontend/mainmenu/BikePreview.h"

#include <algorithm>
#include <cstdio>

#include "app/device/RenderDevice.h"
#include "app/game/RiderLiveries.h"
#include "core/archive/CprArchive.h"
#include "core/world/SceneLinks.h"
#include "core/world/WorldObject.h"

namespace
{
constexpr uint16_t kCreationFlags = 0x185;
constexpr uint16_t kHiddenBit = object_flags::kNoOwnPolygons;
constexpr float kFirstAngle = -0.32f;
// Where the machine stands in front of the camera: right of the portrait, level with it.
constexpr float kPlaceX = 3.4f;
constexpr float kPlaceY = -0.1f;
constexpr float kPlaceZ = 9.0f;

enum class PictureKind
{
    StartNumber,  // "nummern/<class digit><number>nummer<part>"
    Paint,        // "<class digit><paint>bike/<class digit><paint><part>"
    Common,       // "alle/001<part>"
    Wheel,        // "alle/0<wheel><part>"
};

struct SlotPicture
{
    int32_t slot;
    PictureKind kind;
    const char* part;
};

constexpr SlotPicture kSlotPictures[] = {
    {2, PictureKind::StartNumber, "s.bmp"},  {11, PictureKind::StartNumber, "v.bmp"},
    {7, PictureKind::Paint, "bodyl.bmp"},    {16, PictureKind::Paint, "bodyl.bmp"},
    {9, PictureKind::Paint, "heck.bmp"},     {14, PictureKind::Paint, "sitz.bmp"},
    {1, PictureKind::Common, "scheibe.TGA"}, {3, PictureKind::Common, "dark.bmp"},
    {4, PictureKind::Common, "schwi.TGA"},   {5, PictureKind::Common, "auspe.TGA"},
    {6, PictureKind::Common, "auspu.BMP"},   {12, PictureKind::Common, "blech.bmp"},
    {13, PictureKind::Common, "cockp.bmp"},  {15, PictureKind::Common, "reife.bmp"},
    {17, PictureKind::Common, "gabel.bmp"},  {8, PictureKind::Wheel, "hrad.TGA"},
    {10, PictureKind::Wheel, "vrad.TGA"},    {19, PictureKind::Wheel, "felge.bmp"},
};
constexpr int32_t kLacquerSlot = 18;
constexpr const char* kLacquerPicture = "MainMenu/001lack1.tga";
}  // namespace

bool BikePreview::Load(WorldObject* camera, CprArchive& menuArchive)
{
    node_ = nullptr;
    shown_ = false;
    slotLoaded_ = {};
    // A missing model is no error the player needs to hear of: the page shows no machine.
    if (camera == nullptr || menuArchive.FindEntry(kModel) == nullptr)
    {
        return false;
    }
    WorldObject* model = g_renderDevice.LoadObjectFrom(kModel, 0, 10000.0, &menuArchive);
    if (model == nullptr)
    {
        return false;
    }
    node_ = g_renderDevice.AttachObject(model, camera, kPlaceX, kPlaceY, kPlaceZ, kAttachChild,
                                        10000.0f);
    if (node_ != nullptr)
    {
        node_->flags |= kCreationFlags;
        // Seen a little from above, turned a little away at first.
        node_->angles[0] = kRiderPageTilt;
        node_->angles[1] = kFirstAngle;
    }
    return node_ != nullptr;
}

void BikePreview::Dress(uint32_t bikeClass, uint32_t rider)
{
    if (node_ == nullptr)
    {
        return;
    }
    // Records beyond the tables (a damaged settings file) fall back to the last one.
    const size_t classIndex = std::min<size_t>(bikeClass, kLiveryClassCount - 1);
    const RiderLivery& livery =
        g_riderLiveries[classIndex][std::min<size_t>(rider, kLiveriesPerClass - 1)];
    static constexpr const char* kFolders[] = {"125er", "250er", "500er"};
    const char* folder = kFolders[classIndex];
    const char digit = folder[0];
    const unsigned number = livery.startNumber % 100;
    const unsigned paint = (livery.paintDesign + 1) % 100;
    const unsigned wheel = (livery.wheelDesign + 1) % 100;
    const auto load = [this](int32_t slot, const char* name)
    {
        bool& loaded = slotLoaded_[static_cast<size_t>(slot)];
        loaded = (loaded ? g_renderDevice.ReLoadTexture(name, slot, 0, 0)
                         : g_renderDevice.LoadTexture(name, slot, 0, 0)) != nullptr;
    };
    for (const SlotPicture& picture : kSlotPictures)
    {
        char name[64];
        switch (picture.kind)
        {
            case PictureKind::StartNumber:
                std::snprintf(name, sizeof(name), "%s/nummern/%c%.2unummer%s", folder, digit,
                              number, picture.part);
                break;
            case PictureKind::Paint:
                std::snprintf(name, sizeof(name), "%s/%c%.2ubike/%c%.2u%s", folder, digit, paint,
                              digit, paint, picture.part);
                break;
            case PictureKind::Common:
                std::snprintf(name, sizeof(name), "%s/alle/001%s", folder, picture.part);
                break;
            case PictureKind::Wheel:
                std::snprintf(name, sizeof(name), "%s/alle/0%.2u%s", folder, wheel, picture.part);
                break;
        }
        load(picture.slot, name);
    }
    if (!slotLoaded_[kLacquerSlot])
    {
        load(kLacquerSlot, kLacquerPicture);
    }
}

void BikePreview::Show(bool shown)
{
    shown_ = shown && node_ != nullptr;
    if (node_ != nullptr)
    {
        node_->flags =
            static_cast<uint16_t>(shown_ ? node_->flags & ~kHiddenBit : node_->flags | kHiddenBit);
    }
}

void BikePreview::Turn(float seconds)
{
    if (shown_)
    {
        node_->angles[1] += seconds;
    }
}
