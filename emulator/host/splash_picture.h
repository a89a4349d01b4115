// The start-up picture: the name "WRENFOLD" in block letters inside a frame, drawn with
// display palette indices.
#pragma once

#include <cstdint>

namespace wrenfold {

inline constexpr int kSplashWidth = 540;
inline constexpr int kSplashHeight = 200;

// Palette indices the picture uses.
inline constexpr uint8_t kSplashBackground = 15;   // black
inline constexpr uint8_t kSplashFrameOuter = 48;   // white
inline constexpr uint8_t kSplashFrameInner = 33;   // light blue
inline constexpr uint8_t kSplashLetter = 40;       // yellow
inline constexpr uint8_t kSplashLetterLight = 56;  // pale yellow top edge of each block
inline constexpr uint8_t kSplashShadow = 22;       // red

// Draws the whole kSplashWidth x kSplashHeight picture with its top-left pixel at
// `topLeft`; rows are `pitch` bytes apart.
void DrawSplashPicture(uint8_t* topLeft, int pitch);

}  // namespace wrenfold
