#include "png_encode.h"

#include <zlib.h>

#include <cstring>

namespace {

void put_u32(std::vector<unsigned char>* out, std::uint32_t v) {
  const unsigned char bytes[4] = {static_cast<unsigned char>(v >> 24), static_cast<unsigned char>(v >> 16),
                                  static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)};
  out->insert(out->end(), bytes, bytes + 4);
}

// A chunk: length, type, data, CRC of type and data.
void put_chunk(std::vector<unsigned char>* out, const char* type, const unsigned char* data, std::size_t length) {
  put_u32(out, static_cast<std::uint32_t>(length));
  const std::size_t start = out->size();
  out->insert(out->end(), type, type + 4);
  if (length > 0) out->insert(out->end(), data, data + length);
  const uLong crc = crc32(0L, out->data() + start, static_cast<uInt>(length + 4));
  put_u32(out, static_cast<std::uint32_t>(crc));
}

const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// The keyword, a NUL, the text.
constexpr char kSoftware[] = "Software\0veltra-export";

}  // namespace

bool written_by_encode_png(std::string_view start) {
  if (start.size() < kPngMarkBytes) return false;
  const auto* bytes = reinterpret_cast<const unsigned char*>(start.data());
  if (std::memcmp(bytes, kSignature, 8) != 0 || std::memcmp(bytes + 12, "IHDR", 4) != 0) return false;
  std::vector<unsigned char> text;
  put_chunk(&text, "tEXt", reinterpret_cast<const unsigned char*>(kSoftware), sizeof kSoftware - 1);
  return text.size() == kPngMarkBytes - 33 && std::memcmp(bytes + 33, text.data(), text.size()) == 0;
}

bool encode_png(const WndImage& image, std::vector<unsigned char>* png) {
  png->clear();
  const int w = image.width, h = image.height;
  if (w <= 0 || h <= 0 || image.pixels.size() < static_cast<std::size_t>(w) * static_cast<std::size_t>(h))
    return false;
  png->insert(png->end(), kSignature, kSignature + 8);
  unsigned char header[13];
  const std::uint32_t dims[2] = {static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h)};
  for (int i = 0; i < 2; ++i)
    for (int b = 0; b < 4; ++b) header[4 * i + b] = static_cast<unsigned char>(dims[i] >> (24 - 8 * b));
  header[8] = 8;   // bits per channel
  header[9] = 2;   // RGB
  header[10] = 0;  // deflate
  header[11] = 0;  // adaptive filtering, one filter byte a line
  header[12] = 0;  // not interlaced
  put_chunk(png, "IHDR", header, sizeof header);
  put_chunk(png, "tEXt", reinterpret_cast<const unsigned char*>(kSoftware), sizeof kSoftware - 1);

  z_stream z{};
  if (deflateInit2(&z, 1, Z_DEFLATED, 15, 8, Z_RLE) != Z_OK) return false;
  const std::size_t row_bytes = 1 + 3 * static_cast<std::size_t>(w);
  std::vector<unsigned char> rows[2] = {std::vector<unsigned char>(row_bytes), std::vector<unsigned char>(row_bytes)};
  std::vector<unsigned char> filtered(row_bytes);
  std::vector<unsigned char> idat(deflateBound(&z, static_cast<uLong>(row_bytes * static_cast<std::size_t>(h))));
  z.next_out = idat.data();
  z.avail_out = static_cast<uInt>(idat.size());
  int rc = Z_OK;
  for (int y = 0; y < h && rc == Z_OK; ++y) {
    std::vector<unsigned char>& row = rows[y & 1];
    const std::vector<unsigned char>& above = rows[(y + 1) & 1];
    const std::uint32_t* p = image.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
    unsigned char* r = row.data() + 1;
    for (int x = 0; x < w; ++x, r += 3) {
      r[0] = static_cast<unsigned char>(p[x] >> 16);
      r[1] = static_cast<unsigned char>(p[x] >> 8);
      r[2] = static_cast<unsigned char>(p[x]);
    }
    if (y == 0) {
      row[0] = 0;  // None
      z.next_in = row.data();
    } else {
      filtered[0] = 2;  // Up
      for (std::size_t i = 1; i < row_bytes; ++i) filtered[i] = static_cast<unsigned char>(row[i] - above[i]);
      z.next_in = filtered.data();
    }
    z.avail_in = static_cast<uInt>(row_bytes);
    rc = deflate(&z, y + 1 == h ? Z_FINISH : Z_NO_FLUSH);
    if (rc == Z_OK && z.avail_in != 0) rc = Z_BUF_ERROR;
  }
  const std::size_t compressed = idat.size() - z.avail_out;
  deflateEnd(&z);
  if (rc != Z_STREAM_END) return false;
  put_chunk(png, "IDAT", idat.data(), compressed);
  put_chunk(png, "IEND", nullptr, 0);
  return true;
}
