#include "emulator/host/battery_ram.h"

#include <cstring>
#include <span>
#include <system_error>
#include <vector>

#include "emulator/host/replacing_file.h"
#include "emulator/host/save_file_paths.h"
#include "emulator/machine_state/io_registers.h"
#include "formats/ines_header.h"

namespace wrenfold {
namespace {

constexpr std::string_view kLoaded = "Battery RAM loaded";
constexpr std::string_view kIgnored = "Battery RAM ignored";
constexpr std::string_view kSaved = "Battery RAM saved";
constexpr std::string_view kNotSaved = "Battery RAM not saved";

}  // namespace

void FindBatteryRam(const MachineState& machine, std::string_view romPath, BatteryRam& battery) {
  battery = BatteryRam{};
  if (machine.header.batteryFlag == 0 || romPath.empty()) return;
  const std::filesystem::path path = BatteryFilePath(romPath);
  if (IsTheRomImage(path, romPath)) {
    LogFileEvent(kIgnored, path, "the cartridge's own file");
    return;
  }
  battery.path = path;
  battery.writeBack = true;
}

void LoadBatteryRam(MachineState& machine, BatteryRam& battery) {
  if (battery.path.empty()) return;
  std::error_code error;
  if (!std::filesystem::exists(battery.path, error)) return;
  std::vector<uint8_t> bytes;
  if (!ReadFileStart(battery.path, kBatteryRamSize, bytes)) {
    battery.writeBack = false;
    LogFileEvent(kIgnored, battery.path, "cannot read the file");
    return;
  }
  if (bytes.size() != kBatteryRamSize) {
    battery.writeBack = false;
    LogFileEvent(kIgnored, battery.path, "not the size of the cartridge RAM");
    return;
  }
  uint8_t trainer[kTrainerSize];
  std::memcpy(trainer, machine.cpuMem + kTrainerAddress, kTrainerSize);
  std::memcpy(machine.cpuMem + kBatteryRamStart, bytes.data(), kBatteryRamSize);
  // The console loads a trainer into this RAM at every power-on.
  if (machine.header.trainerFlag)
    std::memcpy(machine.cpuMem + kTrainerAddress, trainer, kTrainerSize);
  LogFileEvent(kLoaded, battery.path);
}

void SaveBatteryRam(const MachineState& machine, BatteryRam& battery) {
  if (battery.path.empty()) return;
  if (!battery.writeBack) {
    LogFileEvent(kNotSaved, battery.path, "kept the file that was not loaded");
    return;
  }
  if (!ReplaceFileContents(battery.path,
                           std::span(machine.cpuMem + kBatteryRamStart, kBatteryRamSize))) {
    LogFileEvent(kNotSaved, battery.path, "cannot write the file");
    return;
  }
  LogFileEvent(kSaved, battery.path);
}

}  // namespace wrenfold
