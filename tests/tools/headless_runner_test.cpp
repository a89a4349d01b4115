// wrenfold-headless end to end: small cartridges assembled here report through the test
// cartridge conventions, read the joypad, or stop the CPU, and the runner's exit status,
// printed lines and written files are checked.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tests/tools/headless_process.h"
#include "tools/frame_compare/picture_files.h"
#include "tools/headless_runner/frame_picture.h"

namespace wrenfold::runner_test {
namespace {

constexpr uint16_t kCodeStart = 0xC000;
constexpr std::size_t kPrgSize = 16 * 1024;
constexpr std::size_t kChrSize = 8 * 1024;

// Just enough of a 6502 assembler for these programs; the code starts at $C000.
class Program {
 public:
  uint16_t Here() const { return static_cast<uint16_t>(kCodeStart + bytes.size()); }

  Program& LdaImm(uint8_t value) { return Op(0xA9, value); }
  Program& LdaAbs(uint16_t address) { return OpAbs(0xAD, address); }
  Program& StaAbs(uint16_t address) { return OpAbs(0x8D, address); }
  Program& StaZp(uint8_t address) { return Op(0x85, address); }
  Program& IncAbs(uint16_t address) { return OpAbs(0xEE, address); }
  Program& AndImm(uint8_t value) { return Op(0x29, value); }
  Program& CmpImm(uint8_t value) { return Op(0xC9, value); }
  Program& CpxImm(uint8_t value) { return Op(0xE0, value); }
  Program& Tsx() { return Op(0xBA); }
  Program& Php() { return Op(0x08); }
  Program& Pla() { return Op(0x68); }
  Program& Jmp(uint16_t address) { return OpAbs(0x4C, address); }
  Program& Spin() { return Jmp(Here()); }
  Program& Raw(uint8_t opcode) { return Op(opcode); }

  // A branch whose target is filled in by Land.
  Program& Beq(std::size_t& patch) { return Branch(0xF0, patch); }
  Program& Bne(std::size_t& patch) { return Branch(0xD0, patch); }
  Program& Land(std::size_t patch) {
    bytes[patch] = static_cast<uint8_t>(bytes.size() - (patch + 1));
    return *this;
  }

  // The $6000 status block: signature, text, then the status byte.
  Program& ReportStatus(uint8_t status, const std::string& text) {
    LdaImm(0xDE).StaAbs(0x6001).LdaImm(0xB0).StaAbs(0x6002).LdaImm(0x61).StaAbs(0x6003);
    for (std::size_t i = 0; i <= text.size(); ++i) {
      LdaImm(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
      StaAbs(static_cast<uint16_t>(0x6004 + i));
    }
    return LdaImm(status).StaAbs(0x6000);
  }

  // Mapper 0, one 16 KB PRG bank (seen at $8000 and $C000) and one CHR bank; every
  // vector points at the code's start but the NMI, which returns at once.
  std::vector<uint8_t> Image() const {
    std::vector<uint8_t> image = {'N', 'E', 'S', 0x1A, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::vector<uint8_t> prg(kPrgSize, 0xEA);
    std::memcpy(prg.data(), bytes.data(), bytes.size());
    const uint16_t rti = kCodeStart + kPrgSize - 0x10;
    prg[rti - kCodeStart] = 0x40;
    const uint16_t vectors[3] = {rti, kCodeStart, rti};
    for (int i = 0; i < 3; ++i) {
      prg[kPrgSize - 6 + 2 * i] = static_cast<uint8_t>(vectors[i] & 0xFF);
      prg[kPrgSize - 5 + 2 * i] = static_cast<uint8_t>(vectors[i] >> 8);
    }
    image.insert(image.end(), prg.begin(), prg.end());
    image.insert(image.end(), kChrSize, 0);
    return image;
  }

 private:
  template <typename... Bytes>
  Program& Op(uint8_t opcode, Bytes... operands) {
    bytes.push_back(opcode);
    (bytes.push_back(static_cast<uint8_t>(operands)), ...);
    return *this;
  }
  Program& OpAbs(uint8_t opcode, uint16_t address) {
    return Op(opcode, address & 0xFF, address >> 8);
  }
  Program& Branch(uint8_t opcode, std::size_t& patch) {
    Op(opcode, 0);
    patch = bytes.size() - 1;
    return *this;
  }

  std::vector<uint8_t> bytes;
};

class HeadlessRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(RunnerPath())) {
      GTEST_SKIP() << RunnerPath() << " is not built";
    }
    ASSERT_FALSE(scratch.Path().empty());
  }

  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path path = scratch / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }
  std::string WriteText(const std::string& name, const std::string& text) {
    const std::filesystem::path path = scratch / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  ScratchFolder scratch;
};

// A program that reports `status` with `text` and spins.
std::vector<uint8_t> StatusRom(uint8_t status, const std::string& text) {
  Program program;
  program.ReportStatus(status, text).Spin();
  return program.Image();
}

// Reads the pad at $4016 in a loop and passes once Start (the fourth bit out) is seen.
std::vector<uint8_t> WaitForStartRom() {
  Program program;
  const uint16_t loop = program.Here();
  program.LdaImm(1).StaAbs(0x4016).LdaImm(0).StaAbs(0x4016);
  program.LdaAbs(0x4016).LdaAbs(0x4016).LdaAbs(0x4016).LdaAbs(0x4016).AndImm(1);
  std::size_t pressed = 0;
  program.Bne(pressed).Jmp(loop).Land(pressed);
  program.ReportStatus(0x00, "start seen").Spin();
  return program.Image();
}

// Asks for a reset on the first run; after the reset (RAM kept) checks what a reset does to
// the CPU: S three lower than the $FF the program ran with, and I set.
std::vector<uint8_t> ResetRequestRom() {
  Program program;
  std::size_t afterReset = 0;
  program.LdaAbs(0x0300).CmpImm(0xA5).Beq(afterReset);
  program.LdaImm(0xA5).StaAbs(0x0300).ReportStatus(0x81, "press reset").Spin();
  program.Land(afterReset);
  std::size_t wrongStack = 0;
  std::size_t interruptsOn = 0;
  program.Tsx().CpxImm(0xFC).Bne(wrongStack);
  program.Php().Pla().AndImm(0x04).Beq(interruptsOn);
  program.ReportStatus(0x00, "reset seen").Spin();
  program.Land(wrongStack).ReportStatus(0x02, "stack not lowered by 3").Spin();
  program.Land(interruptsOn).ReportStatus(0x03, "I flag clear after reset").Spin();
  return program.Image();
}

std::vector<uint8_t> ResultByteRom(uint8_t value) {
  Program program;
  program.LdaImm(value).StaZp(0xF8).Spin();
  return program.Image();
}

std::vector<uint8_t> SpinRom() {
  Program program;
  program.Spin();
  return program.Image();
}

uint32_t ReadLe32(const std::string& bytes, std::size_t offset) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<uint8_t>(bytes[offset + i]);
  return value;
}

uint32_t ReadBe32(const std::string& bytes, std::size_t offset) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value = (value << 8) | static_cast<uint8_t>(bytes[offset + i]);
  return value;
}

// ---- Verdicts, on every CPU core ---------------------------------------------------------

class RunnerVerdictTest : public HeadlessRunnerTest,
                          public ::testing::WithParamInterface<const char*> {
 protected:
  ProcessResult Run(const std::string& rom, std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments{rom, "--core", GetParam()};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return RunRunner(arguments);
  }
};

TEST_P(RunnerVerdictTest, PassedStatusExitsZeroAndPrintsTheText) {
  const ProcessResult result =
      Run(Write("pass.nes", StatusRom(0x00, "all good\nline two")), {"--frames", "5"});
  ASSERT_TRUE(result.exited) << result.err;
  EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;
  EXPECT_NE(result.out.find("result: passed ($6000 status $00)"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("  all good\n  line two\n"), std::string::npos) << result.out;
}

TEST_P(RunnerVerdictTest, FailureCodeExitsOne) {
  const ProcessResult result = Run(Write("fail.nes", StatusRom(0x07, "nope")), {"--frames", "5"});
  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_NE(result.out.find("failed ($6000 status $07)"), std::string::npos) << result.out;
}

TEST_P(RunnerVerdictTest, StillRunningIsNoVerdict) {
  const ProcessResult result = Run(Write("running.nes", StatusRom(0x80, "")), {"--frames", "5"});
  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_NE(result.out.find("still running"), std::string::npos) << result.out;
}

TEST_P(RunnerVerdictTest, PressResetIsAnsweredAfterTenFramesWithMemoryKept) {
  const ProcessResult result = Run(Write("reset.nes", ResetRequestRom()), {"--frames", "40"});
  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.exitStatus, 0) << result.out;
  // Requested in frame 1; 10 frames (167 ms) later is the first time that is >= 100 ms.
  EXPECT_NE(result.out.find("reset pressed after frame 11\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("reset seen"), std::string::npos) << result.out;
}

TEST_P(RunnerVerdictTest, ResetIsPressedOncePerRequest) {
  const ProcessResult result = Run(Write("reset.nes", ResetRequestRom()), {"--frames", "100"});
  ASSERT_TRUE(result.exited);
  std::size_t presses = 0;
  for (std::size_t at = result.out.find("reset pressed"); at != std::string::npos;
       at = result.out.find("reset pressed", at + 1)) {
    ++presses;
  }
  EXPECT_EQ(presses, 1u) << result.out;
}

TEST_P(RunnerVerdictTest, ResultByteOnePasses) {
  const ProcessResult result = Run(Write("f8.nes", ResultByteRom(1)), {"--frames", "3"});
  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.exitStatus, 0) << result.out;
  EXPECT_NE(result.out.find("passed ($00F8 = 1)"), std::string::npos) << result.out;
}

TEST_P(RunnerVerdictTest, ResultByteAboveOneNamesTheFailedCase) {
  const ProcessResult result = Run(Write("f8.nes", ResultByteRom(5)), {"--frames", "3"});
  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_NE(result.out.find("failed #5"), std::string::npos) << result.out;
}

TEST_P(RunnerVerdictTest, StatusOnlyVerdictIgnoresTheResultByte) {
  const ProcessResult result =
      Run(Write("f8.nes", ResultByteRom(1)), {"--frames", "3", "--verdict", "status"});
  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.exitStatus, 2);
}

// A cartridge that reports nothing has run cleanly unless a source was named explicitly.
TEST_P(RunnerVerdictTest, NothingReportedIsNoVerdictOnlyWhereASourceIsNamed) {
  const std::string rom = Write("spin.nes", SpinRom());
  ProcessResult result = Run(rom, {"--frames", "3"});
  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;
  EXPECT_NE(result.out.find("result: nothing reported"), std::string::npos) << result.out;
  for (const char* source : {"status", "f8"}) {
    result = Run(rom, {"--frames", "3", "--verdict", source});
    ASSERT_TRUE(result.exited);
    EXPECT_EQ(result.exitStatus, 2) << source;
  }
  result = Run(rom, {"--frames", "3", "--verdict", "none"});
  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out.find("result:"), std::string::npos) << result.out;
}

TEST_P(RunnerVerdictTest, InputScriptPressesStartThroughTheKeyboard) {
  const std::string rom = Write("start.nes", WaitForStartRom());
  ProcessResult result = Run(rom, {"--frames", "40", "--verdict", "status"});
  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.exitStatus, 2) << "passed without a press: " << result.out;

  const std::string script = WriteText("press.txt", "# press start\n20 start\r\n25 -\n");
  result = Run(rom, {"--frames", "40", "--input", script});
  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;
}

TEST_P(RunnerVerdictTest, UntilVerdictStopsAtTheFrameThatPassed) {
  const std::string rom = Write("start.nes", WaitForStartRom());
  const std::string script = WriteText("press.txt", "30 start a\n");
  const ProcessResult result =
      Run(rom, {"--frames", "600", "--input", script, "--until-verdict", "--bench"});
  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_NE(result.out.find(" frames=30 "), std::string::npos) << result.out;
}

TEST_P(RunnerVerdictTest, UnknownOpcodeEndsTheRunWithAnError) {
  Program program;
  program.Raw(0x22).Spin();
  const ProcessResult result =
      Run(Write("halt.nes", program.Image()), {"--frames", "10", "--verdict", "none"});
  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_NE(result.err.find("unknown opcode after frame 1"), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(EveryCore, RunnerVerdictTest,
                         ::testing::Values("reference", "second", "full"),
                         [](const auto& info) { return std::string(info.param); });

// ---- Pictures, hashes, sound and trace ---------------------------------------------------

std::vector<std::string> HashLines(const std::string& out) {
  std::vector<std::string> lines;
  const std::regex line("frame ([0-9]+) hash ([0-9a-f]{16})");
  for (std::sregex_iterator it(out.begin(), out.end(), line), end; it != end; ++it) {
    lines.push_back((*it)[1].str() + " " + (*it)[2].str());
  }
  return lines;
}

// FNV-1a 64 of a picture whose first `splitRow` rows hold `top` and the rest `bottom`.
std::string HashOfTwoBandPicture(uint8_t top, uint8_t bottom, int splitRow) {
  uint64_t hash = 0xCBF29CE484222325ull;
  for (int i = 0; i < 256 * 240; ++i) {
    hash ^= i < 256 * splitRow ? top : bottom;
    hash *= 0x100000001B3ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

TEST_F(HeadlessRunnerTest, HashesTheListedFramesInOrderAndRepeatably) {
  const std::string rom = Write("spin.nes", SpinRom());
  const std::vector<std::string> arguments{rom,     "--frames",  "4",   "--hash-frames",
                                           "3,1,3", "--verdict", "none"};
  const ProcessResult first = RunRunner(arguments);
  const ProcessResult second = RunRunner(arguments);
  ASSERT_EQ(first.exitStatus, 0) << first.err;
  const std::vector<std::string> lines = HashLines(first.out);
  ASSERT_EQ(lines.size(), 2u) << first.out;
  EXPECT_EQ(lines[0].substr(0, 2), "1 ");
  EXPECT_EQ(lines[1].substr(0, 2), "3 ");
  EXPECT_EQ(lines, HashLines(second.out));
}

// --png-frames writes exactly the hashed picture, colour numbers and all.
TEST_F(HeadlessRunnerTest, PngFramesHoldTheHashedPictures) {
  Program program;
  program.LdaImm(0x1E).StaAbs(0x2001).Spin();
  const ProcessResult result =
      RunRunner({Write("plain.nes", program.Image()), "--frames", "3", "--hash-frames", "1,3",
                 "--png-frames", "3,1", "--png-dir", scratch.Path().string(), "--verdict", "none"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const std::vector<std::string> lines = HashLines(result.out);
  ASSERT_EQ(lines.size(), 2u) << result.out;
  for (const std::string& line : lines) {
    const std::string frame = line.substr(0, line.find(' '));
    compare::IndexedPicture picture;
    ASSERT_FALSE(compare::ReadIndexedPng((scratch / ("frame-" + frame + ".png")).string(), picture)) << frame;
    headless::FramePicture indices{};
    ASSERT_EQ(picture.indices.size(), indices.size());
    std::copy(picture.indices.begin(), picture.indices.end(), indices.begin());
    EXPECT_EQ(frame + " " + headless::FormatHash(headless::HashPicture(indices)), line);
  }
}

TEST_F(HeadlessRunnerTest, HashCoversTheWholePaletteIndexPicture) {
  // Blank pattern tables and the left columns shown: every drawn pixel shows the backdrop,
  // and the 8 NTSC lines below the 232 drawn ones hold colour 15.
  Program program;
  program.LdaImm(0x1E).StaAbs(0x2001).Spin();
  const ProcessResult result = RunRunner({Write("plain.nes", program.Image()), "--frames", "2",
                                          "--hash-frames", "2", "--verdict", "none"});
  const std::vector<std::string> lines = HashLines(result.out);
  ASSERT_EQ(lines.size(), 1u) << result.out << result.err;
  std::set<std::string> candidates;
  for (int index = 0; index < 256; ++index) {
    candidates.insert(HashOfTwoBandPicture(static_cast<uint8_t>(index), 15, 232));
  }
  EXPECT_TRUE(candidates.contains(lines[0].substr(2))) << lines[0];
}

TEST_F(HeadlessRunnerTest, PeekPrintsMemoryBesideEachHashedFrame) {
  const ProcessResult result =
      RunRunner({Write("pass.nes", StatusRom(0x00, "ok")), "--frames", "3", "--hash-frames", "2",
                 "--peek", "6000:6", "--verdict", "none"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_NE(result.out.find("frame 2 peek $6000: 00 DE B0 61 6F 6B\n"), std::string::npos)
      << result.out;
}

TEST_F(HeadlessRunnerTest, WritesTheLastFrameAsRgbPng) {
  const std::string png = (scratch / "last.png").string();
  const ProcessResult result =
      RunRunner({Write("spin.nes", SpinRom()), "--frames", "3", "--png", png, "--verdict", "none"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const std::string bytes = ReadWholeFile(png);
  ASSERT_GT(bytes.size(), 33u);
  EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  EXPECT_EQ(bytes.substr(12, 4), "IHDR");
  EXPECT_EQ(ReadBe32(bytes, 16), 256u);
  EXPECT_EQ(ReadBe32(bytes, 20), 240u);
  EXPECT_EQ(static_cast<uint8_t>(bytes[24]), 8);  // bits per sample
  EXPECT_EQ(static_cast<uint8_t>(bytes[25]), 2);  // RGB
  EXPECT_NE(bytes.find("IEND"), std::string::npos);
}

TEST_F(HeadlessRunnerTest, PngIntoAMissingFolderIsAnError) {
  const std::string png = (scratch / "no-such-folder" / "last.png").string();
  const ProcessResult result =
      RunRunner({Write("spin.nes", SpinRom()), "--frames", "2", "--png", png, "--verdict", "none"});
  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_NE(result.err.find("cannot"), std::string::npos) << result.err;
}

TEST_F(HeadlessRunnerTest, WavHoldsEveryFramesSamplesInStereo) {
  const std::string wav = (scratch / "sound.wav").string();
  const ProcessResult result = RunRunner(
      {Write("spin.nes", SpinRom()), "--frames", "60", "--wav", wav, "--verdict", "none"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const std::string bytes = ReadWholeFile(wav);
  ASSERT_GE(bytes.size(), 44u);
  EXPECT_EQ(bytes.substr(0, 4), "RIFF");
  EXPECT_EQ(bytes.substr(8, 4), "WAVE");
  EXPECT_EQ(static_cast<uint8_t>(bytes[22]), 2);  // channels
  EXPECT_EQ(ReadLe32(bytes, 24), 22050u);
  // 60 frames of 367 and 368 samples alternately: one second, 4 bytes a stereo sample.
  EXPECT_EQ(ReadLe32(bytes, 40), 22050u * 4);
  EXPECT_EQ(bytes.size(), 44u + 22050u * 4);
}

TEST_F(HeadlessRunnerTest, TracePrintsInstructionsFromTheResetVector) {
  Program program;
  program.LdaImm(0x12).Spin();
  const ProcessResult result = RunRunner(
      {Write("trace.nes", program.Image()), "--frames", "1", "--trace", "--verdict", "none"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out.rfind("C000  A9 12", 0), 0u) << result.out.substr(0, 200);
  EXPECT_NE(result.out.find("\nC002  4C 02 C0"), std::string::npos);
}

TEST_F(HeadlessRunnerTest, BenchPrintsFramesRateAndPeakMemory) {
  const ProcessResult result =
      RunRunner({Write("spin.nes", SpinRom()), "--frames", "30", "--bench", "--verdict", "none"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const std::regex line(
      R"(core=wrenfold-second frames=30 seconds=[0-9.]+ fps=[0-9]+ peak_rss_kb=[1-9][0-9]*)");
  EXPECT_TRUE(std::regex_search(result.out, line)) << result.out;
}

// ---- Bad input ---------------------------------------------------------------------------

struct BadRunCase {
  const char* name;
  std::vector<std::string> arguments;  // "ROM" stands for a good cartridge
  const char* message;                 // expected on standard error
};

class RunnerBadInputTest : public HeadlessRunnerTest,
                           public ::testing::WithParamInterface<BadRunCase> {};

TEST_P(RunnerBadInputTest, ExitsTwoWithAReason) {
  const std::string rom = Write("spin.nes", SpinRom());
  std::vector<std::string> arguments = GetParam().arguments;
  for (std::string& argument : arguments) {
    if (argument == "ROM") argument = rom;
    if (argument.starts_with("SCRATCH/")) argument = (scratch / argument.substr(8)).string();
  }
  WriteText("bad-script.txt", "10 start\n5 a\n");
  WriteText("unknown-button.txt", "10 jump\n");
  WriteText("unknown-key.txt", "10 key F55\n");
  WriteText("key-goes-back.txt", "10 start\n9 key F5\n");
  std::vector<uint8_t> truncated = SpinRom();
  truncated.resize(16 + 1000);
  Write("truncated.nes", truncated);
  std::vector<uint8_t> notInes = SpinRom();
  notInes[0] = 'X';
  Write("not-ines.nes", notInes);

  const ProcessResult result = RunRunner(arguments);
  ASSERT_TRUE(result.exited);
  EXPECT_EQ(result.exitStatus, 2) << result.out;
  EXPECT_NE(result.err.find(GetParam().message), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunnerBadInputTest,
    ::testing::Values(
        BadRunCase{"NoCartridge", {"--frames", "5"}, "no cartridge given"},
        BadRunCase{"TwoCartridges", {"ROM", "ROM"}, "only one cartridge"},
        BadRunCase{"UnknownOption", {"ROM", "--fast"}, "unknown option --fast"},
        BadRunCase{"ZeroFrames", {"ROM", "--frames", "0"}, "--frames needs"},
        BadRunCase{"FramesNotANumber", {"ROM", "--frames", "12x"}, "--frames needs"},
        BadRunCase{"MissingValue", {"ROM", "--png"}, "--png needs a value"},
        BadRunCase{"BadHashList", {"ROM", "--hash-frames", "1,,2"}, "--hash-frames needs"},
        BadRunCase{"FrameZeroHash", {"ROM", "--hash-frames", "0"}, "--hash-frames needs"},
        BadRunCase{"BadPngList", {"ROM", "--png-frames", "x"}, "--png-frames needs"},
        BadRunCase{"BadCore", {"ROM", "--core", "fast"}, "--core is reference, second or full"},
        BadRunCase{"PeekPastTheEnd", {"ROM", "--peek", "FFFF:2"}, "--peek needs"},
        BadRunCase{"PeekNotHex", {"ROM", "--peek", "60g0"}, "--peek needs"},
        BadRunCase{"MissingFile", {"SCRATCH/none.nes"}, "no such file"},
        BadRunCase{"TruncatedImage", {"SCRATCH/truncated.nes"}, "shorter than its header"},
        BadRunCase{"NotInes", {"SCRATCH/not-ines.nes"}, "not an iNES image"},
        BadRunCase{"MissingScript", {"ROM", "--input", "SCRATCH/none.txt"}, "cannot open input"},
        BadRunCase{"ScriptGoesBack",
                   {"ROM", "--input", "SCRATCH/bad-script.txt"},
                   "input script line 2: frame 5 does not come after frame 10"},
        BadRunCase{"ScriptUnknownButton",
                   {"ROM", "--input", "SCRATCH/unknown-button.txt"},
                   "unknown button \"jump\""},
        BadRunCase{"ScriptUnknownKey",
                   {"ROM", "--input", "SCRATCH/unknown-key.txt"},
                   "input script line 1: unknown key \"F55\""},
        BadRunCase{"ScriptKeyGoesBack",
                   {"ROM", "--input", "SCRATCH/key-goes-back.txt"},
                   "input script line 2: frame 9 comes before frame 10"}),
    [](const ::testing::TestParamInfo<BadRunCase>& info) { return std::string(info.param.name); });

TEST_F(HeadlessRunnerTest, HelpDescribesTheInputScript) {
  const ProcessResult result = RunRunner({"--help"});
  ASSERT_EQ(result.exitStatus, 0);
  EXPECT_NE(result.out.find("FRAME BUTTONS"), std::string::npos);
  EXPECT_NE(result.out.find("FRAME key NAME"), std::string::npos);
  EXPECT_NE(result.out.find("--hash-frames"), std::string::npos);
}

// ---- Save states, movies and battery RAM through key lines ----------------------------------

// The listed frames' hashes, by frame number.
std::map<uint32_t, std::string> HashesByFrame(const std::string& out) {
  std::map<uint32_t, std::string> hashes;
  for (const std::string& line : HashLines(out)) {
    hashes[static_cast<uint32_t>(std::stoul(line.substr(0, line.find(' '))))] =
        line.substr(line.find(' ') + 1);
  }
  return hashes;
}

std::string FrameRange(uint32_t first, uint32_t last) {
  std::string list;
  for (uint32_t frame = first; frame <= last; ++frame) {
    list += (list.empty() ? "" : ",") + std::to_string(frame);
  }
  return list;
}

class RunnerSaveFileTest : public HeadlessRunnerTest {
 protected:
  void SetUp() override {
    HeadlessRunnerTest::SetUp();
    if (IsSkipped()) return;
    const std::filesystem::path demo =
        std::filesystem::path(WRENFOLD_BIN_DIR) / "roms" / "wrenfold_demo.nes";
    if (!std::filesystem::exists(demo)) GTEST_SKIP() << demo << " is not built";
    std::filesystem::copy_file(demo, scratch / "game.nes");
    rom = (scratch / "game.nes").string();
  }

  std::string rom;
};

TEST_F(RunnerSaveFileTest, KeyLinesSaveAndLoadAndTheFramesAfterRepeat) {
  // The same buttons after the save at 120 and after the load at 200.
  const std::string script = WriteText("keys.txt",
                                       "60 start\n63 -\n"
                                       "120 key 3\n120 key F5\n125 right\n135 right a\n"
                                       "140 right\n145 -\n"
                                       "160 left b\n180 -\n"
                                       "200 key F7\n205 right\n215 right a\n220 right\n"
                                       "225 -\n");
  const std::string log = (scratch / "wrenfold.tst").string();
  const ProcessResult result =
      RunRunner({rom, "--frames", "230", "--input", script, "--verdict", "none", "--log", log,
                 "--hash-frames", FrameRange(121, 150) + "," + FrameRange(201, 230)});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const std::map<uint32_t, std::string> hashes = HashesByFrame(result.out);
  std::set<std::string> distinct;
  for (uint32_t frame = 121; frame <= 150; ++frame) {
    EXPECT_EQ(hashes.at(frame + 80), hashes.at(frame)) << "frame " << frame + 80;
    distinct.insert(hashes.at(frame));
  }
  EXPECT_GT(distinct.size(), 5u) << "the picture should move after the save";
  EXPECT_EQ(std::filesystem::file_size(scratch / "game.SV3"), 83482u);
  const std::string logText = ReadWholeFile(log);
  EXPECT_NE(logText.find("Save state: " + (scratch / "game.SV3").string()), std::string::npos);
  EXPECT_NE(logText.find("Load state: " + (scratch / "game.SV3").string()), std::string::npos);
}

TEST_F(RunnerSaveFileTest, AMovieRecordedInOneRunPlaysInTheNext) {
  const std::string recordScript = WriteText("record.txt",
                                             "60 start\n63 -\n"
                                             "100 key F1\n105 right\n120 right a\n130 -\n"
                                             "140 left\n150 -\n160 key F1\n");
  const ProcessResult recording =
      RunRunner({rom, "--frames", "170", "--input", recordScript, "--verdict", "none",
                 "--hash-frames", FrameRange(101, 159)});
  ASSERT_EQ(recording.exitStatus, 0) << recording.err;
  EXPECT_EQ(std::filesystem::file_size(scratch / "game.MOV"), 83482u + 2 * 60);

  // Played at another time, with other buttons held.
  const std::string playScript = WriteText("play.txt", "30 key F2\n31 left\n");
  const ProcessResult playing =
      RunRunner({rom, "--frames", "100", "--input", playScript, "--verdict", "none",
                 "--hash-frames", FrameRange(31, 89)});
  ASSERT_EQ(playing.exitStatus, 0) << playing.err;
  const std::map<uint32_t, std::string> recorded = HashesByFrame(recording.out);
  const std::map<uint32_t, std::string> played = HashesByFrame(playing.out);
  for (uint32_t frame = 101; frame <= 159; ++frame) {
    EXPECT_EQ(played.at(frame - 70), recorded.at(frame)) << "recorded frame " << frame;
  }
}

TEST_F(HeadlessRunnerTest, BatteryRamIsReadAtTheStartAndWrittenWhenTheRunEnds) {
  // Counts its starts in the battery RAM.
  Program program;
  program.IncAbs(0x6000).Spin();
  std::vector<uint8_t> image = program.Image();
  image[6] |= 0x02;
  const std::string rom = Write("counter.nes", image);
  for (int start = 1; start <= 3; ++start) {
    const ProcessResult result = RunRunner({rom, "--frames", "2", "--verdict", "none"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    const std::string saved = ReadWholeFile(scratch / "counter.sav");
    ASSERT_EQ(saved.size(), 8192u);
    EXPECT_EQ(static_cast<uint8_t>(saved[0]), start);
  }
  // A measurement leaves the file alone: fresh RAM, nothing written.
  const ProcessResult measured =
      RunRunner({rom, "--frames", "2", "--verdict", "none", "--no-battery", "--hash-frames", "2",
                 "--peek", "6000"});
  ASSERT_EQ(measured.exitStatus, 0) << measured.err;
  EXPECT_NE(measured.out.find("peek $6000: 01"), std::string::npos) << measured.out;
  EXPECT_EQ(static_cast<uint8_t>(ReadWholeFile(scratch / "counter.sav")[0]), 3);
}

}  // namespace
}  // namespace wrenfold::runner_test
