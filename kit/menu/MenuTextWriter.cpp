#include "kit/menu/MenuTextWriter.h"

#include <optional>
#include <string_view>

namespace kit
{
namespace
{
constexpr std::string_view kLineEnd = "\r\n";
// What the game's reader takes as the break between the Grand Prix name's two lines.
constexpr std::string_view kNameBreak = "\\n";

class TextFile
{
public:
    TextFile(std::vector<uint8_t>& file, std::string& error) : file_(file), error_(error) {}

    void Number(int32_t number) { Line(std::to_string(number)); }

    void Line(std::string_view text)
    {
        if (!ok_)
        {
            return;
        }
        if (text.empty() || text.find_first_of(std::string_view("\r\n\0", 3)) != text.npos)
        {
            error_ = "menu text \"" + std::string(text) +
                     "\" is empty or holds a line end, which the game cannot read back";
            ok_ = false;
            return;
        }
        file_.insert(file_.end(), text.begin(), text.end());
        file_.insert(file_.end(), kLineEnd.begin(), kLineEnd.end());
    }

    bool Ok() const { return ok_; }

private:
    std::vector<uint8_t>& file_;
    std::string& error_;
    bool ok_ = true;
};

// Nothing when the first line holds the break itself.
std::optional<std::string> GrandPrixLine(const CircuitText& circuit)
{
    if (circuit.grandPrixName.find(kNameBreak) != std::string::npos)
    {
        return std::nullopt;
    }
    if (circuit.grandPrixSecondLine.empty())
    {
        return circuit.grandPrixName;
    }
    return circuit.grandPrixName + std::string(kNameBreak) + circuit.grandPrixSecondLine;
}

std::string ClimateLine(const CircuitClimate& climate)
{
    std::string line;
    for (const uint16_t value :
         {climate.rainPercent, climate.sunPercent, climate.baseTemperatureC,
          climate.temperatureSwingC, climate.baseHumidityPercent, climate.basePressureMbar})
    {
        line += (line.empty() ? "" : " ") + std::to_string(value);
    }
    return line;
}
}  // namespace

bool WriteCircuitTexts(std::span<const CircuitText> circuits, std::vector<uint8_t>& file,
                       std::string& error)
{
    file.clear();
    TextFile text(file, error);
    for (const CircuitText& circuit : circuits)
    {
        text.Number(circuit.lengthMetres);
        text.Number(circuit.gripClass);
        for (const std::string& title : circuit.titles)
        {
            text.Line(title);
        }
        for (const std::string& name : circuit.names)
        {
            text.Line(name);
        }
        text.Line(circuit.subtitle);
        const std::optional<std::string> grandPrix = GrandPrixLine(circuit);
        if (!grandPrix)
        {
            error = "the Grand Prix name \"" + circuit.grandPrixName + "\" holds its line break";
            return false;
        }
        text.Line(*grandPrix);
        for (const CircuitLapRecord& lap : circuit.lapRecords)
        {
            text.Number(lap.timeMs);
            text.Number(lap.holder);
            text.Number(lap.year);
        }
        text.Line(ClimateLine(circuit.climate));
    }
    return text.Ok();
}

bool WriteMenuData(std::span<const MenuDataText> sections, std::vector<uint8_t>& file,
                   std::string& error)
{
    constexpr std::string_view kClassLines[] = {"125er Klasse", "250er Klasse", "500er Klasse"};
    file.clear();
    TextFile text(file, error);
    for (const MenuDataText& section : sections)
    {
        text.Number(section.number);
        text.Line(kClassLines[ToIndex(section.bikeClass)]);
        for (const std::string& line : section.lines)
        {
            text.Line(line);
        }
        text.Number(static_cast<int32_t>(section.pairs.size()));
        for (const auto& pair : section.pairs)
        {
            text.Line(pair[0]);
            text.Line(pair[1]);
        }
    }
    return text.Ok();
}
}  // namespace kit
