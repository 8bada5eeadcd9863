#include "xpkit/platform/text/FontLibrary.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H
#include <hb-ft.h>
#include <hb.h>

#include <cmath>
#include <cstdlib>
#include <string_view>

#include "xpkit/codepage/Utf.h"

namespace xpkit::text {
namespace {

// The platform's UI faces ship in Debian's fonts-wine, in a folder fontconfig does not
// scan (XPKIT_FONT_DIR names another); its bitmap-only "MS Sans Serif" is let in past
// Debian's no-bitmaps rule.
std::string ExtraConfig() {
  const char* env = std::getenv("XPKIT_FONT_DIR");
  std::string folder;
  for (const char c : std::string_view(env && *env ? env : XPKIT_UI_FONT_DIR)) {
    switch (c) {
      case '&': folder += "&amp;"; break;
      case '<': folder += "&lt;"; break;
      case '>': folder += "&gt;"; break;
      default: folder += c;
    }
  }
  return R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <dir>)" + folder + R"(</dir>
  <selectfont><acceptfont><pattern>
    <patelt name="family"><string>MS Sans Serif</string></patelt>
    <patelt name="fontformat"><string>TrueType</string></patelt>
  </pattern></acceptfont></selectfont>
</fontconfig>)";
}

// Windows-style metrics: ascent and descent from the OS/2 table's Win values when the
// face has them (Tahoma at 11 px: 11 and 2), else from the size's metrics.
void Metrics(ResolvedFont& f, FT_Face face, int ppem) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (FT_IS_SCALABLE(face) && os2 && os2->version != 0xFFFF && os2->usWinAscent > 0) {
    const double scale = static_cast<double>(ppem) / face->units_per_EM;
    f.ascent = static_cast<int>(std::lround(os2->usWinAscent * scale));
    f.descent = static_cast<int>(std::lround(os2->usWinDescent * scale));
    f.strikeoutOffset = std::max(1, static_cast<int>(std::lround(os2->yStrikeoutPosition * scale)));
    const int pos = static_cast<int>(std::lround(-face->underline_position * scale));
    f.underlineOffset = std::max(1, pos);
    f.underlineThickness = std::max(1, static_cast<int>(std::lround(face->underline_thickness * scale)));
  } else {
    f.ascent = static_cast<int>(face->size->metrics.ascender >> 6);
    f.descent = static_cast<int>((-face->size->metrics.descender) >> 6);
    f.strikeoutOffset = std::max(1, f.ascent / 3);
  }
}

}  // namespace

struct FontLibrary::Match {
  std::string file;
  int index = 0;
  int weight = FC_WEIGHT_REGULAR;
  int slant = FC_SLANT_ROMAN;
  bool embolden = false;  // fontconfig asks for a synthetic bold
  bool oblique = false;   // fontconfig asks for a synthetic slant
};

FontLibrary::FontLibrary() {
  FT_Init_FreeType(&ft_);
  config_ = FcConfigCreate();
  FcConfigParseAndLoad(config_, nullptr, FcTrue);
  FcConfigParseAndLoadFromMemory(config_, reinterpret_cast<const FcChar8*>(ExtraConfig().c_str()), FcTrue);
  FcConfigBuildFonts(config_);
}

FontLibrary::~FontLibrary() {
  for (auto& [key, face] : faces_) {
    hb_font_destroy(face.hb);
    FT_Done_Face(face.ft);
  }
  FT_Done_FreeType(ft_);
  FcConfigDestroy(config_);
}

std::shared_ptr<const ResolvedFont> FontLibrary::Resolve(const FontDesc& desc, int pixelHeight) {
  const int ppem = pixelHeight < 1 ? 1 : pixelHeight;
  auto key = std::make_tuple(desc.name, desc.weight, desc.italic, desc.underline, desc.strikethrough, ppem);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  auto font = std::make_shared<ResolvedFont>();
  const bool wantBold = desc.weight >= 600, wantItalic = desc.italic;
  std::vector<std::string> seen;
  auto add = [&](const Match& m) {
    if (m.file.empty()) return;
    const std::string id = m.file + "#" + std::to_string(m.index);
    for (const auto& s : seen)
      if (s == id) return;
    seen.push_back(id);
    Face f = OpenFace(m.file, m.index, ppem);
    if (!f.ft) return;
    f.syntheticBold = wantBold && (m.embolden || m.weight < FC_WEIGHT_DEMIBOLD);
    f.syntheticItalic = wantItalic && (m.oblique || m.slant == FC_SLANT_ROMAN) && FT_IS_SCALABLE(f.ft);
    // Some bold faces carry, at some sizes, bitmaps no bolder than the regular face's
    // (Debian's Tahoma Bold from 13 to 16 pixels): there bold is made by overstriking.
    if (wantBold && !f.syntheticBold && f.ft->family_name) {
      const Match regular = MatchFamily(f.ft->family_name, 400, wantItalic, ppem, nullptr);
      if (!regular.file.empty() && (regular.file != m.file || regular.index != m.index))
        f.syntheticBold = NoBolder(f, OpenFace(regular.file, regular.index, ppem));
    }
    font->faces_.push_back(f);
  };
  add(MatchFamily(ToUtf8(desc.name), desc.weight, wantItalic, ppem, nullptr));
  add(MatchFamily("Tahoma", desc.weight, wantItalic, ppem, nullptr));
  add(MatchFamily("sans-serif", desc.weight, wantItalic, ppem, "ar"));
  add(MatchFamily("sans-serif", desc.weight, wantItalic, ppem, nullptr));
  if (!font->faces_.empty()) Metrics(*font, font->faces_.front().ft, ppem);
  font->underline = desc.underline;
  font->strikeout = desc.strikethrough;
  fonts_.emplace(key, font);
  return font;
}

FontLibrary::Match FontLibrary::MatchFamily(const std::string& family, int weight, bool italic, int ppem,
                                            const char* lang) {
  FcPattern* p = FcPatternCreate();
  FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(p, FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(p, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddDouble(p, FC_PIXEL_SIZE, ppem);
  if (lang) FcPatternAddString(p, FC_LANG, reinterpret_cast<const FcChar8*>(lang));
  FcConfigSubstitute(config_, p, FcMatchPattern);
  FcDefaultSubstitute(p);
  FcResult r;
  FcPattern* m = FcFontMatch(config_, p, &r);
  Match out;
  if (m) {
    FcChar8* file = nullptr;
    FcChar8* got = nullptr;
    if (FcPatternGetString(m, FC_FILE, 0, &file) == FcResultMatch) out.file = reinterpret_cast<char*>(file);
    FcPatternGetInteger(m, FC_INDEX, 0, &out.index);
    FcPatternGetInteger(m, FC_WEIGHT, 0, &out.weight);
    FcPatternGetInteger(m, FC_SLANT, 0, &out.slant);
    FcBool embolden = FcFalse;
    if (FcPatternGetBool(m, FC_EMBOLDEN, 0, &embolden) == FcResultMatch) out.embolden = embolden;
    FcMatrix* matrix = nullptr;
    out.oblique = FcPatternGetMatrix(m, FC_MATRIX, 0, &matrix) == FcResultMatch && matrix && matrix->xy != 0;
    // A family asked for by name must be that family; otherwise the next fallback serves.
    if (!lang && family != "sans-serif" && FcPatternGetString(m, FC_FAMILY, 0, &got) == FcResultMatch &&
        FcStrCmpIgnoreCase(got, reinterpret_cast<const FcChar8*>(family.c_str())) != 0)
      out.file.clear();
    FcPatternDestroy(m);
  }
  FcPatternDestroy(p);
  return out;
}

Face FontLibrary::OpenFace(const std::string& file, int index, int ppem) {
  auto key = std::make_tuple(file, index, ppem);
  auto it = faces_.find(key);
  if (it != faces_.end()) return it->second;
  FT_Face face = nullptr;
  if (FT_New_Face(ft_, file.c_str(), index, &face) != 0) return {};
  if (FT_IS_SCALABLE(face)) {
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(ppem));
  } else if (face->num_fixed_sizes > 0) {
    // A bitmap face: the strike whose cell height is nearest to the platform's cell for
    // this em (13 px for an 11 px em), ties going to the smaller strike.
    const double want = ppem * 13.0 / 11.0;
    int best = 0;
    for (int i = 1; i < face->num_fixed_sizes; ++i)
      if (std::abs(face->available_sizes[i].height - want) < std::abs(face->available_sizes[best].height - want))
        best = i;
    FT_Select_Size(face, best);
  }
  if (!face->charmap) FT_Select_Charmap(face, FT_ENCODING_UNICODE);
  Face f;
  f.ft = face;
  // Shaped with the load flags it is rendered with, so advances match the pixels.
  f.hb = hb_ft_font_create_referenced(face);
  hb_ft_font_set_load_flags(f.hb, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO);
  faces_.emplace(key, f);
  return f;
}

bool FontLibrary::NoBolder(const Face& bold, const Face& regular) {
  if (!bold.ft || !regular.ft) return false;
  // Ink of a few letters: a true bold face sets clearly more pixels.
  std::size_t inkBold = 0, inkRegular = 0;
  for (const char32_t ch : std::u32string_view(U"Hemo")) {
    const FT_UInt gb = FT_Get_Char_Index(bold.ft, ch), gr = FT_Get_Char_Index(regular.ft, ch);
    if (gb == 0 || gr == 0) return false;
    for (std::uint8_t on : Glyph(bold, gb).mask) inkBold += on;
    for (std::uint8_t on : Glyph(regular, gr).mask) inkRegular += on;
  }
  return inkBold * 10 < inkRegular * 11;
}

bool FontLibrary::Load(const Face& face, std::uint32_t glyph) {
  FT_Int32 flags = FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO;
  if (face.syntheticItalic) flags |= FT_LOAD_NO_BITMAP;
  if (FT_Load_Glyph(face.ft, glyph, flags) != 0) return false;
  if (face.syntheticItalic && face.ft->glyph->format == FT_GLYPH_FORMAT_OUTLINE) FT_GlyphSlot_Oblique(face.ft->glyph);
  return true;
}

const RECT& FontLibrary::Bounds(const Face& face, std::uint32_t glyph) {
  auto key = std::make_tuple(face.ft, glyph, face.syntheticItalic);
  auto it = bounds_.find(key);
  if (it != bounds_.end()) return it->second;
  RECT box{};  // a glyph that does not load draws nothing
  if (Load(face, glyph)) {
    const FT_GlyphSlot slot = face.ft->glyph;
    if (slot->format == FT_GLYPH_FORMAT_BITMAP) {
      box = {slot->bitmap_left, -slot->bitmap_top, slot->bitmap_left + static_cast<LONG>(slot->bitmap.width),
             -slot->bitmap_top + static_cast<LONG>(slot->bitmap.rows)};
    } else if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
      // The outline's box in whole pixels, and one more every way for the rasterizer's
      // rounding and drop-out control.
      FT_BBox c;
      FT_Outline_Get_CBox(&slot->outline, &c);
      auto floor = [](FT_Pos v) { return static_cast<LONG>(v >> 6); };  // 26.6 fixed point
      auto ceil = [](FT_Pos v) { return static_cast<LONG>((v + 63) >> 6); };
      box = {floor(c.xMin) - 1, -ceil(c.yMax) - 1, ceil(c.xMax) + 1, -floor(c.yMin) + 1};
    } else {
      constexpr LONG kAll = 1 << 28;  // a format of unknown extent is never left out
      box = {-kAll, -kAll, kAll, kAll};
    }
  }
  return bounds_.emplace(key, box).first->second;
}

const GlyphImage& FontLibrary::Glyph(const Face& face, std::uint32_t glyph) {
  auto key = std::make_tuple(face.ft, glyph, face.syntheticItalic);
  auto it = glyphs_.find(key);
  if (it != glyphs_.end()) return it->second;
  GlyphImage img;
  if (Load(face, glyph)) {
    FT_GlyphSlot slot = face.ft->glyph;
    if (slot->format == FT_GLYPH_FORMAT_BITMAP || FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) == 0) {
      const FT_Bitmap& bm = slot->bitmap;
      img.left = slot->bitmap_left;
      img.top = slot->bitmap_top;
      img.width = static_cast<int>(bm.width);
      img.rows = static_cast<int>(bm.rows);
      img.mask.assign(static_cast<std::size_t>(img.width) * img.rows, 0);
      for (int y = 0; y < img.rows; ++y) {
        const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
        for (int x = 0; x < img.width; ++x) {
          const bool on = bm.pixel_mode == FT_PIXEL_MODE_MONO ? (row[x >> 3] & (0x80 >> (x & 7))) != 0
                                                              : row[x] >= 128;
          img.mask[static_cast<std::size_t>(y) * img.width + x] = on;
        }
      }
    }
  }
  return glyphs_.emplace(key, std::move(img)).first->second;
}

}  // namespace xpkit::text
