// Boards that choose what each name-table slot shows (mappers 19, 68 and 80): against a model of
// the console's two name-table pages, random register and name-table writes keep every slot
// showing its page or CHR bank, mirrored writes reaching every slot of the same page, and a page
// that leaves the slots coming back as it was.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "emulator/cart/mirroring.h"
#include "tests/emulator/cart/mapper_test_support.h"
#include "tests/emulator/cart/synthetic_rom.h"

namespace wrenfold {
namespace {

using testing_support::ChrFill;
using testing_support::MapperTest;

constexpr uint32_t kChrBanks8k = 16;  // 128 pages of 1 KB

// What a slot shows: a console page (0 or 1) or a CHR page.
struct SlotSource {
  bool chr;
  uint32_t number;
};

class NameTableModelTest : public MapperTest {
 protected:
  // The first byte each slot should show.
  std::array<uint8_t, 4> Expected(const std::array<SlotSource, 4>& layout) const {
    std::array<uint8_t, 4> bytes{};
    for (int slot = 0; slot < 4; ++slot) {
      bytes[slot] =
          layout[slot].chr ? ChrFill(layout[slot].number % 128) : pageMarker_[layout[slot].number];
    }
    return bytes;
  }

  // A write to a slot's first byte reaches every slot of its console page when the layout
  // is one the mirroring expresses, or when no other slot shows that page.
  bool CanWriteThrough(const std::array<SlotSource, 4>& layout, int slot) const {
    int sharing = 0;
    bool anyChr = false;
    for (const SlotSource& source : layout) {
      anyChr |= source.chr;
      if (!source.chr && source.number == layout[slot].number) ++sharing;
    }
    if (layout[slot].chr) return false;
    if (sharing == 1) return true;
    if (anyChr) return false;
    const auto page = [&](int s) { return layout[s].number; };
    return sharing == 4 || (page(0) == page(2) && page(1) == page(3) && page(0) != page(1)) ||
           (page(0) == page(1) && page(2) == page(3) && page(0) != page(2));
  }

  // Writes a fresh marker to the slot's first byte and records it for its page.
  void WriteMarker(const std::array<SlotSource, 4>& layout, int slot, uint8_t marker) {
    WriteNameTable(Machine(), static_cast<uint16_t>(0x2000 + slot * 0x400), marker);
    pageMarker_[layout[slot].number] = marker;
  }

  uint8_t pageMarker_[2] = {0, 0};
};

std::array<SlotSource, 4> NamcoLayout(const std::array<uint8_t, 4>& regs) {
  std::array<SlotSource, 4> layout{};
  for (int slot = 0; slot < 4; ++slot) {
    layout[slot] =
        regs[slot] >= 0xE0 ? SlotSource{false, regs[slot] & 1u} : SlotSource{true, regs[slot]};
  }
  return layout;
}

TEST_F(NameTableModelTest, Namco163SlotsFollowTheirRegisters) {
  UseBoard(19, 2, kChrBanks8k);
  std::array<uint8_t, 4> regs = {0xE0, 0xE0, 0xE1, 0xE1};
  std::mt19937 random(163);
  for (int step = 0; step < 600; ++step) {
    const int slot = static_cast<int>(random() % 4);
    if (random() % 2 == 0) {
      const uint8_t value = (random() % 3 != 0) ? static_cast<uint8_t>(0xE0 | (random() & 0x1F))
                                                : static_cast<uint8_t>(random() % 0xE0);
      Write(static_cast<uint16_t>(0xC000 + slot * 0x800), value);
      regs[slot] = value;
    } else if (CanWriteThrough(NamcoLayout(regs), slot)) {
      WriteMarker(NamcoLayout(regs), slot, static_cast<uint8_t>(1 + random() % 250));
    }
    ASSERT_TRUE(NameTablesShow(Expected(NamcoLayout(regs)))) << "step " << step;
  }
}

std::array<SlotSource, 4> Sunsoft4Layout(uint8_t control, const uint8_t (&pages)[2]) {
  const bool chr = (control & 0x10) != 0;
  const SlotSource a = chr ? SlotSource{true, 0x80u | pages[0]} : SlotSource{false, 0};
  const SlotSource b = chr ? SlotSource{true, 0x80u | pages[1]} : SlotSource{false, 1};
  switch (control & 3) {
    case 0:
      return {a, b, a, b};
    case 1:
      return {a, a, b, b};
    case 2:
      return {a, a, a, a};
    default:
      return {b, b, b, b};
  }
}

TEST_F(NameTableModelTest, Sunsoft4ShowsConsolePagesOrChrRomPages) {
  UseBoard(68, 2, kChrBanks8k, /*vertical=*/true);
  uint8_t control = 0;  // vertical, from the header
  uint8_t pages[2] = {0, 0};
  std::mt19937 random(68);
  for (int step = 0; step < 600; ++step) {
    const int choice = static_cast<int>(random() % 4);
    if (choice == 0) {
      control = static_cast<uint8_t>(random() & 0x13);
      Write(0xE000, control);
    } else if (choice == 1) {
      const int which = static_cast<int>(random() % 2);
      pages[which] = static_cast<uint8_t>(random() & 0x7F);
      Write(which ? 0xD000 : 0xC000, pages[which]);
    } else {
      const int slot = static_cast<int>(random() % 4);
      if (CanWriteThrough(Sunsoft4Layout(control, pages), slot)) {
        WriteMarker(Sunsoft4Layout(control, pages), slot, static_cast<uint8_t>(1 + random() % 250));
      }
    }
    ASSERT_TRUE(NameTablesShow(Expected(Sunsoft4Layout(control, pages)))) << "step " << step;
  }
}

// Boards wired for it take bit 7 of the two 2 KB CHR registers as the console page of each half
// of the name tables, until the game writes the mirroring register.
TEST_F(NameTableModelTest, X1005PagesFromChrBit7UntilTheMirroringRegister) {
  UseBoard(80, 2, kChrBanks8k, /*vertical=*/true);
  const std::array<SlotSource, 4> vertical = {SlotSource{false, 0}, SlotSource{false, 1},
                                              SlotSource{false, 0}, SlotSource{false, 1}};
  WriteMarker(vertical, 0, 0x11);
  WriteMarker(vertical, 1, 0x22);
  ASSERT_TRUE(NameTablesShow({0x11, 0x22, 0x11, 0x22}));

  Write(0x7EF0, 0x80);
  Write(0x7EF1, 0x00);
  EXPECT_TRUE(NameTablesShow({0x22, 0x22, 0x11, 0x11}));
  Write(0x7EF1, 0x80);
  EXPECT_TRUE(NameTablesShow({0x22, 0x22, 0x22, 0x22}));
  Write(0x7EF0, 0x00);
  Write(0x7EF1, 0x80);

  Write(0x7EF6, 0x01);
  EXPECT_TRUE(NameTablesShow({0x11, 0x22, 0x11, 0x22}));
  Write(0x7EF0, 0x80);
  EXPECT_TRUE(NameTablesShow({0x11, 0x22, 0x11, 0x22}));
  Write(0x7EF7, 0x00);
  EXPECT_TRUE(NameTablesShow({0x11, 0x11, 0x22, 0x22}));
}

}  // namespace
}  // namespace wrenfold
