#include "frontend/model/rom_identification.h"

#include <string_view>

namespace wrenfold {

size_t RecognitionIndex::SignatureHash::operator()(const RomSignature& signature) const {
  return std::hash<std::string_view>{}(
      std::string_view(reinterpret_cast<const char*>(signature.data()), signature.size()));
}

RecognitionIndex::RecognitionIndex(std::span<const RecognitionRecord> records) {
  matchesBySignature.reserve(records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    Matches& matches = matchesBySignature[records[i].fingerprint];
    ++matches.count;
    matches.lastIndex = static_cast<int>(i);
  }
}

RomIdentification RecognitionIndex::Identify(const RomSignature& signature) const {
  const auto found = matchesBySignature.find(signature);
  if (found == matchesBySignature.end()) return {RomMatch::kUnknown, -1};
  if (found->second.count > 1) return {RomMatch::kConflict, -1};
  return {RomMatch::kKnown, found->second.lastIndex};
}

RomIdentification IdentifyByScan(std::span<const RecognitionRecord> records,
                                 const RomSignature& signature) {
  int count = 0;
  int lastIndex = -1;
  for (size_t i = 0; i < records.size(); ++i) {
    if (records[i].fingerprint == signature) {
      ++count;
      lastIndex = static_cast<int>(i);
    }
  }
  if (count == 0) return {RomMatch::kUnknown, -1};
  if (count > 1) return {RomMatch::kConflict, -1};
  return {RomMatch::kKnown, lastIndex};
}

}  // namespace wrenfold
