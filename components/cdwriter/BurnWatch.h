#pragma once

#include "components/cdwriter/Libraries.h"

#include <QtGlobal>
#include <functional>
#include <vector>

class CDWriterXP;

namespace cdwriter {

class JobThread;

// How a job on a drive ended.
enum class BurnEnd { Done, Cancelled, Failed };

// What the watcher reads of a write the recording library runs: the drive's state with its
// progress, whether the write went well, and how to cancel it.
struct BurnSource {
    std::function<burn_drive_status(burn_progress&)> status;
    std::function<bool()> wroteWell;
    std::function<void()> cancel;
};
BurnSource DriveSource(burn_drive* drive);

// The tracks of a write: their sizes in bytes and the bytes of one of their sectors.
struct BurnTracks {
    std::vector<qint64> bytes;
    int sectorBytes = 2048;
};

// Follows a write until the drive is idle again, raising PreparingTrack as each track starts,
// WriteProgress (the track the library is on, bytes of it written, the drive's buffer),
// ReadBufferLevel (from readBuffer, given the track, when there is one), ClosingTrack and
// ClosingSession or ClosingDisc. A write that went well ends with every track reported written
// whole. An abort of the job cancels the write.
BurnEnd WatchBurn(JobThread& job, CDWriterXP& writer, const BurnSource& source, const BurnTracks& tracks,
    bool closingDisc, const std::function<int(int track)>& readBuffer = {});

// How full, in percent, a fifo is that the recording library reads a track through; 0 for none.
int FifoFill(burn::burn_source* fifo);

// Starts a write with the given call, once: a write that ends in a moment must not be written
// again. False when the library did not take it.
bool StartBurn(burn_drive* drive, const std::function<void()>& write);

// Waits until the drive is idle after a blanking or closing run, and the library's thread for the
// run has ended; an abort is not possible then.
void WaitIdle(JobThread& job, burn_drive* drive);

// The final event of a job that failed: WriteError with the number and a description.
std::function<void()> ErrorEvent(CDWriterXP& writer, int number, const char* description);

// Error numbers of WriteError.
namespace WriteErrorNumber {
constexpr int NoDrive = 1;
constexpr int NoDisc = 2;
constexpr int DiscClosed = 3;
constexpr int NoSpace = 4;
constexpr int ImageFailed = 5;
constexpr int WriteFailed = 6;
constexpr int SourceUnreadable = 7;
constexpr int EraseFailed = 8;
constexpr int CloseFailed = 9;
} // namespace WriteErrorNumber

} // namespace cdwriter
