#include "components/avi/AviObjects.h"
#include "components/avi/Transcoder.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace avifile {

namespace {

// The hand-off between the worker that writes the file and the calling thread that answers its
// progress reports: the worker waits for each answer, as a save in the calling thread would.
class SaveHandOff {
public:
    explicit SaveHandOff(AVISAVECALLBACK callback) : callback_(callback) { }

    // Worker side: reports the percent and waits for the answer; false means stop.
    bool Report(QObject* receiver, int percent)
    {
        std::unique_lock lock(mutex_);
        if (stopped_) return false;
        answered_ = false;
        QMetaObject::invokeMethod(receiver, [this, percent] { Answer(percent); }, Qt::QueuedConnection);
        changed_.wait(lock, [this] { return answered_ || stopped_; });
        return !stopped_ && carryOn_;
    }

    // Calling thread: no more answers will come; the worker stops at its next report.
    void Stop()
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
        changed_.notify_all();
    }

private:
    void Answer(int percent)
    {
        const bool carryOn = !callback_ || callback_(percent) == 0;
        std::lock_guard lock(mutex_);
        carryOn_ = carryOn;
        answered_ = true;
        changed_.notify_all();
    }

    AVISAVECALLBACK callback_;
    std::mutex mutex_;
    std::condition_variable changed_;
    // Atomic as well as guarded, so that a reader never depends on how the waiting is done.
    std::atomic<bool> answered_ {false};
    std::atomic<bool> carryOn_ {true};
    std::atomic<bool> stopped_ {false};
};

// A name beside the target for the file while it is written; it becomes the target only when
// complete.
QString WorkingName(const QString& target)
{
    static std::atomic<int> serial {0};
    const QFileInfo info(target);
    return info.dir().filePath(QStringLiteral(".%1.%2-%3.part")
                                   .arg(info.fileName())
                                   .arg(QCoreApplication::applicationPid())
                                   .arg(++serial));
}

} // namespace

HRESULT AVISaveV(const QString& path, const void* /*handler*/, AVISAVECALLBACK callback, int streams,
    PAVISTREAM* stream, AVICOMPRESSOPTIONS** options)
{
    if (path.isEmpty() || streams < 1 || !stream || !stream[0]) return AVIERR_BADPARAM;
    if (streams > 1) return AVIERR_UNSUPPORTED;
    const AviStreamObject& source = *stream[0];
    AVICOMPRESSOPTIONS chosen = source.source ? source.options : AVICOMPRESSOPTIONS {};
    if (!source.source && options && options[0]) chosen = *options[0];
    if (source.type != streamtypeVIDEO) return AVIERR_UNSUPPORTED;
    if (chosen.fccHandler.empty()) return AVIERR_NOCOMPRESSOR;

    const QString working = WorkingName(path);
    QEventLoop loop;
    QObject receiver;
    SaveHandOff handOff(callback);
    std::atomic<bool> finished {false};
    HRESULT result = AVIERR_ERROR;

    // The program may end while a save runs: the save stops then.
    const QMetaObject::Connection quitting
        = QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &receiver, [&] { handOff.Stop(); });

    std::thread worker([&] {
        result = Transcode(source, chosen, working, [&](int percent) { return handOff.Report(&receiver, percent); });
        finished = true;
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    while (!finished) {
        loop.exec();
        // An event loop that returns before the worker finished is one the program is leaving.
        if (!finished) {
            handOff.Stop();
            break;
        }
    }
    worker.join();
    QObject::disconnect(quitting);

    if (result == AVIERR_OK) {
        QFile::remove(path);
        if (!QFile::rename(working, path)) result = AVIERR_FILEWRITE;
    }
    if (result != AVIERR_OK) QFile::remove(working);
    return result;
}

} // namespace avifile
