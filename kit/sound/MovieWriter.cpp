#include "kit/sound/MovieWriter.h"

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

namespace kit
{
namespace
{
constexpr int kAudioRate = 44100;

struct CodecFreer
{
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameFreer
{
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFreer
{
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
// The muxer and its in-memory output.
struct Output
{
    AVFormatContext* format = nullptr;
    ~Output()
    {
        if (format != nullptr)
        {
            if (format->pb != nullptr)
            {
                uint8_t* buffer = nullptr;
                avio_close_dyn_buf(format->pb, &buffer);
                av_free(buffer);
            }
            avformat_free_context(format);
        }
    }
};

using CodecPtr = std::unique_ptr<AVCodecContext, CodecFreer>;

struct Track
{
    CodecPtr codec;
    AVStream* stream = nullptr;
    std::unique_ptr<AVFrame, FrameFreer> frame{av_frame_alloc()};
    int64_t nextPts = 0;
};

bool AddVideo(Output& output, const MovieSpec& spec, Track& track)
{
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG1VIDEO);
    track.stream = codec != nullptr ? avformat_new_stream(output.format, nullptr) : nullptr;
    track.codec.reset(codec != nullptr ? avcodec_alloc_context3(codec) : nullptr);
    if (!track.stream || !track.codec || !track.frame)
    {
        return false;
    }
    AVCodecContext* c = track.codec.get();
    c->width = spec.width;
    c->height = spec.height;
    c->time_base = {1, spec.framesPerSecond};
    c->framerate = {spec.framesPerSecond, 1};
    c->pix_fmt = AV_PIX_FMT_YUV420P;
    c->gop_size = 12;
    c->bit_rate = 600000;
    track.frame->format = c->pix_fmt;
    track.frame->width = c->width;
    track.frame->height = c->height;
    track.stream->time_base = c->time_base;
    return avcodec_open2(c, codec, nullptr) >= 0 &&
           avcodec_parameters_from_context(track.stream->codecpar, c) >= 0 &&
           av_frame_get_buffer(track.frame.get(), 0) >= 0;
}

bool AddAudio(Output& output, Track& track)
{
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MP2);
    track.stream = codec != nullptr ? avformat_new_stream(output.format, nullptr) : nullptr;
    track.codec.reset(codec != nullptr ? avcodec_alloc_context3(codec) : nullptr);
    if (!track.stream || !track.codec || !track.frame)
    {
        return false;
    }
    AVCodecContext* c = track.codec.get();
    c->sample_fmt = AV_SAMPLE_FMT_S16;
    c->sample_rate = kAudioRate;
    c->bit_rate = 128000;
    c->time_base = {1, kAudioRate};
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    if (av_channel_layout_copy(&c->ch_layout, &stereo) < 0 || avcodec_open2(c, codec, nullptr) < 0)
    {
        return false;
    }
    track.stream->time_base = c->time_base;
    track.frame->format = c->sample_fmt;
    track.frame->nb_samples = c->frame_size;
    track.frame->sample_rate = c->sample_rate;
    return av_channel_layout_copy(&track.frame->ch_layout, &c->ch_layout) >= 0 &&
           avcodec_parameters_from_context(track.stream->codecpar, c) >= 0 &&
           av_frame_get_buffer(track.frame.get(), 0) >= 0;
}

// Colour bars that slide one step a frame, over a strip that counts the frames in binary.
void DrawPattern(AVFrame* frame, int64_t index)
{
    constexpr uint8_t kBarLuma[] = {235, 210, 170, 145, 106, 81, 41, 16};
    constexpr uint8_t kBarU[] = {128, 16, 166, 54, 202, 90, 240, 128};
    constexpr uint8_t kBarV[] = {128, 146, 16, 34, 222, 240, 110, 128};
    av_frame_make_writable(frame);
    const int barWidth = std::max(frame->width / 8, 1);
    for (int y = 0; y < frame->height; ++y)
    {
        for (int x = 0; x < frame->width; ++x)
        {
            const int bar = static_cast<int>((x + index * 4) / barWidth % 8);
            const bool counterBit =
                y >= frame->height - 16 && ((index >> (x * 16 / frame->width)) & 1);
            frame->data[0][y * frame->linesize[0] + x] =
                y >= frame->height - 16 ? (counterBit ? 235 : 16) : kBarLuma[bar];
            if (y % 2 == 0 && x % 2 == 0)
            {
                frame->data[1][y / 2 * frame->linesize[1] + x / 2] = kBarU[bar];
                frame->data[2][y / 2 * frame->linesize[2] + x / 2] = kBarV[bar];
            }
        }
    }
    frame->pts = index;
}

void DrawTone(AVFrame* frame, int64_t firstSample, double hz)
{
    av_frame_make_writable(frame);
    auto* samples = reinterpret_cast<int16_t*>(frame->data[0]);
    for (int i = 0; i < frame->nb_samples; ++i)
    {
        const double t = static_cast<double>(firstSample + i) / kAudioRate;
        const auto value = static_cast<int16_t>(8000.0 * std::sin(2.0 * std::numbers::pi * hz * t));
        samples[2 * i] = value;
        samples[2 * i + 1] = value;
    }
    frame->pts = firstSample;
}

// Sends a frame (null flushes) and writes the packets that come out.
bool Encode(Output& output, Track& track, AVFrame* frame)
{
    if (avcodec_send_frame(track.codec.get(), frame) < 0)
    {
        return false;
    }
    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    while (avcodec_receive_packet(track.codec.get(), packet.get()) >= 0)
    {
        av_packet_rescale_ts(packet.get(), track.codec->time_base, track.stream->time_base);
        packet->stream_index = track.stream->index;
        if (av_interleaved_write_frame(output.format, packet.get()) < 0)
        {
            return false;
        }
    }
    return true;
}

bool WriteTracks(Output& output, const MovieSpec& spec, Track& video, Track* audio)
{
    for (int64_t index = 0; index < spec.frames; ++index)
    {
        DrawPattern(video.frame.get(), index);
        if (!Encode(output, video, video.frame.get()))
        {
            return false;
        }
        // The sound up to the end of this picture.
        const int64_t soundUntil = (index + 1) * kAudioRate / spec.framesPerSecond;
        while (audio != nullptr && audio->nextPts < soundUntil)
        {
            DrawTone(audio->frame.get(), audio->nextPts, spec.toneHz);
            audio->nextPts += audio->frame->nb_samples;
            if (!Encode(output, *audio, audio->frame.get()))
            {
                return false;
            }
        }
    }
    return Encode(output, video, nullptr) && (audio == nullptr || Encode(output, *audio, nullptr));
}
}  // namespace

std::vector<uint8_t> BuildMovie(const MovieSpec& spec, std::string& error)
{
    av_log_set_level(AV_LOG_ERROR);
    Output output;
    Track video;
    Track audio;
    if (avformat_alloc_output_context2(&output.format, nullptr, "mpeg", nullptr) < 0 ||
        !AddVideo(output, spec, video) || (spec.withSound && !AddAudio(output, audio)) ||
        avio_open_dyn_buf(&output.format->pb) < 0 ||
        avformat_write_header(output.format, nullptr) < 0 ||
        !WriteTracks(output, spec, video, spec.withSound ? &audio : nullptr) ||
        av_write_trailer(output.format) < 0)
    {
        error = "cannot encode a movie";
        return {};
    }
    uint8_t* buffer = nullptr;
    const int size = avio_close_dyn_buf(output.format->pb, &buffer);
    output.format->pb = nullptr;
    std::vector<uint8_t> bytes(buffer, buffer + std::max(size, 0));
    av_free(buffer);
    return bytes;
}
}  // namespace kit
