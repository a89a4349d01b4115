// The Konami VRC6's three extra channels (mapper 24): two pulses with eight duty steps and a
// sawtooth, read from the register groups $9000-$9002, $A000-$A002 and $B000-$B002 that the
// board's write handler keeps in machine.mapper.vrc6SoundRegs.
#pragma once

#include <cstdint>

#include "emulator/machine_state/machine_state.h"
#include "emulator/sound/expansion_state.h"
#include "emulator/sound/sound_state.h"

namespace wrenfold {

// One register group: byte 0 volume and duty (pulses) or accumulator rate (sawtooth), the
// 12-bit period in byte 1 and the low nibble of byte 2, and the channel enable in bit 7.
struct Vrc6Registers {
  uint8_t control;
  uint8_t periodLow;
  uint8_t periodHigh;
};

inline constexpr uint8_t kVrc6ChannelEnable = 0x80;
inline constexpr uint8_t kVrc6ConstantOutput = 0x80;  // pulse control: the volume is output as is

// The group of channel 0-2 as the write handler stored it.
Vrc6Registers Vrc6ChannelRegisters(const MachineState& machine, int channel);

// A pulse period lasts period x 16 CPU cycles; it starts at volume x 256 and drops to 0 for
// its last (duty + 1) sixteenths. In constant-output mode every sample is volume x 256.
void RenderVrc6PulseFrame(Vrc6PulseState& pulse, const Vrc6Registers& regs, int16_t* out,
                          uint32_t count);

// Every 2 x period CPU cycles the accumulator grows by the rate (control bits 0-5); the
// seventh step clears it, so one sawtooth cycle lasts 14 x period cycles. The output is the
// accumulator's top five bits x 256.
void RenderVrc6SawFrame(Vrc6SawState& saw, const Vrc6Registers& regs, int16_t* out, uint32_t count);

// Creates the three buffers after InitSound and switches the VRC6 mixer on; logs
// "VRC6 Extened Sound Channel Created\n". Returns 0 when a buffer cannot be created.
int CreateVrc6Channels(MachineState& machine, SoundState& sound);

// One frame of the three channels at the common write position. A disabled channel's buffer
// is silenced; a pulse in constant-output mode logs "D" once until it leaves that mode.
void MixVrc6Frame(MachineState& machine, SoundState& sound);

}  // namespace wrenfold
