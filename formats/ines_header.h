// Decoding of the 16-byte iNES header, shared by the emulator's loader, the checksum library and
// the front-end's header panel and fingerprints.
#pragma once

#include <cstdint>

namespace wrenfold {

inline constexpr int kInesHeaderSize = 16;
// "NES" and an end-of-file byte open every iNES image.
inline constexpr uint8_t kInesMagic[4] = {0x4E, 0x45, 0x53, 0x1A};
inline constexpr int kTrainerSize = 512;

struct InesHeader {
  bool magicOk;          // bytes 0-2 are "NES" (byte 3 is not examined)
  uint8_t prgBankCount;  // 16 KB units
  uint8_t chrBankCount;  // 8 KB units, 0 = pattern RAM
  bool mirrorVertical;
  bool battery;
  bool trainer;
  bool fourScreen;
  bool disTag;           // bytes 7-9 read "Dis", left by an old header tool
  uint8_t mapperNumber;  // with the "Dis" correction applied, before any alias
};

constexpr InesHeader DecodeInesHeader(const uint8_t (&bytes)[kInesHeaderSize]) {
  InesHeader header{};
  header.magicOk = bytes[0] == 0x4E && bytes[1] == 0x45 && bytes[2] == 0x53;
  header.prgBankCount = bytes[4];
  header.chrBankCount = bytes[5];
  header.mirrorVertical = (bytes[6] & 0x01) != 0;
  header.battery = (bytes[6] & 0x02) != 0;
  header.trainer = (bytes[6] & 0x04) != 0;
  header.fourScreen = (bytes[6] & 0x08) != 0;
  header.disTag = bytes[7] == 'D' && bytes[8] == 'i' && bytes[9] == 's';
  header.mapperNumber = static_cast<uint8_t>((bytes[7] & 0xF0) | (bytes[6] >> 4));
  // The "D" of "Dis" contributes a bogus high nibble.
  if (header.disTag) header.mapperNumber &= 0x3F;
  return header;
}

// Bytes of cartridge data (trainer, PRG, CHR) the header promises after itself.
constexpr uint32_t InesDataLength(const InesHeader& header) {
  return header.prgBankCount * 16384u + header.chrBankCount * 8192u +
         (header.trainer ? static_cast<uint32_t>(kTrainerSize) : 0u);
}

}  // namespace wrenfold
