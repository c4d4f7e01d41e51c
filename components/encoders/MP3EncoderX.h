#pragma once

#include "components/encoders/AudioEncoder.h"

// The MP3 encoder. Files carry a LAME/Xing header, so players know their length and seek
// correctly, also at a variable rate.
class MP3EncoderX : public AudioEncoder {
    Q_OBJECT
public:
    explicit MP3EncoderX(QObject* parent = nullptr);

    // Constant bit rate, kb/s.
    int Bitrate() const { return bitrate_; }
    void setBitrate(int kbps) { bitrate_ = kbps; }
    // Variable-rate quality: 0 slow and best to 9 fast and smallest.
    int VBRQuality() const { return vbrQuality_; }
    void setVBRQuality(int value) { vbrQuality_ = value; }
    // Lowest and highest variable rate, kb/s; a value is held as the MP3 rate nearest to it.
    int VBRMinBitrate() const { return vbrMin_; }
    void setVBRMinBitrate(int kbps);
    int VBRMaxBitrate() const { return vbrMax_; }
    void setVBRMaxBitrate(int kbps);
    // 0 constant rate, 1 variable rate.
    int VBR() const { return vbr_; }
    void setVBR(int value) { vbr_ = value; }
    // 1 normal, 0 studio (slower, more careful encoding).
    int Quality() const { return quality_; }
    void setQuality(int value) { quality_ = value; }
    // 0 stereo, 1 joint stereo, 2 mono, 3 dual channel (coded as two independent channels).
    int ChannelMode() const { return channelMode_; }
    void setChannelMode(int value) { channelMode_ = value; }

protected:
    std::unique_ptr<RipEncoderStream> OpenStream(files::PartialFile file, std::uint64_t totalFrames, int& error) override;

private:
    std::atomic<int> bitrate_ {128};
    std::atomic<int> vbrQuality_ {4};
    std::atomic<int> vbrMin_ {32};
    std::atomic<int> vbrMax_ {320};
    std::atomic<int> vbr_ {0};
    std::atomic<int> quality_ {1};
    std::atomic<int> channelMode_ {1};
};
