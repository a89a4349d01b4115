#include "platform/sdl/sdl_key_map.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/dik_codes.h"

namespace wrenfold {
namespace {

struct KeyCase {
  SDL_Scancode scancode;
  uint8_t dik;
};

class SdlKeyMapTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(SdlKeyMapTest, KeyGivesItsScanCode) {
  EXPECT_EQ(DikFromSdlScancode(GetParam().scancode), GetParam().dik);
}

// The keys the emulator's hot keys and default bindings use, and the extended keys whose
// codes carry the 0x80 prefix bit.
INSTANTIATE_TEST_SUITE_P(
    Keys, SdlKeyMapTest,
    ::testing::Values(KeyCase{SDL_SCANCODE_ESCAPE, 1}, KeyCase{SDL_SCANCODE_1, 2},
                      KeyCase{SDL_SCANCODE_9, 10}, KeyCase{SDL_SCANCODE_0, 11},
                      KeyCase{SDL_SCANCODE_A, 30}, KeyCase{SDL_SCANCODE_Z, 44},
                      KeyCase{SDL_SCANCODE_RETURN, 28}, KeyCase{SDL_SCANCODE_SPACE, 57},
                      KeyCase{SDL_SCANCODE_F1, 59}, KeyCase{SDL_SCANCODE_F2, 60},
                      KeyCase{SDL_SCANCODE_F5, 63}, KeyCase{SDL_SCANCODE_F7, 65},
                      KeyCase{SDL_SCANCODE_F9, 67}, KeyCase{SDL_SCANCODE_F10, 68},
                      KeyCase{SDL_SCANCODE_F11, 87}, KeyCase{SDL_SCANCODE_F12, 88},
                      KeyCase{SDL_SCANCODE_KP_MINUS, 74}, KeyCase{SDL_SCANCODE_KP_PLUS, 78},
                      KeyCase{SDL_SCANCODE_KP_ENTER, 156}, KeyCase{SDL_SCANCODE_KP_DIVIDE, 181},
                      KeyCase{SDL_SCANCODE_UP, 200}, KeyCase{SDL_SCANCODE_LEFT, 203},
                      KeyCase{SDL_SCANCODE_RIGHT, 205}, KeyCase{SDL_SCANCODE_DOWN, 208},
                      KeyCase{SDL_SCANCODE_LCTRL, 29}, KeyCase{SDL_SCANCODE_RCTRL, 157},
                      KeyCase{SDL_SCANCODE_LALT, 56}, KeyCase{SDL_SCANCODE_RALT, 184},
                      KeyCase{SDL_SCANCODE_LSHIFT, 42}, KeyCase{SDL_SCANCODE_RSHIFT, 54},
                      KeyCase{SDL_SCANCODE_INSERT, 210}, KeyCase{SDL_SCANCODE_DELETE, 211},
                      KeyCase{SDL_SCANCODE_HOME, 199}, KeyCase{SDL_SCANCODE_PAGEDOWN, 209},
                      KeyCase{SDL_SCANCODE_GRAVE, 41}, KeyCase{SDL_SCANCODE_BACKSLASH, 43},
                      KeyCase{SDL_SCANCODE_NONUSBACKSLASH, 86}, KeyCase{SDL_SCANCODE_PAUSE, 197},
                      KeyCase{SDL_SCANCODE_UNKNOWN, 0}, KeyCase{SDL_SCANCODE_F24, 0}),
    [](const ::testing::TestParamInfo<KeyCase>& info) {
      return "Scancode" + std::to_string(static_cast<int>(info.param.scancode));
    });

TEST(SdlKeyMapTableTest, LettersAndNumpadFollowTheirRows) {
  const char* const qwertyRow = "QWERTYUIOP";
  for (int i = 0; qwertyRow[i] != '\0'; ++i) {
    const auto scancode = static_cast<SDL_Scancode>(SDL_SCANCODE_A + (qwertyRow[i] - 'A'));
    EXPECT_EQ(DikFromSdlScancode(scancode), kDikQ + i) << qwertyRow[i];
  }
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_KP_7), kDikNumpad7);
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_KP_0), kDikNumpad0);
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_KP_PERIOD), kDikNumpadPeriod);
}

TEST(SdlKeyMapTableTest, NoTwoMainKeysShareACode) {
  // Aliases SDL reports for one physical key (ISO hash, print/sysreq, two mute codes) aside.
  const std::set<SDL_Scancode> aliases = {SDL_SCANCODE_NONUSHASH, SDL_SCANCODE_SYSREQ,
                                          SDL_SCANCODE_AUDIOMUTE};
  std::set<uint8_t> seen;
  for (int code = 0; code < SDL_NUM_SCANCODES; ++code) {
    const auto scancode = static_cast<SDL_Scancode>(code);
    const uint8_t dik = DikFromSdlScancode(scancode);
    if (dik == 0 || aliases.count(scancode) != 0) continue;
    EXPECT_TRUE(seen.insert(dik).second) << "scancode " << code << " repeats " << int{dik};
  }
  EXPECT_GT(seen.size(), 120u);
}

}  // namespace
}  // namespace wrenfold
