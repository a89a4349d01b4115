#include "frontend/model/rom_signature.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/model/sumtab_loader.h"
#include "tests/frontend/model/db_test_support.h"

namespace wrenfold {
namespace {

using db_test::MakeRomImage;

// Signature positions are 1-based, as in the layout table.
uint8_t Position(const RomSignature& signature, int position) {
  return signature[static_cast<size_t>(position - 1)];
}

// Undoes the mixing of positions 9 to 64 with positions 1 to 8.
RomSignature Unmixed(RomSignature signature) {
  for (int position = 9; position <= 64; ++position)
    signature[static_cast<size_t>(position - 1)] ^=
        signature[static_cast<size_t>((position - 1) % 8)];
  return signature;
}

TEST(RomSignatureTest, CountsAndFirstPrgBytesLeadTheSignature) {
  const auto image = MakeRomImage(2, 1, false, 3);
  const RomSignature signature = RomSignatureOfImage(image, 0);
  EXPECT_EQ(Position(signature, 1), 2);
  EXPECT_EQ(Position(signature, 2), 1);
  EXPECT_EQ(Position(signature, 3), image[16]);
  EXPECT_EQ(Position(signature, 4), image[17]);
  EXPECT_EQ(Position(signature, 5), image[16 + 4096]);
  EXPECT_EQ(Position(signature, 6), image[16 + 4097]);
}

TEST(RomSignatureTest, PositionsSevenAndEightXorEveryKilobyteOfPrg) {
  auto image = MakeRomImage(2, 0, false, 1);
  std::fill(image.begin() + 16, image.end(), 0);
  image[16 + 1024 * 5] = 0x0F;
  image[16 + 1024 * 31] = 0xF1;  // the last kilobyte of 2 x 16 KB
  image[16 + 1024 * 9 + 1] = 0x22;
  image[16 + 1024 * 9 + 2] = 0x99;  // sampled by nothing
  const RomSignature signature = RomSignatureOfImage(image, 0);
  EXPECT_EQ(Position(signature, 7), 0x0F ^ 0xF1);
  EXPECT_EQ(Position(signature, 8), 0x22);
  image[16 + 1024 * 9 + 2] = 0x00;
  EXPECT_EQ(RomSignatureOfImage(image, 0), signature);
}

TEST(RomSignatureTest, TailsOfThePrgQuartersAndChrEighthsAreSampledThenMixed) {
  const auto image = MakeRomImage(2, 2, false, 5);
  const RomSignature raw = Unmixed(RomSignatureOfImage(image, 0));
  for (int quarter = 1; quarter <= 4; ++quarter)
    for (int b = 0; b < 8; ++b)
      EXPECT_EQ(Position(raw, 9 + (quarter - 1) * 8 + b), image[16 + quarter * 2 * 4096 - 8 + b])
          << quarter;
  const size_t chrStart = 16 + 2 * 16384;
  for (int eighth = 1; eighth <= 8; ++eighth)
    for (int b = 0; b < 3; ++b)
      EXPECT_EQ(Position(raw, 41 + (eighth - 1) * 3 + b),
                image[chrStart + eighth * 2 * 1024 - 3 + b])
          << eighth;
}

TEST(RomSignatureTest, WithoutChrPositions41To64RepeatPositions1To8) {
  const RomSignature signature = RomSignatureOfImage(MakeRomImage(1, 0, false, 2), 0);
  for (int position = 41; position <= 64; ++position)
    EXPECT_EQ(Position(signature, position), Position(signature, (position - 1) % 8 + 1))
        << position;
}

TEST(RomSignatureTest, TrainerMovesEverySampleAndFillsPositions65To72) {
  const auto plain = MakeRomImage(2, 1, false, 9);
  std::vector<uint8_t> withTrainer(plain.begin(), plain.begin() + 16);
  withTrainer[6] |= 0x04;
  for (int i = 0; i < 512; ++i) withTrainer.push_back(static_cast<uint8_t>(i * 7 + 3));
  withTrainer.insert(withTrainer.end(), plain.begin() + 16, plain.end());

  const RomSignature a = RomSignatureOfImage(plain, 0x01020304);
  const RomSignature b = RomSignatureOfImage(withTrainer, 0x01020304);
  for (int position = 1; position <= 64; ++position)
    EXPECT_EQ(Position(a, position), Position(b, position)) << position;
  for (int k = 0; k < 8; ++k) {
    uint8_t expected = 0;
    for (int v = 0; v < 64; ++v) expected ^= withTrainer[16 + 8 * v + k];
    EXPECT_EQ(Position(b, 65 + k), expected);
    EXPECT_EQ(Position(a, 65 + k), 0);
  }
}

TEST(RomSignatureTest, ChecksumIsStoredMostSignificantByteFirstAndTheLastFourAreZero) {
  const RomSignature signature =
      RomSignatureOfImage(MakeRomImage(1, 1, false, 4), static_cast<int32_t>(0xFEDCBA98));
  EXPECT_EQ(Position(signature, 73), 0xFE);
  EXPECT_EQ(Position(signature, 74), 0xDC);
  EXPECT_EQ(Position(signature, 75), 0xBA);
  EXPECT_EQ(Position(signature, 76), 0x98);
  for (int position = 77; position <= 80; ++position) EXPECT_EQ(Position(signature, position), 0);
}

TEST(RomSignatureTest, BytesBeyondTheEndOfAShortFileReadAsZero) {
  auto image = MakeRomImage(2, 1, false, 6);
  auto padded = image;
  image.resize(16 + 5000);
  std::fill(padded.begin() + 16 + 5000, padded.end(), 0);
  EXPECT_EQ(RomSignatureOfImage(image, 7), RomSignatureOfImage(padded, 7));
}

// Records the path CalcCRC received.
std::string lastCalcCrcPath;
int32_t RecordingCalcCrc(const char* path) {
  lastCalcCrcPath = path;
  return 0x11223344;
}

TEST(RomSignatureTest, FileIsFingerprintedWithThePaddedPathForCalcCrc) {
  testing::ScratchFolder folder;
  const auto image = MakeRomImage(1, 1, false, 8);
  db_test::WriteBytes(folder / "game.nes", image);
  const RomSignatureResult result = ComputeRomSignature(folder / "game.nes", RecordingCalcCrc);
  ASSERT_EQ(result.error, DataFileError::kNone);
  EXPECT_EQ(result.signature, RomSignatureOfImage(image, 0x11223344));
  ASSERT_EQ(lastCalcCrcPath.size(), 255u);
  EXPECT_EQ(lastCalcCrcPath.substr(0, (folder / "game.nes").string().size()),
            (folder / "game.nes").string());
  EXPECT_EQ(lastCalcCrcPath.back(), ' ');
}

TEST(RomSignatureTest, PathsLongerThan255CharactersAreNotCut) {
  const std::string longPath = "/" + std::string(300, 'x') + ".nes";
  EXPECT_EQ(PathForCalcCrc(longPath), longPath);
  EXPECT_EQ(PathForCalcCrc("/a.nes").size(), 255u);
}

TEST(RomSignatureTest, UnreadableFilesReportWhy) {
  testing::ScratchFolder folder;
  db_test::WriteBytes(folder / "short.nes", {'N', 'E', 'S', 0x1A, 1});
  db_test::WriteBytes(folder / "ok.nes", MakeRomImage(1, 0, false, 1));
  EXPECT_EQ(ComputeRomSignature(folder / "short.nes", InProcessCalcCrc).error,
            DataFileError::kRomTooShort);
  EXPECT_EQ(ComputeRomSignature(folder / "missing.nes", InProcessCalcCrc).error,
            DataFileError::kFileMissing);
  EXPECT_EQ(ComputeRomSignature(folder.Path(), InProcessCalcCrc).error, DataFileError::kReadFailed);
  EXPECT_EQ(ComputeRomSignature(folder / "ok.nes", nullptr).error,
            DataFileError::kChecksumUnavailable);
}

TEST(SumtabLoaderTest, LibraryBesideTheProgramGivesTheInProcessChecksum) {
  SumtabLoader loader(WRENFOLD_BIN_DIR);
  const CalcCrcFunction calcCrc = loader.CalcCrc();
  if (calcCrc == nullptr) GTEST_SKIP() << "libsumtab20.so is not built: " << loader.LoadError();
  EXPECT_EQ(loader.CalcCrc(), calcCrc);  // bound once
  testing::ScratchFolder folder;
  for (uint32_t seed = 1; seed <= 4; ++seed) {
    auto image =
        MakeRomImage(static_cast<int>(seed), static_cast<int>(seed % 3), seed % 2 == 0, seed);
    image.resize(image.size() - seed * 1001);  // also cut short
    db_test::WriteBytes(folder / "rom.nes", image);
    const std::string path = PathForCalcCrc((folder / "rom.nes").string());
    EXPECT_EQ(calcCrc(path.c_str()), InProcessCalcCrc(path.c_str())) << seed;
  }
}

TEST(SumtabLoaderTest, UnloadableLibraryIsReportedNotFatal) {
  testing::ScratchFolder folder;
  folder.Write("libsumtab20.so", "not a library");
  SumtabLoader loader(folder.Path());
  // The search path may still hold a real library; if not, the loader says why.
  const CalcCrcFunction calcCrc = loader.CalcCrc();
  EXPECT_TRUE(calcCrc != nullptr || loader.LoadError().find("libsumtab20.so") != std::string::npos);
  EXPECT_EQ(loader.CalcCrc(), calcCrc);
}

}  // namespace
}  // namespace wrenfold
