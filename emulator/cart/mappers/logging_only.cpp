// Mappers 89, 228, 231, 242, 254: boards whose registers are not emulated; their writes are
// logged so the game that needs them can be told from the log.
#include "emulator/cart/mappers/logging_only.h"

namespace wrenfold {

void LogOnlyHighWrite(MachineState&, uint16_t address, uint8_t value) {
  LogRegisterWrite(address, value);
}

}  // namespace wrenfold
