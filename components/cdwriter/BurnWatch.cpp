#include "components/cdwriter/BurnWatch.h"

#include "components/cdwriter/CDWriterXP.h"
#include "components/cdwriter/JobThread.h"

#include "components/cdwriter/Libraries.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace cdwriter {

namespace {

constexpr auto kPoll = std::chrono::milliseconds(100);

int Percent(unsigned capacity, unsigned available)
{
    if (capacity == 0 || available > capacity) return 0;
    return static_cast<int>((100ull * (capacity - available)) / capacity);
}

} // namespace

BurnSource DriveSource(burn_drive* drive)
{
    return {[drive](burn_progress& progress) { return burn_drive_get_status(drive, &progress); },
        [drive] { return burn_drive_wrote_well(drive) != 0; }, [drive] { burn_drive_cancel(drive); }};
}

BurnEnd WatchBurn(JobThread& job, CDWriterXP& writer, const BurnSource& source, const BurnTracks& tracks,
    bool closingDisc, const std::function<int(int track)>& readBuffer)
{
    CDWriterXP* w = &writer;
    const int count = std::max<int>(1, int(tracks.bytes.size()));
    const auto size = [&](int track) { return track <= int(tracks.bytes.size()) ? tracks.bytes[std::size_t(track - 1)] : 0; };
    int current = 0;
    int buffer = 0;
    // Each track starts with PreparingTrack; one the library has left is reported written whole
    // first, also when the watcher did not look while it was written.
    const auto reach = [&](int track) {
        for (; current < track; ++current) {
            if (current > 0) {
                const int done = current;
                const qint64 bytes = size(done);
                job.Post([w, done, bytes, buffer] { emit w->WriteProgress(done, bytes, buffer); });
            }
            const int next = current + 1;
            const qint64 bytes = size(next);
            job.Post([w, next, bytes] { emit w->PreparingTrack(next, bytes); });
        }
    };
    int closedTrack = 0;
    bool lastWritten = false;
    bool closingSession = false;
    // The last track is whole when the library closes the session, or when it has ended well.
    const auto finishTracks = [&] {
        if (lastWritten) return;
        lastWritten = true;
        reach(count);
        const qint64 bytes = size(count);
        job.Post([w, count, bytes, buffer] { emit w->WriteProgress(count, bytes, buffer); });
        if (closedTrack < count) job.Post([w, count] { emit w->ClosingTrack(count); });
        closedTrack = count;
    };
    const auto closeSession = [&] {
        if (closingSession) return;
        closingSession = true;
        if (closingDisc) job.Post([w] { emit w->ClosingDisc(); });
        else job.Post([w] { emit w->ClosingSession(); });
    };
    reach(1);

    bool cancelled = false;
    burn_progress progress {};
    for (;;) {
        const burn_drive_status status = source.status(progress);
        if (status == BURN_DRIVE_IDLE) break;
        if (job.Aborted() && !cancelled) {
            cancelled = true;
            source.cancel();
        }
        // libburn.h, struct burn_progress: track counts from 0 within the session, sector from 0
        // within the track.
        const int track = std::clamp(progress.track + 1, 1, count);
        const bool writing = status == BURN_DRIVE_WRITING || status == BURN_DRIVE_WRITING_SYNC;
        if (writing || status == BURN_DRIVE_WRITING_PREGAP || status == BURN_DRIVE_WRITING_LEADIN) {
            reach(track);
            buffer = Percent(progress.buffer_capacity, progress.buffer_available);
            const int shown = current;
            const qint64 written = writing ? std::min(qint64(std::max(0, progress.sector)) * tracks.sectorBytes, size(shown)) : 0;
            job.Post([w, shown, written, buffer] { emit w->WriteProgress(shown, written, buffer); });
            if (readBuffer) {
                const int level = readBuffer(shown);
                job.Post([w, level] { emit w->ReadBufferLevel(level); });
            }
        } else if (status == BURN_DRIVE_CLOSING_TRACK && closedTrack < track) {
            reach(track);
            closedTrack = track;
            job.Post([w, track] { emit w->ClosingTrack(track); });
        } else if ((status == BURN_DRIVE_CLOSING_SESSION || status == BURN_DRIVE_WRITING_LEADOUT) && !cancelled) {
            finishTracks();
            closeSession();
        }
        // While the library starts its write thread (BURN_DRIVE_SPAWNING) there is nothing to say.
        std::this_thread::sleep_for(kPoll);
    }
    if (cancelled || job.Aborted()) return BurnEnd::Cancelled;
    if (!source.wroteWell()) return BurnEnd::Failed;
    finishTracks();
    closeSession();
    return BurnEnd::Done;
}

int FifoFill(burn::burn_source* fifo)
{
    int size = 0;
    int free = 0;
    char* text = nullptr;
    if (!fifo || burn_fifo_inquire_status(fifo, &size, &free, &text) < 0 || size <= 0) return 0;
    return static_cast<int>((100ll * (size - free)) / size);
}

bool StartBurn(burn_drive* drive, const std::function<void()>& write)
{
    // libburn.h, burn_drive_wrote_well: the last run of the drive counts as failed when it was
    // rejected, or after burn_drive_cancel; a run the library takes is judged on its own. A run
    // taken is still going, or (a small one, on a busy machine) already over and judged; one
    // refused leaves the drive idle and the cancel standing.
    burn_drive_cancel(drive);
    write();
    return burn_drive_get_status(drive, nullptr) != BURN_DRIVE_IDLE || burn_drive_wrote_well(drive) != 0;
}

void WaitIdle(JobThread& job, burn_drive* drive)
{
    while (burn_drive_get_status(drive, nullptr) != BURN_DRIVE_IDLE) std::this_thread::sleep_for(kPoll);
    // libburn sets the drive idle at the end of a blanking run, before its thread leaves.
    job.WaitForHelpers();
}

std::function<void()> ErrorEvent(CDWriterXP& writer, int number, const char* description)
{
    CDWriterXP* w = &writer;
    const QString text = QString::fromUtf8(description);
    return [w, text, number] { emit w->WriteError(text, number); };
}

} // namespace cdwriter
