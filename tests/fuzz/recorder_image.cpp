// Files found as the disc-image recorder's medium, through the writer component as the data and
// audio disc windows use it: the recorder is opened, its disc described, and its last session
// imported and listed.
#include "components/cdwriter/CDWriterXP.h"
#include "tests/fuzz/FuzzSupport.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString image = fuzz::ScratchFile(QStringLiteral("recorder.iso"));
    static CDWriterXP* writer = [] {
        qputenv("TESSEL_RECORDER", image.toLocal8Bit());
        return new CDWriterXP;
    }();
    // The recorder is the last device; an input is a whole new disc, without a state of its own.
    const int recorder = writer->DeviceCount() - 1;
    fuzz::WriteInput(QStringLiteral("recorder.iso"), data, size);
    QFile::remove(image + QStringLiteral(".state"));

    if (!writer->OpenDevice(recorder)) return 0;
    writer->DiscStatus();
    writer->DiscCapacity();
    if (writer->ImportSession()) writer->ListDirectory(QStringLiteral("/"));
    writer->ClearImage();
    return 0;
}
