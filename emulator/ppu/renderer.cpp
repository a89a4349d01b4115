#include "emulator/ppu/renderer.h"

#include <algorithm>
#include <array>

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/io_registers.h"

namespace wrenfold {

namespace {

// $2000 bits read here.
constexpr uint8_t kCtrlSpriteTable1 = 0x08;      // 8 x 8 sprites come from pattern table 1
constexpr uint8_t kCtrlBackgroundTable1 = 0x10;  // the background comes from pattern table 1
constexpr uint8_t kCtrlTallSprites = 0x20;       // 8 x 16 sprites

// $2001 bits.
constexpr uint8_t kMaskBackgroundLeft = 0x02;  // background shown in the leftmost 8 pixels
constexpr uint8_t kMaskSpritesLeft = 0x04;     // sprites allowed in the leftmost 8 pixels
constexpr uint8_t kMaskBackground = 0x08;
constexpr uint8_t kMaskSprites = 0x10;

// Sprite attribute bits.
constexpr uint8_t kSpriteFlipVertical = 0x80;
constexpr uint8_t kSpriteFlipHorizontal = 0x40;
constexpr uint8_t kSpriteBehindBackground = 0x20;
constexpr uint8_t kSpritePalette = 0x03;

constexpr uint32_t kCacheTableSize = 0x4000;  // cache bytes of one pattern table
constexpr uint32_t kCacheTileSize = 64;
constexpr uint32_t kCacheRowSize = 8;
constexpr int kLeftColumnWidth = 8;
constexpr int kSpriteCount = 64;
constexpr uint8_t kSpritePaletteStart = 16;

// vramAddr layout: coarse X in bits 0-4, coarse Y in bits 5-9, name table in bits 10-11.
constexpr uint16_t kCoarseXMask = 0x001F;
constexpr uint16_t kCoarseYMask = 0x03E0;
constexpr uint16_t kHorizontalTable = 0x0400;
constexpr uint16_t kVerticalTable = 0x0800;
constexpr uint16_t kNameTableBase = 0x2000;
constexpr uint16_t kAttributeOffset = 0x03C0;
constexpr uint16_t kRowStep = 32;               // name-table bytes per tile row
constexpr uint16_t kCoarseYPastRows = 30 << 5;  // the row after the 30 rows of a table

// MMC4 latch tiles and the pattern-table halves they switch.
constexpr uint8_t kLatchTileFd = 0xFD;
constexpr uint8_t kLatchTileFe = 0xFE;
constexpr uint8_t kMapperMmc4 = 10;

struct BackgroundTile {
  uint32_t cacheRow;    // cache offset of the tile's row on this line
  uint8_t paletteBase;  // 0, 4, 8 or 12
};

BackgroundTile FetchBackgroundTile(const MachineState& machine, uint16_t nameAddress,
                                   uint32_t tableBase, uint8_t fineY) {
  const uint8_t tile = machine.ppuMem[nameAddress & 0x3FFF];
  const uint16_t coarseX = nameAddress & kCoarseXMask;
  const uint16_t coarseY = (nameAddress & kCoarseYMask) >> 5;
  const uint16_t attributeAddress = (nameAddress & 0x0C00) | kNameTableBase | kAttributeOffset |
                                    (coarseX >> 2) | ((coarseY >> 2) << 3);
  const uint8_t attribute = machine.ppuMem[attributeAddress];
  // One attribute byte covers 4 x 4 tiles; bit 1 of each coarse coordinate picks the quadrant.
  const int shift = ((coarseX & 2) ? 2 : 0) + ((coarseY & 2) ? 4 : 0);
  return BackgroundTile{tableBase + tile * kCacheTileSize + fineY * kCacheRowSize,
                        static_cast<uint8_t>(((attribute >> shift) & 3) << 2)};
}

// Fetching tile $FD or $FE sets the board's latch for the pattern table the background is
// drawn from, and the 4 KB bank that latch value selects is copied into that table.
void SwitchMmc4Latch(MachineState& machine, uint8_t tile) {
  const bool table1 = (machine.cpuMem[kPpuCtrl] & kCtrlBackgroundTable1) != 0;
  uint8_t& latch = machine.mapper.mmc4Latch[table1 ? 1 : 0];
  // The latched bank was copied in when the latch or its bank register last changed.
  if (latch == tile) return;
  latch = tile;
  const uint8_t bank = machine.mapper.mmc4ChrBanks[(table1 ? 2 : 0) + (tile == kLatchTileFe)];
  const uint16_t window = table1 ? 0x1000 : 0x0000;
  CopyChrBank4k(machine, window, bank);
  for (uint32_t slot = window / kBank1k; slot < window / kBank1k + 4; ++slot) {
    machine.chrBankCache[slot] = kNoBankCached;
  }
}

// The four colours of one background tile, by pixel value 0-3.
using TileColours = std::array<uint8_t, 4>;

void DrawWholeTileRow(uint8_t* out, const uint8_t* pattern, const TileColours& colours) {
  for (int column = 0; column < 8; ++column) out[column] = colours[pattern[column] & 3];
}

// Moves the name-table address to the next tile of the line: past column 31 back to column 0,
// in the neighbouring table when the line is scrolled.
uint16_t NextTileAddress(uint16_t nameAddress, uint32_t phase) {
  ++nameAddress;
  if ((nameAddress & kCoarseXMask) == 0) {
    nameAddress -= 32;
    if (phase != 0) nameAddress ^= kHorizontalTable;
  }
  return nameAddress;
}

// Draws the background into `front` and returns the name-table address reached at the end
// of the line. The line is drawn a tile at a time: the first tile from fine X on, the last
// one cut where the line ends.
uint16_t DrawBackground(MachineState& machine, uint8_t* front, uint16_t nameAddress, uint32_t phase,
                        uint8_t fineY) {
  const uint8_t ctrl = machine.cpuMem[kPpuCtrl];
  const uint32_t tableBase = (ctrl & kCtrlBackgroundTable1) ? kCacheTableSize : 0;
  const bool mmc4 = machine.header.mapperNumber == kMapperMmc4;

  uint32_t firstColumn = phase & 7;
  for (uint32_t j = 0; j < kPictureWidth;) {
    const BackgroundTile tile = FetchBackgroundTile(machine, nameAddress, tableBase, fineY);
    const uint8_t* pattern = machine.patternCache + tile.cacheRow;
    // A local copy: the row's byte stores could otherwise alias palette memory and force a
    // reload for every pixel.
    const TileColours colours = {machine.paletteRam[tile.paletteBase],
                                 machine.paletteRam[tile.paletteBase + 1],
                                 machine.paletteRam[tile.paletteBase + 2],
                                 machine.paletteRam[tile.paletteBase + 3]};
    if (firstColumn == 0 && j + 8 <= kPictureWidth) {
      DrawWholeTileRow(front + j, pattern, colours);
      j += 8;
    } else {
      const uint32_t endColumn = std::min<uint32_t>(8, firstColumn + (kPictureWidth - j));
      for (uint32_t column = firstColumn; column < endColumn; ++column) {
        front[j++] = colours[pattern[column] & 3];
      }
      if (endColumn < 8) break;  // the line ended inside this tile
    }
    firstColumn = 0;

    nameAddress = NextTileAddress(nameAddress, phase);
    if (mmc4) {
      const uint8_t nextTile = machine.ppuMem[nameAddress & 0x3FFF];
      if (nextTile == kLatchTileFd || nextTile == kLatchTileFe) SwitchMmc4Latch(machine, nextTile);
    }
  }

  if ((machine.cpuMem[kPpuMask] & kMaskBackgroundLeft) == 0) {
    for (int j = 0; j < kLeftColumnWidth; ++j) front[j] = kHiddenColour;
  }
  return nameAddress;
}

void AdvanceVerticalScroll(MachineState& machine, uint16_t nameAddress, uint8_t fineY) {
  if (fineY != 7) {
    machine.ppu.fineY = static_cast<uint8_t>(fineY + 1);
    return;
  }
  machine.ppu.fineY = 0;
  uint16_t address = static_cast<uint16_t>(nameAddress + kRowStep);
  if ((address & kCoarseYMask) == kCoarseYPastRows) {
    // Below the 30 tile rows the picture continues in the other vertical name table.
    address = static_cast<uint16_t>((address & ~kCoarseYMask) ^ kVerticalTable);
  }
  machine.ppu.vramAddr = address;
}

// Cache offset of the row of a sprite's pattern that lies `row` lines below its top.
uint32_t SpriteRowOffset(uint8_t ctrl, uint8_t tile, uint8_t attributes, int row) {
  if (ctrl & kCtrlTallSprites) {
    if (attributes & kSpriteFlipVertical) row = 15 - row;
    // Bit 0 of the tile number picks the table; the even tile is the top half.
    return (tile & 1) * kCacheTableSize + (tile & 0xFE) * kCacheTileSize +
           (row & 7) * kCacheRowSize + (row >= 8 ? kCacheTileSize : 0);
  }
  if (attributes & kSpriteFlipVertical) row = 7 - row;
  return ((ctrl & kCtrlSpriteTable1) ? kCacheTableSize : 0) + tile * kCacheTileSize +
         row * kCacheRowSize;
}

int SpriteHeight(uint8_t ctrl) {
  return (ctrl & kCtrlTallSprites) ? 16 : 8;
}

// Sprite 0 hits on the first line where its row has an opaque pixel, wherever it stands
// horizontally and whatever the background holds there.
void CheckSprite0Hit(MachineState& machine, int line) {
  if (!machine.sprite0Armed) return;
  const uint8_t ctrl = machine.cpuMem[kPpuCtrl];
  const int top = machine.oam[0] + 1;  // Y = $FF puts the sprite below every line
  if (line < top || line >= top + SpriteHeight(ctrl)) return;
  const uint32_t offset = SpriteRowOffset(ctrl, machine.oam[1], machine.oam[2], line - top);
  for (uint32_t c = 0; c < 8; ++c) {
    if (machine.patternCache[offset + c] != 0) {
      machine.cpuMem[kPpuStatus] |= kStatusSprite0Hit;
      machine.sprite0Armed = 0;
      return;
    }
  }
}

// Sprite 63 first, so that a lower-numbered sprite ends on top within its layer.
void DrawSprites(const MachineState& machine, uint8_t* front, uint8_t* rear, int line) {
  const uint8_t ctrl = machine.cpuMem[kPpuCtrl];
  const bool leftColumnAllowed = (machine.cpuMem[kPpuMask] & kMaskSpritesLeft) != 0;
  const int height = SpriteHeight(ctrl);
  for (int n = kSpriteCount - 1; n >= 0; --n) {
    const uint8_t* sprite = &machine.oam[n * 4];
    const int top = sprite[0] + 1;
    const uint8_t tile = sprite[1];
    const uint8_t attributes = sprite[2];
    const int x = sprite[3];
    if (top >= kPictureHeight) continue;
    // A sprite reaching into the masked column is left out whole, not clipped.
    if (!leftColumnAllowed && x < kLeftColumnWidth) continue;
    if (line < top || line >= top + height) continue;

    const uint32_t offset = SpriteRowOffset(ctrl, tile, attributes, line - top);
    const uint8_t paletteBase =
        static_cast<uint8_t>(kSpritePaletteStart + 4 * (attributes & kSpritePalette));
    uint8_t* layer = (attributes & kSpriteBehindBackground) ? rear : front;
    for (int c = 0; c < 8; ++c) {
      const uint8_t pixel = machine.patternCache[offset + c] & 3;
      if (pixel == 0) continue;
      const int column = (attributes & kSpriteFlipHorizontal) ? x + 7 - c : x + c;
      if (column >= kPictureWidth) continue;
      layer[column] = machine.paletteRam[pixel | paletteBase];
    }
  }
}

}  // namespace

void RenderLine(MachineState& machine, uint8_t* front, uint8_t* rear, int line, int /*pitch*/) {
  if (front == nullptr || rear == nullptr || line < 0 || line >= kPictureHeight) return;

  // Coarse X and the horizontal table come from the latch on every line; the vertical part
  // carries on from the previous line except at the top of the picture.
  PpuLatches& ppu = machine.ppu;
  if (line == 0) {
    ppu.vramAddr = ppu.vramLatch & 0x0FFF;
  } else {
    ppu.vramAddr = (ppu.vramAddr & 0x0BE0) | (ppu.vramLatch & 0x041F);
  }
  // A restored state may hold any byte here; the scroll counters are three bits wide.
  const uint8_t fineY = ppu.fineY & 7;
  const uint32_t phase = (ppu.fineX & 7) + 8 * (ppu.vramAddr & kCoarseXMask);
  uint16_t nameAddress = ppu.vramAddr | kNameTableBase;

  if (machine.cpuMem[kPpuMask] & kMaskBackground) {
    nameAddress = DrawBackground(machine, front, nameAddress, phase, fineY);
  } else {
    for (int j = 0; j < kPictureWidth; ++j) front[j] = kHiddenColour;
  }
  AdvanceVerticalScroll(machine, nameAddress, fineY);

  CheckSprite0Hit(machine, line);
  if (machine.cpuMem[kPpuMask] & kMaskSprites) DrawSprites(machine, front, rear, line);
}

}  // namespace wrenfold
