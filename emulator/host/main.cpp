// wrenfold: takes every option from Wrenfold.CFG in the working folder; there is no command line.
#include "emulator/host/startup.h"

int main() {
  using namespace wrenfold;
  HostState& host = TheHost();
  const StartUpResult result = StartUp(TheMachine(), host);
  if (result != StartUpResult::kReady) return 1;
  ReleaseAll(host);
  return 0;
}
