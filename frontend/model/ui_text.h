// Every caption and message of the front-end in Chinese and English. Captions of named
// controls are keyed by form and control name (SetLan walks them); everything else - message
// boxes, hints, progress lines, list items, run-time panel texts - by message id. The English
// face shows English throughout; the texts of the first-run form, which speaks to both, carry
// the same text twice. The encyclopedia's display values and the ROM list's row texts live
// with those models.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "frontend/model/interface_language.h"

namespace wrenfold {

enum class FormName { Form1, FirstLan, Title, FdsLoader };

struct CaptionEntry {
  FormName form;
  std::string_view control;  // control name, with the index of a control array: "Option1(0)"
  std::string_view chinese;  // design-time caption
  std::string_view english;  // caption after SetLan(1)
};

std::span<const CaptionEntry> AllCaptions();

// nullptr when the control has no caption in the table.
const CaptionEntry* FindCaption(FormName form, std::string_view control);

// The caption for `language` (kLanguageEnglish or kLanguageChinese); "" for an unknown control.
std::string_view CaptionText(FormName form, std::string_view control, int language);

enum class MessageId : int {
  // Control panel
  JoystickFailTitle,
  JoystickNoDriverText,
  JoystickUnpluggedText,
  HintIrqAdjust,
  HintStartEmulator,
  PlayerDeviceNone,
  PlayerDeviceKeyboard,
  PlayerDeviceJoystick,
  Player1Label,
  Player2Label,
  Resolution640,
  Resolution800,
  Resolution1024,
  // ROM list
  NoRomFilesTitle,
  NoRomFilesText,
  ExtNameShowsChinese,
  ExtNameShowsEnglish,
  HintFilenameList,
  HintChineseNameList,
  HintEnglishNameList,
  HintSortByFileName,
  HintSortByGameName,
  HintSortByEnglishName,
  HintRomDirectory,
  HintDatabaseVersion,
  HintMessageLine,
  HintFilter,
  FilterPlaceholder,
  HintBrowseRomDirectory,
  ChooseRomDirectoryTitle,
  // Encyclopedia
  CartInfoDamagedTitle,
  CartInfoDamagedText,
  CartInfoSectionHeadTitle,
  CartInfoSectionHeadText,
  HintIntroduction,
  HintScreenshot,
  HintSecretText,
  HintWalkthrough,
  WalkthroughNone,
  // Header panel
  HeaderPrgSizePrefix,
  HeaderChrSizePrefix,
  HeaderSizeUnit,
  HeaderMapperPrefix,
  HeaderMismatchTitle,
  HeaderMismatchText,
  RepairReadOnlyTitle,
  RepairReadOnlyText,
  HeaderRepairedTitle,
  HeaderRepairedText,
  TrashFoundTitle,
  TrashFoundText,
  TrashClearedText,
  DefaultMessageTitle,
  // Start-up and personal settings
  ProgressLoadingPersonal,
  ProgressLoadingRecognition,
  ProgressLoadingEncyclopedia,
  ProgressInitialising,
  ProgressBuildingList,
  ClearPersonalTitle,
  ClearPersonalQuestion,
  HintClearPersonal,
  HintWindowed,
  FirstRunPromptChinese,
  FirstRunPromptEnglish,
  FirstRunConfirmChinese,
  FirstRunConfirmEnglish,
  // Problems with files, reported in the front-end's own words
  ErrorTitle,
  ConfigMissing,
  ConfigUnreadable,
  ConfigDamaged,
  ConfigTooManyItems,
  ConfigNoRomDirectory,
  ConfigNoEndMarker,
  ConfigWriteFailed,
  NoRomSelected,
  LineBreakInName,
  EmulatorStartFailed,
  EmulatorFailedTitle,
  EmulatorFailedText,  // %1: the exit status; the last log line follows
  EmulatorLogEmpty,
  PersonalUnreadable,
  PersonalDamaged,
  PersonalWriteFailed,
  RomHeaderUnreadable,
  RomHeaderTooShort,
  RomWriteFailed,
  StoredHeaderDamaged,
  Count
};

inline constexpr int kMessageCount = static_cast<int>(MessageId::Count);

struct MessageEntry {
  MessageId id;
  std::string_view chinese;
  std::string_view english;
};

// Indexed by MessageId.
std::span<const MessageEntry> AllMessages();

std::string_view MessageText(MessageId id, int language);

}  // namespace wrenfold
