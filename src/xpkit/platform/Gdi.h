// The GDI drawing calls, under their Win32 names, drawing into 32-bit Bitmaps with GDI's
// pixel rules. They keep Win32's results: a failed call returns 0/FALSE (or CLR_INVALID)
// and changes nothing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "xpkit/codepage/CodePage.h"
#include "xpkit/platform/Bitmap.h"
#include "xpkit/platform/Font.h"
#include "xpkit/platform/GdiObjects.h"
#include "xpkit/platform/Region.h"
#include "xpkit/platform/Win32Types.h"
#include "xpkit/platform/text/TextLimits.h"

namespace xpkit {

namespace text {
class FontLibrary;
class ResolvedFont;
}  // namespace text

// Pen styles.
constexpr int PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5,
              PS_INSIDEFRAME = 6;
// Stock objects.
constexpr int WHITE_BRUSH = 0, BLACK_BRUSH = 4, NULL_BRUSH = 5, WHITE_PEN = 6, BLACK_PEN = 7, NULL_PEN = 8,
              SYSTEM_FONT = 13, DEFAULT_GUI_FONT = 17;
// CombineRgn modes and results (results also NULLREGION.. from Region.h).
constexpr int RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5;
constexpr int RGN_ERROR = 0;
// Background modes.
constexpr int TRANSPARENT = 1, OPAQUE = 2;
// DrawText formats.
constexpr UINT DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
               DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_NOCLIP = 0x100,
               DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800;

// A LOGFONT's face name holds this many characters with its terminator.
constexpr std::size_t LF_FACESIZE = kMaxFaceName + 1;

struct LOGFONT {
  LONG lfHeight = 0;  // < 0: character height in pixels; > 0: cell height
  LONG lfWeight = 400;
  std::uint8_t lfItalic = 0, lfUnderline = 0, lfStrikeOut = 0, lfCharSet = 0;
  std::u16string lfFaceName;  // cut to LF_FACESIZE - 1 characters by CreateFontIndirect
};

// The LOGFONT that selects a font object's description: its size in points as a
// character height in pixels at 96 dpi.
LOGFONT LogFontOf(const FontDesc& desc);

// A session's GDI: its objects (pens, brushes, regions, fonts and device contexts, with
// the stock objects), the fonts resolved for them, and the drawing calls under their
// Win32 names. Handles of another session are foreign here and fail like stale ones.
class Gdi {
 public:
  // `tag` goes into every handle; `codePage` is the ANSI code page of the text calls.
  Gdi(std::uint32_t tag, const CodePage& codePage);
  ~Gdi();
  Gdi(const Gdi&) = delete;
  Gdi& operator=(const Gdi&) = delete;

  const CodePage& codePage() const { return codePage_; }

  HPEN CreatePen(int style, int width, COLORREF color);
  HBRUSH CreateSolidBrush(COLORREF color);
  HFONT CreateFontIndirect(const LOGFONT& lf);
  HRGN CreateRectRgn(int left, int top, int right, int bottom);
  int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode);
  BOOL PtInRegion(HRGN rgn, int x, int y);
  HGDIOBJ GetStockObject(int which) const;
  // Selects a pen, brush or font into the DC and returns the one it replaces (0 on failure).
  HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
  // Fails for a stock object, an invalid handle, or an object selected into a DC.
  BOOL DeleteObject(HGDIOBJ object);

  BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
  BOOL LineTo(HDC dc, int x, int y);
  COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
  int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
  int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);

  COLORREF SetTextColor(HDC dc, COLORREF color);
  int SetBkMode(HDC dc, int mode);
  // `text` holds `count` bytes in the session's ANSI code page.
  BOOL TextOutA(HDC dc, int x, int y, const char* text, int count);
  int DrawTextA(HDC dc, const char* text, int count, RECT* rect, UINT format);

  // A memory DC drawing into `target`, with the default pen, brush and font selected.
  HDC CreateImageDC(Bitmap* target);
  BOOL DeleteDC(HDC dc);

  // Live pens, brushes, regions and fonts (stock objects and DCs not counted).
  std::size_t LiveObjectCount() const;
  // Pens, brushes and regions created so far: a painting that creates none drew nothing.
  std::size_t CreatedObjectCount() const;

  // The region behind a handle, for the window layer; nullptr for a bad handle.
  const Region* RegionOf(HRGN rgn);

  // The face asked for by the first text call that failed for want of any installed face
  // (fontconfig finds no fonts, or none of those it lists opens), or nothing while no call
  // has. The call fails as Win32's do; whoever shows the drawing has to refuse it.
  const std::optional<std::u16string>& MissingFace() const { return missingFace_; }

 private:
  struct StockObjects {
    HBRUSH whiteBrush, blackBrush, nullBrush;
    HPEN whitePen, blackPen, nullPen;
    HFONT systemFont, guiFont;
  };
  DcObject* Dc(HDC dc) { return objects_.Get<DcObject>(dc); }
  // The faces of the font selected into `dc`, resolved on first use; null when none (for
  // a font that has none, its face is kept as the missing one).
  const text::ResolvedFont* FontOf(const DcObject& dc);
  std::u16string Decode(const char* text, int count) const;
  text::FontLibrary& Fonts();

  const CodePage& codePage_;
  // Declared before the objects: fonts in the table point into the library's faces.
  std::unique_ptr<text::FontLibrary> fonts_;
  GdiObjectTable objects_;
  StockObjects stock_{};
  std::optional<std::u16string> missingFace_;
};

// SetRect keeps no state; it needs no session.
BOOL SetRect(RECT* rect, int left, int top, int right, int bottom);

// A cosmetic line from (x1, y1) to (x2, y2), end left out, of `argb` straight into `out`,
// where `clip` allows: a line shape as the host composes it, with LineTo's pixels.
void PaintCosmeticLine(Bitmap& out, LONG x1, LONG y1, LONG x2, LONG y2, std::uint32_t argb, const Region& clip);

}  // namespace xpkit
