// The two directions of a save state over one 83,482-byte buffer: StateWriter puts values at
// their offsets, StateReader takes them back. Integers go through explicit little-endian
// helpers, byte arrays are copied as they are; nothing is written as a raw struct, so padding
// and the host's byte order never reach the file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>

#include "emulator/machine_state/state_layout.h"

namespace wrenfold {

using StateBytes = std::array<uint8_t, kStateSize>;

template <class T>
constexpr void PutLittleEndian(uint8_t* out, T value) {
  static_assert(std::is_integral_v<T>);
  using Unsigned = std::make_unsigned_t<T>;
  const auto bits = static_cast<Unsigned>(value);
  for (std::size_t i = 0; i < sizeof(T); ++i) out[i] = static_cast<uint8_t>(bits >> (8 * i));
}

template <class T>
constexpr T GetLittleEndian(const uint8_t* in) {
  static_assert(std::is_integral_v<T>);
  using Unsigned = std::make_unsigned_t<T>;
  Unsigned bits = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i)
    bits |= static_cast<Unsigned>(Unsigned{in[i]} << (8 * i));
  return static_cast<T>(bits);
}

class StateWriter {
 public:
  explicit StateWriter(StateBytes& out) : out(out) {}

  template <class T>
  requires std::is_integral_v<T>
  void Value(std::size_t offset, const T& value) { PutLittleEndian(out.data() + offset, value); }
  template <std::size_t N>
  void Value(std::size_t offset, const uint8_t (&bytes)[N]) {
    std::memcpy(out.data() + offset, bytes, N);
  }
  void Value(std::size_t offset, const std::array<uint8_t, 3>& bytes) {
    std::memcpy(out.data() + offset, bytes.data(), bytes.size());
  }
  // Bytes of the machine record taken as they lie in memory (a board's saved spans).
  void Raw(std::size_t offset, const uint8_t* bytes, std::size_t size) {
    std::memcpy(out.data() + offset, bytes, size);
  }
  // Bytes without meaning.
  void Reserved(std::size_t offset, std::size_t size) { std::memset(out.data() + offset, 0, size); }

 private:
  StateBytes& out;
};

class StateReader {
 public:
  explicit StateReader(std::span<const uint8_t, kStateSize> in) : in(in) {}

  template <class T>
  requires std::is_integral_v<T>
  void Value(std::size_t offset, T& value) { value = GetLittleEndian<T>(in.data() + offset); }
  template <std::size_t N>
  void Value(std::size_t offset, uint8_t (&bytes)[N]) {
    std::memcpy(bytes, in.data() + offset, N);
  }
  void Value(std::size_t offset, std::array<uint8_t, 3>& bytes) {
    std::memcpy(bytes.data(), in.data() + offset, bytes.size());
  }
  void Raw(std::size_t offset, uint8_t* bytes, std::size_t size) {
    std::memcpy(bytes, in.data() + offset, size);
  }
  void Reserved(std::size_t, std::size_t) {}

 private:
  std::span<const uint8_t, kStateSize> in;
};

}  // namespace wrenfold
