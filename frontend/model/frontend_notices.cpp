#include "frontend/model/frontend_notices.h"

#include "frontend/model/model_messages.h"

namespace wrenfold {
namespace {

std::string Text(MessageId id, int language) {
  return std::string(MessageText(id, language));
}

Notice ErrorNotice(std::string chinese, std::string english) {
  return Notice{Text(MessageId::ErrorTitle, kLanguageChinese),
                Text(MessageId::ErrorTitle, kLanguageEnglish), std::move(chinese),
                std::move(english), NoticeIcon::Warning};
}

std::optional<Notice> ErrorNoticeFor(MessageId text) {
  if (text == MessageId::Count) return std::nullopt;
  return ErrorNotice(Text(text, kLanguageChinese), Text(text, kLanguageEnglish));
}

Notice DatabaseNotice(std::string_view chinesePrefix, std::string_view englishPrefix,
                      DataFileError error) {
  const DataFileErrorMessage message = DataFileErrorText(error);
  return ErrorNotice(std::string(chinesePrefix) + std::string(message.chinese),
                     std::string(englishPrefix) + std::string(message.english));
}

constexpr std::string_view kRecognitionPrefixChinese = "识别数据库（NESROMS.ENC）：";
constexpr std::string_view kRecognitionPrefixEnglish = "Recognition database (NESROMS.ENC): ";
constexpr std::string_view kEncyclopediaPrefixChinese = "大百科数据库（CARTINFO.ENC）：";
constexpr std::string_view kEncyclopediaPrefixEnglish = "Encyclopedia database (CARTINFO.ENC): ";

}  // namespace

std::string_view Notice::Title(int language) const {
  return language == kLanguageEnglish ? titleEnglish : titleChinese;
}

std::string_view Notice::Text(int language) const {
  return language == kLanguageEnglish ? textEnglish : textChinese;
}

Notice NoticeFromMessages(MessageId title, MessageId text, NoticeIcon icon) {
  return Notice{Text(title, kLanguageChinese), Text(title, kLanguageEnglish),
                Text(text, kLanguageChinese), Text(text, kLanguageEnglish), icon};
}

std::optional<Notice> NoticeForConfig(ConfigStatus status) {
  return ErrorNoticeFor(MessageFor(status));
}

std::optional<Notice> NoticeForPersonalSettings(PersonalSettingsStatus status) {
  return ErrorNoticeFor(MessageFor(status));
}

std::optional<Notice> NoticeForHeaderFile(HeaderFileStatus status) {
  if (status == HeaderFileStatus::ReadOnly)
    return NoticeFromMessages(MessageId::RepairReadOnlyTitle, MessageId::RepairReadOnlyText);
  return ErrorNoticeFor(MessageFor(status));
}

std::optional<Notice> NoticeForRecognitionLoad(const RecognitionDbLoadResult& result) {
  if (result.error == DataFileError::kNone) return std::nullopt;
  return DatabaseNotice(kRecognitionPrefixChinese, kRecognitionPrefixEnglish, result.error);
}

std::vector<Notice> NoticesForEncyclopediaLoad(const EncyclopediaLoadResult& result) {
  std::vector<Notice> notices;
  // One box for all damaged heads: a badly damaged file would otherwise ask for a click per entry.
  if (!result.badSectionHeads.empty())
    notices.push_back(NoticeFromMessages(MessageId::CartInfoSectionHeadTitle,
                                         MessageId::CartInfoSectionHeadText));
  if (result.error == DataFileError::kBadMagic) {
    notices.push_back(NoticeFromMessages(MessageId::CartInfoDamagedTitle,
                                         MessageId::CartInfoDamagedText, NoticeIcon::Critical));
  } else if (result.error != DataFileError::kNone) {
    notices.push_back(
        DatabaseNotice(kEncyclopediaPrefixChinese, kEncyclopediaPrefixEnglish, result.error));
  }
  return notices;
}

std::vector<Notice> NoticesForRomList(const RomList& list, std::string_view romDirectory) {
  std::vector<Notice> notices;
  if (list.folderUnreadable) {
    notices.push_back(
        ErrorNotice("无法读取ROM目录：" + std::string(romDirectory),
                    "The ROM directory cannot be read: " + std::string(romDirectory)));
    return notices;
  }
  if (list.noRomFiles) {
    notices.push_back(NoticeFromMessages(MessageId::NoRomFilesTitle, MessageId::NoRomFilesText));
    return notices;
  }
  bool checksumUnavailable = false;
  int unreadableFiles = 0;
  for (const RomListEntry& entry : list.entries) {
    if (entry.fileError == DataFileError::kChecksumUnavailable) {
      checksumUnavailable = true;
    } else if (entry.fileError != DataFileError::kNone) {
      ++unreadableFiles;
    }
  }
  if (checksumUnavailable) {
    const DataFileErrorMessage message = DataFileErrorText(DataFileError::kChecksumUnavailable);
    notices.push_back(
        ErrorNotice(std::string(message.chinese) + "所有ROM都将显示为未知ROM。",
                    std::string(message.english) + " Every ROM is listed as unknown."));
  }
  if (unreadableFiles > 0) {
    const std::string count = std::to_string(unreadableFiles);
    notices.push_back(
        ErrorNotice("有" + count + "个ROM文件无法读取或太短，已列为未知ROM。",
                    count + " ROM file(s) could not be read or are too short; they are listed as "
                            "unknown."));
  }
  return notices;
}

Notice NoDisplayDevicesNotice() {
  return ErrorNotice("未找到显示设备，模拟器将使用默认显示器。",
                     "No display device was found. The emulator will use its default display.");
}

Notice EmulatorStartFailedNotice(std::string_view program) {
  return ErrorNotice(
      Text(MessageId::EmulatorStartFailed, kLanguageChinese) + "\n" + std::string(program),
      Text(MessageId::EmulatorStartFailed, kLanguageEnglish) + "\n" + std::string(program));
}

}  // namespace wrenfold
