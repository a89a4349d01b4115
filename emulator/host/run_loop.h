// The run loop: powers the machine on, then runs frame after frame paced to the deadlines of
// each second, drawing the frames that are on time and only emulating the late ones.
#pragma once

#include <cstdint>

#include "emulator/host/host_state.h"
#include "emulator/machine_state/machine_state.h"
#include "platform/clock.h"

namespace wrenfold {

// A drawn frame may finish this many milliseconds before its deadline.
inline constexpr uint32_t kDrawnFrameLead = 4;
inline constexpr uint32_t kMillisecondsPerSecond = 1000;

struct FramePacer {
  uint32_t secondStart = 0;  // clock reading at the start of the current second
  uint16_t frameIndex = 0;   // 0-59 within the second
  uint32_t drawnFrames = 0;
  uint32_t skippedFrames = 0;
};

// Clears the screen and back buffer to black, resets rapid fire, powers the machine on, reads
// a battery cartridge's RAM, logs the NMI vector and decodes the pattern tables.
void BeginRun(MachineState& machine, HostState& host);

// Starts the first second at the current time.
void StartPacing(FramePacer& pacer, Clock& clock);

// One frame at its place in the second: drawn and then waited for when on time, emulated
// without drawing when late; the 60th frame also waits for the end of the second. Then the
// window events are taken.
void RunPacedFrame(MachineState& machine, HostState& host, FramePacer& pacer);

// BeginRun, then paced frames until an exit is requested. Returns at once when the exit was
// requested before (or when start-up gave no platform).
void RunLoop(MachineState& machine, HostState& host);

// Waits until `offset` milliseconds after `start`: sleeps while more than two remain, then
// spins on the clock.
void WaitUntil(Clock& clock, uint32_t start, uint32_t offset);

}  // namespace wrenfold
