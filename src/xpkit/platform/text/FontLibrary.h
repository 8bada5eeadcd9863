// A session's fonts: FreeType and fontconfig set up for the platform's faces, the faces
// opened at each pixel size, the fonts resolved from descriptions, and the crisp glyph
// images drawn from them. Everything lives as long as the library and is freed with it.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "xpkit/platform/Font.h"
#include "xpkit/platform/Win32Types.h"
#include "xpkit/platform/text/ResolvedFont.h"

typedef struct FT_LibraryRec_* FT_Library;
typedef struct _FcConfig FcConfig;

namespace xpkit::text {

// A glyph as one-bit pixels: `mask` has `width` * `rows` entries, 1 where the glyph sets
// a pixel; (left, top) is its offset from the pen position on the baseline.
struct GlyphImage {
  int left = 0, top = 0, width = 0, rows = 0;
  std::vector<std::uint8_t> mask;
};

class FontLibrary {
 public:
  FontLibrary();
  ~FontLibrary();
  FontLibrary(const FontLibrary&) = delete;
  FontLibrary& operator=(const FontLibrary&) = delete;

  // The same description and size give the same object for the library's life.
  std::shared_ptr<const ResolvedFont> Resolve(const FontDesc& desc, int pixelHeight);
  // The glyph of `face`, rendered once.
  const GlyphImage& Glyph(const Face& face, std::uint32_t glyph);
  // A box, from the pen position on the baseline with y down, that holds every pixel of
  // the glyph's image, found without rendering it: a glyph outside the clip costs no
  // drawing and no memory, however large the font.
  const RECT& Bounds(const Face& face, std::uint32_t glyph);

 private:
  struct Match;
  Match MatchFamily(const std::string& family, int weight, bool italic, int ppem, const char* lang);
  Face OpenFace(const std::string& file, int index, int ppem);
  // Whether a bold face at its size draws hardly more ink than the regular one.
  bool NoBolder(const Face& bold, const Face& regular);
  // Loads the glyph into its face's slot as it is drawn: hinted for one-bit pixels, and
  // slanted for a synthetic italic.
  bool Load(const Face& face, std::uint32_t glyph);

  FT_Library ft_ = nullptr;
  FcConfig* config_ = nullptr;
  std::map<std::tuple<std::string, int, int>, Face> faces_;  // by file, index and size
  std::map<std::tuple<std::u16string, int, bool, bool, bool, int>, std::shared_ptr<const ResolvedFont>> fonts_;
  std::map<std::tuple<FT_Face, std::uint32_t, bool>, GlyphImage> glyphs_;
  std::map<std::tuple<FT_Face, std::uint32_t, bool>, RECT> bounds_;
};

}  // namespace xpkit::text
