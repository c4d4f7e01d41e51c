#pragma once

#include "components/encoders/AudioEncoder.h"

// The Ogg Vorbis encoder. A nominal rate alone sets the average the encoder aims at; a minimum
// or maximum makes the rate managed within those limits. With no rate at all it encodes at its
// default quality. Rates too low for the library to encode CD audio at (an average below 45 kb/s,
// or a maximum that leaves it no such average) are raised to the lowest average it encodes.
class VorbisEncoderX : public AudioEncoder {
    Q_OBJECT
public:
    explicit VorbisEncoderX(QObject* parent = nullptr);

    // kb/s; 0 is the encoder's default.
    int NominalBitrate() const { return nominal_; }
    void setNominalBitrate(int kbps) { nominal_ = kbps; }
    // kb/s; 0 is no limit.
    int MinBitrate() const { return min_; }
    void setMinBitrate(int kbps) { min_ = kbps; }
    int MaxBitrate() const { return max_; }
    void setMaxBitrate(int kbps) { max_ = kbps; }

protected:
    std::unique_ptr<RipEncoderStream> OpenStream(files::PartialFile file, std::uint64_t totalFrames, int& error) override;

private:
    std::atomic<int> nominal_ {0};
    std::atomic<int> min_ {0};
    std::atomic<int> max_ {0};
};
