#include "emulator/host/frame_driver.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "emulator/cart/bank_copy.h"
#include "emulator/cpu/cpu_core.h"
#include "emulator/cpu/interrupts.h"
#include "emulator/host/log.h"
#include "emulator/host/palette.h"
#include "emulator/host/screenshot.h"
#include "emulator/host/startup.h"
#include "emulator/machine_state/io_registers.h"
#include "emulator/ppu/ppu_memory.h"
#include "emulator/ppu/ppu_scroll.h"
#include "emulator/ppu/renderer.h"
#include "emulator/ppu/sprite_flags.h"
#include "emulator/sound/mix_frame_sound.h"
#include "platform/dik_codes.h"

namespace wrenfold {
namespace {

constexpr uint32_t kPatternMemorySize = 0x2000;

// The two surfaces of a drawn frame, locked, with the rows of the current line. The frame
// surface takes the background and the sprites in front of it, and becomes the finished
// picture line by line; the overlay surface, filled with the frame's backdrop colour, takes the
// sprites behind the background, which are merged into the frame row on the lines that have any.
struct FrameDrawing {
  bool drawn = false;
  uint8_t backdrop = 0;
  std::array<uint16_t, 8> emphasisLines{};  // picture lines drawn under each colour emphasis
  uint8_t* overlayRow = nullptr;
  uint8_t* frameRow = nullptr;
  int pitch = 0;
};

// Clears the overlay surface to the backdrop (unless it holds that colour already: each line
// gives back what its sprites covered) and, for a drawn frame, locks both surfaces. A skipped
// frame leaves the frame surface a plain backdrop, as a frame drawn without any line.
FrameDrawing BeginDrawing(VideoState& video, uint8_t backdrop, bool skipRender) {
  FrameDrawing drawing;
  drawing.backdrop = backdrop;
  if (video.frameSurface == nullptr || video.overlaySurface == nullptr) return drawing;
  if (skipRender) {
    FillSurface(*video.frameSurface, backdrop);
    return drawing;
  }
  if (video.overlayFill != backdrop) {
    if (DisplayFailed(FillSurface(*video.overlaySurface, backdrop))) return drawing;
    video.overlayFill = backdrop;
  }
  SurfaceLock overlayLock;
  SurfaceLock frameLock;
  if (DisplayFailed(video.overlaySurface->Lock(&overlayLock))) return drawing;
  if (DisplayFailed(video.frameSurface->Lock(&frameLock))) {
    video.overlaySurface->Unlock();
    return drawing;
  }
  drawing.drawn = true;
  drawing.overlayRow = overlayLock.bits;
  drawing.frameRow = frameLock.bits;
  // Both rows advance by the frame surface's pitch; the two surfaces are alike.
  drawing.pitch = frameLock.pitch;
  return drawing;
}

// Where the frame row shows the backdrop colour the frame began with (transparent background,
// or an opaque pixel of that very colour), the sprites behind the background show through.
// The key is the colour the overlay was filled with, not the palette entry now: by the end of
// the frame the program may be writing next frame's palette.
// Sixteen pixels at a time over the columns the sprites behind cover: a compare gives the key
// pixels' mask, which picks the sprite layer.
void ShowSpritesBehind(const FrameDrawing& drawing, const RearSpan& span) {
  using Pixels = uint8_t __attribute__((vector_size(16)));
  constexpr int kStep = sizeof(Pixels);
  const Pixels key = Pixels{} + drawing.backdrop;
  // Whole steps stay inside the row: 256 is a multiple of the step.
  for (int x = span.left & ~(kStep - 1); x < span.right; x += kStep) {
    Pixels front;
    Pixels behind;
    std::memcpy(&front, drawing.frameRow + x, sizeof front);
    std::memcpy(&behind, drawing.overlayRow + x, sizeof behind);
    const auto showsBehind = std::bit_cast<Pixels>(front == key);
    front = (front & ~showsBehind) | (behind & showsBehind);
    std::memcpy(drawing.frameRow + x, &front, sizeof front);
  }
  // The overlay row holds the backdrop again for the next frame.
  std::memset(drawing.overlayRow + span.left, drawing.backdrop,
              static_cast<std::size_t>(span.right - span.left));
}

// Shows the finished frame surface under the colour emphasis most of its lines were drawn with.
void PresentDrawing(HostState& host, const FrameDrawing& drawing) {
  VideoState& video = host.video;
  video.overlaySurface->Unlock();
  video.frameSurface->Unlock();
  const auto most = std::ranges::max_element(drawing.emphasisLines);
  ShowEmphasis(video, static_cast<uint8_t>(most - drawing.emphasisLines.begin()));
  PresentFrame(video, host.settings, host.display);
}

bool RenderingEnabled(const MachineState& machine) {
  return (machine.cpuMem[kPpuMask] & (kMaskBackground | kMaskSprites)) != 0;
}

CpuCoreKind ConfiguredCore(const HostSettings& settings) {
  switch (settings.cpuCore) {
    case CpuCoreChoice::kReferenceCore:
      return CpuCoreKind::Reference;
    case CpuCoreChoice::kFullCore:
      return CpuCoreKind::Full;
    case CpuCoreChoice::kSecondCore:
      break;
  }
  return CpuCoreKind::Second;
}

void RequestExit(HostState& host) {
  ReleaseAll(host);
  host.run.exitRequested = true;
}

void CallHotKeyAction(MachineState& machine, HostState& host, HotKeyAction action) {
  if (action != nullptr) action(host.hotKeys.context, machine, host.settings, host.run.saveSlot);
}

// F9: pages through the cartridge's CHR ROM, 8 KB at a time, back to the first page after
// the last. Cartridges without CHR ROM have nothing to show.
void ShowNextChrPage(MachineState& machine, RunState& run) {
  const uint32_t chrEnd =
      std::min<uint32_t>(machine.header.chrBankCount, kMaxChrBanks) * kChrBankSize;
  if (chrEnd == 0) return;
  run.chrViewerOffset += kChrBankSize;
  if (run.chrViewerOffset >= chrEnd) run.chrViewerOffset = 0;
  std::memcpy(machine.ppuMem, machine.chrRom + run.chrViewerOffset, kPatternMemorySize);
  // Pattern memory no longer holds the banks the cache remembers.
  std::memset(machine.chrBankCache, kNoBankCached, sizeof machine.chrBankCache);
  DecodeTileRange(machine, 0, kPatternMemorySize);
}

// Fetches the buffered key events; while the window lacks the keyboard the frame waits
// here, acquiring again once a millisecond and letting window events through. Every event
// goes to the hot keys, then to the keyboard player. False when the exit was requested.
bool ReadKeyboard(MachineState& machine, HostState& host) {
  Keyboard* keyboard = host.inputDevices.keyboard.get();
  if (keyboard == nullptr) return true;
  std::array<KeyEvent, kKeyboardFetchLimit> events;
  int count = 0;
  while (InputFailed(keyboard->FetchEvents(events.data(), kKeyboardFetchLimit, &count))) {
    DrainWindowEvents(host);
    if (host.run.exitRequested) return false;
    if (host.platform != nullptr) host.platform->clock.Sleep(1);
    keyboard->Acquire();
  }
  for (int i = 0; i < count; ++i) {
    HandleHotKey(machine, host, events[i]);
    if (host.run.exitRequested) return false;
    ApplyKeyEvent(host.input, events[i]);
  }
  return true;
}

void RunScanlines(MachineState& machine, HostState& host, FrameDrawing& drawing) {
  const FrameTiming& timing = host.timing;
  const BoardLineStep lineStep = host.run.lineStep;
  const PpuFetchHook ppuFetch = host.run.ppuFetch;
  const CpuCoreKind core = ConfiguredCore(host.settings);
  for (uint16_t line = 0; line < timing.scanlinesPerFrame; ++line) {
    host.run.currentLine = line;
    if (lineStep != nullptr) lineStep(machine, line, RenderingEnabled(machine));

    if (line < timing.visibleLineLimit) {
      RunCpuLine(machine, core);
      if (RenderingEnabled(machine)) {
        // The PPU moves its scroll on every rendered line, whether the frame is drawn or not.
        if (line == 0) {
          StartFrameScroll(machine.ppu);
        } else {
          StartLineScroll(machine.ppu);
        }
        if (!drawing.drawn) {
          CountSpritesOnLine(machine, line);
        } else if (line < timing.renderedLines) {
          const RearSpan behind = RenderLine(machine, drawing.frameRow, drawing.overlayRow, line,
                                             drawing.pitch, ppuFetch);
          if (!behind.Empty()) ShowSpritesBehind(drawing, behind);
        } else {
          std::memset(drawing.frameRow, kBlankLineColour, kPictureWidth);
        }
        FinishLineScroll(machine.ppu);
      } else if (drawing.drawn) {
        // With rendering off the line shows the backdrop.
        std::memset(drawing.frameRow, drawing.backdrop, kPictureWidth);
      }
      if (drawing.drawn) {
        ++drawing.emphasisLines[EmphasisOf(machine.cpuMem[kPpuMask])];
        drawing.overlayRow += drawing.pitch;
        drawing.frameRow += drawing.pitch;
      }
    } else if (line == timing.vblankLine) {
      // The NMI comes as the flag rises, before the program can see the flag and act on it.
      machine.cpuMem[kPpuStatus] |= kStatusVblank;
      EnterNmi(machine);
      RunCpuLine(machine, core);
      if (drawing.drawn) PresentDrawing(host, drawing);
    } else {
      if (line == timing.visibleLineLimit) machine.vblankPhase = 1;
      RunCpuLine(machine, core);
    }
  }
}

}  // namespace

void RunFrame(MachineState& machine, HostState& host, uint8_t skipRender) {
  if (host.run.exitRequested) return;
  machine.sprite0Armed = 1;
  if (machine.haltRequested) {
    if (machine.needsFullCore) {
      LogText(kNeedsFullCoreLogLine);
      if (host.platform != nullptr) {
        host.platform->messageBox.Show(kNeedsFullCoreCaption, kNeedsFullCoreMessage);
      }
    }
    RequestExit(host);
    return;
  }
  machine.cpuMem[kPpuStatus] &= static_cast<uint8_t>(~kStatusSprite0Hit);

  FrameDrawing drawing = BeginDrawing(host.video, BackdropColour(machine), skipRender != 0);
  if (machine.patternDirty) DecodeAllTiles(machine);

  // An exit requested here has released the surfaces along with everything else.
  if (!ReadKeyboard(machine, host)) return;
  UpdatePads(host.input, host.inputDevices.joystick.get(), machine.padState);
  CallHotKeyAction(machine, host, host.hotKeys.stepMovie);
  if (host.settings.soundEnabled && host.sound != nullptr) MixFrameSound(machine, *host.sound);

  machine.vblankPhase = 0;
  RunScanlines(machine, host, drawing);
}

void HandleHotKey(MachineState& machine, HostState& host, const KeyEvent& event) {
  if ((event.data & kKeyPressed) == 0) return;
  const uint8_t code = event.scanCode;
  if (code >= kDik1 && code <= kDik9) {
    host.run.saveSlot = static_cast<uint8_t>(code - kDik1 + 1);
    return;
  }
  switch (code) {
    case kDikEscape:
      LogText("Via ESC\n");
      RequestExit(host);
      break;
    case kDik0:
      host.run.saveSlot = 0;
      break;
    case kDikF1:
      CallHotKeyAction(machine, host, host.hotKeys.toggleRecording);
      break;
    case kDikF2:
      CallHotKeyAction(machine, host, host.hotKeys.togglePlayback);
      break;
    case kDikF5:
      CallHotKeyAction(machine, host, host.hotKeys.saveState);
      break;
    case kDikF7:
      CallHotKeyAction(machine, host, host.hotKeys.loadState);
      break;
    case kDikF9:
      ShowNextChrPage(machine, host.run);
      break;
    case kDikF10:
      host.timing.renderedLines ^= kRenderedLinesToggle;
      break;
    case kDikNumpadMinus:
      machine.irqAdjust = static_cast<int16_t>(machine.irqAdjust - 1);
      break;
    case kDikNumpadPlus:
      machine.irqAdjust = static_cast<int16_t>(machine.irqAdjust + 1);
      break;
    case kDikF11:
      LogText("L");
      break;
    case kDikF12:
      SaveScreenshot(host);
      break;
    default:
      break;
  }
}

void HandleWindowEvent(HostState& host, const WindowEvent& event) {
  switch (event.type) {
    case WindowEventType::kClose:
    case WindowEventType::kEscapePressed:
      RequestExit(host);
      break;
    case WindowEventType::kFocusGained:
    case WindowEventType::kFocusLost:
      break;
  }
}

void DispatchWindowEvents(HostState& host) {
  WindowEvent event;
  while (host.video.display != nullptr && host.video.display->PollWindowEvent(&event)) {
    HandleWindowEvent(host, event);
  }
}

void DrainWindowEvents(HostState& host) {
  WindowEvent event;
  while (host.video.display != nullptr && host.video.display->PollWindowEvent(&event)) {
    if (event.type == WindowEventType::kClose) HandleWindowEvent(host, event);
  }
}

}  // namespace wrenfold
