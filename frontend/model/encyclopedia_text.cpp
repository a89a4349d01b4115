#include "frontend/model/encyclopedia_text.h"

#include <array>
#include <utility>

#include "frontend/model/interface_language.h"
#include "frontend/model/number_text.h"

namespace wrenfold {
namespace {

constexpr std::string_view kSecretSeparator = "：";

struct CodeName {
  int code;
  std::string_view chinese;
  std::string_view english;
};

constexpr CodeName kGameTypeNames[] = {
    {1, "动作", "Action"},
    {2, "策略", "Strategy"},
    {3, "横版过关", "Side-scrolling platformer"},
    {4, "横版动作", "Side-scrolling action"},
    {5, "纵版射击", "Vertical shooter"},
    {6, "横版射击", "Horizontal shooter"},
    {7, "射击", "Shooter"},
    {8, "其它", "Other"},
    {9, "益智", "Puzzle"},
    {10, "战术足球", "Tactical football"},
    {11, "热血", "Nekketsu (Kunio-kun)"},
    {12, "RPG", "RPG"},
    {13, "ARPG", "ARPG"},
    {14, "解谜", "Mystery"},
    {15, "3D动作", "3D action"},
    {16, "3D射击", "3D shooter"},
    {17, "3D赛车", "3D racing"},
};

constexpr CodeName kVersionNames[] = {
    {1, "原版", "Original"},
    {2, "原版(1)", "Original(1)"},
    {3, "原版CHR1", "Original CHR1"},
    {4, "原版？", "Original?"},
    {20, "盗版", "Pirate"},
    {21, "未知(1)", "Unknown(1)"},
    {128, "Bad Dump(General)", "Bad Dump(General)"},
    {129, "残缺(CHR不全)", "Incomplete(CHR missing)"},
    {130, "Bad Dump 1", "Bad Dump 1"},
    {131, "Bad Dump 2", "Bad Dump 2"},
    {140, "Ver 1.2", "Ver 1.2"},
    {141, "SMB1 Hacked", "SMB1 Hacked"},
    {142, "Bad CHR", "Bad CHR"},
};

// Region flag names in the order they are shown, with their bit.
constexpr std::pair<int, std::string_view> kRegionFlags[] = {
    {1, "J"},
    {0, "U"},
    {2, "C"},
    {3, "E"},
    {4, "Unlicensed"},
    {5, "PlayChoice10"},
    {6, "VS Unisystem"},
    {7, "Sweden"},
    {8, "Canada"},
    {9, "Translated"},
};

template <size_t N>
std::string_view LookUp(const CodeName (&table)[N], int code, int language) {
  for (const CodeName& entry : table)
    if (entry.code == code) return language == kLanguageEnglish ? entry.english : entry.chinese;
  return {};
}

}  // namespace

std::string_view GameTypeName(int code, int language) {
  return LookUp(kGameTypeNames, code, language);
}

std::string_view VersionName(int code, int language) {
  return LookUp(kVersionNames, code, language);
}

std::string RegionFlagsText(uint16_t flags) {
  std::string text;
  for (const auto& [bit, name] : kRegionFlags)
    if (flags & (1u << bit)) text += name;
  return text;
}

std::optional<std::string_view> ConsoleTypeText(uint8_t consoleType) {
  switch (consoleType) {
    case 1:
      return "NTSC";
    case 2:
      return "PAL";
    case 3:
      return "NTSC/PAL";
    default:
      return std::nullopt;
  }
}

std::optional<GameLanguageText> GameLanguageLabel(uint8_t gameLanguage, int language) {
  const bool english = language == kLanguageEnglish;
  switch (gameLanguage) {
    case 0:
      return GameLanguageText{english ? "English" : "英文", 0xFF0000};
    case 1:
      return GameLanguageText{english ? "Japanese" : "日文", 0xFFFF00};
    case 2:
      return GameLanguageText{english ? "Chinese" : "中文", 0x0000FF};
    default:
      return std::nullopt;
  }
}

SecretParts SplitSecret(std::string_view secret) {
  const size_t separator = secret.find(kSecretSeparator);
  if (separator == std::string_view::npos) return {std::string(), std::string(secret)};
  return {std::string(secret.substr(0, separator)),
          std::string(secret.substr(separator + kSecretSeparator.size()))};
}

std::string SecretNameCaption(std::string_view name, int number, int count) {
  return std::string(name) + "(" + FormatSignedDecimal(number) + "/" + FormatSignedDecimal(count) +
         ")";
}

int NextSecretNumber(int current, int count) {
  if (current == 0 || count <= 0) return 0;
  return current >= count ? 1 : current + 1;
}

}  // namespace wrenfold
