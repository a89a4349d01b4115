// The console's memory map as every part of the emulator sees it: the addresses and bits of
// the I/O registers, the CPU vectors and the fixed places in the CPU address space. Registers
// without internal state keep their last written byte at their own cpuMem address, so the buses,
// the renderer, the sound and the host all read these names.
#pragma once

#include <cstdint>

namespace wrenfold {

// 2 KB of work RAM, seen four times in $0000-$1FFF; the stack is its page 1.
inline constexpr uint16_t kRamMirrorEnd = 0x2000;
inline constexpr uint16_t kRamMask = 0x07FF;
inline constexpr uint16_t kStackPage = 0x0100;

// PPU registers. They are decoded at $2000-$2007 only; $2008-$3FFF are not mirrors here.
inline constexpr uint16_t kPpuCtrl = 0x2000;
inline constexpr uint16_t kPpuMask = 0x2001;
inline constexpr uint16_t kPpuStatus = 0x2002;  // a read clears vblank and the write toggle
inline constexpr uint16_t kOamAddr = 0x2003;    // stepped by every $2004 read and write
inline constexpr uint16_t kOamData = 0x2004;
inline constexpr uint16_t kPpuScroll = 0x2005;
inline constexpr uint16_t kPpuAddr = 0x2006;
inline constexpr uint16_t kPpuData = 0x2007;

// $2000 bits.
inline constexpr uint8_t kCtrlNameTable = 0x03;         // the name table the scroll starts in
inline constexpr uint8_t kCtrlIncrement32 = 0x04;       // $2007 steps by 32 (one name-table row)
inline constexpr uint8_t kCtrlSpriteTable1 = 0x08;      // 8 x 8 sprites come from pattern table 1
inline constexpr uint8_t kCtrlBackgroundTable1 = 0x10;  // the background comes from table 1
inline constexpr uint8_t kCtrlTallSprites = 0x20;       // 8 x 16 sprites
inline constexpr uint8_t kCtrlNmiEnable = 0x80;

// $2001 bits.
inline constexpr uint8_t kMaskGreyscale = 0x01;       // every colour shown as its row's grey
inline constexpr uint8_t kMaskBackgroundLeft = 0x02;  // background shown in the leftmost 8 pixels
inline constexpr uint8_t kMaskSpritesLeft = 0x04;     // sprites allowed in the leftmost 8 pixels
inline constexpr uint8_t kMaskBackground = 0x08;
inline constexpr uint8_t kMaskSprites = 0x10;
inline constexpr uint8_t kMaskEmphasis = 0xE0;  // colour emphasis: bit 5 red, 6 green, 7 blue
inline constexpr int kMaskEmphasisShift = 5;

// $2002 bits.
inline constexpr uint8_t kStatusChrRom = 0x10;          // set by the loader for images with CHR ROM
inline constexpr uint8_t kStatusSpriteOverflow = 0x20;  // more than eight sprites on a line
inline constexpr uint8_t kStatusSprite0Hit = 0x40;
inline constexpr uint8_t kStatusVblank = 0x80;

inline constexpr uint16_t kPpuAddressMask = 0x3FFF;
// The palette in PPU address space: 32 entries at $3F00, seen again up to $3FFF.
inline constexpr uint16_t kPaletteStart = 0x3F00;
inline constexpr uint16_t kPaletteMirrorMask = 0x3F1F;  // address AND this = the entry's address

// APU and I/O registers. Each sound channel's registers start at its control register.
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
inline constexpr uint16_t kOamDma = 0x4014;  // copies one 256-byte page into sprite memory
// One enable bit per channel, pulse 1 in bit 0 to delta modulation in bit 4.
inline constexpr uint16_t kApuStatus = 0x4015;
inline constexpr uint16_t kJoypad1 = 0x4016;  // writes with bit 0 set restart both pads
inline constexpr uint16_t kJoypad2 = 0x4017;

inline constexpr uint8_t kJoypadStrobe = 0x01;
inline constexpr uint8_t kDmcMidLevel = 0x80;

// Cartridge space.
inline constexpr uint16_t kCartRamStart = 0x6000;
inline constexpr uint16_t kCartRamWindowMask = 0xE000;  // address AND this = $6000 for $6000-$7FFF
inline constexpr uint16_t kTrainerAddress = 0x7000;     // where a trainer is loaded
inline constexpr uint16_t kPrgWindowStart = 0x8000;

// CPU vectors, each the low byte of a little-endian address.
inline constexpr uint16_t kNmiVector = 0xFFFA;
inline constexpr uint16_t kResetVector = 0xFFFC;
inline constexpr uint16_t kIrqVector = 0xFFFE;  // also taken by BRK

}  // namespace wrenfold
