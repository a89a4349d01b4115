#include "emulator/ppu/renderer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "emulator/machine_state/io_registers.h"
#include "emulator/ppu/background_line.h"
#include "emulator/ppu/ppu_scroll.h"

namespace wrenfold {

namespace {

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
constexpr uint8_t kGreyColumn = 0x30;  // greyscale keeps a colour number's brightness row

// Name-table addresses are $2000 plus the coarse X, coarse Y and table bits of the scroll.
constexpr uint16_t kNameTableBase = 0x2000;
constexpr uint16_t kNameTableBits = 0x0FFF;
constexpr uint16_t kAttributeOffset = 0x03C0;

// Moves the name-table address to the next tile of the line: past column 31 back to column 0,
// in the neighbouring table when the line is scrolled.
uint16_t NextTileAddress(uint16_t nameAddress, uint32_t phase) {
  ++nameAddress;
  if ((nameAddress & kScrollCoarseX) == 0) {
    nameAddress -= 32;
    if (phase != 0) nameAddress ^= kScrollTableX;
  }
  return nameAddress;
}

// Eight pixels at a time: a row of eight pattern-cache bytes is loaded as one word, and each
// pixel's two bits are spread into whole-byte masks, so that a few word operations colour
// the row and tell its opaque pixels apart, without a branch per pixel.
constexpr uint64_t kEveryByte = 0x0101010101010101;

struct PixelMasks {
  uint64_t bit0;  // 0xFF in the bytes of the pixels whose bit 0 is set
  uint64_t bit1;  // the same for bit 1
};

PixelMasks LoadPatternRow(const uint8_t* pattern, bool mirrored) {
  uint64_t pixels;
  std::memcpy(&pixels, pattern, sizeof pixels);
  // Reversing the bytes reverses the pixels in memory order, whatever the host's byte order.
  if (mirrored) pixels = __builtin_bswap64(pixels);
  return {(pixels & kEveryByte) * 0xFF, ((pixels >> 1) & kEveryByte) * 0xFF};
}

// `colours` holds the four colours of a palette, each repeated in all eight bytes of a word.
// Bit 0 picks between colours 0 and 1 (and 2 and 3), then bit 1 between the two pairs.
uint64_t ColourPixels(const PixelMasks& masks, const uint64_t* colours) {
  const uint64_t lowPair = (colours[0] & ~masks.bit0) | (colours[1] & masks.bit0);
  const uint64_t highPair = (colours[2] & ~masks.bit0) | (colours[3] & masks.bit0);
  return (lowPair & ~masks.bit1) | (highPair & masks.bit1);
}

// The colours of the palette entries from `first` on, each repeated in all eight bytes of a
// word.
template <std::size_t kCount>
std::array<uint64_t, kCount> SpreadPaletteEntries(const MachineState& machine, std::size_t first) {
  std::array<uint64_t, kCount> words;
  for (std::size_t i = 0; i < kCount; ++i) words[i] = machine.paletteRam[first + i] * kEveryByte;
  if (machine.cpuMem[kPpuMask] & kMaskGreyscale) {
    for (uint64_t& word : words) word &= kGreyColumn * kEveryByte;
  }
  return words;
}

// What stays the same for every background tile of one line: coarse Y, and with it the
// attribute row and the half of each attribute byte; the pattern row; the palettes.
class BackgroundLine {
 public:
  BackgroundLine(const MachineState& machine, uint16_t nameAddress, uint8_t fineY)
      : machine(machine),
        patternRows(machine.patternCache +
                    ((machine.cpuMem[kPpuCtrl] & kCtrlBackgroundTable1) ? kCacheTableSize : 0) +
                    fineY * kCacheRowSize),
        colourWords(SpreadPaletteEntries<16>(machine, 0)) {
    const uint16_t coarseY = (nameAddress & kScrollCoarseY) >> 5;
    attributeRow = kNameTableBase | kAttributeOffset | ((coarseY >> 2) << 3);
    attributeShiftY = (coarseY & 2) ? 4 : 0;
  }

  // The eight pixels of the tile at `nameAddress` on this line, in screen order.
  uint64_t TileRow(uint16_t nameAddress) const {
    const uint8_t tile = machine.ppuMem[nameAddress & 0x3FFF];
    // One attribute byte covers 4 x 4 tiles; bit 1 of each coarse coordinate picks the quadrant.
    const uint16_t column = nameAddress & kScrollCoarseX;
    const uint8_t attribute = machine.ppuMem[attributeRow | (nameAddress & 0x0C00) | (column >> 2)];
    const int shift = attributeShiftY + (nameAddress & 2);
    const uint64_t* colours = &colourWords[((attribute >> shift) & 3) * 4];
    return ColourPixels(LoadPatternRow(patternRows + tile * kCacheTileSize, false), colours);
  }

 private:
  const MachineState& machine;
  const uint8_t* patternRows;  // row fineY of tile 0 in the cache of the background's table
  std::array<uint64_t, 16> colourWords;  // the four background palettes
  uint16_t attributeRow;
  int attributeShiftY;
};

// Draws the background into `front` a tile at a time for a board whose fetch hook watches the
// tiles: the hook sees each tile number as it is fetched, one tile ahead of drawing, and may
// switch the patterns the next tile is drawn with. Whole tiles go into a line buffer (33 of
// them when fine X cuts the first and the last), and the 256 pixels from fine X on are copied
// out of it.
void DrawBackgroundWithFetches(MachineState& machine, uint8_t* front, uint16_t nameAddress,
                               uint32_t phase, uint8_t fineY, PpuFetchHook ppuFetch) {
  const uint32_t fineX = phase & 7;
  const BackgroundLine background(machine, nameAddress, fineY);
  constexpr int kTilesPerLine = kPictureWidth / 8;
  uint8_t pixels[(kTilesPerLine + 1) * 8];

  for (int tile = 0; tile < kTilesPerLine; ++tile) {
    const uint64_t row = background.TileRow(nameAddress);
    std::memcpy(pixels + tile * 8, &row, sizeof row);
    nameAddress = NextTileAddress(nameAddress, phase);
    ppuFetch(machine, machine.ppuMem[nameAddress & 0x3FFF]);
  }
  // The 33rd tile shows only when the line starts inside the first; the address stays on it.
  if (fineX != 0) {
    const uint64_t row = background.TileRow(nameAddress);
    std::memcpy(pixels + kTilesPerLine * 8, &row, sizeof row);
  }
  std::memcpy(front, pixels + fineX, kPictureWidth);
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

// Draws one sprite's row of eight pixels into `layer` from column x, clipped at the right
// edge of the picture. Opaque pixels replace what the layer holds; transparent ones keep it.
void DrawSpriteRow(const MachineState& machine, uint8_t* layer, int x, uint32_t offset,
                   uint8_t attributes) {
  const PixelMasks masks =
      LoadPatternRow(machine.patternCache + offset, (attributes & kSpriteFlipHorizontal) != 0);
  const uint64_t opaque = masks.bit0 | masks.bit1;
  // Colour 0 is transparent, so its word is never chosen for a drawn pixel.
  const std::size_t palette = kSpritePaletteStart + 4 * (attributes & kSpritePalette);
  const std::array<uint64_t, 4> colours = SpreadPaletteEntries<4>(machine, palette);
  const uint64_t drawn = ColourPixels(masks, colours.data());
  if (x <= kPictureWidth - 8) {
    uint64_t row;
    std::memcpy(&row, layer + x, sizeof row);
    row = (row & ~opaque) | (drawn & opaque);
    std::memcpy(layer + x, &row, sizeof row);
    return;
  }
  uint8_t pixels[8];
  uint8_t opaqueBytes[8];
  std::memcpy(pixels, &drawn, sizeof drawn);
  std::memcpy(opaqueBytes, &opaque, sizeof opaque);
  for (int c = 0; x + c < kPictureWidth; ++c) {
    if (opaqueBytes[c] != 0) layer[x + c] = pixels[c];
  }
}

// Bit n of the result is set when sprite n covers `line` (0-239). Sprite n covers the lines
// from its Y byte + 1 on, so the line needs a Y byte from line - height to line - 1: none
// for line 0, and Y 255 covers no line of the picture. All 64 are tested at once, without a
// branch per sprite: which sprites a line meets changes from line to line, so such branches
// would often be guessed wrong.
#if defined(__SSE2__)
#if defined(__x86_64__) && defined(__GNUC__)
#define WRENFOLD_WIDE_SPRITE_TEST 1
// As below, thirty-two sprites a step. AVX2 packs within each 128-bit half, which leaves the
// groups of four sprites out of order; one permutation puts them back.
[[gnu::target("avx2")]] uint64_t SpritesOnLineWide(const MachineState& machine, int lowest,
                                                   int span) {
  const __m256i yByte = _mm256_set1_epi32(0xFF);
  const __m256i lowestY = _mm256_set1_epi8(static_cast<char>(lowest));
  const __m256i spanY = _mm256_set1_epi8(static_cast<char>(span));
  const __m256i groupOrder = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
  uint64_t onLine = 0;
  for (int half = 0; half < 2; ++half) {
    const uint8_t* entries = machine.oam + half * 128;
    __m256i quarter[4];
    for (int q = 0; q < 4; ++q) {
      quarter[q] = _mm256_and_si256(
          _mm256_loadu_si256(reinterpret_cast<const __m256i*>(entries + q * 32)), yByte);
    }
    const __m256i packed = _mm256_packus_epi16(_mm256_packs_epi32(quarter[0], quarter[1]),
                                               _mm256_packs_epi32(quarter[2], quarter[3]));
    const __m256i ys = _mm256_permutevar8x32_epi32(packed, groupOrder);
    const __m256i below = _mm256_sub_epi8(ys, lowestY);
    const __m256i covers = _mm256_cmpeq_epi8(_mm256_min_epu8(below, spanY), below);
    onLine |= uint64_t{static_cast<uint32_t>(_mm256_movemask_epi8(covers))} << (half * 32);
  }
  return onLine;
}
#endif

// Sixteen sprites a step: their four-byte entries are cut to the Y byte and packed into one
// vector of sixteen Y bytes, and Y - lowest <= span is tested as min(Y - lowest, span) being
// Y - lowest, in unsigned bytes.
uint64_t SpritesOnLine(const MachineState& machine, int line, int height) {
  const int lowest = std::max(0, line - height);
  const int span = line - 1 - lowest;
  if (span < 0) return 0;
#ifdef WRENFOLD_WIDE_SPRITE_TEST
  static const bool hostHasAvx2 = __builtin_cpu_supports("avx2");
  if (hostHasAvx2) return SpritesOnLineWide(machine, lowest, span);
#endif
  const __m128i yByte = _mm_set1_epi32(0xFF);
  const __m128i lowestY = _mm_set1_epi8(static_cast<char>(lowest));
  const __m128i spanY = _mm_set1_epi8(static_cast<char>(span));
  uint64_t onLine = 0;
  for (int group = 0; group < kSpriteCount / 16; ++group) {
    const uint8_t* entries = machine.oam + group * 64;
    __m128i quarter[4];
    for (int q = 0; q < 4; ++q) {
      quarter[q] =
          _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(entries + q * 16)), yByte);
    }
    // Y bytes fit both packs unchanged, and the packs keep the sprites in order.
    const __m128i ys = _mm_packus_epi16(_mm_packs_epi32(quarter[0], quarter[1]),
                                        _mm_packs_epi32(quarter[2], quarter[3]));
    const __m128i below = _mm_sub_epi8(ys, lowestY);
    const __m128i covers = _mm_cmpeq_epi8(_mm_min_epu8(below, spanY), below);
    onLine |= uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(covers))} << (group * 16);
  }
  return onLine;
}
#else
// The byte loop compiles to vector compares where the host has them.
uint64_t SpritesOnLine(const MachineState& machine, int line, int height) {
  const int lowest = std::max(0, line - height);
  const int span = line - 1 - lowest;
  uint8_t covers[kSpriteCount];
  for (int n = 0; n < kSpriteCount; ++n) {
    covers[n] = static_cast<uint8_t>(machine.oam[n * 4] - lowest) <= span ? 1 : 0;
  }
  uint64_t onLine = 0;
  for (int n = 0; n < kSpriteCount; ++n) onLine |= uint64_t{covers[n]} << n;
  return onLine;
}
#endif

// Sprite 63 first, so that a lower-numbered sprite ends on top within its layer. Returns the
// columns drawn into the rear layer.
RearSpan DrawSprites(const MachineState& machine, uint8_t* front, uint8_t* rear, int line) {
  const uint8_t ctrl = machine.cpuMem[kPpuCtrl];
  const bool leftColumnAllowed = (machine.cpuMem[kPpuMask] & kMaskSpritesLeft) != 0;
  const int height = SpriteHeight(ctrl);

  uint64_t onLine = SpritesOnLine(machine, line, height);
  RearSpan behindSpan{kPictureWidth, 0};
  while (onLine != 0) {
    const int n = std::bit_width(onLine) - 1;  // the highest-numbered sprite left
    onLine &= ~(uint64_t{1} << n);
    const uint8_t* sprite = &machine.oam[n * 4];
    const int row = line - (sprite[0] + 1);
    const uint8_t tile = sprite[1];
    const uint8_t attributes = sprite[2];
    const int x = sprite[3];
    // A sprite reaching into the masked column is left out whole, not clipped.
    if (!leftColumnAllowed && x < kLeftColumnWidth) continue;
    const bool behind = (attributes & kSpriteBehindBackground) != 0;
    if (behind) {
      behindSpan.left = std::min(behindSpan.left, x);
      behindSpan.right = std::max(behindSpan.right, std::min(x + 8, kPictureWidth));
    }
    DrawSpriteRow(machine, behind ? rear : front, x, SpriteRowOffset(ctrl, tile, attributes, row),
                  attributes);
  }
  return behindSpan;
}

}  // namespace

uint8_t ShownColourBits(const MachineState& machine) {
  return (machine.cpuMem[kPpuMask] & kMaskGreyscale) ? kGreyColumn : 0xFF;
}

uint8_t BackdropColour(const MachineState& machine) {
  return machine.paletteRam[0] & ShownColourBits(machine);
}

RearSpan RenderLine(MachineState& machine, uint8_t* front, uint8_t* rear, int line, int /*pitch*/,
                    PpuFetchHook ppuFetch) {
  if (front == nullptr || rear == nullptr || line < 0 || line >= kPictureHeight) return {};

  // The frame driver has moved the scroll to this line (ppu_scroll.h).
  const uint16_t scroll = machine.ppu.vramAddr;
  const uint8_t fineY = FineYOf(scroll);
  // A restored state may hold any byte here; fine X is three bits wide.
  const uint8_t fineX = machine.ppu.fineX & 7;
  const uint32_t phase = fineX + 8 * (scroll & kScrollCoarseX);
  const uint16_t nameAddress = kNameTableBase | (scroll & kNameTableBits);

  if (machine.cpuMem[kPpuMask] & kMaskBackground) {
    if (ppuFetch != nullptr) {
      DrawBackgroundWithFetches(machine, front, nameAddress, phase, fineY, ppuFetch);
    } else {
      DrawBackgroundLine(machine, front, scroll, fineX, HostBackgroundColouring());
    }
    // The masked column is transparent background: the backdrop, and sprites behind it show.
    if ((machine.cpuMem[kPpuMask] & kMaskBackgroundLeft) == 0) {
      std::memset(front, BackdropColour(machine), kLeftColumnWidth);
    }
  } else {
    // No background: the line is the backdrop, under and over which the sprites are drawn.
    std::memset(front, BackdropColour(machine), kPictureWidth);
  }

  CheckSprite0Hit(machine, line);
  if ((machine.cpuMem[kPpuMask] & kMaskSprites) == 0) return {};
  return DrawSprites(machine, front, rear, line);
}

}  // namespace wrenfold
