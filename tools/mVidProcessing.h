#pragma once

#include "components/vidcap/CaptureEngine.h"

// Keeps a copy of the last frame record the capture component reported.
namespace mVidProcessing {

extern vidcap::FrameHeader VideoHeader;

void CopyFrameHeader(const vidcap::FrameHeader* address);

} // namespace mVidProcessing
