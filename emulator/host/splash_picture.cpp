#include "emulator/host/splash_picture.h"

#include <array>
#include <cstdlib>
#include <string_view>

namespace wrenfold {
namespace {

constexpr int kGlyphColumns = 5;
constexpr int kGlyphRows = 7;
using Glyph = std::array<std::string_view, kGlyphRows>;

// clang-format off
constexpr Glyph kW = {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"};
constexpr Glyph kR = {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"};
constexpr Glyph kE = {"#####", "#....", "#....", "####.", "#....", "#....", "#####"};
constexpr Glyph kN = {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"};
constexpr Glyph kF = {"#####", "#....", "#....", "####.", "#....", "#....", "#...."};
constexpr Glyph kO = {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."};
constexpr Glyph kL = {"#....", "#....", "#....", "#....", "#....", "#....", "#####"};
constexpr Glyph kD = {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."};
// clang-format on

constexpr std::array<const Glyph*, 8> kName = {&kW, &kR, &kE, &kN, &kF, &kO, &kL, &kD};

constexpr int kBlock = 10;  // screen pixels per glyph cell
constexpr int kLetterPitch = (kGlyphColumns + 1) * kBlock;
constexpr int kNameWidth = static_cast<int>(kName.size()) * kLetterPitch - kBlock;
constexpr int kNameLeft = (kSplashWidth - kNameWidth) / 2;
constexpr int kNameTop = 40;
constexpr int kShadowOffset = 4;
constexpr int kHighlightRows = 2;

constexpr int kOuterFrame = 3;
constexpr int kInnerFrame = 4;

// The folded ribbon under the name: a zigzag line.
constexpr int kRibbonLeft = kNameLeft;
constexpr int kRibbonRight = kNameLeft + kNameWidth - 1;
constexpr int kRibbonMiddle = 155;
constexpr int kRibbonHalfPeriod = 20;
constexpr int kRibbonThickness = 3;

void FillRect(uint8_t* topLeft, int pitch, int x, int y, int width, int height, uint8_t index) {
  for (int row = y; row < y + height; ++row) {
    uint8_t* line = topLeft + static_cast<std::ptrdiff_t>(row) * pitch;
    for (int column = x; column < x + width; ++column) line[column] = index;
  }
}

void DrawFrame(uint8_t* topLeft, int pitch) {
  FillRect(topLeft, pitch, 0, 0, kSplashWidth, kSplashHeight, kSplashFrameOuter);
  const int inner = kOuterFrame;
  FillRect(topLeft, pitch, inner, inner, kSplashWidth - 2 * inner, kSplashHeight - 2 * inner,
           kSplashFrameInner);
  const int field = kOuterFrame + kInnerFrame;
  FillRect(topLeft, pitch, field, field, kSplashWidth - 2 * field, kSplashHeight - 2 * field,
           kSplashBackground);
}

// Draws the name's cells with `draw(x, y)` for the top-left corner of every lit cell.
template <typename DrawCell>
void ForEachLitCell(DrawCell draw) {
  for (std::size_t letter = 0; letter < kName.size(); ++letter) {
    const Glyph& glyph = *kName[letter];
    const int left = kNameLeft + static_cast<int>(letter) * kLetterPitch;
    for (int row = 0; row < kGlyphRows; ++row) {
      for (int column = 0; column < kGlyphColumns; ++column) {
        if (glyph[row][column] == '#') draw(left + column * kBlock, kNameTop + row * kBlock);
      }
    }
  }
}

void DrawName(uint8_t* topLeft, int pitch) {
  ForEachLitCell([&](int x, int y) {
    FillRect(topLeft, pitch, x + kShadowOffset, y + kShadowOffset, kBlock, kBlock, kSplashShadow);
  });
  ForEachLitCell([&](int x, int y) {
    FillRect(topLeft, pitch, x, y, kBlock, kBlock, kSplashLetter);
    FillRect(topLeft, pitch, x, y, kBlock, kHighlightRows, kSplashLetterLight);
  });
}

void DrawRibbon(uint8_t* topLeft, int pitch) {
  for (int x = kRibbonLeft; x <= kRibbonRight; ++x) {
    const int phase = (x - kRibbonLeft) % (2 * kRibbonHalfPeriod);
    const int rise = std::abs(phase - kRibbonHalfPeriod) - kRibbonHalfPeriod / 2;
    FillRect(topLeft, pitch, x, kRibbonMiddle + rise, 1, kRibbonThickness, kSplashFrameInner);
  }
}

}  // namespace

void DrawSplashPicture(uint8_t* topLeft, int pitch) {
  DrawFrame(topLeft, pitch);
  DrawName(topLeft, pitch);
  DrawRibbon(topLeft, pitch);
}

}  // namespace wrenfold
