#pragma once

#include <QPointer>
#include <QObject>
#include <atomic>
#include <functional>
#include <memory>

class QThread;

namespace cdwriter {

// Runs one long job at a time off the user-interface thread. The job hands its events to
// Post, which delivers them, in order, on the thread of the owner; the job's final event is
// delivered after the thread has ended, so a handler of it may start the next job.
class JobThread {
public:
    explicit JobThread(QObject* owner);
    // Asks a running job to stop and waits for it.
    ~JobThread();

    // The job returns its final event. False when a job is already running.
    bool Start(std::function<std::function<void()>(JobThread&)> job);
    bool Running() const { return running_; }
    void Abort() { abort_ = true; }
    bool Aborted() const { return abort_; }
    // From the job: delivers an event on the owner's thread.
    void Post(std::function<void()> event);
    // Waits on the owner's thread, with its events delivered, until the job's final event ran.
    void WaitDelivered();

private:
    QObject* owner_;
    std::unique_ptr<QThread> thread_;
    std::atomic<bool> abort_ {false};
    bool running_ = false;
};

} // namespace cdwriter
