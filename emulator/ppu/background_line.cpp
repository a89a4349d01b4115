#include "emulator/ppu/background_line.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

// GCC's dynamic __builtin_shuffle and its per-function targets give the byte-shuffle colourings;
// other compilers and hosts use the portable bit selects.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define WRENFOLD_BYTE_SHUFFLE 1
#endif

#include "emulator/machine_state/io_registers.h"
#include "emulator/ppu/ppu_scroll.h"

namespace wrenfold {

namespace {

// Sixteen pixels, the rows of two neighbouring tiles, one byte each. The vector extension
// lets the compiler use whatever the host has (SSE2, NEON, or plain words) for the arithmetic.
using PairPixels = uint8_t __attribute__((vector_size(16)));
using PairRows = uint64_t __attribute__((vector_size(16)));

constexpr uint8_t kGreyColumn = 0x30;

constexpr uint32_t kCacheTableSize = 0x4000;  // cache bytes of one pattern table
constexpr uint32_t kCacheTileSize = 64;
constexpr uint32_t kCacheRowSize = 8;

constexpr uint16_t kNameTableBase = 0x2000;
constexpr uint16_t kNameTableSelect = 0x0C00;  // the name-table bits of the scroll
constexpr uint16_t kAttributeOffset = 0x03C0;
constexpr int kColumnsPerTable = 32;
constexpr int kTileWidth = 8;
constexpr int kLineWidth = 256;
// A line needs 32 tiles, 33 when fine X cuts the first; starting on the even column left of
// an odd coarse X adds one more, so 17 pairs always cover it.
constexpr int kMaxPairs = 17;

// One line's tile row in one name table: its 32 tile numbers, and the palettes of its 16 pairs
// from the attribute row above them, two bits each: pair k (columns 2k and 2k + 1) at bits
// 2k and 2k + 1, so the pair from column c takes bits c and c + 1.
struct TableRow {
  const uint8_t* names;
  uint32_t pairPalettes;
};

// One attribute byte covers 4 x 4 tiles in quadrants of 2 x 2: bits 0-1 the upper left, 2-3
// the upper right, 4-5 the lower left, 6-7 the lower right. A line's half of each byte is
// one nibble, the palettes of two pairs.
TableRow RowOf(const MachineState& machine, uint16_t table, uint16_t coarseY) {
  const uint16_t base = kNameTableBase | table;
  const uint8_t* attributes = &machine.ppuMem[base | kAttributeOffset | ((coarseY >> 2) << 3)];
  const int lowerHalf = (coarseY & 2) ? 4 : 0;
  uint32_t pairPalettes = 0;
  if constexpr (std::endian::native == std::endian::little) {
    // All eight bytes in one word, byte i in bits 8i-8i+7: keep the line's nibble of each and
    // close the gaps between them in three steps.
    uint64_t nibbles;
    std::memcpy(&nibbles, attributes, sizeof nibbles);
    nibbles = (nibbles >> lowerHalf) & 0x0F0F0F0F0F0F0F0F;
    nibbles = (nibbles | (nibbles >> 4)) & 0x00FF00FF00FF00FF;
    nibbles = (nibbles | (nibbles >> 8)) & 0x0000FFFF0000FFFF;
    pairPalettes = static_cast<uint32_t>(nibbles | (nibbles >> 16));
  } else {
    for (int i = 0; i < 8; ++i) {
      pairPalettes |= static_cast<uint32_t>((attributes[i] >> lowerHalf) & 0x0F) << (4 * i);
    }
  }
  return {&machine.ppuMem[base | (coarseY << 5)], pairPalettes};
}

// The pattern row every tile of the line is drawn from: row fine Y of tile 0 in the cache of
// the background's table.
struct LineSource {
  const uint8_t* patternRows;
};

[[gnu::always_inline]] inline PairPixels LoadTilePair(const LineSource& line,
                                                      const uint8_t* names) {
  uint64_t left;
  uint64_t right;
  std::memcpy(&left, line.patternRows + names[0] * kCacheTileSize, sizeof left);
  std::memcpy(&right, line.patternRows + names[1] * kCacheTileSize, sizeof right);
  return std::bit_cast<PairPixels>(PairRows{left, right});
}

[[gnu::always_inline]] inline int PaletteOf(const TableRow& row, int column) {
  return (row.pairPalettes >> column) & 3;
}

// The sixteen background palette entries as they are shown, greyscale applied.
std::array<uint8_t, 16> ShownEntries(const MachineState& machine) {
  const uint8_t shown = (machine.cpuMem[kPpuMask] & kMaskGreyscale) ? kGreyColumn : 0xFF;
  std::array<uint8_t, 16> entries;
  for (std::size_t i = 0; i < entries.size(); ++i) entries[i] = machine.paletteRam[i] & shown;
  return entries;
}

// The pairs from `column` (even) up to `endColumn` of one table row, stored from `out` on.
template <class Colours>
[[gnu::always_inline]] inline uint8_t* DrawPairs(uint8_t* out, const LineSource& line,
                                                 const TableRow& row, int column, int endColumn,
                                                 const Colours& colours) {
  for (; column < endColumn; column += 2) {
    const PairPixels pixels =
        colours.Colour(LoadTilePair(line, row.names + column), PaletteOf(row, column));
    std::memcpy(out, &pixels, sizeof pixels);
    out += sizeof pixels;
  }
  return out;
}

// Bit 0 of each pixel picks between colours 0 and 1 (and between 2 and 3), then bit 1
// between the two results: a few vector operations for sixteen pixels, on any host.
class BitSelectColours {
 public:
  explicit BitSelectColours(const std::array<uint8_t, 16>& entries) {
    for (std::size_t p = 0; p < choices.size(); ++p) {
      const uint8_t* colour = &entries[p * 4];
      choices[p] = {Spread(colour[0]), Spread(colour[0] ^ colour[1]), Spread(colour[2]),
                    Spread(colour[2] ^ colour[3])};
    }
  }

  [[gnu::always_inline]] uint8_t* DrawRun(uint8_t* out, const LineSource& line, const TableRow& row,
                                          int column, int endColumn) const {
    return DrawPairs(out, line, row, column, endColumn, *this);
  }

  [[gnu::always_inline]] PairPixels Colour(PairPixels pixels, int palette) const {
    const Choice& choice = choices[palette];
    // Only the two low bits of a cache byte are the pixel (a restored state may hold more).
    const auto bit0 = std::bit_cast<PairPixels>((pixels & 1) == 1);
    const auto bit1 = std::bit_cast<PairPixels>((pixels & 2) == 2);
    const PairPixels low = choice.colour0 ^ (choice.flip01 & bit0);
    const PairPixels high = choice.colour2 ^ (choice.flip23 & bit0);
    return low ^ ((low ^ high) & bit1);
  }

 private:
  // flip01 turns colour 0 into colour 1 by exclusive or; flip23 colour 2 into colour 3.
  struct Choice {
    PairPixels colour0;
    PairPixels flip01;
    PairPixels colour2;
    PairPixels flip23;
  };

  static PairPixels Spread(uint8_t colour) { return PairPixels{} + colour; }

  std::array<Choice, 4> choices;
};

#ifdef WRENFOLD_BYTE_SHUFFLE
// A byte shuffle looks sixteen pixels up at once in the sixteen entries, indexed by
// palette * 4 + pixel.
class ByteShuffleColours {
 public:
  explicit ByteShuffleColours(const std::array<uint8_t, 16>& entries) {
    std::memcpy(&table, entries.data(), sizeof table);
    for (std::size_t p = 0; p < paletteBits.size(); ++p) {
      paletteBits[p] = PairPixels{} + static_cast<uint8_t>(p * 4);
    }
  }

  [[gnu::always_inline]] uint8_t* DrawRun(uint8_t* out, const LineSource& line, const TableRow& row,
                                          int column, int endColumn) const {
    return DrawPairs(out, line, row, column, endColumn, *this);
  }

  [[gnu::always_inline]] PairPixels Colour(PairPixels pixels, int palette) const {
    // Only the two low bits of a cache byte are the pixel (a restored state may hold more).
    return __builtin_shuffle(table, (pixels & 3) | paletteBits[palette]);
  }

 private:
  PairPixels table;
  std::array<PairPixels, 4> paletteBits;  // palette * 4 in every byte
};
#endif

// Pairs from the even column at or left of coarse X into a line buffer, past column 31 into
// the neighbouring table, then the 256 pixels from coarse X's tile and fine X on.
template <class Colours>
[[gnu::always_inline]] inline void DrawLine(const MachineState& machine, uint8_t* front,
                                            uint16_t scroll, uint8_t fineX) {
  const Colours colours(ShownEntries(machine));
  const uint16_t coarseY = (scroll & kScrollCoarseY) >> 5;
  const LineSource line{machine.patternCache +
                        ((machine.cpuMem[kPpuCtrl] & kCtrlBackgroundTable1) ? kCacheTableSize : 0) +
                        FineYOf(scroll) * kCacheRowSize};

  const int coarseX = scroll & kScrollCoarseX;
  const int firstColumn = coarseX & ~1;
  const int tileCount = (coarseX & 1) + kColumnsPerTable + (fineX != 0 ? 1 : 0);
  const int endColumn = firstColumn + ((tileCount + 1) & ~1);

  // A line that starts on a pair's first pixel is exactly its 16 pairs, drawn in place.
  const int skipped = (coarseX & 1) * kTileWidth + fineX;
  uint8_t pixels[kMaxPairs * 2 * kTileWidth];
  uint8_t* const start = skipped == 0 ? front : pixels;
  const TableRow here = RowOf(machine, scroll & kNameTableSelect, coarseY);
  uint8_t* out =
      colours.DrawRun(start, line, here, firstColumn, std::min(endColumn, kColumnsPerTable));
  if (endColumn > kColumnsPerTable) {
    const TableRow next = RowOf(machine, (scroll ^ kScrollTableX) & kNameTableSelect, coarseY);
    colours.DrawRun(out, line, next, 0, endColumn - kColumnsPerTable);
  }
  if (skipped != 0) std::memcpy(front, pixels + skipped, kLineWidth);
}

#ifdef WRENFOLD_BYTE_SHUFFLE
// Compiled for SSSE3, whose PSHUFB is the byte shuffle; called only where the host has it.
[[gnu::target("ssse3")]] void DrawLineByteShuffle(const MachineState& machine, uint8_t* front,
                                                  uint16_t scroll, uint8_t fineX) {
  DrawLine<ByteShuffleColours>(machine, front, scroll, fineX);
}

// The palette bits of two pairs side by side, for every two palettes: `(pairPalettes >> column)
// & 15` picks the entry of the pairs from `column` and `column + 2`, palette * 4 in each byte
// of its pair.
struct TwoPairPaletteBits {
  alignas(32) uint8_t bytes[16][32];
};

constexpr TwoPairPaletteBits MakeTwoPairPaletteBits() {
  TwoPairPaletteBits bits{};
  for (int palettes = 0; palettes < 16; ++palettes) {
    for (int i = 0; i < 32; ++i) {
      bits.bytes[palettes][i] = static_cast<uint8_t>(((i < 16 ? palettes : palettes >> 2) & 3) * 4);
    }
  }
  return bits;
}

constexpr TwoPairPaletteBits kTwoPairPaletteBits = MakeTwoPairPaletteBits();

// The byte shuffle of AVX2, two pairs a step: its two 128-bit halves look up alike, one pair
// each, in the sixteen entries held in both halves.
class WideShuffleColours {
 public:
  explicit WideShuffleColours(const std::array<uint8_t, 16>& entries) : entries(entries) {}

  [[gnu::target("avx2")]] uint8_t* DrawRun(uint8_t* out, const LineSource& line,
                                           const TableRow& row, int column, int endColumn) const {
    const __m128i table = _mm_loadu_si128(reinterpret_cast<const __m128i*>(entries.data()));
    const __m256i wideTable = _mm256_broadcastsi128_si256(table);
    // Only the two low bits of a cache byte are the pixel (a restored state may hold more).
    const __m256i pixelBits = _mm256_set1_epi8(3);
    for (; column + 4 <= endColumn; column += 4) {
      const __m256i pixels =
          _mm256_inserti128_si256(_mm256_castsi128_si256(LoadPair(line, row.names + column)),
                                  LoadPair(line, row.names + column + 2), 1);
      const __m256i palettes = _mm256_load_si256(reinterpret_cast<const __m256i*>(
          kTwoPairPaletteBits.bytes[(row.pairPalettes >> column) & 15]));
      const __m256i index = _mm256_or_si256(_mm256_and_si256(pixels, pixelBits), palettes);
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_shuffle_epi8(wideTable, index));
      out += 32;
    }
    if (column < endColumn) {  // an odd pair at the end of the run
      const __m128i palettes = _mm_load_si128(reinterpret_cast<const __m128i*>(
          kTwoPairPaletteBits.bytes[(row.pairPalettes >> column) & 3]));
      const __m128i index = _mm_or_si128(
          _mm_and_si128(LoadPair(line, row.names + column), _mm_set1_epi8(3)), palettes);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(table, index));
      out += 16;
    }
    return out;
  }

 private:
  [[gnu::target("avx2")]] static __m128i LoadPair(const LineSource& line, const uint8_t* names) {
    uint64_t left;
    uint64_t right;
    std::memcpy(&left, line.patternRows + names[0] * kCacheTileSize, sizeof left);
    std::memcpy(&right, line.patternRows + names[1] * kCacheTileSize, sizeof right);
    return _mm_set_epi64x(static_cast<long long>(right), static_cast<long long>(left));
  }

  std::array<uint8_t, 16> entries;
};

// Compiled for AVX2; called only where the host has it.
[[gnu::target("avx2")]] void DrawLineWideShuffle(const MachineState& machine, uint8_t* front,
                                                 uint16_t scroll, uint8_t fineX) {
  DrawLine<WideShuffleColours>(machine, front, scroll, fineX);
}
#endif

}  // namespace

bool HostRuns(BackgroundColouring colouring) {
  switch (colouring) {
    case BackgroundColouring::kBitSelect:
      return true;
    case BackgroundColouring::kByteShuffle:
    case BackgroundColouring::kWideShuffle:
#ifdef WRENFOLD_BYTE_SHUFFLE
      __builtin_cpu_init();
      return colouring == BackgroundColouring::kByteShuffle ? __builtin_cpu_supports("ssse3")
                                                            : __builtin_cpu_supports("avx2");
#else
      return false;
#endif
  }
  return false;
}

BackgroundColouring HostBackgroundColouring() {
  static const BackgroundColouring chosen = [] {
    for (const BackgroundColouring colouring :
         {BackgroundColouring::kWideShuffle, BackgroundColouring::kByteShuffle}) {
      if (HostRuns(colouring)) return colouring;
    }
    return BackgroundColouring::kBitSelect;
  }();
  return chosen;
}

void DrawBackgroundLine(const MachineState& machine, uint8_t* front, uint16_t scroll, uint8_t fineX,
                        BackgroundColouring colouring) {
#ifdef WRENFOLD_BYTE_SHUFFLE
  // A colouring the host lacks falls back to the bit selects rather than fault.
  static const bool hasByteShuffle = HostRuns(BackgroundColouring::kByteShuffle);
  static const bool hasWideShuffle = HostRuns(BackgroundColouring::kWideShuffle);
  if (colouring == BackgroundColouring::kWideShuffle && hasWideShuffle) {
    DrawLineWideShuffle(machine, front, scroll, fineX);
    return;
  }
  if (colouring == BackgroundColouring::kByteShuffle && hasByteShuffle) {
    DrawLineByteShuffle(machine, front, scroll, fineX);
    return;
  }
#else
  (void)colouring;
#endif
  DrawLine<BitSelectColours>(machine, front, scroll, fineX);
}

}  // namespace wrenfold
