// Boards that choose what each of the four name-table slots shows: one of the console's two
// 1 KB pages of name-table RAM, or a 1 KB bank of CHR ROM (mappers 19 and 68).
//
// The slots stay real copies: a console page that leaves every slot is kept aside in
// hiddenNameTables until a slot shows it again, and the write mirroring is set so that a
// name-table write reaches every slot that shows the same console page. A layout that the
// mirroring modes cannot express (a page in three slots, or CHR ROM beside console pages) makes
// each slot take its own writes.
#pragma once

#include <array>
#include <cstdint>

#include "emulator/machine_state/machine_state.h"

namespace wrenfold {

struct NameTableSource {
  bool fromChr;    // a bank of CHR ROM rather than a console page
  uint8_t number;  // console page 0 or 1, or the 1 KB CHR bank
};

using NameTableLayout = std::array<NameTableSource, 4>;

inline constexpr NameTableSource ConsolePage(uint8_t page) {
  return NameTableSource{false, static_cast<uint8_t>(page & 1)};
}
inline constexpr NameTableSource ChrPage(uint8_t bank) {
  return NameTableSource{true, bank};
}

// The slots go from showing `shown` (what they show now) to showing `next`.
void ShowNameTables(MachineState& machine, const NameTableLayout& shown,
                    const NameTableLayout& next);

}  // namespace wrenfold
