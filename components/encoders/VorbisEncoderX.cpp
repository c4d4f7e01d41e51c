#include "components/encoders/VorbisEncoderX.h"

#include "components/encoders/EncodeError.h"
#include "platform/files/PartialFile.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <random>

namespace {

// The encoder's own default when no rate is asked for (about 112 kb/s for CD audio).
constexpr float DefaultQuality = 0.3f;

constexpr int Channels = 2;
constexpr long SampleRate = 44100;

// kb/s as vorbisenc.h takes them: bits per second, -1 for a rate not set.
long Bps(int kbps) { return kbps ? kbps * 1000L : -1; }

// Whether the library has a set-up for CD audio at these rates (kb/s, 0 = not set).
bool RatesAccepted(int high, int nominal, int low)
{
    vorbis_info info;
    vorbis_info_init(&info);
    const bool accepted
        = vorbis_encode_setup_managed(&info, Channels, SampleRate, Bps(high), Bps(nominal), Bps(low)) == 0;
    vorbis_info_clear(&info);
    return accepted;
}

// The lowest average rate the library can encode CD audio at (45 kb/s for 44.1 kHz stereo): its
// set-up tables start there, and it refuses any rate below.
int LowestNominal()
{
    static const int lowest = [] {
        for (int kbps = 1; kbps <= 320; ++kbps)
            if (RatesAccepted(0, kbps, 0)) return kbps;
        return 0;
    }();
    return lowest;
}

class VorbisStream : public RipEncoderStream {
public:
    explicit VorbisStream(files::PartialFile file)
        : file_(std::move(file))
    {
        vorbis_info_init(&info_);
        vorbis_comment_init(&comment_);
    }

    ~VorbisStream() override
    {
        if (started_) {
            ogg_stream_clear(&ogg_);
            vorbis_block_clear(&block_);
            vorbis_dsp_clear(&dsp_);
        }
        vorbis_comment_clear(&comment_);
        vorbis_info_clear(&info_);
    }

    vorbis_info* Info() { return &info_; }

    // Starts the encoder with the set-up made on Info() and writes the three header packets.
    bool Start()
    {
        if (vorbis_analysis_init(&dsp_, &info_) != 0) return false;
        vorbis_block_init(&dsp_, &block_);
        std::random_device seed;
        ogg_stream_init(&ogg_, static_cast<int>(seed() & 0x7fffffff));
        started_ = true;
        ogg_packet header, comments, codebooks;
        if (vorbis_analysis_headerout(&dsp_, &comment_, &header, &comments, &codebooks) != 0) return false;
        ogg_stream_packetin(&ogg_, &header);
        ogg_stream_packetin(&ogg_, &comments);
        ogg_stream_packetin(&ogg_, &codebooks);
        return Pages(true);
    }

    bool Write(const std::int16_t* samples, std::size_t frames) override
    {
        while (frames > 0) {
            const int n = static_cast<int>(std::min<std::size_t>(frames, 4096));
            float** channels = vorbis_analysis_buffer(&dsp_, n);
            for (int i = 0; i < n; ++i) {
                channels[0][i] = samples[2 * i] / 32768.0f;
                channels[1][i] = samples[2 * i + 1] / 32768.0f;
            }
            if (vorbis_analysis_wrote(&dsp_, n) != 0 || !Drain()) return false;
            samples += 2 * n;
            frames -= std::size_t(n);
        }
        return true;
    }

    bool Finish() override
    {
        if (vorbis_analysis_wrote(&dsp_, 0) != 0 || !Drain() || !Pages(true)) return false;
        return file_.Commit();
    }

    bool OutputFailed() const override { return outputFailed_; }

private:
    bool Drain()
    {
        while (vorbis_analysis_blockout(&dsp_, &block_) == 1) {
            if (vorbis_analysis(&block_, nullptr) != 0 || vorbis_bitrate_addblock(&block_) != 0) return false;
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp_, &packet) == 1) {
                ogg_stream_packetin(&ogg_, &packet);
                if (!Pages(false)) return false;
            }
        }
        return true;
    }

    // Writes the pages that are complete, or with `flush` everything held.
    bool Pages(bool flush)
    {
        ogg_page page;
        while (flush ? ogg_stream_flush(&ogg_, &page) : ogg_stream_pageout(&ogg_, &page)) {
            if (std::fwrite(page.header, 1, std::size_t(page.header_len), file_.File()) != std::size_t(page.header_len)
                || std::fwrite(page.body, 1, std::size_t(page.body_len), file_.File()) != std::size_t(page.body_len)) {
                outputFailed_ = true;
                return false;
            }
        }
        return true;
    }

    files::PartialFile file_;
    vorbis_info info_ {};
    vorbis_comment comment_ {};
    vorbis_dsp_state dsp_ {};
    vorbis_block block_ {};
    ogg_stream_state ogg_ {};
    bool started_ = false;
    bool outputFailed_ = false;
};

} // namespace

VorbisEncoderX::VorbisEncoderX(QObject* parent)
    : AudioEncoder(parent)
{
}

std::unique_ptr<RipEncoderStream> VorbisEncoderX::OpenStream(files::PartialFile file, std::uint64_t, int& error)
{
    error = EncodeError::InvalidSettings;
    int nominal = NominalBitrate();
    const int low = MinBitrate();
    int high = MaxBitrate();
    if (nominal < 0 || low < 0 || high < 0 || (low && high && low > high)) return nullptr;
    if ((nominal || low || high) && !RatesAccepted(high, nominal, low)) {
        // Too low a rate (an average or a maximum below what the library covers): the file is
        // made at the lowest average rate it has, rather than not at all.
        nominal = std::max(nominal, LowestNominal());
        if (high) high = std::max(high, nominal);
    }

    auto stream = std::make_unique<VorbisStream>(std::move(file));
    vorbis_info* info = stream->Info();
    if (!nominal && !low && !high) {
        if (vorbis_encode_init_vbr(info, Channels, SampleRate, DefaultQuality) != 0) return nullptr;
    } else {
        if (vorbis_encode_setup_managed(info, Channels, SampleRate, Bps(high), Bps(nominal), Bps(low)) != 0)
            return nullptr;
        // A nominal rate alone is an average to aim at, not a limit to enforce.
        if (!low && !high) vorbis_encode_ctl(info, OV_ECTL_RATEMANAGE2_SET, nullptr);
        if (vorbis_encode_setup_init(info) != 0) return nullptr;
    }
    if (!stream->Start()) {
        error = EncodeError::EncodingBuffer;
        return nullptr;
    }
    return stream;
}
