// PNG encoding of the exported frames: 8-bit RGB, every scan line filtered
// with "Up" (the difference to the line above, zero where the picture
// repeats itself, as line drawings mostly do), deflated by zlib at its
// fastest level with run-length matching. For these pictures that is several
// times faster than a general encoder trying every filter, and the files are
// of about the same size. The pixels decode exactly as drawn.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/wnd.h"

// The PNG file of `image` (pixels 0xAARRGGBB, alpha ignored) appended to
// `png`, which is cleared first. False when zlib fails.
bool encode_png(const WndImage& image, std::vector<unsigned char>* png);
