// Binds CalcCRC from libsumtab20.so at its first use, as the front-end does.
#pragma once

#include <filesystem>
#include <string>

#include "frontend/model/rom_signature.h"

namespace wrenfold {

inline constexpr const char* kSumtabLibraryName = "libsumtab20.so";

class SumtabLoader {
 public:
  // folder: where the front-end's own executable lies; the library is looked for there first.
  explicit SumtabLoader(std::filesystem::path folder) : folder(std::move(folder)) {}
  ~SumtabLoader();
  SumtabLoader(const SumtabLoader&) = delete;
  SumtabLoader& operator=(const SumtabLoader&) = delete;

  // Loads the library on the first call: from the folder, else from the library search path.
  // Null when it cannot be loaded or lacks CalcCRC; LoadError() then tells why.
  CalcCrcFunction CalcCrc();
  const std::string& LoadError() const { return loadError; }

 private:
  std::filesystem::path folder;
  void* handle = nullptr;
  CalcCrcFunction calcCrc = nullptr;
  bool triedToLoad = false;
  std::string loadError;
};

}  // namespace wrenfold
