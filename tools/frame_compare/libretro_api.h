// The part of the public libretro interface that the reference host uses: the entry points a
// core exports and the few callback numbers it asks about. Declared here, from the published
// interface, so that nothing of a core's own source is needed to build the host.
#pragma once

#include <cstddef>
#include <cstdint>

namespace wrenfold::compare::libretro {

inline constexpr unsigned kApiVersion = 1;

// Environment calls (the experimental flag is masked off before they are compared).
inline constexpr unsigned kEnvExperimental = 0x10000;
inline constexpr unsigned kEnvGetSystemDirectory = 9;
inline constexpr unsigned kEnvSetPixelFormat = 10;
inline constexpr unsigned kEnvGetSaveDirectory = 31;

// Pixel formats a core may choose.
inline constexpr int kPixel0Rgb1555 = 0;
inline constexpr int kPixelXrgb8888 = 1;
inline constexpr int kPixelRgb565 = 2;

// The joypad and its button numbers.
inline constexpr unsigned kDeviceJoypad = 1;
inline constexpr unsigned kJoypadB = 0;
inline constexpr unsigned kJoypadSelect = 2;
inline constexpr unsigned kJoypadStart = 3;
inline constexpr unsigned kJoypadUp = 4;
inline constexpr unsigned kJoypadDown = 5;
inline constexpr unsigned kJoypadLeft = 6;
inline constexpr unsigned kJoypadRight = 7;
inline constexpr unsigned kJoypadA = 8;

struct SystemInfo {
  const char* libraryName;
  const char* libraryVersion;
  const char* validExtensions;
  bool needFullPath;
  bool blockExtract;
};

struct GameInfo {
  const char* path;
  const void* data;
  std::size_t size;
  const char* meta;
};

extern "C" {
using EnvironmentFn = bool (*)(unsigned command, void* data);
using VideoRefreshFn = void (*)(const void* data, unsigned width, unsigned height,
                                std::size_t pitch);
using AudioSampleFn = void (*)(int16_t left, int16_t right);
using AudioBatchFn = std::size_t (*)(const int16_t* data, std::size_t frames);
using InputPollFn = void (*)();
using InputStateFn = int16_t (*)(unsigned port, unsigned device, unsigned index, unsigned id);
}

}  // namespace wrenfold::compare::libretro
