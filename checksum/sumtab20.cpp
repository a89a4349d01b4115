// libsumtab20.so: its one function, CalcCRC, exported under the plain C name and under the
// C++ name of int32_t CalcCRC(const char*), so that callers declaring it either way bind it.
#include <cstdint>

#include "checksum/sumtab_checksum.h"

// The C++ name, _Z7CalcCRCPKc.
__attribute__((visibility("default"))) int32_t CalcCRC(const char* path) {
  return wrenfold::SumtabChecksum(path);
}

// The C name CalcCRC, the same code under a second symbol.
extern "C" __attribute__((visibility("default"), alias("_Z7CalcCRCPKc"))) int32_t CalcCrcPlainName(
    const char* path) __asm__("CalcCRC");
