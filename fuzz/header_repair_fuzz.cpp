// The header panel's comparison and both repairs, done on a copy of a cartridge in memory. The
// first 16 bytes of the input are the header the recognition database stores; the rest is the
// file. A repair changes only the header, keeps the file's length, and never leaves an image
// without the magic it had.
#include <algorithm>

#include "frontend/model/header_repair.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace wrenfold;
  static wrenfold::fuzz::MemoryFile file;
  if (size < kInesHeaderSize) return 0;
  RomHeaderBytes expected;
  std::copy_n(data, kInesHeaderSize, expected.begin());
  const std::span<const uint8_t> before(data + kInesHeaderSize, size - kInesHeaderSize);
  file.Set(before);

  const HeaderReadResult read = ReadRomHeader(file.Path());
  if (before.size() < static_cast<size_t>(kInesHeaderSize)) {
    FUZZ_CHECK(read.status == HeaderFileStatus::TooShort);
    FUZZ_CHECK(WriteExpectedHeader(file.Path(), expected).status != HeaderFileStatus::Ok);
    FUZZ_CHECK(ClearHeaderTrash(file.Path()).status != HeaderFileStatus::Ok);
    FUZZ_CHECK(file.Get() == std::vector<uint8_t>(before.begin(), before.end()));
    return 0;
  }
  FUZZ_CHECK(read.status == HeaderFileStatus::Ok);
  const HeaderPanelView view = BuildHeaderPanel(read.bytes, &expected);
  FUZZ_CHECK(view.storedHeaderDamaged == !HasInesMagic(expected));
  FUZZ_CHECK(!(view.storedHeaderDamaged && view.differsFromExpected));
  const bool hadMagic = HasInesMagic(read.bytes);

  const RepairResult repaired = WriteExpectedHeader(file.Path(), expected);
  std::vector<uint8_t> after = file.Get();
  FUZZ_CHECK(after.size() == before.size());
  FUZZ_CHECK(
      std::equal(after.begin() + kInesHeaderSize, after.end(), before.begin() + kInesHeaderSize));
  if (view.storedHeaderDamaged) {
    FUZZ_CHECK(repaired.status == HeaderFileStatus::StoredHeaderDamaged);
    FUZZ_CHECK(std::equal(after.begin(), after.end(), before.begin()));
  } else {
    FUZZ_CHECK(repaired.status == HeaderFileStatus::Ok);
    FUZZ_CHECK(std::equal(expected.begin(), expected.end(), after.begin()));
    const HeaderReadResult again = ReadRomHeader(file.Path());
    FUZZ_CHECK(!BuildHeaderPanel(again.bytes, &expected).differsFromExpected);
  }

  const RomHeaderBytes current = ReadRomHeader(file.Path()).bytes;
  FUZZ_CHECK(ClearHeaderTrash(file.Path()).status == HeaderFileStatus::Ok);
  after = file.Get();
  FUZZ_CHECK(after.size() == before.size());
  const bool signature = current[7] == 'D' && current[8] == 'i';
  for (int i = 0; i < kInesHeaderSize; ++i) {
    const bool cleared = i >= 8 || (i == 7 && signature);
    FUZZ_CHECK(after[i] == (cleared ? 0 : current[i]));
  }
  FUZZ_CHECK(!HeaderHasTrash(ReadRomHeader(file.Path()).bytes));
  FUZZ_CHECK(!hadMagic || HasInesMagic(ReadRomHeader(file.Path()).bytes));
  return 0;
}
