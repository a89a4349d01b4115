// Where a cartridge's save states, movie and battery RAM live: beside the ROM image, named
// after it. An existing file whose name differs only in letter case is used as it is, so saves
// copied from a system that ignores case are found and updated, not duplicated.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace wrenfold {

// The ROM path with the three characters at `extensionIndex` replaced by `extension` ("SV3",
// "MOV"): game.nes gives game.SV3. A file name too short for that gets ".SV3" added instead,
// so the name never reaches into the folder part of the path.
std::string ExtensionFileName(std::string_view romPath, int32_t extensionIndex,
                              std::string_view extension);

// The save state of slot 0-9: the characters "SV" and the slot's digit at the extension.
std::filesystem::path SlotFilePath(std::string_view romPath, int32_t extensionIndex, uint8_t slot);
// The movie: "MOV" at the extension.
std::filesystem::path MovieFilePath(std::string_view romPath, int32_t extensionIndex);
// The battery RAM: the ROM's base name with the extension "sav" (game.nes gives game.sav).
std::filesystem::path BatteryFilePath(std::string_view romPath);

// True when `path` names the ROM image itself (a ROM called game.SV3 or game.sav), which must
// never be written over.
bool IsTheRomImage(const std::filesystem::path& path, std::string_view romPath);

// One log line about a save file: "WHAT: PATH", and " (REASON)" when a reason is given.
void LogFileEvent(std::string_view what, const std::filesystem::path& path,
                  std::string_view reason = {});

}  // namespace wrenfold
