// The race loader's own tables and its ground work under any index they may meet: circuit
// names, weathers, classes, details, make slots, liveries and cockpit records from the input,
// then a racing line whose counts, links, positions and start slots come from the input, run
// through the ground pass, the crash figures' places and a machine set on the ground.
//
// Input: 24 bytes of table choices and the circuit name's length, the name, then the racing
// line (u16 node count, u16 linked count, u16 start-slot count, u16 practice offset; per node
// f32 x, f32 z, u16 next, u16 previous; the slots' nodes as u16) as far as it goes.

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "content/CircuitTable.h"
#include "content/EffectTables.h"
#include "content/FieldTables.h"
#include "content/GroundPass.h"
#include "race/BikeRecord.h"
#include "race/RacingLine.h"
#include "tests/race/ground/GridGround.h"

namespace
{
class Reader
{
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    template <class T>
    T Next()
    {
        T value{};
        if (position_ + sizeof(T) <= size_)
        {
            std::memcpy(&value, data_ + position_, sizeof(T));
        }
        position_ += sizeof(T);
        return value;
    }
    std::string_view Text(size_t length)
    {
        const size_t start = std::min(position_, size_);
        const size_t taken = std::min(length, size_ - start);
        position_ += length;
        return {reinterpret_cast<const char*>(data_ + start), taken};
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

void ExerciseTables(Reader& in)
{
    const auto weather = static_cast<Weather>(in.Next<uint32_t>());
    const auto bikeClass = static_cast<BikeClass>(in.Next<uint32_t>());
    const uint32_t detail = in.Next<uint32_t>();
    const uint32_t slot = in.Next<uint32_t>();
    const content::LiveryNumbers livery{in.Next<uint32_t>(), in.Next<uint8_t>(),
                                        in.Next<uint8_t>()};
    const uint8_t length = in.Next<uint8_t>();
    const content::CircuitRow* named = content::FindCircuit(in.Text(length));
    const content::CircuitRow& row =
        named != nullptr ? *named : content::Circuits()[slot % content::Circuits().size()];
    content::SkyModelName(row, weather);
    content::TrackModelName(row, weather);
    content::TrackAlphaModelName(row, weather);
    content::TrackTextureSetName(row, weather);
    content::FogOf(row, weather);
    content::SunOffsetOf(row, weather, (slot & 1) != 0);
    content::MakeSurfaceTuning(row, weather, 1.0f);
    content::DustTextureNames(static_cast<uint16_t>(detail));
    content::IdealLineModelName(row, bikeClass);
    content::RearWheelLevels(bikeClass, slot, detail);
    content::FrontWheelLevels(bikeClass, slot, detail);
    content::BodyLevels(bikeClass, slot, detail);
    content::CockpitModel(bikeClass, slot);
    content::FigureFirstLevel(static_cast<content::FigurePart>(slot), detail);
    content::FigureFurtherLevels(static_cast<content::FigurePart>(slot), detail);
    content::CockpitOf(bikeClass, slot);
    content::LiveryTextureList(static_cast<content::PaintedNode>(slot % 10), livery);
    content::MarshalTextureList(static_cast<content::FigurePart>(slot), detail);
}

void ReadLine(Reader& in, RacingLine& line)
{
    line.nodeCount = in.Next<uint16_t>();
    line.pitLaneEndNode = in.Next<uint16_t>();
    line.startSlots.count = in.Next<uint16_t>();
    line.startSlots.firstPracticeSlot = in.Next<uint16_t>();
    const uint32_t given = std::min<uint32_t>(line.nodeCount, RacingLine::kMaxNodes);
    for (uint32_t node = 0; node < given; ++node)
    {
        line.nodes[node].x = in.Next<float>();
        line.nodes[node].z = in.Next<float>();
        line.nodes[node].next = in.Next<uint16_t>();
        line.nodes[node].previous = in.Next<uint16_t>();
    }
    for (uint16_t& node : line.startSlots.node)
    {
        node = in.Next<uint16_t>();
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const BoundGround ground(GridSpec{8, 8, 10.0f, -40.0f, -40.0f, 4, 0.05f});
    if (size > (1u << 16))
    {
        return 0;
    }
    Reader in(data, size);
    ExerciseTables(in);
    auto line = std::make_unique<RacingLine>();
    ReadLine(in, *line);
    std::vector<uint8_t> surfaces;
    content::RunRacingLineGroundPass(*line, ground.Mesh(), surfaces);
    for (uint32_t figure = 0; figure < content::kCrashFigures; ++figure)
    {
        content::CrashFigurePlaceOf(*line, figure);
    }
    auto bike = std::make_unique<BikeRecord>();
    bike->positionX = line->nodes[0].x;
    bike->positionZ = line->nodes[0].z;
    bike->heading = line->nodes[1].x;
    bike->setup.frontWheelBase = line->nodes[1].z;
    bike->setup.rearWheelBase = line->nodes[2].x;
    bike->aiLineNode = line->nodes[0].next;
    content::PlaceOnGround(*bike, ground.Mesh(), *line);
    return 0;
}
