#include "components/encoders/WMAEncoderX.h"

#include "components/encoders/EncodeError.h"
#include "platform/files/PartialFile.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <map>
#include <mutex>
#include <tuple>

namespace {

constexpr int SampleRates[] {8000, 11025, 16000, 22050, 32000, 44100, 48000};

// The formats a Windows Media Audio encoder offers, as the codec's published format table lists
// them: a bit rate goes with the sample rates and channels it was tuned for.
struct Format {
    int kbps;
    int hz;
    bool stereo;
};
// clang-format off
constexpr Format PublishedFormats[] {
    {192, 48000, true}, {160, 48000, true}, {128, 48000, true},
    {192, 44100, true}, {160, 44100, true}, {128, 44100, true}, {96, 44100, true}, {80, 44100, true},
    {64, 44100, true}, {48, 44100, true}, {32, 44100, true}, {48, 44100, false}, {32, 44100, false},
    {48, 32000, true}, {40, 32000, true}, {32, 32000, true}, {20, 32000, false},
    {32, 22050, true}, {22, 22050, true}, {20, 22050, true}, {20, 22050, false}, {16, 22050, false},
    {20, 16000, true}, {16, 16000, true}, {16, 16000, false}, {12, 16000, false}, {10, 16000, false},
    {10, 11025, false}, {8, 11025, false},
    {12, 8000, true}, {8, 8000, false}, {6, 8000, false}, {5, 8000, false},
};
// clang-format on

bool Published(int hz, int kbps, bool stereo)
{
    for (const Format& f : PublishedFormats)
        if (f.kbps == kbps && f.hz == hz && f.stereo == stereo) return true;
    return false;
}

struct CodecDeleter {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
using CodecContext = std::unique_ptr<AVCodecContext, CodecDeleter>;

// A wmav2 encoder opened for these settings; null when the codec refuses them. A `quiet` open
// only asks: the codec's refusal is then an answer, not an error to print.
CodecContext OpenCodec(int sampleRate, int kbps, bool stereo, bool quiet = false)
{
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_WMAV2);
    if (!codec || sampleRate <= 0 || kbps <= 0) return nullptr;
    CodecContext context(avcodec_alloc_context3(codec));
    if (!context) return nullptr;
    context->sample_fmt = AV_SAMPLE_FMT_FLTP;
    context->sample_rate = sampleRate;
    context->bit_rate = std::int64_t(kbps) * 1000;
    av_channel_layout_default(&context->ch_layout, stereo ? 2 : 1);
    context->time_base = AVRational {1, sampleRate};
    // avcodec.h: log_level_offset is added to the level of every message of this context.
    if (quiet) context->log_level_offset = AV_LOG_TRACE;
    if (avcodec_open2(context.get(), codec, nullptr) < 0) return nullptr;
    return context;
}

class WmaStream : public RipEncoderStream {
public:
    explicit WmaStream(files::PartialFile file)
        : file_(std::move(file))
    {
    }

    ~WmaStream() override
    {
        if (format_) {
            if (format_->pb) avio_closep(&format_->pb);
            avformat_free_context(format_);
        }
        swr_free(&resampler_);
        if (fifo_) av_audio_fifo_free(fifo_);
        av_frame_free(&frame_);
        av_packet_free(&packet_);
    }

    // Opens the codec, the resampler and the ASF file; the error code when one of them fails.
    int Open(int sampleRate, int kbps, bool stereo)
    {
        codec_ = OpenCodec(sampleRate, kbps, stereo);
        if (!codec_) return EncodeError::InvalidSettings;

        AVChannelLayout in = AV_CHANNEL_LAYOUT_STEREO;
        if (swr_alloc_set_opts2(&resampler_, &codec_->ch_layout, codec_->sample_fmt, sampleRate, &in,
                AV_SAMPLE_FMT_S16, 44100, 0, nullptr)
                < 0
            || swr_init(resampler_) < 0)
            return EncodeError::EncodingBuffer;
        fifo_ = av_audio_fifo_alloc(codec_->sample_fmt, codec_->ch_layout.nb_channels, codec_->frame_size * 2);
        frame_ = av_frame_alloc();
        packet_ = av_packet_alloc();
        if (!fifo_ || !frame_ || !packet_) return EncodeError::EncodingBuffer;

        // The hidden file is reopened by the muxer by its path.
        if (!file_.Close()) return EncodeError::CreateOutput;
        if (avformat_alloc_output_context2(&format_, nullptr, "asf", nullptr) < 0) return EncodeError::EncodingBuffer;
        AVStream* stream = avformat_new_stream(format_, nullptr);
        if (!stream || avcodec_parameters_from_context(stream->codecpar, codec_.get()) < 0)
            return EncodeError::EncodingBuffer;
        stream->time_base = codec_->time_base;
        if (avio_open(&format_->pb, ("file:" + file_.Path()).c_str(), AVIO_FLAG_WRITE) < 0)
            return EncodeError::CreateOutput;
        if (avformat_write_header(format_, nullptr) < 0) return EncodeError::CreateOutput;
        return -1;
    }

    bool Write(const std::int16_t* samples, std::size_t frames) override
    {
        while (frames > 0) {
            const int n = static_cast<int>(std::min<std::size_t>(frames, 8192));
            const auto* in = reinterpret_cast<const std::uint8_t*>(samples);
            if (!Resample(&in, n)) return false;
            if (!EncodeWhole()) return false;
            samples += 2 * n;
            frames -= std::size_t(n);
        }
        return true;
    }

    bool Finish() override
    {
        if (!Resample(nullptr, 0) || !EncodeWhole()) return false;
        // The codec takes whole frames only: the last one is filled up with silence.
        const int left = av_audio_fifo_size(fifo_);
        if (left > 0 && !EncodeFrame(left)) return false;
        if (avcodec_send_frame(codec_.get(), nullptr) < 0 || !Drain()) return false;
        if (av_write_trailer(format_) < 0) return false;
        if (avio_closep(&format_->pb) < 0) return false;
        return file_.Commit();
    }

    bool OutputFailed() const override { return outputFailed_; }

private:
    bool Resample(const std::uint8_t** in, int frames)
    {
        const int room = swr_get_out_samples(resampler_, frames);
        if (room < 0) return false;
        if (room == 0) return true;
        std::uint8_t** planes = nullptr;
        if (av_samples_alloc_array_and_samples(&planes, nullptr, codec_->ch_layout.nb_channels, room,
                codec_->sample_fmt, 0)
            < 0)
            return false;
        const int got = swr_convert(resampler_, planes, room, in, frames);
        const bool ok = got >= 0 && (got == 0 || av_audio_fifo_write(fifo_, reinterpret_cast<void**>(planes), got) == got);
        av_freep(&planes[0]);
        av_freep(&planes);
        return ok;
    }

    bool EncodeWhole()
    {
        while (av_audio_fifo_size(fifo_) >= codec_->frame_size)
            if (!EncodeFrame(codec_->frame_size)) return false;
        return true;
    }

    bool EncodeFrame(int samples)
    {
        av_frame_unref(frame_);
        frame_->nb_samples = codec_->frame_size;
        frame_->format = codec_->sample_fmt;
        frame_->sample_rate = codec_->sample_rate;
        if (av_channel_layout_copy(&frame_->ch_layout, &codec_->ch_layout) < 0) return false;
        if (av_frame_get_buffer(frame_, 0) < 0) return false;
        if (samples < codec_->frame_size)
            av_samples_set_silence(frame_->data, samples, codec_->frame_size - samples, codec_->ch_layout.nb_channels,
                codec_->sample_fmt);
        if (av_audio_fifo_read(fifo_, reinterpret_cast<void**>(frame_->data), samples) != samples) return false;
        frame_->pts = pts_;
        pts_ += codec_->frame_size;
        return avcodec_send_frame(codec_.get(), frame_) >= 0 && Drain();
    }

    bool Drain()
    {
        for (;;) {
            const int result = avcodec_receive_packet(codec_.get(), packet_);
            if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return true;
            if (result < 0) return false;
            av_packet_rescale_ts(packet_, codec_->time_base, format_->streams[0]->time_base);
            packet_->stream_index = 0;
            if (av_interleaved_write_frame(format_, packet_) < 0) {
                outputFailed_ = true;
                return false;
            }
        }
    }

    files::PartialFile file_;
    CodecContext codec_;
    SwrContext* resampler_ = nullptr;
    AVAudioFifo* fifo_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVFormatContext* format_ = nullptr;
    std::int64_t pts_ = 0;
    bool outputFailed_ = false;
};

} // namespace

WMAEncoderX::WMAEncoderX(QObject* parent)
    : AudioEncoder(parent)
{
}

int WMAEncoderX::SampleRateHz(int code) { return code >= 0 && code <= 6 ? SampleRates[code] : 0; }

bool WMAEncoderX::IsFormatSupported(int sampleRateCode, int kbps, bool stereo) const
{
    // A published format is offered when the codec writes it too (it writes nothing below
    // 24 kb/s). Asking the codec means opening it; the answers never change, so each is asked once.
    static std::mutex mutex;
    static std::map<std::tuple<int, int, bool>, bool> answers;
    const int rate = SampleRateHz(sampleRateCode);
    if (!Published(rate, kbps, stereo)) return false;
    const auto key = std::make_tuple(rate, kbps, stereo);
    std::lock_guard lock(mutex);
    auto it = answers.find(key);
    if (it == answers.end()) it = answers.emplace(key, OpenCodec(rate, kbps, stereo, true) != nullptr).first;
    return it->second;
}

bool WMAEncoderX::SupportsStereo(int kbps) const
{
    for (int code = 0; code <= 6; ++code)
        if (IsFormatSupported(code, kbps, true)) return true;
    return false;
}

bool WMAEncoderX::SupportsMono(int kbps) const
{
    for (int code = 0; code <= 6; ++code)
        if (IsFormatSupported(code, kbps, false)) return true;
    return false;
}

std::unique_ptr<RipEncoderStream> WMAEncoderX::OpenStream(files::PartialFile file, std::uint64_t, int& error)
{
    const int rate = SampleRateHz(SampleRate());
    const int kbps = Bitrate();
    const bool stereo = Stereo();
    if (!IsFormatSupported(SampleRate(), kbps, stereo)) {
        error = EncodeError::InvalidSettings;
        return nullptr;
    }
    auto stream = std::make_unique<WmaStream>(std::move(file));
    const int failure = stream->Open(rate, kbps, stereo);
    if (failure >= 0) {
        error = failure;
        return nullptr;
    }
    return stream;
}
