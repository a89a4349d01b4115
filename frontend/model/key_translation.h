// The control panel's key table: Windows virtual-key codes to DirectInput scan codes and scan
// codes to the names shown in the key boxes, the joystick button texts, the rapid-fire caption,
// and the mapping of Qt key codes to virtual-key codes for the Qt layer.
#pragma once

#include <cstdint>
#include <string>

namespace wrenfold {

// Scan code of a virtual-key code; 0 for every key the panel does not accept.
int16_t TranslateDIK(int virtualKey);

// Name shown for a scan code ("A", "Enter", "Num5", ";"); "" for 0 and unknown codes.
std::string TranslateSTR(int scanCode);

// Text of a joystick button number: "B3".
std::string TranslateJOY(int button);

// What ChangeRF puts on the panel: the interval caption (decimal with the sign position) and
// the scroll bar value.
struct RapidFireDisplay {
  std::string caption;
  int scrollValue = 0;
};
RapidFireDisplay ChangeRF(int interval);

// Qt::KeypadModifier, passed separately by the caller as `keypad`.
inline constexpr int kQtKeypadModifier = 0x20000000;

// The Windows virtual-key code of a Qt key code (Qt::Key) as the key table needs it; `keypad`
// is true when the event carries the keypad modifier (digits and the decimal point then give
// the numeric-pad codes). Shifted symbols give their key's code (":" gives the ";" key).
// 0 for keys without a code here.
int VirtualKeyFromQtKey(int qtKey, bool keypad);

}  // namespace wrenfold
