#include "emulator/host/palette.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace wrenfold {

namespace {

using ColourSet = std::array<PaletteEntry, 64>;

// clang-format off
// Indices 0-63.
constexpr ColourSet kFirstSet = {{
    {127, 127, 127}, {0, 0, 255}, {0, 0, 191}, {71, 43, 191},  // 0
    {151, 0, 135}, {171, 0, 35}, {171, 19, 0}, {139, 23, 0},
    {83, 48, 0}, {0, 120, 0}, {0, 107, 0}, {0, 91, 0},  // 8
    {0, 67, 88}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
    {191, 191, 191}, {0, 120, 248}, {0, 88, 248}, {107, 71, 255},  // 16
    {219, 0, 205}, {231, 0, 91}, {248, 56, 0}, {231, 95, 19},
    {175, 127, 0}, {0, 184, 0}, {0, 171, 0}, {0, 171, 71},  // 24
    {0, 139, 139}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
    {248, 248, 248}, {63, 191, 255}, {107, 136, 255}, {152, 120, 248},  // 32
    {248, 120, 248}, {248, 88, 152}, {248, 120, 88}, {255, 163, 71},
    {248, 184, 0}, {184, 248, 24}, {91, 219, 87}, {88, 248, 152},  // 40
    {0, 235, 219}, {120, 120, 120}, {0, 0, 0}, {0, 0, 0},
    {255, 255, 255}, {167, 231, 255}, {184, 184, 248}, {216, 184, 248},  // 48
    {248, 184, 248}, {251, 167, 195}, {240, 208, 176}, {255, 227, 171},
    {251, 219, 123}, {216, 248, 120}, {184, 248, 184}, {184, 248, 216},  // 56
    {0, 255, 255}, {248, 216, 248}, {0, 0, 0}, {0, 0, 0},
}};

// Indices 128-191.
constexpr ColourSet kThirdSet = {{
    {104, 104, 104}, {0, 64, 128}, {0, 0, 128}, {64, 0, 128},  // 128
    {128, 0, 128}, {128, 0, 64}, {128, 0, 0}, {85, 0, 0},
    {64, 64, 0}, {51, 80, 0}, {0, 80, 0}, {0, 80, 0},  // 136
    {0, 64, 64}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
    {152, 152, 152}, {0, 128, 192}, {64, 64, 192}, {128, 0, 192},  // 144
    {192, 0, 192}, {192, 0, 128}, {192, 32, 32}, {192, 64, 0},
    {128, 128, 0}, {85, 128, 0}, {0, 128, 0}, {51, 128, 51},  // 152
    {0, 128, 128}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
    {208, 208, 208}, {64, 192, 255}, {128, 128, 255}, {192, 64, 255},  // 160
    {255, 0, 255}, {255, 64, 192}, {255, 80, 80}, {255, 128, 64},
    {192, 192, 0}, {128, 192, 0}, {0, 192, 0}, {85, 192, 85},  // 168
    {0, 192, 192}, {51, 51, 51}, {0, 0, 0}, {0, 0, 0},
    {255, 255, 255}, {128, 255, 255}, {192, 192, 255}, {255, 128, 255},  // 176
    {255, 64, 255}, {255, 128, 255}, {255, 128, 128}, {255, 192, 128},
    {255, 255, 64}, {192, 255, 64}, {64, 255, 64}, {170, 255, 170},  // 184
    {64, 255, 255}, {153, 153, 153}, {0, 0, 0}, {0, 0, 0},
}};

// Indices 192-255 (255 is black).
constexpr ColourSet kFourthSet = {{
    {152, 152, 152}, {24, 88, 248}, {24, 56, 248}, {88, 56, 248},  // 192
    {248, 24, 248}, {248, 24, 88}, {248, 24, 0}, {216, 24, 0},
    {184, 88, 0}, {0, 120, 0}, {0, 152, 0}, {0, 120, 24},  // 200
    {0, 120, 184}, {0, 0, 0}, {24, 24, 24}, {24, 24, 24},
    {216, 216, 216}, {0, 120, 248}, {0, 88, 248}, {88, 88, 248},  // 208
    {248, 56, 248}, {248, 56, 88}, {248, 56, 0}, {248, 88, 0},
    {96, 176, 0}, {0, 184, 0}, {0, 216, 0}, {24, 216, 88},  // 216
    {0, 184, 248}, {24, 24, 24}, {24, 24, 24}, {24, 24, 24},
    {248, 248, 248}, {0, 152, 248}, {120, 120, 248}, {152, 120, 248},  // 224
    {248, 120, 248}, {248, 88, 152}, {248, 120, 88}, {248, 184, 0},
    {248, 184, 0}, {184, 248, 24}, {120, 248, 56}, {88, 248, 152},  // 232
    {56, 216, 248}, {120, 120, 120}, {24, 24, 24}, {24, 24, 24},
    {248, 248, 248}, {120, 184, 248}, {184, 184, 248}, {216, 184, 248},  // 240
    {248, 184, 248}, {248, 152, 184}, {248, 184, 120}, {248, 184, 56},
    {248, 184, 88}, {216, 248, 120}, {184, 248, 184}, {184, 248, 216},  // 248
    {152, 216, 248}, {248, 216, 248}, {24, 24, 24}, {0, 0, 0},
}};
// clang-format on

constexpr DisplayPalette ComposeColourTable() {
  DisplayPalette table{};  // indices 64-127 stay black
  for (std::size_t i = 0; i < 64; ++i) {
    table[i] = kFirstSet[i];
    table[128 + i] = kThirdSet[i];
    table[192 + i] = kFourthSet[i];
  }
  return table;
}

}  // namespace

constinit const DisplayPalette kNesColourTable = ComposeColourTable();

DisplayPalette MonochromePalette(const DisplayPalette& colours) {
  DisplayPalette grey{};
  for (std::size_t index = 0; index < colours.size(); ++index) {
    const PaletteEntry& colour = colours[index];
    int level = (colour.red + colour.green + colour.blue) / 3;
    if (index % 3 == 1) level = std::min(level + 1, 255);
    if (index % 3 == 2) level = std::max(level - 1, 0);
    const auto value = static_cast<uint8_t>(level);
    grey[index] = PaletteEntry{value, value, value};
  }
  return grey;
}

DisplayPalette BuildDisplayPalette(bool monochrome) {
  return monochrome ? MonochromePalette(kNesColourTable) : kNesColourTable;
}

DisplayPalette EmphasisedPalette(const DisplayPalette& colours, uint8_t emphasis) {
  emphasis &= 7;
  if (emphasis == 0) return colours;
  const auto dim = [emphasis](uint8_t level, uint8_t bit) {
    if ((emphasis & ~bit) == 0) return level;
    return static_cast<uint8_t>(level * kEmphasisDimmingPercent / 100);
  };
  DisplayPalette shown = colours;
  for (PaletteEntry& entry : shown) {
    entry.red = dim(entry.red, 1);
    entry.green = dim(entry.green, 2);
    entry.blue = dim(entry.blue, 4);
  }
  return shown;
}

}  // namespace wrenfold
