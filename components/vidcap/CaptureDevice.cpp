#include "components/vidcap/CaptureDevice.h"

extern "C" {
#include <libavdevice/avdevice.h>
#include <libavutil/error.h>
}

#include <QByteArray>
#include <mutex>

namespace vidcap {

namespace {

void RegisterDevices()
{
    static std::once_flag once;
    std::call_once(once, [] {
        av_log_set_level(AV_LOG_ERROR);
        avdevice_register_all();
    });
}

QString Reason(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromLocal8Bit(text);
}

ff::Input Open(const char* formatName, const QByteArray& url, AVDictionary* options, QString* error)
{
    RegisterDevices();
    const AVInputFormat* format = av_find_input_format(formatName);
    if (!format) {
        av_dict_free(&options);
        if (error) *error = QStringLiteral("%1 input is not available").arg(QString::fromLatin1(formatName));
        return nullptr;
    }
    AVFormatContext* context = nullptr;
    const int opened = avformat_open_input(&context, url.constData(), format, &options);
    av_dict_free(&options);
    if (opened < 0) {
        if (error) *error = Reason(opened);
        return nullptr;
    }
    ff::Input input(context);
    if (const int found = avformat_find_stream_info(context, nullptr); found < 0) {
        if (error) *error = Reason(found);
        return nullptr;
    }
    return input;
}

} // namespace

std::vector<CaptureDriver> ListDrivers()
{
    RegisterDevices();
    std::vector<CaptureDriver> drivers;
    if (const AVInputFormat* v4l2 = av_find_input_format("video4linux2")) {
        AVDeviceInfoList* list = nullptr;
        if (avdevice_list_input_sources(v4l2, nullptr, nullptr, &list) >= 0 && list) {
            for (int i = 0; i < list->nb_devices; ++i) {
                const AVDeviceInfo* d = list->devices[i];
                drivers.push_back({QStringLiteral("%1 (%2)").arg(QString::fromUtf8(d->device_description),
                                       QString::fromUtf8(d->device_name)),
                    QStringLiteral("video4linux2"), QString::fromUtf8(d->device_name)});
            }
        }
        avdevice_free_list_devices(&list);
    }
    if (qgetenv("TESSEL_CAPTURE") == "lavfi")
        drivers.push_back({QStringLiteral("FFmpeg Test Pattern"), QStringLiteral("lavfi"), QStringLiteral("pattern")});
    return drivers;
}

QStringList Patterns()
{
    return {QStringLiteral("smptebars"), QStringLiteral("pal75bars"), QStringLiteral("testsrc"),
        QStringLiteral("testsrc2"), QStringLiteral("rgbtestsrc")};
}

ff::Input OpenVideo(const CaptureDriver& driver, const CaptureFormat& format, QString* error)
{
    AVDictionary* options = nullptr;
    const QByteArray size = QStringLiteral("%1x%2").arg(format.width).arg(format.height).toLatin1();
    if (driver.IsPattern()) {
        // The pattern is paced to the clock, as a camera is.
        const QByteArray graph = QStringLiteral("%1=size=%2:rate=%3,realtime")
                                     .arg(format.pattern, QString::fromLatin1(size))
                                     .arg(format.rate)
                                     .toLatin1();
        return Open("lavfi", graph, options, error);
    }
    av_dict_set(&options, "video_size", size.constData(), 0);
    av_dict_set_int(&options, "framerate", format.rate, 0);
    av_dict_set_int(&options, "channel", format.channel, 0);
    return Open("video4linux2", driver.device.toLocal8Bit(), options, error);
}

ff::Input OpenAudio(const AudioFormat& format, QString* error)
{
    AVDictionary* options = nullptr;
    av_dict_set_int(&options, "sample_rate", format.sampleRate, 0);
    av_dict_set_int(&options, "channels", format.channels, 0);
    return Open("pulse", "default", options, error);
}

} // namespace vidcap
