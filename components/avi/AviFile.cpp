#include "components/avi/AviEncoders.h"
#include "components/avi/AviObjects.h"
#include "components/avi/Ffmpeg.h"
#include "components/avi/Transcoder.h"

#include <QFileInfo>
#include <QImage>
#include <algorithm>

namespace avifile {

namespace {

std::atomic<int> initialised {0};

// FFmpeg reports only errors on the program's error output.
void QuietLibrary() { av_log_set_level(AV_LOG_ERROR); }

bool IsAvi(const AVFormatContext* input)
{
    const QByteArray names(input->iformat->name);
    return names.split(',').contains("avi");
}

} // namespace

void AddRef(PAVIFILE file) { ++file->refs; }
void AddRef(PAVISTREAM stream) { ++stream->refs; }

void AVIFileInit()
{
    if (initialised++ == 0) QuietLibrary();
}

void AVIFileExit()
{
    if (initialised > 0) --initialised;
}

HRESULT AVIFileOpen(PAVIFILE* file, const QString& path, int /*mode*/, const void* /*handler*/)
{
    if (!file) return AVIERR_BADPARAM;
    *file = nullptr;
    if (path.isEmpty() || !QFileInfo(path).isFile()) return AVIERR_FILEOPEN;
    QuietLibrary();
    ff::Input input = ff::OpenInput(path.toLocal8Bit().constData());
    if (!input) return AVIERR_FILEREAD;
    if (!IsAvi(input.get())) return AVIERR_BADFORMAT;
    *file = new AviFileObject;
    (*file)->path = path;
    return AVIERR_OK;
}

HRESULT AVIFileGetStream(PAVIFILE file, PAVISTREAM* stream, std::uint32_t type, int index)
{
    if (!file || !stream) return AVIERR_BADPARAM;
    *stream = nullptr;
    ff::Input input = ff::OpenInput(file->path.toLocal8Bit().constData());
    if (!input) return AVIERR_FILEREAD;
    const AVMediaType wanted = type == streamtypeVIDEO ? AVMEDIA_TYPE_VIDEO
        : type == streamtypeAUDIO                      ? AVMEDIA_TYPE_AUDIO
                                                       : AVMEDIA_TYPE_UNKNOWN;
    int seen = 0;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* s = input->streams[i];
        if (s->codecpar->codec_type != wanted || seen++ != index) continue;
        auto* object = new AviStreamObject;
        object->file = file;
        AddRef(file);
        object->index = int(i);
        object->type = type;
        object->width = s->codecpar->width;
        object->height = s->codecpar->height;
        AVRational rate = s->avg_frame_rate.num > 0 ? s->avg_frame_rate : s->r_frame_rate;
        if (rate.num > 0 && rate.den > 0) {
            object->rateNum = rate.num;
            object->rateDen = rate.den;
        }
        object->frames = s->nb_frames;
        if (object->frames <= 0 && s->duration > 0)
            object->frames = av_rescale_q(s->duration, s->time_base, AVRational {rate.den, std::max(rate.num, 1)});
        *stream = object;
        return AVIERR_OK;
    }
    return AVIERR_NODATA;
}

int AVIFileRelease(PAVIFILE file)
{
    if (!file) return 0;
    const int left = --file->refs;
    if (left == 0) delete file;
    return left;
}

int AVIStreamRelease(PAVISTREAM stream)
{
    if (!stream) return 0;
    const int left = --stream->refs;
    if (left == 0) {
        AVIStreamRelease(stream->source);
        AVIFileRelease(stream->file);
        delete stream;
    }
    return left;
}

HRESULT AVISaveOptionsFree(int streams, AVICOMPRESSOPTIONS** options)
{
    if (!options) return AVIERR_BADPARAM;
    for (int i = 0; i < streams; ++i)
        if (options[i]) *options[i] = AVICOMPRESSOPTIONS {};
    return AVIERR_OK;
}

HRESULT AVIMakeCompressedStream(
    PAVISTREAM* compressed, PAVISTREAM source, const AVICOMPRESSOPTIONS* options, const void* /*handler*/)
{
    if (!compressed || !source || !options) return AVIERR_BADPARAM;
    *compressed = nullptr;
    if (source->type != streamtypeVIDEO) return AVIERR_UNSUPPORTED;
    if (HRESULT r = CheckEncoder(*options, *source); r != AVIERR_OK) return r;
    auto* object = new AviStreamObject;
    object->file = source->file;
    AddRef(object->file);
    object->index = source->index;
    object->type = source->type;
    object->width = source->width;
    object->height = source->height;
    object->rateNum = source->rateNum;
    object->rateDen = source->rateDen;
    object->frames = source->frames;
    object->source = source;
    AddRef(source);
    object->options = *options;
    *compressed = object;
    return AVIERR_OK;
}

std::vector<VideoEncoder> AviVideoEncoders()
{
    std::vector<VideoEncoder> list;
    const AVOutputFormat* avi = av_guess_format("avi", nullptr, nullptr);
    void* at = nullptr;
    while (const AVCodec* codec = av_codec_iterate(&at)) {
        if (!av_codec_is_encoder(codec) || codec->type != AVMEDIA_TYPE_VIDEO) continue;
        if (codec->capabilities & (AV_CODEC_CAP_HARDWARE | AV_CODEC_CAP_HYBRID | AV_CODEC_CAP_EXPERIMENTAL)) continue;
        if (!avi || avformat_query_codec(avi, codec->id, FF_COMPLIANCE_NORMAL) != 1) continue;
        list.push_back({QString::fromLatin1(codec->name),
            QString::fromUtf8(codec->long_name ? codec->long_name : codec->name)});
    }
    std::sort(list.begin(), list.end(),
        [](const VideoEncoder& a, const VideoEncoder& b) { return a.description.compare(b.description, Qt::CaseInsensitive) < 0; });
    return list;
}

HRESULT CheckEncoder(const AVICOMPRESSOPTIONS& options, const AviStreamObject& stream)
{
    const AVCodec* codec = nullptr;
    ff::Codec encoder = MakeEncoder(options, stream, &codec);
    if (!encoder) return AVIERR_NOCOMPRESSOR;
    encoder->thread_count = 1;
    return avcodec_open2(encoder.get(), codec, nullptr) < 0 ? AVIERR_COMPRESSOR : AVIERR_OK;
}

QImage AVIStreamFirstFrame(PAVISTREAM stream)
{
    if (!stream || !stream->file || stream->type != streamtypeVIDEO) return {};
    ff::Input input = ff::OpenInput(stream->file->path.toLocal8Bit().constData());
    if (!input || stream->index >= int(input->nb_streams)) return {};
    ff::Codec decoder = ff::OpenDecoder(input->streams[stream->index]);
    ff::Packet packet(av_packet_alloc());
    ff::Frame frame(av_frame_alloc());
    if (!decoder || !packet || !frame) return {};
    bool got = false;
    for (int tries = 0; !got && tries < 500; ++tries) {
        const bool more = av_read_frame(input.get(), packet.get()) >= 0;
        if (more && packet->stream_index != stream->index) {
            av_packet_unref(packet.get());
            continue;
        }
        avcodec_send_packet(decoder.get(), more ? packet.get() : nullptr);
        av_packet_unref(packet.get());
        got = avcodec_receive_frame(decoder.get(), frame.get()) >= 0;
        if (!more) break;
    }
    if (!got || frame->width <= 0 || frame->height <= 0) return {};
    QImage image(frame->width, frame->height, QImage::Format_RGB32);
    ff::Scaler scaler(sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), frame->width,
        frame->height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!scaler) return {};
    uint8_t* planes[4] = {image.bits(), nullptr, nullptr, nullptr};
    int strides[4] = {int(image.bytesPerLine()), 0, 0, 0};
    sws_scale(scaler.get(), frame->data, frame->linesize, 0, frame->height, planes, strides);
    return image;
}

} // namespace avifile
