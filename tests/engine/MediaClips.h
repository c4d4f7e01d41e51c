#pragma once

#include <QString>

// Media files for the playback tests, made with the ffmpeg tool on first use and kept in the
// build folder, so that the many test processes share them.
namespace clips {

// 4 seconds of 320x240 video at 25 frames per second with stereo sound.
QString Video();
// The same picture and sound for 30 seconds: a row that plays on while a test looks at it.
QString LongVideo();
// 1 second of 176x144 video in the older MPEG-4 codec (not H.264), whose container leaves the
// picture size to the decoder.
QString Mpeg4Video();
// 60 seconds of 1280x720 H.264 with a key frame only every 10 seconds, as real files have.
QString LongGopVideo();
// 3 seconds of stereo sound.
QString Wav();
QString Mp3();
// A file named like a video that holds no media.
QString Damaged();

} // namespace clips
