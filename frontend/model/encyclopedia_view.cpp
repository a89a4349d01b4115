#include "frontend/model/encyclopedia_view.h"

#include "frontend/model/encyclopedia_text.h"

namespace wrenfold {
namespace {

const EncyclopediaEntry* EntryOf(const EncyclopediaDb& db, int entryNumber) {
  if (entryNumber < 1 || static_cast<size_t>(entryNumber) > db.entries.size()) return nullptr;
  return &db.entries[static_cast<size_t>(entryNumber) - 1];
}

void ShowSecret(const EncyclopediaEntry& entry, EncyclopediaView& view) {
  const SecretParts parts =
      SplitSecret(entry.secrets[static_cast<size_t>(view.secretNumber) - 1].utf8);
  view.secretName = SecretNameCaption(parts.name, view.secretNumber, view.secretCount);
  view.secretText = parts.description;
}

}  // namespace

EncyclopediaView ViewOfEntry(const EncyclopediaDb& db, int entryNumber, int language) {
  EncyclopediaView view;
  const EncyclopediaEntry* entry = EntryOf(db, entryNumber);
  if (entry == nullptr) return view;
  if (entry->Has(kTagConsoleType))
    if (const auto text = ConsoleTypeText(entry->consoleType)) view.consoleType = *text;
  if (entry->Has(kTagGameLanguage)) {
    if (const auto label = GameLanguageLabel(entry->gameLanguage, language)) {
      view.gameLanguage = label->text;
      view.gameLanguageColor = label->rgb;
    }
  }
  if (entry->Has(kTagMarks)) {
    view.jingPinMarkVisible = (entry->marks & 0x01) != 0;
    view.jingDianMarkVisible = (entry->marks & 0x02) != 0;
  }
  if (entry->Has(kTagSecrets) && !entry->secrets.empty()) {
    view.secretCount = static_cast<int>(entry->secrets.size());
    view.secretNumber = 1;
    ShowSecret(*entry, view);
  }
  if (entry->Has(kTagProducer)) view.producer = entry->producer.utf8;
  if (entry->Has(kTagGameType)) view.gameType = GameTypeName(entry->gameTypeCode, language);
  if (entry->Has(kTagIntroduction)) {
    view.introductionEnabled = true;
    view.introduction = entry->introduction.utf8;
  }
  if (entry->Has(kTagRomVersion)) view.romVersion = VersionName(entry->romVersionCode, language);
  if (entry->Has(kTagRegionFlags)) view.cartVersion = RegionFlagsText(entry->regionFlags);
  return view;
}

std::string WalkthroughText(const EncyclopediaDb& db, int entryNumber) {
  const EncyclopediaEntry* entry = EntryOf(db, entryNumber);
  if (entry == nullptr || !entry->Has(kTagSecrets)) return {};
  std::string text;
  for (const DbText& secret : entry->secrets) {
    const SecretParts parts = SplitSecret(secret.utf8);
    if (!text.empty()) text += "\n\n";
    text += parts.name.empty() ? parts.description : parts.name + ": " + parts.description;
  }
  return text;
}

void ShowNextSecret(const EncyclopediaDb& db, int entryNumber, EncyclopediaView& view) {
  const EncyclopediaEntry* entry = EntryOf(db, entryNumber);
  if (entry == nullptr || entry->secrets.empty() || view.secretNumber == 0) return;
  view.secretCount = static_cast<int>(entry->secrets.size());
  view.secretNumber = NextSecretNumber(view.secretNumber, view.secretCount);
  ShowSecret(*entry, view);
}

}  // namespace wrenfold
