#include "frontend/model/header_repair.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <span>
#include <string>

#include "frontend/model/file_access.h"
#include "tests/frontend/model/scratch_folder.h"

namespace wrenfold {
namespace {

using testing::ScratchFolder;

// "NES" 1A, PRG/CHR counts, flags 6 and 7, zero tail.
RomHeaderBytes Header(uint8_t prg, uint8_t chr, uint8_t flags6, uint8_t flags7) {
  return {0x4E, 0x45, 0x53, 0x1A, prg, chr, flags6, flags7, 0, 0, 0, 0, 0, 0, 0, 0};
}

// A ROM file: header, then each 16 KB PRG bank and 8 KB CHR bank filled with its own number.
std::string RomImage(const RomHeaderBytes& header, int prgBanks, int chrBanks) {
  std::string bytes(header.begin(), header.end());
  for (int bank = 0; bank < prgBanks; ++bank) bytes.append(16384, static_cast<char>(bank));
  for (int bank = 0; bank < chrBanks; ++bank) bytes.append(8192, static_cast<char>(0x80 + bank));
  return bytes;
}

// ---- Showing and comparing ----

TEST(HeaderPanel, UnknownFileShowsItsHeaderInGreenAndBlack) {
  HeaderPanelView view = BuildHeaderPanel(Header(8, 16, 0x41, 0x00), nullptr);
  EXPECT_EQ(view.prgSize.text, "ROM容量： 128K");
  EXPECT_EQ(view.chrSize.text, "VROM容量： 128K");
  EXPECT_EQ(view.mapper.text, "Mapper# 4");
  EXPECT_EQ(view.prgSize.colour, kPanelBlack);
  EXPECT_TRUE(view.flags[kFlagVerticalMirroring].visible);
  EXPECT_EQ(view.flags[kFlagVerticalMirroring].colour, kPanelGreen);
  EXPECT_FALSE(view.flags[kFlagBattery].visible);
  EXPECT_FALSE(view.flags[kFlagTrainer].visible);
  EXPECT_FALSE(view.flags[kFlagFourScreen].visible);
  EXPECT_FALSE(view.differsFromExpected);
  EXPECT_FALSE(view.hasTrash);
  const HeaderPanelView english =
      BuildHeaderPanel(Header(8, 16, 0x41, 0x00), nullptr, kLanguageEnglish);
  EXPECT_EQ(english.prgSize.text, "ROM Size: 128K");
  EXPECT_EQ(english.chrSize.text, "VROM Size: 128K");
}

TEST(HeaderPanel, ZeroSizesAndHighMappersReadAsNumbers) {
  HeaderPanelView view = BuildHeaderPanel(Header(0, 0, 0xE0, 0xF0), nullptr);
  EXPECT_EQ(view.prgSize.text, "ROM容量： 0K");
  EXPECT_EQ(view.mapper.text, "Mapper# 254");
}

TEST(HeaderPanel, MatchingHeaderShowsNoDifference) {
  RomHeaderBytes expected = Header(2, 1, 0x13, 0x10);
  RomHeaderBytes file = expected;
  file[3] = 0x00;   // bytes 0-3 take no part
  file[7] |= 0x0F;  // nor does the low nibble of byte 7
  HeaderPanelView view = BuildHeaderPanel(file, &expected);
  EXPECT_FALSE(view.differsFromExpected);
  EXPECT_EQ(view.mapper.text, "Mapper# 17");
  EXPECT_EQ(view.mapper.colour, kPanelBlack);
  EXPECT_TRUE(view.flags[kFlagBattery].visible);
}

TEST(HeaderPanel, FlippedMirroringBitIsRedAndVisible) {
  RomHeaderBytes expected = Header(2, 1, 0x01, 0x00);
  HeaderPanelView view = BuildHeaderPanel(Header(2, 1, 0x00, 0x00), &expected);
  EXPECT_TRUE(view.differsFromExpected);
  EXPECT_TRUE(view.flags[kFlagVerticalMirroring].visible);
  EXPECT_EQ(view.flags[kFlagVerticalMirroring].colour, kPanelRed);
  EXPECT_EQ(view.prgSize.colour, kPanelBlack);
  EXPECT_FALSE(view.flags[kFlagTrainer].visible);
}

struct ItemCase {
  const char* name;
  RomHeaderBytes file;
  int redItem;  // 0 PRG, 1 CHR, 2 mapper
};

class HeaderPanelMismatch : public ::testing::TestWithParam<ItemCase> {};

TEST_P(HeaderPanelMismatch, MarksOnlyTheDifferentItem) {
  RomHeaderBytes expected = Header(8, 4, 0x40, 0x10);
  HeaderPanelView view = BuildHeaderPanel(GetParam().file, &expected);
  EXPECT_TRUE(view.differsFromExpected);
  const HeaderTextView* items[] = {&view.prgSize, &view.chrSize, &view.mapper};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(items[i]->colour, i == GetParam().redItem ? kPanelRed : kPanelBlack) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Items, HeaderPanelMismatch,
                         ::testing::Values(ItemCase{"Prg", Header(16, 4, 0x40, 0x10), 0},
                                           ItemCase{"Chr", Header(8, 0, 0x40, 0x10), 1},
                                           ItemCase{"MapperLow", Header(8, 4, 0x10, 0x10), 2},
                                           ItemCase{"MapperHigh", Header(8, 4, 0x40, 0x00), 2}),
                         [](const ::testing::TestParamInfo<ItemCase>& info) {
                           return info.param.name;
                         });

TEST(HeaderTrash, BytesEightToFourteenCount) {
  RomHeaderBytes header = Header(1, 1, 0, 0);
  EXPECT_FALSE(HeaderHasTrash(header));
  header[15] = 0xFF;  // byte 15 is not looked at
  EXPECT_FALSE(HeaderHasTrash(header));
  header[10] = 0x01;
  EXPECT_TRUE(HeaderHasTrash(header));
  EXPECT_TRUE(BuildHeaderPanel(header, nullptr).hasTrash);
  // Trash takes no part in the comparison.
  RomHeaderBytes expected = Header(1, 1, 0, 0);
  EXPECT_FALSE(BuildHeaderPanel(header, &expected).differsFromExpected);
}

TEST(HeaderTrash, SignatureTextShowsItsDInTheMapper) {
  RomHeaderBytes header = Header(8, 16, 0x40, 'D');
  const char tail[] = "iskDude!";
  std::copy(tail, tail + 8, header.begin() + 8);
  EXPECT_TRUE(HeaderHasTrash(header));
  EXPECT_EQ(PanelMapperNumber(header), 0x44);
  RomHeaderBytes expected = Header(8, 16, 0x40, 0x00);
  EXPECT_TRUE(BuildHeaderPanel(header, &expected).differsFromExpected);
}

// ---- Reading ----

TEST(ReadRomHeader, ReadsTheFirstSixteenBytes) {
  ScratchFolder folder;
  RomHeaderBytes header = Header(2, 1, 0x01, 0x00);
  auto path = folder.Write("game.nes", RomImage(header, 2, 1));
  HeaderReadResult read = ReadRomHeader(path);
  EXPECT_EQ(read.status, HeaderFileStatus::Ok);
  EXPECT_EQ(read.bytes, header);
}

TEST(ReadRomHeader, ReportsFilesWithoutAHeader) {
  ScratchFolder folder;
  EXPECT_EQ(ReadRomHeader(folder / "missing.nes").status, HeaderFileStatus::CannotOpen);
  EXPECT_EQ(ReadRomHeader(folder.Write("short.nes", "NES\x1a")).status, HeaderFileStatus::TooShort);
  EXPECT_EQ(ReadRomHeader(folder.Path()).status, HeaderFileStatus::CannotOpen);
  // A named pipe must not make the panel wait for a writer.
  ASSERT_EQ(mkfifo((folder / "pipe.nes").c_str(), 0644), 0);
  EXPECT_EQ(ReadRomHeader(folder / "pipe.nes").status, HeaderFileStatus::CannotOpen);
}

// ---- Repairs ----

class HeaderRepairFile : public ::testing::Test {
 protected:
  ino_t Inode(const std::filesystem::path& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0);
    return info.st_ino;
  }

  ScratchFolder folder;
};

TEST_F(HeaderRepairFile, WritesTheExpectedHeaderAndNothingElse) {
  RomHeaderBytes wrong = Header(2, 1, 0x00, 0x00);
  wrong[12] = 0x33;
  const std::string before = RomImage(wrong, 2, 1);
  auto path = folder.Write("game.nes", before);
  const ino_t inode = Inode(path);
  RomHeaderBytes expected = Header(2, 1, 0x41, 0x10);

  RepairResult result = WriteExpectedHeader(path, expected);
  ASSERT_EQ(result.status, HeaderFileStatus::Ok) << result.detail;
  const std::string after = ScratchFolder::Read(path);
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(after.substr(0, 16), std::string(expected.begin(), expected.end()));
  EXPECT_EQ(after.substr(16), before.substr(16));
  EXPECT_EQ(Inode(path), inode);
  EXPECT_EQ(folder.EntryCount(), 1);
  EXPECT_FALSE(BuildHeaderPanel(ReadRomHeader(path).bytes, &expected).differsFromExpected);
}

TEST_F(HeaderRepairFile, ReadOnlyFileIsNeverWritten) {
  const std::string before = RomImage(Header(1, 1, 0, 'D'), 1, 1);
  auto path = folder.Write("game.nes", before);
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  // Even a process that could write anything leaves a read-only file alone.
  EXPECT_TRUE(IsWriteProtected(path));
  EXPECT_EQ(WriteExpectedHeader(path, Header(1, 1, 1, 0)).status, HeaderFileStatus::ReadOnly);
  EXPECT_EQ(ClearHeaderTrash(path).status, HeaderFileStatus::ReadOnly);
  EXPECT_EQ(ScratchFolder::Read(path), before);
}

TEST_F(HeaderRepairFile, ShortOrMissingFilesAreNotWritten) {
  auto shortPath = folder.Write("short.nes", "NES\x1a\x01");
  EXPECT_EQ(WriteExpectedHeader(shortPath, Header(1, 1, 0, 0)).status, HeaderFileStatus::TooShort);
  EXPECT_EQ(ClearHeaderTrash(shortPath).status, HeaderFileStatus::TooShort);
  EXPECT_EQ(ScratchFolder::Read(shortPath), "NES\x1a\x01");
  EXPECT_EQ(WriteExpectedHeader(folder / "gone.nes", Header(1, 1, 0, 0)).status,
            HeaderFileStatus::CannotOpen);
  EXPECT_FALSE(std::filesystem::exists(folder / "gone.nes"));
}

TEST_F(HeaderRepairFile, ClearingSignatureTrashZeroesBytesSevenToFifteen) {
  RomHeaderBytes header = Header(8, 16, 0x40, 'D');
  const char tail[] = "iskDude!";
  std::copy(tail, tail + 8, header.begin() + 8);
  const std::string before = RomImage(header, 8, 16);
  auto path = folder.Write("game.nes", before);

  ASSERT_EQ(ClearHeaderTrash(path).status, HeaderFileStatus::Ok);
  const std::string after = ScratchFolder::Read(path);
  EXPECT_EQ(after.substr(0, 7), before.substr(0, 7));
  EXPECT_EQ(after.substr(7, 9), std::string(9, '\0'));
  EXPECT_EQ(after.substr(16), before.substr(16));
  EXPECT_EQ(PanelMapperNumber(ReadRomHeader(path).bytes), 4);
}

TEST_F(HeaderRepairFile, ClearingOtherTrashKeepsTheMapperHighNibble) {
  RomHeaderBytes header = Header(2, 1, 0x20, 0x40);  // mapper 66
  header[10] = 0x01;
  header[15] = 0x7F;
  auto path = folder.Write("game.nes", RomImage(header, 2, 1));

  ASSERT_EQ(ClearHeaderTrash(path).status, HeaderFileStatus::Ok);
  HeaderReadResult read = ReadRomHeader(path);
  EXPECT_EQ(read.bytes, Header(2, 1, 0x20, 0x40));
  EXPECT_EQ(PanelMapperNumber(read.bytes), 66);
}

TEST_F(HeaderRepairFile, ClearingAfterARepairKeepsTheRepairedMapper) {
  // The trash question is asked from the header read before the repair; the clearing must
  // look at the file as it is now, or it would zero the repaired byte 7.
  RomHeaderBytes header = Header(8, 16, 0x40, 'D');
  const char tail[] = "iskDude!";
  std::copy(tail, tail + 8, header.begin() + 8);
  auto path = folder.Write("game.nes", RomImage(header, 8, 16));
  RomHeaderBytes expected = Header(8, 16, 0x40, 0x40);  // mapper 68

  ASSERT_EQ(WriteExpectedHeader(path, expected).status, HeaderFileStatus::Ok);
  ASSERT_EQ(ClearHeaderTrash(path).status, HeaderFileStatus::Ok);
  EXPECT_EQ(ReadRomHeader(path).bytes, expected);
}

// A damaged or hand-made database may store a header without "NES" 1A; writing it would make
// the image unloadable, so it is neither offered nor written.
TEST_F(HeaderRepairFile, AStoredHeaderWithoutTheMagicIsNeitherOfferedNorWritten) {
  const std::string before = RomImage(Header(2, 1, 0x00, 0x00), 2, 1);
  auto path = folder.Write("game.nes", before);
  for (size_t byte = 0; byte < 4; ++byte) {
    for (int bit = 0; bit < 8; ++bit) {
      RomHeaderBytes expected = Header(2, 1, 0x41, 0x10);
      expected[byte] ^= static_cast<uint8_t>(1 << bit);
      SCOPED_TRACE("byte " + std::to_string(byte) + " bit " + std::to_string(bit));
      const HeaderPanelView view = BuildHeaderPanel(ReadRomHeader(path).bytes, &expected);
      EXPECT_TRUE(view.storedHeaderDamaged);
      EXPECT_FALSE(view.differsFromExpected);
      EXPECT_EQ(WriteExpectedHeader(path, expected).status, HeaderFileStatus::StoredHeaderDamaged);
      EXPECT_EQ(ScratchFolder::Read(path), before);
    }
  }
}

// A disk that takes `landed` bytes of the first write and then fails (or whose first flush
// fails): every failed repair must leave the original header behind.
TEST(HeaderWriteOrRestore, AWriteThatFailsPartWayPutsTheOriginalBack) {
  const RomHeaderBytes original = Header(2, 1, 0x00, 'D');
  const RomHeaderBytes repaired = Header(2, 1, 0x41, 0x10);
  struct Range {
    size_t offset;
    size_t length;
  };
  for (const Range range : {Range{0, 16}, Range{7, 9}, Range{8, 8}}) {
    const std::span<const uint8_t> bytes(repaired.data() + range.offset, range.length);
    for (size_t landed = 0; landed <= range.length; ++landed) {
      for (const bool flushFails : {false, true}) {
        if (landed == range.length && !flushFails) continue;  // nothing failed
        SCOPED_TRACE("offset " + std::to_string(range.offset) + ", " + std::to_string(landed) +
                     " bytes landed" + (flushFails ? ", flush fails" : ""));
        RomHeaderBytes disk = original;
        int writes = 0;
        int flushes = 0;
        const HeaderWriteTarget target{
            [&](std::span<const uint8_t> data, size_t at) {
              const bool first = writes++ == 0;
              const size_t count = first ? std::min(landed, data.size()) : data.size();
              std::copy_n(data.begin(), count, disk.begin() + static_cast<std::ptrdiff_t>(at));
              return !first || count == data.size();
            },
            [&] { return !(flushes++ == 0 && flushFails); }};
        EXPECT_FALSE(WriteHeaderOrRestore(target, bytes, range.offset, original));
        EXPECT_EQ(disk, original);
      }
    }
    RomHeaderBytes disk = original;
    const HeaderWriteTarget sound{[&](std::span<const uint8_t> data, size_t at) {
                                    std::copy(data.begin(), data.end(),
                                              disk.begin() + static_cast<std::ptrdiff_t>(at));
                                    return true;
                                  },
                                  [] { return true; }};
    EXPECT_TRUE(WriteHeaderOrRestore(sound, bytes, range.offset, original));
    for (size_t i = 0; i < disk.size(); ++i) {
      const bool written = i >= range.offset && i < range.offset + range.length;
      EXPECT_EQ(disk[i], written ? repaired[i] : original[i]) << "byte " << i;
    }
  }
}

TEST(WriteProtection, FollowsThePermissionBitsOfTheCallersClass) {
  if (geteuid() != 0) GTEST_SKIP() << "needs to own files as another user (run as root)";
  ScratchFolder folder;
  auto path = folder.Write("game.nes", RomImage(Header(1, 0, 0, 0), 1, 0));
  ASSERT_EQ(chmod(path.c_str(), 0644), 0);
  EXPECT_FALSE(IsWriteProtected(path));  // owner may write
  // Owned by someone else: the bits for others decide.
  ASSERT_EQ(chown(path.c_str(), 54321, 54321), 0);
  EXPECT_TRUE(IsWriteProtected(path));
  EXPECT_EQ(WriteExpectedHeader(path, Header(1, 0, 1, 0)).status, HeaderFileStatus::ReadOnly);
  ASSERT_EQ(chmod(path.c_str(), 0646), 0);
  EXPECT_FALSE(IsWriteProtected(path));
  EXPECT_EQ(WriteExpectedHeader(path, Header(1, 0, 1, 0)).status, HeaderFileStatus::Ok);
}

}  // namespace
}  // namespace wrenfold
