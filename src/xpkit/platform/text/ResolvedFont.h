// A font description resolved to installed faces at one pixel size: the face that
// fontconfig matches for the requested family, then fallback faces for characters it
// lacks (Tahoma first, then a face that covers Arabic), with the platform's line metrics.
// A FontLibrary makes them and owns the faces they point to.
#pragma once
#include <memory>
#include <vector>

#include "xpkit/platform/Font.h"

typedef struct FT_FaceRec_* FT_Face;
typedef struct hb_font_t hb_font_t;

namespace xpkit::text {

struct Face {
  FT_Face ft = nullptr;
  hb_font_t* hb = nullptr;
  bool syntheticBold = false;    // the face has no bold: overstrike by one pixel
  bool syntheticItalic = false;  // the face has no italic: slant the outlines
};

class ResolvedFont {
 public:
  const std::vector<Face>& faces() const { return faces_; }
  // Index of the first face that has a glyph for `ch`; 0 when none has.
  int FaceFor(char32_t ch) const;
  bool Has(int face, char32_t ch) const;

  int ascent = 0;   // pixels above the baseline, the top of the text cell included
  int descent = 0;  // pixels below the baseline
  int height() const { return ascent + descent; }
  int underlineOffset = 1;  // rows below the baseline
  int underlineThickness = 1;
  int strikeoutOffset = 3;  // rows above the baseline
  bool underline = false;
  bool strikeout = false;

 private:
  std::vector<Face> faces_;
  friend class FontLibrary;
};

}  // namespace xpkit::text
