// NESROMS.ENC: whatever reads cleanly writes back to the very bytes it was read from, and a
// damaged file keeps only whole records.
#include "frontend/model/recognition_db.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace wrenfold;
  static wrenfold::fuzz::MemoryFile file;
  file.Set({data, size});
  RecognitionDb db;
  const RecognitionDbLoadResult result = LoadRecognitionDb(file.Path(), db);
  FUZZ_CHECK(result.errorOffset <= size);
  FUZZ_CHECK(db.records.size() <= kMaxRecognitionRecords);
  for (const RecognitionRecord& record : db.records)
    FUZZ_CHECK(record.aliasUpperIndex < kMaxAliases);
  if (result.error != DataFileError::kNone) return 0;
  std::vector<uint8_t> written;
  FUZZ_CHECK(SerializeRecognitionDb(db, written) == DataFileError::kNone);
  FUZZ_CHECK(written.size() <= size && std::equal(written.begin(), written.end(), data));
  return 0;
}
