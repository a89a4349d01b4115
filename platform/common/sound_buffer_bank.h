// The buffers, play state and mixing that every sound backend shares. A backend adds only its
// device: it opens and closes it and calls MixAndAdvance whenever the device wants samples
// (the SDL audio callback, or a test asking the headless backend for a stretch of output).
// Header-only so both backend libraries carry the same code.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/common/sound_mix.h"
#include "platform/sound_service.h"

namespace wrenfold {

class SoundBufferBank : public SoundService {
 public:
  // Primary plus channel buffers; the mixing pass gathers the playing ones into a fixed array.
  static constexpr std::size_t kMaxBuffers = 32;

  SoundResult Open() override {
    {
      std::lock_guard<std::recursive_mutex> guard(mutex);
      if (open) return kSoundAlreadyOpen;
    }
    // The device's thread may already call MixAndAdvance; it sees a closed bank until below.
    const SoundResult result = OpenDevice();
    if (SoundFailed(result)) return result;
    std::lock_guard<std::recursive_mutex> guard(mutex);
    open = true;
    playPosition = 0;
    writeReported = false;
    lead = 0;
    glitches = 0;
    return kSoundOk;
  }

  void Close() override {
    uint32_t heldLocks = 0;
    {
      std::lock_guard<std::recursive_mutex> guard(mutex);
      if (!open) return;
      for (auto& slot : slots) {
        if (slot && slot->locked) slot->locked = false;
      }
      heldLocks = lockedCount;
      lockedCount = 0;
    }
    // Locks still held by the caller would keep the device thread waiting forever.
    for (uint32_t i = 0; i < heldLocks; ++i) mutex.unlock();
    CloseDevice();
    std::lock_guard<std::recursive_mutex> guard(mutex);
    for (auto& slot : slots) slot.reset();
    open = false;
  }

  SoundResult CreatePrimaryBuffer(SoundBufferHandle& primary) override {
    std::lock_guard<std::recursive_mutex> guard(mutex);
    primary = kNoSoundBuffer;
    if (!open) return kSoundInvalidCall;
    for (const auto& slot : slots) {
      if (slot && slot->primary) return kSoundInvalidCall;
    }
    auto buffer = std::make_unique<Buffer>();
    buffer->primary = true;
    buffer->controlVolume = true;
    buffer->format = kSoundWaveFormat;
    return Insert(std::move(buffer), primary);
  }

  SoundResult SetFormat(SoundBufferHandle primary, const SoundWaveFormat& format) override {
    std::lock_guard<std::recursive_mutex> guard(mutex);
    Buffer* buffer = Find(primary);
    if (buffer == nullptr) return kSoundInvalidParam;
    if (!buffer->primary) return kSoundInvalidCall;
    if (!(format == kSoundWaveFormat)) return kSoundBadFormat;
    buffer->format = format;
    return kSoundOk;
  }

  SoundResult CreateBuffer(const SoundBufferDescription& description, const SoundWaveFormat& format,
                           SoundBufferHandle& handle) override {
    std::lock_guard<std::recursive_mutex> guard(mutex);
    handle = kNoSoundBuffer;
    if (!open) return kSoundInvalidCall;
    if (!(format == kSoundWaveFormat)) return kSoundBadFormat;
    if (description.bytes != kSoundBufferBytes) return kSoundInvalidParam;
    auto buffer = std::make_unique<Buffer>();
    buffer->controlVolume = description.controlVolume;
    buffer->controlPan = description.controlPan;
    buffer->format = format;
    buffer->samples.assign(kSoundBufferSamples, 0);
    return Insert(std::move(buffer), handle);
  }

  SoundResult GetFormat(SoundBufferHandle handle, SoundWaveFormat& format) override {
    std::lock_guard<std::recursive_mutex> guard(mutex);
    const Buffer* buffer = Find(handle);
    if (buffer == nullptr) return kSoundInvalidParam;
    format = buffer->format;
    return kSoundOk;
  }

  SoundResult SetVolume(SoundBufferHandle handle, int32_t hundredthsOfDb) override {
    std::lock_guard<std::recursive_mutex> guard(mutex);
    Buffer* buffer = Find(handle);
    if (buffer == nullptr) return kSoundInvalidParam;
    if (!buffer->controlVolume) return kSoundControlUnavailable;
    if (hundredthsOfDb < kSoundVolumeMin || hundredthsOfDb > kSoundVolumeMax) {
      return kSoundInvalidParam;
    }
    buffer->volume = hundredthsOfDb;
    return kSoundOk;
  }

  SoundResult SetPan(SoundBufferHandle handle, int32_t hundredthsOfDb) override {
    std::lock_guard<std::recursive_mutex> guard(mutex);
    Buffer* buffer = Find(handle);
    if (buffer == nullptr) return kSoundInvalidParam;
    if (!buffer->controlPan) return kSoundControlUnavailable;
    if (hundredthsOfDb < kSoundPanLeft || hundredthsOfDb > kSoundPanRight) {
      return kSoundInvalidParam;
    }
    buffer->pan = hundredthsOfDb;
    return kSoundOk;
  }

  SoundResult SetPlayPosition(SoundBufferHandle handle, uint32_t sampleIndex) override {
    std::lock_guard<std::recursive_mutex> guard(mutex);
    const Buffer* buffer = Find(handle);
    if (buffer == nullptr || sampleIndex >= kSoundBufferSamples) return kSoundInvalidParam;
    if (buffer->primary || AnyPlaying()) return kSoundInvalidCall;
    playPosition = sampleIndex;
    if (writeReported) lead = RingDistance(playPosition, lastWritePosition);
    return kSoundOk;
  }

  SoundResult Lock(SoundBufferHandle handle, SoundLockedRegion& region) override {
    region = {};
    mutex.lock();  // held until Unlock, so the mixer never reads a half-written frame
    Buffer* buffer = Find(handle);
    SoundResult result = kSoundOk;
    if (buffer == nullptr) {
      result = kSoundInvalidParam;
    } else if (buffer->primary) {
      result = kSoundPriorityNeeded;
    } else if (buffer->locked) {
      result = kSoundInvalidCall;
    }
    if (SoundFailed(result)) {
      mutex.unlock();
      return result;
    }
    buffer->locked = true;
    ++lockedCount;
    region.data = buffer->samples.data();
    region.bytes = static_cast<uint32_t>(buffer->samples.size() * sizeof(int16_t));
    return kSoundOk;
  }

  SoundResult Unlock(SoundBufferHandle handle) override {
    std::lock_guard<std::recursive_mutex> guard(mutex);
    Buffer* buffer = Find(handle);
    if (buffer == nullptr) return kSoundInvalidParam;
    if (!buffer->locked) return kSoundInvalidCall;
    buffer->locked = false;
    --lockedCount;
    mutex.unlock();  // the hold taken by Lock; the guard releases its own
    return kSoundOk;
  }

  SoundResult PlayLooping(SoundBufferHandle handle) override {
    std::lock_guard<std::recursive_mutex> guard(mutex);
    Buffer* buffer = Find(handle);
    if (buffer == nullptr) return kSoundInvalidParam;
    if (!AnyPlaying() && writeReported) lead = RingDistance(playPosition, lastWritePosition);
    buffer->playing = true;
    return kSoundOk;
  }

  SoundResult Stop(SoundBufferHandle handle) override {
    std::lock_guard<std::recursive_mutex> guard(mutex);
    Buffer* buffer = Find(handle);
    if (buffer == nullptr) return kSoundInvalidParam;
    buffer->playing = false;
    return kSoundOk;
  }

  SoundResult Release(SoundBufferHandle handle) override {
    std::lock_guard<std::recursive_mutex> guard(mutex);
    Buffer* buffer = Find(handle);
    if (buffer == nullptr) return kSoundInvalidParam;
    if (buffer->locked) return kSoundInvalidCall;
    slots[SlotOf(handle)].reset();
    return kSoundOk;
  }

  void ReportWritePosition(uint32_t sampleIndex) override {
    std::lock_guard<std::recursive_mutex> guard(mutex);
    if (!open) return;
    sampleIndex %= kSoundBufferSamples;
    if (!writeReported || !AnyPlaying()) {
      // Nothing plays yet: there is nothing to overtake, only the distance to remember.
      writeReported = true;
      lastWritePosition = sampleIndex;
      lead = RingDistance(playPosition, sampleIndex);
      return;
    }
    const int64_t advance = RingDistance(lastWritePosition, sampleIndex);
    lastWritePosition = sampleIndex;
    lead += advance;
    if (lead > static_cast<int64_t>(kSoundBufferSamples)) {
      // Writing went round the ring past samples that were still to be played.
      ++glitches;
      lead -= kSoundBufferSamples;
    }
  }

  void ResyncWritePosition(uint32_t sampleIndex) override {
    std::lock_guard<std::recursive_mutex> guard(mutex);
    if (!open) return;
    writeReported = true;
    lastWritePosition = sampleIndex % kSoundBufferSamples;
    lead = RingDistance(playPosition, lastWritePosition);
  }

  uint32_t CurrentPlayPosition() const override { return PlayPosition(); }

  uint32_t GlitchCount() const override {
    std::lock_guard<std::recursive_mutex> guard(mutex);
    return glitches;
  }

  // Read-only views for tests and tools.
  bool IsOpen() const {
    std::lock_guard<std::recursive_mutex> guard(mutex);
    return open;
  }
  bool IsPlaying(SoundBufferHandle handle) const {
    std::lock_guard<std::recursive_mutex> guard(mutex);
    const Buffer* buffer = Find(handle);
    return buffer != nullptr && buffer->playing;
  }
  int32_t BufferVolume(SoundBufferHandle handle) const {
    std::lock_guard<std::recursive_mutex> guard(mutex);
    const Buffer* buffer = Find(handle);
    return buffer != nullptr ? buffer->volume : kSoundVolumeMin;
  }
  int32_t BufferPan(SoundBufferHandle handle) const {
    std::lock_guard<std::recursive_mutex> guard(mutex);
    const Buffer* buffer = Find(handle);
    return buffer != nullptr ? buffer->pan : kSoundPanCenter;
  }
  std::size_t BufferCount() const {
    std::lock_guard<std::recursive_mutex> guard(mutex);
    std::size_t count = 0;
    for (const auto& slot : slots) count += slot ? 1 : 0;
    return count;
  }
  uint32_t PlayPosition() const {
    std::lock_guard<std::recursive_mutex> guard(mutex);
    return playPosition;
  }

 protected:
  // The backend's device. OpenDevice may start the device at once: until Open returns,
  // MixAndAdvance delivers silence.
  virtual SoundResult OpenDevice() = 0;
  // Stops the device; afterwards MixAndAdvance is no longer called.
  virtual void CloseDevice() = 0;

  // Writes `frames` interleaved stereo frames of the playing buffers at the shared play
  // position and moves the position on. While nothing plays: silence, position unchanged.
  void MixAndAdvance(int16_t* stereoOut, uint32_t frames) {
    if (frames == 0) return;
    std::lock_guard<std::recursive_mutex> guard(mutex);
    if (!open || !AnyPlaying()) {
      std::memset(stereoOut, 0, std::size_t{frames} * 2 * sizeof(int16_t));
      return;
    }
    double masterGain = 1.0;
    for (const auto& slot : slots) {
      if (slot && slot->primary) masterGain = AttenuationToGain(slot->volume);
    }
    std::array<MixSource, kMaxBuffers> sources;
    std::size_t sourceCount = 0;
    for (const auto& slot : slots) {
      if (slot && !slot->primary && slot->playing) {
        sources[sourceCount++] = {slot->samples.data(),
                                  BufferGain(slot->volume, slot->pan, masterGain)};
      }
    }
    MixSources(sources.data(), sourceCount, playPosition, kSoundBufferSamples, stereoOut, frames);
    if (writeReported) {
      // Playback running past the last written sample plays stale sound: one glitch per
      // overtaking, none more until writing has caught up again.
      if (lead >= 0 && static_cast<int64_t>(frames) > lead) ++glitches;
      lead -= frames;
      if (lead < -static_cast<int64_t>(kSoundBufferSamples)) lead += kSoundBufferSamples;
    }
    playPosition =
        static_cast<uint32_t>((std::size_t{playPosition} + frames) % kSoundBufferSamples);
  }

 private:
  struct Buffer {
    SoundBufferHandle handle = kNoSoundBuffer;
    bool primary = false;
    bool controlVolume = false;
    bool controlPan = false;
    bool playing = false;
    bool locked = false;
    int32_t volume = kSoundVolumeMax;
    int32_t pan = kSoundPanCenter;
    SoundWaveFormat format{};
    std::vector<int16_t> samples;  // empty for the primary
  };

  // A handle carries its slot in the low byte and a creation serial above it, so a handle
  // kept after its release never reaches the buffer that reuses the slot.
  static std::size_t SlotOf(SoundBufferHandle handle) { return (handle & 0xFF) - 1; }

  static int64_t RingDistance(uint32_t from, uint32_t to) {
    return (static_cast<int64_t>(to) - from + kSoundBufferSamples) % kSoundBufferSamples;
  }

  SoundResult Insert(std::unique_ptr<Buffer> buffer, SoundBufferHandle& handle) {
    for (std::size_t slot = 0; slot < kMaxBuffers; ++slot) {
      if (slots[slot]) continue;
      ++serial;
      buffer->handle = static_cast<SoundBufferHandle>((serial << 8) | (slot + 1));
      handle = buffer->handle;
      slots[slot] = std::move(buffer);
      return kSoundOk;
    }
    return kSoundOutOfMemory;
  }

  Buffer* Find(SoundBufferHandle handle) const {
    if (handle == kNoSoundBuffer) return nullptr;
    const std::size_t slot = SlotOf(handle);
    if (slot >= kMaxBuffers || !slots[slot] || slots[slot]->handle != handle) return nullptr;
    return slots[slot].get();
  }

  bool AnyPlaying() const {
    for (const auto& slot : slots) {
      if (slot && slot->playing) return true;
    }
    return false;
  }

  mutable std::recursive_mutex mutex;
  std::array<std::unique_ptr<Buffer>, kMaxBuffers> slots;
  uint32_t serial = 0;
  uint32_t lockedCount = 0;
  bool open = false;
  uint32_t playPosition = 0;
  // Written-but-unplayed samples ahead of the play position; negative after an overtaking.
  bool writeReported = false;
  uint32_t lastWritePosition = 0;
  int64_t lead = 0;
  uint32_t glitches = 0;
};

}  // namespace wrenfold
