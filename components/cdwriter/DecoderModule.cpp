// The decoding of audio files for audio discs, over FFmpeg: a module of its own, loaded when the
// first track is decoded, so that a program that writes only data discs never loads FFmpeg.
#include "components/cdwriter/DecoderModule.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace {

constexpr int CdRate = 44100;
// The sample rates sound files are made at lie well within these; a header outside them is
// damaged, and a resampler for it would cost seconds and gigabytes before failing.
constexpr int LowestRate = 1000;
constexpr int HighestRate = 768000;

struct State {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    SwrContext* resampler = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    int stream = -1;
    bool draining = false;
    bool finished = false;
    std::vector<std::int16_t> pending; // converted samples not handed out yet
    std::size_t pendingAt = 0;
    // What the resampler takes: the sound of the frames decoded so far.
    AVChannelLayout inLayout {};
    AVSampleFormat inFormat = AV_SAMPLE_FMT_NONE;
    int inRate = 0;

    ~State()
    {
        av_frame_free(&frame);
        av_packet_free(&packet);
        swr_free(&resampler);
        av_channel_layout_uninit(&inLayout);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }

    // Sets the resampler up for sound of this layout, format and rate, unless it is so already.
    // A stream may change its sound between frames (an MP3 joined from a stereo and a mono
    // file): what the old set-up still holds is converted first. False for sound that cannot
    // be converted.
    bool Configure(const AVChannelLayout& given, AVSampleFormat sampleFormat, int rate)
    {
        AVChannelLayout layout {};
        if (given.order == AV_CHANNEL_ORDER_UNSPEC)
            av_channel_layout_default(&layout, given.nb_channels);
        else if (av_channel_layout_copy(&layout, &given) < 0)
            return false;
        const bool same = resampler && inFormat == sampleFormat && inRate == rate
            && av_channel_layout_compare(&inLayout, &layout) == 0;
        if (same) {
            av_channel_layout_uninit(&layout);
            return true;
        }
        Convert(nullptr, 0);
        swr_free(&resampler);
        av_channel_layout_uninit(&inLayout);
        inLayout = layout;
        inFormat = sampleFormat;
        inRate = rate;
        if (rate < LowestRate || rate > HighestRate || layout.nb_channels < 1) return false;
        AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
        if (swr_alloc_set_opts2(&resampler, &stereo, AV_SAMPLE_FMT_S16, CdRate, &layout, sampleFormat, rate, 0, nullptr)
                < 0
            || swr_init(resampler) < 0) {
            swr_free(&resampler);
            return false;
        }
        return true;
    }

    void Convert(const std::uint8_t** data, int samples)
    {
        if (!resampler) return;
        const int room = swr_get_out_samples(resampler, samples);
        if (room <= 0) return;
        const std::size_t keep = pending.size() - pendingAt;
        std::vector<std::int16_t> next(keep + std::size_t(room) * 2);
        std::copy(pending.begin() + std::ptrdiff_t(pendingAt), pending.end(), next.begin());
        std::uint8_t* out = reinterpret_cast<std::uint8_t*>(next.data() + keep);
        const int got = swr_convert(resampler, &out, room, data, samples);
        next.resize(keep + std::size_t(std::max(0, got)) * 2);
        pending = std::move(next);
        pendingAt = 0;
    }

    // Decodes until some converted samples wait, or the file ends.
    void Fill()
    {
        while (pendingAt >= pending.size() && !finished) {
            if (avcodec_receive_frame(codec, frame) == 0) {
                // A frame whose sound cannot be converted is skipped, as a damaged packet is.
                if (Configure(frame->ch_layout, AVSampleFormat(frame->format), frame->sample_rate))
                    Convert(const_cast<const std::uint8_t**>(frame->extended_data), frame->nb_samples);
                av_frame_unref(frame);
                continue;
            }
            if (draining) {
                Convert(nullptr, 0); // what the resampler still holds
                finished = true;
                break;
            }
            const int read = av_read_frame(format, packet);
            if (read < 0) {
                avcodec_send_packet(codec, nullptr);
                draining = true;
                continue;
            }
            if (packet->stream_index == stream) avcodec_send_packet(codec, packet); // a damaged packet is skipped
            av_packet_unref(packet);
        }
    }
};

bool HasName(const char* names, std::string_view wanted)
{
    std::string_view rest(names);
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        if (rest.substr(0, comma) == wanted) return true;
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    return false;
}

void* Open(const char* path, std::int64_t* frames)
{
    auto s = std::make_unique<State>();
    if (avformat_open_input(&s->format, path, nullptr, nullptr) < 0) return nullptr;
    if (!HasName(s->format->iformat->name, "mp3") && !HasName(s->format->iformat->name, "wav")) return nullptr;
    if (avformat_find_stream_info(s->format, nullptr) < 0) return nullptr;
    const AVCodec* decoder = nullptr;
    s->stream = av_find_best_stream(s->format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (s->stream < 0 || !decoder) return nullptr;
    const AVStream* stream = s->format->streams[s->stream];
    s->codec = avcodec_alloc_context3(decoder);
    if (!s->codec || avcodec_parameters_to_context(s->codec, stream->codecpar) < 0
        || avcodec_open2(s->codec, decoder, nullptr) < 0)
        return nullptr;
    if (!s->Configure(s->codec->ch_layout, s->codec->sample_fmt, s->codec->sample_rate)) return nullptr;
    s->packet = av_packet_alloc();
    s->frame = av_frame_alloc();
    if (!s->packet || !s->frame) return nullptr;

    double seconds = 0;
    if (stream->duration != AV_NOPTS_VALUE) seconds = stream->duration * av_q2d(stream->time_base);
    else if (s->format->duration != AV_NOPTS_VALUE) seconds = s->format->duration / double(AV_TIME_BASE);
    // Not one CD frame of sound, or a length no file could have.
    if (!(seconds * CdRate >= 0.5) || seconds * CdRate > 1e15) return nullptr;
    // A header may promise sound that is not there (a WAV whose data is less than one whole frame
    // of its own): what is decoded first is kept for the first read.
    s->Fill();
    if (s->pending.size() - s->pendingAt < 2) return nullptr;
    *frames = static_cast<std::int64_t>(seconds * CdRate + 0.5);
    return s.release();
}

std::size_t Read(void* decoder, std::int16_t* out, std::size_t frames)
{
    auto* state = static_cast<State*>(decoder);
    std::size_t done = 0;
    while (done < frames) {
        state->Fill();
        const std::size_t available = (state->pending.size() - state->pendingAt) / 2;
        if (available == 0) break;
        const std::size_t take = std::min(available, frames - done);
        std::memcpy(out + done * 2, state->pending.data() + state->pendingAt, take * 4);
        state->pendingAt += take * 2;
        done += take;
    }
    return done;
}

void Close(void* decoder) { delete static_cast<State*>(decoder); }

const cdwriter::DecoderEntry entry {&Open, &Read, &Close};

} // namespace

extern "C" __attribute__((visibility("default"))) const cdwriter::DecoderEntry* tessel_audio_decoder_entry() { return &entry; }
