// Runs the built cartdesk-db on files made here: build, dump and build again must give the same
// database bytes, and identify must name every image as the front-end model does.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace wrenfold {
namespace {

constexpr const char* kTool = WRENFOLD_BIN_DIR "/cartdesk-db";

struct ToolRun {
  int exitCode = -1;
  std::string output;  // standard output
  std::string errors;  // standard error
};

std::string Quoted(const std::filesystem::path& path) {
  return "'" + path.string() + "'";
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs the tool with its standard error collected in errorsFile.
ToolRun RunTool(const std::string& arguments, const std::filesystem::path& errorsFile) {
  ToolRun run;
  const std::string command = std::string(kTool) + " " + arguments + " 2>" + Quoted(errorsFile);
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, got);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.errors = ReadFile(errorsFile);
  return run;
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string MakeImage(int prgUnits, int chrUnits, uint32_t seed) {
  std::string image = {
      'N', 'E', 'S', 0x1A, static_cast<char>(prgUnits), static_cast<char>(chrUnits)};
  image.resize(16, '\0');
  std::mt19937 random(seed);
  for (int i = 0; i < prgUnits * 16384 + chrUnits * 8192; ++i)
    image.push_back(static_cast<char>(random()));
  return image;
}

class CartdeskDbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kTool)) GTEST_SKIP() << "cartdesk-db is not built";
    char pattern[] = "/tmp/cartdesk_db_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
  }

  // Three ROMs: one known, one in the database twice, one not at all.
  void WriteLibrary() {
    std::filesystem::create_directory(folder / "roms");
    WriteFile(folder / "roms/Contra.nes", MakeImage(8, 16, 1));
    WriteFile(folder / "roms/twice.NES", MakeImage(1, 1, 2));
    WriteFile(folder / "roms/stranger.nes", MakeImage(2, 0, 3));
    WriteFile(folder / "roms/readme.txt", "not a rom");
    WriteFile(folder / "source.json", R"({
      "version": {"major": 2, "minor": 1, "revision": 5, "unofficial": false},
      "records": [
        {"rom": "roms/Contra.nes", "chineseName": "魂斗罗", "englishName": "Contra", "aliases": ["魂斗罗1", "魂"],
         "encyclopedia": {"consoleType": 1, "secrets": ["无敌：上上下下"], "producer": "Konami", "regionFlags": 3}},
        {"rom": "roms/twice.NES", "chineseName": "甲", "englishName": "A"},
        {"rom": "roms/twice.NES", "chineseName": "乙", "englishName": "B"}
      ],
      "encyclopedia": [{"links": [2, 3], "producer": "Nintendo", "tag9": true}]
    })");
  }

  ToolRun RunTool(const std::string& arguments) {
    return wrenfold::RunTool(arguments, folder / "stderr.txt");
  }

  std::filesystem::path folder;
};

TEST_F(CartdeskDbTest, BuildThenDumpThenBuildGivesTheSameBytes) {
  WriteLibrary();
  ASSERT_EQ(
      RunTool("build " + Quoted(folder / "source.json") + " " + Quoted(folder / "db")).exitCode, 0);
  const ToolRun dump = RunTool("dump " + Quoted(folder / "db"));
  ASSERT_EQ(dump.exitCode, 0) << dump.errors;
  EXPECT_NE(dump.output.find("\"englishName\": \"Contra\""), std::string::npos);
  EXPECT_NE(dump.output.find("无敌：上上下下"), std::string::npos);
  WriteFile(folder / "dump.json", dump.output);
  ASSERT_EQ(
      RunTool("build " + Quoted(folder / "dump.json") + " " + Quoted(folder / "again")).exitCode,
      0);
  EXPECT_EQ(ReadFile(folder / "again/NESROMS.ENC"), ReadFile(folder / "db/NESROMS.ENC"));
  EXPECT_EQ(ReadFile(folder / "again/CARTINFO.ENC"), ReadFile(folder / "db/CARTINFO.ENC"));
}

TEST_F(CartdeskDbTest, UnusualFilesSurviveTheRoundTripByteForByte) {
  std::filesystem::create_directory(folder / "db");
  std::string recognition("\x00\x01\x72\x15", 4);  // version byte A with bits 4-6 set
  recognition +=
      std::string("\x00\x05", 2) + std::string(80, '\x11') + "NES\x1A\x01" + std::string(11, '\0');
  recognition +=
      "\x03\xFF\xFF"
      "A";  // a Chinese name that is no GB text
  recognition +=
      "\x03"
      "ab\xB0";                                   // an English name ending in a lone lead byte
  recognition += std::string("\x01\x00\x00", 3);  // two aliases, both empty
  WriteFile(folder / "db/NESROMS.ENC", recognition);
  std::string encyclopedia = "Plumb" + std::string("\x00\x02", 2);
  encyclopedia +=
      std::string("\x03\x00\x07\x01P\x01\x00\x01\x04\x01\x00", 11);  // blocks out of order
  encyclopedia +=
      std::string("\x00\x00\x07\x01Q\x07\x01R\x00", 9);  // damaged head, producer given twice
  WriteFile(folder / "db/CARTINFO.ENC", encyclopedia);

  const ToolRun dump = RunTool("dump " + Quoted(folder / "db"));
  ASSERT_EQ(dump.exitCode, 0) << dump.errors;
  WriteFile(folder / "dump.json", dump.output);
  ASSERT_EQ(
      RunTool("build " + Quoted(folder / "dump.json") + " " + Quoted(folder / "again")).exitCode,
      0);
  EXPECT_EQ(ReadFile(folder / "again/NESROMS.ENC"), recognition);
  // A block given twice keeps only its last value; everything else comes back as it was.
  std::string expected = encyclopedia;
  expected.replace(expected.size() - 5, 1, "R");
  EXPECT_EQ(ReadFile(folder / "again/CARTINFO.ENC"), expected);
}

TEST_F(CartdeskDbTest, IdentifyNamesEveryImageInNameOrder) {
  WriteLibrary();
  ASSERT_EQ(
      RunTool("build " + Quoted(folder / "source.json") + " " + Quoted(folder / "db")).exitCode, 0);
  const ToolRun identify =
      RunTool("identify " + Quoted(folder / "roms") + " --db " + Quoted(folder / "db"));
  EXPECT_EQ(identify.exitCode, 0);
  EXPECT_EQ(identify.output,
            "Contra.nes\tknown\tContra\t魂斗罗\n"
            "stranger.nes\tunknown\n"
            "twice.NES\tconflict\n");

  // Without --db the databases are looked for in the folder of the images.
  const ToolRun nowhere = RunTool("identify " + Quoted(folder / "roms"));
  EXPECT_EQ(nowhere.exitCode, 2);
  EXPECT_EQ(nowhere.output, "");
  EXPECT_NE(nowhere.errors.find("no NESROMS.ENC in"), std::string::npos) << nowhere.errors;
  std::filesystem::copy_file(folder / "db/NESROMS.ENC", folder / "roms/nesroms.enc");
  const ToolRun beside = RunTool("identify " + Quoted(folder / "roms"));
  EXPECT_EQ(beside.exitCode, 0) << beside.errors;
  EXPECT_EQ(beside.output, identify.output);
}

TEST_F(CartdeskDbTest, BadSourcesAndDamagedDatabasesFailWithoutWriting) {
  WriteLibrary();
  WriteFile(folder / "bad.json",
            R"({"records": [{"rom": "roms/Contra.nes", "chineseName": "x", "englishName": "😀"}]})");
  const ToolRun bad =
      RunTool("build " + Quoted(folder / "bad.json") + " " + Quoted(folder / "out"));
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_NE(bad.errors.find("records[0].englishName"), std::string::npos) << bad.errors;
  EXPECT_FALSE(std::filesystem::exists(folder / "out/NESROMS.ENC"));
  // A stored header without "NES" 1A would overwrite an image's magic on a repair.
  WriteFile(folder / "nomagic.json", R"({"records": [{"fingerprint": ")" + std::string(160, '0') +
                                         R"(", "header": "4E45531B020100000000000000000000",
      "chineseName": "x", "englishName": "x"}]})");
  const ToolRun noMagic =
      RunTool("build " + Quoted(folder / "nomagic.json") + " " + Quoted(folder / "out"));
  EXPECT_EQ(noMagic.exitCode, 2);
  EXPECT_NE(noMagic.errors.find("records[0].header"), std::string::npos) << noMagic.errors;
  EXPECT_FALSE(std::filesystem::exists(folder / "out/NESROMS.ENC"));
  WriteFile(folder / "broken.json", R"({"records": [)");
  EXPECT_EQ(
      RunTool("build " + Quoted(folder / "broken.json") + " " + Quoted(folder / "out")).exitCode,
      2);

  ASSERT_EQ(
      RunTool("build " + Quoted(folder / "source.json") + " " + Quoted(folder / "db")).exitCode, 0);
  std::string cut = ReadFile(folder / "db/NESROMS.ENC");
  cut.resize(cut.size() - 3);
  WriteFile(folder / "db/NESROMS.ENC", cut);
  const ToolRun dump = RunTool("dump " + Quoted(folder / "db"));
  EXPECT_EQ(dump.exitCode, 2);
  EXPECT_NE(dump.errors.find("DbTruncated"), std::string::npos) << dump.errors;
  EXPECT_NE(dump.output.find("Contra"), std::string::npos);  // the whole records are still shown

  EXPECT_EQ(RunTool("frobnicate").exitCode, 1);
  EXPECT_EQ(RunTool("build only-one-argument").exitCode, 1);
}

}  // namespace
}  // namespace wrenfold
