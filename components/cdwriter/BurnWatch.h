#pragma once

#include <QtGlobal>
#include <functional>

namespace burn {
struct burn_drive;
}

class CDWriterXP;

namespace cdwriter {

class JobThread;

// How a job on a drive ended.
enum class BurnEnd { Done, Cancelled, Failed };

// Follows a write that the recording library runs on a drive until the drive is idle again,
// raising WriteProgress (bytes of the track written, the drive's buffer), ReadBufferLevel
// (the fill of the buffer that feeds the drive, from readBuffer when given), ClosingTrack and
// ClosingSession or ClosingDisc. An abort of the job cancels the write.
BurnEnd WatchBurn(JobThread& job, CDWriterXP& writer, burn::burn_drive* drive, int track, bool closingDisc,
    const std::function<int()>& readBuffer = {});

// Starts a write with the given call. The recording library refuses to start while a helper
// thread of an earlier job is still winding down; the call is then repeated for a while. False
// when the write never started.
bool StartBurn(burn::burn_drive* drive, const std::function<void()>& write);

// Waits until the drive is idle after a blanking or closing run; an abort is not possible then.
void WaitIdle(burn::burn_drive* drive);

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
