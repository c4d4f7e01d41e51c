#pragma once

#include <functional>

class CDWriterXP;

namespace cdwriter {

class HeldDrive;
class JobThread;

// Jobs on the disc itself, whatever it holds. They run on the job's thread and return the
// job's final event.

// Blanks a rewritable disc: quick removes what makes the sessions readable, full clears it all.
std::function<void()> EraseDiscJob(JobThread& job, CDWriterXP& writer, HeldDrive& held, bool quick);
// Closes the open session, or the whole disc so that nothing more can be written.
std::function<void()> CloseDiscJob(JobThread& job, CDWriterXP& writer, HeldDrive& held, bool disc);

} // namespace cdwriter
