#pragma once

#include "platform/mci/CdDrive.h"

#include <cdio/cdio.h>
#include <optional>

namespace mci {

// The table of contents of a drive or image libcdio has opened, or nothing when it has no tracks.
// The drive, the disc's audio stream and the ripper all take their tracks from here.
std::optional<DiscToc> ReadDiscToc(CdIo_t* cd);

} // namespace mci
