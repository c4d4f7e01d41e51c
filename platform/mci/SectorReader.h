#pragma once

#include <cdio/cdio.h>
#include <memory>

namespace mci {

// Reads the audio sectors of a drive that libcdio has opened, on a thread of its own, so that
// whoever waits for a read can give up on it: a damaged disc can keep a drive busy with one sector
// for many seconds, and nothing ends a read the drive is doing.
class SectorReader {
public:
    // Takes over the opened drive: it is closed once no read is under way.
    explicit SectorReader(CdIo_t* cd);
    // Never waits for a read under way: it ends on the reader's thread, unused.
    ~SectorReader();
    SectorReader(const SectorReader&) = delete;
    SectorReader& operator=(const SectorReader&) = delete;

    // Reads the sectors from first on into out, 2352 bytes each; false when cancelled. A sector
    // the drive cannot read is silence, and only that sector: a read of several sectors fails as a
    // whole when one of them fails, so the sectors of a failed read are read again one by one.
    bool Read(char* out, int first, int count);
    // From any thread: the read under way and every later one return false at once.
    void Cancel();

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

} // namespace mci
