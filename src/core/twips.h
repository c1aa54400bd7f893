#pragma once

namespace rtceval {

// Position and size in twips (15 twips make a pixel at 96 dpi); controls inside a frame are
// placed relative to the frame.
struct Twips {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Twips&) const = default;
};

}  // namespace rtceval
