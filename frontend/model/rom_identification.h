// Identifying a fingerprint against the recognition database: known (exactly one record has
// it), unknown (none) or conflict (two or more, whatever their names).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <unordered_map>

#include "frontend/model/recognition_db.h"

namespace wrenfold {

enum class RomMatch : uint8_t { kKnown, kUnknown, kConflict };

struct RomIdentification {
  RomMatch match = RomMatch::kUnknown;
  int recordIndex = -1;  // index into the records when known, else -1
};

// A hash of the records' fingerprints, so that a lookup costs the same for ten records or ten
// thousand; it answers exactly as IdentifyByScan does.
class RecognitionIndex {
 public:
  explicit RecognitionIndex(std::span<const RecognitionRecord> records);
  RomIdentification Identify(const RomSignature& signature) const;

 private:
  struct Matches {
    int count = 0;
    int lastIndex = -1;
  };
  struct SignatureHash {
    size_t operator()(const RomSignature& signature) const;
  };
  std::unordered_map<RomSignature, Matches, SignatureHash> matchesBySignature;
};

// Compares the signature with every record's fingerprint, all 80 bytes.
RomIdentification IdentifyByScan(std::span<const RecognitionRecord> records,
                                 const RomSignature& signature);

}  // namespace wrenfold
