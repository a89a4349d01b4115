#include "emulator/ppu/renderer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "emulator/cart/mappers/mmc4_latch.h"
#include "emulator/machine_state/machine_state.h"
#include "emulator/ppu/ppu_memory.h"
#include "emulator/ppu/ppu_scroll.h"
#include "platform/surface8.h"

namespace wrenfold {
namespace {

constexpr uint16_t kCtrl = 0x2000;
constexpr uint16_t kMask = 0x2001;
constexpr uint16_t kStatus = 0x2002;
constexpr uint8_t kShowAll = 0x1E;  // background and sprites, both in the left column
constexpr uint8_t kHitFlag = 0x40;
constexpr uint8_t kColourBase = 0x20;  // palette entry i holds colour kColourBase + i

// Every tile of the pattern tables gets its own picture: row r of tile t (table 0) has
// plane 0 = t + r and plane 1 = its complement, so every pixel is 1 or 2 and two tiles
// or two rows never look alike. Table 1 inverts plane 0 and flips the right half of plane 1,
// so its columns 0-3 are opaque and columns 4-7 may be 0.
uint8_t Plane0(int table, int tile, int row) {
  const auto plane = static_cast<uint8_t>(tile + row);
  return table == 0 ? plane : static_cast<uint8_t>(~plane);
}
uint8_t Plane1(int table, int tile, int row) {
  return static_cast<uint8_t>(~Plane0(table, tile, row) ^ (table == 0 ? 0x00 : 0x0F));
}
uint8_t PatternPixel(uint8_t plane0, uint8_t plane1, int column) {
  return static_cast<uint8_t>(((plane0 >> (7 - column)) & 1) |
                              (((plane1 >> (7 - column)) & 1) << 1));
}
uint8_t TilePixel(int table, int tile, int row, int column) {
  return PatternPixel(Plane0(table, tile, row), Plane1(table, tile, row), column);
}

class RendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int table = 0; table < 2; ++table) {
      for (int tile = 0; tile < 256; ++tile) {
        for (int row = 0; row < 8; ++row) {
          const int base = table * 0x1000 + tile * 16 + row;
          machine->ppuMem[base] = Plane0(table, tile, row);
          machine->ppuMem[base + 8] = Plane1(table, tile, row);
        }
      }
    }
    DecodeAllTiles(*machine);
    for (int i = 0; i < 32; ++i) machine->paletteRam[i] = static_cast<uint8_t>(kColourBase + i);
    for (int n = 0; n < 64; ++n) machine->oam[n * 4] = 0xFF;  // every sprite below the picture
    machine->cpuMem[kMask] = kShowAll;
    machine->sprite0Armed = 1;
  }

  // Draws a line into the given rows as the frame driver does: the scroll is moved to the
  // line first and on past it afterwards.
  void DrawLine(int line, uint8_t* frontRow, uint8_t* rearRow) {
    if (line == 0) {
      StartFrameScroll(machine->ppu);
    } else {
      StartLineScroll(machine->ppu);
    }
    RenderLine(*machine, frontRow, rearRow, line, 256, ppuFetch);
    FinishLineScroll(machine->ppu);
  }

  void Render(int line) { DrawLine(line, front.data(), rear.data()); }

  // Renders lines 0 .. last from the top of a frame, leaving line `last` in the rows.
  void RenderThrough(int last) {
    for (int line = 0; line <= last; ++line) Render(line);
  }

  void SetNameTableTile(int table, int column, int row, uint8_t tile) {
    machine->ppuMem[0x2000 + table * 0x400 + row * 32 + column] = tile;
  }

  // Fills row `row` of name table `table` with tiles `first` + column.
  void FillNameTableRow(int table, int row, int first) {
    for (int column = 0; column < 32; ++column) {
      SetNameTableTile(table, column, row, static_cast<uint8_t>(first + column));
    }
  }

  void PlaceSprite(int n, uint8_t y, uint8_t tile, uint8_t attributes, uint8_t x) {
    machine->oam[n * 4] = y;
    machine->oam[n * 4 + 1] = tile;
    machine->oam[n * 4 + 2] = attributes;
    machine->oam[n * 4 + 3] = x;
  }

  // Makes tile `tile` of table `table` opaque (value `value`) in the columns of `columnMask`
  // (bit 7 = column 0) on every row, transparent elsewhere.
  void SetSolidTile(int table, int tile, uint8_t columnMask, uint8_t value = 1) {
    for (int row = 0; row < 8; ++row) SetTileRow(table, tile, row, columnMask, value);
  }
  void SetTileRow(int table, int tile, int row, uint8_t columnMask, uint8_t value = 1) {
    const int base = table * 0x1000 + tile * 16 + row;
    machine->ppuMem[base] = (value & 1) ? columnMask : 0;
    machine->ppuMem[base + 8] = (value & 2) ? columnMask : 0;
    DecodeTileRange(*machine, static_cast<uint16_t>(table * 0x1000 + tile * 16), 16);
  }

  std::unique_ptr<MachineState> machine = std::make_unique<MachineState>();
  // Separate heap rows of exactly 256 bytes, so a write past the row end is caught.
  std::vector<uint8_t> front = std::vector<uint8_t>(256, 0xEE);
  PpuFetchHook ppuFetch = nullptr;  // the board's fetch hook the lines are drawn with
  std::vector<uint8_t> rear = std::vector<uint8_t>(256, 0xEE);
};

uint8_t BackgroundColour(int table, int tile, int row, int column, int palette = 0) {
  return static_cast<uint8_t>(kColourBase + palette * 4 + TilePixel(table, tile, row, column));
}

// --- Background and scrolling -------------------------------------------------------------

TEST_F(RendererTest, UnscrolledLineShowsTheThirtyTwoTilesOfOneRow) {
  FillNameTableRow(0, 0, 0x10);
  FillNameTableRow(1, 0, 0x80);
  Render(0);
  for (int j = 0; j < 256; ++j) {
    ASSERT_EQ(front[j], BackgroundColour(0, 0x10 + j / 8, 0, j % 8)) << "pixel " << j;
  }
}

TEST_F(RendererTest, FineXStartsInsideTheFirstTileAndEndsInTheNeighbourTable) {
  FillNameTableRow(0, 0, 0x10);
  FillNameTableRow(1, 0, 0x80);
  machine->ppu.fineX = 3;
  Render(0);
  EXPECT_EQ(front[0], BackgroundColour(0, 0x10, 0, 3));
  EXPECT_EQ(front[5], BackgroundColour(0, 0x11, 0, 0));
  EXPECT_EQ(front[252], BackgroundColour(0, 0x10 + 31, 0, 7));
  // The 33rd tile, partly shown, is column 0 of the other horizontal name table.
  EXPECT_EQ(front[253], BackgroundColour(0, 0x80, 0, 0));
  EXPECT_EQ(front[255], BackgroundColour(0, 0x80, 0, 2));
}

TEST_F(RendererTest, CoarseScrollFromTheRightTableWrapsIntoTheLeftTable) {
  FillNameTableRow(0, 0, 0x10);
  FillNameTableRow(1, 0, 0x80);
  machine->ppu.vramLatch = 0x0400 | 28;  // right table, column 28
  Render(0);
  EXPECT_EQ(front[0], BackgroundColour(0, 0x80 + 28, 0, 0));
  EXPECT_EQ(front[31], BackgroundColour(0, 0x80 + 31, 0, 7));
  EXPECT_EQ(front[32], BackgroundColour(0, 0x10, 0, 0));
  EXPECT_EQ(front[255], BackgroundColour(0, 0x10 + 27, 0, 7));
}

TEST_F(RendererTest, BackgroundPatternTableFollowsControlBit4) {
  FillNameTableRow(0, 0, 0x40);
  machine->cpuMem[kCtrl] = 0x10;
  Render(0);
  EXPECT_EQ(front[0], BackgroundColour(1, 0x40, 0, 0));
  EXPECT_EQ(front[9], BackgroundColour(1, 0x41, 0, 1));
}

TEST_F(RendererTest, AttributeQuadrantsPickThePalette) {
  // Quadrants of the first attribute byte: top-left 0, top-right 1, bottom-left 2, bottom-right 3.
  machine->ppuMem[0x23C0] = 0b11'10'01'00;
  machine->ppuMem[0x23C1] = 0b00'00'00'11;  // columns 4-7 of the top rows use palette 3
  for (int row = 0; row < 4; ++row) FillNameTableRow(0, row, 0x20);
  RenderThrough(0);
  EXPECT_EQ(front[0], BackgroundColour(0, 0x20, 0, 0, 0));
  EXPECT_EQ(front[16], BackgroundColour(0, 0x22, 0, 0, 1));
  EXPECT_EQ(front[32], BackgroundColour(0, 0x24, 0, 0, 3));
  RenderThrough(16);  // tile row 2
  EXPECT_EQ(front[0], BackgroundColour(0, 0x20, 0, 0, 2));
  EXPECT_EQ(front[16], BackgroundColour(0, 0x22, 0, 0, 3));
}

TEST_F(RendererTest, FineYSelectsThePatternRowAndTileRowsFollowEveryEighthLine) {
  FillNameTableRow(0, 0, 0x10);
  FillNameTableRow(0, 1, 0x60);
  RenderThrough(5);
  EXPECT_EQ(front[0], BackgroundColour(0, 0x10, 5, 0));
  EXPECT_EQ(machine->ppu.fineY, 6);
  RenderThrough(9);
  EXPECT_EQ(front[0], BackgroundColour(0, 0x60, 1, 0));
}

TEST_F(RendererTest, LineZeroReloadsTheWholeScrollAndLaterLinesOnlyTheHorizontalPart) {
  FillNameTableRow(0, 3, 0x30);
  FillNameTableRow(1, 3, 0x90);
  machine->ppu.vramLatch = 3 << 5;  // coarse Y 3, coarse X 0
  machine->ppu.vramAddr = 0x0BFF;   // left over from $2006 writes
  Render(0);
  EXPECT_EQ(front[0], BackgroundColour(0, 0x30, 0, 0));
  // A mid-frame horizontal change takes effect on the next line; the row carries on.
  machine->ppu.vramLatch = 0x0400 | (20 << 5) | 2;
  Render(1);
  EXPECT_EQ(front[0], BackgroundColour(0, 0x92, 1, 0));
}

TEST_F(RendererTest, BelowTileRow29TheNextLineStartsAtRow0OfTheOtherVerticalTable) {
  FillNameTableRow(0, 29, 0x10);
  FillNameTableRow(2, 0, 0x50);
  machine->ppu.vramLatch = 29 << 5;
  RenderThrough(7);
  EXPECT_EQ(front[0], BackgroundColour(0, 0x10, 7, 0));
  EXPECT_EQ((machine->ppu.vramAddr >> 5) & 0x1F, 0);
  EXPECT_NE(machine->ppu.vramAddr & 0x0800, 0);
  Render(8);
  EXPECT_EQ(front[0], BackgroundColour(0, 0x50, 0, 0));
}

TEST_F(RendererTest, VerticalScrollAdvancesWithTheBackgroundSwitchedOff) {
  FillNameTableRow(0, 1, 0x60);
  machine->cpuMem[kMask] = 0x10;
  RenderThrough(7);
  machine->cpuMem[kMask] = kShowAll;
  Render(8);
  EXPECT_EQ(front[0], BackgroundColour(0, 0x60, 0, 0));
}

// Hidden background is transparent, as on the console: the backdrop shows, not black.
TEST_F(RendererTest, HiddenLeftColumnShowsTheBackdrop) {
  FillNameTableRow(0, 0, 0x10);
  machine->cpuMem[kMask] = 0x08;
  Render(0);
  for (int j = 0; j < 8; ++j) EXPECT_EQ(front[j], machine->paletteRam[0]) << j;
  EXPECT_EQ(front[8], BackgroundColour(0, 0x11, 0, 0));
}

TEST_F(RendererTest, BackgroundOffFillsTheFrontWithTheBackdropAndSpritesStillDraw) {
  machine->cpuMem[kMask] = 0x16;
  SetSolidTile(0, 0x05, 0xFF);
  PlaceSprite(1, 9, 0x05, 0x00, 100);
  Render(10);
  EXPECT_EQ(front[99], machine->paletteRam[0]);
  EXPECT_EQ(front[100], kColourBase + 16 + 1);
  EXPECT_EQ(front[108], machine->paletteRam[0]);
}

// --- Sprites ----------------------------------------------------------------------------------

TEST_F(RendererTest, SpriteAppearsOneLineBelowItsYByte) {
  SetSolidTile(0, 0x05, 0xFF, 3);
  PlaceSprite(2, 19, 0x05, 0x02, 40);  // palette 2
  Render(19);
  EXPECT_NE(front[40], kColourBase + 24 + 3);
  Render(20);
  EXPECT_EQ(front[40], kColourBase + 24 + 3);
  EXPECT_EQ(front[47], kColourBase + 24 + 3);
  Render(27);
  EXPECT_EQ(front[40], kColourBase + 24 + 3);
  Render(28);
  EXPECT_NE(front[40], kColourBase + 24 + 3);
}

TEST_F(RendererTest, LowerNumberedSpriteCoversHigherWhereItIsOpaque) {
  SetSolidTile(0, 0x05, 0xFF, 1);
  SetSolidTile(0, 0x06, 0xF0, 2);  // left half opaque
  PlaceSprite(9, 49, 0x05, 0x01, 60);
  PlaceSprite(3, 49, 0x06, 0x00, 60);
  Render(50);
  EXPECT_EQ(front[60], kColourBase + 16 + 2);
  EXPECT_EQ(front[63], kColourBase + 16 + 2);
  EXPECT_EQ(front[64], kColourBase + 20 + 1);  // sprite 9 shows through the transparent half
  EXPECT_EQ(front[67], kColourBase + 20 + 1);
}

TEST_F(RendererTest, HorizontalFlipMirrorsTheRow) {
  SetSolidTile(0, 0x07, 0x80);  // only column 0 opaque
  PlaceSprite(0, 9, 0x07, 0x40, 30);
  Render(10);
  EXPECT_EQ(front[37], kColourBase + 16 + 1);
  EXPECT_NE(front[30], kColourBase + 16 + 1);
}

TEST_F(RendererTest, SpriteAtX252DrawsFourColumnsAndNothingBeyondTheRow) {
  SetSolidTile(0, 0x05, 0xFF);
  PlaceSprite(0, 9, 0x05, 0x00, 252);
  PlaceSprite(1, 9, 0x05, 0x60, 250);  // flipped and behind: columns 250-255 of the rear row
  Render(10);
  for (int j = 252; j < 256; ++j) EXPECT_EQ(front[j], kColourBase + 16 + 1) << j;
  for (int j = 250; j < 256; ++j) EXPECT_EQ(rear[j], kColourBase + 16 + 1) << j;
}

TEST_F(RendererTest, SpriteReachingIntoAHiddenLeftColumnIsLeftOutWhole) {
  machine->cpuMem[kMask] = 0x1A;  // sprites hidden in the left column
  SetSolidTile(0, 0x05, 0xFF);
  PlaceSprite(0, 9, 0x05, 0x00, 7);
  Render(10);
  for (int j = 7; j < 15; ++j) EXPECT_NE(front[j], kColourBase + 16 + 1) << j;
  PlaceSprite(0, 9, 0x05, 0x00, 8);
  Render(10);
  for (int j = 8; j < 16; ++j) EXPECT_EQ(front[j], kColourBase + 16 + 1) << j;
}

TEST_F(RendererTest, SpriteWithYAbove238IsNeverDrawn) {
  SetSolidTile(0, 0x05, 0xFF);
  PlaceSprite(0, 0xEF, 0x05, 0x00, 0);  // top 240
  Render(239);
  EXPECT_NE(front[0], kColourBase + 16 + 1);
  PlaceSprite(0, 0xEE, 0x05, 0x00, 0);  // top 239
  Render(239);
  EXPECT_EQ(front[0], kColourBase + 16 + 1);
}

TEST_F(RendererTest, SpritesOffInTheMaskDrawNothing) {
  machine->cpuMem[kMask] = 0x0A;
  SetSolidTile(0, 0x05, 0xFF);
  PlaceSprite(5, 9, 0x05, 0x20, 100);
  PlaceSprite(6, 9, 0x05, 0x00, 120);
  Render(10);
  EXPECT_NE(front[120], kColourBase + 16 + 1);
  EXPECT_EQ(rear[100], 0xEE);
}

TEST_F(RendererTest, EightBySixteenSpriteTakesItsTableFromBit0AndStacksTwoTiles) {
  machine->cpuMem[kCtrl] = 0x20;  // 8 x 16; bit 3 would pick table 0 for 8 x 8 sprites
  PlaceSprite(0, 99, 0x41, 0x00, 0);
  Render(100);
  EXPECT_EQ(front[0], kColourBase + 16 + TilePixel(1, 0x40, 0, 0));
  EXPECT_EQ(front[2], kColourBase + 16 + TilePixel(1, 0x40, 0, 2));
  Render(107);
  EXPECT_EQ(front[3], kColourBase + 16 + TilePixel(1, 0x40, 7, 3));
  Render(108);
  EXPECT_EQ(front[3], kColourBase + 16 + TilePixel(1, 0x41, 0, 3));
  Render(115);
  EXPECT_EQ(front[1], kColourBase + 16 + TilePixel(1, 0x41, 7, 1));
}

TEST_F(RendererTest, VerticalFlipOfATallSpriteSwapsItsHalves) {
  machine->cpuMem[kCtrl] = 0x20;
  PlaceSprite(0, 99, 0x22, 0x80, 0);  // even tile: table 0, tiles $22 and $23
  Render(100);
  EXPECT_EQ(front[2], kColourBase + 16 + TilePixel(0, 0x23, 7, 2));
  Render(115);
  EXPECT_EQ(front[2], kColourBase + 16 + TilePixel(0, 0x22, 0, 2));
}

TEST_F(RendererTest, SmallSpritesUseTheTableOfControlBit3) {
  machine->cpuMem[kCtrl] = 0x08;
  PlaceSprite(0, 9, 0x33, 0x80, 0);  // flipped: first line shows row 7
  Render(10);
  EXPECT_EQ(front[2], kColourBase + 16 + TilePixel(1, 0x33, 7, 2));
}

// Merges the two layers as the frame driver does: the frame surface starts as the backdrop,
// the rear row is drawn into it, and the front row is copied over it keyed on the backdrop.
class LayerCompositionTest : public RendererTest {
 protected:
  uint8_t ComposedPixel(int line, int column) {
    Surface8 overlay(256, 240);
    Surface8 frame(256, 240);
    const uint8_t backdrop = machine->paletteRam[0];
    EXPECT_EQ(FillSurface(frame, backdrop), kDisplayOk);
    SurfaceLock overlayLock;
    SurfaceLock frameLock;
    EXPECT_EQ(overlay.Lock(&overlayLock), kDisplayOk);
    EXPECT_EQ(frame.Lock(&frameLock), kDisplayOk);
    RenderThrough(line - 1);
    DrawLine(line, overlayLock.bits + line * frameLock.pitch,
             frameLock.bits + line * frameLock.pitch);
    overlay.Unlock();
    frame.Unlock();
    overlay.SetSourceColourKey(backdrop);
    EXPECT_EQ(CopySurfaceKeyed(overlay, frame, 0, 0), kDisplayOk);
    return frame.At(column, line);
  }
};

TEST_F(LayerCompositionTest, BehindSpriteShowsWhereTheBackgroundPixelIsZero) {
  machine->paletteRam[0] = 0x0F;
  machine->paletteRam[1] = 0x16;
  SetSolidTile(0, 0x01, 0x0F, 1);  // background: right half opaque
  for (int column = 0; column < 32; ++column) SetNameTableTile(0, column, 1, 0x01);
  SetSolidTile(0, 0x05, 0xFF, 2);
  PlaceSprite(0, 8, 0x05, 0x20, 16);  // behind the background
  EXPECT_EQ(ComposedPixel(9, 16), machine->paletteRam[16 + 2]);
  EXPECT_EQ(ComposedPixel(9, 20), 0x16);
}

TEST_F(LayerCompositionTest, BehindSpriteShowsThroughBackgroundOfTheBackdropColour) {
  machine->paletteRam[0] = 0x0F;
  machine->paletteRam[1] = 0x0F;  // an opaque background colour equal to the backdrop
  SetSolidTile(0, 0x01, 0xFF, 1);
  for (int column = 0; column < 32; ++column) SetNameTableTile(0, column, 1, 0x01);
  SetSolidTile(0, 0x05, 0xFF, 2);
  PlaceSprite(0, 8, 0x05, 0x20, 16);
  EXPECT_EQ(ComposedPixel(9, 20), machine->paletteRam[16 + 2]);
}

TEST_F(LayerCompositionTest, FrontSpriteCoversOpaqueBackground) {
  machine->paletteRam[0] = 0x0F;
  machine->paletteRam[1] = 0x16;
  SetSolidTile(0, 0x01, 0xFF, 1);
  for (int column = 0; column < 32; ++column) SetNameTableTile(0, column, 1, 0x01);
  SetSolidTile(0, 0x05, 0xFF, 2);
  PlaceSprite(0, 8, 0x05, 0x00, 16);
  EXPECT_EQ(ComposedPixel(9, 20), machine->paletteRam[16 + 2]);
  EXPECT_EQ(ComposedPixel(9, 30), 0x16);
}

// --- Sprite-0 hit -----------------------------------------------------------------------------

TEST_F(RendererTest, Sprite0HitsOnItsFirstOpaqueLineOncePerFrame) {
  SetSolidTile(0, 0x05, 0x01);
  PlaceSprite(0, 0x1F, 0x05, 0x00, 255);  // far right: position does not matter
  RenderThrough(31);
  EXPECT_EQ(machine->cpuMem[kStatus] & kHitFlag, 0);
  Render(32);
  EXPECT_EQ(machine->cpuMem[kStatus] & kHitFlag, kHitFlag);
  EXPECT_EQ(machine->sprite0Armed, 0);
  machine->cpuMem[kStatus] = 0;
  Render(33);
  EXPECT_EQ(machine->cpuMem[kStatus] & kHitFlag, 0);
}

TEST_F(RendererTest, Sprite0WithYFFNeverHits) {
  SetSolidTile(0, 0x05, 0xFF);
  PlaceSprite(0, 0xFF, 0x05, 0x00, 0);
  RenderThrough(239);
  EXPECT_EQ(machine->cpuMem[kStatus] & kHitFlag, 0);
}

TEST_F(RendererTest, Sprite0HitWaitsForAnOpaqueRowAndHonoursVerticalFlip) {
  for (int row = 0; row < 8; ++row) SetTileRow(0, 0x05, row, row == 6 ? 0x10 : 0x00);
  PlaceSprite(0, 49, 0x05, 0x00, 0);
  RenderThrough(55);
  EXPECT_EQ(machine->cpuMem[kStatus] & kHitFlag, 0);
  Render(56);
  EXPECT_EQ(machine->cpuMem[kStatus] & kHitFlag, kHitFlag);

  machine->cpuMem[kStatus] = 0;
  machine->sprite0Armed = 1;
  PlaceSprite(0, 49, 0x05, 0x80, 0);  // flipped: row 6 now shows on the second line
  RenderThrough(50);
  EXPECT_EQ(machine->cpuMem[kStatus] & kHitFlag, 0);
  Render(51);
  EXPECT_EQ(machine->cpuMem[kStatus] & kHitFlag, kHitFlag);
}

TEST_F(RendererTest, Sprite0HitIgnoresTheSpriteMaskAndTheLeftColumn) {
  machine->cpuMem[kMask] = 0x08;  // sprites off, left column hidden
  SetSolidTile(0, 0x05, 0xFF);
  PlaceSprite(0, 9, 0x05, 0x00, 0);
  Render(10);
  EXPECT_EQ(machine->cpuMem[kStatus] & kHitFlag, kHitFlag);
}

TEST_F(RendererTest, Sprite0InTallModeChecksTheLowerTile) {
  machine->cpuMem[kCtrl] = 0x20;
  SetSolidTile(0, 0x08, 0x00);
  SetSolidTile(0, 0x09, 0x80);
  PlaceSprite(0, 9, 0x08, 0x00, 0);
  RenderThrough(17);
  EXPECT_EQ(machine->cpuMem[kStatus] & kHitFlag, 0);
  Render(18);
  EXPECT_EQ(machine->cpuMem[kStatus] & kHitFlag, kHitFlag);
}

TEST_F(RendererTest, DisarmedSprite0DoesNotHit) {
  SetSolidTile(0, 0x05, 0xFF);
  PlaceSprite(0, 9, 0x05, 0x00, 0);
  machine->sprite0Armed = 0;
  Render(10);
  EXPECT_EQ(machine->cpuMem[kStatus] & kHitFlag, 0);
}

// --- The board's fetch hook: the mapper 10 latch ----------------------------------------------

class Mmc4LatchTest : public RendererTest {
 protected:
  void SetUp() override {
    RendererTest::SetUp();
    ppuFetch = Mmc4LatchFetch;
    machine->header.chrBankCount = 4;  // eight 4 KB banks
    // Every byte of 4 KB bank b is b + 1, so its tiles read (b + 1) in plane 0 and plane 1.
    for (uint32_t bank = 0; bank < 8; ++bank) {
      for (uint32_t i = 0; i < 0x1000; ++i) {
        machine->chrRom[bank * 0x1000 + i] = static_cast<uint8_t>(bank + 1);
      }
    }
    machine->mapper.mmc4ChrBanks[0] = 1;
    machine->mapper.mmc4ChrBanks[1] = 2;
    machine->mapper.mmc4ChrBanks[2] = 5;
    machine->mapper.mmc4ChrBanks[3] = 6;
    machine->mapper.mmc4Latch[0] = 0xFE;
    machine->mapper.mmc4Latch[1] = 0xFE;
  }

  static uint8_t BankColour(uint32_t bank, int column) {
    const auto plane = static_cast<uint8_t>(bank + 1);
    return static_cast<uint8_t>(kColourBase + PatternPixel(plane, plane, column));
  }
};

TEST_F(Mmc4LatchTest, FdTileMidLineSwitchesBeforeItIsDrawn) {
  machine->cpuMem[kCtrl] = 0x10;  // background from table 1
  FillNameTableRow(0, 0, 0x10);
  SetNameTableTile(0, 10, 0, 0xFD);
  Render(0);
  EXPECT_EQ(front[79], BackgroundColour(1, 0x19, 0, 7));
  for (int column = 0; column < 8; ++column) {
    EXPECT_EQ(front[80 + column], BankColour(5, column)) << column;  // the $FD tile itself
  }
  EXPECT_EQ(front[88], BankColour(5, 0));  // and the rest of the line
  EXPECT_EQ(machine->mapper.mmc4Latch[1], 0xFD);
  EXPECT_EQ(machine->mapper.mmc4Latch[0], 0xFE);
  EXPECT_EQ(machine->ppuMem[0x1000], 6);
  EXPECT_EQ(machine->ppuMem[0x0000], Plane0(0, 0, 0));  // table 0 untouched
}

TEST_F(Mmc4LatchTest, LatchOfTable0SwitchesWhenTheBackgroundUsesTable0) {
  FillNameTableRow(0, 0, 0x10);
  SetNameTableTile(0, 3, 0, 0xFD);
  SetNameTableTile(0, 20, 0, 0xFE);
  Render(0);
  EXPECT_EQ(front[24], BankColour(1, 0));
  EXPECT_EQ(front[160], BankColour(2, 0));
  EXPECT_EQ(machine->mapper.mmc4Latch[0], 0xFE);
  EXPECT_EQ(machine->ppuMem[0x0000], 3);
  EXPECT_EQ(machine->ppuMem[0x1000], Plane0(1, 0, 0));
}

TEST_F(Mmc4LatchTest, FirstTileOfTheLineIsDrawnWithTheBankInPlace) {
  FillNameTableRow(0, 0, 0x10);
  SetNameTableTile(0, 0, 0, 0xFD);
  machine->ppu.fineX = 3;  // the line ends in the other name table
  Render(0);
  EXPECT_EQ(machine->mapper.mmc4Latch[0], 0xFE);
  EXPECT_EQ(front[0], BackgroundColour(0, 0xFD, 0, 3));
}

TEST_F(Mmc4LatchTest, FetchAfterTheLastPixelOfAnUnscrolledLineCanSwitch) {
  // Unscrolled, the fetch after pixel 255 is column 0 again: it switches for the next line.
  FillNameTableRow(0, 0, 0x10);
  SetNameTableTile(0, 0, 0, 0xFD);
  Render(0);
  EXPECT_EQ(front[0], BackgroundColour(0, 0xFD, 0, 0));
  EXPECT_EQ(front[255], BackgroundColour(0, 0x10 + 31, 0, 7));
  EXPECT_EQ(machine->mapper.mmc4Latch[0], 0xFD);
  Render(1);
  EXPECT_EQ(front[0], BankColour(1, 0));
}

TEST_F(Mmc4LatchTest, WithoutTheHookLatchTilesAreOrdinaryTiles) {
  ppuFetch = nullptr;
  FillNameTableRow(0, 0, 0x10);
  SetNameTableTile(0, 10, 0, 0xFD);
  Render(0);
  EXPECT_EQ(machine->mapper.mmc4Latch[0], 0xFE);
  EXPECT_EQ(front[80], BackgroundColour(0, 0xFD, 0, 0));
}

TEST_F(Mmc4LatchTest, BankNumberBeyondTheImageStaysInsideIt) {
  machine->mapper.mmc4ChrBanks[0] = 0xF9;  // reduced to bank 1 of eight
  FillNameTableRow(0, 0, 0x10);
  SetNameTableTile(0, 3, 0, 0xFD);
  Render(0);
  EXPECT_EQ(front[24], BankColour(1, 0));
}

// --- Robustness -------------------------------------------------------------------------------

TEST_F(RendererTest, OutOfRangeScrollBytesFromARestoredStateStayInsideTheCache) {
  machine->ppu.fineY = 0xFF;
  machine->ppu.fineX = 0xFF;
  machine->ppu.vramLatch = 0xFFFF;
  machine->ppu.vramAddr = 0xFFFF;
  for (int i = 0; i < 0x400; ++i) machine->ppuMem[0x2000 + i] = 0xFF;
  Render(0);
  Render(1);
  EXPECT_LT(machine->ppu.fineY, 8);
}

TEST_F(RendererTest, LineOutsideThePictureIsIgnored) {
  Render(240);
  Render(-1);
  EXPECT_EQ(front[0], 0xEE);
}

}  // namespace
}  // namespace wrenfold
