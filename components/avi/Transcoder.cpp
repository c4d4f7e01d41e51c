#include "components/avi/Transcoder.h"

#include <QByteArray>
#include <algorithm>

namespace avifile {

namespace {

// Quality 0..10000 as the encoder's fixed quantiser, 31 (worst) to 2 (best).
int QuantiserOf(std::uint32_t quality)
{
    const int q = 31 - int(std::min<std::uint32_t>(quality, 10000) * 29 / 10000);
    return std::clamp(q, 2, 31);
}

class Job {
public:
    Job(const AviStreamObject& source, const AVICOMPRESSOPTIONS& options,
        const std::function<bool(int)>& progress)
        : source_(source), options_(options), progress_(progress)
    {
    }

    HRESULT Run(const QString& target)
    {
        if (HRESULT r = OpenSource(); r != AVIERR_OK) return r;
        if (HRESULT r = OpenTarget(target); r != AVIERR_OK) return r;
        if (!Report(0)) return AVIERR_USERABORT;
        ff::Packet packet(av_packet_alloc());
        ff::Frame frame(av_frame_alloc());
        if (!packet || !frame) return AVIERR_MEMORY;
        int read;
        while ((read = av_read_frame(input_.get(), packet.get())) >= 0) {
            HRESULT r = AVIERR_OK;
            if (packet->stream_index == source_.index) r = Decode(packet.get(), frame.get());
            av_packet_unref(packet.get());
            if (r != AVIERR_OK) return r;
        }
        if (read != AVERROR_EOF) return AVIERR_FILEREAD;
        if (HRESULT r = Decode(nullptr, frame.get()); r != AVIERR_OK) return r;
        if (HRESULT r = Encode(nullptr); r != AVIERR_OK) return r;
        if (av_write_trailer(output_.get()) < 0) return AVIERR_FILEWRITE;
        if (avio_closep(&output_->pb) < 0) return AVIERR_FILEWRITE;
        return Report(100) ? AVIERR_OK : AVIERR_USERABORT;
    }

private:
    HRESULT OpenSource()
    {
        input_ = ff::OpenInput(source_.file->path.toLocal8Bit().constData());
        if (!input_ || source_.index >= int(input_->nb_streams)) return AVIERR_FILEREAD;
        decoder_ = ff::OpenDecoder(input_->streams[source_.index]);
        return decoder_ ? AVIERR_OK : AVIERR_BADFORMAT;
    }

    HRESULT OpenTarget(const QString& target)
    {
        const AVCodec* codec = nullptr;
        encoder_ = MakeEncoder(options_, source_, &codec);
        if (!encoder_) return AVIERR_NOCOMPRESSOR;
        AVFormatContext* out = nullptr;
        const QByteArray path = target.toLocal8Bit();
        if (avformat_alloc_output_context2(&out, nullptr, "avi", path.constData()) < 0 || !out) return AVIERR_MEMORY;
        output_.reset(out);
        if (out->oformat->flags & AVFMT_GLOBALHEADER) encoder_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (avcodec_open2(encoder_.get(), codec, nullptr) < 0) return AVIERR_COMPRESSOR;
        AVStream* stream = avformat_new_stream(out, nullptr);
        if (!stream || avcodec_parameters_from_context(stream->codecpar, encoder_.get()) < 0) return AVIERR_MEMORY;
        stream->time_base = encoder_->time_base;
        stream->avg_frame_rate = encoder_->framerate;
        if (avio_open(&out->pb, path.constData(), AVIO_FLAG_WRITE) < 0) return AVIERR_FILEWRITE;
        if (avformat_write_header(out, nullptr) < 0) return AVIERR_FILEWRITE;
        scaled_.reset(av_frame_alloc());
        outPacket_.reset(av_packet_alloc());
        return scaled_ && outPacket_ ? AVIERR_OK : AVIERR_MEMORY;
    }

    HRESULT Decode(AVPacket* packet, AVFrame* frame)
    {
        // A damaged packet is skipped, as players do; only the end of the data ends decoding.
        if (avcodec_send_packet(decoder_.get(), packet) < 0 && packet) return AVIERR_OK;
        for (;;) {
            const int got = avcodec_receive_frame(decoder_.get(), frame);
            if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return AVIERR_OK;
            if (got < 0) return AVIERR_OK;
            HRESULT r = Encode(frame);
            av_frame_unref(frame);
            if (r != AVIERR_OK) return r;
        }
    }

    HRESULT Convert(const AVFrame* frame, AVFrame** ready)
    {
        if (frame->format == encoder_->pix_fmt && frame->width == encoder_->width
            && frame->height == encoder_->height) {
            *ready = const_cast<AVFrame*>(frame);
            return AVIERR_OK;
        }
        if (!scaler_ || scaledFrom_ != frame->format || frame->width != fromWidth_ || frame->height != fromHeight_) {
            scaler_.reset(sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), encoder_->width,
                encoder_->height, encoder_->pix_fmt, SWS_BICUBIC, nullptr, nullptr, nullptr));
            if (!scaler_) return AVIERR_BADFORMAT;
            scaledFrom_ = frame->format;
            fromWidth_ = frame->width;
            fromHeight_ = frame->height;
        }
        av_frame_unref(scaled_.get());
        scaled_->format = encoder_->pix_fmt;
        scaled_->width = encoder_->width;
        scaled_->height = encoder_->height;
        if (av_frame_get_buffer(scaled_.get(), 0) < 0) return AVIERR_MEMORY;
        sws_scale(scaler_.get(), frame->data, frame->linesize, 0, frame->height, scaled_->data, scaled_->linesize);
        *ready = scaled_.get();
        return AVIERR_OK;
    }

    HRESULT Encode(const AVFrame* frame)
    {
        AVFrame* ready = nullptr;
        if (frame) {
            if (HRESULT r = Convert(frame, &ready); r != AVIERR_OK) return r;
            ready->pts = written_++;
            ready->pict_type = AV_PICTURE_TYPE_NONE;
            if (encoder_->flags & AV_CODEC_FLAG_QSCALE) ready->quality = encoder_->global_quality;
        }
        if (avcodec_send_frame(encoder_.get(), ready) < 0) return AVIERR_COMPRESSOR;
        for (;;) {
            const int got = avcodec_receive_packet(encoder_.get(), outPacket_.get());
            if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) break;
            if (got < 0) return AVIERR_COMPRESSOR;
            AVStream* stream = output_->streams[0];
            av_packet_rescale_ts(outPacket_.get(), encoder_->time_base, stream->time_base);
            outPacket_->stream_index = 0;
            if (av_interleaved_write_frame(output_.get(), outPacket_.get()) < 0) return AVIERR_FILEWRITE;
        }
        if (frame && source_.frames > 0) {
            const int percent = int(std::min<std::int64_t>(99, written_ * 100 / source_.frames));
            if (percent != reported_ && !Report(percent)) return AVIERR_USERABORT;
        }
        return AVIERR_OK;
    }

    bool Report(int percent)
    {
        reported_ = percent;
        return progress_(percent);
    }

    const AviStreamObject& source_;
    const AVICOMPRESSOPTIONS& options_;
    const std::function<bool(int)>& progress_;
    ff::Input input_;
    ff::Codec decoder_;
    ff::Output output_;
    ff::Codec encoder_;
    ff::Scaler scaler_;
    ff::Frame scaled_;
    ff::Packet outPacket_;
    int scaledFrom_ = -1;
    int fromWidth_ = 0;
    int fromHeight_ = 0;
    std::int64_t written_ = 0;
    int reported_ = -1;
};

} // namespace

ff::Codec MakeEncoder(const AVICOMPRESSOPTIONS& options, const AviStreamObject& stream, const AVCodec** codec)
{
    *codec = avcodec_find_encoder_by_name(options.fccHandler.c_str());
    if (!*codec || (*codec)->type != AVMEDIA_TYPE_VIDEO) return nullptr;
    ff::Codec context(avcodec_alloc_context3(*codec));
    if (!context) return nullptr;
    context->width = stream.width;
    context->height = stream.height;
    context->time_base = AVRational {stream.rateDen, stream.rateNum};
    context->framerate = AVRational {stream.rateNum, stream.rateDen};
    context->sample_aspect_ratio = AVRational {1, 1};
    // The encoder's own favourite among its picture formats is the first it lists.
    context->pix_fmt = (*codec)->pix_fmts ? (*codec)->pix_fmts[0] : AV_PIX_FMT_YUV420P;
    context->thread_count = 0;
    if (options.dwFlags & AVICOMPRESSF_KEYFRAMES) context->gop_size = int(std::max<std::uint32_t>(1, options.dwKeyFrameEvery));
    if (options.dwFlags & AVICOMPRESSF_DATARATE && options.dwBytesPerSecond > 0) {
        context->bit_rate = std::int64_t(options.dwBytesPerSecond) * 8;
    } else if (options.dwQuality > 0) {
        context->flags |= AV_CODEC_FLAG_QSCALE;
        context->global_quality = FF_QP2LAMBDA * QuantiserOf(options.dwQuality);
    }
    return context;
}

HRESULT Transcode(const AviStreamObject& source, const AVICOMPRESSOPTIONS& options, const QString& target,
    const std::function<bool(int percent)>& progress)
{
    Job job(source, options, progress);
    return job.Run(target);
}

} // namespace avifile
