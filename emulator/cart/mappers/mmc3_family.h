// Mappers 4 (MMC3; 248 loads as 4), 74, 112, 115, 118, 160, 161, 245, 249: 8 KB PRG banks and
// 1 or 2 KB CHR banks chosen through a bank-select and a bank-data register, and the scanline
// counter that the PPU's address line A12 clocks.
#pragma once

#include <cstdint>

#include "emulator/cart/board.h"
#include "emulator/cart/mappers/board_helpers.h"

namespace wrenfold {

void Mmc3HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper74HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper112HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper115HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void TxsromHighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper160HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper161HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper161LowWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper245HighWrite(MachineState& machine, uint16_t address, uint8_t value);
void Mapper249HighWrite(MachineState& machine, uint16_t address, uint8_t value);

void Mmc3LineStep(MachineState& machine, uint16_t line, bool renderingOn);
void Mapper74LineStep(MachineState& machine, uint16_t line, bool renderingOn);
void Mapper160LineStep(MachineState& machine, uint16_t line, bool renderingOn);
void Mapper161LineStep(MachineState& machine, uint16_t line, bool renderingOn);
void Mapper245LineStep(MachineState& machine, uint16_t line, bool renderingOn);
void Mapper249LineStep(MachineState& machine, uint16_t line, bool renderingOn);
void Mmc3PpuAddress(MachineState& machine, uint16_t address);

void PowerOnMmc3(MachineState& machine);
void PowerOnTxsrom(MachineState& machine);
void PowerOnMapper161(MachineState& machine);

inline constexpr StateSpan kMmc3State[] = {WRENFOLD_STATE_SPAN(mapper.mmc3BankSelect),
                                           WRENFOLD_STATE_SPAN(mapper.mmc3Banks),
                                           WRENFOLD_STATE_SPAN(mapper.mmc3A12),
                                           WRENFOLD_STATE_SPAN(irq.irqCounter),
                                           WRENFOLD_STATE_SPAN(irq.irqLatch),
                                           WRENFOLD_STATE_SPAN(irq.irqEnable),
                                           WRENFOLD_STATE_SPAN(irq.irqReload),
                                           WRENFOLD_STATE_SPAN(irq.irqLine),
                                           WRENFOLD_STATE_SPAN(chrRamBanks)};
inline constexpr StateSpan kTxsromState[] = {WRENFOLD_STATE_SPAN(mapper.mmc3BankSelect),
                                             WRENFOLD_STATE_SPAN(mapper.mmc3Banks),
                                             WRENFOLD_STATE_SPAN(mapper.mmc3A12),
                                             WRENFOLD_STATE_SPAN(mapper.txsromPageOfA),
                                             WRENFOLD_STATE_SPAN(oneScreenA),
                                             WRENFOLD_STATE_SPAN(oneScreenB),
                                             WRENFOLD_STATE_SPAN(irq.irqCounter),
                                             WRENFOLD_STATE_SPAN(irq.irqLatch),
                                             WRENFOLD_STATE_SPAN(irq.irqEnable),
                                             WRENFOLD_STATE_SPAN(irq.irqReload),
                                             WRENFOLD_STATE_SPAN(irq.irqLine),
                                             WRENFOLD_STATE_SPAN(chrRamBanks)};
inline constexpr StateSpan kMapper160State[] = {
    WRENFOLD_STATE_SPAN(mapper.chrLock160), WRENFOLD_STATE_SPAN(irq.irqCounter),
    WRENFOLD_STATE_SPAN(irq.irqLatch), WRENFOLD_STATE_SPAN(irq.irqEnable)};
inline constexpr StateSpan kMapper161State[] = {
    WRENFOLD_STATE_SPAN(mapper.mmc3BankSelect), WRENFOLD_STATE_SPAN(mapper.mmc3Banks),
    WRENFOLD_STATE_SPAN(irq.irqCounter), WRENFOLD_STATE_SPAN(irq.irqLatch),
    WRENFOLD_STATE_SPAN(irq.irqEnable)};

inline constexpr BoardDescription kMmc3FamilyBoards[] = {
    {.mapperNumber = 4,
     .name = "MMC3 (TxROM)",
     .chr = ChrLayout::kFirst8kIfRom,
     .powerOn = PowerOnMmc3,
     .highWrite = Mmc3HighWrite,
     .lowWrite = StoreCartridgeRam,
     .lineStep = Mmc3LineStep,
     .ppuAddress = Mmc3PpuAddress,
     .savedState = kMmc3State,
     .trainerTakesNmi = true},
    {.mapperNumber = 74,
     .name = "MMC3 clone 74",
     .chr = ChrLayout::kFirst8kIfRom,
     .powerOn = PowerOnMmc3,
     .highWrite = Mapper74HighWrite,
     .lowWrite = StoreCartridgeRam,
     .lineStep = Mapper74LineStep,
     .ppuAddress = Mmc3PpuAddress,
     .savedState = kMmc3State},
    {.mapperNumber = 112,
     .name = "NTDEC 112",
     .chr = ChrLayout::kFirst8kAlways,
     .powerOn = PowerOnMmc3,
     .highWrite = Mapper112HighWrite,
     .lowWrite = StoreCartridgeRam,
     .savedState = kMmc3State},
    {.mapperNumber = 115,
     .name = "MMC3 clone 115",
     .chr = ChrLayout::kFirst8kAlways,
     .powerOn = PowerOnMmc3,
     .highWrite = Mapper115HighWrite,
     .lowWrite = StoreCartridgeRam,
     .savedState = kMmc3State},
    {.mapperNumber = 118,
     .name = "MMC3 TxSROM",
     .chr = ChrLayout::kFirst8kAlways,
     .powerOn = PowerOnTxsrom,
     .highWrite = TxsromHighWrite,
     .lowWrite = StoreCartridgeRam,
     .lineStep = Mmc3LineStep,
     .ppuAddress = Mmc3PpuAddress,
     .savedState = kTxsromState},
    {.mapperNumber = 160,
     .name = "Board 160",
     .chr = ChrLayout::kFirst8kAlways,
     .highWrite = Mapper160HighWrite,
     .lowWrite = StoreCartridgeRam,
     .lineStep = Mapper160LineStep,
     .savedState = kMapper160State},
    {.mapperNumber = 161,
     .name = "MMC3 variant 161",
     .chr = ChrLayout::kFirst8kAlways,
     .powerOn = PowerOnMapper161,
     .highWrite = Mapper161HighWrite,
     .lowWrite = Mapper161LowWrite,
     .lineStep = Mapper161LineStep,
     .savedState = kMapper161State},
    {.mapperNumber = 245,
     .name = "Waixing MMC3 clone 245",
     .chr = ChrLayout::kFirst8kIfRom,
     .powerOn = PowerOnMmc3,
     .highWrite = Mapper245HighWrite,
     .lowWrite = StoreCartridgeRam,
     .lineStep = Mapper245LineStep,
     .ppuAddress = Mmc3PpuAddress,
     .savedState = kMmc3State},
    {.mapperNumber = 249,
     .name = "Waixing MMC3 clone 249",
     .chr = ChrLayout::kFirst8kAlways,
     .powerOn = PowerOnMmc3,
     .highWrite = Mapper249HighWrite,
     .lowWrite = StoreCartridgeRamLow4k,
     .lineStep = Mapper249LineStep,
     .ppuAddress = Mmc3PpuAddress,
     .savedState = kMmc3State},
};

}  // namespace wrenfold
