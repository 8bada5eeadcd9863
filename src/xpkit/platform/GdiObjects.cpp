#include "xpkit/platform/GdiObjects.h"

#include "xpkit/platform/text/ResolvedFont.h"

namespace xpkit {
namespace {

// Handle layout: session tag in bits 25..31, kind in bits 22..24, generation in bits
// 14..21, slot in bits 0..13.
constexpr std::uint32_t kSlotBits = 14;
constexpr std::uint32_t kMaxSlots = 1u << kSlotBits;

HGDIOBJ MakeHandle(std::uint32_t tag, GdiKind kind, std::uint8_t generation, std::uint32_t slot) {
  return (tag << 25) | (static_cast<std::uint32_t>(kind) << 22) | (static_cast<std::uint32_t>(generation) << kSlotBits) |
         slot;
}

}  // namespace

HGDIOBJ GdiObjectTable::Insert(GdiKind kind, Payload payload, bool stock) {
  std::uint32_t index;
  if (!free_.empty()) {
    index = free_.back();
    free_.pop_back();
  } else {
    if (slots_.size() >= kMaxSlots) return 0;  // the table is full: creation fails
    index = static_cast<std::uint32_t>(slots_.size());
    slots_.emplace_back();
  }
  Slot& s = slots_[index];
  if (!stock) ++created_[static_cast<int>(kind)];
  s.kind = kind;
  s.used = true;
  s.stock = stock;
  s.payload = std::move(payload);
  return MakeHandle(tag_, kind, s.generation, index);
}

GdiObjectTable::Slot* GdiObjectTable::Find(HGDIOBJ h) {
  const std::uint32_t index = h & (kMaxSlots - 1);
  const auto kind = static_cast<GdiKind>((h >> 22) & 0x07);
  const auto generation = static_cast<std::uint8_t>(h >> kSlotBits);
  if ((h >> 25) != tag_ || index >= slots_.size()) return nullptr;
  Slot& s = slots_[index];
  if (!s.used || s.kind != kind || s.generation != generation) return nullptr;
  return &s;
}

bool GdiObjectTable::Remove(HGDIOBJ h) {
  Slot* s = Find(h);
  if (!s || s->stock) return false;
  s->used = false;
  s->selections = 0;
  s->payload = PenObject{};
  ++s->generation;
  free_.push_back(h & (kMaxSlots - 1));
  return true;
}

void GdiObjectTable::CountSelection(HGDIOBJ h, int change) {
  if (Slot* s = Find(h)) s->selections += static_cast<std::uint32_t>(change);
}

std::size_t GdiObjectTable::LiveCount(GdiKind kind) const {
  std::size_t n = 0;
  for (const Slot& s : slots_) {
    if (!s.used || s.stock) continue;
    if (kind == GdiKind{} ? s.kind != GdiKind::DC : s.kind == kind) ++n;
  }
  return n;
}

}  // namespace xpkit
