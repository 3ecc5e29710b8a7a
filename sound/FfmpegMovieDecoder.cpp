// The movie decoder over FFmpeg: demuxing, decoding, scaling to the target's 565 pictures and
// converting the sound to 16-bit stereo. The only file that sees FFmpeg.

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <deque>

#include "sound/MovieDecoder.h"

namespace
{
struct FormatCloser
{
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
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
struct ScalerFreer
{
    void operator()(SwsContext* scaler) const { sws_freeContext(scaler); }
};
struct ResamplerFreer
{
    void operator()(SwrContext* resampler) const { swr_free(&resampler); }
};

using CodecPtr = std::unique_ptr<AVCodecContext, CodecFreer>;

CodecPtr OpenDecoder(const AVStream* stream)
{
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (codec == nullptr)
    {
        return nullptr;
    }
    CodecPtr context(avcodec_alloc_context3(codec));
    if (!context || avcodec_parameters_to_context(context.get(), stream->codecpar) < 0 ||
        avcodec_open2(context.get(), codec, nullptr) < 0)
    {
        return nullptr;
    }
    return context;
}

class FfmpegMovieDecoder final : public MovieDecoder
{
public:
    bool Open(const std::string& path, const MovieTarget& target) override;
    Item Next(MoviePicture& picture, MovieSound& sound) override;

private:
    struct Decoded
    {
        Item item = Item::End;
        MoviePicture picture;
        MovieSound sound;
    };

    bool OpenAudio();
    void ReadPacket();
    void Drain(AVCodecContext* codec, int streamIndex);
    void TakePicture();
    void TakeSound();
    uint32_t TimeMs(int streamIndex);

    MovieTarget target_;
    std::unique_ptr<AVFormatContext, FormatCloser> format_;
    CodecPtr video_;
    CodecPtr audio_;
    int videoStream_ = -1;
    int audioStream_ = -1;
    std::unique_ptr<AVFrame, FrameFreer> frame_{av_frame_alloc()};
    std::unique_ptr<AVPacket, PacketFreer> packet_{av_packet_alloc()};
    std::unique_ptr<SwsContext, ScalerFreer> scaler_;
    std::unique_ptr<SwrContext, ResamplerFreer> resampler_;
    std::deque<Decoded> decoded_;
    bool ended_ = false;
    bool failed_ = false;
    uint32_t lastTimeMs_ = 0;  // for a frame without a time
};

bool FfmpegMovieDecoder::Open(const std::string& path, const MovieTarget& target)
{
    target_ = target;
    av_log_set_level(AV_LOG_FATAL);  // a damaged file is reported by its result, not on stderr
    AVFormatContext* opened = nullptr;
    if (!frame_ || !packet_ || avformat_open_input(&opened, path.c_str(), nullptr, nullptr) < 0)
    {
        return false;
    }
    format_.reset(opened);
    if (avformat_find_stream_info(format_.get(), nullptr) < 0)
    {
        return false;
    }
    videoStream_ = av_find_best_stream(format_.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (videoStream_ < 0 || !(video_ = OpenDecoder(format_->streams[videoStream_])))
    {
        return false;
    }
    audioStream_ = av_find_best_stream(format_.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (audioStream_ >= 0 && !OpenAudio())
    {
        audioStream_ = -1;  // a movie whose sound cannot be read is shown silent
    }
    return true;
}

bool FfmpegMovieDecoder::OpenAudio()
{
    audio_ = OpenDecoder(format_->streams[audioStream_]);
    if (!audio_)
    {
        return false;
    }
    SwrContext* resampler = nullptr;
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    if (swr_alloc_set_opts2(&resampler, &stereo, AV_SAMPLE_FMT_S16,
                            static_cast<int>(target_.audioRate), &audio_->ch_layout,
                            audio_->sample_fmt, audio_->sample_rate, 0, nullptr) < 0)
    {
        return false;
    }
    resampler_.reset(resampler);
    return swr_init(resampler) >= 0;
}

MovieDecoder::Item FfmpegMovieDecoder::Next(MoviePicture& picture, MovieSound& sound)
{
    while (decoded_.empty() && !ended_ && !failed_)
    {
        ReadPacket();
    }
    if (decoded_.empty())
    {
        return failed_ ? Item::Error : Item::End;
    }
    Decoded& next = decoded_.front();
    const Item item = next.item;
    if (item == Item::Picture)
    {
        picture = std::move(next.picture);
    }
    else
    {
        sound = std::move(next.sound);
    }
    decoded_.pop_front();
    return item;
}

// A packet the decoders refuse (a damaged stretch of the file) is passed over.
void FfmpegMovieDecoder::ReadPacket()
{
    const int read = av_read_frame(format_.get(), packet_.get());
    if (read < 0)
    {
        failed_ = read != AVERROR_EOF;
        for (auto [codec, index] :
             {std::pair(video_.get(), videoStream_), std::pair(audio_.get(), audioStream_)})
        {
            if (codec != nullptr && index >= 0 && avcodec_send_packet(codec, nullptr) >= 0)
            {
                Drain(codec, index);
            }
        }
        ended_ = true;
        return;
    }
    const int index = packet_->stream_index;
    AVCodecContext* codec = index == videoStream_   ? video_.get()
                            : index == audioStream_ ? audio_.get()
                                                    : nullptr;
    if (codec != nullptr && avcodec_send_packet(codec, packet_.get()) >= 0)
    {
        Drain(codec, index);
    }
    av_packet_unref(packet_.get());
}

void FfmpegMovieDecoder::Drain(AVCodecContext* codec, int streamIndex)
{
    while (avcodec_receive_frame(codec, frame_.get()) >= 0)
    {
        if (streamIndex == videoStream_)
        {
            TakePicture();
        }
        else
        {
            TakeSound();
        }
        av_frame_unref(frame_.get());
    }
}

uint32_t FfmpegMovieDecoder::TimeMs(int streamIndex)
{
    const AVStream* stream = format_->streams[streamIndex];
    int64_t pts = frame_->best_effort_timestamp;
    if (pts == AV_NOPTS_VALUE)
    {
        return lastTimeMs_;
    }
    const int64_t start = format_->start_time != AV_NOPTS_VALUE
                              ? av_rescale_q(format_->start_time, AV_TIME_BASE_Q, stream->time_base)
                              : 0;
    lastTimeMs_ = static_cast<uint32_t>(
        std::max<int64_t>(0, av_rescale_q(pts - start, stream->time_base, AVRational{1, 1000})));
    return lastTimeMs_;
}

void FfmpegMovieDecoder::TakePicture()
{
    scaler_.reset(sws_getCachedContext(scaler_.release(), frame_->width, frame_->height,
                                       static_cast<AVPixelFormat>(frame_->format), target_.width,
                                       target_.height, AV_PIX_FMT_RGB565LE, SWS_BILINEAR, nullptr,
                                       nullptr, nullptr));
    if (!scaler_)
    {
        return;
    }
    Decoded& decoded = decoded_.emplace_back();
    decoded.item = Item::Picture;
    decoded.picture.timeMs = TimeMs(videoStream_);
    decoded.picture.pixels.resize(static_cast<size_t>(target_.width) * target_.height);
    uint8_t* planes[4] = {reinterpret_cast<uint8_t*>(decoded.picture.pixels.data())};
    int pitches[4] = {target_.width * 2};
    sws_scale(scaler_.get(), frame_->data, frame_->linesize, 0, frame_->height, planes, pitches);
}

void FfmpegMovieDecoder::TakeSound()
{
    const int capacity = swr_get_out_samples(resampler_.get(), frame_->nb_samples);
    if (capacity <= 0)
    {
        return;
    }
    Decoded& decoded = decoded_.emplace_back();
    decoded.item = Item::Sound;
    decoded.sound.timeMs = TimeMs(audioStream_);
    decoded.sound.samples.resize(static_cast<size_t>(capacity) * 2);
    uint8_t* out[1] = {reinterpret_cast<uint8_t*>(decoded.sound.samples.data())};
    const int converted =
        swr_convert(resampler_.get(), out, capacity,
                    const_cast<const uint8_t**>(frame_->extended_data), frame_->nb_samples);
    decoded.sound.samples.resize(static_cast<size_t>(std::max(converted, 0)) * 2);
}
}  // namespace

std::unique_ptr<MovieDecoder> CreateFfmpegMovieDecoder()
{
    return std::make_unique<FfmpegMovieDecoder>();
}
