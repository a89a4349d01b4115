// The picture a person looks at to see what differs: ours (in the reference's colours, so
// that equal pictures look equal), the reference's, and a map of the differences.
#pragma once

#include "tools/frame_compare/frame_similarity.h"

namespace wrenfold::compare {

inline constexpr int kPanelGap = 4;

// Three panels side by side, each as wide and high as the larger picture: ours, theirs, and
// theirs dimmed with every differing pixel in bright red. Rows below `lines` were not
// compared; the map leaves them dimmed. A colour number the palette lacks shows as magenta.
RgbPicture SideBySide(const IndexedPicture& ours, const RgbPicture& theirs,
                      const ReferencePalette& palette, int lines);

}  // namespace wrenfold::compare
