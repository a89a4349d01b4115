#include "emulator/host/run_loop.h"

#include "emulator/cpu/interrupts.h"
#include "emulator/host/frame_driver.h"
#include "emulator/host/log.h"
#include "emulator/host/save_files.h"
#include "emulator/machine_state/io_registers.h"
#include "emulator/ppu/ppu_memory.h"

namespace wrenfold {
namespace {

// Sleeping closer to a deadline than this could overshoot it; the rest is spun.
constexpr uint32_t kSpinMilliseconds = 2;

}  // namespace

void BeginRun(MachineState& machine, HostState& host) {
  VideoState& video = host.video;
  if (video.primarySurface != nullptr) FillSurface(*video.primarySurface, kScreenClearIndex);
  if (video.backBuffer != nullptr) FillSurface(*video.backBuffer, kScreenClearIndex);
  ResetRapidFire(host.input);
  PowerOn(machine);
  LoadBatteryRam(machine, host.saveFiles.battery);
  LogText("NMI Vector:");
  LogNumber(machine.cpuMem[kNmiVector] | (machine.cpuMem[kNmiVector + 1] << 8));
  DecodeAllTiles(machine);
}

void StartPacing(FramePacer& pacer, Clock& clock) {
  pacer = FramePacer{};
  pacer.secondStart = clock.Milliseconds();
}

void WaitUntil(Clock& clock, uint32_t start, uint32_t offset) {
  for (;;) {
    const uint32_t elapsed = clock.Milliseconds() - start;
    if (elapsed >= offset) return;
    const uint32_t remaining = offset - elapsed;
    if (remaining > kSpinMilliseconds) clock.Sleep(remaining - kSpinMilliseconds);
  }
}

void RunPacedFrame(MachineState& machine, HostState& host, FramePacer& pacer) {
  if (host.run.exitRequested || host.platform == nullptr) return;
  Clock& clock = host.platform->clock;
  const uint32_t deadline = host.timing.frameDeadlines[pacer.frameIndex];
  if (clock.Milliseconds() - pacer.secondStart > deadline) {
    RunFrame(machine, host, 1);
    ++pacer.skippedFrames;
  } else {
    RunFrame(machine, host, 0);
    ++pacer.drawnFrames;
    if (host.run.exitRequested) return;
    WaitUntil(clock, pacer.secondStart, deadline - kDrawnFrameLead);
  }
  if (host.run.exitRequested) return;

  if (++pacer.frameIndex == kFramesPerSecond) {
    WaitUntil(clock, pacer.secondStart, kMillisecondsPerSecond);
    pacer.secondStart += kMillisecondsPerSecond;
    pacer.frameIndex = 0;
  }
  DrainWindowEvents(host);
}

void RunLoop(MachineState& machine, HostState& host) {
  if (host.run.exitRequested || host.platform == nullptr) return;
  BeginRun(machine, host);
  FramePacer pacer;
  StartPacing(pacer, host.platform->clock);
  while (!host.run.exitRequested) RunPacedFrame(machine, host, pacer);
}

}  // namespace wrenfold
