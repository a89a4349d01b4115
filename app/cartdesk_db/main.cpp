// cartdesk-db: builds, dumps and checks the front-end's databases (NESROMS.ENC, CARTINFO.ENC)
// from a readable JSON source, and identifies cartridge images the way the front-end does.
#include <cstdio>
#include <string>

#include "tools/cartdesk_db/commands.h"

namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  cartdesk-db build SOURCE.json OUTDIR   write NESROMS.ENC and CARTINFO.ENC into OUTDIR\n"
    "  cartdesk-db dump DBDIR                 print the databases of DBDIR as JSON\n"
    "  cartdesk-db identify DIR [--db DBDIR]  identify every .nes file of DIR against the\n"
    "                                         databases of DBDIR (default: DIR itself)\n"
    "  cartdesk-db bench [--files N] [--records M] [--seed S]\n"
    "                                         time identification of N generated images\n"
    "                                         against an M-record database (2000, 10000)\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace wrenfold::cartdesk_db;
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  const std::string command = argv[1];
  const Arguments arguments(argv + 2, argv + argc);
  if (command == "build") return RunBuild(arguments);
  if (command == "dump") return RunDump(arguments);
  if (command == "identify") return RunIdentify(arguments);
  if (command == "bench") return RunBench(arguments);
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, stdout);
    return kExitOk;
  }
  std::fprintf(stderr, "cartdesk-db: unknown command \"%s\"\n%s", command.c_str(), kUsage);
  return kExitUsage;
}
