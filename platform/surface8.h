// 8-bit surfaces of palette indices and the software operations on them. Both display
// backends hand out these surfaces, so fill, lock and the copies behave alike everywhere.
// The operations never touch memory outside a surface: a rectangle that does not fit is
// refused with kDisplayErrInvalidRect. Everything here is inline, so the emulator can draw
// and copy without linking a display backend.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/display_result.h"

namespace wrenfold {

struct PaletteEntry {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
};
using DisplayPalette = std::array<PaletteEntry, 256>;

// The colour as an opaque 0xAARRGGBB pixel.
inline constexpr uint32_t ArgbOf(const PaletteEntry& colour) {
  return 0xFF000000u | (uint32_t{colour.red} << 16) | (uint32_t{colour.green} << 8) |
         uint32_t{colour.blue};
}

// Start and row stride of a locked surface.
struct SurfaceLock {
  uint8_t* bits = nullptr;
  int pitch = 0;
};

// Width and height count pixels; a rectangle covers x .. x + width - 1.
struct SurfaceRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

inline constexpr int kMaxSurfaceSide = 4096;

class Surface8 {
 public:
  // Rows are padded to a multiple of 32 bytes, so the pitch may exceed the width.
  // A side outside 1..kMaxSurfaceSide gives an empty 0 x 0 surface.
  Surface8(int width, int height)
      : width(ValidSides(width, height) ? width : 0),
        height(ValidSides(width, height) ? height : 0),
        pitch((this->width + 31) & ~31),
        pixels(static_cast<std::size_t>(pitch) * static_cast<std::size_t>(this->height)) {}

  static constexpr bool ValidSides(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxSurfaceSide && height <= kMaxSurfaceSide;
  }

  int Width() const { return width; }
  int Height() const { return height; }
  int Pitch() const { return pitch; }

  // The rows stay at the locked address until Unlock; a locked surface takes no fill or copy.
  int32_t Lock(SurfaceLock* lock) {
    if (lock == nullptr) return kDisplayErrInvalidParams;
    if (locked) return kDisplayErrSurfaceBusy;
    locked = true;
    lock->bits = pixels.data();
    lock->pitch = pitch;
    return kDisplayOk;
  }
  int32_t Unlock() {
    if (!locked) return kDisplayErrNotLocked;
    locked = false;
    return kDisplayOk;
  }
  bool IsLocked() const { return locked; }

  // Source colour key for keyed copies: pixels equal to it are not copied.
  void SetSourceColourKey(uint8_t key) {
    colourKey = key;
    hasColourKey = true;
  }
  void ClearSourceColourKey() { hasColourKey = false; }
  bool HasSourceColourKey() const { return hasColourKey; }
  uint8_t SourceColourKey() const { return colourKey; }

  // Direct row access for the surface operations, presenting and tests; y must be in range.
  uint8_t* Row(int y) { return pixels.data() + static_cast<std::size_t>(y) * pitch; }
  const uint8_t* Row(int y) const { return pixels.data() + static_cast<std::size_t>(y) * pitch; }
  uint8_t At(int x, int y) const { return Row(y)[x]; }

 private:
  int width;
  int height;
  int pitch;
  std::vector<uint8_t> pixels;
  bool locked = false;
  bool hasColourKey = false;
  uint8_t colourKey = 0;
};

namespace surface8_detail {

inline bool Inside(const Surface8& surface, const SurfaceRect& rect) {
  return rect.width > 0 && rect.height > 0 && rect.x >= 0 && rect.y >= 0 &&
         rect.width <= surface.Width() - rect.x && rect.height <= surface.Height() - rect.y;
}

inline int32_t CheckCopy(const Surface8& source, const Surface8& destination) {
  if (&source == &destination) return kDisplayErrInvalidParams;
  if (source.IsLocked() || destination.IsLocked()) return kDisplayErrSurfaceBusy;
  return kDisplayOk;
}

}  // namespace surface8_detail

// Sets every pixel of the surface to `index`. One memset per row: the padding at the end
// of each row is left as it was.
inline int32_t FillSurface(Surface8& surface, uint8_t index) {
  if (surface.IsLocked()) return kDisplayErrSurfaceBusy;
  const std::size_t width = static_cast<std::size_t>(surface.Width());
  const int height = surface.Height();
  for (int y = 0; y < height; ++y) std::memset(surface.Row(y), index, width);
  return kDisplayOk;
}

// Copies the whole source with its top-left corner at (x, y) of the destination. Source and
// destination are different surfaces, so their rows never overlap and memcpy may copy them.
inline int32_t CopySurface(const Surface8& source, Surface8& destination, int x, int y) {
  if (int32_t check = surface8_detail::CheckCopy(source, destination); check != kDisplayOk) {
    return check;
  }
  if (!surface8_detail::Inside(destination, {x, y, source.Width(), source.Height()})) {
    return kDisplayErrInvalidRect;
  }
  const std::size_t width = static_cast<std::size_t>(source.Width());
  const int height = source.Height();
  for (int row = 0; row < height; ++row) {
    std::memcpy(destination.Row(y + row) + x, source.Row(row), width);
  }
  return kDisplayOk;
}

// As CopySurface, but source pixels equal to the source's colour key are left out.
inline int32_t CopySurfaceKeyed(const Surface8& source, Surface8& destination, int x, int y) {
  if (int32_t check = surface8_detail::CheckCopy(source, destination); check != kDisplayOk) {
    return check;
  }
  if (!source.HasSourceColourKey()) return kDisplayErrNoColourKey;
  if (!surface8_detail::Inside(destination, {x, y, source.Width(), source.Height()})) {
    return kDisplayErrInvalidRect;
  }
  const uint8_t key = source.SourceColourKey();
  const int width = source.Width();
  const int height = source.Height();
  for (int row = 0; row < height; ++row) {
    const uint8_t* from = source.Row(row);
    uint8_t* to = destination.Row(y + row) + x;
    // A select rather than a conditional store: the compiler turns the row into vector
    // compares and blends. A key pixel stores the byte the destination already holds.
    for (int column = 0; column < width; ++column) {
      const uint8_t pixel = from[column];
      to[column] = pixel != key ? pixel : to[column];
    }
  }
  return kDisplayOk;
}

// Scales `sourceRect` into `destinationRect` by nearest-neighbour sampling.
inline int32_t StretchSurface(const Surface8& source, const SurfaceRect& sourceRect,
                              Surface8& destination, const SurfaceRect& destinationRect) {
  if (int32_t check = surface8_detail::CheckCopy(source, destination); check != kDisplayOk) {
    return check;
  }
  if (!surface8_detail::Inside(source, sourceRect) ||
      !surface8_detail::Inside(destination, destinationRect)) {
    return kDisplayErrInvalidRect;
  }
  for (int row = 0; row < destinationRect.height; ++row) {
    const int sourceY = sourceRect.y + row * sourceRect.height / destinationRect.height;
    const uint8_t* from = source.Row(sourceY) + sourceRect.x;
    uint8_t* to = destination.Row(destinationRect.y + row) + destinationRect.x;
    for (int column = 0; column < destinationRect.width; ++column) {
      to[column] = from[column * sourceRect.width / destinationRect.width];
    }
  }
  return kDisplayOk;
}

// Scales one whole source row into `width` pixels of one destination row from `left`.
inline int32_t CopyRowBand(const Surface8& source, int sourceRow, Surface8& destination,
                           int destinationRow, int left, int width) {
  return StretchSurface(source, {0, sourceRow, source.Width(), 1}, destination,
                        {left, destinationRow, width, 1});
}

// Writes the surface as 0xAARRGGBB pixels (alpha 0xFF) through `palette`;
// `outPitch` counts pixels per output row.
inline void ExpandThroughPalette(const Surface8& surface, const DisplayPalette& palette,
                                 uint32_t* out, int outPitch) {
  std::array<uint32_t, 256> argb;
  for (std::size_t i = 0; i < palette.size(); ++i) argb[i] = ArgbOf(palette[i]);
  for (int y = 0; y < surface.Height(); ++y) {
    const uint8_t* from = surface.Row(y);
    uint32_t* to = out + static_cast<std::size_t>(y) * static_cast<std::size_t>(outPitch);
    for (int x = 0; x < surface.Width(); ++x) to[x] = argb[from[x]];
  }
}

}  // namespace wrenfold
