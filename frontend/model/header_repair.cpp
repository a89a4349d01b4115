#include "frontend/model/header_repair.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <span>

#include "files/regular_file.h"
#include "frontend/model/file_access.h"
#include "frontend/model/number_text.h"
#include "frontend/model/ui_text.h"

namespace wrenfold {

namespace {

constexpr int kPrgUnitKb = 16;
constexpr int kChrUnitKb = 8;
constexpr int kTrashStart = 8;  // bytes 8 to 15 are zero in a clean header
constexpr int kTrashCheckEnd = 14;
constexpr int kMapperHighByte = 7;

std::string ErrnoText(int error) {
  return std::strerror(error);
}

// Opens the ROM when it is a regular file of at least a header's length; -1 with `status` set
// otherwise. A FIFO or device is never opened, so nothing waits on one.
int OpenRomFile(const std::filesystem::path& path, int flags, HeaderFileStatus& status,
                std::string& detail) {
  RegularFileStatus opened;
  int error = 0;
  int fd = OpenRegularFile(path, flags, opened, error);
  if (fd < 0) {
    status =
        (error == EACCES || error == EPERM || error == EROFS) && (flags & O_ACCMODE) != O_RDONLY
            ? HeaderFileStatus::ReadOnly
            : HeaderFileStatus::CannotOpen;
    detail = path.string() + ": " + RegularFileProblemText(opened, error);
    return -1;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || info.st_size < kInesHeaderSize) {
    status = HeaderFileStatus::TooShort;
    detail = path.string() + ": " + std::to_string(info.st_size) + " bytes";
    close(fd);
    return -1;
  }
  return fd;
}

bool ReadExactly(int fd, std::span<uint8_t> bytes, off_t offset) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t got =
        pread(fd, bytes.data() + done, bytes.size() - done, offset + static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<size_t>(got);
  }
  return true;
}

bool WriteExactly(int fd, std::span<const uint8_t> bytes, off_t offset) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t put =
        pwrite(fd, bytes.data() + done, bytes.size() - done, offset + static_cast<off_t>(done));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
}

// The header lies inside the file's first block and is written in place, so the file keeps
// its identity (inode, links, owner, permissions), which a copy-and-rename of a whole ROM would
// not. A write that fails part-way is undone with the header's original bytes.
RepairResult WriteHeaderRange(int fd, const std::filesystem::path& path,
                              std::span<const uint8_t> bytes, off_t offset,
                              const RomHeaderBytes& original) {
  int firstError = 0;
  const HeaderWriteTarget target{[&](std::span<const uint8_t> range, size_t at) {
                                   const bool written =
                                       WriteExactly(fd, range, static_cast<off_t>(at));
                                   if (!written && firstError == 0) firstError = errno;
                                   return written;
                                 },
                                 [&] {
                                   const bool synced = fsync(fd) == 0;
                                   if (!synced && firstError == 0) firstError = errno;
                                   return synced;
                                 }};
  bool ok = WriteHeaderOrRestore(target, bytes, static_cast<size_t>(offset), original);
  if (close(fd) != 0 && ok) {
    ok = false;
    firstError = errno;
  }
  RepairResult result;
  if (!ok) {
    result.status = HeaderFileStatus::WriteFailed;
    result.detail = path.string() + ": " + ErrnoText(firstError);
    return result;
  }
  result.status = HeaderFileStatus::Ok;
  return result;
}

// Opens the ROM for a repair and reads the header it holds now.
int OpenRomForRepair(const std::filesystem::path& romPath, RomHeaderBytes& current,
                     RepairResult& result) {
  if (IsWriteProtected(romPath)) {
    result.status = HeaderFileStatus::ReadOnly;
    return -1;
  }
  int fd = OpenRomFile(romPath, O_RDWR, result.status, result.detail);
  if (fd < 0) return -1;
  if (!ReadExactly(fd, current, 0)) {
    result.status = HeaderFileStatus::CannotOpen;
    result.detail = romPath.string() + ": " + ErrnoText(errno);
    close(fd);
    return -1;
  }
  return fd;
}

std::string SizeText(MessageId prefix, int kilobytes, int language) {
  return std::string(MessageText(prefix, language)) + FormatSignedDecimal(kilobytes) +
         std::string(MessageText(MessageId::HeaderSizeUnit, language));
}

}  // namespace

int PanelMapperNumber(const RomHeaderBytes& header) {
  return (header[6] & 0xF0) / 16 | (header[7] & 0xF0);
}

bool HeaderHasTrash(const RomHeaderBytes& header) {
  for (int i = kTrashStart; i <= kTrashCheckEnd; ++i) {
    if (header[i] != 0) return true;
  }
  return false;
}

HeaderPanelView BuildHeaderPanel(const RomHeaderBytes& fileHeader, const RomHeaderBytes* expected,
                                 int language) {
  uint8_t raw[kInesHeaderSize];
  std::copy(fileHeader.begin(), fileHeader.end(), raw);
  const InesHeader decoded = DecodeInesHeader(raw);

  HeaderPanelView view;
  view.prgSize.text =
      SizeText(MessageId::HeaderPrgSizePrefix, decoded.prgBankCount * kPrgUnitKb, language);
  view.chrSize.text =
      SizeText(MessageId::HeaderChrSizePrefix, decoded.chrBankCount * kChrUnitKb, language);
  const int mapper = PanelMapperNumber(fileHeader);
  view.mapper.text = std::string(MessageText(MessageId::HeaderMapperPrefix, language)) +
                     FormatSignedDecimal(mapper);
  view.hasTrash = HeaderHasTrash(fileHeader);

  const bool fileFlags[kHeaderFlagCount] = {decoded.mirrorVertical, decoded.battery,
                                            decoded.trainer, decoded.fourScreen};
  for (int flag = 0; flag < kHeaderFlagCount; ++flag) {
    view.flags[flag] = {fileFlags[flag], kPanelGreen};
  }
  if (!expected) return view;
  // A stored header without the magic is damaged: nothing to compare with or to write.
  if (!HasInesMagic(*expected)) {
    view.storedHeaderDamaged = true;
    return view;
  }

  auto compare = [&view](HeaderTextView& item, int fileValue, int expectedValue) {
    if (fileValue == expectedValue) return;
    item.colour = kPanelRed;
    view.differsFromExpected = true;
  };
  compare(view.prgSize, fileHeader[4], (*expected)[4]);
  compare(view.chrSize, fileHeader[5], (*expected)[5]);
  compare(view.mapper, mapper, PanelMapperNumber(*expected));
  for (int flag = 0; flag < kHeaderFlagCount; ++flag) {
    const bool expectedBit = ((*expected)[6] >> flag) & 1;
    if (fileFlags[flag] != expectedBit) {
      view.flags[flag] = {true, kPanelRed};
      view.differsFromExpected = true;
    }
  }
  return view;
}

HeaderReadResult ReadRomHeader(const std::filesystem::path& romPath) {
  HeaderReadResult result;
  int fd = OpenRomFile(romPath, O_RDONLY, result.status, result.detail);
  if (fd < 0) return result;
  bool ok = ReadExactly(fd, result.bytes, 0);
  int error = errno;
  close(fd);
  if (!ok) {
    result.status = HeaderFileStatus::CannotOpen;
    result.detail = romPath.string() + ": " + ErrnoText(error);
    return result;
  }
  result.status = HeaderFileStatus::Ok;
  return result;
}

bool HasInesMagic(const RomHeaderBytes& header) {
  return std::equal(std::begin(kInesMagic), std::end(kInesMagic), header.begin());
}

bool WriteHeaderOrRestore(const HeaderWriteTarget& target, std::span<const uint8_t> bytes,
                          size_t offset, const RomHeaderBytes& original) {
  if (target.write(bytes, offset) && target.flush()) return true;
  // Best effort: when the disk takes nothing more, the failure is reported all the same.
  if (target.write(original, 0)) target.flush();
  return false;
}

RepairResult WriteExpectedHeader(const std::filesystem::path& romPath,
                                 const RomHeaderBytes& expected) {
  RepairResult result;
  // Writing a header without the magic would make the image unloadable.
  if (!HasInesMagic(expected)) {
    result.status = HeaderFileStatus::StoredHeaderDamaged;
    return result;
  }
  RomHeaderBytes current{};
  int fd = OpenRomForRepair(romPath, current, result);
  if (fd < 0) return result;
  return WriteHeaderRange(fd, romPath, expected, 0, current);
}

RepairResult ClearHeaderTrash(const std::filesystem::path& romPath) {
  RepairResult result;
  RomHeaderBytes current{};
  int fd = OpenRomForRepair(romPath, current, result);
  if (fd < 0) return result;
  // "Di" at bytes 7-8 is the start of a signature an old header tool wrote over the tail;
  // its "D" sits in the mapper's high nibble.
  const int first = current[7] == 'D' && current[8] == 'i' ? kMapperHighByte : kTrashStart;
  static constexpr uint8_t kZeros[kInesHeaderSize] = {};
  return WriteHeaderRange(
      fd, romPath, std::span<const uint8_t>(kZeros, static_cast<size_t>(kInesHeaderSize - first)),
      first, current);
}

}  // namespace wrenfold
