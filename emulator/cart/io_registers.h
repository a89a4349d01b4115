// Addresses and bits of the console's I/O registers as the read and write buses decode them.
// Registers without internal state keep their last written byte at their own cpuMem address.
#pragma once

#include <cstdint>

namespace wrenfold {

// 2 KB of work RAM, seen four times in $0000-$1FFF.
inline constexpr uint16_t kRamMirrorEnd = 0x2000;
inline constexpr uint16_t kRamMask = 0x07FF;

// PPU registers. They are decoded at $2000-$2007 only; $2008-$3FFF are not mirrors here.
inline constexpr uint16_t kPpuCtrl = 0x2000;  // bit 2 picks the $2007 step, bit 7 enables NMI
inline constexpr uint16_t kPpuMask = 0x2001;
inline constexpr uint16_t kPpuStatus = 0x2002;  // a read clears vblank and the write toggle
inline constexpr uint16_t kOamAddr = 0x2003;    // stepped by every $2004 read and write
inline constexpr uint16_t kOamData = 0x2004;
inline constexpr uint16_t kPpuScroll = 0x2005;
inline constexpr uint16_t kPpuAddr = 0x2006;
inline constexpr uint16_t kPpuData = 0x2007;

inline constexpr uint8_t kCtrlIncrement32 = 0x04;  // $2007 steps by 32 (one name-table row)
inline constexpr uint8_t kCtrlNmiEnable = 0x80;
inline constexpr uint8_t kStatusVblank = 0x80;
inline constexpr uint8_t kStatusSprite0Hit = 0x40;
inline constexpr uint8_t kStatusChrRom = 0x10;  // set by the loader for images with CHR ROM

inline constexpr uint16_t kPpuAddressMask = 0x3FFF;

// APU and I/O registers.
inline constexpr uint16_t kSq1Ctrl = 0x4000;
inline constexpr uint16_t kSq1Sweep = 0x4001;
inline constexpr uint16_t kSq1Length = 0x4003;  // every write restarts the note
inline constexpr uint16_t kSq2Ctrl = 0x4004;
inline constexpr uint16_t kSq2Sweep = 0x4005;
inline constexpr uint16_t kSq2Length = 0x4007;  // every write restarts the note
inline constexpr uint16_t kTriCtrl = 0x4008;
inline constexpr uint16_t kNoiseCtrl = 0x400C;
inline constexpr uint16_t kNoiseLength = 0x400F;
inline constexpr uint16_t kDmcCtrl = 0x4010;
inline constexpr uint16_t kDmcLevel = 0x4011;  // a stored 0 reads as the mid level 0x80
inline constexpr uint16_t kDmcLength = 0x4013;
inline constexpr uint16_t kOamDma = 0x4014;     // copies one 256-byte page into sprite memory
inline constexpr uint16_t kApuStatus = 0x4015;  // channel enable bits
inline constexpr uint16_t kJoypad1 = 0x4016;    // writes with bit 0 set restart both pads
inline constexpr uint16_t kJoypad2 = 0x4017;

inline constexpr uint8_t kJoypadStrobe = 0x01;
inline constexpr uint8_t kDmcMidLevel = 0x80;

// Cartridge space.
inline constexpr uint16_t kCartRamStart = 0x6000;
inline constexpr uint16_t kCartRamWindowMask = 0xE000;  // address AND this = $6000 for $6000-$7FFF
inline constexpr uint16_t kPrgWindowStart = 0x8000;

}  // namespace wrenfold
