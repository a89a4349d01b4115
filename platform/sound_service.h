// The sound service the emulator plays through: several looping one-second buffers of
// 16-bit mono samples, each with its own volume and pan, mixed by the service and written by
// whole-buffer lock and unlock. Buffers that play advance together from one shared play
// position, so every started buffer stays in step with the others.
//
// Results are the service's own codes: 0 is success, a negative code is a failure the caller
// may log by number. Every call comes from one thread (the emulation thread); the service
// mixes on its own thread.
#pragma once

#include <cstdint>

namespace wrenfold {

using SoundResult = int32_t;

inline constexpr SoundResult kSoundOk = 0;
// The object is not in a state that allows the call (not open, buffer locked twice, ...).
inline constexpr SoundResult kSoundInvalidCall = static_cast<SoundResult>(0x88780032u);
// An argument is out of range or names no buffer.
inline constexpr SoundResult kSoundInvalidParam = static_cast<SoundResult>(0x80070057u);
// The primary buffer's samples cannot be locked by the program.
inline constexpr SoundResult kSoundPriorityNeeded = static_cast<SoundResult>(0x88780046u);
// The buffer was created without the control (volume or pan) the call asks for.
inline constexpr SoundResult kSoundControlUnavailable = static_cast<SoundResult>(0x8878001Eu);
// The wave format is not the one the service plays.
inline constexpr SoundResult kSoundBadFormat = static_cast<SoundResult>(0x88780064u);
// No output device could be opened.
inline constexpr SoundResult kSoundNoDriver = static_cast<SoundResult>(0x88780078u);
// The service is already open.
inline constexpr SoundResult kSoundAlreadyOpen = static_cast<SoundResult>(0x88780082u);
// Every buffer slot is in use.
inline constexpr SoundResult kSoundOutOfMemory = static_cast<SoundResult>(0x8007000Eu);

constexpr bool SoundFailed(SoundResult result) {
  return result < 0;
}

inline constexpr uint32_t kSoundSampleRate = 22050;
inline constexpr uint32_t kSoundBufferSamples = 22050;  // one second
inline constexpr uint32_t kSoundBufferBytes = kSoundBufferSamples * 2;

// Volume and pan are attenuations in hundredths of a decibel. Volume 0 is full and
// kSoundVolumeMin is silence; a positive pan attenuates the left side by that much, a
// negative pan the right side.
inline constexpr int32_t kSoundVolumeMax = 0;
inline constexpr int32_t kSoundVolumeMin = -10000;
inline constexpr int32_t kSoundPanLeft = -10000;
inline constexpr int32_t kSoundPanCenter = 0;
inline constexpr int32_t kSoundPanRight = 10000;

inline constexpr uint16_t kWaveFormatPcm = 1;

struct SoundWaveFormat {
  uint16_t formatTag;
  uint16_t channels;
  uint32_t samplesPerSecond;
  uint32_t bytesPerSecond;
  uint16_t blockAlign;
  uint16_t bitsPerSample;
};

// The only format the service plays: PCM, mono, 22050 samples a second, 16 bits.
inline constexpr SoundWaveFormat kSoundWaveFormat{kWaveFormatPcm,       1, kSoundSampleRate,
                                                  kSoundSampleRate * 2, 2, 16};

constexpr bool operator==(const SoundWaveFormat& a, const SoundWaveFormat& b) {
  return a.formatTag == b.formatTag && a.channels == b.channels &&
         a.samplesPerSecond == b.samplesPerSecond && a.bytesPerSecond == b.bytesPerSecond &&
         a.blockAlign == b.blockAlign && a.bitsPerSample == b.bitsPerSample;
}

struct SoundBufferDescription {
  uint32_t bytes = kSoundBufferBytes;  // must be one second of the format
  bool controlVolume = true;
  bool controlPan = false;
  // Placement hints (static data, mixing in sound hardware or in software); accepted and
  // ignored, as one mixer plays every buffer.
  bool staticBuffer = false;
  bool forceSoftware = false;
};

// 0 never names a buffer.
using SoundBufferHandle = uint32_t;
inline constexpr SoundBufferHandle kNoSoundBuffer = 0;

// The whole sample memory of a locked buffer; valid until the buffer is unlocked.
struct SoundLockedRegion {
  void* data = nullptr;
  uint32_t bytes = 0;

  int16_t* Samples() const { return static_cast<int16_t*>(data); }
  uint32_t SampleCount() const { return bytes / 2; }
};

class SoundService {
 public:
  virtual ~SoundService() = default;

  // Opens the default output device.
  virtual SoundResult Open() = 0;
  // Stops the device and releases every buffer that is left. Safe to call when not open.
  virtual void Close() = 0;

  // The primary buffer stands for the output itself: it takes the output format, its volume
  // scales the whole mix, and it holds no samples the program could lock.
  virtual SoundResult CreatePrimaryBuffer(SoundBufferHandle& primary) = 0;
  virtual SoundResult SetFormat(SoundBufferHandle primary, const SoundWaveFormat& format) = 0;

  virtual SoundResult CreateBuffer(const SoundBufferDescription& description,
                                   const SoundWaveFormat& format, SoundBufferHandle& buffer) = 0;
  virtual SoundResult GetFormat(SoundBufferHandle buffer, SoundWaveFormat& format) = 0;

  virtual SoundResult SetVolume(SoundBufferHandle buffer, int32_t hundredthsOfDb) = 0;
  virtual SoundResult SetPan(SoundBufferHandle buffer, int32_t hundredthsOfDb) = 0;

  // Moves the shared play position (a sample index) while no buffer plays; buffers that
  // play are never moved apart, so the call fails while any does.
  virtual SoundResult SetPlayPosition(SoundBufferHandle buffer, uint32_t sampleIndex) = 0;

  // Locks the whole buffer; the mixer waits while any buffer is locked, so lock briefly.
  virtual SoundResult Lock(SoundBufferHandle buffer, SoundLockedRegion& region) = 0;
  virtual SoundResult Unlock(SoundBufferHandle buffer) = 0;

  // Starts the buffer looping at the shared play position, in step with those that play.
  virtual SoundResult PlayLooping(SoundBufferHandle buffer) = 0;
  virtual SoundResult Stop(SoundBufferHandle buffer) = 0;
  virtual SoundResult Release(SoundBufferHandle buffer) = 0;

  // The sample index up to which the program has written (the end of its last frame), so
  // the service can tell when playback overtakes the written samples or writing laps playback.
  virtual void ReportWritePosition(uint32_t sampleIndex) = 0;
  // Moves the write position to `sampleIndex` without counting the jump as writing past
  // unplayed samples: the program re-synchronises its writing with playback.
  virtual void ResyncWritePosition(uint32_t sampleIndex) = 0;
  // How many times playback and writing have crossed since the service was opened.
  virtual uint32_t GlitchCount() const = 0;
  // The sample index the playing buffers will sound next.
  virtual uint32_t CurrentPlayPosition() const = 0;
};

}  // namespace wrenfold
