#include "frontend/model/key_translation.h"

#include <gtest/gtest.h>

namespace wrenfold {
namespace {

struct KeyCase {
  int virtualKey;
  int scanCode;
  const char* name;
};

class KeyTable : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyTable, MapsTheKeyAndNamesItsCode) {
  EXPECT_EQ(TranslateDIK(GetParam().virtualKey), GetParam().scanCode);
  EXPECT_EQ(TranslateSTR(GetParam().scanCode), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    AcceptedKeys, KeyTable,
    ::testing::Values(KeyCase{'A', 30, "A"}, KeyCase{'B', 48, "B"}, KeyCase{'C', 46, "C"},
                      KeyCase{'D', 32, "D"}, KeyCase{'E', 18, "E"}, KeyCase{'F', 33, "F"},
                      KeyCase{'G', 34, "G"}, KeyCase{'H', 35, "H"}, KeyCase{'I', 23, "I"},
                      KeyCase{'J', 36, "J"}, KeyCase{'K', 37, "K"}, KeyCase{'L', 38, "L"},
                      KeyCase{'M', 50, "M"}, KeyCase{'N', 49, "N"}, KeyCase{'O', 24, "O"},
                      KeyCase{'P', 25, "P"}, KeyCase{'Q', 16, "Q"}, KeyCase{'R', 19, "R"},
                      KeyCase{'S', 31, "S"}, KeyCase{'T', 20, "T"}, KeyCase{'U', 22, "U"},
                      KeyCase{'V', 47, "V"}, KeyCase{'W', 17, "W"}, KeyCase{'X', 45, "X"},
                      KeyCase{'Y', 21, "Y"}, KeyCase{'Z', 44, "Z"}, KeyCase{13, 28, "Enter"},
                      KeyCase{33, 201, "PgUp"}, KeyCase{34, 209, "PgDn"}, KeyCase{35, 207, "End"},
                      KeyCase{36, 199, "Home"}, KeyCase{37, 203, "Left"}, KeyCase{38, 200, "Up"},
                      KeyCase{39, 205, "Right"}, KeyCase{40, 208, "Down"}, KeyCase{45, 210, "Ins"},
                      KeyCase{46, 211, "Del"}, KeyCase{96, 82, "Num0"}, KeyCase{97, 79, "Num1"},
                      KeyCase{98, 80, "Num2"}, KeyCase{99, 81, "Num3"}, KeyCase{100, 75, "Num4"},
                      KeyCase{101, 76, "Num5"}, KeyCase{102, 77, "Num6"}, KeyCase{103, 71, "Num7"},
                      KeyCase{104, 72, "Num8"}, KeyCase{105, 73, "Num9"}, KeyCase{110, 83, "Num."},
                      KeyCase{186, 39, ";"}, KeyCase{187, 13, "="}, KeyCase{188, 51, ","},
                      KeyCase{189, 12, "-"}, KeyCase{190, 52, "."}, KeyCase{191, 53, "/"},
                      KeyCase{219, 26, "["}, KeyCase{221, 27, "]"}, KeyCase{222, 40, "'"}),
    [](const auto& info) { return "VirtualKey" + std::to_string(info.param.virtualKey); });

class RefusedKey : public ::testing::TestWithParam<int> {};

TEST_P(RefusedKey, ClearsTheAssignment) {
  EXPECT_EQ(TranslateDIK(GetParam()), 0);
}

// Digits, space, F1, F12, Shift, Ctrl, Alt, Tab, Esc, Backspace, "\", "`", keypad * + - /.
INSTANTIATE_TEST_SUITE_P(OtherKeys, RefusedKey,
                         ::testing::Values('0', '5', '9', 32, 112, 123, 16, 17, 18, 9, 27, 8, 220,
                                           192, 106, 107, 109, 111, 0, -1, 1000),
                         [](const auto& info) {
                           const int key = info.param;
                           return key < 0 ? "Minus" + std::to_string(-key) : std::to_string(key);
                         });

TEST(KeyNames, UnknownAndZeroCodesHaveNoName) {
  EXPECT_EQ(TranslateSTR(0), "");
  EXPECT_EQ(TranslateSTR(1), "");  // Esc is not offered
  EXPECT_EQ(TranslateSTR(300), "");
}

TEST(JoystickButtons, AreNamedWithoutBlank) {
  EXPECT_EQ(TranslateJOY(3), "B3");
  EXPECT_EQ(TranslateJOY(12), "B12");
  EXPECT_EQ(TranslateJOY(0), "B0");
}

TEST(RapidFire, CaptionCarriesTheSignPosition) {
  EXPECT_EQ(ChangeRF(0).caption, " 0");
  EXPECT_EQ(ChangeRF(7).caption, " 7");
  EXPECT_EQ(ChangeRF(7).scrollValue, 7);
}

struct QtKeyCase {
  const char* name;
  int qtKey;
  bool keypad;
  const char* shown;  // what the key box shows after TranslateDIK and TranslateSTR
};

class QtKeys : public ::testing::TestWithParam<QtKeyCase> {};

TEST_P(QtKeys, ReachTheKeyTableAsTheirKey) {
  const QtKeyCase& key = GetParam();
  EXPECT_EQ(TranslateSTR(TranslateDIK(VirtualKeyFromQtKey(key.qtKey, key.keypad))), key.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Events, QtKeys,
    ::testing::Values(
        QtKeyCase{"Letter", 'Q', false, "Q"}, QtKeyCase{"LowerCaseLetter", 'q', false, "Q"},
        QtKeyCase{"Return", 0x01000004, false, "Enter"},
        QtKeyCase{"KeypadEnter", 0x01000005, true, "Enter"},
        QtKeyCase{"Up", 0x01000013, false, "Up"}, QtKeyCase{"PageDown", 0x01000017, false, "PgDn"},
        QtKeyCase{"Delete", 0x01000007, false, "Del"}, QtKeyCase{"KeypadFive", '5', true, "Num5"},
        QtKeyCase{"KeypadPoint", '.', true, "Num."}, QtKeyCase{"Point", '.', false, "."},
        QtKeyCase{"Colon", ':', false, ";"}, QtKeyCase{"Plus", '+', false, "="},
        QtKeyCase{"BraceRight", '}', false, "]"}, QtKeyCase{"QuoteDbl", '"', false, "'"},
        QtKeyCase{"DigitFive", '5', false, ""}, QtKeyCase{"Percent", '%', false, ""},
        QtKeyCase{"KeypadMinus", '-', true, ""}, QtKeyCase{"Space", ' ', false, ""},
        QtKeyCase{"Escape", 0x01000000, false, ""}, QtKeyCase{"F5", 0x01000034, false, ""},
        QtKeyCase{"Shift", 0x01000020, false, ""}, QtKeyCase{"Backslash", '\\', false, ""},
        QtKeyCase{"Unknown", 0x01ffffff, false, ""}),
    [](const ::testing::TestParamInfo<QtKeyCase>& info) { return info.param.name; });

TEST(QtKeysToVirtualKeys, KeepWindowsCodesForTheHotKeys) {
  EXPECT_EQ(VirtualKeyFromQtKey('5', false), '5');
  EXPECT_EQ(VirtualKeyFromQtKey('!', false), '1');
  EXPECT_EQ(VirtualKeyFromQtKey(0x01000030, false), 112);  // F1
  EXPECT_EQ(VirtualKeyFromQtKey(0x01000000, false), 27);   // Esc
}

}  // namespace
}  // namespace wrenfold
