// What the fuzz targets share: a check that stops the run with a message (libFuzzer then keeps
// the input as a finding), an in-memory file that the readers open by path like any other,
// and a started emulator on the headless platform for the save-state and movie readers.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "emulator/host/frame_driver.h"
#include "emulator/host/host_state.h"
#include "emulator/host/log.h"
#include "emulator/host/run_loop.h"
#include "emulator/host/startup.h"
#include "emulator/machine_state/machine_state.h"
#include "emulator/sound/sound_state.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/headless_input.h"
#include "platform/headless/headless_message_box.h"
#include "platform/headless/headless_sound.h"
#include "platform/headless/manual_clock.h"

// Stops the run when a reader broke one of its promises.
#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

namespace wrenfold::fuzz {

// A file that lives in memory (memfd) and is named by a path the readers open as usual: it is
// a regular file to them, and rewriting it costs no disk.
class MemoryFile {
 public:
  MemoryFile() : fd(::memfd_create("wrenfold-fuzz", MFD_CLOEXEC)) {
    FUZZ_CHECK(fd >= 0);
    path = "/proc/self/fd/" + std::to_string(fd);
  }
  ~MemoryFile() { ::close(fd); }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  void Set(std::span<const uint8_t> bytes) {
    FUZZ_CHECK(::ftruncate(fd, 0) == 0);
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t written =
          ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
      FUZZ_CHECK(written > 0);
      done += static_cast<size_t>(written);
    }
  }
  std::vector<uint8_t> Get() const {
    std::vector<uint8_t> bytes(static_cast<size_t>(::lseek(fd, 0, SEEK_END)));
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t got =
          ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
      FUZZ_CHECK(got > 0);
      done += static_cast<size_t>(got);
    }
    return bytes;
  }
  const std::string& Path() const { return path; }

 private:
  int fd;
  std::string path;
};

// The log is kept out of the way: a name that is not a regular file is never written.
inline void SilenceLog() {
  SetLogPath("/dev/null");
}

// An iNES image: `prgBanks` 16 KB banks whose reset code turns the picture and the NMI on and
// then spins, CHR banks filled with their numbers, the given mapper and flags-6 bits.
inline std::string CartridgeImage(int prgBanks, int chrBanks, uint8_t mapper, uint8_t flags6 = 0) {
  std::string prg(static_cast<size_t>(prgBanks) * 0x4000, '\0');
  const uint8_t reset[] = {0xA9, 0x80, 0x8D, 0x00, 0x20,  // LDA #$80, STA $2000
                           0xA9, 0x1E, 0x8D, 0x01, 0x20,  // LDA #$1E, STA $2001
                           0x4C, 0x0A, 0x80};             // JMP $800A
  const size_t last = prg.size() - 0x4000;  // the bank every board shows at $C000 at power-on
  for (const size_t bank : {size_t{0}, last}) {
    for (size_t i = 0; i < sizeof reset; ++i) prg[bank + i] = static_cast<char>(reset[i]);
    prg[bank + 0x100] = static_cast<char>(0x40);  // RTI for NMI and IRQ
    const uint8_t vectors[] = {0x00, 0x81, 0x00, 0x80, 0x00, 0x81};
    for (size_t i = 0; i < sizeof vectors; ++i) {
      prg[bank + 0x3FFA + i] = static_cast<char>(vectors[i]);
    }
  }
  std::string image = std::string("NES\x1A", 4) + static_cast<char>(prgBanks) +
                      static_cast<char>(chrBanks) +
                      static_cast<char>(((mapper & 0x0F) << 4) | flags6) +
                      static_cast<char>(mapper & 0xF0) + std::string(8, '\0');
  image += prg;
  for (int bank = 0; bank < chrBanks; ++bank) image += std::string(0x2000, static_cast<char>(bank));
  return image;
}

// An emulator started on the headless platform with one cartridge, ready to run frames.
struct HeadlessEmulator {
  HeadlessDisplay display;
  HeadlessInput input;
  ManualClock clock;
  HeadlessMessageBox messageBox{nullptr};
  HeadlessSoundService soundService;
  Platform platform{display, input, clock, messageBox, soundService};
  std::unique_ptr<MachineState> machine = std::make_unique<MachineState>();
  std::unique_ptr<HostState> host = std::make_unique<HostState>();
  std::unique_ptr<SoundState> sound = std::make_unique<SoundState>();

  // Writes `image` as game.nes into `folder` and starts it; the cartridge has run `frames`.
  void Start(const std::filesystem::path& folder, const std::string& image, int frames) {
    const std::filesystem::path rom = folder / "game.nes";
    std::FILE* file = std::fopen(rom.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(image.data(), 1, image.size(), file) == image.size());
    std::fclose(file);
    host->settings = HostSettings{};
    ParseHostSettings("SOUND=None\nPLAYER1=K\n", host->settings);
    host->settings.romDirectory = folder.string();
    host->settings.romFileName = "game.nes";
    BuildRomPath(host->settings);
    FUZZ_CHECK(StartEmulator(*machine, *host, *sound, platform) == StartUpResult::kReady);
    BeginRun(*machine, *host);
    for (int i = 0; i < frames; ++i) RunFrame(*machine, *host, 0);
  }
};

// A scratch folder for the run's own files, made once.
inline std::filesystem::path ScratchFolder() {
  static const std::filesystem::path folder = [] {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "wrenfold_fuzz_XXXXXX").string();
    FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr);
    return std::filesystem::path(pattern);
  }();
  return folder;
}

// Builds a file from a valid one and the fuzzer's bytes. Edit records follow one another: a
// 3-byte little-endian offset (taken modulo the size), a length byte and that many bytes to
// write there. What is left over after the last whole record is returned as the tail.
inline std::span<const uint8_t> ApplyEdits(std::span<const uint8_t> edits,
                                           std::vector<uint8_t>& file, size_t recordCount) {
  size_t pos = 0;
  for (size_t record = 0; record < recordCount && pos + 4 <= edits.size(); ++record) {
    const size_t offset =
        (edits[pos] | (size_t{edits[pos + 1]} << 8) | (size_t{edits[pos + 2]} << 16)) % file.size();
    const size_t length = std::min<size_t>(edits[pos + 3], edits.size() - pos - 4);
    for (size_t i = 0; i < length && offset + i < file.size(); ++i) {
      file[offset + i] = edits[pos + 4 + i];
    }
    pos += 4 + length;
  }
  return edits.subspan(pos);
}

}  // namespace wrenfold::fuzz
