// The two interface languages of the front-end, numbered as Wrenfold.CFG's reader and SetLan
// number them.
#pragma once

#include <cstdint>

namespace wrenfold {

inline constexpr int16_t kLanguageEnglish = 1;
inline constexpr int16_t kLanguageChinese = 2;

}  // namespace wrenfold
