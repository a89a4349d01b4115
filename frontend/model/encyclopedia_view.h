// What the encyclopedia face shows for one entry, block by block, or "N/A" everywhere for a ROM
// without an entry. The front-end copies these fields into its labels.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frontend/model/encyclopedia_db.h"
#include "frontend/model/interface_language.h"

namespace wrenfold {

inline constexpr std::string_view kNotAvailableText = "N/A";

struct EncyclopediaView {
  std::string consoleType{kNotAvailableText};
  std::string gameLanguage{kNotAvailableText};
  uint32_t gameLanguageColor = 0x000000;  // 0xRRGGBB
  bool jingPinMarkVisible = false;        // "精品"
  bool jingDianMarkVisible = false;       // "经典"
  int secretNumber = 0;                   // 1-based, 0 = no secret
  int secretCount = 0;
  std::string secretName{kNotAvailableText};
  std::string secretText;
  std::string producer{kNotAvailableText};
  std::string gameType{kNotAvailableText};
  bool introductionEnabled = false;  // the introduction button; the text starts hidden
  std::string introduction;
  std::string romVersion{kNotAvailableText};
  std::string cartVersion{kNotAvailableText};

  bool operator==(const EncyclopediaView&) const = default;
};

// The view of entry entryNumber (1-based); the blank view for 0 or a number without an entry.
// A console type or language code outside the known ones shows "N/A". The names of codes
// are given in the interface `language`.
EncyclopediaView ViewOfEntry(const EncyclopediaDb& db, int entryNumber,
                             int language = kLanguageChinese);

// Every secret of the entry, one paragraph each ("name: description"), for the walkthrough
// box; empty when the entry has none.
std::string WalkthroughText(const EncyclopediaDb& db, int entryNumber);

// Moves the view to the next secret of its entry (after the last, the first).
void ShowNextSecret(const EncyclopediaDb& db, int entryNumber, EncyclopediaView& view);

}  // namespace wrenfold
