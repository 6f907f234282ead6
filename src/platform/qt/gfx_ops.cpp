// The drawing operations of gfx.h on the calling thread's current window.
//
// Each operation takes the window's canvas lock once, draws into the
// retained image and schedules a repaint of what changed (one pending repaint
// per window at a time). Lines and shapes are rasterised directly into the
// image's scan lines; graphic text is blended from cached glyph masks
// (glyph_cache.h), other text goes through QPainter.
#include <QFontInfo>
#include <QPainter>
#include <algorithm>
#include <atomic>
#include <optional>

#include "platform/font_options.h"
#include "platform/gfx.h"
#include "platform/gfx_checks.h"
#include "platform/raster.h"
#include "platform/shared_work.h"
#include "platform/world_window.h"
#include "platform/qt/child_window.h"
#include "platform/qt/font_list.h"
#include "platform/qt/glyph_cache.h"
#include "platform/qt/gui_thread.h"
#include "platform/qt/qt_colour.h"

using namespace qtl;

namespace {

// The status of the calling thread's last operation: each run asks about
// its own calls.
thread_local GfxStatus last_status = kGfxOk;

GfxStatus set_status(GfxStatus status) { return last_status = status; }

// The one way into the calling thread's current window: without one, the
// status says so and `none` is returned. Otherwise the status is set to
// success and op(state, dirty) runs with the window's canvas locked (op may
// set another status); the pixels op adds to `dirty` are repainted, the
// repaint being posted once the lock is released. Returns what op returns.
template <class R, class Op>
R with_canvas(R none, Op&& op) {
  const std::shared_ptr<Child>& child = current_child();
  if (child == nullptr || !child->connected) {
    set_status(kGfxErrorNoWindow);
    return none;
  }
  set_status(kGfxOk);
  bool post = false;
  R result = child->canvas->locked([&](CanvasState& c) {
    PixelBox dirty;
    R r = op(c, dirty);
    post = c.mark_dirty(dirty);
    return r;
  });
  if (post) post_repaint(child->canvas);
  return result;
}

// A drawing operation: as with_canvas, for operations that paint into the
// picture (a text window has none: nothing is drawn there).
template <class Op>
bool paint(Op&& op) {
  return with_canvas(false, [&](CanvasState& c, PixelBox& dirty) {
    if (!c.image.isNull()) op(c, dirty);
    return true;
  });
}

PixelBox box_of(const CanvasState& c, int x0, int y0, int x1, int y1) {
  PixelBox box;
  const int w = c.image.width() - 1, h = c.image.height() - 1;
  if (x1 < 0 || y1 < 0 || x0 > w || y0 > h) return box;
  box.add(std::max(x0, 0), std::max(y0, 0));
  box.add(std::min(x1, w), std::min(y1, h));
  return box;
}

Rgb swap_colour(Rgb CanvasState::*field, Rgb rgb) {
  return with_canvas(Rgb{0}, [&](CanvasState& c, PixelBox&) {
    const Rgb previous = c.*field;
    c.*field = rgb & 0xFFFFFFu;
    return previous;
  });
}

}  // namespace

bool gfx_set_window(bool y_up, double x1, double y1, double x2, double y2) {
  return with_canvas(false, [&](CanvasState& c, PixelBox&) {
    WorldWindow window;
    const GfxStatus status = order_world_window(y_up, x1, y1, x2, y2, &window);
    set_status(status);
    if (status < 0) return false;
    c.set_world(window.y_up, window.x1, window.y1, window.x2, window.y2);
    return true;
  });
}

void gfx_clear() {
  paint([](CanvasState& c, PixelBox& dirty) {
    c.image.fill(to_argb(c.background));
    dirty = box_of(c, 0, 0, c.image.width() - 1, c.image.height() - 1);
  });
}

Rgb gfx_set_colour(Rgb rgb) { return swap_colour(&CanvasState::colour, rgb); }
Rgb gfx_set_background_colour(Rgb rgb) { return swap_colour(&CanvasState::background, rgb); }
Rgb gfx_set_text_colour(Rgb rgb) { return swap_colour(&CanvasState::text_colour, rgb); }

WorldPoint gfx_move_to(double x, double y) {
  return with_canvas(WorldPoint{}, [&](CanvasState& c, PixelBox&) {
    const WorldPoint previous = c.position;
    c.position = {x, y};
    return previous;
  });
}

bool gfx_line_to(double x, double y) {
  return with_canvas(false, [&](CanvasState& c, PixelBox& dirty) {
    if (set_status(check_point(x, y)) != kGfxOk) return false;
    if (c.image.isNull()) return true;
    LinePattern pattern{c.line_style, 0};
    raster_line(c.buffer(), c.to_px(c.position.x), c.to_py(c.position.y), c.to_px(x), c.to_py(y),
                to_argb(c.colour), pattern, false, dirty);
    c.position = {x, y};
    return true;
  });
}

namespace {

// Batches of at least this many segments are drawn by two threads at once
// (shared_work.h).
constexpr std::size_t kShareMin = 4096;
// A shared batch is handed out in chunks of this many segments.
constexpr std::size_t kShareChunk = 2048;
// The helper's listed writes of a batch drawn in order are bounded: past
// this many (16 MB) it takes no further chunk, and a list that grew past
// kKeptWrites is given back once applied. A chunk of long lines can list
// up to a chunk's segments times the window's width and height.
constexpr std::size_t kListedWrites = std::size_t{2} << 20;
constexpr std::size_t kKeptWrites = std::size_t{1} << 16;

// How a batch may be drawn.
enum class Sharing {
  kAlone,  // by one thread
  // Every segment in the same colour: the pixels do not depend on the order
  // the segments are drawn in, so a large batch is drawn in chunks by two
  // threads and the picture is the union of the lines.
  kUnion,
  // Lines of different colours, where the later line must stay on top where
  // they cross: the calling thread draws the batch's chunks from the first
  // onwards into the picture, the helper from the last backwards into lists
  // of writes (raster.h), which are applied in order once both are done.
  kOrdered,
};

// Where segment_batch takes its segments from: an array, or a source that
// makes each chunk into a buffer of the thread that draws it.
template <class Segment>
class ArraySegments {
 public:
  explicit ArraySegments(const Segment* segments) : segments_(segments) {}
  const Segment* chunk(std::size_t begin, std::size_t) const { return segments_ + begin; }
  Segment at(std::size_t i) const { return segments_[i]; }

 private:
  const Segment* segments_;
};

template <class Segment>
class MadeSegments {
 public:
  explicit MadeSegments(const GfxSegmentSource<Segment>& make) : make_(make) {}
  // Chunks of at most kShareChunk segments, made into this thread's buffer.
  const Segment* chunk(std::size_t begin, std::size_t end) const {
    thread_local std::vector<Segment> made;
    if (made.size() < end - begin) made.resize(kShareChunk);
    make_(begin, end, made.data());
    return made.data();
  }
  Segment at(std::size_t i) const {
    Segment s;
    make_(i, i + 1, &s);
    return s;
  }

 private:
  const GfxSegmentSource<Segment>& make_;
};

// The loop of gfx_segments and gfx_shaded_segments: the batch leaves the line
// style, the current position and the status as the single calls would, and
// draw(state, buffer, segment, pattern, dirty, sharing, writes) rasterises
// each segment whose end is valid when the window has a picture: with
// kUnion while another thread writes other pixels of the buffer, and into
// `writes` when that is not null. The segments come from `source` in chunks
// of at most kShareChunk.
template <class Segment, class Source, class Draw>
bool segment_batch(const Source& source, std::size_t count, Sharing can_share, Draw&& draw) {
  if (count == 0) return true;
  return with_canvas(false, [&](CanvasState& c, PixelBox& dirty) {
    const bool picture = !c.image.isNull();
    const PixelBuffer buffer = picture ? c.buffer() : PixelBuffer{};
    Sharing sharing = picture && count >= kShareMin ? can_share : Sharing::kAlone;
    // Listed writes name a pixel by a 32-bit place in the buffer.
    if (sharing == Sharing::kOrdered &&
        static_cast<std::uint64_t>(buffer.stride) * static_cast<std::uint64_t>(buffer.height) >= (std::uint64_t{1} << 32))
      sharing = Sharing::kAlone;
    // Each worker's own dirty box and refusal, a cache line apart so that the
    // two threads do not contend for them.
    struct alignas(64) WorkerState {
      PixelBox dirty;
      bool refused = false;
    };
    WorkerState workers[2];
    // In order: the helper's writes, one list a chunk; kept by the calling
    // thread from batch to batch so that their memory is reused.
    // (A lambda names a thread_local afresh on each thread, so the helper is
    // handed this thread's lists through a reference.)
    thread_local std::vector<std::vector<PixelWrite>> kept_writes;
    std::vector<std::vector<PixelWrite>>& chunk_writes = kept_writes;
    const std::size_t chunks = (count + kShareChunk - 1) / kShareChunk;
    if (sharing == Sharing::kOrdered) {
      if (chunk_writes.size() < chunks) chunk_writes.resize(chunks);
      for (std::size_t i = 0; i < chunks; ++i) chunk_writes[i].clear();
    }
    std::atomic<bool> listed_enough{false};
    std::size_t listed = 0;  // the helper's own count
    const auto segments_in = [&](std::size_t begin, std::size_t end, int worker) {
      std::vector<PixelWrite>* writes =
          sharing == Sharing::kOrdered && worker == 1 ? &chunk_writes[begin / kShareChunk] : nullptr;
      const Segment* segments = source.chunk(begin, end);
      for (std::size_t i = 0; i < end - begin; ++i) {
        const Segment& s = segments[i];
        if (check_point(s.x2, s.y2) != kGfxOk) {
          workers[worker].refused = true;
          continue;
        }
        if (!picture) continue;
        LinePattern pattern{s.style, 0};
        draw(static_cast<const CanvasState&>(c), buffer, s, pattern, workers[worker].dirty, sharing, writes);
      }
      if (writes != nullptr && (listed += writes->size()) > kListedWrites)
        listed_enough.store(true, std::memory_order_relaxed);
    };
    if (sharing == Sharing::kUnion) {
      share_work(count, kShareChunk, segments_in);
    } else if (sharing == Sharing::kOrdered) {
      share_work_in_order(count, kShareChunk, segments_in, &listed_enough);
      // The helper's chunks all follow the caller's: their writes go on top,
      // in the chunks' order. The caller's own chunks listed none.
      for (std::size_t i = 0; i < chunks; ++i) {
        raster_apply(buffer, chunk_writes[i]);
        if (chunk_writes[i].capacity() > kKeptWrites) std::vector<PixelWrite>().swap(chunk_writes[i]);
      }
    } else {
      for (std::size_t begin = 0; begin < count; begin += kShareChunk)
        segments_in(begin, std::min(begin + kShareChunk, count), 0);
    }
    const Segment last = source.at(count - 1);
    const GfxStatus status = check_point(last.x2, last.y2);
    c.line_style = last.style;
    c.position = status == kGfxOk ? WorldPoint{last.x2, last.y2} : WorldPoint{last.x1, last.y1};
    set_status(status);
    dirty.add(workers[0].dirty);
    dirty.add(workers[1].dirty);
    return !workers[0].refused && !workers[1].refused;
  });
}

// Rasterises one plain segment in the drawing colour.
void draw_plain(const CanvasState& c, const PixelBuffer& buffer, const GfxSegment& s, LinePattern& pattern,
                PixelBox& dirty, Sharing sharing, std::vector<PixelWrite>*) {
  const std::uint32_t colour = to_argb(c.colour);
  const double x1 = c.to_px(s.x1), y1 = c.to_py(s.y1), x2 = c.to_px(s.x2), y2 = c.to_py(s.y2);
  if (sharing == Sharing::kUnion) {
    raster_line_shared(buffer, x1, y1, x2, y2, colour, pattern, dirty);
  } else {
    raster_line(buffer, x1, y1, x2, y2, colour, pattern, false, dirty);
  }
}

// Rasterises shaded segments in a palette of packed colours; the palette
// must have 1 to kGfxMaxPalette entries.
class ShadedDraw {
 public:
  ShadedDraw(const Rgb* palette, std::size_t size) : last_(static_cast<std::uint32_t>(size - 1) << 8) {
    for (std::size_t i = 0; i < size; ++i) pixels_[i] = to_argb(palette[i]);
  }
  void operator()(const CanvasState& c, const PixelBuffer& buffer, const GfxShadedSegment& s, LinePattern& pattern,
                  PixelBox& dirty, Sharing, std::vector<PixelWrite>* writes) const {
    const double x1 = c.to_px(s.x1), y1 = c.to_py(s.y1), x2 = c.to_px(s.x2), y2 = c.to_py(s.y2);
    const std::uint32_t shade1 = std::min(s.shade1, last_), shade2 = std::min(s.shade2, last_);
    if (writes != nullptr) {
      raster_shaded_line_recorded(buffer, x1, y1, x2, y2, pixels_.data(), shade1, shade2, pattern, dirty, *writes);
    } else {
      raster_shaded_line(buffer, x1, y1, x2, y2, pixels_.data(), shade1, shade2, pattern, dirty);
    }
  }

 private:
  std::array<std::uint32_t, kGfxMaxPalette> pixels_;
  std::uint32_t last_;
};

bool valid_palette(std::size_t palette_size) {
  if (palette_size == 0 || palette_size > kGfxMaxPalette) {
    set_status(kGfxErrorInvalid);
    return false;
  }
  return true;
}

}  // namespace

bool gfx_segments(const GfxSegment* segments, std::size_t count) {
  return segment_batch<GfxSegment>(ArraySegments<GfxSegment>(segments), count, Sharing::kUnion, draw_plain);
}

bool gfx_generated_segments(std::size_t count, const GfxSegmentSource<GfxSegment>& make) {
  return segment_batch<GfxSegment>(MadeSegments<GfxSegment>(make), count, Sharing::kUnion, draw_plain);
}

bool gfx_shaded_segments(const GfxShadedSegment* segments, std::size_t count, const Rgb* palette,
                         std::size_t palette_size) {
  if (!valid_palette(palette_size)) return false;
  return segment_batch<GfxShadedSegment>(ArraySegments<GfxShadedSegment>(segments), count, Sharing::kOrdered,
                                         ShadedDraw(palette, palette_size));
}

bool gfx_generated_shaded_segments(std::size_t count, const GfxSegmentSource<GfxShadedSegment>& make,
                                   const Rgb* palette, std::size_t palette_size) {
  if (!valid_palette(palette_size)) return false;
  return segment_batch<GfxShadedSegment>(MadeSegments<GfxShadedSegment>(make), count, Sharing::kOrdered,
                                         ShadedDraw(palette, palette_size));
}

void gfx_set_line_style(std::uint16_t mask) {
  with_canvas(false, [&](CanvasState& c, PixelBox&) { return (c.line_style = mask, true); });
}

void gfx_set_fill_mask(const FillMask& mask) {
  with_canvas(false, [&](CanvasState& c, PixelBox&) { return (c.fill = mask, true); });
}

bool gfx_polygon(int mode, const WorldPoint* vertices, int count) {
  return with_canvas(false, [&](CanvasState& c, PixelBox& dirty) {
    if (set_status(check_polygon(mode, vertices, count)) != kGfxOk) return false;
    if (c.image.isNull()) return true;
    c.points.resize(2 * static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      c.points[2 * static_cast<std::size_t>(i)] = c.to_px(vertices[i].x);
      c.points[2 * static_cast<std::size_t>(i) + 1] = c.to_py(vertices[i].y);
    }
    if (mode == kGfxBorder)
      raster_outline(c.buffer(), c.points.data(), count, to_argb(c.colour), {c.line_style, 0}, dirty);
    else
      raster_fill_polygon(c.buffer(), c.points.data(), count, to_argb(c.colour), c.fill,
                          c.crossings, dirty);
    return true;
  });
}

namespace {

// Rectangle and ellipse: the argument check and the box in pixels.
template <class Draw>
bool box_shape(int mode, double x1, double y1, double x2, double y2, Draw&& draw) {
  return with_canvas(false, [&](CanvasState& c, PixelBox& dirty) {
    if (set_status(check_box_shape(mode, x1, y1, x2, y2)) != kGfxOk) return false;
    if (!c.image.isNull()) draw(c, c.to_px(x1), c.to_py(y1), c.to_px(x2), c.to_py(y2), dirty);
    return true;
  });
}

}  // namespace

bool gfx_rectangle(int mode, double x1, double y1, double x2, double y2) {
  return box_shape(mode, x1, y1, x2, y2,
                   [mode](CanvasState& c, double a, double b, double p, double q, PixelBox& dirty) {
                     if (mode == kGfxFilled) {
                       raster_fill_rectangle(c.buffer(), a, b, p, q, to_argb(c.colour), c.fill, dirty);
                       return;
                     }
                     const double corners[8] = {a, b, p, b, p, q, a, q};
                     raster_outline(c.buffer(), corners, 4, to_argb(c.colour), {c.line_style, 0}, dirty);
                   });
}

bool gfx_ellipse(int mode, double x1, double y1, double x2, double y2) {
  return box_shape(mode, x1, y1, x2, y2,
                   [mode](CanvasState& c, double a, double b, double p, double q, PixelBox& dirty) {
                     if (mode == kGfxFilled)
                       raster_fill_ellipse(c.buffer(), a, b, p, q, to_argb(c.colour), c.fill, dirty);
                     else
                       raster_ellipse_outline(c.buffer(), a, b, p, q, to_argb(c.colour),
                                              {c.line_style, 0}, dirty);
                   });
}

int gfx_init_fonts() {
  const int count = static_cast<int>(font_list().size());
  return with_canvas(0, [&](CanvasState&, PixelBox&) {
    set_status(count > 0 ? kGfxOk : kGfxErrorNoFont);
    return count;
  });
}

GfxStatus gfx_status() { return last_status; }

int gfx_set_font(std::string_view options) {
  const FontRequest request = parse_font_options(options);
  const std::vector<FontCandidate>& fonts = font_list();
  return with_canvas(-1, [&](CanvasState& c, PixelBox&) {
    if (request.status < 0) {
      set_status(request.status);
      return -1;
    }
    const FontChoice choice = search_font(request, fonts, c.font_number);
    if (choice.reselected_current) {
      set_status(request.status);
      return choice.number;
    }
    if (choice.number < 1) {
      set_status(kGfxErrorNoFont);
      return -1;
    }
    c.set_font(make_font(fonts[static_cast<std::size_t>(choice.number - 1)], request, c.text_scale),
               choice.number);
    set_status(request.status);
    return choice.number;
  });
}

FontInfo gfx_font_info() {
  return with_canvas(FontInfo{}, [](CanvasState& c, PixelBox&) {
    const QFontInfo info(c.font);
    FontInfo result;
    result.ascent = c.metrics->ascent();
    result.pixel_height = c.metrics->height();
    result.avg_char_width = c.metrics->averageCharWidth();
    result.pixel_width = info.fixedPitch() ? result.avg_char_width : 0;
    result.face_name = info.family().toStdString();
    return result;
  });
}

int gfx_text_width(std::string_view text) {
  return with_canvas(0, [&](CanvasState& c, PixelBox&) {
    const int cached = cached_text_width(c.glyph_cache(), text);
    if (cached >= 0) return cached;
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return c.metrics->horizontalAdvance(s);
  });
}

void gfx_out_graphic_text(std::string_view text) {
  paint([&](CanvasState& c, PixelBox& dirty) {
    const int x = to_pixel(c.to_px(c.position.x));
    const int y = to_pixel(c.to_py(c.position.y));
    int width = draw_cached_text(c.glyph_cache(), c.buffer(), x, y, to_argb(c.colour), text, dirty);
    if (width < 0) {
      // Text the cache does not hold goes through Qt whole.
      const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
      width = c.metrics->horizontalAdvance(s);
      QPainter painter(&c.image);
      painter.setFont(c.font);
      painter.setPen(to_qcolor(c.colour));
      painter.drawText(x, y + c.metrics->ascent(), s);
      painter.end();
      // Glyphs may reach a little beyond their advance (italics, overhangs).
      const int slack = c.metrics->height() / 2 + 2;
      dirty = box_of(c, x - slack, y, x + width + slack, y + c.metrics->height());
    }
    if (c.sx != 0) c.position.x += width / c.sx;
  });
}

WorldPoint gfx_current_position() {
  return with_canvas(WorldPoint{}, [](CanvasState& c, PixelBox&) { return c.position; });
}

void gfx_set_text_position(int row, int column) {
  with_canvas(false, [&](CanvasState& c, PixelBox&) {
    c.text_row = std::max(row, 1);
    c.text_column = std::max(column, 1);
    return true;
  });
}

void gfx_out_text(std::string_view text) {
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  // A text window takes the text as a line of its own, in the text colour
  // (returned here); a graph window gets it in cells.
  const std::optional<Rgb> line_colour =
      with_canvas(std::optional<Rgb>(), [&](CanvasState& c, PixelBox& dirty) -> std::optional<Rgb> {
        if (c.image.isNull()) return c.text_colour;
        const CellFont& cell = c.cells();
        const int top = (c.text_row - 1) * cell.height;
        const int left = (c.text_column - 1) * cell.width;
        QPainter painter(&c.image);
        painter.setFont(cell.font);
        painter.setPen(to_qcolor(c.text_colour));
        const QColor background = to_qcolor(c.background);
        for (qsizetype i = 0; i < s.size(); ++i) {
          const QRect r(left + static_cast<int>(i) * cell.width, top, cell.width, cell.height);
          painter.fillRect(r, background);
          painter.drawText(r.left(), top + cell.ascent, QString(s[i]));
        }
        painter.end();
        dirty = box_of(c, left, top, left + static_cast<int>(s.size()) * cell.width - 1,
                       top + cell.height - 1);
        c.text_column += static_cast<int>(s.size());
        return std::nullopt;
      });
  if (!line_colour) return;
  std::shared_ptr<Child> keep = current_child();
  post_to_gui([keep, s, colour = *line_colour] {
    if (keep->text) keep->text->append_line(s, to_qcolor(colour));
  });
}
