// Damaged database files of every kind: every truncation, random byte changes and pure noise.
// The readers must stop with an error, keep only whole records, and never read out of bounds
// (the sanitizer build checks the last).
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "frontend/model/encyclopedia_db.h"
#include "frontend/model/recognition_db.h"
#include "tests/frontend/model/db_test_support.h"

namespace wrenfold {
namespace {

const char* const kNames[] = {"魂斗罗", "Contra",          "超级马里奥",
                              "",       "Legend of Zelda", "忍者龙剑传：第二代"};

RecognitionDb SampleRecognitionDb(std::mt19937& random) {
  RecognitionDb db;
  db.versionByteA = 0x82;
  db.versionByteB = 0x15;
  for (int i = 0; i < 12; ++i) {
    RecognitionRecord record =
        db_test::MakeRecord(kNames[random() % 6], kNames[random() % 6],
                            db_test::SignatureFilledWith(static_cast<uint8_t>(i)));
    record.number = static_cast<uint16_t>(i + 1);
    record.aliasUpperIndex = static_cast<uint16_t>(random() % 5);
    for (int a = 0; a <= record.aliasUpperIndex; ++a)
      record.aliases[a] = DbText::FromUtf8(kNames[random() % 6]);
    db.records.push_back(record);
  }
  return db;
}

EncyclopediaDb SampleEncyclopediaDb(std::mt19937& random) {
  EncyclopediaDb db;
  for (int e = 0; e < 10; ++e) {
    EncyclopediaEntry entry;
    entry.links = {static_cast<uint16_t>(e + 1)};
    entry.present[kTagLink] = true;
    for (int tag = kTagConsoleType; tag < kEncyclopediaTagLimit; ++tag)
      entry.present[tag] = random() % 2 == 0;
    // Only present blocks are written, so only they carry values.
    if (entry.present[kTagConsoleType]) entry.consoleType = 1;
    if (entry.present[kTagSecrets])
      entry.secrets = {DbText::FromUtf8("无敌：上上下下"), DbText::FromUtf8("选关：B+Start")};
    if (entry.present[kTagProducer]) entry.producer = DbText::FromUtf8(kNames[random() % 6]);
    if (entry.present[kTagIntroduction])
      entry.introduction = DbText::FromUtf8(kNames[random() % 6]);
    if (entry.present[kTagRegionFlags]) entry.regionFlags = 0x0003;
    db.entries.push_back(entry);
  }
  return db;
}

TEST(DbFuzzTest, EveryTruncatedRecognitionDbKeepsAPrefixOfTheRecords) {
  std::mt19937 random(1);
  const RecognitionDb original = SampleRecognitionDb(random);
  std::vector<uint8_t> bytes;
  ASSERT_EQ(SerializeRecognitionDb(original, bytes), DataFileError::kNone);
  for (size_t length = 0; length < bytes.size(); ++length) {
    RecognitionDb db;
    const auto result = ParseRecognitionDb(std::span(bytes.data(), length), db);
    ASSERT_EQ(result.error, DataFileError::kTruncated) << length;
    ASSERT_LE(result.errorOffset, length);
    ASSERT_LE(db.records.size(), original.records.size());
    for (size_t i = 0; i < db.records.size(); ++i)
      ASSERT_EQ(db.records[i], original.records[i]) << length;
  }
}

TEST(DbFuzzTest, ChangedBytesInARecognitionDbNeverBreakTheReader) {
  std::mt19937 random(2);
  std::vector<uint8_t> bytes;
  ASSERT_EQ(SerializeRecognitionDb(SampleRecognitionDb(random), bytes), DataFileError::kNone);
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> damaged = bytes;
    for (int change = 0; change < 1 + static_cast<int>(random() % 4); ++change)
      damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
    RecognitionDb db;
    if (ParseRecognitionDb(damaged, db).error != DataFileError::kNone) continue;
    // What reads cleanly writes back to the bytes it was read from.
    std::vector<uint8_t> written;
    ASSERT_EQ(SerializeRecognitionDb(db, written), DataFileError::kNone);
    ASSERT_LE(written.size(), damaged.size());
    ASSERT_TRUE(std::equal(written.begin(), written.end(), damaged.begin())) << round;
  }
}

TEST(DbFuzzTest, EveryTruncatedEncyclopediaKeepsAPrefixOfTheEntries) {
  std::mt19937 random(3);
  const EncyclopediaDb original = SampleEncyclopediaDb(random);
  std::vector<uint8_t> bytes;
  ASSERT_EQ(SerializeEncyclopediaDb(original, bytes), DataFileError::kNone);
  EncyclopediaDb whole;
  ASSERT_EQ(ParseEncyclopediaDb(bytes, whole).error, DataFileError::kNone);
  ASSERT_EQ(whole, original);
  for (size_t length = 0; length < bytes.size(); ++length) {
    EncyclopediaDb db;
    const auto result = ParseEncyclopediaDb(std::span(bytes.data(), length), db);
    ASSERT_NE(result.error, DataFileError::kNone) << length;
    for (size_t i = 0; i < db.entries.size(); ++i)
      ASSERT_EQ(db.entries[i], original.entries[i]) << length;
  }
}

TEST(DbFuzzTest, ChangedBytesInAnEncyclopediaNeverBreakTheReader) {
  std::mt19937 random(4);
  std::vector<uint8_t> bytes;
  ASSERT_EQ(SerializeEncyclopediaDb(SampleEncyclopediaDb(random), bytes), DataFileError::kNone);
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> damaged = bytes;
    for (int change = 0; change < 1 + static_cast<int>(random() % 4); ++change)
      damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
    EncyclopediaDb db;
    if (ParseEncyclopediaDb(damaged, db).error != DataFileError::kNone) continue;
    // A clean read writes out and reads back the same (repeated blocks keep their last value).
    std::vector<uint8_t> written;
    ASSERT_EQ(SerializeEncyclopediaDb(db, written), DataFileError::kNone) << round;
    EncyclopediaDb again;
    ASSERT_EQ(ParseEncyclopediaDb(written, again).error, DataFileError::kNone) << round;
    ASSERT_EQ(again, db) << round;
  }
}

TEST(DbFuzzTest, NoiseIsRejectedWithoutHarm) {
  std::mt19937 random(5);
  for (int round = 0; round < 2000; ++round) {
    std::vector<uint8_t> noise(random() % 600);
    for (uint8_t& byte : noise) byte = static_cast<uint8_t>(random());
    if (round % 2 == 0 && noise.size() >= 7) std::copy_n("Plumb", 5, noise.begin());
    RecognitionDb recognition;
    ParseRecognitionDb(noise, recognition);
    EncyclopediaDb encyclopedia;
    ParseEncyclopediaDb(noise, encyclopedia);
    ASSERT_LE(encyclopedia.entries.size(), noise.size() / 3);
  }
}

}  // namespace
}  // namespace wrenfold
