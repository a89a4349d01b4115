#include "frontend/model/recognition_db.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/frontend/model/db_test_support.h"

namespace wrenfold {
namespace {

using db_test::ByteBuilder;

// One record as the layout table lists it.
ByteBuilder& AppendRecord(ByteBuilder& out, uint16_t number, uint8_t fingerprintByte,
                          std::string_view chinese, std::string_view english,
                          std::vector<std::string_view> aliases) {
  out.BigEndian16(number).Fill(80, fingerprintByte);
  out.Raw("NES\x1A").Byte(2).Byte(1).Byte(0x41).Byte(0x20).Fill(8, 0);
  out.Text(chinese).Text(english).Byte(static_cast<uint8_t>(aliases.size() - 1));
  for (std::string_view alias : aliases) out.Text(alias);
  return out;
}

std::vector<uint8_t> TwoRecordDatabase() {
  ByteBuilder out;
  out.BigEndian16(2).Byte(0x02).Byte(0x15);
  AppendRecord(out, 7, 0xAA, "\xBB\xEA\xB6\xB7\xC2\xDE", "Contra", {"\xBB\xEA\xB6\xB7\xC2\xDE"});
  AppendRecord(out, 9, 0xBB, "\xB3\xAC\xBC\xB6\xC2\xED\xC0\xEF\xB0\xC2", "Super Mario Bros.",
               {"a", "\xC2\xED\xC0\xEF\xB0\xC2", "c"});
  return out.bytes;
}

TEST(RecognitionDbTest, ReadsEveryFieldOfTheLayout) {
  RecognitionDb db;
  const auto result = ParseRecognitionDb(TwoRecordDatabase(), db);
  ASSERT_EQ(result.error, DataFileError::kNone);
  EXPECT_EQ(db.versionByteA, 0x02);
  EXPECT_EQ(db.versionByteB, 0x15);
  ASSERT_EQ(db.records.size(), 2u);

  const RecognitionRecord& contra = db.records[0];
  EXPECT_EQ(contra.number, 7);
  EXPECT_EQ(contra.fingerprint, db_test::SignatureFilledWith(0xAA));
  EXPECT_EQ(contra.header[4], 2);
  EXPECT_EQ(contra.header[6], 0x41);
  EXPECT_EQ(contra.chineseName.utf8, "魂斗罗");
  EXPECT_EQ(contra.englishName.utf8, "Contra");
  EXPECT_EQ(contra.aliasUpperIndex, 0);
  EXPECT_EQ(contra.encyclopediaIndex, 0);

  const RecognitionRecord& mario = db.records[1];
  EXPECT_EQ(mario.chineseName.utf8, "超级马里奥");
  EXPECT_EQ(mario.aliasUpperIndex, 2);
  EXPECT_EQ(mario.aliases[1].utf8, "马里奥");
  EXPECT_EQ(mario.aliases[2].utf8, "c");
  EXPECT_EQ(GetMapper(mario), 0x24);
}

TEST(RecognitionDbTest, WriterReproducesTheFileByteForByte) {
  const auto bytes = TwoRecordDatabase();
  RecognitionDb db;
  ASSERT_EQ(ParseRecognitionDb(bytes, db).error, DataFileError::kNone);
  std::vector<uint8_t> written;
  ASSERT_EQ(SerializeRecognitionDb(db, written), DataFileError::kNone);
  EXPECT_EQ(written, bytes);
}

TEST(RecognitionDbTest, LoadsFromAFileAndReportsAMissingOne) {
  testing::ScratchFolder folder;
  db_test::WriteBytes(folder / "NESROMS.ENC", TwoRecordDatabase());
  RecognitionDb db;
  EXPECT_EQ(LoadRecognitionDb(folder / "NESROMS.ENC", db).error, DataFileError::kNone);
  EXPECT_EQ(db.records.size(), 2u);
  EXPECT_EQ(LoadRecognitionDb(folder / "missing.ENC", db).error, DataFileError::kFileMissing);
  EXPECT_TRUE(db.records.empty());
}

struct DamageCase {
  const char* name;
  std::vector<uint8_t> bytes;
  DataFileError error;
  size_t recordsKept;
};

void PrintTo(const DamageCase& c, std::ostream* out) {
  *out << c.name;
}

std::vector<uint8_t> WithByte(std::vector<uint8_t> bytes, size_t offset, uint8_t value) {
  bytes[offset] = value;
  return bytes;
}

std::vector<uint8_t> CutTo(std::vector<uint8_t> bytes, size_t length) {
  bytes.resize(length);
  return bytes;
}

// Record 1 spans bytes 4 to 123: number, fingerprint, header, two names, alias count, one alias.
constexpr size_t kSecondRecord = 4 + 2 + 80 + 16 + 7 + 7 + 1 + 7;

class RecognitionDbDamageTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(RecognitionDbDamageTest, ReportsTheFaultAndKeepsTheWholeRecordsBeforeIt) {
  RecognitionDb db;
  const auto result = ParseRecognitionDb(GetParam().bytes, db);
  EXPECT_EQ(result.error, GetParam().error);
  EXPECT_EQ(db.records.size(), GetParam().recordsKept);
  if (GetParam().recordsKept > 0) {
    EXPECT_EQ(db.records[0].englishName.utf8, "Contra");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RecognitionDbDamageTest,
    ::testing::Values(
        DamageCase{"Empty", {}, DataFileError::kTruncated, 0},
        DamageCase{"CountOnly", {0, 1}, DataFileError::kTruncated, 0},
        DamageCase{"CountTopBit", WithByte(TwoRecordDatabase(), 0, 0x80), DataFileError::kBadCount,
                   0},
        DamageCase{"RecordNumberTopBit", WithByte(TwoRecordDatabase(), kSecondRecord, 0x80),
                   DataFileError::kBadRecordNumber, 1},
        DamageCase{"AliasCountFive", WithByte(TwoRecordDatabase(), 4 + 2 + 80 + 16 + 7 + 7, 5),
                   DataFileError::kBadAliasCount, 0},
        DamageCase{"CutInsideSecondFingerprint", CutTo(TwoRecordDatabase(), kSecondRecord + 40),
                   DataFileError::kTruncated, 1},
        DamageCase{"CutInsideLastAlias", CutTo(TwoRecordDatabase(), TwoRecordDatabase().size() - 1),
                   DataFileError::kTruncated, 1},
        DamageCase{"CountAboveTheRecordsPresent", WithByte(TwoRecordDatabase(), 1, 200),
                   DataFileError::kTruncated, 2},
        // A length byte that runs past the end of the file.
        DamageCase{"TextLengthPastTheEnd", WithByte(TwoRecordDatabase(), kSecondRecord + 98, 255),
                   DataFileError::kTruncated, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RecognitionDbTest, WriterRefusesWhatTheFormatCannotHold) {
  RecognitionDb db;
  db.records.push_back(db_test::MakeRecord("名", "Name", db_test::SignatureFilledWith(1)));
  std::vector<uint8_t> bytes;

  RecognitionDb longText = db;
  longText.records[0].englishName = DbText::FromUtf8(std::string(256, 'x'));
  EXPECT_EQ(SerializeRecognitionDb(longText, bytes), DataFileError::kTextTooLong);
  EXPECT_TRUE(bytes.empty());

  RecognitionDb tooManyAliases = db;
  tooManyAliases.records[0].aliasUpperIndex = 5;
  EXPECT_EQ(SerializeRecognitionDb(tooManyAliases, bytes), DataFileError::kBadAliasCount);

  RecognitionDb badNumber = db;
  badNumber.records[0].number = 0x8000;
  EXPECT_EQ(SerializeRecognitionDb(badNumber, bytes), DataFileError::kBadRecordNumber);

  db.records[0].englishName = DbText::FromUtf8(std::string(255, 'x'));
  EXPECT_EQ(SerializeRecognitionDb(db, bytes), DataFileError::kNone);
}

struct VersionCase {
  uint8_t byteA;
  uint8_t byteB;
  const char* text;
};

class DatabaseVersionTextTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(DatabaseVersionTextTest, WritesEachNumberWithItsSignBlank) {
  EXPECT_EQ(DatabaseVersionText(GetParam().byteA, GetParam().byteB), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Versions, DatabaseVersionTextTest,
                         ::testing::Values(VersionCase{0x02, 0x15, " 2. 1. 5"},
                                           VersionCase{0x02, 0x00, " 2.00.00"},
                                           VersionCase{0x01, 0x05, " 1.00. 5"},
                                           VersionCase{0x03, 0x20, " 3. 2.00"},
                                           VersionCase{0x8F, 0xFF, " 15. 15. 15 非官方版本"},
                                           // Bits 4 to 6 of byte A belong to no number.
                                           VersionCase{0x72, 0x15, " 2. 1. 5"}));

TEST(RecognitionDbTest, MapperComesFromBothHeaderNibblesWithoutTheDisCorrection) {
  RecognitionRecord record;
  record.header[6] = 0x41;
  record.header[7] = 0x20;
  EXPECT_EQ(GetMapper(record), 0x24);
  record.header[6] = 0x10;
  record.header[7] = 'D';
  record.header[8] = 'i';
  record.header[9] = 's';
  EXPECT_EQ(GetMapper(record), 0x41);
}

TEST(DataFileErrorTest, EveryErrorHasAMessageIdAndBothTexts) {
  for (int value = static_cast<int>(DataFileError::kFileMissing);
       value <= static_cast<int>(DataFileError::kChecksumUnavailable); ++value) {
    const auto error = static_cast<DataFileError>(value);
    EXPECT_FALSE(DataFileErrorMessageId(error).empty()) << value;
    EXPECT_FALSE(DataFileErrorText(error).chinese.empty()) << value;
    EXPECT_FALSE(DataFileErrorText(error).english.empty()) << value;
  }
  EXPECT_TRUE(DataFileErrorMessageId(DataFileError::kNone).empty());
}

}  // namespace
}  // namespace wrenfold
