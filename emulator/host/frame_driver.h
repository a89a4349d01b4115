// One emulated frame: the keyboard and its hot keys, the pads, the movie step and the
// frame's sound at the start, then every scanline with its mapper IRQ steps, CPU slice and
// picture line, with vblank, the NMI and the presented picture at line 243. Also the
// emulator window's event handling.
#pragma once

#include <cstdint>

#include "emulator/host/host_state.h"
#include "emulator/machine_state/machine_state.h"
#include "platform/display.h"
#include "platform/input.h"

namespace wrenfold {

// F10 swaps 232 and 240 drawn lines.
inline constexpr uint16_t kRenderedLinesToggle = 24;
// Colour of the rows below the drawn lines.
inline constexpr uint8_t kBlankLineColour = 15;

// When the CPU halted on an instruction that only the full core runs, the log says so after
// the bad-opcode entries and a message box says it in plain words before the program closes.
inline constexpr const char* kNeedsFullCoreLogLine =
    "This cartridge needs the full CPU core (CORE=FULL)\n";
inline constexpr const char* kNeedsFullCoreCaption = "Wrenfold";
inline constexpr const char* kNeedsFullCoreMessage =
    "This game uses CPU instructions that the chosen CPU core does not run, so Wrenfold has "
    "to close.\n"
    "Choose \"Full 2A03 Core\" in the control panel (CORE=FULL in Wrenfold.CFG) and start "
    "the game again.\n\n"
    "这个游戏用到了所选CPU核心不能执行的指令，Wrenfold只能关闭。\n"
    "请在控制台选择“完整2A03核心”（即Wrenfold.CFG中的CORE=FULL），然后重新启动游戏。";

// Emulates one frame; `skipRender` 1 runs it without drawing (sprite flags are still
// worked out). Nothing happens once an exit has been requested. Needs host.platform for
// the clock only while it waits for the keyboard to come back.
void RunFrame(MachineState& machine, HostState& host, uint8_t skipRender);

// Acts on one key event's hot key (presses only): Esc, the save slot keys, F1, F2, F5, F7,
// F9, F10, F11, F12 (screenshot) and keypad minus / plus.
void HandleHotKey(MachineState& machine, HostState& host, const KeyEvent& event);

// The emulator window's reaction to one event: closing the window, or Esc on it, releases
// everything and requests the exit.
void HandleWindowEvent(HostState& host, const WindowEvent& event);

// Hands every pending window event to HandleWindowEvent.
void DispatchWindowEvents(HostState& host);

// While frames run: takes every pending window event, acting on a close only; Esc keys are
// left to the frame driver, which reads them from the keyboard.
void DrainWindowEvents(HostState& host);

}  // namespace wrenfold
