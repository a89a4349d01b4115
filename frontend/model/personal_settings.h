// Wrenfold.PER: the name chosen per recognition record for the Chinese-name column, kept
// between runs.
//
// Text format, one number per line, each written with a sign position and one trailing blank
// and ended by CR LF:
//   " N "      the number of records
//   " c "      the choice of record 1 .. record N (0 = the Chinese name, j + 1 = alias j)
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wrenfold {

inline constexpr std::string_view kPersonalSettingsFileName = "Wrenfold.PER";

// A record has at most five aliases (alias 0 to alias 4).
inline constexpr int16_t kLargestAliasChoice = 5;

// The recognition database counts records in 15 bits.
inline constexpr int kLargestRecordCount = 0x7FFF;

// Spare slots kept beyond the record count, as the recognition table keeps them.
inline constexpr int kSpareAliasSlots = 32;

// The chosen name per recognition record: slot i for record i, slots 0 to capacity. `Count`
// (N) is the number of meaningful slots: the count read from Wrenfold.PER until the
// recognition database is read, the database's record count after that.
class AliasChoice {
 public:
  int Count() const { return recordCount; }

  // 0 (the Chinese name) for records outside 1..Count.
  int16_t Get(int record) const;

  // Stores a choice for record 1..Count; returns false (and stores nothing) otherwise.
  bool Set(int record, int16_t choice);

  // The values read from Wrenfold.PER: choice i - 1 for record i, N = size.
  void AssignFromFile(std::span<const int16_t> choices);

  // After the recognition database is read: slots 0..recordCount + 32 keeping the values that
  // fit, N = recordCount.
  void ResizeForRecords(int recordCount);

  // "Clear Personal Setting": records 1..N back to the Chinese name.
  void ClearAll();

  // Choices of records 1..N.
  std::span<const int16_t> Choices() const;

  // Every slot, 0 to capacity (slot i for record i), as the ROM list reads them.
  std::span<const int16_t> Slots() const { return choiceSlots; }

 private:
  std::vector<int16_t> choiceSlots;  // slot 0 unused
  int recordCount = 0;
};

enum class PersonalSettingsStatus {
  Ok,
  Missing,      // no file: every choice starts at 0, as on a first run
  Unreadable,   // exists but cannot be read
  Damaged,      // a count or choice that is not a valid number, or fewer choices than N
  WriteFailed,  // the new file could not be written; the old one is unchanged
};

struct PersonalSettingsRead {
  PersonalSettingsStatus status = PersonalSettingsStatus::Missing;
  std::string detail;            // system error text, if any
  std::vector<int16_t> choices;  // records 1..N; a damaged entry reads 0
};

// Parses the text of a Wrenfold.PER. A damaged file yields the choices that could be read,
// the rest 0.
PersonalSettingsRead ParsePersonalSettings(std::string_view text);

// The text written at exit: N, then the choices of records 1..N.
std::string FormatPersonalSettings(const AliasChoice& choices);

// Reads Wrenfold.PER from `folder`, accepting a name that differs only in case.
PersonalSettingsRead LoadPersonalSettings(const std::filesystem::path& folder);

// Replaces `folder`/Wrenfold.PER with FormatPersonalSettings(choices).
PersonalSettingsStatus SavePersonalSettings(const std::filesystem::path& folder,
                                            const AliasChoice& choices,
                                            std::string* detail = nullptr);

}  // namespace wrenfold
