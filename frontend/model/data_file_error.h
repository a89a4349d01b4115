// Why a database file or a ROM file could not be read (in full). Every reader keeps what it
// read before the fault and returns one of these; the front-end shows the matching message.
#pragma once

#include <cstdint>
#include <string_view>

namespace wrenfold {

enum class DataFileError : uint8_t {
  kNone,
  kFileMissing,          // the file does not exist or cannot be opened
  kReadFailed,           // the file opened but reading it failed
  kFileTooLarge,         // far larger than any database, not read
  kTruncated,            // the file ends inside a count, a record or an entry
  kBadCount,             // a record or entry count with the top bit set
  kBadRecordNumber,      // a record number with the top bit set
  kBadAliasCount,        // more than 5 aliases
  kBadMagic,             // CARTINFO.ENC does not start with "Plumb"
  kTooManyEntries,       // more than 1024 encyclopedia entries
  kBadTag,               // a block tag of 14 or more
  kTooManySecrets,       // more than 32 secrets in one entry
  kBadLink,              // a record link with the top bit set
  kTextTooLong,          // (writing) a text longer than 255 bytes
  kTooManyRecords,       // (writing) more than 32767 records
  kWriteFailed,          // (writing) the file could not be written
  kRomTooShort,          // a ROM file shorter than its 16-byte header
  kChecksumUnavailable,  // libsumtab20.so could not be loaded
};

// Stable identifier of the message for an error, e.g. "DbTruncated".
std::string_view DataFileErrorMessageId(DataFileError error);

struct DataFileErrorMessage {
  std::string_view chinese;
  std::string_view english;
};

// The message for an error in both interface languages; empty texts for kNone.
DataFileErrorMessage DataFileErrorText(DataFileError error);

}  // namespace wrenfold
