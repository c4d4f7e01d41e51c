#include "tests/cdaudio/DamagedDrive.h"

#include <cdio/cdio.h>
#include <chrono>
#include <condition_variable>
#include <dlfcn.h>
#include <mutex>

namespace {

// Long enough that nothing waits for a hanging read by chance; short enough that a test that does
// wait for one ends.
constexpr auto HangLimit = std::chrono::seconds(30);

struct Damage {
    std::mutex lock;
    std::condition_variable mended;
    int unreadableFirst = -1, unreadableCount = 0;
    int hang = -1;
    int hanging = 0;
    int timedOut = 0;
    unsigned generation = 0; // counts mends
};

Damage& State()
{
    static Damage damage;
    return damage;
}

bool Covers(lsn_t first, std::uint32_t count, int sector) { return sector >= first && sector < first + lsn_t(count); }

} // namespace

extern "C" driver_return_code_t cdio_read_audio_sectors(const CdIo_t* cd, void* buffer, lsn_t first, std::uint32_t count)
{
    using Read = driver_return_code_t (*)(const CdIo_t*, void*, lsn_t, std::uint32_t);
    static const Read libcdio = reinterpret_cast<Read>(dlsym(RTLD_NEXT, "cdio_read_audio_sectors"));
    Damage& d = State();
    {
        std::unique_lock held(d.lock);
        for (int i = 0; i < d.unreadableCount; ++i)
            if (Covers(first, count, d.unreadableFirst + i)) return DRIVER_OP_ERROR;
        if (d.hang >= 0 && Covers(first, count, d.hang)) {
            ++d.hanging;
            const unsigned generation = d.generation;
            if (!d.mended.wait_for(held, HangLimit, [&] { return d.generation != generation; })) ++d.timedOut;
            --d.hanging;
            return DRIVER_OP_ERROR;
        }
    }
    return libcdio(cd, buffer, first, count);
}

namespace damage {

void MakeUnreadable(int firstSector, int count)
{
    std::lock_guard held(State().lock);
    State().unreadableFirst = firstSector;
    State().unreadableCount = count;
}

void MakeHang(int sector)
{
    std::lock_guard held(State().lock);
    State().hang = sector;
}

int Hanging()
{
    std::lock_guard held(State().lock);
    return State().hanging;
}

int TimedOut()
{
    std::lock_guard held(State().lock);
    return State().timedOut;
}

void Mend()
{
    std::lock_guard held(State().lock);
    Damage& d = State();
    d.unreadableFirst = -1;
    d.unreadableCount = 0;
    d.hang = -1;
    d.timedOut = 0;
    ++d.generation;
    d.mended.notify_all();
}

} // namespace damage
