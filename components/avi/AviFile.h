#pragma once

#include <QtGlobal>
#include <cstdint>
#include <string>

class QImage;

// The AVI file services: open a file and one of its streams, let the user choose a compressor in
// the compression-options dialog, make a compressed stream and save it to a new AVI file with a
// progress callback. Results are the services' own codes (AVIERR_OK or one of the AVIERR_ codes).
//
// A save runs on a worker thread while the calling (user-interface) thread keeps its events
// running; AVISaveV returns only when the file is complete or the save has stopped. The progress
// callback runs on the calling thread; a non-zero answer stops the save. A save that stops or
// fails leaves no file behind.
namespace avifile {

using HRESULT = std::int32_t;

constexpr HRESULT MakeAviError(int code) { return static_cast<HRESULT>(0x80044000u + static_cast<unsigned>(code)); }

constexpr HRESULT AVIERR_OK = 0;
constexpr HRESULT AVIERR_UNSUPPORTED = MakeAviError(101);
constexpr HRESULT AVIERR_BADFORMAT = MakeAviError(102);
constexpr HRESULT AVIERR_MEMORY = MakeAviError(103);
constexpr HRESULT AVIERR_INTERNAL = MakeAviError(104);
constexpr HRESULT AVIERR_BADPARAM = MakeAviError(106);
constexpr HRESULT AVIERR_FILEREAD = MakeAviError(109);
constexpr HRESULT AVIERR_FILEWRITE = MakeAviError(110);
constexpr HRESULT AVIERR_FILEOPEN = MakeAviError(111);
constexpr HRESULT AVIERR_COMPRESSOR = MakeAviError(112);
constexpr HRESULT AVIERR_NOCOMPRESSOR = MakeAviError(113);
constexpr HRESULT AVIERR_NODATA = MakeAviError(115);
constexpr HRESULT AVIERR_USERABORT = MakeAviError(198);
constexpr HRESULT AVIERR_ERROR = MakeAviError(199);

// Stream types.
constexpr std::uint32_t MakeFourCC(char a, char b, char c, char d)
{
    return std::uint32_t(std::uint8_t(a)) | std::uint32_t(std::uint8_t(b)) << 8 | std::uint32_t(std::uint8_t(c)) << 16
        | std::uint32_t(std::uint8_t(d)) << 24;
}
constexpr std::uint32_t streamtypeVIDEO = MakeFourCC('v', 'i', 'd', 's');
constexpr std::uint32_t streamtypeAUDIO = MakeFourCC('a', 'u', 'd', 's');

// Open modes (only reading is offered).
constexpr int OF_READ = 0;
constexpr int OF_SHARE_DENY_WRITE = 0x20;

// Flags of the compression-options dialog: which choices it offers.
constexpr int ICMF_CHOOSE_KEYFRAME = 0x1;
constexpr int ICMF_CHOOSE_DATARATE = 0x2;
constexpr int ICMF_CHOOSE_PREVIEW = 0x4;

// Flags of the compression options: which of the numbers below are in force.
constexpr std::uint32_t AVICOMPRESSF_INTERLEAVE = 0x1;
constexpr std::uint32_t AVICOMPRESSF_DATARATE = 0x2;
constexpr std::uint32_t AVICOMPRESSF_KEYFRAMES = 0x4;
constexpr std::uint32_t AVICOMPRESSF_VALID = 0x8;

// The compression options of one stream. The handler names the video encoder ("mpeg4", "mjpeg",
// ...); quality runs from 0 to 10000; the data rate is in bytes per second.
struct AVICOMPRESSOPTIONS {
    std::uint32_t fccType = 0;
    std::string fccHandler;
    std::uint32_t dwKeyFrameEvery = 0;
    std::uint32_t dwQuality = 0;
    std::uint32_t dwBytesPerSecond = 0;
    std::uint32_t dwFlags = 0;
};

struct AviFileObject;
struct AviStreamObject;
using PAVIFILE = AviFileObject*;
using PAVISTREAM = AviStreamObject*;

// The progress callback of a save: percent written; a non-zero result stops the save.
using AVISAVECALLBACK = HRESULT (*)(int percent);

void AVIFileInit();
void AVIFileExit();

HRESULT AVIFileOpen(PAVIFILE* file, const QString& path, int mode, const void* handler = nullptr);
// The index-th stream of the type (counted from 0) in the file.
HRESULT AVIFileGetStream(PAVIFILE file, PAVISTREAM* stream, std::uint32_t type, int index);
// Releases one reference; returns the references left.
int AVIFileRelease(PAVIFILE file);
int AVIStreamRelease(PAVISTREAM stream);

// The compression-options dialog over the window whose handle is given, one page per stream.
// Returns 1 when the user chose OK, 0 when the dialog was cancelled or could not be shown.
int AVISaveOptions(quintptr owner, int flags, int streams, PAVISTREAM* stream, AVICOMPRESSOPTIONS** options);
HRESULT AVISaveOptionsFree(int streams, AVICOMPRESSOPTIONS** options);

HRESULT AVIMakeCompressedStream(
    PAVISTREAM* compressed, PAVISTREAM source, const AVICOMPRESSOPTIONS* options, const void* handler = nullptr);

// Writes the streams to a new AVI file. Streams made by AVIMakeCompressedStream are written with
// their own options, others with the options given for them.
HRESULT AVISaveV(const QString& path, const void* handler, AVISAVECALLBACK callback, int streams, PAVISTREAM* stream,
    AVICOMPRESSOPTIONS** options);

// A picture of the stream's first frame, for previews; a null image when it cannot be decoded.
QImage AVIStreamFirstFrame(PAVISTREAM stream);

} // namespace avifile
