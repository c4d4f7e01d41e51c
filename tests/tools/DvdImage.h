#pragma once

#include <QString>

// A small DVD-Video folder for the DVD tests, made with ffmpeg, spumux and dvdauthor on first use
// and kept in the build folder, so that the test programs share it. The disc starts at its root
// menu, which has one button over the middle of the picture that plays title 1; title 1 lasts 12
// seconds in three chapters of 4 seconds (PAL, 720x576, 25 frames per second) and goes back to
// the root menu at its end.
namespace dvdimage {

// The disc's folder (the one holding VIDEO_TS).
QString Folder();

// Where the menu's button lies on the picture, in the picture's pixels.
constexpr int ButtonLeft = 256;
constexpr int ButtonTop = 236;
constexpr int ButtonWidth = 208;
constexpr int ButtonHeight = 88;

} // namespace dvdimage
