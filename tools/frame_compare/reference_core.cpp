#include "tools/frame_compare/reference_core.h"

#include <dlfcn.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/frame_compare/libretro_api.h"

namespace wrenfold::compare {

namespace lr = libretro;

// The core's entry points, looked up by their published names.
struct ReferenceCore::Entry {
  void (*setEnvironment)(lr::EnvironmentFn) = nullptr;
  void (*setVideoRefresh)(lr::VideoRefreshFn) = nullptr;
  void (*setAudioSample)(lr::AudioSampleFn) = nullptr;
  void (*setAudioBatch)(lr::AudioBatchFn) = nullptr;
  void (*setInputPoll)(lr::InputPollFn) = nullptr;
  void (*setInputState)(lr::InputStateFn) = nullptr;
  void (*init)() = nullptr;
  void (*deinit)() = nullptr;
  unsigned (*apiVersion)() = nullptr;
  void (*getSystemInfo)(lr::SystemInfo*) = nullptr;
  bool (*loadGame)(const lr::GameInfo*) = nullptr;
  void (*unloadGame)() = nullptr;
  void (*run)() = nullptr;
  void (*setControllerPortDevice)(unsigned, unsigned) = nullptr;  // optional
};

namespace {

ReferenceCore* activeCore = nullptr;

extern "C" bool OnEnvironment(unsigned command, void* data) {
  return activeCore != nullptr && activeCore->Environment(command, data);
}

extern "C" void OnVideo(const void* data, unsigned width, unsigned height, std::size_t pitch) {
  if (activeCore != nullptr) activeCore->TakeVideo(data, width, height, pitch);
}

extern "C" void OnAudioSample(int16_t, int16_t) {}

extern "C" std::size_t OnAudioBatch(const int16_t*, std::size_t frames) {
  return frames;
}

extern "C" void OnInputPoll() {}

extern "C" int16_t OnInputState(unsigned port, unsigned device, unsigned, unsigned id) {
  return activeCore != nullptr ? activeCore->ButtonState(port, device, id) : 0;
}

template <typename Function>
bool Find(void* library, const char* symbol, Function& function) {
  void* address = dlsym(library, symbol);
  if (address == nullptr) return false;
  // POSIX guarantees that a dlsym result can be used as a function pointer.
  std::memcpy(&function, &address, sizeof function);
  return true;
}

// Button number of each padState bit, bit 0 first.
constexpr std::array<unsigned, 8> kJoypadIds = {lr::kJoypadA,    lr::kJoypadB,    lr::kJoypadSelect,
                                                lr::kJoypadStart, lr::kJoypadUp,   lr::kJoypadDown,
                                                lr::kJoypadLeft,  lr::kJoypadRight};

// The three pixel formats a core may hand over, to 8-bit channels.
Rgb DecodePixel(const uint8_t* row, unsigned x, int format) {
  if (format == lr::kPixelXrgb8888) {
    uint32_t p;
    std::memcpy(&p, row + 4 * x, sizeof p);
    return {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)};
  }
  uint16_t p;
  std::memcpy(&p, row + 2 * x, sizeof p);
  const auto expand5 = [](unsigned v) { return static_cast<uint8_t>((v << 3) | (v >> 2)); };
  if (format == lr::kPixelRgb565) {
    const unsigned green = (p >> 5) & 0x3F;
    return {expand5((p >> 11) & 0x1F), static_cast<uint8_t>((green << 2) | (green >> 4)),
            expand5(p & 0x1F)};
  }
  return {expand5((p >> 10) & 0x1F), expand5((p >> 5) & 0x1F), expand5(p & 0x1F)};
}

}  // namespace

ReferenceCore::~ReferenceCore() {
  Close();
}

std::optional<std::string> ReferenceCore::Open(const std::string& corePath,
                                               const std::string& romPath) {
  if (activeCore != nullptr) return "another reference core is already open";
  std::ifstream file(romPath, std::ios::binary);
  if (!file) return "cannot read the cartridge \"" + romPath + "\"";
  rom.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());

  library = dlopen(corePath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return "cannot load the core \"" + corePath + "\": " + dlerror();
  entry = new Entry;
  const bool complete =
      Find(library, "retro_set_environment", entry->setEnvironment) &&
      Find(library, "retro_set_video_refresh", entry->setVideoRefresh) &&
      Find(library, "retro_set_audio_sample", entry->setAudioSample) &&
      Find(library, "retro_set_audio_sample_batch", entry->setAudioBatch) &&
      Find(library, "retro_set_input_poll", entry->setInputPoll) &&
      Find(library, "retro_set_input_state", entry->setInputState) &&
      Find(library, "retro_init", entry->init) && Find(library, "retro_deinit", entry->deinit) &&
      Find(library, "retro_api_version", entry->apiVersion) &&
      Find(library, "retro_get_system_info", entry->getSystemInfo) &&
      Find(library, "retro_load_game", entry->loadGame) &&
      Find(library, "retro_unload_game", entry->unloadGame) && Find(library, "retro_run", entry->run);
  if (!complete) {
    Close();
    return "\"" + corePath + "\" is not a libretro core";
  }
  Find(library, "retro_set_controller_port_device", entry->setControllerPortDevice);
  if (entry->apiVersion() != lr::kApiVersion) {
    Close();
    return "the core speaks another libretro interface version";
  }

  // A core may look for its own files in the system folder; an empty one of ours will do.
  std::error_code error;
  systemDirectory = (std::filesystem::temp_directory_path(error) / "wrenfold-reference").string();
  std::filesystem::create_directories(systemDirectory, error);

  activeCore = this;
  entry->setEnvironment(OnEnvironment);
  entry->setVideoRefresh(OnVideo);
  entry->setAudioSample(OnAudioSample);
  entry->setAudioBatch(OnAudioBatch);
  entry->setInputPoll(OnInputPoll);
  entry->setInputState(OnInputState);
  entry->init();

  lr::SystemInfo info{};
  entry->getSystemInfo(&info);
  name = info.libraryName != nullptr ? info.libraryName : "reference";

  const lr::GameInfo game{romPath.c_str(), rom.data(), rom.size(), nullptr};
  if (!entry->loadGame(&game)) {
    Close();
    return "the reference core rejected the cartridge";
  }
  gameLoaded = true;
  if (entry->setControllerPortDevice != nullptr) {
    entry->setControllerPortDevice(0, lr::kDeviceJoypad);
  }
  return std::nullopt;
}

void ReferenceCore::Close() {
  if (entry != nullptr && activeCore == this) {
    if (gameLoaded) entry->unloadGame();
    entry->deinit();
  }
  gameLoaded = false;
  if (activeCore == this) activeCore = nullptr;
  delete entry;
  entry = nullptr;
  // The library stays loaded until the program ends (the tool runs one core anyway): a core
  // may leave allocations behind, and a leak checker can name the core only while it is
  // loaded (scripts/compare-frames.sh tells LeakSanitizer to leave the core's leaks alone).
  library = nullptr;
}

void ReferenceCore::RunFrame(uint8_t buttons) {
  if (!gameLoaded) return;
  heldButtons = buttons;
  entry->run();
}

bool ReferenceCore::Environment(unsigned command, void* data) {
  switch (command & ~lr::kEnvExperimental) {
    case lr::kEnvSetPixelFormat:
      if (data == nullptr) return false;
      std::memcpy(&pixelFormat, data, sizeof pixelFormat);
      return pixelFormat == lr::kPixel0Rgb1555 || pixelFormat == lr::kPixelXrgb8888 ||
             pixelFormat == lr::kPixelRgb565;
    case lr::kEnvGetSystemDirectory:
    case lr::kEnvGetSaveDirectory: {
      if (data == nullptr) return false;
      const char* directory = systemDirectory.c_str();
      std::memcpy(data, &directory, sizeof directory);
      return true;
    }
    default:  // no options: the core's defaults
      return false;
  }
}

void ReferenceCore::TakeVideo(const void* data, unsigned width, unsigned height,
                              std::size_t pitch) {
  if (data == nullptr) return;  // the previous picture again
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.pixels.resize(static_cast<std::size_t>(width) * height);
  const auto* bytes = static_cast<const uint8_t*>(data);
  for (unsigned y = 0; y < height; ++y) {
    const uint8_t* row = bytes + y * pitch;
    for (unsigned x = 0; x < width; ++x) {
      picture.pixels[static_cast<std::size_t>(y) * width + x] = DecodePixel(row, x, pixelFormat);
    }
  }
}

int16_t ReferenceCore::ButtonState(unsigned port, unsigned device, unsigned id) const {
  if (port != 0 || device != lr::kDeviceJoypad) return 0;
  for (std::size_t bit = 0; bit < kJoypadIds.size(); ++bit) {
    if (kJoypadIds[bit] == id) return (heldButtons >> bit) & 1;
  }
  return 0;
}

}  // namespace wrenfold::compare
