#include "frontend/model/data_file_error.h"

namespace wrenfold {
namespace {

struct ErrorDescription {
  DataFileError error;
  std::string_view messageId;
  DataFileErrorMessage text;
};

constexpr ErrorDescription kDescriptions[] = {
    {DataFileError::kNone, "", {"", ""}},
    {DataFileError::kFileMissing,
     "DbFileMissing",
     {"文件不存在或无法打开！", "The file is missing or cannot be opened."}},
    {DataFileError::kReadFailed,
     "DbReadFailed",
     {"读取文件时出错！", "The file could not be read."}},
    {DataFileError::kFileTooLarge,
     "DbFileTooLarge",
     {"文件太大，不是有效的数据库！", "The file is far too large to be a database."}},
    {DataFileError::kTruncated,
     "DbTruncated",
     {"数据库文件不完整，只读取了其中的一部分，请重新下载！",
      "The database file is cut short; only part of it was read. Redownload one!"}},
    {DataFileError::kBadCount,
     "DbBadCount",
     {"数据库的记录数无效，请重新下载！",
      "The record count of the database is invalid. Redownload one!"}},
    {DataFileError::kBadRecordNumber,
     "DbBadRecordNumber",
     {"数据库中有无效的记录编号，请重新下载！",
      "The database holds an invalid record number. Redownload one!"}},
    {DataFileError::kBadAliasCount,
     "DbBadAliasCount",
     {"数据库中有无效的别名数目，请重新下载！",
      "The database holds an invalid alias count. Redownload one!"}},
    {DataFileError::kBadMagic,
     "DbBadMagic",
     {"大百科数据库（CARTINFO.ENC）损坏，请重新下载！",
      "CartInfo.ENC is damaged or bad.Redownload one!"}},
    {DataFileError::kTooManyEntries,
     "DbTooManyEntries",
     {"大百科数据库的条目超过1024条，只读取了前1024条！",
      "The encyclopedia holds more than 1024 entries; only the first 1024 were read."}},
    {DataFileError::kBadTag,
     "DbBadTag",
     {"大百科数据库（CARTINFO.ENC）内部结构损坏！请重新下载！",
      "CartInfo.ENC holds an unknown block. Redownload one!"}},
    {DataFileError::kTooManySecrets,
     "DbTooManySecrets",
     {"大百科数据库中某条目的密技超过32个，请重新下载！",
      "An encyclopedia entry holds more than 32 secrets. Redownload one!"}},
    {DataFileError::kBadLink,
     "DbBadLink",
     {"大百科数据库中有无效的ROM编号，请重新下载！",
      "The encyclopedia links an invalid record number. Redownload one!"}},
    {DataFileError::kTextTooLong,
     "DbTextTooLong",
     {"文字长度超过255字节！", "A text is longer than 255 bytes."}},
    {DataFileError::kTooManyRecords,
     "DbTooManyRecords",
     {"记录数超过32767条！", "There are more than 32767 records."}},
    {DataFileError::kWriteFailed,
     "DbWriteFailed",
     {"无法写入文件！", "The file could not be written."}},
    {DataFileError::kRomTooShort,
     "RomTooShort",
     {"ROM文件太短，连文件头都不完整！", "The ROM file is shorter than its 16-byte header."}},
    {DataFileError::kChecksumUnavailable,
     "ChecksumUnavailable",
     {"无法加载校验库（libsumtab20.so）！",
      "The checksum library (libsumtab20.so) cannot be loaded."}},
};

const ErrorDescription& Describe(DataFileError error) {
  for (const ErrorDescription& description : kDescriptions)
    if (description.error == error) return description;
  return kDescriptions[0];
}

}  // namespace

std::string_view DataFileErrorMessageId(DataFileError error) {
  return Describe(error).messageId;
}

DataFileErrorMessage DataFileErrorText(DataFileError error) {
  return Describe(error).text;
}

}  // namespace wrenfold
