#include "components/vidcap/CaptureEngine.h"

#include "components/avi/Transcoder.h"

#include <QByteArray>
#include <chrono>
#include <cmath>

namespace vidcap {

namespace {

std::int64_t NowUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

struct CaptureEngine::Recorder {
    ff::Output out;
    ff::Codec encoder;
    ff::Scaler scaler;
    int scaledFrom = -1;
    int fromWidth = 0;
    int fromHeight = 0;
    ff::Frame scaled;
    ff::Packet packet;
    AVStream* video = nullptr;
    AVStream* audio = nullptr;
    ff::Input audioIn;
    int audioIndex = -1;
    int audioBytesPerSample = 2;
    std::thread audioThread;
    std::atomic<bool> audioStop {false};
    std::mutex mux;
    std::int64_t startUs = -1;
    std::int64_t lastPts = -1;
    std::int64_t audioSamples = 0;
    int frames = 0;
    int rate = 15;
    double limit = 0;
    QString error;

    bool Write(AVPacket* p)
    {
        std::lock_guard lock(mux);
        return av_interleaved_write_frame(out.get(), p) >= 0;
    }

    // Encodes one frame, or drains the encoder with none.
    bool Encode(AVFrame* frame)
    {
        if (avcodec_send_frame(encoder.get(), frame) < 0) return false;
        for (;;) {
            const int got = avcodec_receive_packet(encoder.get(), packet.get());
            if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return true;
            if (got < 0) return false;
            av_packet_rescale_ts(packet.get(), encoder->time_base, video->time_base);
            packet->stream_index = video->index;
            if (!Write(packet.get())) return false;
        }
    }

    void ReadAudio()
    {
        ff::Packet p(av_packet_alloc());
        while (!audioStop && p && av_read_frame(audioIn.get(), p.get()) >= 0) {
            if (p->stream_index == audioIndex) {
                const std::int64_t samples = p->size / audioBytesPerSample;
                p->stream_index = audio->index;
                p->pts = p->dts = av_rescale_q(audioSamples, AVRational {1, audio->codecpar->sample_rate}, audio->time_base);
                p->duration = av_rescale_q(samples, AVRational {1, audio->codecpar->sample_rate}, audio->time_base);
                audioSamples += samples;
                if (!Write(p.get())) {
                    av_packet_unref(p.get());
                    break;
                }
            }
            av_packet_unref(p.get());
        }
    }
};

CaptureEngine::CaptureEngine(Callbacks callbacks) : callbacks_(std::move(callbacks)) { }

CaptureEngine::~CaptureEngine() { Stop(); }

void CaptureEngine::Start(ff::Input device)
{
    Stop();
    device_ = std::move(device);
    videoIndex_ = av_find_best_stream(device_.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    decoder_ = videoIndex_ >= 0 ? ff::OpenDecoder(device_->streams[videoIndex_]) : nullptr;
    if (decoder_) {
        const AVStream* stream = device_->streams[videoIndex_];
        width_ = stream->codecpar->width;
        height_ = stream->codecpar->height;
        const AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
        rate_ = rate.num > 0 && rate.den > 0 ? std::max(1, int(std::lround(av_q2d(rate)))) : 15;
    }
    frameNumber_ = 0;
    stop_ = false;
    thread_ = std::thread([this] { Run(); });
}

void CaptureEngine::Stop()
{
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    FinishRecording();
    decoder_.reset();
    device_.reset();
}

void CaptureEngine::Run()
{
    ff::Packet packet(av_packet_alloc());
    ff::Frame frame(av_frame_alloc());
    const std::int64_t startUs = NowUs();
    bool lost = !decoder_ || !packet || !frame;
    while (!stop_ && !lost) {
        const int read = av_read_frame(device_.get(), packet.get());
        if (read == AVERROR(EAGAIN)) continue;
        if (read < 0) {
            lost = true;
            break;
        }
        if (packet->stream_index == videoIndex_ && avcodec_send_packet(decoder_.get(), packet.get()) >= 0)
            while (avcodec_receive_frame(decoder_.get(), frame.get()) >= 0) {
                Frame(frame.get(), NowUs() - startUs);
                av_frame_unref(frame.get());
            }
        av_packet_unref(packet.get());
        if (stopRecording_) FinishRecording();
    }
    if (lost && !stop_) {
        FinishRecording();
        if (callbacks_.lost) callbacks_.lost(QStringLiteral("The capture device stopped sending pictures"));
    }
}

void CaptureEngine::Frame(const AVFrame* frame, std::int64_t sinceStartUs)
{
    QImage image(frame->width, frame->height, QImage::Format_RGB32);
    ff::Scaler toRgb(sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), frame->width,
        frame->height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (toRgb) {
        uint8_t* planes[4] = {image.bits(), nullptr, nullptr, nullptr};
        int strides[4] = {int(image.bytesPerLine()), 0, 0, 0};
        sws_scale(toRgb.get(), frame->data, frame->linesize, 0, frame->height, planes, strides);
    }
    FrameHeader header;
    header.bufferLength = header.bytesUsed = std::uint32_t(image.sizeInBytes());
    header.timeCaptured = std::uint32_t(sinceStartUs / 1000);
    header.flags = FrameDone | FrameKeyFrame;
    header.frameNumber = frameNumber_++;
    header.width = std::uint32_t(frame->width);
    header.height = std::uint32_t(frame->height);

    {
        std::lock_guard lock(recorderMutex_);
        if (Recorder* r = recorder_.get()) {
            if (r->startUs < 0) r->startUs = sinceStartUs;
            const double seconds = double(sinceStartUs - r->startUs) / 1e6;
            // The frame that comes at or after the time limit ends the capture. Where the machine
            // was too busy to read frames for the last moments before it, that frame stands in for
            // them in the file's last place, so that the file lasts as long as the limit says.
            const bool last = r->limit > 0 && seconds >= r->limit;
            if (last) stopRecording_ = true;
            const std::int64_t pts = last ? std::llround(r->limit * r->rate) - 1 : std::llround(seconds * r->rate);
            if (pts > r->lastPts) {
                AVFrame* ready = const_cast<AVFrame*>(frame);
                if (frame->format != r->encoder->pix_fmt || frame->width != r->encoder->width
                    || frame->height != r->encoder->height) {
                    if (!r->scaler || r->scaledFrom != frame->format || r->fromWidth != frame->width
                        || r->fromHeight != frame->height) {
                        r->scaler.reset(
                            sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), r->encoder->width,
                                r->encoder->height, r->encoder->pix_fmt, SWS_BICUBIC, nullptr, nullptr, nullptr));
                        r->scaledFrom = frame->format;
                        r->fromWidth = frame->width;
                        r->fromHeight = frame->height;
                    }
                    av_frame_unref(r->scaled.get());
                    r->scaled->format = r->encoder->pix_fmt;
                    r->scaled->width = r->encoder->width;
                    r->scaled->height = r->encoder->height;
                    if (r->scaler && av_frame_get_buffer(r->scaled.get(), 0) >= 0) {
                        sws_scale(r->scaler.get(), frame->data, frame->linesize, 0, frame->height, r->scaled->data,
                            r->scaled->linesize);
                        ready = r->scaled.get();
                    } else {
                        ready = nullptr;
                    }
                }
                if (ready) {
                    ready->pts = pts;
                    ready->pict_type = AV_PICTURE_TYPE_NONE;
                    if (r->encoder->flags & AV_CODEC_FLAG_QSCALE) ready->quality = r->encoder->global_quality;
                }
                if (!ready || !r->Encode(ready)) {
                    r->error = QStringLiteral("The capture file could not be written");
                    stopRecording_ = true;
                } else {
                    r->lastPts = pts;
                    ++r->frames;
                }
            }
        }
    }
    if (callbacks_.frame) callbacks_.frame(image, header);
}

QString CaptureEngine::StartRecording(const QString& path, const avifile::AVICOMPRESSOPTIONS& video, bool audio,
    const AudioFormat& audioFormat, double timeLimitSeconds)
{
    if (!Running() || !decoder_) return QStringLiteral("No capture device is connected");
    if (recording_) return QStringLiteral("A capture is already running");
    auto r = std::make_unique<Recorder>();
    avifile::AviStreamObject shape;
    shape.width = width_;
    shape.height = height_;
    r->rate = rate_;
    shape.rateNum = r->rate;
    shape.rateDen = 1;
    r->limit = timeLimitSeconds;

    const AVCodec* codec = nullptr;
    r->encoder = avifile::MakeEncoder(video, shape, &codec);
    if (!r->encoder) return QStringLiteral("The video compressor \"%1\" is not available").arg(QString::fromStdString(video.fccHandler));
    const QByteArray file = path.toLocal8Bit();
    AVFormatContext* out = nullptr;
    if (avformat_alloc_output_context2(&out, nullptr, "avi", file.constData()) < 0 || !out)
        return QStringLiteral("The capture file could not be made");
    r->out.reset(out);
    if (avcodec_open2(r->encoder.get(), codec, nullptr) < 0)
        return QStringLiteral("The video compressor \"%1\" refuses this format").arg(QString::fromStdString(video.fccHandler));
    r->video = avformat_new_stream(out, nullptr);
    if (!r->video || avcodec_parameters_from_context(r->video->codecpar, r->encoder.get()) < 0)
        return QStringLiteral("The capture file could not be made");
    r->video->time_base = r->encoder->time_base;
    r->video->avg_frame_rate = r->encoder->framerate;

    if (audio) {
        QString why;
        r->audioIn = OpenAudio(audioFormat, &why);
        if (!r->audioIn) return QStringLiteral("The sound input could not be opened: %1").arg(why);
        r->audioIndex = av_find_best_stream(r->audioIn.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
        if (r->audioIndex < 0) return QStringLiteral("The sound input gives no sound");
        const AVCodecParameters* in = r->audioIn->streams[r->audioIndex]->codecpar;
        r->audio = avformat_new_stream(out, nullptr);
        if (!r->audio || avcodec_parameters_copy(r->audio->codecpar, in) < 0)
            return QStringLiteral("The capture file could not be made");
        r->audio->codecpar->codec_tag = 0;
        r->audio->time_base = AVRational {1, in->sample_rate};
        r->audioBytesPerSample = std::max(1, av_get_bits_per_sample(in->codec_id) / 8 * in->ch_layout.nb_channels);
    }
    if (avio_open(&out->pb, file.constData(), AVIO_FLAG_WRITE) < 0 || avformat_write_header(out, nullptr) < 0)
        return QStringLiteral("The capture file could not be written");
    r->scaled.reset(av_frame_alloc());
    r->packet.reset(av_packet_alloc());
    if (r->audioIn) {
        Recorder* raw = r.get();
        r->audioThread = std::thread([raw] { raw->ReadAudio(); });
    }
    stopRecording_ = false;
    std::lock_guard lock(recorderMutex_);
    recorder_ = std::move(r);
    recording_ = true;
    return {};
}

void CaptureEngine::FinishRecording()
{
    std::unique_ptr<Recorder> r;
    {
        std::lock_guard lock(recorderMutex_);
        r = std::move(recorder_);
        stopRecording_ = false;
    }
    if (!r) return;
    r->audioStop = true;
    if (r->audioThread.joinable()) r->audioThread.join();
    RecordingResult result;
    result.frames = r->frames;
    result.seconds = r->rate > 0 ? double(r->lastPts + 1) / r->rate : 0;
    result.error = r->error;
    if (!r->Encode(nullptr) && result.error.isEmpty()) result.error = QStringLiteral("The capture file could not be written");
    if ((av_write_trailer(r->out.get()) < 0 || avio_closep(&r->out->pb) < 0) && result.error.isEmpty())
        result.error = QStringLiteral("The capture file could not be written");
    r.reset();
    recording_ = false;
    if (callbacks_.recorded) callbacks_.recorded(result);
}

} // namespace vidcap
