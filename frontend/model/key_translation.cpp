#include "frontend/model/key_translation.h"

#include <string_view>

#include "frontend/model/number_text.h"

namespace wrenfold {

namespace {

struct KeyEntry {
  int virtualKey;
  int16_t scanCode;
  std::string_view name;
};

// The keys a panel box accepts. Digits, space, function keys, modifiers, Tab, Esc, Backspace,
// "\" and "`" and the keypad operators are left out on purpose: they clear the assignment,
// since the running emulator uses several of them as hot keys.
constexpr KeyEntry kKeyTable[] = {
    {'A', 30, "A"},    {'B', 48, "B"},    {'C', 46, "C"},    {'D', 32, "D"},     {'E', 18, "E"},
    {'F', 33, "F"},    {'G', 34, "G"},    {'H', 35, "H"},    {'I', 23, "I"},     {'J', 36, "J"},
    {'K', 37, "K"},    {'L', 38, "L"},    {'M', 50, "M"},    {'N', 49, "N"},     {'O', 24, "O"},
    {'P', 25, "P"},    {'Q', 16, "Q"},    {'R', 19, "R"},    {'S', 31, "S"},     {'T', 20, "T"},
    {'U', 22, "U"},    {'V', 47, "V"},    {'W', 17, "W"},    {'X', 45, "X"},     {'Y', 21, "Y"},
    {'Z', 44, "Z"},    {13, 28, "Enter"}, {33, 201, "PgUp"}, {34, 209, "PgDn"},  {35, 207, "End"},
    {36, 199, "Home"}, {37, 203, "Left"}, {38, 200, "Up"},   {39, 205, "Right"}, {40, 208, "Down"},
    {45, 210, "Ins"},  {46, 211, "Del"},  {96, 82, "Num0"},  {97, 79, "Num1"},   {98, 80, "Num2"},
    {99, 81, "Num3"},  {100, 75, "Num4"}, {101, 76, "Num5"}, {102, 77, "Num6"},  {103, 71, "Num7"},
    {104, 72, "Num8"}, {105, 73, "Num9"}, {110, 83, "Num."}, {186, 39, ";"},     {187, 13, "="},
    {188, 51, ","},    {189, 12, "-"},    {190, 52, "."},    {191, 53, "/"},     {219, 26, "["},
    {221, 27, "]"},    {222, 40, "'"},
};

// Qt::Key values of the non-printing keys (qnamespace.h).
constexpr int kQtEscape = 0x01000000;
constexpr int kQtTab = 0x01000001;
constexpr int kQtBackspace = 0x01000003;
constexpr int kQtReturn = 0x01000004;
constexpr int kQtEnter = 0x01000005;
constexpr int kQtInsert = 0x01000006;
constexpr int kQtDelete = 0x01000007;
constexpr int kQtHome = 0x01000010;
constexpr int kQtEnd = 0x01000011;
constexpr int kQtLeft = 0x01000012;
constexpr int kQtUp = 0x01000013;
constexpr int kQtRight = 0x01000014;
constexpr int kQtDown = 0x01000015;
constexpr int kQtPageUp = 0x01000016;
constexpr int kQtPageDown = 0x01000017;
constexpr int kQtShift = 0x01000020;
constexpr int kQtControl = 0x01000021;
constexpr int kQtAlt = 0x01000023;
constexpr int kQtF1 = 0x01000030;
constexpr int kQtF24 = 0x01000047;

// Windows virtual-key codes used below besides letters and digits.
constexpr int kVkBackspace = 8;
constexpr int kVkTab = 9;
constexpr int kVkReturn = 13;
constexpr int kVkShift = 16;
constexpr int kVkControl = 17;
constexpr int kVkMenu = 18;
constexpr int kVkEscape = 27;
constexpr int kVkSpace = 32;
constexpr int kVkNumpad0 = 96;
constexpr int kVkMultiply = 106;
constexpr int kVkAdd = 107;
constexpr int kVkSubtract = 109;
constexpr int kVkDecimal = 110;
constexpr int kVkDivide = 111;
constexpr int kVkF1 = 112;

// Printable Qt keys (their Latin-1 code) and the virtual key of the key that carries them,
// shifted or not, on a US layout.
struct SymbolKey {
  char symbol;
  int virtualKey;
};
constexpr SymbolKey kSymbolKeys[] = {
    {';', 186}, {':', 186}, {'=', 187},  {'+', 187}, {',', 188},  {'<', 188}, {'-', 189},
    {'_', 189}, {'.', 190}, {'>', 190},  {'/', 191}, {'?', 191},  {'[', 219}, {'{', 219},
    {']', 221}, {'}', 221}, {'\'', 222}, {'"', 222}, {'\\', 220}, {'|', 220}, {'`', 192},
};

// Shifted digits on a US layout, in the order of the digit keys 0 to 9.
constexpr std::string_view kShiftedDigits = ")!@#$%^&*(";

}  // namespace

int16_t TranslateDIK(int virtualKey) {
  if (virtualKey == 0) return 0;
  for (const KeyEntry& entry : kKeyTable) {
    if (entry.virtualKey == virtualKey) return entry.scanCode;
  }
  return 0;
}

std::string TranslateSTR(int scanCode) {
  if (scanCode == 0) return "";
  for (const KeyEntry& entry : kKeyTable) {
    if (entry.scanCode == scanCode) return std::string(entry.name);
  }
  return "";
}

std::string TranslateJOY(int button) {
  return "B" + FormatPlainDecimal(button);
}

RapidFireDisplay ChangeRF(int interval) {
  return {FormatSignedDecimal(interval), interval};
}

int VirtualKeyFromQtKey(int qtKey, bool keypad) {
  if (qtKey >= 'A' && qtKey <= 'Z') return qtKey;
  if (qtKey >= 'a' && qtKey <= 'z') return qtKey - 'a' + 'A';
  if (qtKey >= '0' && qtKey <= '9') return keypad ? kVkNumpad0 + (qtKey - '0') : qtKey;
  if (keypad) {
    switch (qtKey) {
      case '.':
      case ',':
        return kVkDecimal;
      case '*':
        return kVkMultiply;
      case '+':
        return kVkAdd;
      case '-':
        return kVkSubtract;
      case '/':
        return kVkDivide;
      default:
        break;
    }
  }
  if (qtKey > 0 && qtKey < 0x80) {
    size_t digit = kShiftedDigits.find(static_cast<char>(qtKey));
    if (digit != std::string_view::npos) return '0' + static_cast<int>(digit);
    for (const SymbolKey& key : kSymbolKeys) {
      if (key.symbol == qtKey) return key.virtualKey;
    }
    if (qtKey == ' ') return kVkSpace;
    return 0;
  }
  if (qtKey >= kQtF1 && qtKey <= kQtF24) return kVkF1 + (qtKey - kQtF1);
  switch (qtKey) {
    case kQtReturn:
    case kQtEnter:
      return kVkReturn;  // the keypad Enter shares Enter's code
    case kQtPageUp:
      return 33;
    case kQtPageDown:
      return 34;
    case kQtEnd:
      return 35;
    case kQtHome:
      return 36;
    case kQtLeft:
      return 37;
    case kQtUp:
      return 38;
    case kQtRight:
      return 39;
    case kQtDown:
      return 40;
    case kQtInsert:
      return 45;
    case kQtDelete:
      return 46;
    case kQtEscape:
      return kVkEscape;
    case kQtTab:
      return kVkTab;
    case kQtBackspace:
      return kVkBackspace;
    case kQtShift:
      return kVkShift;
    case kQtControl:
      return kVkControl;
    case kQtAlt:
      return kVkMenu;
    default:
      return 0;
  }
}

}  // namespace wrenfold
