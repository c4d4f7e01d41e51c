#include "tools/mVidProcessing.h"

#include <cstring>

namespace mVidProcessing {

vidcap::FrameHeader VideoHeader;

void CopyFrameHeader(const vidcap::FrameHeader* address)
{
    if (address) std::memcpy(&VideoHeader, address, sizeof VideoHeader);
}

} // namespace mVidProcessing
