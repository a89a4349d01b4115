// The texts the encyclopedia face derives from an entry's codes: game type and ROM version
// names, region flags, console type, game language and the parts of a secret.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "frontend/model/interface_language.h"

namespace wrenfold {

// GameTypeNames: "动作" for 1 ... "3D赛车" for 17; empty for every other code. The English
// interface shows the English names ("Action" ... "3D racing").
std::string_view GameTypeName(int code, int language = kLanguageChinese);

// VersionNames: "原版" for 1 ... "Bad CHR" for 142; empty for every other code. The English
// interface shows the English names.
std::string_view VersionName(int code, int language = kLanguageChinese);

// The names of the set flags joined without separator, in the order J (bit 1), U (bit 0), C,
// E, Unlicensed, PlayChoice10, VS Unisystem, Sweden, Canada, Translated (bits 2 to 9).
std::string RegionFlagsText(uint16_t flags);

// "NTSC", "PAL" or "NTSC/PAL" for console types 1 to 3.
std::optional<std::string_view> ConsoleTypeText(uint8_t consoleType);

struct GameLanguageText {
  std::string_view text;
  uint32_t rgb;  // 0xRRGGBB
};

// "英文" in red, "日文" in yellow, "中文" in blue for languages 0 to 2 ("English",
// "Japanese", "Chinese" in the English interface).
std::optional<GameLanguageText> GameLanguageLabel(uint8_t gameLanguage,
                                                  int language = kLanguageChinese);

struct SecretParts {
  std::string name;         // before the first full-width colon "："
  std::string description;  // after it
};

// A secret without "：" is all description and has no name.
SecretParts SplitSecret(std::string_view secret);

// "name( 2/ 3)" for the second of three secrets.
std::string SecretNameCaption(std::string_view name, int number, int count);

// The secret shown after a click on the secret text: the next one, after the last the first.
// 0 stays 0 (no secret).
int NextSecretNumber(int current, int count);

}  // namespace wrenfold
