#include "frontend/model/encyclopedia_db.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/frontend/model/db_test_support.h"

namespace wrenfold {
namespace {

using db_test::ByteBuilder;

// Entry with only a link to record 1 and a producer.
ByteBuilder& AppendProducerOnlyEntry(ByteBuilder& out) {
  return out.Byte(3)
      .Byte(4)
      .Byte(kTagLink)
      .BigEndian16(1)
      .Byte(kTagProducer)
      .Text("Konami")
      .Byte(kTagEnd);
}

// Entry with every tag, links to records 2 and 3.
ByteBuilder& AppendFullEntry(ByteBuilder& out) {
  out.Byte(3).Byte(4);
  out.Byte(kTagLink).BigEndian16(2).Byte(kTagLink).BigEndian16(3);
  out.Byte(kTagConsoleType).Byte(3).Byte(kTagGameLanguage).Byte(1).Byte(kTagMarks).Byte(2);
  out.Byte(kTagSecrets)
      .Byte(2)
      .Text(
          "\xCE\xDE\xB5\xD0\xA3\xBA"
          "UUDDLRLRBA")
      .Text("no colon");
  out.Byte(kTagPresence6).Byte(kTagProducer).Text("\xBB\xEA");
  out.Byte(kTagGameType).Byte(12).Byte(kTagPresence9).Byte(kTagPresence10);
  out.Byte(kTagIntroduction)
      .Text("Intro")
      .Byte(kTagRomVersion)
      .Byte(140)
      .Byte(kTagRegionFlags)
      .BigEndian16(0x0201);
  return out.Byte(kTagEnd);
}

std::vector<uint8_t> TwoEntryDatabase() {
  ByteBuilder out;
  out.Raw("Plumb").BigEndian16(2);
  AppendProducerOnlyEntry(out);
  AppendFullEntry(out);
  return out.bytes;
}

TEST(EncyclopediaDbTest, ReadsTaggedBlocksAndMarksWhichArePresent) {
  EncyclopediaDb db;
  const auto result = ParseEncyclopediaDb(TwoEntryDatabase(), db);
  ASSERT_EQ(result.error, DataFileError::kNone);
  EXPECT_TRUE(result.badSectionHeads.empty());
  ASSERT_EQ(db.entries.size(), 2u);

  const EncyclopediaEntry& first = db.entries[0];
  EXPECT_EQ(first.links, std::vector<uint16_t>{1});
  EXPECT_EQ(first.producer.utf8, "Konami");
  for (int tag = kTagConsoleType; tag < kEncyclopediaTagLimit; ++tag)
    EXPECT_EQ(first.present[tag], tag == kTagProducer) << tag;

  const EncyclopediaEntry& full = db.entries[1];
  EXPECT_EQ(full.links, (std::vector<uint16_t>{2, 3}));
  EXPECT_EQ(full.consoleType, 3);
  EXPECT_EQ(full.gameLanguage, 1);
  EXPECT_EQ(full.marks, 2);
  ASSERT_EQ(full.secrets.size(), 2u);
  EXPECT_EQ(full.secrets[0].utf8, "无敌：UUDDLRLRBA");
  EXPECT_EQ(full.producer.utf8, "魂");
  EXPECT_EQ(full.gameTypeCode, 12);
  EXPECT_EQ(full.introduction.utf8, "Intro");
  EXPECT_EQ(full.romVersionCode, 140);
  EXPECT_EQ(full.regionFlags, 0x0201);
  for (int tag = kTagLink; tag < kEncyclopediaTagLimit; ++tag)
    EXPECT_TRUE(full.present[tag]) << tag;
}

TEST(EncyclopediaDbTest, WriterReproducesTheFileIncludingUnusualOrderAndHeads) {
  ByteBuilder out;
  out.Raw("Plumb").BigEndian16(3);
  AppendFullEntry(out);
  // Blocks out of the usual order, and a head with only its first byte right.
  out.Byte(3)
      .Byte(0)
      .Byte(kTagProducer)
      .Text("P")
      .Byte(kTagLink)
      .BigEndian16(9)
      .Byte(kTagMarks)
      .Byte(1);
  out.Byte(kTagLink).BigEndian16(4).Byte(kTagEnd);
  // An empty entry with a damaged head.
  out.Byte(0).Byte(0).Byte(kTagEnd);

  EncyclopediaDb db;
  const auto result = ParseEncyclopediaDb(out.bytes, db);
  ASSERT_EQ(result.error, DataFileError::kNone);
  EXPECT_EQ(result.badSectionHeads, std::vector<int>{3});
  EXPECT_TRUE(db.entries[0].tagOrder.empty());
  EXPECT_FALSE(db.entries[1].tagOrder.empty());

  std::vector<uint8_t> written;
  ASSERT_EQ(SerializeEncyclopediaDb(db, written), DataFileError::kNone);
  EXPECT_EQ(written, out.bytes);
}

struct DamageCase {
  const char* name;
  std::vector<uint8_t> bytes;
  DataFileError error;
  size_t entriesKept;
};

void PrintTo(const DamageCase& c, std::ostream* out) {
  *out << c.name;
}

std::vector<uint8_t> ProducerEntryThen(std::initializer_list<uint8_t> tail, uint16_t count = 2) {
  ByteBuilder out;
  out.Raw("Plumb").BigEndian16(count);
  AppendProducerOnlyEntry(out);
  for (uint8_t byte : tail) out.Byte(byte);
  return out.bytes;
}

std::vector<uint8_t> ManyEmptyEntries(uint16_t count, size_t present) {
  ByteBuilder out;
  out.Raw("Plumb").BigEndian16(count);
  for (size_t e = 0; e < present; ++e) out.Byte(3).Byte(4).Byte(kTagEnd);
  return out.bytes;
}

std::vector<uint8_t> ThirtyThreeSecrets() {
  ByteBuilder out;
  out.Raw("Plumb").BigEndian16(1).Byte(3).Byte(4).Byte(kTagSecrets).Byte(33);
  for (int i = 0; i < 33; ++i) out.Text("s");
  out.Byte(kTagEnd);
  return out.bytes;
}

class EncyclopediaDbDamageTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(EncyclopediaDbDamageTest, ReportsTheFaultAndKeepsTheWholeEntriesBeforeIt) {
  EncyclopediaDb db;
  EXPECT_EQ(ParseEncyclopediaDb(GetParam().bytes, db).error, GetParam().error);
  EXPECT_EQ(db.entries.size(), GetParam().entriesKept);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, EncyclopediaDbDamageTest,
    ::testing::Values(
        DamageCase{"Empty", {}, DataFileError::kBadMagic, 0},
        DamageCase{"WrongMagic", ByteBuilder().Raw("plumb").BigEndian16(0).bytes,
                   DataFileError::kBadMagic, 0},
        DamageCase{"NoCount", ByteBuilder().Raw("Plumb").Byte(0).bytes, DataFileError::kTruncated,
                   0},
        DamageCase{"CountTopBit", ByteBuilder().Raw("Plumb").BigEndian16(0x8001).bytes,
                   DataFileError::kBadCount, 0},
        DamageCase{"TagFourteen", ProducerEntryThen({3, 4, 14, 0}), DataFileError::kBadTag, 1},
        DamageCase{"TagTwoHundred", ProducerEntryThen({3, 4, kTagMarks, 1, 200}),
                   DataFileError::kBadTag, 1},
        DamageCase{"ThirtyThreeSecrets", ThirtyThreeSecrets(), DataFileError::kTooManySecrets, 0},
        DamageCase{"LinkTopBit", ProducerEntryThen({3, 4, kTagLink, 0x80, 0x01, 0}),
                   DataFileError::kBadLink, 1},
        DamageCase{"NoEndTag", ProducerEntryThen({3, 4, kTagMarks, 1}), DataFileError::kTruncated,
                   1},
        DamageCase{"TextPastTheEnd", ProducerEntryThen({3, 4, kTagProducer, 10, 'a'}),
                   DataFileError::kTruncated, 1},
        DamageCase{"RegionFlagsCut", ProducerEntryThen({3, 4, kTagRegionFlags, 1}),
                   DataFileError::kTruncated, 1},
        DamageCase{"FewerEntriesThanCounted", ProducerEntryThen({}, 5), DataFileError::kTruncated,
                   1},
        DamageCase{"MoreThan1024Entries", ManyEmptyEntries(1025, 1025),
                   DataFileError::kTooManyEntries, 1024}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EncyclopediaDbTest, LinksSetTheRecordsEncyclopediaIndex) {
  EncyclopediaDb db;
  ASSERT_EQ(ParseEncyclopediaDb(TwoEntryDatabase(), db).error, DataFileError::kNone);
  db.entries[0].links.push_back(0);   // names no record
  db.entries[0].links.push_back(99);  // beyond the records
  std::vector<RecognitionRecord> records(3);
  EXPECT_EQ(LinkEncyclopediaEntries(db, records), 2);
  EXPECT_EQ(records[0].encyclopediaIndex, 1);
  EXPECT_EQ(records[1].encyclopediaIndex, 2);
  EXPECT_EQ(records[2].encyclopediaIndex, 2);
}

TEST(EncyclopediaDbTest, WriterRefusesWhatTheReaderWouldRefuse) {
  std::vector<uint8_t> bytes;
  EncyclopediaDb db;
  db.entries.resize(1);

  EncyclopediaDb secrets = db;
  secrets.entries[0].secrets.resize(33);
  secrets.entries[0].present[kTagSecrets] = true;
  EXPECT_EQ(SerializeEncyclopediaDb(secrets, bytes), DataFileError::kTooManySecrets);

  EncyclopediaDb longText = db;
  longText.entries[0].producer = DbText::FromUtf8(std::string(300, 'p'));
  longText.entries[0].present[kTagProducer] = true;
  EXPECT_EQ(SerializeEncyclopediaDb(longText, bytes), DataFileError::kTextTooLong);

  EncyclopediaDb badOrder = db;
  badOrder.entries[0].tagOrder = {kTagMarks};  // marks are not present
  EXPECT_EQ(SerializeEncyclopediaDb(badOrder, bytes), DataFileError::kBadTag);

  EncyclopediaDb badLink = db;
  badLink.entries[0].links = {0x8000};
  EXPECT_EQ(SerializeEncyclopediaDb(badLink, bytes), DataFileError::kBadLink);

  EncyclopediaDb tooMany;
  tooMany.entries.resize(1025);
  EXPECT_EQ(SerializeEncyclopediaDb(tooMany, bytes), DataFileError::kTooManyEntries);
  EXPECT_TRUE(bytes.empty());
}

TEST(EncyclopediaDbTest, LoadsFromAFileAndReportsAMissingOne) {
  testing::ScratchFolder folder;
  db_test::WriteBytes(folder / "CARTINFO.ENC", TwoEntryDatabase());
  EncyclopediaDb db;
  EXPECT_EQ(LoadEncyclopediaDb(folder / "CARTINFO.ENC", db).error, DataFileError::kNone);
  EXPECT_EQ(db.entries.size(), 2u);
  EXPECT_EQ(LoadEncyclopediaDb(folder / "nothing.ENC", db).error, DataFileError::kFileMissing);
}

}  // namespace
}  // namespace wrenfold
