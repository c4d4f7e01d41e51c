#pragma once

#include <QPointer>
#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

class QThread;

namespace cdwriter {

// Runs one long job at a time off the user-interface thread. The job hands its events to
// Post, which delivers them, in order, on the thread of the owner; the job's final event is
// delivered after the thread has ended, so a handler of it may start the next job.
//
// The recording libraries do part of a job on threads of their own (a write, a fifo, the image
// generator), and some of them run on for a while after the library has reported the work done.
// Every thread a job starts, itself or through a library, ends before the job's final event is
// raised, before its JobThread is destroyed, and before the libraries are shut down at the end of
// the process.
class JobThread {
public:
    explicit JobThread(QObject* owner);
    // Asks a running job to stop and waits for it and for every thread it started.
    ~JobThread();
    JobThread(const JobThread&) = delete;
    JobThread& operator=(const JobThread&) = delete;

    // The job returns its final event. False when a job is already running.
    bool Start(std::function<std::function<void()>(JobThread&)> job);
    bool Running() const { return running_; }
    void Abort() { abort_ = true; }
    bool Aborted() const { return abort_; }
    // From the job: delivers an event on the owner's thread.
    void Post(std::function<void()> event);
    // Waits on the owner's thread, with its events delivered, until the job's final event ran.
    void WaitDelivered();
    // From the job: waits until every other thread the job has started, itself or through a
    // library, has ended.
    void WaitForHelpers() const;

    // Asks every job of the process to stop and waits for each, as a JobThread's destruction
    // does; for the end of the process, where an owner may never be destroyed.
    static void StopAll();

private:
    void Stop();

    QObject* owner_;
    std::unique_ptr<QThread> thread_;
    // The name the job's thread bears; the threads it starts inherit it.
    std::string name_;
    std::atomic<bool> abort_ {false};
    bool running_ = false;
};

} // namespace cdwriter
