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

  // Bank select model of mapper 64.
  uint16_t bankTarget;   // ppu $0000-$1C00 or cpu $8000/$A000/$C000/$E000
  uint16_t bankSize;     // 0x400, 0x800 or 0x2000 (0x2000 = a PRG bank)
  uint16_t prgSwapAddr;  // $8000 or $C000

  // Konami VRC2/VRC4 (mappers 21, 22, 23, 25).
  uint8_t vrcChrRegs[8];
  uint8_t vrcChrHalves[8];  // bit 0 low nibble written, bit 1 high nibble written
  uint8_t vrcChrSlot;
  uint16_t vrcPrgSwapAddr;
  uint8_t vrcPrgSwapSlot;

  // VRC6 sound registers (mapper 24): three groups of four bytes.
  uint8_t vrc6SoundRegs[12];

  // Namco 106 (mapper 19).
  uint8_t namcoRamAddr;  // 7 bits
  uint8_t namcoAddrCtrl;  // bit 7 = auto-increment
  uint8_t namcoChrRamCtrl;
  uint8_t namcoNtFromChr[4];
  uint8_t namcoNtPage[4];

  // MMC4 (mapper 10).
  uint8_t mmc4ChrBanks[4];
  uint8_t mmc4Latch[2];  // 0xFD or 0xFE

  // Small boards with a byte or two of state.
  uint8_t ffeMode;         // mapper 6: 0x20 at load, set by $42F0-$42FF
  uint8_t ffeChrPage;      // mapper 6: the CHR page currently in pattern memory
  uint8_t iremPrgMode;     // mapper 32: 1 at load
  uint8_t taitoModes[2];   // mapper 48: 3, 3 at load
  uint8_t taitoX1005Reg;   // mapper 80: 1 at load
  uint8_t taitoX1005Layout;  // mapper 80: name-table layout state
  uint8_t caltronOuterEnable;  // mapper 41
  uint8_t caltronChrOuter;     // mapper 41
  uint8_t outerBank227;        // mapper 227
  uint8_t fmeCommand;          // mapper 69
  uint8_t fmePrgCache[3];      // mapper 69: its own cache for $8000/$A000/$C000
  uint8_t jalecoPrgRegs[3];    // mapper 18: nibble-pair PRG registers
  uint8_t jalecoChrRegs[8];    // mapper 18: nibble-pair CHR registers
  uint8_t jalecoHalves[11];    // mapper 18: nibbles written since last application
  uint8_t jyPrgRegs[3];        // mapper 90
  uint8_t jyChrReg;            // mapper 90
  uint8_t konamiVrc3Ack;       // mapper 26: the acknowledge byte
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
  // MMC3-style scanline counter (also mapper 26).
  uint8_t irqCounter;
  uint8_t irqLatch;
  uint8_t irqEnable;
  uint8_t irqReload;  // MMC3: $C001 asks for the latch at the next clock
  // Counters stepped by 114 + irqAdjust per line, or by one per line.
  uint16_t cycleIrqCounter;
  uint8_t cycleIrqActive;
  uint8_t vrcIrqLatch;
  uint8_t vrcIrqAckEnable;
  uint16_t vrc6IrqLatch;
  uint8_t vrcWiringKnown;
  uint8_t vrcAltWiring;
  uint16_t namcoIrqsThisFrame;
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
  uint8_t patternDirty;  // a pattern byte was written since the cache was rebuilt
  uint8_t vblankPhase;   // 1 from line 240 to the end of the frame
  uint8_t sprite0Armed;  // the renderer may still raise sprite-0 hit this frame
  uint8_t haltRequested;  // a bad opcode asks the frame driver to close the program
  uint8_t needsFullCore;  // the first bad opcode was one the full core runs
  int16_t cycleCarry;     // second and full cores: budget left over from the previous line
  // IRQADJ, the per-game tweak of the cartridge IRQ timing as it stands now: start-up takes the
  // configured value, keypad minus and plus change it while the game runs.
  int16_t irqAdjust;
  int32_t frameCounter;   // counted by every NMI entry
  char hexDigits[16];
  uint8_t padState[2];  // bit 0 A, 1 B, 2 Select, 3 Start, 4 Up, 5 Down, 6 Left, 7 Right
  ApuWriteFlags apuFlags;
};

static_assert(std::is_trivially_copyable_v<MachineState>,
              "the machine record is reset and snapshotted as plain bytes");

// Clears the whole record to the freshly created state (all zero).
void ResetMachineState(MachineState& machine);

// The emulator's single machine. Tests may use their own MachineState instead.
MachineState& TheMachine();

}  // namespace wrenfold
