#include "components/cdwriter/JobThread.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QThread>

namespace cdwriter {

JobThread::JobThread(QObject* owner)
    : owner_(owner)
{
}

JobThread::~JobThread()
{
    abort_ = true;
    if (thread_) thread_->wait();
}

bool JobThread::Start(std::function<std::function<void()>(JobThread&)> job)
{
    if (running_) return false;
    if (thread_) thread_->wait();
    abort_ = false;
    running_ = true;
    thread_.reset(QThread::create([this, job = std::move(job)]() mutable {
        std::function<void()> final = job(*this);
        // What the job holds (a drive above all) is let go before its end is announced, so the
        // handler of the final event finds the drive free.
        job = nullptr;
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

} // namespace cdwriter
