// Move-only owners of the FFmpeg objects the video input holds: each one
// freed exactly once by its own free function.
#pragma once

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace zvvideo {

struct FormatContextFree {
  void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct CodecContextFree {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFree {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFree {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct SwsFree {
  void operator()(SwsContext* c) const { sws_freeContext(c); }
};
struct SwrFree {
  void operator()(SwrContext* c) const { swr_free(&c); }
};

using FormatContextPtr = std::unique_ptr<AVFormatContext, FormatContextFree>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;
using SwsPtr = std::unique_ptr<SwsContext, SwsFree>;
using SwrPtr = std::unique_ptr<SwrContext, SwrFree>;

inline FramePtr newFrame() { return FramePtr(av_frame_alloc()); }
inline PacketPtr newPacket() { return PacketPtr(av_packet_alloc()); }

}  // namespace zvvideo
