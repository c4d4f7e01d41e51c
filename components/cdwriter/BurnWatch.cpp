#include "components/cdwriter/BurnWatch.h"

#include "components/cdwriter/CDWriterXP.h"
#include "components/cdwriter/JobThread.h"

#include "components/cdwriter/Libraries.h"

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

BurnEnd WatchBurn(JobThread& job, CDWriterXP& writer, burn_drive* drive, int track, bool closingDisc,
    const std::function<int()>& readBuffer)
{
    CDWriterXP* w = &writer;
    bool cancelled = false;
    bool closingTrack = false;
    bool closingSession = false;
    // The write thread of the library may not have left idle yet when this starts.
    burn_progress progress {};
    while (burn_drive_get_status(drive, nullptr) == BURN_DRIVE_SPAWNING) std::this_thread::sleep_for(kPoll);
    for (;;) {
        const burn_drive_status status = burn_drive_get_status(drive, &progress);
        if (status == BURN_DRIVE_IDLE) break;
        if (job.Aborted() && !cancelled) {
            cancelled = true;
            burn_drive_cancel(drive);
        }
        if (status == BURN_DRIVE_WRITING || status == BURN_DRIVE_WRITING_SYNC) {
            const qint64 written = qint64(std::max(0, progress.sector)) * 2048;
            const int buffer = Percent(progress.buffer_capacity, progress.buffer_available);
            job.Post([w, track, written, buffer] { emit w->WriteProgress(track, written, buffer); });
            if (readBuffer) {
                const int level = readBuffer();
                job.Post([w, level] { emit w->ReadBufferLevel(level); });
            }
        } else if (status == BURN_DRIVE_CLOSING_TRACK && !closingTrack) {
            closingTrack = true;
            job.Post([w, track] { emit w->ClosingTrack(track); });
        } else if ((status == BURN_DRIVE_CLOSING_SESSION || status == BURN_DRIVE_WRITING_LEADOUT) && !closingSession) {
            closingSession = true;
            if (closingDisc) job.Post([w] { emit w->ClosingDisc(); });
            else job.Post([w] { emit w->ClosingSession(); });
        }
        std::this_thread::sleep_for(kPoll);
    }
    if (cancelled || job.Aborted()) return BurnEnd::Cancelled;
    if (!burn_drive_wrote_well(drive)) return BurnEnd::Failed;
    if (!closingTrack) job.Post([w, track] { emit w->ClosingTrack(track); });
    if (!closingSession) {
        if (closingDisc) job.Post([w] { emit w->ClosingDisc(); });
        else job.Post([w] { emit w->ClosingSession(); });
    }
    return BurnEnd::Done;
}

bool StartBurn(burn_drive* drive, const std::function<void()>& write)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        write();
        // An accepted write leaves idle before the call returns.
        if (burn_drive_get_status(drive, nullptr) != BURN_DRIVE_IDLE) return true;
        std::this_thread::sleep_for(kPoll);
    }
    return false;
}

void WaitIdle(burn_drive* drive)
{
    while (burn_drive_get_status(drive, nullptr) != BURN_DRIVE_IDLE) std::this_thread::sleep_for(kPoll);
}

std::function<void()> ErrorEvent(CDWriterXP& writer, int number, const char* description)
{
    CDWriterXP* w = &writer;
    const QString text = QString::fromUtf8(description);
    return [w, text, number] { emit w->WriteError(text, number); };
}

} // namespace cdwriter
