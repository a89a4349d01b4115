#include "emulator/host/frame_driver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "emulator/host/palette.h"
#include "emulator/host/run_loop.h"
#include "emulator/machine_state/io_registers.h"
#include "emulator/ppu/renderer.h"
#include "platform/dik_codes.h"
#include "tests/emulator/host/headless_host.h"

namespace wrenfold {
namespace {

// What the board's line step sees at the start of a line, before the CPU runs it.
struct LineSample {
  uint16_t line;
  bool renderingOn;
  uint8_t vblankPhase;
  uint8_t status;  // $2002, then cleared of the sprite bits so each sample shows one line
  uint16_t pc;
  int32_t frameCounter;
  int16_t irqAdjust;
  uint8_t fineY;  // of the scroll, as the line before left it
};

std::vector<LineSample>& Samples() {
  static std::vector<LineSample> samples;
  return samples;
}

void SampleLine(MachineState& machine, uint16_t line, bool renderingOn) {
  Samples().push_back({line, renderingOn, machine.vblankPhase, machine.cpuMem[kPpuStatus],
                       machine.cpu.PC, machine.frameCounter, machine.irqAdjust, machine.ppu.fineY});
  machine.cpuMem[kPpuStatus] &= static_cast<uint8_t>(~(kStatusSprite0Hit | kStatusSpriteOverflow));
}

class FrameDriverTest : public test::HeadlessHostTest {
 protected:
  void Begin(std::string_view config = "SOUND=None\n",
             const std::vector<uint8_t>& code = test::SpinAt(test::kResetAddress),
             int chrBanks = 1) {
    ASSERT_EQ(Start(config, test::NromImage(code, chrBanks)), StartUpResult::kReady);
    BeginRun(*machine, *host);
    Samples().clear();
    host->run.lineStep = SampleLine;
  }

  void Tap(uint8_t scanCode) {
    services.input.PressKey(scanCode);
    services.input.ReleaseKey(scanCode);
  }

  // Lines whose sample shows `bit` of $2002 raised by the line before.
  std::vector<int> LinesWithStatusBit(uint8_t bit) {
    std::vector<int> lines;
    for (const LineSample& sample : Samples()) {
      if (sample.line > 0 && (sample.status & bit)) lines.push_back(sample.line - 1);
    }
    return lines;
  }

  void SetPaletteEntry(int index, uint8_t colour) {
    machine->paletteRam[index] = colour;
    machine->ppuMem[0x3F00 + index] = colour;
  }

  // The presented picture's pixel (x, y) at natural size.
  uint8_t Picture(int x, int y) {
    const std::vector<uint8_t>& screen = services.display.PresentedPixels();
    return screen[static_cast<std::size_t>(kNaturalSizeTop + y) * host->display.modeWidth +
                  kNaturalSizeLeft + x];
  }
};

TEST_F(FrameDriverTest, VblankAndNmiComeWithLine243) {
  Begin("SOUND=None\n", test::EnableNmiThenSpin());
  RunFrame(*machine, *host, 0);
  const std::vector<LineSample> lines = Samples();
  ASSERT_EQ(lines.size(), 262u);
  for (const LineSample& sample : lines) {
    SCOPED_TRACE(sample.line);
    const bool afterVblankLine = sample.line >= 244;
    EXPECT_EQ((sample.status & kStatusVblank) != 0, afterVblankLine);
    EXPECT_EQ(sample.frameCounter, afterVblankLine ? 1 : 0);
    EXPECT_EQ(sample.pc >= test::kNmiAddress && sample.pc < test::kNmiAddress + 3, afterVblankLine);
    // Set while line 240 begins, so every later line runs with it.
    EXPECT_EQ(sample.vblankPhase, sample.line >= 241 ? 1 : 0);
  }
}

TEST_F(FrameDriverTest, TheLineStepRunsOncePerLineInOrderAndSeesWhetherRenderingIsOn) {
  Begin();
  RunFrame(*machine, *host, 1);
  ASSERT_EQ(Samples().size(), 262u);
  for (std::size_t i = 0; i < Samples().size(); ++i) {
    EXPECT_EQ(Samples()[i].line, i);
    EXPECT_TRUE(Samples()[i].renderingOn);
  }
  EXPECT_EQ(host->run.currentLine, 261);

  machine->cpuMem[kPpuMask] = 0x06;  // left columns only: nothing is drawn
  Samples().clear();
  RunFrame(*machine, *host, 1);
  for (const LineSample& sample : Samples()) EXPECT_FALSE(sample.renderingOn);
}

// A program that waits for vblank by reading $2002 with the NMI on meets the NMI first, as
// on the console: the handler never interrupts the work the program starts in vblank.
TEST_F(FrameDriverTest, TheNmiComesBeforeTheProgramSeesTheVblankFlag) {
  const std::vector<uint8_t> waitForVblank = {
      0xA9, 0x80, 0x8D, 0x00, 0x20,  // NMI on
      0xAD, 0x02, 0x20,              // LDA $2002
      0x10, 0xFB,                    // BPL, until vblank
      0xA5, 0x10, 0x85, 0x11,        // $11 = $10
      0x4C, 0x0E, 0x80,              // spin
  };
  const std::vector<uint8_t> countNmi = {0xE6, 0x10, 0x40};  // INC $10, RTI
  ASSERT_EQ(Start("SOUND=None\n", test::NromImage(waitForVblank, 1, 0, countNmi)),
            StartUpResult::kReady);
  BeginRun(*machine, *host);
  RunFrame(*machine, *host, 0);
  EXPECT_EQ(machine->cpuMem[0x10], 1);
  EXPECT_EQ(machine->cpuMem[0x11], 1);
}

TEST_F(FrameDriverTest, PalRuns290LinesWithVblankStillAt243) {
  Begin("SOUND=None\nVIDEO=PAL\n", test::EnableNmiThenSpin());
  RunFrame(*machine, *host, 0);
  const std::vector<LineSample> lines = Samples();
  ASSERT_EQ(lines.size(), 290u);
  EXPECT_EQ(lines.back().line, 289);
  EXPECT_EQ(lines[243].frameCounter, 0);
  EXPECT_EQ(lines[244].frameCounter, 1);
}

// The PPU moves the scroll on every rendered line, drawn or not: after a frame scrolled to
// (0, 0) with rendering on throughout, v stands at row 0 of the lower name table, two columns
// on, which is where a $2007 access after the frame goes.
class ScrollPassTest : public FrameDriverTest, public ::testing::WithParamInterface<uint8_t> {};

TEST_P(ScrollPassTest, EveryRenderedLineMovesTheScrollWhetherTheFrameIsDrawnOrNot) {
  Begin();
  RunFrame(*machine, *host, GetParam());
  EXPECT_EQ(machine->ppu.vramAddr, 0x0802);
}

INSTANTIATE_TEST_SUITE_P(DrawnAndSkipped, ScrollPassTest, ::testing::Values(0, 1));

void TurnRenderingOnAtLine100(MachineState& machine, uint16_t line, bool) {
  if (line == 100) machine.cpuMem[kPpuMask] = 0x18;
}

// A frame starts from the whole latch, fine Y included, however many lines the frame before
// drew: here the first frame turns rendering on at line 100, 140 lines before its end.
TEST_F(FrameDriverTest, EachFrameStartsAtTheFineYOfTheLatch) {
  Begin();
  machine->cpuMem[kPpuMask] = 0x00;
  host->run.lineStep = TurnRenderingOnAtLine100;
  RunFrame(*machine, *host, 0);
  host->run.lineStep = SampleLine;
  RunFrame(*machine, *host, 0);
  ASSERT_GT(Samples().size(), 1u);
  EXPECT_EQ(Samples()[1].fineY, 1);  // line 0 was drawn at fine Y 0
}

struct SpriteCase {
  uint8_t spriteY;
  bool tall;  // $2000 bit 5: 8 x 16 sprites
  int firstLine;
  int lastLine;  // -1 with firstLine -1: the sprite is on no visible line
};

class UndrawnSpriteTest : public FrameDriverTest,
                          public ::testing::WithParamInterface<SpriteCase> {};

TEST_P(UndrawnSpriteTest, SpriteZeroFlagsTheLinesItCovers) {
  Begin();
  const SpriteCase& sprite = GetParam();
  std::memset(machine->oam, 0xF0, sizeof machine->oam);  // every other sprite below the picture
  machine->oam[0] = sprite.spriteY;
  machine->cpuMem[kPpuCtrl] = sprite.tall ? 0x20 : 0x00;
  RunFrame(*machine, *host, 1);
  std::vector<int> expected;
  for (int line = sprite.firstLine; line >= 0 && line <= sprite.lastLine; ++line) {
    expected.push_back(line);
  }
  EXPECT_EQ(LinesWithStatusBit(kStatusSprite0Hit), expected);
  EXPECT_TRUE(LinesWithStatusBit(kStatusSpriteOverflow).empty());
}

INSTANTIATE_TEST_SUITE_P(Positions, UndrawnSpriteTest,
                         ::testing::Values(SpriteCase{49, false, 50, 57},
                                           SpriteCase{49, true, 50, 65}, SpriteCase{0, false, 1, 8},
                                           // Y 255 wraps to line 0.
                                           SpriteCase{255, false, 0, 7},
                                           SpriteCase{235, false, 236, 239},
                                           SpriteCase{239, false, -1, -1}));

TEST_F(FrameDriverTest, MoreThanEightSpritesOnALineSetTheOverflowBit) {
  Begin();
  std::memset(machine->oam, 0xF0, sizeof machine->oam);
  for (int sprite = 1; sprite <= 9; ++sprite) machine->oam[sprite * 4] = 99;
  RunFrame(*machine, *host, 1);
  EXPECT_EQ(LinesWithStatusBit(kStatusSpriteOverflow),
            (std::vector<int>{100, 101, 102, 103, 104, 105, 106, 107}));
  EXPECT_TRUE(LinesWithStatusBit(kStatusSprite0Hit).empty());

  machine->oam[9 * 4] = 0xF0;  // eight are allowed
  Samples().clear();
  RunFrame(*machine, *host, 1);
  EXPECT_TRUE(LinesWithStatusBit(kStatusSpriteOverflow).empty());
}

TEST_F(FrameDriverTest, RenderingDisabledCountsNoSprites) {
  Begin();
  machine->oam[0] = 49;
  machine->cpuMem[kPpuMask] = 0x00;
  RunFrame(*machine, *host, 1);
  EXPECT_TRUE(LinesWithStatusBit(kStatusSprite0Hit).empty());
  EXPECT_EQ(machine->cpuMem[kPpuStatus] & kStatusSprite0Hit, 0);
}

TEST_F(FrameDriverTest, FrameStartClearsTheSpriteZeroFlagAndArmsIt) {
  Begin();
  std::memset(machine->oam, 0xF0, sizeof machine->oam);
  machine->cpuMem[kPpuStatus] |= kStatusSprite0Hit;
  machine->sprite0Armed = 0;
  host->run.lineStep = nullptr;
  RunFrame(*machine, *host, 1);
  EXPECT_EQ(machine->cpuMem[kPpuStatus] & kStatusSprite0Hit, 0);
  EXPECT_EQ(machine->sprite0Armed, 1);
}

TEST_F(FrameDriverTest, DrawnFrameIsComposedAndShownWithBlankLinesBelow232) {
  Begin();
  SetPaletteEntry(0, 0x21);
  RunFrame(*machine, *host, 0);
  ASSERT_EQ(services.display.PresentCount(), 2);  // the splash, then this frame
  EXPECT_EQ(Picture(0, 0), 0x21);  // the left column is masked at power-on: the backdrop
  EXPECT_EQ(Picture(8, 0), 0x21);
  EXPECT_EQ(Picture(255, 231), 0x21);
  EXPECT_EQ(Picture(0, 232), kBlankLineColour);
  EXPECT_EQ(Picture(255, 239), kBlankLineColour);
  EXPECT_EQ(Picture(-1, 0), kScreenClearIndex);

  RunFrame(*machine, *host, 1);  // an undrawn frame shows nothing new
  EXPECT_EQ(services.display.PresentCount(), 2);
}

TEST_F(FrameDriverTest, F10PressedTwiceRestoresTheDrawnLines) {
  Begin();
  SetPaletteEntry(0, 0x21);
  Tap(kDikF10);
  RunFrame(*machine, *host, 0);
  EXPECT_EQ(host->timing.renderedLines, 240);
  EXPECT_EQ(Picture(8, 239), 0x21);
  Tap(kDikF10);
  RunFrame(*machine, *host, 0);
  EXPECT_EQ(host->timing.renderedLines, 232);
  EXPECT_EQ(Picture(8, 239), kBlankLineColour);
}

TEST_F(FrameDriverTest, LinesWithRenderingOffShowTheBackdropNotTheLastPicture) {
  Begin();
  SetPaletteEntry(0, 0x21);
  SetPaletteEntry(3, 0x16);
  std::memset(machine->ppuMem, 0xFF, 0x2000);  // every pattern pixel is colour 3
  machine->patternDirty = 1;
  RunFrame(*machine, *host, 0);
  EXPECT_EQ(Picture(100, 50), 0x16);

  machine->cpuMem[kPpuMask] = 0x00;
  RunFrame(*machine, *host, 0);
  EXPECT_EQ(Picture(100, 50), 0x21);
  EXPECT_EQ(Picture(100, 239), 0x21);
}

// Sprites behind the background show only where the background holds the backdrop, and the
// columns they covered hold nothing of them in the next frame: here a sprite at the right edge,
// then one whose right half is transparent over the same columns.
TEST_F(FrameDriverTest, SpritesBehindTheBackgroundLeaveNothingForTheNextFrame) {
  Begin();
  SetPaletteEntry(0, 0x21);
  SetPaletteEntry(17, 0x16);
  std::memset(machine->ppuMem + 16, 0xFF, 8);  // tile 1: every pixel colour 1
  std::memset(machine->ppuMem + 32, 0xF0, 8);  // tile 2: the left four pixels colour 1
  machine->patternDirty = 1;
  machine->cpuMem[kPpuMask] = 0x1E;  // background and sprites, left columns too
  const uint8_t rightEdge[4] = {49, 1, 0x20, 252};  // lines 50-57, behind the background
  std::memcpy(machine->oam, rightEdge, sizeof rightEdge);
  RunFrame(*machine, *host, 0);
  EXPECT_EQ(Picture(251, 52), 0x21);
  EXPECT_EQ(Picture(253, 52), 0x16);
  EXPECT_EQ(Picture(255, 57), 0x16);

  const uint8_t halfTile[4] = {49, 2, 0x20, 248};
  std::memcpy(machine->oam, halfTile, sizeof halfTile);
  RunFrame(*machine, *host, 0);
  EXPECT_EQ(Picture(249, 52), 0x16);
  EXPECT_EQ(Picture(253, 52), 0x21);
  EXPECT_EQ(Picture(255, 57), 0x21);
}

// A program that sees vblank and writes the next frame's backdrop before the frame is shown
// must not change how this frame's layers are merged.
TEST_F(FrameDriverTest, ABackdropWrittenInTheVblankLineLeavesThePictureAlone) {
  Begin("SOUND=None\n", {
                            0xAD, 0x02, 0x20,              // LDA $2002
                            0x10, 0xFB,                    // BPL, until vblank
                            0xA9, 0x3F, 0x8D, 0x06, 0x20,  // $2006 = $3F
                            0xA9, 0x00, 0x8D, 0x06, 0x20,  // $2006 = $00
                            0xA9, 0x16, 0x8D, 0x07, 0x20,  // $3F00 = $16
                            0x4C, 0x14, 0x80,              // spin
                        });
  SetPaletteEntry(0, 0x21);
  SetPaletteEntry(3, 0x16);
  std::memset(machine->ppuMem, 0xFF, 0x2000);  // every pattern pixel is colour 3
  machine->patternDirty = 1;
  RunFrame(*machine, *host, 0);
  EXPECT_EQ(machine->paletteRam[0], 0x16);
  EXPECT_EQ(Picture(100, 50), 0x16);
}

void EmphasiseAllColoursFromLine100(MachineState& machine, uint16_t line, bool) {
  machine.cpuMem[kPpuMask] = line < 100 ? 0x18 : 0xF8;
}

// The display shows a frame under the colour emphasis of most of its lines (here 140 of 240
// with all three colours emphasised), and the plain colours again with a frame without it.
TEST_F(FrameDriverTest, TheDisplayShowsTheColourEmphasisOfMostOfThePicture) {
  Begin();
  host->run.lineStep = EmphasiseAllColoursFromLine100;
  RunFrame(*machine, *host, 0);
  const DisplayPalette emphasised = EmphasisedPalette(kNesColourTable, 7);
  EXPECT_EQ(services.display.PresentedPalette()[0x21].blue, emphasised[0x21].blue);
  EXPECT_LT(emphasised[0x21].blue, kNesColourTable[0x21].blue);

  host->run.lineStep = nullptr;
  machine->cpuMem[kPpuMask] = 0x18;
  RunFrame(*machine, *host, 0);
  EXPECT_EQ(services.display.PresentedPalette()[0x21].blue, kNesColourTable[0x21].blue);
}

TEST_F(FrameDriverTest, KeypadMinusFiveTimesMakesIrqAdjustMinusFive) {
  Begin();
  for (int i = 0; i < 5; ++i) Tap(kDikNumpadMinus);
  RunFrame(*machine, *host, 1);
  EXPECT_EQ(machine->irqAdjust, -5);
  // The counters of this very frame already step by 114 - 5.
  EXPECT_EQ(Samples().front().irqAdjust, -5);
  Tap(kDikNumpadPlus);
  RunFrame(*machine, *host, 1);
  EXPECT_EQ(machine->irqAdjust, -4);
  EXPECT_EQ(host->settings.irqAdjust, 0);  // the configured value stays as it was read
}

TEST_F(FrameDriverTest, HotKeysActOnThePressOnly) {
  Begin();
  services.input.PressKey(kDikF10);
  RunFrame(*machine, *host, 1);
  EXPECT_EQ(host->timing.renderedLines, 240);
  services.input.PressKey(kDikF10);  // still held: no second press reaches the emulator
  services.input.ReleaseKey(kDikF10);
  RunFrame(*machine, *host, 1);
  EXPECT_EQ(host->timing.renderedLines, 240);

  const std::string logBefore = Log();
  HandleHotKey(*machine, *host, KeyEvent{kDikF11, 0});
  EXPECT_EQ(Log(), logBefore);
  HandleHotKey(*machine, *host, KeyEvent{kDikF11, kKeyPressed});
  EXPECT_TRUE(Log().ends_with("\nL")) << Log();
}

TEST_F(FrameDriverTest, EscapeLogsReleasesAndEndsTheRun) {
  Begin();
  Tap(kDikEscape);
  RunFrame(*machine, *host, 0);
  EXPECT_TRUE(Log().ends_with("Via ESC\n")) << Log();
  EXPECT_TRUE(host->run.exitRequested);
  EXPECT_FALSE(services.display.WindowOpen());
  EXPECT_EQ(host->inputDevices.keyboard, nullptr);
  EXPECT_TRUE(Samples().empty());  // no line of that frame ran

  RunFrame(*machine, *host, 0);
  EXPECT_TRUE(Samples().empty());
}

TEST_F(FrameDriverTest, HaltedCpuEndsTheRunAtTheNextFrameStart) {
  Begin();
  machine->haltRequested = 1;
  RunFrame(*machine, *host, 0);
  EXPECT_TRUE(host->run.exitRequested);
  EXPECT_FALSE(services.display.WindowOpen());
  EXPECT_EQ(host->settings.romPath, "");
  EXPECT_TRUE(Samples().empty());
}

// Records which action ran with which slot, and the pads the movie step saw.
struct ActionLog {
  std::vector<std::string> calls;
};

template <char kName>
void Record(void* context, MachineState& machine, const HostSettings&, uint8_t slot) {
  auto* log = static_cast<ActionLog*>(context);
  log->calls.push_back(std::string(1, kName) + std::to_string(slot) + ":" +
                       std::to_string(machine.padState[0]));
}

TEST_F(FrameDriverTest, SaveStateAndMovieKeysCallTheirActionsWithTheChosenSlot) {
  Begin("SOUND=None\nPLAYER1=K\nKEYA=44\n");
  ActionLog log;
  host->hotKeys = {&log, Record<'R'>, Record<'P'>, Record<'S'>, Record<'L'>, nullptr};
  Tap(kDik3);
  Tap(kDikF5);
  Tap(kDik0);
  Tap(kDikF7);
  Tap(kDik9);
  Tap(kDikF1);
  Tap(kDikF2);
  RunFrame(*machine, *host, 1);
  EXPECT_EQ(log.calls, (std::vector<std::string>{"S3:0", "L0:0", "R9:0", "P9:0"}));
  EXPECT_EQ(host->run.saveSlot, 9);
}

TEST_F(FrameDriverTest, MovieStepRunsOncePerFrameAfterThePadsAreRead) {
  Begin("SOUND=None\nPLAYER1=K\nKEYA=44\n");
  ActionLog log;
  host->hotKeys.context = &log;
  host->hotKeys.stepMovie = Record<'M'>;
  services.input.PressKey(kDikZ);
  RunFrame(*machine, *host, 1);
  RunFrame(*machine, *host, 1);
  EXPECT_EQ(log.calls, (std::vector<std::string>{"M0:1", "M0:1"}));
}

TEST_F(FrameDriverTest, ZeroKeySelectsSlotZeroAndPressesUp) {
  Begin("SOUND=None\nPLAYER1=K\n");
  host->run.saveSlot = 4;
  services.input.PressKey(kDik0);
  RunFrame(*machine, *host, 1);
  EXPECT_EQ(host->run.saveSlot, 0);
  EXPECT_EQ(machine->padState[0], 0x10);
}

TEST_F(FrameDriverTest, F9PagesThroughTheChrRomAndWrapsToTheFirstPage) {
  Begin("SOUND=None\n", test::SpinAt(test::kResetAddress), 3);
  std::vector<int> pages;
  for (int press = 0; press < 4; ++press) {
    Tap(kDikF9);
    RunFrame(*machine, *host, 1);
    pages.push_back(machine->ppuMem[0x1FFF]);
    EXPECT_EQ(machine->chrBankCache[0], 0xFF);
  }
  EXPECT_EQ(pages, (std::vector<int>{1, 2, 0, 1}));
  // The pattern cache follows: bank 1 has both planes 0x01, so column 7 of each row is 3.
  EXPECT_EQ(machine->patternCache[7], 3);
  EXPECT_EQ(machine->patternCache[6], 0);
}

TEST_F(FrameDriverTest, ClosingTheWindowWhileWaitingForTheKeyboardEndsTheRun) {
  Begin();
  services.input.SetFocus(false);
  services.display.PushWindowEvent({WindowEventType::kClose});
  RunFrame(*machine, *host, 0);
  EXPECT_TRUE(host->run.exitRequested);
  EXPECT_FALSE(services.display.WindowOpen());
  EXPECT_TRUE(Samples().empty());
}

TEST_F(FrameDriverTest, RunningFramesLeaveEscapeToTheKeyboardAndActOnClose) {
  Begin();
  services.display.PushWindowEvent({WindowEventType::kEscapePressed});
  services.display.PushWindowEvent({WindowEventType::kFocusLost});
  DrainWindowEvents(*host);
  EXPECT_FALSE(host->run.exitRequested);
  services.display.PushWindowEvent({WindowEventType::kClose});
  DrainWindowEvents(*host);
  EXPECT_TRUE(host->run.exitRequested);
  EXPECT_FALSE(services.display.WindowOpen());
}

TEST_F(FrameDriverTest, EscapeOnTheWindowOutsideTheFramesEndsTheRun) {
  Begin();
  services.display.PushWindowEvent({WindowEventType::kEscapePressed});
  DispatchWindowEvents(*host);
  EXPECT_TRUE(host->run.exitRequested);
  EXPECT_EQ(host->video.display, nullptr);
}

// Frames are paced on a clock that moves one millisecond per reading.
class PacingTest : public FrameDriverTest, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(PacingTest, LateFramesAreSkippedUntilOnTimeAndTheSecondClosesAt1000) {
  Begin();
  ManualClock& clock = services.clock;
  clock.SetStepPerRead(1);
  const uint32_t start = GetParam();
  clock.Set(start);
  FramePacer pacer;
  StartPacing(pacer, clock);
  EXPECT_EQ(pacer.secondStart, start);

  for (int frame = 0; frame < 3; ++frame) RunPacedFrame(*machine, *host, pacer);
  EXPECT_EQ(pacer.drawnFrames, 3u);
  // A drawn frame waits for its deadline less 4 ms: frame 2's is 50.
  EXPECT_GE(clock.Peek() - start, 46u);
  EXPECT_LT(clock.Peek() - start, 50u);

  clock.Advance(105);  // frame 3 ends up far behind its 66 ms deadline
  const uint64_t sleptBefore = clock.SleptMilliseconds();
  std::vector<int> skipped;
  for (int frame = 3; frame < 10; ++frame) {
    const uint32_t before = pacer.skippedFrames;
    RunPacedFrame(*machine, *host, pacer);
    if (pacer.skippedFrames != before) skipped.push_back(frame);
    if (frame == 8) {
      EXPECT_EQ(clock.SleptMilliseconds(), sleptBefore);  // late frames never wait
    }
  }
  EXPECT_EQ(skipped, (std::vector<int>{3, 4, 5, 6, 7, 8}));

  while (pacer.frameIndex != 0) RunPacedFrame(*machine, *host, pacer);
  EXPECT_EQ(pacer.skippedFrames, 6u);
  EXPECT_EQ(pacer.drawnFrames, 54u);
  EXPECT_EQ(pacer.secondStart, start + 1000);
  EXPECT_GE(clock.Peek() - start, 1000u);
  EXPECT_LT(clock.Peek() - start, 1004u);
  EXPECT_EQ(services.display.PresentCount(), 1 + 54);
}

INSTANTIATE_TEST_SUITE_P(StartTimes, PacingTest,
                         ::testing::Values(5000u, 0xFFFFFF00u));  // the second also across the wrap

}  // namespace
}  // namespace wrenfold
