// A text field of the databases: the GB bytes as stored, and the same text as UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace wrenfold {

struct DbText {
  std::string gb;    // written back byte for byte
  std::string utf8;  // shown, sorted and compared

  // Text read from a file; a lone lead byte at the end is counted but shows nothing.
  static DbText FromGb(std::string_view gb);
  // Text typed by a person; characters GB lacks become "?" in both forms.
  static DbText FromUtf8(std::string_view utf8);

  bool operator==(const DbText&) const = default;
};

}  // namespace wrenfold
