#include "frontend/model/sumtab_loader.h"

#include <dlfcn.h>

namespace wrenfold {

SumtabLoader::~SumtabLoader() {
  if (handle != nullptr) dlclose(handle);
}

CalcCrcFunction SumtabLoader::CalcCrc() {
  if (triedToLoad) return calcCrc;
  triedToLoad = true;
  const std::string besideUs = (folder / kSumtabLibraryName).string();
  handle = dlopen(besideUs.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    loadError = dlerror();
    handle = dlopen(kSumtabLibraryName, RTLD_NOW | RTLD_LOCAL);
  }
  if (handle == nullptr) {
    loadError += "; ";
    loadError += dlerror();
    return nullptr;
  }
  calcCrc = reinterpret_cast<CalcCrcFunction>(dlsym(handle, "CalcCRC"));
  if (calcCrc == nullptr) {
    loadError = std::string(kSumtabLibraryName) + " has no CalcCRC";
    dlclose(handle);
    handle = nullptr;
    return nullptr;
  }
  loadError.clear();
  return calcCrc;
}

}  // namespace wrenfold
