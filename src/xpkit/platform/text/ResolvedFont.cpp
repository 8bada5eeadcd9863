#include "xpkit/platform/text/ResolvedFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace xpkit::text {

bool ResolvedFont::Has(int face, char32_t ch) const {
  return face >= 0 && face < static_cast<int>(faces_.size()) && FT_Get_Char_Index(faces_[face].ft, ch) != 0;
}

int ResolvedFont::FaceFor(char32_t ch) const {
  for (int i = 0; i < static_cast<int>(faces_.size()); ++i)
    if (FT_Get_Char_Index(faces_[i].ft, ch) != 0) return i;
  return 0;
}

}  // namespace xpkit::text
