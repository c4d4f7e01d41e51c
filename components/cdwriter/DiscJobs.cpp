#include "components/cdwriter/DiscJobs.h"

#include "components/cdwriter/BurnWatch.h"
#include "components/cdwriter/CDWriterXP.h"
#include "components/cdwriter/Drives.h"
#include "components/cdwriter/JobThread.h"

#include "components/cdwriter/Libraries.h"

#include <QFile>

namespace cdwriter {

namespace Err = WriteErrorNumber;

namespace {

// The recorder's medium is its file. A quick erase clears the blocks that lead to the sessions
// (the system area, the volume descriptors and their copy that follows them), so the disc reads
// as blank while the data stays; a full erase leaves nothing.
bool EraseImageFile(const QString& path, bool quick)
{
    QFile file(path);
    if (!quick) return file.resize(0);
    if (!file.open(QIODevice::ReadWrite)) return false;
    const qint64 head = std::min<qint64>(file.size(), 64 * 2048);
    return file.write(QByteArray(int(head), '\0')) == head;
}

} // namespace

std::function<void()> EraseDiscJob(JobThread& job, CDWriterXP& writer, HeldDrive& held, bool quick)
{
    CDWriterXP* w = &writer;
    job.Post([w] { emit w->EraseStarted(); });
    const DiscInfo info = ReadDiscInfo(held);
    if (!info.present) return ErrorEvent(writer, Err::NoDisc, "There is no disc in the drive.");
    if (!info.erasable) return ErrorEvent(writer, Err::EraseFailed, "The disc cannot be erased.");

    if (held.Which().imageRecorder) {
        if (!EraseImageFile(held.Which().imageFile, quick))
            return ErrorEvent(writer, Err::EraseFailed, "The disc could not be erased.");
        WriteRecorderState(held.Which(), RecorderState::Complete);
    } else if (info.status != 0) {
        isoburn_disc_erase(held.Drive(), quick ? 1 : 0);
        WaitIdle(job, held.Drive());
        if (isoburn_disc_get_status(held.Drive()) != BURN_DISC_BLANK)
            return ErrorEvent(writer, Err::EraseFailed, "The disc could not be erased.");
    }
    return [w] { emit w->EraseComplete(); };
}

std::function<void()> CloseDiscJob(JobThread& job, CDWriterXP& writer, HeldDrive& held, bool disc)
{
    CDWriterXP* w = &writer;
    const DiscInfo info = ReadDiscInfo(held);
    if (!info.present) return ErrorEvent(writer, Err::NoDisc, "There is no disc in the drive.");
    if (info.status == 0) return ErrorEvent(writer, Err::CloseFailed, "The disc holds no session to close.");
    if (info.status == 2) return ErrorEvent(writer, Err::DiscClosed, "The disc is already closed.");

    job.Post([w] { emit w->ClosingSession(); });
    if (disc) job.Post([w] { emit w->ClosingDisc(); });
    if (held.Which().imageRecorder) {
        WriteRecorderState(held.Which(), disc ? RecorderState::Closed : RecorderState::Complete);
    } else {
        burn_write_opts* options = burn_write_opts_new(held.Drive());
        burn_write_opts_set_multi(options, disc ? 0 : 1);
        const int closed = burn_disc_close_damaged(options, 1);
        WaitIdle(job, held.Drive());
        burn_write_opts_free(options);
        if (closed <= 0) return ErrorEvent(writer, Err::CloseFailed, "The session could not be closed.");
    }
    return [w] { emit w->WriteComplete(); };
}

} // namespace cdwriter
