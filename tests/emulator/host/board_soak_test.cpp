// A soak over every supported board: images of several sizes (one bank, pattern RAM, larger)
// filled with random bytes run as program code through the whole frame driver, with sound, with
// random register writes between lines and a random IRQADJ each frame. Nothing may fault (the
// sanitizers watch), no PRG window may show bytes from outside the image, and the stores beyond
// the image must stay untouched.
//
// The CI run is short; scripts/soak-boards.sh sets WRENFOLD_SOAK_FRAMES for a long one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "emulator/cart/board_table.h"
#include "emulator/cart/cartridge_irq.h"
#include "emulator/cart/write_bus.h"
#include "emulator/host/frame_driver.h"
#include "emulator/host/run_loop.h"
#include "tests/emulator/host/headless_host.h"

namespace wrenfold {
namespace {

constexpr int kCiFrames = 4;
constexpr uint8_t kPoison = 0xEE;  // never in the images, so it can only come from beyond them

struct SoakShape {
  const char* name;
  int prgBanks16k;
  int chrBanks8k;
};

constexpr SoakShape kShapes[] = {
    {"OneBankEach", 1, 1},
    {"PatternRam", 3, 0},
    {"Larger", 8, 16},
};

// Addresses the boards decode exactly, which uniform addresses would rarely hit.
constexpr uint16_t kRegisterAddresses[] = {
    0x42FE, 0x42FF, 0x4501, 0x4502, 0x4503, 0x4504, 0x4510, 0x4800, 0x5000, 0x5114,
    0x5116, 0x5800, 0x5801, 0x6000, 0x6008, 0x600A, 0x7EF0, 0x7EF1, 0x7EF6, 0x7EFA,
    0x7F00, 0x8000, 0x8001, 0x8002, 0x8003, 0x9000, 0x9001, 0x9002, 0x9003, 0x9004,
    0xA000, 0xA001, 0xB000, 0xB003, 0xC000, 0xC001, 0xC002, 0xC003, 0xC005, 0xD000,
    0xD001, 0xE000, 0xE800, 0xF000, 0xF001, 0xF002, 0xF003, 0xF004, 0xF800};

int SoakFrames() {
  const char* text = std::getenv("WRENFOLD_SOAK_FRAMES");
  const int frames = text != nullptr ? std::atoi(text) : 0;
  return frames > 0 ? frames : kCiFrames;
}

// The line step the frame driver calls during the soak: the board's own, then now and then a
// random register write, so that writes land at every point of the frame.
struct SoakLineStep {
  static inline BoardLineStep boardStep = nullptr;
  static inline std::mt19937* random = nullptr;

  static void Step(MachineState& machine, uint16_t line, bool renderingOn) {
    if (boardStep != nullptr) boardStep(machine, line, renderingOn);
    std::mt19937& r = *random;
    if (r() % 6 != 0) return;
    const uint16_t address = (r() % 2 == 0)
                                 ? kRegisterAddresses[r() % std::size(kRegisterAddresses)]
                                 : static_cast<uint16_t>(0x4018 + r() % (0x10000 - 0x4018));
    WriteBus(machine, address, static_cast<uint8_t>(r()));
  }
};

uint8_t RandomImageByte(std::mt19937& random) {
  uint8_t byte = kPoison;
  while (byte == kPoison) byte = static_cast<uint8_t>(random());
  return byte;
}

std::string RandomImage(int mapper, const SoakShape& shape, std::mt19937& random) {
  std::string image = std::string("NES\x1A", 4);
  image += static_cast<char>(shape.prgBanks16k);
  image += static_cast<char>(shape.chrBanks8k);
  image += static_cast<char>(((mapper & 0x0F) << 4) | (random() & 0x01));
  image += static_cast<char>(mapper & 0xF0);
  image += std::string(8, '\0');
  const std::size_t data = static_cast<std::size_t>(shape.prgBanks16k) * 0x4000 +
                           static_cast<std::size_t>(shape.chrBanks8k) * 0x2000;
  for (std::size_t i = 0; i < data; ++i) image += static_cast<char>(RandomImageByte(random));
  return image;
}

bool AllPoison(const uint8_t* bytes, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) {
    if (bytes[i] != kPoison) return false;
  }
  return true;
}

class BoardSoakTest : public test::HeadlessHostTest,
                      public ::testing::WithParamInterface<std::tuple<int, SoakShape>> {};

TEST_P(BoardSoakTest, RandomProgramsAndWritesStayInsideTheStores) {
  const int mapper = std::get<0>(GetParam());
  const SoakShape& shape = std::get<1>(GetParam());
  std::mt19937 random(static_cast<uint32_t>(mapper * 7919 + shape.prgBanks16k));
  ASSERT_EQ(Start("SOUND=Stereo\n", RandomImage(mapper, shape, random)), StartUpResult::kReady);

  // Beyond the image the stores hold poison; a copy that reads there would show it.
  const std::size_t prgEnd = static_cast<std::size_t>(shape.prgBanks16k) * 0x4000;
  // Pattern RAM lives in the first 8 KB of the CHR store; mapper 6 keeps its four pages of it
  // in the 32 KB after.
  std::size_t chrEnd = static_cast<std::size_t>(shape.chrBanks8k) * 0x2000;
  if (shape.chrBanks8k == 0) chrEnd = mapper == 6 ? 0xA000 : 0x2000;
  std::memset(machine->prgRom + prgEnd, kPoison, sizeof machine->prgRom - prgEnd);
  std::memset(machine->chrRom + chrEnd, kPoison, sizeof machine->chrRom - chrEnd);

  // Random writes to boards that log their unknown registers would write the log thousands of
  // times a frame; a log that cannot be opened is skipped at once.
  SetLogPath((folder.path() / "no-such-folder" / "wrenfold.tst").string());
  BeginRun(*machine, *host);
  SoakLineStep::boardStep = host->run.lineStep;
  SoakLineStep::random = &random;
  host->run.lineStep = SoakLineStep::Step;

  const int frames = SoakFrames();
  for (int frame = 0; frame < frames; ++frame) {
    machine->irqAdjust = static_cast<int16_t>(static_cast<int>(random() % 61) - 30);
    RunFrame(*machine, *host, 0);
    ASSERT_FALSE(host->run.exitRequested) << "frame " << frame;
    ASSERT_EQ(std::memchr(machine->cpuMem + 0x8000, kPoison, 0x8000), nullptr)
        << "a PRG window shows bytes from beyond the image after frame " << frame;
    ASSERT_FALSE(machine->oneScreenA && machine->oneScreenB);
    // A bad opcode would end the run; the soak goes on somewhere else in the program.
    if (machine->haltRequested) {
      machine->haltRequested = 0;
      machine->cpu.PC = static_cast<uint16_t>(0x8000 + random() % 0x8000);
    }
  }
  EXPECT_TRUE(AllPoison(machine->prgRom + prgEnd, sizeof machine->prgRom - prgEnd));
  EXPECT_TRUE(AllPoison(machine->chrRom + chrEnd, sizeof machine->chrRom - chrEnd));
}

std::vector<int> SupportedBoards() {
  std::vector<int> boards;
  for (int mapper = 0; mapper < 256; ++mapper) {
    if (mapper != 248 && IsSupportedMapper(static_cast<uint8_t>(mapper))) boards.push_back(mapper);
  }
  return boards;
}

INSTANTIATE_TEST_SUITE_P(AllBoards, BoardSoakTest,
                         ::testing::Combine(::testing::ValuesIn(SupportedBoards()),
                                            ::testing::ValuesIn(kShapes)),
                         [](const ::testing::TestParamInfo<std::tuple<int, SoakShape>>& info) {
                           return "Mapper" + std::to_string(std::get<0>(info.param)) + "_" +
                                  std::get<1>(info.param).name;
                         });

}  // namespace
}  // namespace wrenfold
