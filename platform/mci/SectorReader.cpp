#include "platform/mci/SectorReader.h"

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace mci {

namespace {

constexpr std::size_t SectorBytes = CDIO_CD_FRAMESIZE_RAW;

} // namespace

// What the reader's thread and its owner share; the last of them to let go closes the drive.
struct SectorReader::Shared {
    CdIo_t* cd = nullptr;
    std::atomic<bool> cancelled {false};
    std::mutex lock;
    std::condition_variable changed;
    bool closing = false; // the owner is gone
    bool asked = false; // a read waits for the thread
    bool done = false; // the read asked for is in sectors
    int first = 0, count = 0;
    std::vector<char> sectors;

    ~Shared()
    {
        if (cd) cdio_destroy(cd);
    }

    void ReadSectors(char* out, int from, int n) const
    {
        // An image's data file that is too short is read without filling the buffer: silence.
        std::memset(out, 0, std::size_t(n) * SectorBytes);
        if (cdio_read_audio_sectors(cd, out, from, std::uint32_t(n)) == DRIVER_OP_SUCCESS) return;
        // A failed read leaves the buffer as it happens to be. One of several sectors fails them
        // all: they are read again one by one.
        for (int i = 0; i < n && !cancelled; ++i) {
            char* at = out + std::size_t(i) * SectorBytes;
            if (n == 1 || cdio_read_audio_sectors(cd, at, from + i, 1) != DRIVER_OP_SUCCESS) std::memset(at, 0, SectorBytes);
        }
    }

    void Run()
    {
        std::unique_lock held(lock);
        for (;;) {
            changed.wait(held, [this] { return asked || closing; });
            if (closing) return;
            asked = false;
            const int from = first, n = count;
            std::vector<char> read(std::size_t(n) * SectorBytes);
            held.unlock();
            ReadSectors(read.data(), from, n);
            held.lock();
            sectors = std::move(read);
            done = true;
            changed.notify_all();
        }
    }
};

SectorReader::SectorReader(CdIo_t* cd)
    : shared_(std::make_shared<Shared>())
{
    shared_->cd = cd;
    // The thread holds the shared state for as long as it runs: it may outlive the reader.
    std::thread([shared = shared_] { shared->Run(); }).detach();
}

SectorReader::~SectorReader()
{
    Cancel();
    std::lock_guard held(shared_->lock);
    shared_->closing = true;
    shared_->changed.notify_all();
}

void SectorReader::Cancel()
{
    std::lock_guard held(shared_->lock);
    shared_->cancelled = true;
    shared_->changed.notify_all();
}

bool SectorReader::Read(char* out, int first, int count)
{
    Shared& s = *shared_;
    std::unique_lock held(s.lock);
    if (s.cancelled) return false;
    s.first = first;
    s.count = count;
    s.asked = true;
    s.done = false;
    s.changed.notify_all();
    s.changed.wait(held, [&s] { return s.done || s.cancelled; });
    if (!s.done) return false;
    std::memcpy(out, s.sectors.data(), std::size_t(count) * SectorBytes);
    return true;
}

} // namespace mci
