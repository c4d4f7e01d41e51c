#pragma once

#include "components/encoders/AudioEncoder.h"

// The Windows Media Audio encoder (version 2 coding in an ASF file). It offers the bit rates,
// sample rates and channel counts of the codec's published format table that its codec writes:
// high bit rates only at high sample rates, and nothing below 24 kb/s.
class WMAEncoderX : public AudioEncoder {
    Q_OBJECT
public:
    explicit WMAEncoderX(QObject* parent = nullptr);

    // Sample-rate code: 0 8000 Hz, 1 11025, 2 16000, 3 22050, 4 32000, 5 44100, 6 48000.
    int SampleRate() const { return sampleRate_; }
    void setSampleRate(int code) { sampleRate_ = code; }
    // kb/s.
    int Bitrate() const { return bitrate_; }
    void setBitrate(int kbps) { bitrate_ = kbps; }
    bool Stereo() const { return stereo_; }
    void setStereo(bool on) { stereo_ = on; }
    // Accepted for the callers that set it; files are written without rights management.
    bool DRM() const { return drm_; }
    void setDRM(bool on) { drm_ = on; }

    // Whether the encoder can write that sample rate, bit rate and channel count. The answers
    // are virtual so that windows can be tried against other encoders' capabilities.
    virtual bool IsFormatSupported(int sampleRateCode, int kbps, bool stereo) const;
    // Whether stereo, or mono, output exists at that bit rate at any sample rate.
    virtual bool SupportsStereo(int kbps) const;
    virtual bool SupportsMono(int kbps) const;

    // The sample rate in Hz of a code; 0 for a code outside 0-6.
    static int SampleRateHz(int code);

protected:
    std::unique_ptr<RipEncoderStream> OpenStream(files::PartialFile file, std::uint64_t totalFrames, int& error) override;

private:
    std::atomic<int> sampleRate_ {5};
    std::atomic<int> bitrate_ {128};
    std::atomic<bool> stereo_ {true};
    std::atomic<bool> drm_ {false};
};
