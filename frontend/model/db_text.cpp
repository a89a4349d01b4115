#include "frontend/model/db_text.h"

#include "frontend/model/gb_text.h"

namespace wrenfold {

DbText DbText::FromGb(std::string_view gb) {
  return DbText{std::string(gb), GbToUtf8(gb)};
}

DbText DbText::FromUtf8(std::string_view utf8) {
  return FromGb(Utf8ToGb(utf8));
}

}  // namespace wrenfold
