// Movies through F1 and F2: a recording is a state plus two pad bytes a frame, its playback
// repeats the recorded frames whatever the live input, a recording replaces the old movie only
// when it ends, and a movie with a bad state part does not start.
#include "emulator/host/movie.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "emulator/machine_state/state_layout.h"
#include "tests/emulator/host/save_file_fixture.h"

namespace wrenfold {
namespace {

using test::SaveFileTest;

class MovieTest : public SaveFileTest {
 protected:
  // The buttons of a recorded stretch, by frame: Right, then A on top, then B alone.
  void PlayPattern(int frame) {
    if (frame == 2) Hold(kDikRight, true);
    if (frame == 6) Hold(kDikX, true);
    if (frame == 12) Hold(kDikRight, false);
    if (frame == 15) Hold(kDikX, false);
    if (frame == 20) Hold(kDikZ, true);
    if (frame == 25) Hold(kDikZ, false);
  }

  std::string MoviePath() const { return Beside("game.MOV").string(); }
};

TEST_F(MovieTest, ARecordingPlaysBackFrameForFrameWhateverTheLiveInput) {
  constexpr int kFrames = 30;
  Begin();
  Frames(12);
  Tap(kDikF1);
  std::vector<StateBytes> recorded;
  std::vector<uint64_t> pictures;
  std::vector<uint8_t> pads;
  for (int frame = 0; frame < kFrames; ++frame) {
    PlayPattern(frame);
    Frame();
    recorded.push_back(Encoded());
    pictures.push_back(PictureHash());
    pads.push_back(machine->padState[0]);
    pads.push_back(machine->padState[1]);
  }
  Tap(kDikF1);
  Frame();
  const std::string movie = FileText("game.MOV");
  ASSERT_EQ(movie.size(), kStateSize + 2 * kFrames);
  EXPECT_EQ(std::vector<uint8_t>(movie.begin() + kStateSize, movie.end()), pads);
  EXPECT_EQ(movie.substr(0, 3), "KSV");

  // Elsewhere, with other buttons held all through the playback.
  Hold(kDikLeft, true);
  Frames(9);
  Tap(kDikF2);
  for (int frame = 0; frame < kFrames; ++frame) {
    Frame();
    ASSERT_EQ(Encoded(), recorded[frame]) << "played frame " << frame;
    if (frame > 0) {
      EXPECT_EQ(PictureHash(), pictures[frame]) << "played frame " << frame;
    }
  }
  EXPECT_EQ(machine->padState[0], pads[2 * (kFrames - 1)]);
  Frame();
  EXPECT_EQ(machine->padState[0], 0x40) << "after the movie the live Left counts again";
  EXPECT_FALSE(IsPlaying(host->saveFiles.movie));

  const std::string log = Log();
  const std::size_t started = log.find("Record movie: " + MoviePath() + "\n");
  const std::size_t stopped = log.find("Recording stopped: " + MoviePath() + "\n");
  const std::size_t played = log.find("Play movie: " + MoviePath() + "\n");
  const std::size_t ended = log.find("Playback ended: " + MoviePath() + "\n");
  EXPECT_TRUE(started < stopped && stopped < played && played < ended && ended != std::string::npos)
      << log;
}

TEST_F(MovieTest, F2WhilePlayingStopsThePlaybackAndTheLiveInputCountsAgain) {
  Begin();
  Tap(kDikF1);
  Hold(kDikRight, true);
  Frames(10);
  Tap(kDikF1);
  Hold(kDikRight, false);
  Frame();
  Tap(kDikF2);
  Frames(3);
  EXPECT_EQ(machine->padState[0], 0x80);
  Tap(kDikF2);
  Frame();
  EXPECT_EQ(machine->padState[0], 0);
  EXPECT_FALSE(IsPlaying(host->saveFiles.movie));
  EXPECT_TRUE(Log().ends_with("Playback stopped: " + MoviePath() + "\n")) << Log();
}

TEST_F(MovieTest, TheOldMovieStaysUntilTheRecordingEnds) {
  test::WriteFile(Beside("game.MOV"), "the old movie");
  Begin();
  Tap(kDikF1);
  Frames(5);
  EXPECT_EQ(FileText("game.MOV"), "the old movie");
  CloseSaveFiles(*machine, *host);  // the end of the run keeps the recording as F1 does
  EXPECT_EQ(FileText("game.MOV").size(), kStateSize + 2 * 5);
  EXPECT_FALSE(IsRecording(host->saveFiles.movie));
}

TEST_F(MovieTest, AMovieWithABadStatePartDoesNotStartAndChangesNothing) {
  Begin();
  Tap(kDikF1);
  Frames(6);
  Tap(kDikF1);
  Frame();
  const std::string good = FileText("game.MOV");
  std::string otherGame = good;
  otherGame[state_layout::kRomFingerprint.offset] ^= 0x10;
  const std::pair<std::string, std::string> spoilt[] = {
      {good.substr(0, 1000), "shorter than a save state"},
      {otherGame, "made with another cartridge"},
  };
  for (const auto& [movie, reason] : spoilt) {
    test::WriteFile(Beside("game.MOV"), movie);
    Frames(2);
    const auto before = std::make_unique<MachineState>(*machine);
    EXPECT_FALSE(StartPlayback(*machine, host->saveFiles.movie, Beside("game.MOV")));
    EXPECT_EQ(std::memcmp(before.get(), machine.get(), sizeof(MachineState)), 0);
    EXPECT_FALSE(IsPlaying(host->saveFiles.movie));
    EXPECT_TRUE(Log().ends_with("Play movie refused: " + MoviePath() + " (" + reason + ")\n"))
        << Log();
  }
}

}  // namespace
}  // namespace wrenfold
