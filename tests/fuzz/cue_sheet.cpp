// Cue sheets of disc images, as the CD drive opens them for the Audio CD window, the ripper and
// the cdaudio device: the drive reads the sheet and hands it to libcdio, and the table of contents
// it gives is walked. The sheet's data file is a 3-second image of silence beside it.
#include "platform/mci/CdDrive.h"
#include "tests/fuzz/FuzzSupport.h"

#include <QFile>

namespace {

constexpr qint64 SectorBytes = 2352;
constexpr qint64 DataSectors = 225;

void WalkToc(const mci::DiscToc& toc)
{
    (void)toc.FirstAudioTrack();
    for (int t = toc.firstTrack; t <= toc.LastTrack(); ++t) {
        (void)toc.IsAudio(t);
        (void)toc.TrackAt(toc.TrackStart(t));
        (void)toc.TrackAt(toc.TrackEnd(t) - 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool haveData = [] {
        QFile bin(fuzz::ScratchFile(QStringLiteral("disc.bin")));
        return bin.open(QIODevice::WriteOnly) && bin.resize(DataSectors * SectorBytes);
    }();
    if (!haveData) fuzz::Broken("cannot make the image's data file");
    const QString sheet = fuzz::WriteInput(QStringLiteral("disc.cue"), data, size);
    const mci::CdDrive drive(sheet);
    std::optional<mci::DiscToc> toc;
    if (drive.Probe(&toc) == mci::Medium::Disc && toc) WalkToc(*toc);
    return 0;
}
