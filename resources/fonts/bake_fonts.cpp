// Bakes the program's text faces (faces.h) from the fonts beside it into a
// table of glyphs, bakedfonts.cpp: for every byte of code page 1252 the
// glyph's ink as runs, its advance and box, and the kerning of every pair of
// characters, as FreeType hints and renders them one bit deep and HarfBuzz
// lays them out. The program draws its text from that table alone, on every
// back end. Run through bake_fonts.sh, which also checks the table.
//
// usage: bake_fonts FONT_FOLDER OUTPUT.cpp
#include "platform/win32/codepage.h"
#include "resources/fonts/faces.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb-ft.h>
#include <hb.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace
{

struct Shaped
{
    unsigned glyph;
    int advance;
    int offset; // drawn this far right of the pen
};

struct Glyph
{
    int advance;
    int boxLeft, boxTop, boxWidth, boxRows;
    int inkLeft, inkTop;
    int firstRun, runCount;
    bool kernedAcross;
};

struct Run
{
    int y, x, length;
};

struct Kerning
{
    int first, second, adjust;
};

struct Face
{
    int lineHeight = 0;
    int ascent = 0;
    std::vector<Glyph> glyphs;
    std::vector<Run> runs;
    std::vector<Kerning> kerning;
};

void Require(bool condition, const std::string& what)
{
    if (!condition)
        throw std::runtime_error(what);
}

int Floor26Dot6(long value)
{
    return static_cast<int>((value & -64) / 64);
}

int Ceil26Dot6(long value)
{
    return Floor26Dot6(value + 63);
}

int LoadTarget(bake::Hinting hinting)
{
    return hinting == bake::Hinting::Mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_LIGHT;
}

// The font file opened and sized as SDL_ttf opens it, with the HarfBuzz font
// that lays out its lines.
class OpenFace
{
public:
    OpenFace(FT_Library library, const std::string& path, const bake::FaceSpec& spec)
        : m_nLoadFlags(FT_LOAD_DEFAULT | LoadTarget(spec.hinting))
    {
        Require(FT_New_Face(library, path.c_str(), 0, &m_Face) == 0, "cannot open " + path);
        SelectUnicodeMap();
        m_Hb = hb_ft_font_create(m_Face, nullptr);
        hb_ft_font_set_load_flags(m_Hb, m_nLoadFlags);
        Require(FT_Set_Char_Size(m_Face, 0, spec.points * 64, spec.dpi, spec.dpi) == 0,
                "cannot size " + path);
        hb_ft_font_changed(m_Hb);
    }
    ~OpenFace()
    {
        hb_font_destroy(m_Hb);
        FT_Done_Face(m_Face);
    }
    OpenFace(const OpenFace&) = delete;
    OpenFace& operator=(const OpenFace&) = delete;

    int LineHeight() const
    {
        const FT_Fixed scale = m_Face->size->metrics.y_scale;
        return Ceil26Dot6(FT_MulFix(m_Face->ascender - m_Face->descender, scale));
    }
    int Ascent() const
    {
        return Ceil26Dot6(FT_MulFix(m_Face->ascender, m_Face->size->metrics.y_scale));
    }

    // The glyphs of a UTF-8 line, left to right, as SDL_ttf shapes it.
    std::vector<Shaped> Shape(const std::string& utf8) const
    {
        hb_buffer_t* buffer = hb_buffer_create();
        hb_buffer_set_direction(buffer, HB_DIRECTION_LTR);
        hb_buffer_set_script(buffer, HB_SCRIPT_UNKNOWN);
        hb_buffer_add_utf8(buffer, utf8.c_str(), -1, 0, -1);
        hb_shape(m_Hb, buffer, nullptr, 0);
        unsigned count = 0;
        const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
        const hb_glyph_position_t* position = hb_buffer_get_glyph_positions(buffer, &count);
        std::vector<Shaped> shaped;
        for (unsigned i = 0; i < count; ++i)
        {
            Require(position[i].y_offset == 0 && position[i].y_advance == 0,
                    "a glyph moved off the line in \"" + utf8 + "\"");
            shaped.push_back({info[i].codepoint, position[i].x_advance, position[i].x_offset});
        }
        hb_buffer_destroy(buffer);
        return shaped;
    }

    // The glyph's box and one-bit ink (its runs appended to runs), without
    // its advance, which the layout gives.
    Glyph Bake(unsigned index, std::vector<Run>& runs) const
    {
        Require(FT_Load_Glyph(m_Face, index, m_nLoadFlags) == 0, "cannot load a glyph");
        FT_GlyphSlot slot = m_Face->glyph;
        Require(slot->format == FT_GLYPH_FORMAT_OUTLINE, "a glyph that is no outline");
        Glyph glyph{};
        glyph.boxLeft = slot->bitmap_left;
        glyph.boxTop = slot->bitmap_top;
        glyph.boxWidth = static_cast<int>(slot->bitmap.width);
        glyph.boxRows = static_cast<int>(slot->bitmap.rows);
        if (glyph.boxLeft == 0 && glyph.boxTop == 0 && glyph.boxWidth == 0 && glyph.boxRows == 0)
        {
            // No preset bitmap: SDL_ttf takes the box from the outline's metrics.
            const FT_Glyph_Metrics& metrics = slot->metrics;
            glyph.boxLeft = Floor26Dot6(metrics.horiBearingX);
            glyph.boxTop = Floor26Dot6(metrics.horiBearingY);
            glyph.boxWidth = Ceil26Dot6(metrics.horiBearingX + metrics.width) - glyph.boxLeft;
            glyph.boxRows = Ceil26Dot6(metrics.height);
        }
        Require(FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) == 0, "cannot render a glyph");
        const FT_Bitmap& bitmap = slot->bitmap;
        Require(bitmap.pixel_mode == FT_PIXEL_MODE_MONO || bitmap.width == 0, "not one bit deep");
        glyph.inkLeft = slot->bitmap_left;
        glyph.inkTop = slot->bitmap_top;
        glyph.firstRun = static_cast<int>(runs.size());
        for (int y = 0; y < static_cast<int>(bitmap.rows); ++y)
        {
            const unsigned char* row = bitmap.buffer + y * bitmap.pitch;
            auto set = [&](int x) { return (row[x / 8] & (0x80 >> (x % 8))) != 0; };
            for (int x = 0; x < static_cast<int>(bitmap.width);)
            {
                if (!set(x))
                {
                    ++x;
                    continue;
                }
                const int start = x;
                while (x < static_cast<int>(bitmap.width) && set(x))
                    ++x;
                runs.push_back({y, start, x - start});
            }
        }
        glyph.runCount = static_cast<int>(runs.size()) - glyph.firstRun;
        return glyph;
    }

private:
    // Unicode first, as SDL_ttf picks the character map.
    void SelectUnicodeMap()
    {
        for (int i = 0; i < m_Face->num_charmaps; ++i)
            if (m_Face->charmaps[i]->platform_id == 3 && m_Face->charmaps[i]->encoding_id == 10)
            {
                FT_Set_Charmap(m_Face, m_Face->charmaps[i]);
                return;
            }
        for (int i = 0; i < m_Face->num_charmaps; ++i)
        {
            const FT_CharMap map = m_Face->charmaps[i];
            if ((map->platform_id == 3 && map->encoding_id <= 1) ||
                (map->platform_id == 2 && map->encoding_id == 1) || map->platform_id == 0)
            {
                FT_Set_Charmap(m_Face, map);
                return;
            }
        }
    }

    FT_Face m_Face = nullptr;
    hb_font_t* m_Hb = nullptr;
    int m_nLoadFlags;
};

std::string Utf8Of(int byte)
{
    return platform::Cp1252ToUtf8(std::string(1, static_cast<char>(byte)));
}

// Each byte's glyph alone: its shaping, and its ink in face.
std::vector<Shaped> BakeGlyphs(const OpenFace& font, Face& face)
{
    face.glyphs.resize(256);
    std::vector<Shaped> alone(256);
    // Bytes the font has no letter for share its one empty box.
    std::map<unsigned, Glyph> baked;
    for (int byte = 1; byte < 256; ++byte)
    {
        const std::vector<Shaped> shaped = font.Shape(Utf8Of(byte));
        Require(shaped.size() == 1 && shaped[0].offset == 0,
                "not one glyph on the pen for byte " + std::to_string(byte));
        alone[byte] = shaped[0];
        auto it = baked.find(shaped[0].glyph);
        if (it == baked.end())
            it = baked.emplace(shaped[0].glyph, font.Bake(shaped[0].glyph, face.runs)).first;
        face.glyphs[byte] = it->second;
        face.glyphs[byte].advance = shaped[0].advance;
    }
    return alone;
}

// Kerning is all that a pair changes, split as the program splits it
// (fontrasterizer.cpp); anything else, the table cannot hold.
void BakeKerning(const OpenFace& font, const std::vector<Shaped>& alone, Face& face)
{
    for (int first = 1; first < 256; ++first)
        for (int second = 1; second < 256; ++second)
        {
            const std::vector<Shaped> pair = font.Shape(Utf8Of(first) + Utf8Of(second));
            const std::string what = "the pair " + std::to_string(first) + ", " +
                                     std::to_string(second) + " is more than kerned";
            Require(pair.size() == 2 && pair[0].glyph == alone[first].glyph &&
                        pair[1].glyph == alone[second].glyph && pair[0].offset == 0,
                    what);
            const int onFirst = pair[0].advance - alone[first].advance;
            const int kerning = onFirst + pair[1].offset;
            Require(onFirst == (kerning >> 1) &&
                        pair[1].advance - alone[second].advance == pair[1].offset,
                    what);
            if (kerning != 0)
                face.kerning.push_back({first, second, kerning});
        }
}

// Hidden characters (the soft hyphen) let the kerning of their neighbours
// reach across them: tried between every kerned pair that neither kerns with
// the character itself, all of which must agree.
void MarkHidden(const OpenFace& font, const std::vector<Shaped>& alone, Face& face)
{
    std::set<std::pair<int, int>> kerned;
    for (const Kerning& k : face.kerning)
        kerned.insert({k.first, k.second});
    for (int byte = 1; byte < 256; ++byte)
    {
        std::set<bool> verdicts;
        for (const Kerning& k : face.kerning)
            if (!kerned.count({k.first, byte}) && !kerned.count({byte, k.second}))
            {
                const std::vector<Shaped> triple =
                    font.Shape(Utf8Of(k.first) + Utf8Of(byte) + Utf8Of(k.second));
                verdicts.insert(triple[0].advance == alone[k.first].advance + (k.adjust >> 1));
            }
        Require(verdicts.size() == 1,
                "cannot tell whether kerning reaches across byte " + std::to_string(byte));
        face.glyphs[byte].kernedAcross = *verdicts.begin();
    }
}

Face BakeFace(const OpenFace& font)
{
    Face face;
    face.lineHeight = font.LineHeight();
    face.ascent = font.Ascent();
    const std::vector<Shaped> alone = BakeGlyphs(font, face);
    BakeKerning(font, alone, face);
    MarkHidden(font, alone, face);
    return face;
}

void Fits(int value, int low, int high, const char* what)
{
    Require(value >= low && value <= high, std::string(what) + " out of range");
}

// The libraries' versions, which the glyphs' pixels depend on.
std::string Versions(FT_Library library)
{
    FT_Int major = 0, minor = 0, patch = 0;
    FT_Library_Version(library, &major, &minor, &patch);
    return "FreeType " + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(patch) + " and HarfBuzz " + hb_version_string();
}

std::string Source(const std::vector<Face>& faces, const std::string& versions)
{
    std::ostringstream out;
    out << "// Generated by resources/fonts/bake_fonts.cpp from the Liberation Sans fonts\n"
           "// (SIL Open Font License) with "
        << versions
        << ";\n"
           "// rebuild with resources/fonts/bake_fonts.sh.\n"
           "#include \"platform/font/bakedfont.h\"\n\n"
           "namespace platform\n{\n\nnamespace\n{\n";
    for (std::size_t f = 0; f < faces.size(); ++f)
    {
        const Face& face = faces[f];
        const std::string name = bake::kFaces[f].name;
        out << "\n// clang-format off\nconstexpr BakedGlyph k" << name << "Glyphs[256] = {\n";
        for (int byte = 0; byte < 256; ++byte)
        {
            const Glyph& g = face.glyphs[byte];
            for (int value : {g.boxLeft, g.boxTop, g.boxWidth, g.boxRows, g.inkLeft, g.inkTop})
                Fits(value, -32768, 32767, "a glyph's box");
            Fits(g.firstRun + g.runCount, 0, 65535, "the runs");
            out << "    {" << g.advance << ", " << g.boxLeft << ", " << g.boxTop << ", "
                << g.boxWidth << ", " << g.boxRows << ", " << g.inkLeft << ", " << g.inkTop << ", "
                << g.firstRun << ", " << g.runCount << ", " << (g.kernedAcross ? "true" : "false")
                << "}, // " << byte << "\n";
        }
        out << "};\n\nconstexpr BakedRun k" << name << "Runs[] = {";
        for (std::size_t i = 0; i < face.runs.size(); ++i)
        {
            const Run& run = face.runs[i];
            for (int value : {run.y, run.x, run.length})
                Fits(value, 0, 255, "a run");
            out << (i % 8 == 0 ? "\n    " : " ") << "{" << run.y << ", " << run.x << ", "
                << run.length << "},";
        }
        out << "\n};\n\nconstexpr BakedKerning k" << name << "Kerning[] = {";
        for (std::size_t i = 0; i < face.kerning.size(); ++i)
        {
            const Kerning& k = face.kerning[i];
            Fits(k.adjust, -32768, 32767, "a kerning");
            out << (i % 6 == 0 ? "\n    " : " ") << "{" << k.first << ", " << k.second << ", "
                << k.adjust << "},";
        }
        out << "\n};\n// clang-format on\n";
    }
    out << "\n} // namespace\n\nconst BakedFace kBakedFaces[3] = {\n";
    for (std::size_t f = 0; f < faces.size(); ++f)
    {
        const std::string name = bake::kFaces[f].name;
        out << "    {" << faces[f].lineHeight << ", " << faces[f].ascent << ", k" << name
            << "Glyphs, k" << name << "Runs, k" << name
            << "Kerning,\n     static_cast<int>(sizeof k" << name << "Kerning / sizeof k" << name
            << "Kerning[0])},\n";
    }
    out << "};\n\n} // namespace platform\n";
    return out.str();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: %s FONT_FOLDER OUTPUT.cpp\n", argv[0]);
        return 2;
    }
    try
    {
        FT_Library library = nullptr;
        Require(FT_Init_FreeType(&library) == 0, "cannot start FreeType");
        std::vector<Face> faces;
        for (const bake::FaceSpec& spec : bake::kFaces)
        {
            const OpenFace font(library, std::string(argv[1]) + "/" + spec.file, spec);
            faces.push_back(BakeFace(font));
            std::printf("%s: %zu runs, %zu kerning pairs\n", spec.name, faces.back().runs.size(),
                        faces.back().kerning.size());
        }
        const std::string versions = Versions(library);
        FT_Done_FreeType(library);
        std::ofstream(argv[2], std::ios::binary) << Source(faces, versions);
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "bake_fonts: %s\n", e.what());
        return 1;
    }
    return 0;
}
