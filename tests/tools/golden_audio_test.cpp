// Golden sound: our own cartridges run through bin/wrenfold-headless --wav, and the hash of the
// written samples must match tests/tools/golden_audio.txt. Before the hash is compared, the WAV
// must be well formed and actually hold music, so a broken mixer cannot become the golden
// value. A deliberate change to the sound is taken into the table with
// scripts/regenerate-golden.sh.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/tools/golden_table.h"
#include "tests/tools/headless_process.h"

namespace wrenfold::runner_test {
namespace {

constexpr uint32_t kSampleRate = 22050;
constexpr uint32_t kChannels = 2;
constexpr uint32_t kBytesPerSampleFrame = kChannels * 2;
constexpr std::size_t kHeaderBytes = 44;
// Frames alternate between 367 and 368 samples, starting with 367: 735 for every two frames.
constexpr uint32_t kFirstFrameSamples = 367;
constexpr uint32_t kTwoFrameSamples = 735;
constexpr uint32_t kFramesPerSecond = 60;
// A channel at a low volume already swings by more than this; rounding noise does not.
constexpr int kAudibleLevel = 1000;

// One run of the runner: a cartridge with an input script for a number of frames.
struct GoldenSound {
  std::string cartridge;    // file name in bin/roms
  uint32_t frames = 0;      // 0: the row is malformed (see `hash`)
  std::string inputScript;  // file name in tests/tools/golden_input, or "-"
  std::string hash;         // 16 hex digits, or "-" while not generated
};

// Shown by GoogleTest in place of the record's bytes.
void PrintTo(const GoldenSound& run, std::ostream* out) {
  *out << run.cartridge << " with input " << run.inputScript << ", " << run.frames << " frames";
}

std::string TablePath() {
  return GoldenTablePath("golden_audio.txt");
}

// One run per row. A malformed row keeps frames 0 and carries the line, which the test reports.
std::vector<GoldenSound> LoadGoldenTable() {
  std::vector<GoldenSound> runs;
  for (const GoldenRow& row : ReadGoldenRows(TablePath())) {
    GoldenSound run{row.cartridge, 0, row.inputScript, row.hash};
    const std::optional<uint32_t> frames = ParseFrameCount(row.frameText);
    if (frames && !row.inputScript.empty()) {
      run.frames = *frames;
    } else {
      run.hash = "malformed row: " + row.line;
    }
    runs.push_back(run);
  }
  return runs;
}

constexpr uint32_t SampleFramesFor(uint32_t frames) {
  return frames / 2 * kTwoFrameSamples + (frames % 2) * kFirstFrameSamples;
}
static_assert(SampleFramesFor(kFramesPerSecond) == kSampleRate);

uint32_t Little16(std::string_view bytes, std::size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) |
         static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 8;
}

uint32_t Little32(std::string_view bytes, std::size_t at) {
  return Little16(bytes, at) | Little16(bytes, at + 2) << 16;
}

// The same FNV-1a 64 as the frame hashes, printed as 16 lower-case hex digits.
std::string Fnv1a64(std::string_view bytes) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (const char byte : bytes) {
    hash ^= static_cast<uint8_t>(byte);
    hash *= 0x100000001b3ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

std::vector<int16_t> Samples(std::string_view data) {
  std::vector<int16_t> samples(data.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<int16_t>(Little16(data, i * 2));
  }
  return samples;
}

struct Loudness {
  int peak = 0;        // largest |sample|
  int peakToPeak = 0;  // largest sample minus smallest
};

Loudness Measure(const std::vector<int16_t>& samples, std::size_t begin, std::size_t end) {
  Loudness loudness;
  if (begin >= end) return loudness;
  const auto [low, high] = std::minmax_element(samples.begin() + begin, samples.begin() + end);
  loudness.peak = std::max(std::abs(int{*low}), std::abs(int{*high}));
  loudness.peakToPeak = int{*high} - int{*low};
  return loudness;
}

class GoldenAudioTest : public ::testing::TestWithParam<GoldenSound> {};

TEST_P(GoldenAudioTest, SoundIsMusicAndMatchesTheTable) {
  const GoldenSound& run = GetParam();
  ASSERT_NE(run.frames, 0u) << run.hash;
  ASSERT_TRUE(std::regex_match(run.hash, std::regex("[0-9a-f]{16}")))
      << run.cartridge << " has no sound hash yet; run scripts/regenerate-golden.sh";
  const std::string rom = std::string(WRENFOLD_BIN_DIR) + "/roms/" + run.cartridge;
  ASSERT_TRUE(std::filesystem::exists(rom)) << rom << " is not built (target demo_roms)";

  ScratchFolder scratch;
  const std::string wav = (scratch / "sound.wav").string();
  std::vector<std::string> arguments{
      rom, "--frames", std::to_string(run.frames), "--wav", wav, "--verdict", "none"};
  if (run.inputScript != kNoInput) {
    arguments.push_back("--input");
    arguments.push_back(GoldenInputFolder() + "/" + run.inputScript);
  }
  const ProcessResult result = RunRunner(arguments);
  ASSERT_TRUE(result.exited) << "wrenfold-headless did not finish: " << result.err;
  ASSERT_EQ(result.exitStatus, 0) << result.err;

  const std::string bytes = ReadWholeFile(wav);
  const uint32_t dataBytes = SampleFramesFor(run.frames) * kBytesPerSampleFrame;
  ASSERT_EQ(bytes.size(), kHeaderBytes + dataBytes);
  const std::string_view file(bytes);
  EXPECT_EQ(file.substr(0, 4), "RIFF");
  EXPECT_EQ(Little32(file, 4), bytes.size() - 8);
  EXPECT_EQ(file.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(Little32(file, 16), 16u) << "format chunk size";
  EXPECT_EQ(Little16(file, 20), 1u) << "PCM";
  EXPECT_EQ(Little16(file, 22), kChannels);
  EXPECT_EQ(Little32(file, 24), kSampleRate);
  EXPECT_EQ(Little32(file, 28), kSampleRate * kBytesPerSampleFrame) << "bytes a second";
  EXPECT_EQ(Little16(file, 32), kBytesPerSampleFrame) << "block align";
  EXPECT_EQ(Little16(file, 34), 16u) << "bits a sample";
  EXPECT_EQ(file.substr(36, 4), "data");
  EXPECT_EQ(Little32(file, 40), dataBytes);

  const std::string_view data = file.substr(kHeaderBytes);
  const std::vector<int16_t> samples = Samples(data);
  const Loudness whole = Measure(samples, 0, samples.size());
  EXPECT_GT(whole.peak, kAudibleLevel) << "the whole run is silent";
  EXPECT_GT(whole.peakToPeak, 2 * kAudibleLevel) << "the run holds only a constant level";
  // Both cartridges start their tune with the first screen, well inside the first second.
  if (run.frames >= kFramesPerSecond) {
    const std::size_t firstSecond = std::size_t{SampleFramesFor(kFramesPerSecond)} * kChannels;
    const Loudness opening = Measure(samples, 0, firstSecond);
    EXPECT_GT(opening.peakToPeak, 2 * kAudibleLevel) << "no music in the first second";
  }

  EXPECT_EQ(Fnv1a64(data), run.hash)
      << run.cartridge << ", " << run.frames << " frames (input " << run.inputScript
      << "); if the change is intended, run scripts/regenerate-golden.sh";
}

INSTANTIATE_TEST_SUITE_P(Table, GoldenAudioTest, ::testing::ValuesIn(LoadGoldenTable()),
                         GoldenRunName<GoldenSound>);
// The table is filled by the regenerate script; until then there is nothing to instantiate.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(GoldenAudioTest);

TEST(GoldenAudioTable, IsPresentAndNotEmpty) {
  ASSERT_TRUE(std::filesystem::exists(TablePath())) << TablePath();
  if (LoadGoldenTable().empty()) {
    GTEST_SKIP() << "no golden sound yet: build demo_roms and run scripts/regenerate-golden.sh";
  }
}

}  // namespace
}  // namespace wrenfold::runner_test
