// PNG encoding of the exported frames: 8-bit RGB, named as veltra-export's
// by a text chunk "Software" (so that an export knows its own frames again), every scan line filtered
// with "Up" (the difference to the line above, zero where the picture
// repeats itself, as line drawings mostly do), deflated by zlib at its
// fastest level with run-length matching. For these pictures that is several
// times faster than a general encoder trying every filter, and the files are
// of about the same size. The pixels decode exactly as drawn.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/wnd.h"

// The PNG file of `image` (pixels 0xAARRGGBB, alpha ignored) appended to
// `png`, which is cleared first. False when zlib fails.
bool encode_png(const WndImage& image, std::vector<unsigned char>* png);

// Bytes at the start of a file that tell whether encode_png wrote it: the
// signature, the header chunk and the Software text chunk.
constexpr std::size_t kPngMarkBytes = 8 + 25 + 34;

// Whether `start` (the first kPngMarkBytes bytes of a file, or fewer) begins
// as encode_png begins a file.
bool written_by_encode_png(std::string_view start);
