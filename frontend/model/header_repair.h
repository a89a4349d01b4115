// The cartridge header panel's rules: reading the 16-byte iNES header of a listed file,
// comparing it with the header the recognition database expects, finding trash in the tail,
// and the two repairs that write into the ROM file in place.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

#include "formats/ines_header.h"
#include "frontend/model/interface_language.h"

namespace wrenfold {

using RomHeaderBytes = std::array<uint8_t, kInesHeaderSize>;

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kPanelBlack{0, 0, 0};
inline constexpr Rgb kPanelRed{255, 0, 0};
inline constexpr Rgb kPanelGreen{0, 128, 0};

struct HeaderTextView {
  std::string text;  // "ROM容量： 128K" ("ROM Size: 128K"), "VROM容量： 8K", "Mapper# 4"
  Rgb colour = kPanelBlack;
};

struct HeaderFlagView {
  bool visible = false;
  Rgb colour = kPanelGreen;
};

// Flags of header byte 6, in bit order, with the label that shows each.
enum HeaderFlag : int {
  kFlagVerticalMirroring,  // Label2, bit 0
  kFlagBattery,            // Label8, bit 1
  kFlagTrainer,            // Label10, bit 2
  kFlagFourScreen,         // Label9, bit 3
  kHeaderFlagCount
};

struct HeaderPanelView {
  HeaderTextView prgSize;  // Label4
  HeaderTextView chrSize;  // Label5
  HeaderTextView mapper;   // Label3
  std::array<HeaderFlagView, kHeaderFlagCount> flags;
  bool differsFromExpected = false;  // offer to write the expected header
  bool hasTrash = false;             // offer to clear the tail
  // The expected header does not begin with "NES" and 0x1A (a damaged or hand-made
  // database): the file's header is only shown, and no repair is offered.
  bool storedHeaderDamaged = false;
};

// The mapper number as the panel shows it: both nibbles as stored, without the loader's
// "Dis" correction, so a trashed byte 7 shows up as a mismatch.
int PanelMapperNumber(const RomHeaderBytes& header);

// Any of bytes 8 to 14 non-zero (byte 15 is not looked at).
bool HeaderHasTrash(const RomHeaderBytes& header);

// True when the header begins with "NES" and 0x1A.
bool HasInesMagic(const RomHeaderBytes& header);

// The panel for a file's header. With `expected` (the recognition record's header of a known
// file) byte 4, byte 5, the mapper number and bits 0-3 of byte 6 are compared; bytes 0-3, the
// low nibble of byte 7 and bytes 8-15 take no part. Without it (unknown or conflicting file),
// or when it lacks the magic, the header is only shown.
// The texts are in the interface `language`.
HeaderPanelView BuildHeaderPanel(const RomHeaderBytes& fileHeader, const RomHeaderBytes* expected,
                                 int language = kLanguageChinese);

enum class HeaderFileStatus {
  Ok,
  CannotOpen,           // missing, unreadable or not a regular file
  TooShort,             // fewer than 16 bytes: no header to show or repair
  ReadOnly,             // the file's permissions forbid writing; nothing was written
  WriteFailed,          // the write was refused or incomplete; the original header was put back
  StoredHeaderDamaged,  // the expected header lacks the magic; nothing was written
};

struct HeaderReadResult {
  HeaderFileStatus status = HeaderFileStatus::CannotOpen;
  RomHeaderBytes bytes{};
  std::string detail;  // system error text, if any
};

HeaderReadResult ReadRomHeader(const std::filesystem::path& romPath);

struct RepairResult {
  HeaderFileStatus status = HeaderFileStatus::CannotOpen;
  std::string detail;
};

// Writes the 16 expected header bytes over bytes 0-15 of the file; an expected header without
// the magic is never written (StoredHeaderDamaged).
RepairResult WriteExpectedHeader(const std::filesystem::path& romPath,
                                 const RomHeaderBytes& expected);

// Zeroes bytes 8-15, and byte 7 too when bytes 7 and 8 of the file read "D" and "i". The
// bytes are taken from the file as it is now, so a header written by WriteExpectedHeader just
// before keeps its byte 7.
RepairResult ClearHeaderTrash(const std::filesystem::path& romPath);

// The writes of a repair, apart from the file, so that a failing disk can stand in for it.
struct HeaderWriteTarget {
  // Writes all of `bytes` at `offset`; false when any part failed (some may have landed).
  std::function<bool(std::span<const uint8_t> bytes, size_t offset)> write;
  // Puts what was written on the disk; false when that failed.
  std::function<bool()> flush;
};

// Writes `bytes` at `offset` of a header that held `original`. When the write or the flush
// fails, the original 16 bytes are written back (and flushed) before the failure is returned,
// so a failed repair leaves the header as it was whenever the disk still takes a write.
bool WriteHeaderOrRestore(const HeaderWriteTarget& target, std::span<const uint8_t> bytes,
                          size_t offset, const RomHeaderBytes& original);

}  // namespace wrenfold
