// A started emulator for the save-state, movie and battery tests: player 1 on the keyboard,
// key taps through the headless keyboard, frames run through the real frame driver, and a
// cartridge whose picture follows the frame count and the pad, so a wrong restore shows.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/host/frame_driver.h"
#include "emulator/host/run_loop.h"
#include "emulator/host/save_files.h"
#include "emulator/host/state_codec.h"
#include "platform/dik_codes.h"
#include "tests/emulator/host/headless_host.h"

namespace wrenfold::test {

// Player 1 on the keyboard: X is A, Z is B, Enter is Start, the arrows are the pad.
inline constexpr std::string_view kKeyboardConfig =
    "SOUND=None\nPLAYER1=K\nKEYA=45\nKEYB=44\nKEYSTART=28\nKEYUP=200\nKEYDOWN=208\n"
    "KEYLEFT=203\nKEYRIGHT=205\n";

// Header byte 6 bit 1.
inline constexpr uint8_t kBatteryBit = 0x02;

// NROM, background on, NMI on. Every NMI counts the frame at $10, shifts the eight pad bits
// into $12, adds them up at $11 and paints the backdrop with ($10 + $11) & $3F, so each frame's
// picture depends on how many frames ran and on every pad byte read so far.
inline std::string CountingImage(uint8_t flags6 = 0) {
  const std::vector<uint8_t> reset = {
      0xA9, 0x80, 0x8D, 0x00, 0x20,  // LDA #$80, STA $2000
      0xA9, 0x0A, 0x8D, 0x01, 0x20,  // LDA #$0A, STA $2001
      0x4C, 0x0A, 0x80,              // JMP $800A
  };
  const std::vector<uint8_t> nmi = {
      0xE6, 0x10,                                // INC $10
      0xA9, 0x01, 0x8D, 0x16, 0x40,              // LDA #1, STA $4016
      0xA9, 0x00, 0x8D, 0x16, 0x40,              // LDA #0, STA $4016
      0xA2, 0x08,                                // LDX #8
      0xAD, 0x16, 0x40,                          // loop: LDA $4016
      0x4A, 0x26, 0x12,                          // LSR A, ROL $12
      0xCA, 0xD0, 0xF7,                          // DEX, BNE loop
      0xA5, 0x12, 0x18, 0x65, 0x11, 0x85, 0x11,  // LDA $12, CLC, ADC $11, STA $11
      0xA9, 0x3F, 0x8D, 0x06, 0x20,              // LDA #$3F, STA $2006
      0xA9, 0x00, 0x8D, 0x06, 0x20,              // LDA #$00, STA $2006
      0xA5, 0x11, 0x18, 0x65, 0x10,              // LDA $11, CLC, ADC $10
      0x29, 0x3F, 0x8D, 0x07, 0x20,              // AND #$3F, STA $2007
      0x40,                                      // RTI
  };
  std::string image = NromImage(reset);
  constexpr std::size_t kHeaderSize = 16;
  for (std::size_t i = 0; i < nmi.size(); ++i) {
    image[kHeaderSize + (kNmiAddress - kResetAddress) + i] = static_cast<char>(nmi[i]);
  }
  image[6] = static_cast<char>(image[6] | flags6);
  return image;
}

inline uint64_t HashPixels(const std::vector<uint8_t>& pixels) {
  uint64_t hash = 0xCBF29CE484222325ull;
  for (uint8_t pixel : pixels) hash = (hash ^ pixel) * 0x100000001B3ull;
  return hash;
}

class SaveFileTest : public HeadlessHostTest {
 protected:
  void Begin(const std::string& image = CountingImage(),
             std::string_view config = kKeyboardConfig) {
    ASSERT_EQ(Start(config, image), StartUpResult::kReady);
    BeginRun(*machine, *host);
  }

  void Tap(uint8_t scanCode) {
    services.input.PressKey(scanCode);
    services.input.ReleaseKey(scanCode);
  }
  void Hold(uint8_t scanCode, bool held) { services.input.InjectKey(scanCode, held); }

  void Frame() { RunFrame(*machine, *host, 0); }
  void Frames(int count) {
    for (int i = 0; i < count; ++i) Frame();
  }
  uint64_t PictureHash() const { return HashPixels(services.display.PresentedPixels()); }

  StateBytes Encoded() const {
    StateBytes bytes;
    EncodeState(*machine, bytes);
    return bytes;
  }

  std::filesystem::path Beside(std::string_view name) const { return folder.path() / name; }
  std::string FileText(std::string_view name) const { return ReadFile(Beside(name)); }
};

}  // namespace wrenfold::test
