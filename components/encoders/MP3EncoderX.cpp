#include "components/encoders/MP3EncoderX.h"

#include "components/encoders/EncodeError.h"
#include "platform/files/PartialFile.h"

#include <lame/lame.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace {

constexpr std::array<int, 14> Mp3Rates {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};

int NearestRate(int kbps)
{
    int best = Mp3Rates.front();
    for (int rate : Mp3Rates)
        if (std::abs(rate - kbps) < std::abs(best - kbps)) best = rate;
    return best;
}

// LAME's algorithm quality: 2 is its careful "high quality" setting, 5 its usual one.
constexpr int NormalQuality = 5;
constexpr int StudioQuality = 2;

class Mp3Stream : public RipEncoderStream {
public:
    Mp3Stream(lame_t lame, files::PartialFile file)
        : lame_(lame)
        , file_(std::move(file))
    {
    }
    ~Mp3Stream() override { lame_close(lame_); }

    bool Write(const std::int16_t* samples, std::size_t frames) override
    {
        while (frames > 0) {
            const std::size_t n = std::min<std::size_t>(frames, 8192);
            buffer_.resize(n * 5 / 4 + 7200);
            // LAME only reads the samples; its interface predates const.
            const int bytes = lame_encode_buffer_interleaved(lame_, const_cast<short*>(samples), static_cast<int>(n),
                buffer_.data(), static_cast<int>(buffer_.size()));
            if (bytes < 0 || !Put(bytes)) return false;
            samples += n * 2;
            frames -= n;
        }
        return true;
    }

    bool Finish() override
    {
        buffer_.resize(7200);
        const int bytes = lame_encode_flush(lame_, buffer_.data(), static_cast<int>(buffer_.size()));
        if (bytes < 0 || !Put(bytes)) return false;
        // The LAME/Xing header frame at the start of the file gets its final counts now.
        const std::size_t tagSize = lame_get_lametag_frame(lame_, nullptr, 0);
        if (tagSize > 0) {
            buffer_.resize(tagSize);
            if (lame_get_lametag_frame(lame_, buffer_.data(), buffer_.size()) != tagSize) return false;
            if (std::fseek(file_.File(), 0, SEEK_SET) != 0) return false;
            if (!Put(static_cast<int>(tagSize))) return false;
        }
        return file_.Commit();
    }

    bool OutputFailed() const override { return outputFailed_; }

private:
    bool Put(int bytes)
    {
        if (bytes == 0 || std::fwrite(buffer_.data(), 1, std::size_t(bytes), file_.File()) == std::size_t(bytes))
            return true;
        outputFailed_ = true;
        return false;
    }

    lame_t lame_;
    files::PartialFile file_;
    std::vector<unsigned char> buffer_;
    bool outputFailed_ = false;
};

MPEG_mode LameMode(int channelMode)
{
    switch (channelMode) {
    case 1: return JOINT_STEREO;
    case 2: return MONO;
    default: return STEREO; // LAME has no dual-channel coding; plain stereo codes both channels apart
    }
}

} // namespace

MP3EncoderX::MP3EncoderX(QObject* parent)
    : AudioEncoder(parent)
{
}

void MP3EncoderX::setVBRMinBitrate(int kbps) { vbrMin_ = NearestRate(kbps); }

void MP3EncoderX::setVBRMaxBitrate(int kbps) { vbrMax_ = NearestRate(kbps); }

std::unique_ptr<RipEncoderStream> MP3EncoderX::OpenStream(files::PartialFile file, std::uint64_t, int& error)
{
    error = EncodeError::InvalidSettings;
    const int channelMode = ChannelMode();
    const int vbrQuality = VBRQuality();
    if (channelMode < 0 || channelMode > 3 || vbrQuality < 0 || vbrQuality > 9) return nullptr;

    lame_t lame = lame_init();
    if (!lame) {
        error = EncodeError::EncodingBuffer;
        return nullptr;
    }
    lame_set_num_channels(lame, 2);
    lame_set_in_samplerate(lame, 44100);
    lame_set_mode(lame, LameMode(channelMode));
    lame_set_quality(lame, Quality() == 0 ? StudioQuality : NormalQuality);
    lame_set_bWriteVbrTag(lame, 1);
    if (VBR()) {
        const int low = VBRMinBitrate();
        const int high = VBRMaxBitrate();
        if (low > high) {
            lame_close(lame);
            return nullptr;
        }
        lame_set_VBR(lame, vbr_default);
        lame_set_VBR_q(lame, vbrQuality);
        lame_set_VBR_min_bitrate_kbps(lame, low);
        lame_set_VBR_max_bitrate_kbps(lame, high);
    } else {
        const int rate = Bitrate();
        if (std::find(Mp3Rates.begin(), Mp3Rates.end(), rate) == Mp3Rates.end()) {
            lame_close(lame);
            return nullptr;
        }
        lame_set_VBR(lame, vbr_off);
        lame_set_brate(lame, rate);
    }
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return nullptr;
    }
    return std::make_unique<Mp3Stream>(lame, std::move(file));
}
