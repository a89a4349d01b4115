// A message box's caption and text as one line of a stream: what every backend shows when no
// window can carry the box.
#pragma once

#include <cstdio>
#include <string_view>

namespace wrenfold {

// Writes "caption: text" and a line end (unless the text ends with one). A null stream
// writes nothing.
void PrintMessage(std::FILE* stream, std::string_view caption, std::string_view text);

}  // namespace wrenfold
