// A fixture for the board handler tests: an image synthesised straight into the ROM stores of a
// heap machine, laid out as the loader would, with the log pointed at a scratch file.
//
// PRG fill: every 8 KB of the image holds its 8 KB index, so 16 KB bank n shows 2n then 2n + 1.
// CHR fill: every 1 KB holds 0x80 + its 1 KB index, so 8 KB bank n starts with 0x80 + 8n (the
// images here keep to 16 CHR banks so no two pieces share a byte). The stores beyond the image
// hold poison bytes no fill uses, so a copy that reads outside the image shows at once.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "emulator/cart/bank_copy.h"
#include "emulator/cart/board_table.h"
#include "emulator/cart/initial_layout.h"
#include "emulator/cart/mirroring.h"
#include "emulator/cart/write_bus.h"
#include "emulator/host/log.h"
#include "emulator/machine_state/machine_state.h"
#include "emulator/ppu/ppu_memory.h"
#include "tests/emulator/cart/synthetic_rom.h"

namespace wrenfold::testing_support {

inline constexpr uint8_t kPrgPoison = 0xEE;  // 8 KB indexes stay below 128
inline constexpr uint8_t kChrPoison = 0x7F;  // every CHR fill byte has bit 7 set

inline uint8_t PrgFill(uint32_t index8k) {
  return static_cast<uint8_t>(index8k);
}
inline uint8_t ChrFill(uint32_t index1k) {
  return static_cast<uint8_t>(0x80 | (index1k & 0x7F));
}

// Fills the stores for an image of the given size, poisons the rest, and lays out the board.
inline void SynthesiseBoard(MachineState& machine, uint8_t mapper, uint32_t prgBanks16k,
                            uint32_t chrBanks8k, bool vertical) {
  machine.header.mapperNumber = mapper;
  machine.header.prgBankCount = prgBanks16k;
  machine.header.chrBankCount = chrBanks8k;
  machine.header.mirrorVertical = vertical ? 1 : 0;
  std::memset(machine.prgRom, kPrgPoison, sizeof machine.prgRom);
  std::memset(machine.chrRom, kChrPoison, sizeof machine.chrRom);
  for (uint32_t i = 0; i < prgBanks16k * kPrgBankSize; ++i) {
    machine.prgRom[i] = PrgFill(i / kBank8k);
  }
  for (uint32_t i = 0; i < chrBanks8k * kChrBankSize; ++i) {
    machine.chrRom[i] = ChrFill(i / kBank1k);
  }
  // Pattern RAM lives in the first 8 KB of the store and starts clear, as after loading.
  if (chrBanks8k == 0) std::memset(machine.chrRom, 0, kPatternRamSize);
  if (machine.header.chrBankCount != 0) machine.cpuMem[0x2002] |= 0x10;
  ClearBankCaches(machine);
  LayOutInitialMemory(machine);
  DecodeAllTiles(machine);
}

class MapperTest : public ::testing::Test {
 protected:
  void SetUp() override { SetLogPath(folder_.PathOf("wrenfold.tst")); }
  void TearDown() override { SetLogPath(kDefaultLogPath); }

  void UseBoard(uint8_t mapper, uint32_t prgBanks16k, uint32_t chrBanks8k, bool vertical = true) {
    SynthesiseBoard(*machine_, mapper, prgBanks16k, chrBanks8k, vertical);
  }

  void Write(uint16_t address, uint8_t value) { WriteBus(*machine_, address, value); }

  MachineState& Machine() { return *machine_; }

  // Each 8 KB piece of [cpuAddress, cpuAddress + length) holds the next 8 KB index from first8k.
  ::testing::AssertionResult PrgAt(uint16_t cpuAddress, uint32_t length, uint32_t first8k) const {
    for (uint32_t piece = 0; piece * kBank8k < length; ++piece) {
      const uint32_t size = std::min<uint32_t>(kBank8k, length - piece * kBank8k);
      ::testing::AssertionResult result = AllBytesAre(
          machine_->cpuMem + cpuAddress + piece * kBank8k, size, PrgFill(first8k + piece));
      if (!result)
        return result << " in 8 KB piece " << piece << " from $" << std::hex << cpuAddress;
    }
    return ::testing::AssertionSuccess();
  }

  // Each 1 KB piece of [ppuAddress, ppuAddress + length) holds the next 1 KB index from first1k.
  ::testing::AssertionResult ChrAt(uint16_t ppuAddress, uint32_t length, uint32_t first1k) const {
    for (uint32_t piece = 0; piece * kBank1k < length; ++piece) {
      ::testing::AssertionResult result = AllBytesAre(
          machine_->ppuMem + ppuAddress + piece * kBank1k, kBank1k, ChrFill(first1k + piece));
      if (!result)
        return result << " in 1 KB piece " << piece << " from $" << std::hex << ppuAddress;
    }
    return ::testing::AssertionSuccess();
  }

  // The decoded tiles of [start, start + length) agree with the pattern bytes in ppuMem.
  ::testing::AssertionResult CacheMatchesPatterns(uint16_t start, uint32_t length) const {
    for (uint32_t tile = start / 16; tile < (start + length) / 16; ++tile) {
      for (uint32_t row = 0; row < 8; ++row) {
        const uint8_t plane0 = machine_->ppuMem[tile * 16 + row];
        const uint8_t plane1 = machine_->ppuMem[tile * 16 + row + 8];
        for (uint32_t column = 0; column < 8; ++column) {
          const int expected = ((plane0 >> (7 - column)) & 1) + 2 * ((plane1 >> (7 - column)) & 1);
          const uint8_t pixel = machine_->patternCache[tile * 64 + row * 8 + column];
          if (pixel != expected) {
            return ::testing::AssertionFailure()
                   << "tile " << tile << " row " << row << " column " << column << " is "
                   << int{pixel} << ", expected " << expected;
          }
        }
      }
    }
    return ::testing::AssertionSuccess();
  }

  void ClearPatternCache() {
    std::memset(machine_->patternCache, 0, sizeof machine_->patternCache);
  }

  std::string Log() const { return ScratchFolder::ReadText(LogPath()); }

  // Runs the board's line step for `count` lines, continuing the frame's line numbers, and
  // returns the 1-based step at which the cartridge's IRQ line first rose (0: it did not). The
  // CPU's I flag is set so that no IRQ is taken.
  int StepsUntilIrq(int count) {
    const BoardLineStep step = BoardFor(machine_->header.mapperNumber).lineStep;
    machine_->cpu.P |= kFlagI;
    for (int i = 1; i <= count; ++i) {
      step(*machine_, static_cast<uint16_t>(line_), true);
      line_ = (line_ + 1) % 262;
      if (machine_->irq.irqLine) return i;
    }
    return 0;
  }

  // Whether the name-table slots hold, in order, the console pages or CHR banks whose first
  // byte is given, and a write to each slot reaches exactly the slots that show the same page.
  ::testing::AssertionResult NameTablesShow(const std::array<uint8_t, 4>& firstBytes) {
    for (int slot = 0; slot < 4; ++slot) {
      const uint8_t actual = machine_->ppuMem[0x2000 + slot * 0x400];
      if (actual != firstBytes[slot]) {
        return ::testing::AssertionFailure() << "slot " << slot << " shows " << int{actual}
                                             << ", expected " << int{firstBytes[slot]};
      }
    }
    return ::testing::AssertionSuccess();
  }

  // Fills the name-table slots' console pages: each slot's bytes become its own marker, written
  // through the mirroring so that mirrored slots end up with the last marker written to them.
  void WriteNameTableMarker(int slot, uint8_t marker) {
    for (uint16_t offset = 0; offset < 0x400; ++offset) {
      WriteNameTable(*machine_, static_cast<uint16_t>(0x2000 + slot * 0x400 + offset), marker);
    }
  }

  int line_ = 0;

  // The log lines one write to an unemulated register leaves.
  static std::string LoggedWrite(uint16_t address, uint8_t value) {
    return std::to_string(address) + "\n" + std::to_string(value) + "\n";
  }

  ScratchFolder folder_;
  std::unique_ptr<MachineState> machine_ = std::make_unique<MachineState>();
};

}  // namespace wrenfold::testing_support
