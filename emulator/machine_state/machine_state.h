// The one record of the emulated console. Every bank switch copies bytes into the flat
// cpuMem / ppuMem images held here, so the CPU, the renderer and save states only ever
// see these arrays. A zero-filled record is a freshly powered machine before loading.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace wrenfold {

inline constexpr std::size_t kPrgBankSize = 16 * 1024;
inline constexpr std::size_t kChrBankSize = 8 * 1024;
inline constexpr std::size_t kMaxPrgBanks = 64;
inline constexpr std::size_t kMaxChrBanks = 64;
inline constexpr std::size_t kPrgRomSize = kMaxPrgBanks * kPrgBankSize;  // 1 MB
inline constexpr std::size_t kChrRomSize = kMaxChrBanks * kChrBankSize;  // 512 KB
inline constexpr std::size_t kCpuMemSize = 64 * 1024;
inline constexpr std::size_t kPpuMemSize = 16 * 1024;
inline constexpr std::size_t kPatternCacheSize = 512 * 64;  // 512 tiles x 8 rows x 8 pixels

// Status register bits, 6502 layout.
inline constexpr uint8_t kFlagN = 0x80;
inline constexpr uint8_t kFlagV = 0x40;
inline constexpr uint8_t kFlagBit5 = 0x20;
inline constexpr uint8_t kFlagB = 0x10;
inline constexpr uint8_t kFlagD = 0x08;
inline constexpr uint8_t kFlagI = 0x04;
inline constexpr uint8_t kFlagZ = 0x02;
inline constexpr uint8_t kFlagC = 0x01;

// Live registers of the 6502. P stays packed; the interrupt entries and save states use it as is.
struct CpuRegisters {
  uint8_t P;
  uint8_t S;  // stack is cpuMem[0x0100 + S]
  uint16_t PC;
  uint8_t A;
  uint8_t X;
  uint8_t Y;
  uint8_t spare[2];  // carried through save states untouched
};

// Bank registers of the cartridge boards. Only the fields of the loaded board are ever
// non-zero; each board family names its own fields so handlers read clearly.
struct MapperRegisters {
  // MMC1 (mapper 1): serial shift register and the four internal registers.
  uint8_t mmc1Shift;    // bit k = bit 0 of the k-th write since the last load or reset
  uint8_t mmc1Count;    // bits received, 0-4
  uint8_t mmc1Regs[4];  // 0 control, 1 CHR bank 0, 2 CHR bank 1, 3 PRG bank

  // MMC3 family (mappers 4, 74, 112, 115, 118, 160, 161, 245, 249).
  uint8_t mmc3BankSelect;  // $8000: bits 0-2 the register $8001 loads, 6 PRG mode, 7 CHR inversion
  uint8_t mmc3Banks[9];    // R0-R5 CHR (R0, R1 2 KB), R6-R7 PRG; R8 mapper 161's $E000 bank
  uint8_t mmc3A12;         // PPU address line 12 as the CPU side last left it
  uint8_t txsromPageOfA;   // mapper 118: the name-table page held as table A of the mirroring
  uint8_t chrLock160;      // mapper 160: CHR writes only outside vblank while non-zero

  // Konami VRC2/VRC4 (mappers 21, 22, 23, 25).
  uint8_t vrcChrRegs[8];    // 1 KB pattern bank per slot, written a nibble at a time
  uint8_t vrcPrgRegs[2];    // the 8 KB banks written at $8xxx and $Axxx
  uint16_t vrcPrgSwapAddr;  // $8000 or $C000: where the $8xxx bank shows

  // VRC6 sound registers (mappers 24 and 26): three groups of four bytes.
  uint8_t vrc6SoundRegs[12];

  // Namco 106 (mapper 19).
  uint8_t namcoRamAddr;     // 7 bits
  uint8_t namcoAddrCtrl;    // bit 7 = auto-increment
  uint8_t namcoChrRamCtrl;  // bits 6 and 7: values $E0 and up name CHR ROM, not console RAM
  uint8_t namcoNtRegs[4];   // per name-table slot: a CHR bank, or $E0/$E1 for console page 0/1

  // MMC4 (mapper 10).
  uint8_t mmc4ChrBanks[4];
  uint8_t mmc4Latch[2];  // 0xFD or 0xFE

  // Small boards with a byte or two of state.
  uint8_t ffeMode;             // mapper 6: 0x20 at load, set by $42F0-$42FF
  uint8_t ffeChrPage;          // mapper 6: the CHR page currently in pattern memory
  uint8_t iremPrgMode;         // mapper 32: non-zero puts the $8xxx bank at $C000
  uint8_t iremPrgReg;          // mapper 32: the bank written at $8xxx
  uint8_t caltronOuterEnable;  // mapper 41
  uint8_t caltronChrOuter;     // mapper 41
  uint8_t outerBank227;        // mapper 227
  uint8_t fmeCommand;          // mapper 69
  uint8_t fmeRamControl;       // mapper 69: register 8, what $6000-$7FFF shows
  uint8_t jalecoPrgRegs[3];    // mapper 18: nibble-pair PRG registers
  uint8_t jalecoChrRegs[8];    // mapper 18: nibble-pair CHR registers
  uint8_t taitoNtMode;         // mapper 80: 0 header, 1 CHR bit 7 picks pages, 2 $7EF6 register
  uint8_t taitoNtPages;        // mapper 80: bit 0 page of $2000-$27FF, bit 1 of $2800-$2FFF
  uint8_t sunsoftNtRegs[2];    // mapper 68: CHR ROM pages for name tables A and B
  uint8_t sunsoftNtControl;    // mapper 68: bits 0-1 mirroring, bit 4 CHR ROM name tables

  // Tengen RAMBO-1 (mapper 64): R0-R9 and RF by bank-select number, and the bank select.
  uint8_t ramboRegs[16];
  uint8_t ramboBankSelect;  // bits 0-3 register, 5 1 KB CHR mode, 6 PRG mode, 7 CHR inversion

  // J.Y. Company (mapper 90).
  uint8_t jyPrgRegs[4];
  uint8_t jyChrLow[8];
  uint8_t jyChrHigh[8];
  uint8_t jyModes[4];  // $D000 banking modes, $D001 mirroring, $D002, $D003 outer bank
  uint8_t jyMultiplicands[2];
  uint8_t jyScratch;  // $5803: a byte of RAM inside the chip
  uint8_t jyIrqMode;  // $C001: clock source, prescaler size, direction
  uint8_t jyIrqXor;   // $C006: XORed into prescaler and counter writes
};

// PPU latches kept apart from the register images in cpuMem.
// The scroll and address registers (emulator/ppu/ppu_scroll.h).
struct PpuLatches {
  uint16_t vramLatch;  // t: coarse X 0-4, coarse Y 5-9, table 10-11, fine Y 12-14
  uint16_t vramAddr;   // v, laid out as t; its low 14 bits are the next $2007 address
  uint8_t writeToggle;  // shared $2005/$2006 first/second write toggle
  uint8_t fineX;
  uint8_t fineY;            // v's fine Y, kept beside it by SetVramAddr
  uint8_t vramAddrWritten;  // set by $2006, cleared by the next $2007 read or write
  uint8_t readBuffer;       // the byte a $2007 read of pattern or name-table memory returns
};

// IRQ counters and latches of the cartridge boards.
struct MapperIrqState {
  // MMC3-style scanline counter (also mappers 48 and 64).
  uint8_t irqCounter;
  uint8_t irqLatch;
  uint8_t irqEnable;
  uint8_t irqReload;     // $C001 asks for the latch at the next clock (MMC3, 48, 64)
  uint8_t irqCycleMode;  // mapper 64: count CPU cycles / 4 instead of lines
  uint8_t irqPrescaler;  // mappers 64 and 90: clocks towards the next counter step
  // Counters stepped by 114 + irqAdjust CPU cycles per line, or by one per line.
  uint16_t cycleIrqCounter;
  uint8_t cycleIrqActive;
  uint16_t cycleIrqLatch;  // mappers 16, 18, 65, 73: the reload value
  // Konami VRC4/VRC6 (mappers 21, 23, 24, 25, 26): 8-bit counter reloaded from the latch.
  uint8_t vrcIrqLatch;
  uint8_t vrcIrqAckEnable;  // the enable an acknowledge restores
  uint8_t vrcIrqCycleMode;  // count CPU cycles instead of lines (mapper 73: the 8-bit mode)
  uint8_t vrcWiringKnown;
  uint8_t vrcAltWiring;
  uint16_t bandaiIrqCounter;
  uint8_t bandaiIrqActive;
  // The cartridge's IRQ output, for boards that hold it up until the game acknowledges it.
  uint8_t irqLine;
};

// Register-changed signals for the sound mixer; it clears each when it takes the change.
struct ApuWriteFlags {
  int32_t sq1Written;
  int32_t sq1SweepWritten;
  int32_t sq2Written;
  int32_t sq2SweepWritten;
  int32_t triWritten;
  int32_t noiseWritten;
  int32_t dmcWritten;
  int32_t noiseLengthCode;
};

// Decoded iNES header of the loaded image (written once by the loader; mappers change
// mirrorVertical and fourScreen later).
struct CartridgeHeader {
  uint32_t prgBankCount;
  uint32_t chrBankCount;  // 0 = the board has pattern RAM
  uint32_t mirrorVertical;
  uint32_t batteryFlag;
  uint32_t trainerFlag;
  uint32_t fourScreen;
  uint8_t mapperNumber;
};

struct MachineState {
  // Members in the order the save-state code walks them.
  uint8_t spareNameTable[1024];  // the hidden table while a one-screen mode is active
  uint8_t prgRom[kPrgRomSize];
  uint8_t chrRom[kChrRomSize];
  uint8_t paletteRam[32];  // entry i mirrors ppuMem[0x3F00 + i]
  CpuRegisters cpu;
  MapperRegisters mapper;
  uint8_t cpuMem[kCpuMemSize];
  uint8_t ppuMem[kPpuMemSize];
  uint8_t patternCache[kPatternCacheSize];
  uint8_t oam[256];
  uint8_t namcoRam[128];  // Namco 106 sound and wave memory
  PpuLatches ppu;
  uint8_t padReadIndex[2];  // per port, the next button bit a $4016/$4017 read returns
  MapperIrqState irq;

  // Machine-wide state outside the save-state blocks.
  CartridgeHeader header;
  uint8_t prgBankCache[4];  // bank number per 8 KB slot of $8000-$FFFF, 0xFF = none
  uint8_t chrBankCache[8];  // bank number per 1 KB slot of $0000-$1FFF, 0xFF = none
  // Pattern RAM: the 1 KB piece of the cartridge's 8 KB (kept in chrRom) each slot shows, and
  // whether two slots show the same piece.
  uint8_t chrRamBanks[8];
  uint8_t chrRamShared;
  uint8_t oneScreenA;
  uint8_t oneScreenB;
  uint8_t patternDirty;   // a pattern byte was written since the cache was rebuilt
  uint8_t vblankPhase;    // 1 from line 240 to the end of the frame
  uint8_t sprite0Armed;   // the renderer may still raise sprite-0 hit this frame
  uint8_t haltRequested;  // a bad opcode asks the frame driver to close the program
  uint8_t needsFullCore;  // the first bad opcode was one the full core runs
  int16_t cycleCarry;     // second and full cores: budget left over from the previous line
  // IRQADJ, the per-game tweak of the cartridge IRQ timing as it stands now: start-up takes the
  // configured value, keypad minus and plus change it while the game runs.
  int16_t irqAdjust;
  int32_t frameCounter;  // counted by every NMI entry
  char hexDigits[16];
  uint8_t padState[2];  // bit 0 A, 1 B, 2 Select, 3 Start, 4 Up, 5 Down, 6 Left, 7 Right
  ApuWriteFlags apuFlags;
  // The console's two 1 KB name-table pages while no slot shows them (boards that can show
  // CHR ROM in the name-table slots: mappers 19 and 68).
  uint8_t hiddenNameTables[2][1024];
};

static_assert(std::is_trivially_copyable_v<MachineState>,
              "the machine record is reset and snapshotted as plain bytes");

// Clears the whole record to the freshly created state (all zero).
void ResetMachineState(MachineState& machine);

// The emulator's single machine. Tests may use their own MachineState instead.
MachineState& TheMachine();

}  // namespace wrenfold
