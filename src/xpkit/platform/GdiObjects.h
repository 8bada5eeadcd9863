// A session's table of GDI objects. Handles carry the session's tag, their kind and a
// generation, so a deleted, foreign or wrong-kind handle is found out instead of used.
#pragma once
#include <cstddef>
#include <memory>
#include <variant>
#include <vector>

#include "xpkit/platform/Bitmap.h"
#include "xpkit/platform/Font.h"
#include "xpkit/platform/Region.h"
#include "xpkit/platform/Win32Types.h"

namespace xpkit {

namespace text {
class ResolvedFont;
}

enum class GdiKind : std::uint8_t { Pen = 1, Brush = 2, Region = 3, Font = 4, DC = 5 };

struct PenObject {
  int style;
  int width;
  COLORREF color;
};
struct BrushObject {
  bool hollow;
  COLORREF color;
};
struct RegionObject {
  Region region;
};
struct FontObject {
  FontDesc desc;
  int pixelHeight;  // character height in pixels (the em)
  std::shared_ptr<const text::ResolvedFont> resolved;  // faces, found on first use
};
struct DcObject {
  Bitmap* target = nullptr;
  HPEN pen = 0;
  HBRUSH brush = 0;
  HFONT font = 0;
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = 2;  // OPAQUE
  POINT position{};
};

class GdiObjectTable {
 public:
  // `tag` (1 to 127) goes into every handle.
  explicit GdiObjectTable(std::uint32_t tag) : tag_(tag) {}

  template <class T>
  HGDIOBJ Add(T object, bool stock = false) {
    return Insert(KindOf<T>(), Payload(std::move(object)), stock);
  }
  // The object behind a live handle of the given kind, or nullptr.
  template <class T>
  T* Get(HGDIOBJ h) {
    Slot* s = Find(h);
    return s && s->kind == KindOf<T>() ? std::get_if<T>(&s->payload) : nullptr;
  }
  bool IsLive(HGDIOBJ h) { return Find(h) != nullptr; }
  bool IsStock(HGDIOBJ h) {
    Slot* s = Find(h);
    return s && s->stock;
  }
  GdiKind KindOfHandle(HGDIOBJ h) {
    Slot* s = Find(h);
    return s ? s->kind : GdiKind{};
  }
  bool Remove(HGDIOBJ h);
  // A DC took (+1) or let go of (-1) a pen, brush or font.
  void CountSelection(HGDIOBJ h, int change);
  // Whether a pen, brush or font is selected into a live DC.
  bool IsSelectedInDc(HGDIOBJ h) {
    Slot* s = Find(h);
    return s && s->selections > 0;
  }
  // Live objects that are not stock objects; kind {} counts pens, brushes, regions and fonts.
  std::size_t LiveCount(GdiKind kind = GdiKind{}) const;
  // Objects of a kind created so far, stock objects not counted.
  std::size_t CreatedCount(GdiKind kind) const { return created_[static_cast<int>(kind)]; }

 private:
  using Payload = std::variant<PenObject, BrushObject, RegionObject, FontObject, DcObject>;
  struct Slot {
    GdiKind kind{};
    std::uint8_t generation = 0;
    bool used = false;
    bool stock = false;
    std::uint32_t selections = 0;  // live DCs holding it: a delete asks without a scan of every DC
    Payload payload;
  };
  template <class T>
  static constexpr GdiKind KindOf() {
    if constexpr (std::is_same_v<T, PenObject>) return GdiKind::Pen;
    else if constexpr (std::is_same_v<T, BrushObject>) return GdiKind::Brush;
    else if constexpr (std::is_same_v<T, RegionObject>) return GdiKind::Region;
    else if constexpr (std::is_same_v<T, FontObject>) return GdiKind::Font;
    else return GdiKind::DC;
  }
  HGDIOBJ Insert(GdiKind kind, Payload payload, bool stock);
  Slot* Find(HGDIOBJ h);

  std::uint32_t tag_;
  std::vector<Slot> slots_;
  std::vector<std::uint32_t> free_;
  std::size_t created_[6] = {};
};

}  // namespace xpkit
