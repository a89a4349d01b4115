#include "frontend/model/gb_text.h"

#include <gtest/gtest.h>

#include <string>

#include "frontend/model/db_text.h"

namespace wrenfold {
namespace {

struct DecodeCase {
  const char* name;
  std::string gb;
  std::string utf8;
};

void PrintTo(const DecodeCase& c, std::ostream* out) {
  *out << c.name;
}

class GbDecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(GbDecodeTest, DecodesByThePairingRule) {
  EXPECT_EQ(GbToUtf8(GetParam().gb), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GbDecodeTest,
    ::testing::Values(
        DecodeCase{"Ascii", "Contra (J)", "Contra (J)"},
        DecodeCase{"ChineseName", "\xBB\xEA\xB6\xB7\xC2\xDE", "魂斗罗"},
        DecodeCase{"Mixed", "Contra \xBB\xEA\xB6\xB7\xC2\xDE 1", "Contra 魂斗罗 1"},
        DecodeCase{"FullWidthColon", "\xA3\xBA", "："},
        // GBK pairs may have a trail byte below 0x80.
        DecodeCase{"TrailBelow0x80", "\x81\x40", "丂"},
        DecodeCase{"InvalidPairIsReplaced",
                   "a\xFF\xFF"
                   "b",
                   "a\xEF\xBF\xBD"
                   "b"},
        // 0x80 is the euro sign on its own in the GBK table, but here it leads a pair.
        DecodeCase{"EuroByteLeadsAPair", "\x80\x41z", "\xEF\xBF\xBDz"},
        DecodeCase{"LoneLeadByteAtTheEndIsDropped", "ab\xB0", "ab"},
        DecodeCase{"NulStaysAByte", std::string("a\0b", 3), std::string("a\0b", 3)},
        DecodeCase{"Empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct EncodeCase {
  const char* name;
  std::string utf8;
  std::string gb;
};

void PrintTo(const EncodeCase& c, std::ostream* out) {
  *out << c.name;
}

class GbEncodeTest : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(GbEncodeTest, EncodesOrReplacesWithQuestionMark) {
  EXPECT_EQ(Utf8ToGb(GetParam().utf8), GetParam().gb);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GbEncodeTest,
    ::testing::Values(EncodeCase{"Ascii", "Mapper#", "Mapper#"},
                      EncodeCase{"ChineseName", "魂斗罗", "\xBB\xEA\xB6\xB7\xC2\xDE"},
                      EncodeCase{"SecretWithColon", "无敌：上上下下",
                                 "\xCE\xDE\xB5\xD0\xA3\xBA\xC9\xCF\xC9\xCF\xCF\xC2\xCF\xC2"},
                      // GBK writes the euro sign as the single byte 0x80, which would swallow the
                      // next byte when read back.
                      EncodeCase{"EuroSignHasNoPair", "1€2", "1?2"},
                      EncodeCase{"CharacterOutsideGb", "a😀b", "a?b"},
                      EncodeCase{"TruncatedSequence", "a\xE9", "a?"},
                      EncodeCase{"BrokenSequenceKeepsTheNextAscii",
                                 "\xE9"
                                 "A",
                                 "?A"},
                      EncodeCase{"StrayContinuationByte", "\x80x", "?x"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GbTextTest, ValidTextRoundTripsAndDamagedTextIsDetected) {
  EXPECT_TRUE(GbRoundTrips("Contra \xBB\xEA\xB6\xB7\xC2\xDE"));
  EXPECT_FALSE(GbRoundTrips("\xFF\xFF"));
  EXPECT_FALSE(GbRoundTrips("ab\xB0"));
}

TEST(DbTextTest, TypedTextIsStoredAsItsGbBytesAndShownAsReadBack) {
  const DbText text = DbText::FromUtf8("魂斗罗€");
  EXPECT_EQ(text.gb, "\xBB\xEA\xB6\xB7\xC2\xDE?");
  EXPECT_EQ(text.utf8, "魂斗罗?");
}

}  // namespace
}  // namespace wrenfold
