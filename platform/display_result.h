// Result codes of the display service. Success is 0; every failure is negative and carries
// the value the classic display driver uses for it, so LogDirectDrawError can name it.
#pragma once

#include <cstdint>

namespace wrenfold {

inline constexpr int32_t kDisplayOk = 0;
inline constexpr int32_t kDisplayErrUnsupported = static_cast<int32_t>(0x80004001u);
inline constexpr int32_t kDisplayErrGeneric = static_cast<int32_t>(0x80004005u);
inline constexpr int32_t kDisplayErrOutOfMemory = static_cast<int32_t>(0x8007000Eu);
inline constexpr int32_t kDisplayErrInvalidParams = static_cast<int32_t>(0x80070057u);
inline constexpr int32_t kDisplayErrInvalidMode = static_cast<int32_t>(0x88760078u);
// The object is not ready for this call (not created yet, released, or called out of order).
inline constexpr int32_t kDisplayErrInvalidObject = static_cast<int32_t>(0x88760082u);
// A rectangle or position reaches outside its surface.
inline constexpr int32_t kDisplayErrInvalidRect = static_cast<int32_t>(0x88760096u);
inline constexpr int32_t kDisplayErrNoColourKey = static_cast<int32_t>(0x887600D7u);
// The surface is locked; fills, copies and a second lock wait for the unlock.
inline constexpr int32_t kDisplayErrSurfaceBusy = static_cast<int32_t>(0x887601AEu);
inline constexpr int32_t kDisplayErrNotLocked = static_cast<int32_t>(0x88760248u);

inline constexpr bool DisplayFailed(int32_t result) {
  return result < 0;
}

}  // namespace wrenfold
