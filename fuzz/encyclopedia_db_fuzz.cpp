// CARTINFO.ENC: whatever reads cleanly writes out and reads back the same, and links name
// records only within the 15-bit numbers.
#include "frontend/model/encyclopedia_db.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace wrenfold;
  static wrenfold::fuzz::MemoryFile file;
  file.Set({data, size});
  EncyclopediaDb db;
  const EncyclopediaLoadResult result = LoadEncyclopediaDb(file.Path(), db);
  FUZZ_CHECK(result.errorOffset <= size);
  FUZZ_CHECK(db.entries.size() <= kMaxEncyclopediaEntries);
  for (const EncyclopediaEntry& entry : db.entries) FUZZ_CHECK(entry.secrets.size() <= kMaxSecrets);
  std::vector<RecognitionRecord> records(3);
  LinkEncyclopediaEntries(db, records);
  if (result.error != DataFileError::kNone) return 0;
  std::vector<uint8_t> written;
  FUZZ_CHECK(SerializeEncyclopediaDb(db, written) == DataFileError::kNone);
  EncyclopediaDb again;
  FUZZ_CHECK(ParseEncyclopediaDb(written, again).error == DataFileError::kNone);
  FUZZ_CHECK(again == db);
  return 0;
}
