#include "components/cdwriter/JobThread.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <dirent.h>
#include <fstream>
#include <mutex>
#include <pthread.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace cdwriter {

namespace {

// Every job of the process, for StopAll. The list is never destroyed: StopAll runs at the end of
// the process, after the static objects made since the libraries started are gone.
std::mutex jobsLock;
std::vector<JobThread*>& Jobs()
{
    static auto* jobs = new std::vector<JobThread*>;
    return *jobs;
}

// A name of at most 15 characters (the system's limit) that no other job of the process bears.
std::string NewJobName()
{
    static std::atomic<unsigned> count {0};
    return "cdjob-" + std::to_string(++count % 1000000000u);
}

// The libraries do not say when the threads they start have ended. The headers take the drive's
// return to BURN_DRIVE_IDLE for the end of a write (libisoburn.h, isoburn_disc_write; libburn.h,
// burn_drive_release), but libburn's threads are detached, and its write thread on a file drive
// reports the drive idle from inside the run, half a second before it ends a cancelled one
// (libburn 1.5.4, write.c: burn_stdio_write_sync grabs the drive again, then burn_disc_write_sync
// sleeps before its last message). The system does say: a thread inherits the name of the thread
// that starts it, and leaves the process's task list once it has run its last instruction.
int OtherThreadsNamed(const std::string& name)
{
    DIR* tasks = ::opendir("/proc/self/task");
    if (!tasks) return 0;
    const std::string self = std::to_string(::gettid());
    int count = 0;
    while (const dirent* entry = ::readdir(tasks)) {
        const std::string tid = entry->d_name;
        if (tid == "." || tid == ".." || tid == self) continue;
        std::ifstream comm("/proc/self/task/" + tid + "/comm");
        std::string taskName;
        // A thread that ended between the listing and the read has no name to read.
        if (std::getline(comm, taskName) && taskName == name) ++count;
    }
    ::closedir(tasks);
    return count;
}

} // namespace

JobThread::JobThread(QObject* owner)
    : owner_(owner)
{
    const std::lock_guard<std::mutex> lock(jobsLock);
    Jobs().push_back(this);
}

JobThread::~JobThread()
{
    const std::lock_guard<std::mutex> lock(jobsLock);
    Stop();
    Jobs().erase(std::remove(Jobs().begin(), Jobs().end(), this), Jobs().end());
}

void JobThread::Stop()
{
    abort_ = true;
    if (thread_) thread_->wait();
}

void JobThread::StopAll()
{
    const std::lock_guard<std::mutex> lock(jobsLock);
    for (JobThread* job : Jobs()) job->Stop();
}

bool JobThread::Start(std::function<std::function<void()>(JobThread&)> job)
{
    if (running_) return false;
    if (thread_) thread_->wait();
    abort_ = false;
    running_ = true;
    name_ = NewJobName();
    thread_.reset(QThread::create([this, job = std::move(job)]() mutable {
        pthread_setname_np(pthread_self(), name_.c_str());
        std::function<void()> final = job(*this);
        // What the job holds (a drive above all) is let go before its end is announced, so the
        // handler of the final event finds the drive free.
        job = nullptr;
        WaitForHelpers();
        Post([this, final = std::move(final)] {
            thread_->wait();
            running_ = false;
            if (final) final();
        });
    }));
    thread_->start();
    return true;
}

void JobThread::Post(std::function<void()> event)
{
    QMetaObject::invokeMethod(owner_, std::move(event), Qt::QueuedConnection);
}

void JobThread::WaitDelivered()
{
    QEventLoop loop;
    while (running_) loop.processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
}

void JobThread::WaitForHelpers() const
{
    // A library thread that never ends (none does today) must not hold the job's end for ever: after
    // a minute the job ends regardless.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (OtherThreadsNamed(name_) > 0 && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

} // namespace cdwriter
