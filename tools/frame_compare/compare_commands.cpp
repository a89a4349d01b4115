#include "tools/frame_compare/compare_commands.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tools/frame_compare/palette_calibration.h"
#include "tools/frame_compare/picture_files.h"
#include "tools/frame_compare/reference_core.h"
#include "tools/frame_compare/side_by_side.h"
#include "tools/headless_runner/input_script.h"

namespace wrenfold::compare {
namespace {

constexpr int kExitError = 2;
// Each chart colour stays 8 frames; a stretch of 5 leaves room for a reference a frame or
// two away from ours.
constexpr uint32_t kChartMinimumRun = 5;

int Fail(const std::string& message) {
  std::fprintf(stderr, "compare-frames: %s\n", message.c_str());
  return kExitError;
}

std::string OurFramePath(const CompareOptions& options, uint32_t frame) {
  return (std::filesystem::path(options.oursDirectory) /
          ("frame-" + std::to_string(frame) + ".png"))
      .string();
}

// Player 1's buttons in each frame, as the script holds them from its frames on.
class ScriptedButtons {
 public:
  explicit ScriptedButtons(headless::InputScript script) : script(std::move(script)) {}

  uint8_t At(uint32_t frame) const {
    uint8_t held = 0;
    for (const headless::InputStep& step : script.steps) {
      if (step.frame > frame) break;
      held = step.buttons;
    }
    return held;
  }

 private:
  headless::InputScript script;
};

}  // namespace

int RunCalibration(const CompareOptions& options) {
  const uint32_t frameCount = options.frames.back();
  std::vector<std::optional<uint16_t>> shown;
  for (uint32_t frame = 1; frame <= frameCount; ++frame) {
    IndexedPicture ours;
    if (auto error = ReadIndexedPng(OurFramePath(options, frame), ours)) return Fail(*error);
    const std::optional<uint8_t> number = UniformIndex(ours, options.lines);
    const bool known = number && *number < kColourNumbers && ours.emphasis < kEmphasisSettings;
    shown.push_back(known ? std::optional<uint16_t>(PaletteKey(*number, ours.emphasis))
                          : std::nullopt);
  }
  const std::map<uint16_t, uint32_t> chartFrames = ChooseChartFrames(shown, kChartMinimumRun);
  if (chartFrames.size() < kPaletteKeys) {
    return Fail("our run of the chart shows " + std::to_string(chartFrames.size()) +
                " of the 64 colour numbers under 8 emphases; is it wrenfold_palette_chart.nes?");
  }
  std::map<uint32_t, uint16_t> keyAtFrame;
  for (const auto& [key, frame] : chartFrames) keyAtFrame[frame] = key;

  ReferenceCore core;
  if (auto error = core.Open(options.corePath, options.romPath)) return Fail(*error);
  ReferencePalette palette;
  for (uint32_t frame = 1; frame <= frameCount; ++frame) {
    core.RunFrame(0);
    const auto wanted = keyAtFrame.find(frame);
    if (wanted == keyAtFrame.end()) continue;
    const std::optional<Rgb> colour = UniformColour(core.Picture(), options.lines);
    if (!colour) {
      return Fail("the reference's frame " + std::to_string(frame) + " (colour number " +
                  std::to_string(wanted->second % kColourNumbers) + ", emphasis " +
                  std::to_string(wanted->second / kColourNumbers) + ") is not one colour");
    }
    palette[wanted->second] = colour;
  }
  std::ofstream file(options.palettePath, std::ios::binary);
  file << FormatPalette(palette);
  if (!file.flush()) return Fail("cannot write \"" + options.palettePath + "\"");
  std::printf("reference %s: %d colour numbers under %d emphases measured into %s\n",
              core.Name().c_str(), kColourNumbers, kEmphasisSettings, options.palettePath.c_str());
  return 0;
}

int RunComparison(const CompareOptions& options) {
  ReferencePalette palette;
  {
    std::ifstream file(options.palettePath, std::ios::binary);
    if (!file) return Fail("cannot read the palette \"" + options.palettePath + "\"");
    std::ostringstream text;
    text << file.rdbuf();
    if (auto error = ParsePalette(text.str(), palette)) return Fail(*error);
  }
  headless::InputScript script;
  if (!options.inputScriptPath.empty()) {
    if (auto error = headless::LoadInputScript(options.inputScriptPath, script)) {
      return Fail(*error);
    }
  }
  const ScriptedButtons buttons(std::move(script));

  ReferenceCore core;
  if (auto error = core.Open(options.corePath, options.romPath)) return Fail(*error);
  if (!options.sideBySideDirectory.empty()) {
    std::error_code error;
    std::filesystem::create_directories(options.sideBySideDirectory, error);
  }

  // The reference's pictures near each wanted frame, kept until that frame is compared.
  const uint32_t lastFrame = options.frames.back() + static_cast<uint32_t>(options.window);
  std::map<uint32_t, RgbPicture> kept;
  std::size_t next = 0;  // the first wanted frame not compared yet
  for (uint32_t frame = 1; frame <= lastFrame && next < options.frames.size(); ++frame) {
    core.RunFrame(buttons.At(frame));
    const bool wanted = std::ranges::any_of(options.frames, [&](uint32_t f) {
      return frame + options.window >= f && frame <= f + options.window;
    });
    if (wanted) kept[frame] = core.Picture();

    const uint32_t ourFrame = options.frames[next];
    if (frame != ourFrame + static_cast<uint32_t>(options.window)) continue;
    ++next;
    IndexedPicture ours;
    if (auto error = ReadIndexedPng(OurFramePath(options, ourFrame), ours)) {
      std::printf("frame %u missing ours\n", ourFrame);
      continue;
    }
    std::map<int, RgbPicture> candidates;
    for (const auto& [keptFrame, picture] : kept) {
      const int offset = static_cast<int>(keptFrame) - static_cast<int>(ourFrame);
      if (std::abs(offset) <= options.window && picture.width > 0) candidates[offset] = picture;
    }
    const std::optional<FrameMatch> match = BestMatch(ours, candidates, palette, options.lines);
    if (!match) {
      std::printf("frame %u missing reference\n", ourFrame);
      continue;
    }
    // A reference picture that changes within the window is not a steady frame: timing
    // differences alone can make the two pictures differ there.
    const RgbPicture& first = candidates.begin()->second;
    const bool steady = std::ranges::all_of(
        candidates, [&](const auto& candidate) { return candidate.second.pixels == first.pixels; });
    std::printf("frame %u similarity %.4f offset %+d steady %s\n", ourFrame, match->similarity,
                match->offset, steady ? "yes" : "no");
    if (!options.sideBySideDirectory.empty()) {
      const RgbPicture picture =
          SideBySide(ours, candidates.at(match->offset), palette, options.lines);
      const std::string path = (std::filesystem::path(options.sideBySideDirectory) /
                                ("frame-" + std::to_string(ourFrame) + ".png"))
                                   .string();
      if (auto error = WritePicturePng(path, picture)) return Fail(*error);
    }
    // Pictures too early for every frame still to come are dropped.
    const uint32_t nextFrame = next < options.frames.size() ? options.frames[next] : lastFrame;
    std::erase_if(kept, [&](const auto& entry) {
      return entry.first + static_cast<uint32_t>(options.window) < nextFrame;
    });
  }
  std::fflush(stdout);
  return 0;
}

}  // namespace wrenfold::compare
