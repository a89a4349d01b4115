// The checked-in golden tables (tests/tools/golden_*.txt): rows of
// "cartridge frames input hash", '#' lines and blank lines skipped.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace wrenfold::runner_test {

inline constexpr const char* kNoInput = "-";

struct GoldenRow {
  std::string cartridge;    // file name in bin/roms
  std::string frameText;    // as written; see ParseFrameCount
  std::string inputScript;  // file name in tests/tools/golden_input, or "-"
  std::string hash;         // 16 hex digits, or "-" while not generated
  std::string line;         // the whole row, for reporting a malformed one
};

inline std::string GoldenTablePath(const std::string& fileName) {
  return std::string(WRENFOLD_SOURCE_DIR) + "/tests/tools/" + fileName;
}

inline std::string GoldenInputFolder() {
  return std::string(WRENFOLD_SOURCE_DIR) + "/tests/tools/golden_input";
}

inline std::vector<GoldenRow> ReadGoldenRows(const std::string& path) {
  std::vector<GoldenRow> rows;
  std::ifstream table(path);
  std::string line;
  while (std::getline(table, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    GoldenRow row;
    if (!(fields >> row.cartridge)) continue;
    fields >> row.frameText >> row.inputScript >> row.hash;
    row.line = line;
    rows.push_back(row);
  }
  return rows;
}

// A positive frame count written in digits; anything else marks the row malformed.
inline std::optional<uint32_t> ParseFrameCount(const std::string& text) {
  const bool digits = !text.empty() && text.size() < 10 &&
                      std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
  if (!digits) return std::nullopt;
  const unsigned long value = std::stoul(text);
  if (value == 0) return std::nullopt;
  return static_cast<uint32_t>(value);
}

// A test name from the cartridge and input script, unique by the row index.
template <typename Run>
std::string GoldenRunName(const ::testing::TestParamInfo<Run>& info) {
  std::string name = info.param.cartridge + "_" + info.param.inputScript;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name + "_" + std::to_string(info.index);
}

}  // namespace wrenfold::runner_test
