// Wrenfold.PER: any text reads as choices within their range, and choices written out read
// back the same.
#include "frontend/model/personal_settings.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace wrenfold;
  static wrenfold::fuzz::MemoryFile file;
  static const std::filesystem::path folder = wrenfold::fuzz::ScratchFolder();
  // The reader looks for Wrenfold.PER in a folder: a link there names the in-memory file.
  static const bool linked = [] {
    std::error_code error;
    std::filesystem::create_symlink(file.Path(), folder / "Wrenfold.PER", error);
    return !error;
  }();
  FUZZ_CHECK(linked);
  file.Set({data, size});
  const PersonalSettingsRead read = LoadPersonalSettings(folder);
  FUZZ_CHECK(read.status != PersonalSettingsStatus::WriteFailed);
  FUZZ_CHECK(read.choices.size() <= static_cast<size_t>(kLargestRecordCount));
  for (const int16_t choice : read.choices) {
    FUZZ_CHECK(choice >= 0 && choice <= kLargestAliasChoice);
  }
  AliasChoice choices;
  choices.AssignFromFile(read.choices);
  const PersonalSettingsRead again = ParsePersonalSettings(FormatPersonalSettings(choices));
  FUZZ_CHECK(again.status == PersonalSettingsStatus::Ok);
  FUZZ_CHECK(again.choices == read.choices);
  return 0;
}
