#include "render/text/FontBuilder.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

#include "render/draw/PixelSurface.h"

namespace render
{
namespace
{

// The glyph cells of a font picture. Columns may run past a glyph's cell into the next one;
// pixels beyond the picture count as empty.
class GlyphCells
{
public:
    GlyphCells(const PixelSurface& picture, int32_t cellWidth, int32_t cellHeight)
        : picture_(picture), cellWidth_(cellWidth), cellHeight_(cellHeight)
    {
    }

    int32_t CellCount() const { return picture_.width / cellWidth_; }
    int32_t Rows() const { return cellHeight_; }

    bool IsLit(int32_t glyph, int32_t column, int32_t row) const
    {
        const int64_t x = int64_t{glyph} * cellWidth_ + column;
        return x < picture_.width && row < picture_.height &&
               picture_.At(static_cast<int32_t>(x), row) != 0;
    }

    // The largest column of the cell with a lit pixel in any row; 0 for an empty cell.
    int32_t LastLitColumn(int32_t glyph) const
    {
        for (int32_t column = cellWidth_ - 1; column > 0; --column)
        {
            for (int32_t row = 0; row < cellHeight_; ++row)
            {
                if (IsLit(glyph, column, row))
                {
                    return column;
                }
            }
        }
        return 0;
    }

private:
    PixelSurface picture_;
    int32_t cellWidth_;
    int32_t cellHeight_;
};

// Glyph i is the i-th character of the string; a character that occurs twice keeps its later
// glyph. Returns the glyph count: the highest glyph mapped + 1.
int32_t MapCharacters(GameFont& font, const char* characters, int32_t cells)
{
    const int32_t usable = std::min(cells, kMaxGlyphs);
    int32_t highest = 0;
    for (int32_t i = 0; characters != nullptr && characters[i] != '\0' && i < usable; ++i)
    {
        font.characterMap[static_cast<uint8_t>(characters[i])] = static_cast<uint8_t>(i);
    }
    for (const uint8_t glyph : font.characterMap)
    {
        highest = std::max<int32_t>(highest, glyph);
    }
    return highest + 1;
}

// Measured widths plus spacing; cells no wider than the spacing (the blank) get the average.
std::vector<int32_t> MeasureWidths(const GlyphCells& cells, int32_t count, int32_t spacing)
{
    std::vector<int32_t> widths(static_cast<size_t>(count));
    int64_t total = 0;
    for (int32_t glyph = 0; glyph < count; ++glyph)
    {
        widths[glyph] = cells.LastLitColumn(glyph) + spacing;
        total += widths[glyph];
    }
    const auto average = static_cast<int32_t>(total / count);
    for (int32_t& width : widths)
    {
        if (width <= spacing)
        {
            width = average;
        }
    }
    return widths;
}

// A glyph row's first lit column and its distance from the last lit one to the glyph's width,
// over columns 0 to width.
struct RowProfile
{
    bool empty = true;
    int32_t left = 0;
    int32_t right = 0;
};

std::vector<RowProfile> ProfileRows(const GlyphCells& cells, const std::vector<int32_t>& widths)
{
    const auto count = static_cast<int32_t>(widths.size());
    std::vector<RowProfile> profiles(static_cast<size_t>(count) * cells.Rows());
    for (int32_t glyph = 0; glyph < count; ++glyph)
    {
        for (int32_t row = 0; row < cells.Rows(); ++row)
        {
            RowProfile& profile = profiles[static_cast<size_t>(glyph) * cells.Rows() + row];
            for (int32_t column = 0; column <= widths[glyph]; ++column)
            {
                if (cells.IsLit(glyph, column, row))
                {
                    if (profile.empty)
                    {
                        profile.left = column;
                    }
                    profile.empty = false;
                    profile.right = widths[glyph] - column;
                }
            }
        }
    }
    return profiles;
}

bool IsBlank(const std::vector<RowProfile>& profiles, int32_t rows, int32_t glyph)
{
    const auto first = profiles.begin() + static_cast<ptrdiff_t>(glyph) * rows;
    return std::all_of(first, first + rows, [](const RowProfile& row) { return row.empty; });
}

// How far glyph b can follow glyph a: the closest the two come in any row, turned into an
// advance unless one of the widths already is it. Only a blank b (a space) is held to the
// smaller width in a's lit rows: rows a narrow glyph such as a point leaves empty would
// otherwise cap the advance at its own width and drop it into a.
int32_t PairAdvance(const std::vector<int32_t>& widths, const std::vector<RowProfile>& profiles,
                    int32_t rows, int32_t a, int32_t b)
{
    const int32_t widthA = widths[a];
    const int32_t widthB = widths[b];
    const bool blankB = IsBlank(profiles, rows, b);
    int32_t closest = widthA;
    for (int32_t row = 0; row < rows; ++row)
    {
        const RowProfile& rowA = profiles[static_cast<size_t>(a) * rows + row];
        const RowProfile& rowB = profiles[static_cast<size_t>(b) * rows + row];
        int32_t value = widthA;
        if (!rowA.empty && !rowB.empty)
        {
            value = std::max(rowA.right, rowB.left);
        }
        else if (!rowA.empty && blankB)
        {
            value = std::min(widthA, widthB);
        }
        closest = std::min(closest, value);
    }
    return closest != widthA && closest != widthB ? widthA - closest + 1 : closest;
}

void BuildKerning(GameFont& font, const GlyphCells& cells, const std::vector<int32_t>& widths)
{
    const std::vector<RowProfile> profiles = ProfileRows(cells, widths);
    const int32_t count = font.glyphCount;
    for (int32_t a = 0; a < count; ++a)
    {
        for (int32_t b = 0; b < count; ++b)
        {
            font.tables[static_cast<size_t>(count) * (1 + a) + b] = static_cast<uint8_t>(
                PairAdvance(widths, profiles, cells.Rows(), a, b) + font.spacing);
        }
    }
}

}  // namespace

std::unique_ptr<GameFont> CreateGameFont(FontKind kind, const char* characters, Texture* picture,
                                         int32_t cellWidth, int32_t cellHeight, int32_t parameter)
{
    const std::optional<PixelSurface> surface = SurfaceOf(picture);
    if (!surface || cellWidth < 1 || cellHeight < 1)
    {
        return nullptr;
    }
    const GlyphCells cells(*surface, cellWidth, cellHeight);
    auto font = std::make_unique<GameFont>();
    font->cellWidth = cellWidth;
    font->cellHeight = cellHeight;
    font->picture = picture;
    font->glyphCount = MapCharacters(*font, characters, cells.CellCount());
    const auto count = static_cast<size_t>(font->glyphCount);

    std::vector<int32_t> widths;
    if (kind == FontKind::Fixed)
    {
        font->fixedWidth = parameter;
        widths.assign(count, parameter);
    }
    else
    {
        font->spacing = parameter;
        widths = MeasureWidths(cells, font->glyphCount, parameter);
    }
    font->hasKerning = kind == FontKind::Kerning;
    font->tables.assign(font->hasKerning ? count * (count + 1) : count, 0);
    if (font->hasKerning)
    {
        BuildKerning(*font, cells, widths);
    }
    // Every glyph covers one column more than it measures; kerning advances do not.
    for (size_t glyph = 0; glyph < count; ++glyph)
    {
        font->tables[glyph] = static_cast<uint8_t>(widths[glyph] + 1);
    }
    return font;
}

}  // namespace render
