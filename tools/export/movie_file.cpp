// The movie sink: FFmpeg's libraries encode the frames and write the file.
// Built as the module that movie_module.cpp loads when a movie is asked
// for, so that a program that writes none never loads those libraries.
//
// .mp4 and .webm: the pictures are converted to YUV 4:2:0 by libswscale and
// encoded with libx264 or libvpx-vp9 at constant quality. .gif: libavfilter
// makes a palette for each picture (palettegen in single mode) and maps the
// picture onto it (paletteuse, no dithering, so that lines stay crisp), and
// the GIF encoder writes it.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <cstring>

#include "base/shown_text.h"
#include "frame_sink.h"
#include "whole_file.h"

namespace {

std::string av_error_text(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

class MovieFile : public FrameSink {
 public:
  MovieFile(std::string path, std::string format_ext, int fps)
      : path_(std::move(path)), file_(path_), format_ext_(std::move(format_ext)), fps_(fps) {}
  ~MovieFile() override { abandon(); }

  Status begin(int width, int height) override;
  // libvpx-vp9 keeps the most frames for its look-ahead, libx264 fewer, the
  // GIF filters one; the encoders' threads take their own stacks and heaps.
  std::int64_t memory_bytes(int width, int height) const override {
    const std::int64_t pixels = std::int64_t{width} * height;
    if (format_ext_ == ".webm") return (std::int64_t{256} << 20) + 120 * pixels;
    if (format_ext_ == ".mp4") return (std::int64_t{224} << 20) + 60 * pixels;
    return 56 * pixels;
  }
  Status add(const WndImage& image, std::int64_t frame) override;
  Status finish() override;
  void abandon() override;

 private:
  Status fail(const std::string& what) {
    abandon();
    return Status::io_error(shown_text(path_) + ": " + what);
  }
  Status fail(const std::string& what, int code) { return fail(what + ": " + av_error_text(code)); }
  Status open_gif_filters();
  // Sends `frame` (nullptr to flush) to the encoder and writes every packet
  // it has ready.
  Status encode(AVFrame* frame);
  // Takes every picture the palette filters have ready and encodes it.
  Status drain_filters();

  std::string path_;
  WholeFile file_;  // the movie is written to its temporary file
  std::string format_ext_;
  int fps_;
  bool gif_ = false;
  int width_ = 0, height_ = 0;  // of the movie (an .mp4 is rounded down to even sizes)
  AVFormatContext* format_ = nullptr;
  AVCodecContext* codec_ = nullptr;
  AVStream* stream_ = nullptr;
  SwsContext* convert_ = nullptr;
  AVFilterGraph* graph_ = nullptr;
  AVFilterContext* source_ = nullptr;
  AVFilterContext* sink_ = nullptr;
  AVFrame* picture_ = nullptr;   // what is handed to the encoder or the filters
  AVFrame* filtered_ = nullptr;  // a palette picture out of the filters
  AVPacket* packet_ = nullptr;
  bool file_open_ = false;  // format_->pb is open
};

Status MovieFile::begin(int width, int height) {
  // The libraries' own log lines stay off stderr; every failure comes back
  // as a code and is told in one line naming the file.
  av_log_set_level(AV_LOG_QUIET);
  gif_ = format_ext_ == ".gif";
  const bool mp4 = format_ext_ == ".mp4";
  width_ = mp4 ? width & ~1 : width;
  height_ = mp4 ? height & ~1 : height;
  if (width_ < 2 || height_ < 2) return fail("the pictures are too small for a movie");

  const char* muxer = mp4 ? "mp4" : gif_ ? "gif" : "webm";
  int rc = avformat_alloc_output_context2(&format_, nullptr, muxer, file_.temporary_path().c_str());
  if (rc < 0 || format_ == nullptr) return fail("the movie format cannot be set up", rc);

  const AVCodec* encoder = gif_   ? avcodec_find_encoder(AV_CODEC_ID_GIF)
                           : mp4 ? avcodec_find_encoder_by_name("libx264")
                                 : avcodec_find_encoder_by_name("libvpx-vp9");
  if (encoder == nullptr) return fail(std::string("FFmpeg on this system has no ") +
                                      (gif_ ? "GIF" : mp4 ? "libx264" : "libvpx-vp9") + " encoder");
  codec_ = avcodec_alloc_context3(encoder);
  if (codec_ == nullptr) return fail("out of memory");
  codec_->width = width_;
  codec_->height = height_;
  codec_->time_base = AVRational{1, fps_};
  codec_->framerate = AVRational{fps_, 1};
  codec_->pix_fmt = gif_ ? AV_PIX_FMT_PAL8 : AV_PIX_FMT_YUV420P;
  if (!gif_) {
    codec_->gop_size = 2 * fps_;
    codec_->colorspace = AVCOL_SPC_SMPTE170M;  // the conversion's coefficients
    codec_->color_range = AVCOL_RANGE_MPEG;
  }
  if (mp4) {
    av_opt_set(codec_->priv_data, "preset", "fast", 0);
    av_opt_set(codec_->priv_data, "crf", "20", 0);
  } else if (!gif_) {
    codec_->bit_rate = 0;  // constant quality
    av_opt_set(codec_->priv_data, "crf", "32", 0);
    av_opt_set(codec_->priv_data, "deadline", "good", 0);
    av_opt_set_int(codec_->priv_data, "cpu-used", 4, 0);
    av_opt_set_int(codec_->priv_data, "row-mt", 1, 0);
  }
  if (format_->oformat->flags & AVFMT_GLOBALHEADER) codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if ((rc = avcodec_open2(codec_, encoder, nullptr)) < 0) return fail("the encoder cannot be opened", rc);

  stream_ = avformat_new_stream(format_, nullptr);
  if (stream_ == nullptr) return fail("out of memory");
  if ((rc = avcodec_parameters_from_context(stream_->codecpar, codec_)) < 0) return fail("the stream", rc);
  stream_->time_base = codec_->time_base;
  stream_->avg_frame_rate = codec_->framerate;

  if ((rc = avio_open(&format_->pb, file_.temporary_path().c_str(), AVIO_FLAG_WRITE)) < 0)
    return fail("cannot be written", rc);
  file_open_ = true;
  if ((rc = avformat_write_header(format_, nullptr)) < 0) return fail("cannot be written", rc);

  picture_ = av_frame_alloc();
  filtered_ = av_frame_alloc();
  packet_ = av_packet_alloc();
  if (picture_ == nullptr || filtered_ == nullptr || packet_ == nullptr) return fail("out of memory");
  if (gif_) return open_gif_filters();

  picture_->format = AV_PIX_FMT_YUV420P;
  picture_->width = width_;
  picture_->height = height_;
  if ((rc = av_frame_get_buffer(picture_, 0)) < 0) return fail("out of memory", rc);
  convert_ = sws_getContext(width_, height_, AV_PIX_FMT_BGRA, width_, height_, AV_PIX_FMT_YUV420P,
                            SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
  if (convert_ == nullptr) return fail("the picture conversion cannot be set up");
  return Status::ok();
}

Status MovieFile::open_gif_filters() {
  graph_ = avfilter_graph_alloc();
  if (graph_ == nullptr) return fail("out of memory");
  // Pixels are 0xFFRRGGBB words: bytes B, G, R, A in memory.
  char args[160];
  std::snprintf(args, sizeof args, "video_size=%dx%d:pix_fmt=%d:time_base=1/%d:pixel_aspect=1/1", width_,
                height_, static_cast<int>(AV_PIX_FMT_BGRA), fps_);
  int rc = avfilter_graph_create_filter(&source_, avfilter_get_by_name("buffer"), "in", args, nullptr, graph_);
  if (rc < 0) return fail("the palette filters cannot be set up", rc);
  rc = avfilter_graph_create_filter(&sink_, avfilter_get_by_name("buffersink"), "out", nullptr, nullptr, graph_);
  if (rc < 0) return fail("the palette filters cannot be set up", rc);
  const AVPixelFormat formats[] = {AV_PIX_FMT_PAL8, AV_PIX_FMT_NONE};
  rc = av_opt_set_int_list(sink_, "pix_fmts", formats, AV_PIX_FMT_NONE, AV_OPT_SEARCH_CHILDREN);
  if (rc < 0) return fail("the palette filters cannot be set up", rc);

  AVFilterInOut* outputs = avfilter_inout_alloc();
  AVFilterInOut* inputs = avfilter_inout_alloc();
  if (outputs == nullptr || inputs == nullptr) {
    avfilter_inout_free(&outputs);
    avfilter_inout_free(&inputs);
    return fail("out of memory");
  }
  outputs->name = av_strdup("in");
  outputs->filter_ctx = source_;
  inputs->name = av_strdup("out");
  inputs->filter_ctx = sink_;
  rc = avfilter_graph_parse_ptr(graph_,
                                "split[a][b];[a]palettegen=stats_mode=single:reserve_transparent=0[p];"
                                "[b][p]paletteuse=new=1:dither=none",
                                &inputs, &outputs, nullptr);
  avfilter_inout_free(&outputs);
  avfilter_inout_free(&inputs);
  if (rc < 0 || (rc = avfilter_graph_config(graph_, nullptr)) < 0)
    return fail("the palette filters cannot be set up", rc);
  return Status::ok();
}

Status MovieFile::add(const WndImage& image, std::int64_t frame) {
  if (format_ == nullptr) return Status::io_error(shown_text(path_) + ": the movie was not begun");
  const auto* pixels = reinterpret_cast<const std::uint8_t*>(image.pixels.data());
  const int stride = image.width * 4;
  int rc = 0;
  if (gif_) {
    av_frame_unref(picture_);
    picture_->format = AV_PIX_FMT_BGRA;
    picture_->width = width_;
    picture_->height = height_;
    if ((rc = av_frame_get_buffer(picture_, 0)) < 0) return fail("out of memory", rc);
    av_image_copy_plane(picture_->data[0], picture_->linesize[0], pixels, stride, width_ * 4, height_);
    picture_->pts = frame;
    if ((rc = av_buffersrc_add_frame(source_, picture_)) < 0) return fail("the palette filters", rc);
    return drain_filters();
  }
  if ((rc = av_frame_make_writable(picture_)) < 0) return fail("out of memory", rc);
  const std::uint8_t* planes[1] = {pixels};
  const int strides[1] = {stride};
  sws_scale(convert_, planes, strides, 0, height_, picture_->data, picture_->linesize);
  picture_->pts = frame;
  return encode(picture_);
}

Status MovieFile::drain_filters() {
  for (;;) {
    const int rc = av_buffersink_get_frame(sink_, filtered_);
    if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return Status::ok();
    if (rc < 0) return fail("the palette filters", rc);
    filtered_->pict_type = AV_PICTURE_TYPE_NONE;
    Status status = encode(filtered_);
    av_frame_unref(filtered_);
    if (!status.is_ok()) return status;
  }
}

Status MovieFile::encode(AVFrame* frame) {
  int rc = avcodec_send_frame(codec_, frame);
  if (rc < 0) return fail("the encoder", rc);
  for (;;) {
    rc = avcodec_receive_packet(codec_, packet_);
    if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) break;
    if (rc < 0) return fail("the encoder", rc);
    av_packet_rescale_ts(packet_, codec_->time_base, stream_->time_base);
    packet_->stream_index = stream_->index;
    rc = av_interleaved_write_frame(format_, packet_);
    if (rc < 0) return fail("cannot be written", rc);
  }
  if (format_->pb->error < 0) return fail("cannot be written", format_->pb->error);
  return Status::ok();
}

Status MovieFile::finish() {
  if (format_ == nullptr) return Status::io_error(shown_text(path_) + ": the movie was not begun");
  int rc = 0;
  if (gif_) {
    if ((rc = av_buffersrc_add_frame(source_, nullptr)) < 0) return fail("the palette filters", rc);
    if (Status status = drain_filters(); !status.is_ok()) return status;
  }
  if (Status status = encode(nullptr); !status.is_ok()) return status;
  if ((rc = av_write_trailer(format_)) < 0) return fail("cannot be written", rc);
  avio_flush(format_->pb);
  if (format_->pb->error < 0) return fail("cannot be written", format_->pb->error);
  rc = avio_closep(&format_->pb);
  file_open_ = false;
  if (rc < 0) return fail("cannot be written", rc);
  if (Status status = file_.commit(); !status.is_ok()) {
    abandon();
    return status;
  }
  abandon();  // releases the rest; the temporary name no longer exists
  return Status::ok();
}

void MovieFile::abandon() {
  if (format_ != nullptr && file_open_) avio_closep(&format_->pb);
  file_open_ = false;
  file_.discard();
  avformat_free_context(format_);
  format_ = nullptr;
  stream_ = nullptr;
  avcodec_free_context(&codec_);
  sws_freeContext(convert_);
  convert_ = nullptr;
  avfilter_graph_free(&graph_);
  source_ = sink_ = nullptr;
  av_frame_free(&picture_);
  av_frame_free(&filtered_);
  av_packet_free(&packet_);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) FrameSink* veltra_make_movie_file(const char* path,
                                                                                 const char* format_ext, int fps) {
  try {
    return new MovieFile(path, format_ext, fps);
  } catch (...) {
    return nullptr;  // no memory: the loader tells it
  }
}
