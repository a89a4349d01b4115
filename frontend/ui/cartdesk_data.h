// What the main window's panels share: the two databases, the chosen names and the interface
// language. The forms read it; the start-up sequence fills it.
#pragma once

#include <cstdint>
#include <filesystem>

#include "frontend/model/encyclopedia_db.h"
#include "frontend/model/interface_language.h"
#include "frontend/model/personal_settings.h"
#include "frontend/model/recognition_db.h"

namespace wrenfold {

struct CartdeskData {
  RecognitionDb recognition;
  EncyclopediaDb encyclopedia;
  AliasChoice aliasChoice;
  int16_t language = kLanguageChinese;
  std::filesystem::path workingFolder;  // Wrenfold.CFG, Wrenfold.PER, the databases, ScrShots/
};

}  // namespace wrenfold
