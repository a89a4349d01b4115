#include "tools/headless_runner/headless_run.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "emulator/cpu/interrupts.h"
#include "emulator/host/frame_driver.h"
#include "emulator/host/host_state.h"
#include "emulator/host/log.h"
#include "emulator/host/palette.h"
#include "emulator/host/png_writer.h"
#include "emulator/host/rom_diagnosis.h"
#include "emulator/host/run_loop.h"
#include "emulator/host/save_files.h"
#include "emulator/host/startup.h"
#include "emulator/sound/sound_state.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/headless_input.h"
#include "platform/headless/headless_message_box.h"
#include "platform/headless/headless_sound.h"
#include "platform/headless/manual_clock.h"
#include "tools/headless_runner/bench_report.h"
#include "tools/headless_runner/frame_picture.h"
#include "tools/headless_runner/input_script.h"
#include "tools/headless_runner/sound_capture.h"
#include "tools/headless_runner/test_rom_verdict.h"
#include "tools/headless_runner/trace_output.h"

namespace wrenfold::headless {
namespace {

constexpr int kExitError = 2;
// Where the emulator's log goes unless --log names a file.
constexpr const char* kDiscardedLog = "/dev/null";

// The services a windowless emulator runs on; the clock moves only when the emulator
// sleeps, so nothing waits for real time.
struct HeadlessServices {
  HeadlessDisplay display;
  HeadlessInput input;
  ManualClock clock;
  HeadlessMessageBox messageBox{stderr};
  HeadlessSoundService sound;
  Platform platform{display, input, clock, messageBox, sound};
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "wrenfold-headless: %s\n", message.c_str());
  return kExitError;
}

// Default settings as with no configuration file, and the ROM given on the command line
// joined as the front-end would write ROMDIR= and BOOT=.
std::optional<std::string> PrepareSettings(const RunnerOptions& options, HostSettings& settings) {
  settings = HostSettings{};
  const std::filesystem::path rom(options.romPath);
  settings.romDirectory = rom.has_parent_path() ? rom.parent_path().string() : ".";
  settings.romFileName = rom.filename().string();
  if (settings.romFileName.empty()) return "\"" + options.romPath + "\" names no file";
  if (!BuildRomPath(settings)) return "the cartridge path is too long for the emulator";
  switch (options.core) {
    case CoreChoice::kReference:
      settings.cpuCore = CpuCoreChoice::kReferenceCore;
      break;
    case CoreChoice::kSecond:
      settings.cpuCore = CpuCoreChoice::kSecondCore;
      break;
    case CoreChoice::kFull:
      settings.cpuCore = CpuCoreChoice::kFullCore;
      break;
  }
  UseScriptKeyboard(settings);
  return std::nullopt;
}

std::string StartUpProblem(StartUpResult result, const std::string& romPath) {
  switch (result) {
    case StartUpResult::kVideoError:
      return "the headless display could not be set up";
    case StartUpResult::kRomError: {
      const std::string reason = DiagnoseRomImage(romPath);
      return "cannot load the cartridge \"" + romPath + "\"" +
             (reason.empty() ? "" : ": " + reason);
    }
    case StartUpResult::kReady:
      break;
  }
  return "start-up failed";
}

const char* CoreName(CoreChoice core) {
  switch (core) {
    case CoreChoice::kReference:
      return "wrenfold-reference";
    case CoreChoice::kSecond:
      return "wrenfold-second";
    case CoreChoice::kFull:
      break;
  }
  return "wrenfold-full";
}

// What the frame loop has to report at the end.
struct RunRecord {
  uint32_t framesRun = 0;
  bool halted = false;  // the CPU met an opcode it cannot run
  bool pictureTaken = false;
  std::optional<std::string> pngError;  // the first --png-frames picture that failed
  double seconds = 0;
};

class FrameLoop {
 public:
  FrameLoop(const RunnerOptions& options, MachineState& machine, HostState& host,
            HeadlessServices& services, std::optional<InputScriptPlayer> script,
            SoundCapture* sound)
      : options(options),
        machine(machine),
        host(host),
        services(services),
        script(std::move(script)),
        sound(sound),
        picture(std::make_unique<FramePicture>()) {}

  // Runs the frames; returns an error message when writing the sound failed.
  std::optional<std::string> Run(RunRecord& record) {
    const auto start = std::chrono::steady_clock::now();
    for (uint32_t frame = 1; frame <= options.frames; ++frame) {
      if (script) script->BeforeFrame(frame, services.input);
      const uint32_t samples = host.sound != nullptr ? host.sound->output.samplesThisFrame : 0;
      RunFrame(machine, host, 0);
      if (host.run.exitRequested) {
        record.halted = machine.haltRequested != 0;
        break;
      }
      record.framesRun = frame;
      if (sound != nullptr) {
        if (std::optional<std::string> error = sound->AppendFrame(samples)) return error;
      }
      TakePicture(frame, record);
      if (AnswerTestRom(frame)) break;
    }
    record.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return std::nullopt;
  }

  const FramePicture& LastPicture() const { return *picture; }
  uint8_t LastPictureEmphasis() const { return pictureEmphasis; }

 private:
  void TakePicture(uint32_t frame, RunRecord& record) {
    const bool hash = std::ranges::binary_search(options.hashFrames, frame);
    const bool png = std::ranges::binary_search(options.pngFrames, frame);
    if (!hash && !png && options.pngPath.empty()) return;
    const Surface8* surface = host.video.frameSurface;
    if (surface == nullptr || !CapturePicture(*surface, *picture)) return;
    pictureEmphasis = host.video.emphasis;
    record.pictureTaken = true;
    if (hash) {
      std::printf("frame %u hash %s\n", frame, FormatHash(HashPicture(*picture)).c_str());
      PrintPeek(frame);
    }
    if (png && !record.pngError) {
      const std::string path = (std::filesystem::path(options.pngDirectory) /
                                ("frame-" + std::to_string(frame) + ".png"))
                                   .string();
      record.pngError =
          WriteIndexedPng(path, kPictureWidth, kPictureHeight, *picture,
                          EmphasisedPalette(kNesColourTable, pictureEmphasis), pictureEmphasis);
    }
  }

  void PrintPeek(uint32_t frame) const {
    if (options.peekCount == 0) return;
    std::printf("frame %u peek $%04X:", frame, options.peekAddress);
    for (uint32_t i = 0; i < options.peekCount; ++i) {
      std::printf(" %02X", machine.cpuMem[options.peekAddress + i]);
    }
    std::printf("\n");
  }

  // Presses reset when a cartridge asks for it; true when the run should end here.
  bool AnswerTestRom(uint32_t frame) {
    const StatusBlock block = ReadStatusBlock(machine, false);
    if (resetWatcher.AfterFrame(block)) {
      std::printf("reset pressed after frame %u\n", frame);
      PressResetButton(machine);
    }
    return options.untilVerdict && IsFinalStatus(block);
  }

  const RunnerOptions& options;
  MachineState& machine;
  HostState& host;
  HeadlessServices& services;
  std::optional<InputScriptPlayer> script;
  SoundCapture* sound;
  std::unique_ptr<FramePicture> picture;
  uint8_t pictureEmphasis = 0;  // the colour emphasis the picture was shown with
  ResetRequestWatcher resetWatcher;
};

void PrintVerdict(const Verdict& verdict) {
  std::printf("result: %s\n", verdict.description.c_str());
  if (verdict.text.empty()) return;
  std::printf("text:\n");
  std::size_t start = 0;
  while (start < verdict.text.size()) {
    std::size_t end = verdict.text.find('\n', start);
    if (end == std::string::npos) end = verdict.text.size();
    if (end > start) std::printf("  %.*s\n", static_cast<int>(end - start), &verdict.text[start]);
    start = end + 1;
  }
}

}  // namespace

int RunHeadless(const RunnerOptions& options) {
  std::optional<InputScriptPlayer> scriptPlayer;
  if (!options.inputScriptPath.empty()) {
    InputScript script;
    if (std::optional<std::string> error = LoadInputScript(options.inputScriptPath, script)) {
      return Fail(*error);
    }
    scriptPlayer.emplace(std::move(script));
  }

  SetLogPath(options.logPath.empty() ? kDiscardedLog : options.logPath);
  ResetLog();

  MachineState& machine = TheMachine();
  HostState& host = TheHost();
  SoundState& soundState = TheSoundState();
  if (std::optional<std::string> error = PrepareSettings(options, host.settings)) {
    return Fail(*error);
  }

  HeadlessServices services;
  // Pictures are taken from the frame surface; a copy of each presented screen is not needed.
  services.display.KeepPresentedPixels(false);
  const StartUpResult started = StartEmulator(machine, host, soundState, services.platform);
  if (started != StartUpResult::kReady) return Fail(StartUpProblem(started, options.romPath));
  DispatchWindowEvents(host);
  if (!options.battery) host.saveFiles.battery = BatteryRam{};
  BeginRun(machine, host);

  std::optional<SoundCapture> soundCapture;
  if (!options.wavPath.empty()) {
    soundCapture.emplace(services.sound);
    if (std::optional<std::string> error = soundCapture->Open(options.wavPath)) {
      ReleaseAll(host);
      return Fail(*error);
    }
  }

  RunRecord record;
  FrameLoop loop(options, machine, host, services, std::move(scriptPlayer),
                 soundCapture ? &*soundCapture : nullptr);
  std::optional<std::string> soundError;
  {
    std::optional<TraceToStream> trace;
    if (options.trace) trace.emplace(stdout);
    soundError = loop.Run(record);
  }
  ReleaseAll(host);
  // As the emulator's own close: a recording is kept and battery RAM written.
  CloseSaveFiles(machine, host);

  int status = 0;
  if (!soundError && soundCapture) soundError = soundCapture->Close();
  if (soundError) status = Fail(*soundError);
  if (record.halted) {
    std::fprintf(stderr, "wrenfold-headless: the CPU stopped on an unknown opcode after frame %u\n",
                 record.framesRun);
  }
  if (record.pngError) status = Fail(*record.pngError);
  if (!options.pngPath.empty()) {
    if (!record.pictureTaken) {
      status = Fail("no frame was drawn, so no PNG was written");
    } else if (std::optional<std::string> error = WriteRgbPng(
                   options.pngPath, kPictureWidth, kPictureHeight,
                   PictureToRgb(loop.LastPicture(),
                                EmphasisedPalette(kNesColourTable, loop.LastPictureEmphasis())))) {
      status = Fail(*error);
    }
  }
  if (options.bench) {
    std::printf("%s\n", FormatBenchLine(CoreName(options.core), record.framesRun, record.seconds,
                                        PeakResidentKilobytes())
                            .c_str());
  }

  const Verdict verdict = JudgeTestRom(machine, options.verdict);
  if (options.verdict != VerdictSource::kNone) PrintVerdict(verdict);
  std::fflush(stdout);
  if (status != 0) return status;
  // Without a verdict to give, a clean run is a success and a halted CPU an error.
  if (options.verdict == VerdictSource::kNone || verdict.kind == VerdictKind::kNothingReported) {
    return record.halted ? kExitError : 0;
  }
  return VerdictExitStatus(verdict.kind);
}

}  // namespace wrenfold::headless
