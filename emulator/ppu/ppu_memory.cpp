#include "emulator/ppu/ppu_memory.h"

#include <algorithm>
#include <cstring>

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/mirroring.h"
#include "emulator/machine_state/io_registers.h"

namespace wrenfold {
namespace {

constexpr uint16_t kNameTableStart = 0x2000;
constexpr uint16_t kNameTableEnd = 0x3000;
constexpr uint8_t kPaletteEntryMask = 0x1F;
constexpr uint8_t kColourNumberMask = 0x3F;
constexpr uint32_t kPatternBytes = 0x2000;
constexpr uint32_t kBytesPerTile = 16;  // 8 rows of plane 0, then 8 rows of plane 1
constexpr uint32_t kTileCount = kPatternBytes / kBytesPerTile;
constexpr uint32_t kCacheBytesPerTile = 64;

static_assert(kTileCount * kCacheBytesPerTile == kPatternCacheSize);

// A palette entry holds a colour number, six bits: the top two bits of the byte are not kept.
void WritePalette(MachineState& machine, uint16_t address, uint8_t value) {
  value &= kColourNumberMask;
  if (address & 3) {
    machine.ppuMem[address & kPaletteMirrorMask] = value;
    machine.paletteRam[address & kPaletteEntryMask] = value;
  } else if ((address & 0x0C) == 0) {
    // $3F00 and $3F10: the backdrop colour, shared by all eight palettes.
    for (int entry = 0; entry < 32; entry += 4) {
      machine.ppuMem[kPaletteStart + entry] = value;
      machine.paletteRam[entry] = value;
    }
  }
  // Entry 0 of the other palettes always shows the backdrop, so their own writes are dropped.
}

// The eight pixels one plane byte gives a row, leftmost (bit 7) first, as 0 or `weight` each.
struct PlanePixels {
  uint8_t pixels[256][8];
};

constexpr PlanePixels SpreadPlane(uint8_t weight) {
  PlanePixels table{};
  for (int byte = 0; byte < 256; ++byte) {
    for (int column = 0; column < 8; ++column) {
      table.pixels[byte][column] = ((byte >> (7 - column)) & 1) ? weight : 0;
    }
  }
  return table;
}

constexpr PlanePixels kPlane0 = SpreadPlane(1);
constexpr PlanePixels kPlane1 = SpreadPlane(2);

// A row is the two planes' spread pixels added bytewise (no carries: 1 + 2 at most), eight at
// a time. Boards that switch CHR banks mid-frame re-decode whole tables, so this stays cheap.
void DecodeTile(MachineState& machine, uint32_t tile) {
  const uint8_t* planes = machine.ppuMem + tile * kBytesPerTile;
  uint8_t* pixels = machine.patternCache + tile * kCacheBytesPerTile;
  for (int row = 0; row < 8; ++row) {
    uint64_t low;
    uint64_t high;
    std::memcpy(&low, kPlane0.pixels[planes[row]], sizeof low);
    std::memcpy(&high, kPlane1.pixels[planes[row + 8]], sizeof high);
    const uint64_t rowPixels = low | high;
    std::memcpy(pixels + row * 8, &rowPixels, sizeof rowPixels);
  }
}

}  // namespace

void PpuWrite(MachineState& machine, uint16_t address, uint8_t value) {
  address &= kPpuAddressMask;
  if (address >= kPaletteStart) {
    WritePalette(machine, address, value);
  } else if (address >= kNameTableStart && address < kNameTableEnd) {
    WriteNameTable(machine, address, value);
  } else if (address >= kNameTableStart) {
    machine.ppuMem[address] = value;
  } else if (machine.header.chrBankCount == 0) {
    // Pattern RAM. Over CHR ROM a write changes nothing, as on the cartridge.
    WritePatternRam(machine, address, value);
    machine.patternDirty = 1;
  }
}

void DecodeAllTiles(MachineState& machine) {
  DecodeTileRange(machine, 0, kPatternBytes);
  machine.patternDirty = 0;
}

void DecodeTileRange(MachineState& machine, uint16_t start, uint32_t length) {
  // A range reaching past the pattern tables is cut at their end; 64-bit so no length wraps.
  const uint64_t first = start / kBytesPerTile;
  const uint64_t end = std::min<uint64_t>((uint64_t{start} + length) / kBytesPerTile, kTileCount);
  for (uint64_t tile = first; tile < end; ++tile) DecodeTile(machine, static_cast<uint32_t>(tile));
}

}  // namespace wrenfold
