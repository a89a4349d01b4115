// The save-state file: 83,482 bytes at fixed offsets, every multi-byte value little-endian. A
// movie file starts with the same bytes and then holds two pad bytes per recorded frame.
//
// Every field of the file is one entry of kStateFields, in file order; the compiler checks that
// the entries follow each other without a gap and end at kStateSize, and that the offsets other
// files of this format rely on are where they always were.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace wrenfold {

struct StateField {
  std::size_t offset;
  std::size_t size;

  constexpr std::size_t end() const { return offset + size; }
};

inline constexpr std::size_t kStateSize = 83482;
inline constexpr std::array<uint8_t, 3> kStateMagic = {'K', 'S', 'V'};

namespace state_layout {

// {offset, size}
inline constexpr StateField kMagic{0, 3};            // "KSV"
inline constexpr StateField kPrgBankCount{3, 4};     // 16 KB PRG banks of the image
inline constexpr StateField kChrBankCount{7, 4};     // 8 KB CHR banks, 0 = pattern RAM
inline constexpr StateField kMirrorVertical{11, 4};  // 0 or 1
inline constexpr StateField kBatteryFlag{15, 4};     // 0 or 1
inline constexpr StateField kTrainerFlag{19, 4};     // 0 or 1
inline constexpr StateField kFourScreen{23, 4};      // 0 or 1
inline constexpr StateField kMapperNumber{27, 1};
inline constexpr StateField kAfterMapperNumber{28, 3};  // no meaning: written 0, read any value
inline constexpr StateField kSpareNameTable{31, 1024};
inline constexpr StateField kPaletteRam{1055, 32};
inline constexpr StateField kNamcoRam{1087, 128};  // Namco 106 sound and wave memory
inline constexpr StateField kCpuP{1215, 1};
inline constexpr StateField kCpuS{1216, 1};
inline constexpr StateField kCpuPc{1217, 2};
inline constexpr StateField kCpuA{1219, 1};
inline constexpr StateField kCpuX{1220, 1};
inline constexpr StateField kCpuY{1221, 1};
inline constexpr StateField kCpuSpare{1222, 2};  // the two bytes after Y in the CPU record
// The loaded board's registers, latches and IRQ fields: the spans of its board row, packed in
// row order from the start of the block; the rest of the block is written 0.
inline constexpr StateField kBoardBlock{1224, 58};
inline constexpr StateField kCpuMem{1282, 65536};
inline constexpr StateField kPpuMem{66818, 16384};
inline constexpr StateField kOam{83202, 256};
// The PPU latch block.
inline constexpr StateField kVramLatch{83458, 2};
inline constexpr StateField kVramAddr{83460, 2};
inline constexpr StateField kWriteToggle{83462, 1};
inline constexpr StateField kFineX{83463, 1};
inline constexpr StateField kFineY{83464, 1};
inline constexpr StateField kVramAddrWritten{83465, 1};
inline constexpr StateField kPadReadIndex{83466, 2};  // one per port
inline constexpr StateField kCycleCarry{83468, 2};  // second core: cycles carried to the next line
// A checksum of the PRG and CHR data, so a state of another game on the same board is refused.
inline constexpr StateField kRomFingerprint{83470, 4};
inline constexpr StateField kPpuReadBuffer{83474, 1};    // the $2007 read buffer
inline constexpr StateField kLatchBlockSpare{83475, 7};  // written 0, read any value

// In file order.
// clang-format off
inline constexpr StateField kStateFields[] = {
    kMagic, kPrgBankCount, kChrBankCount, kMirrorVertical, kBatteryFlag, kTrainerFlag,
    kFourScreen, kMapperNumber, kAfterMapperNumber, kSpareNameTable, kPaletteRam, kNamcoRam,
    kCpuP, kCpuS, kCpuPc, kCpuA, kCpuX, kCpuY, kCpuSpare, kBoardBlock, kCpuMem, kPpuMem, kOam,
    kVramLatch, kVramAddr, kWriteToggle, kFineX, kFineY, kVramAddrWritten, kPadReadIndex,
    kCycleCarry, kRomFingerprint, kPpuReadBuffer, kLatchBlockSpare,
};
// clang-format on

constexpr bool FieldsFollowEachOther() {
  std::size_t expected = 0;
  for (const StateField& field : kStateFields) {
    if (field.offset != expected || field.size == 0) return false;
    expected = field.end();
  }
  return expected == kStateSize;
}
static_assert(FieldsFollowEachOther(), "state fields must tile the file without gaps or overlaps");

// The regions every reader of the format knows by offset.
static_assert(kMapperNumber.offset == 27 && kSpareNameTable.offset == 31);
static_assert(kPaletteRam.offset == 1055 && kNamcoRam.offset == 1087);
static_assert(kCpuP.offset == 1215 && kCpuPc.offset == 1217 && kCpuA.offset == 1219);
static_assert(kBoardBlock.offset == 1224 && kBoardBlock.end() == 1282);
static_assert(kCpuMem.offset == 1282 && kPpuMem.offset == 66818 && kOam.offset == 83202);
static_assert(kVramLatch.offset == 83458 && kLatchBlockSpare.end() == kStateSize);

}  // namespace state_layout
}  // namespace wrenfold
