// RenderLine draws eight pixels at a time with word operations, and the frame driver moves the
// scroll from line to line with the functions of ppu_scroll.h. This test holds both against a
// plain model that follows the picture one pixel at a time and the scroll one bit field at a
// time, on machines filled at random: any scroll, palette, attribute, control and mask bits,
// sprites of every kind, scroll writes between the lines, and junk in the upper bits of the
// pattern cache as a restored state may hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "emulator/machine_state/machine_state.h"
#include "emulator/ppu/ppu_scroll.h"
#include "emulator/ppu/renderer.h"

namespace wrenfold {
namespace {

constexpr uint16_t kCtrl = 0x2000;
constexpr uint16_t kMask = 0x2001;
constexpr uint16_t kStatus = 0x2002;
constexpr uint8_t kSprite0Hit = 0x40;
constexpr int kWidth = 256;

struct ModelLine {
  std::array<uint8_t, kWidth> front;
  std::array<uint8_t, kWidth> rear;
  uint8_t status;
  uint8_t sprite0Armed;
};

uint8_t CachePixel(const MachineState& m, uint32_t offset) {
  return m.patternCache[offset] & 3;
}

uint32_t SpriteRow(uint8_t ctrl, uint8_t tile, uint8_t attributes, int row) {
  if (ctrl & 0x20) {
    if (attributes & 0x80) row = 15 - row;
    return (tile & 1) * 0x4000u + (tile & 0xFE) * 64u + (row & 7) * 8u + (row >= 8 ? 64u : 0u);
  }
  if (attributes & 0x80) row = 7 - row;
  return ((ctrl & 0x08) ? 0x4000u : 0u) + tile * 64u + row * 8u;
}

// The scroll register v (or t) as its fields.
struct ScrollFields {
  int coarseX, coarseY, tableX, tableY, fineY;
};

ScrollFields Unpack(uint16_t scroll) {
  return {scroll & 31, (scroll >> 5) & 31, (scroll >> 10) & 1, (scroll >> 11) & 1,
          (scroll >> 12) & 7};
}

uint16_t Pack(const ScrollFields& f) {
  return static_cast<uint16_t>(f.coarseX | (f.coarseY << 5) | (f.tableX << 10) | (f.tableY << 11) |
                               (f.fineY << 12));
}

void NextModelColumn(ScrollFields& f) {
  if (++f.coarseX == 32) {
    f.coarseX = 0;
    f.tableX ^= 1;
  }
}

// The console's scroll before a line: all of t at the top of the picture, its horizontal
// part on every other line.
void StartModelLine(PpuLatches& ppu, int line) {
  ScrollFields v = Unpack(ppu.vramAddr);
  const ScrollFields t = Unpack(ppu.vramLatch);
  if (line == 0) {
    v = t;
  } else {
    v.coarseX = t.coarseX;
    v.tableX = t.tableX;
  }
  ppu.vramAddr = Pack(v);
  ppu.fineY = static_cast<uint8_t>(v.fineY);
}

// After the line: one pixel row down (below row 29 into the table below, from row 31 back to
// row 0 of the same table), then the horizontal part of t and two columns on.
void FinishModelLine(PpuLatches& ppu) {
  ScrollFields v = Unpack(ppu.vramAddr);
  const ScrollFields t = Unpack(ppu.vramLatch);
  if (++v.fineY == 8) {
    v.fineY = 0;
    if (v.coarseY == 29) {
      v.coarseY = 0;
      v.tableY ^= 1;
    } else if (v.coarseY == 31) {
      v.coarseY = 0;
    } else {
      ++v.coarseY;
    }
  }
  v.coarseX = t.coarseX;
  v.tableX = t.tableX;
  NextModelColumn(v);
  NextModelColumn(v);
  ppu.vramAddr = Pack(v);
  ppu.fineY = static_cast<uint8_t>(v.fineY);
}

// One line as the picture defines it, pixel by pixel, from the scroll StartModelLine left.
// `m` is a copy, changed as RenderLine changes the machine.
ModelLine RenderModelLine(MachineState& m, int line, const ModelLine& before) {
  ModelLine out = before;
  const PpuLatches& ppu = m.ppu;
  const ScrollFields start = Unpack(ppu.vramAddr);
  const uint8_t fineY = static_cast<uint8_t>(start.fineY);
  const uint8_t fineX = ppu.fineX & 7;
  const uint8_t ctrl = m.cpuMem[kCtrl];
  const uint8_t mask = m.cpuMem[kMask];
  // Greyscale ($2001 bit 0) keeps only the brightness row of every colour shown.
  const auto Shown = [mask](uint8_t colour) {
    return static_cast<uint8_t>((mask & 0x01) ? (colour & 0x30) : colour);
  };
  // The name-table address of each of the 33 tiles a line can touch.
  std::array<uint16_t, 33> tiles;
  if (mask & 0x08) {
    ScrollFields column = start;
    for (int t = 0; t < 33; ++t) {
      tiles[t] = static_cast<uint16_t>(0x2000 | (Pack(column) & 0x0FFF));
      NextModelColumn(column);
    }

    for (int x = 0; x < kWidth; ++x) {
      const int position = fineX + x;
      const uint16_t at = tiles[position / 8];
      const int coarseX = at & 31;
      const int coarseY = (at >> 5) & 31;
      const uint8_t attribute =
          m.ppuMem[(at & 0x0C00) | 0x23C0 | (coarseX >> 2) | ((coarseY >> 2) << 3)];
      const int shift = ((coarseX & 2) ? 2 : 0) + ((coarseY & 2) ? 4 : 0);
      const int palette = (attribute >> shift) & 3;
      const uint32_t table = (ctrl & 0x10) ? 0x4000 : 0;
      const uint8_t pixel =
          CachePixel(m, table + m.ppuMem[at & 0x3FFF] * 64u + fineY * 8u + position % 8);
      out.front[x] = Shown(m.paletteRam[palette * 4 + pixel]);
    }
    if ((mask & 0x02) == 0)
      std::fill(out.front.begin(), out.front.begin() + 8, Shown(m.paletteRam[0]));
  } else {
    out.front.fill(Shown(m.paletteRam[0]));
  }

  const int height = (ctrl & 0x20) ? 16 : 8;
  if (m.sprite0Armed) {
    const int top = m.oam[0] + 1;
    if (line >= top && line < top + height) {
      const uint32_t offset = SpriteRow(ctrl, m.oam[1], m.oam[2], line - top);
      for (int c = 0; c < 8; ++c) {
        if (m.patternCache[offset + c] != 0) {
          m.cpuMem[kStatus] |= kSprite0Hit;
          m.sprite0Armed = 0;
          break;
        }
      }
    }
  }
  if (mask & 0x10) {
    for (int n = 63; n >= 0; --n) {
      const uint8_t* sprite = &m.oam[n * 4];
      const int top = sprite[0] + 1;
      if (top >= 240 || line < top || line >= top + height) continue;
      if ((mask & 0x04) == 0 && sprite[3] < 8) continue;
      const uint32_t offset = SpriteRow(ctrl, sprite[1], sprite[2], line - top);
      auto& layer = (sprite[2] & 0x20) ? out.rear : out.front;
      for (int c = 0; c < 8; ++c) {
        const uint8_t pixel = CachePixel(m, offset + c);
        const int column = (sprite[2] & 0x40) ? sprite[3] + 7 - c : sprite[3] + c;
        if (pixel == 0 || column >= kWidth) continue;
        layer[column] = Shown(m.paletteRam[16 + 4 * (sprite[2] & 3) + pixel]);
      }
    }
  }
  out.status = m.cpuMem[kStatus];
  out.sprite0Armed = m.sprite0Armed;
  return out;
}

class RendererModelTest : public ::testing::TestWithParam<uint32_t> {
 protected:
  void Randomise(MachineState& m) {
    const auto byte = [&] { return static_cast<uint8_t>(random()); };
    for (uint8_t& b : m.patternCache) {
      // Mostly proper pixel values, some with junk in the upper bits.
      b = random() % 8 == 0 ? byte() : static_cast<uint8_t>(random() % 4);
    }
    for (int i = 0x2000; i < 0x3000; ++i) m.ppuMem[i] = byte();
    for (uint8_t& b : m.paletteRam) b = byte();
    for (uint8_t& b : m.oam) b = byte();
    // Many sprites near the top, some at the right edge, some parked below the picture.
    for (int n = 0; n < 64; ++n) {
      if (random() % 3 == 0) m.oam[n * 4] = static_cast<uint8_t>(random() % 24);
      if (random() % 5 == 0) m.oam[n * 4 + 3] = static_cast<uint8_t>(240 + random() % 16);
      if (random() % 7 == 0) m.oam[n * 4] = static_cast<uint8_t>(236 + random() % 20);
    }
    m.cpuMem[kCtrl] = byte();
    m.cpuMem[kMask] = static_cast<uint8_t>(byte() | 0x18);
    if (random() % 4 == 0) m.cpuMem[kMask] &= static_cast<uint8_t>(~(random() % 2 ? 0x08 : 0x10));
    m.cpuMem[kStatus] = 0;
    m.ppu.vramLatch = static_cast<uint16_t>(random() & 0x7FFF);
    m.ppu.vramAddr = static_cast<uint16_t>(random() & 0x7FFF);
    m.ppu.fineX = byte();
    m.ppu.fineY = byte();
    m.sprite0Armed = 1;
  }

  // Between some lines the program writes the scroll: a new latch and fine X, and now and then
  // the address too, as a second $2006 write does. Both machines take the same writes.
  void WriteScrollBetweenLines(MachineState& a, MachineState& b) {
    if (random() % 6 != 0) return;
    const auto latch = static_cast<uint16_t>(random() & 0x7FFF);
    const auto fineX = static_cast<uint8_t>(random());
    const bool address = random() % 2 == 0;
    for (MachineState* m : {&a, &b}) {
      m->ppu.vramLatch = latch;
      m->ppu.fineX = fineX;
      if (address) SetVramAddr(m->ppu, latch);
    }
  }

  std::mt19937 random{GetParam()};
};

TEST_P(RendererModelTest, EveryLineMatchesThePixelByPixelModel) {
  auto machine = std::make_unique<MachineState>();
  Randomise(*machine);
  auto model = std::make_unique<MachineState>(*machine);
  std::vector<uint8_t> front(kWidth);
  std::vector<uint8_t> rear(kWidth);
  ModelLine expected{};
  for (int line = 0; line < 240; ++line) {
    if (line > 0) WriteScrollBetweenLines(*machine, *model);
    // The rows start each line with what the previous line left, as layers of a frame.
    std::fill(front.begin(), front.end(), static_cast<uint8_t>(line));
    std::fill(rear.begin(), rear.end(), static_cast<uint8_t>(line + 1));
    expected.front.fill(static_cast<uint8_t>(line));
    expected.rear.fill(static_cast<uint8_t>(line + 1));
    StartModelLine(model->ppu, line);
    expected = RenderModelLine(*model, line, expected);
    FinishModelLine(model->ppu);
    if (line == 0) {
      StartFrameScroll(machine->ppu);
    } else {
      StartLineScroll(machine->ppu);
    }
    RenderLine(*machine, front.data(), rear.data(), line, kWidth, nullptr);
    FinishLineScroll(machine->ppu);
    for (int x = 0; x < kWidth; ++x) {
      ASSERT_EQ(front[x], expected.front[x]) << "front, line " << line << " pixel " << x;
      ASSERT_EQ(rear[x], expected.rear[x]) << "rear, line " << line << " pixel " << x;
    }
    ASSERT_EQ(machine->ppu.vramAddr, model->ppu.vramAddr) << "line " << line;
    ASSERT_EQ(machine->ppu.fineY, model->ppu.fineY) << "line " << line;
    ASSERT_EQ(machine->cpuMem[kStatus], expected.status) << "line " << line;
    ASSERT_EQ(machine->sprite0Armed, expected.sprite0Armed) << "line " << line;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RendererModelTest, ::testing::Range(1u, 41u),
                         ::testing::PrintToStringParamName());

}  // namespace
}  // namespace wrenfold
