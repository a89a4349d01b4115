// The message boxes the front-end shows for damaged or missing files, in both interface
// languages: what went wrong while reading the settings, the databases, the ROM folder and the
// display list, gathered here so that the forms only show what they are handed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/model/emulator_config.h"
#include "frontend/model/encyclopedia_db.h"
#include "frontend/model/header_repair.h"
#include "frontend/model/personal_settings.h"
#include "frontend/model/recognition_db.h"
#include "frontend/model/rom_list.h"
#include "frontend/model/ui_text.h"

namespace wrenfold {

enum class NoticeIcon { Information, Warning, Critical };

struct Notice {
  std::string titleChinese;
  std::string titleEnglish;
  std::string textChinese;
  std::string textEnglish;
  NoticeIcon icon = NoticeIcon::Warning;

  std::string_view Title(int language) const;
  std::string_view Text(int language) const;
};

// A notice made of two entries of the message table.
Notice NoticeFromMessages(MessageId title, MessageId text, NoticeIcon icon = NoticeIcon::Warning);

std::optional<Notice> NoticeForConfig(ConfigStatus status);
std::optional<Notice> NoticeForPersonalSettings(PersonalSettingsStatus status);
std::optional<Notice> NoticeForHeaderFile(HeaderFileStatus status);

// NESROMS.ENC could not be read in full; the records read before the fault are used.
std::optional<Notice> NoticeForRecognitionLoad(const RecognitionDbLoadResult& result);

// CARTINFO.ENC: one notice for damaged section heads (reading went on), then one for the fault
// that stopped the reading, if any. A wrong magic text gets the encyclopedia's own words.
std::vector<Notice> NoticesForEncyclopediaLoad(const EncyclopediaLoadResult& result);

// After the ROM folder was listed: no ".nes" file, an unreadable folder, a missing checksum
// library, or files that could not be read (listed as unknown).
std::vector<Notice> NoticesForRomList(const RomList& list, std::string_view romDirectory);

// No display to offer for DDEVICE=: the emulator then takes its default display.
Notice NoDisplayDevicesNotice();

// The emulator program could not be started; `program` is the path that was tried.
Notice EmulatorStartFailedNotice(std::string_view program);

}  // namespace wrenfold
