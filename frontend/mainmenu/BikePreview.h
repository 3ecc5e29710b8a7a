#pragma once

// The turning machine on the rider page, dressed in the chosen rider's livery: one model of
// the menu archive hung under the camera of the menu flag's world, its pictures in the render
// library's texture slots 1 to 19. Without the model the page shows no machine.
// Main thread only.

#include <array>
#include <cstddef>
#include <cstdint>

class CprArchive;
struct WorldObject;

class BikePreview
{
public:
    static constexpr const char* kModel = "501_motokompl.4do";
    static constexpr float kRiderPageTilt = 0.1f;
    // The rectangle the machine turns in, repainted every frame while it shows.
    static constexpr int32_t kLeft = 450;
    static constexpr int32_t kTop = 141;
    static constexpr int32_t kRight = 640;
    static constexpr int32_t kBottom = 258;

    // Hangs the model under the camera node, hidden; false when there is no model.
    bool Load(WorldObject* camera, CprArchive& menuArchive);
    // The world the model lived in is gone.
    void Forget() { node_ = nullptr; }
    bool Loaded() const { return node_ != nullptr; }

    // The machine pictures of the rider (0-based) of the class: start number, paint and
    // wheels from the rider's livery record.
    void Dress(uint32_t bikeClass, uint32_t rider);
    void Show(bool shown);
    bool Shown() const { return shown_; }
    // Turns a shown machine on by that many seconds' worth.
    void Turn(float seconds);

private:
    static constexpr size_t kSlots = 20;

    WorldObject* node_ = nullptr;
    bool shown_ = false;
    std::array<bool, kSlots> slotLoaded_{};
};
