// A headless platform and a started emulator for the host tests: a tiny NROM cartridge in
// a scratch folder, the log in that folder, and StartEmulator run on the headless services.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/host/host_state.h"
#include "emulator/host/log.h"
#include "emulator/host/startup.h"
#include "emulator/machine_state/machine_state.h"
#include "emulator/sound/sound_state.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/headless_input.h"
#include "platform/headless/headless_message_box.h"
#include "platform/headless/headless_sound.h"
#include "platform/headless/manual_clock.h"
#include "tests/emulator/host/temp_folder.h"

namespace wrenfold::test {

struct HeadlessPlatform {
  HeadlessDisplay display;
  HeadlessInput input;
  ManualClock clock;
  HeadlessMessageBox messageBox{nullptr};
  HeadlessSoundService sound;
  Platform platform{display, input, clock, messageBox, sound};
};

// Where the test cartridge's code lives.
inline constexpr uint16_t kResetAddress = 0x8000;
inline constexpr uint16_t kNmiAddress = 0x8100;
inline constexpr uint16_t kIrqAddress = 0x8200;

// JMP to itself at `address`.
inline std::vector<uint8_t> SpinAt(uint16_t address) {
  return {0x4C, static_cast<uint8_t>(address & 0xFF), static_cast<uint8_t>(address >> 8)};
}

// Turns the NMI on ($2000 = $80), then spins.
inline std::vector<uint8_t> EnableNmiThenSpin() {
  std::vector<uint8_t> code = {0xA9, 0x80, 0x8D, 0x00, 0x20};  // LDA #$80, STA $2000
  const std::vector<uint8_t> spin = SpinAt(kResetAddress + 5);
  code.insert(code.end(), spin.begin(), spin.end());
  return code;
}

// An image with one 16 KB PRG bank holding `resetCode` at $8000, `nmiCode` at $8100 (a
// spinning NMI handler unless given), an RTI at $8200 and the three vectors; `chrBanks` 8 KB
// CHR banks, bank n filled with n. NROM (mapper 0) unless `mapper` says otherwise.
inline std::string NromImage(const std::vector<uint8_t>& resetCode, int chrBanks = 1,
                             uint8_t mapper = 0,
                             const std::vector<uint8_t>& nmiCode = SpinAt(kNmiAddress)) {
  std::string prg(0x4000, '\0');
  for (std::size_t i = 0; i < resetCode.size(); ++i) prg[i] = static_cast<char>(resetCode[i]);
  const std::vector<uint8_t>& nmi = nmiCode;
  for (std::size_t i = 0; i < nmi.size(); ++i) prg[0x100 + i] = static_cast<char>(nmi[i]);
  prg[0x200] = static_cast<char>(0x40);  // RTI
  auto vector = [&](std::size_t offset, uint16_t address) {
    prg[offset] = static_cast<char>(address & 0xFF);
    prg[offset + 1] = static_cast<char>(address >> 8);
  };
  vector(0x3FFA, kNmiAddress);
  vector(0x3FFC, kResetAddress);
  vector(0x3FFE, kIrqAddress);
  std::string image = std::string("NES\x1A", 4) + '\x01' + static_cast<char>(chrBanks);
  image += static_cast<char>((mapper & 0x0F) << 4);
  image += static_cast<char>(mapper & 0xF0);
  image += std::string(8, '\0');
  image += prg;
  for (int bank = 0; bank < chrBanks; ++bank) image += std::string(0x2000, static_cast<char>(bank));
  return image;
}

// Each test gets its own folder with the log and the cartridge, and a fresh machine, host
// and sound record on the headless platform.
class HeadlessHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.ok());
    previousLogPath = LogPath();
    SetLogPath((folder.path() / kDefaultLogPath).string());
    ResetLog();
  }

  void TearDown() override {
    ReleaseAll(*host);
    SetLogPath(previousLogPath);
  }

  // Parses `config` into the host settings and points the ROM path at `image`, written as
  // game.nes into the test folder.
  void Configure(std::string_view config, const std::string& image) {
    WriteFile(folder.path() / "game.nes", image);
    host->settings = HostSettings{};
    ParseHostSettings(config, host->settings);
    host->settings.romDirectory = folder.path().string();
    host->settings.romFileName = "game.nes";
    BuildRomPath(host->settings);
  }

  StartUpResult Start(std::string_view config = "",
                      const std::string& image = NromImage(SpinAt(kResetAddress))) {
    Configure(config, image);
    return StartEmulator(*machine, *host, *sound, services.platform);
  }

  std::string Log() const { return ReadFile(folder.path() / kDefaultLogPath); }

  TempFolder folder;
  std::string previousLogPath;
  std::unique_ptr<MachineState> machine = std::make_unique<MachineState>();
  std::unique_ptr<HostState> host = std::make_unique<HostState>();
  std::unique_ptr<SoundState> sound = std::make_unique<SoundState>();
  HeadlessPlatform services;
};

}  // namespace wrenfold::test
