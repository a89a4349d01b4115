// Identification speed: N generated cartridge images (16-256 KB) against an M-record database.
// The images are freshly written, so the figure is the cost of fingerprinting and lookup with
// the files in the page cache.
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "frontend/model/rom_list.h"
#include "tools/cartdesk_db/commands.h"

namespace wrenfold::cartdesk_db {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "cartdesk_db_bench_XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path = pattern;
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  std::filesystem::path path;
};

struct BenchOptions {
  long files = 2000;
  long records = 10000;
  unsigned long seed = 1;
};

bool ParseOptions(const Arguments& arguments, BenchOptions& options) {
  for (size_t i = 0; i + 1 < arguments.size(); i += 2) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(arguments[i + 1].c_str(), &end, 10);
    if (end == arguments[i + 1].c_str() || *end != '\0') return false;
    if (arguments[i] == "--files") {
      options.files = static_cast<long>(value);
    } else if (arguments[i] == "--records") {
      options.records = static_cast<long>(value);
    } else if (arguments[i] == "--seed") {
      options.seed = value;
    } else {
      return false;
    }
  }
  return arguments.size() % 2 == 0 && options.files >= 1 && options.files <= 100000 &&
         options.records >= 0 && options.records <= static_cast<long>(kMaxRecognitionRecords);
}

// An image of 1-8 PRG and 0-8 CHR units (16 to 256 KB of data) filled with noise.
size_t WriteImage(const std::filesystem::path& path, std::mt19937_64& random) {
  const uint64_t prgUnits = 1 + random() % 8;
  const uint64_t chrUnits = random() % 9 * 2;
  std::vector<uint64_t> words(2 + (prgUnits * 16384 + chrUnits * 8192) / 8);
  for (uint64_t& word : words) word = random();
  auto* bytes = reinterpret_cast<uint8_t*>(words.data());
  const uint8_t header[16] = {
      'N', 'E', 'S', 0x1A, static_cast<uint8_t>(prgUnits), static_cast<uint8_t>(chrUnits)};
  std::copy(header, header + 16, bytes);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(words.size() * 8));
  return words.size() * 8;
}

RecognitionRecord BenchRecord(const RomSignature& fingerprint, size_t number) {
  RecognitionRecord record;
  record.number = static_cast<uint16_t>(number & 0x7FFF);
  record.fingerprint = fingerprint;
  record.header = {'N', 'E', 'S', 0x1A, 1, 1};
  record.chineseName = DbText::FromUtf8("游戏" + std::to_string(number));
  record.englishName = DbText::FromUtf8("Game " + std::to_string(number));
  record.aliases[0] = record.chineseName;
  return record;
}

}  // namespace

int RunBench(const Arguments& arguments) {
  BenchOptions options;
  if (!ParseOptions(arguments, options)) {
    std::fputs("usage: cartdesk-db bench [--files N] [--records M] [--seed S]\n", stderr);
    return kExitUsage;
  }
  TemporaryFolder scratch;
  if (scratch.path.empty()) {
    std::fputs("cartdesk-db: cannot create a temporary folder\n", stderr);
    return kExitFailure;
  }
  const std::filesystem::path romFolder = scratch.path / "roms";
  std::filesystem::create_directory(romFolder);

  std::mt19937_64 random(options.seed);
  std::vector<std::string> names;
  size_t totalBytes = 0;
  for (long i = 0; i < options.files; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "game%05ld.nes", i);
    names.push_back(name);
    totalBytes += WriteImage(romFolder / name, random);
  }

  // Half the images are known, five are in the database twice (conflicts), the rest unknown;
  // random fingerprints fill the database up to its size.
  const size_t files = names.size();
  const size_t knownFiles = std::min<size_t>(files / 2, static_cast<size_t>(options.records));
  const size_t conflictFiles = std::min<size_t>(5, files - knownFiles);
  RecognitionDb db;
  db.versionByteA = 0x02;
  for (size_t i = 0; i < knownFiles + conflictFiles; ++i) {
    const RomSignatureResult signature =
        ComputeRomSignature(romFolder / names[i], InProcessCalcCrc);
    db.records.push_back(BenchRecord(signature.signature, db.records.size() + 1));
    if (i >= knownFiles)
      db.records.push_back(BenchRecord(signature.signature, db.records.size() + 1));
  }
  while (db.records.size() < static_cast<size_t>(options.records)) {
    RomSignature fingerprint;
    for (uint8_t& byte : fingerprint) byte = static_cast<uint8_t>(random());
    db.records.push_back(BenchRecord(fingerprint, db.records.size() + 1));
  }
  db.records.resize(std::min<size_t>(db.records.size(), kMaxRecognitionRecords));
  std::vector<uint8_t> bytes;
  if (SerializeRecognitionDb(db, bytes) != DataFileError::kNone) return kExitFailure;
  std::ofstream(scratch.path / kRecognitionDbFileName, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  std::printf("generated %zu images (%.1f MB) and a %zu-record database in %s\n", files,
              totalBytes / 1e6, db.records.size(), scratch.path.c_str());

  Clock::time_point start = Clock::now();
  RecognitionDb loaded;
  if (LoadRecognitionDb(scratch.path / kRecognitionDbFileName, loaded).error !=
      DataFileError::kNone)
    return kExitFailure;
  std::printf("load NESROMS.ENC:  %zu records in %.1f ms\n", loaded.records.size(),
              SecondsSince(start) * 1e3);

  start = Clock::now();
  const RecognitionIndex index(loaded.records);
  std::printf("index:             %.1f ms\n", SecondsSince(start) * 1e3);

  start = Clock::now();
  const RomList list = BuildRomList(romFolder, index, InProcessCalcCrc);
  const double identifySeconds = SecondsSince(start);
  size_t known = 0;
  size_t conflicts = 0;
  for (const RomListEntry& entry : list.entries) {
    known += entry.HasMatch();
    conflicts += entry.conflict;
  }
  std::printf(
      "identify:          %zu files in %.3f s = %.0f files/s (known %zu, conflict %zu, unknown "
      "%d)\n",
      list.entries.size(), identifySeconds, list.entries.size() / identifySeconds, known, conflicts,
      list.unknownCount);

  // The lookup alone, against comparing every record as a plain scan would.
  std::vector<RomSignature> signatures;
  for (size_t i = 0; i < std::min<size_t>(files, 200); ++i)
    signatures.push_back(ComputeRomSignature(romFolder / names[i], InProcessCalcCrc).signature);
  std::vector<RomIdentification> fromIndex;
  std::vector<RomIdentification> fromScan;
  start = Clock::now();
  for (const RomSignature& signature : signatures) fromIndex.push_back(index.Identify(signature));
  const double indexSeconds = SecondsSince(start);
  start = Clock::now();
  for (const RomSignature& signature : signatures)
    fromScan.push_back(IdentifyByScan(loaded.records, signature));
  const double scanSeconds = SecondsSince(start);
  bool agreed = true;
  for (size_t i = 0; i < signatures.size(); ++i)
    agreed = agreed && fromIndex[i].match == fromScan[i].match &&
             fromIndex[i].recordIndex == fromScan[i].recordIndex;
  std::printf("lookup of %zu:     index %.3f ms, full scan %.1f ms%s\n", signatures.size(),
              indexSeconds * 1e3, scanSeconds * 1e3, agreed ? "" : " (the two DISAGREE)");

  const bool expected = known == knownFiles && conflicts == conflictFiles && agreed;
  if (!expected) std::fputs("cartdesk-db: identification gave unexpected counts\n", stderr);
  return expected ? kExitOk : kExitFailure;
}

}  // namespace wrenfold::cartdesk_db
