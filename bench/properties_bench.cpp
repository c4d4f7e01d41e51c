// What the file properties window costs while it is open on a paused clip: it refreshes every
// field on every tick of its timer (the platform's 15 ms). Reports the process CPU time over ten
// seconds with the window open, against the same ten seconds without it.
// Goal: under 3% of one core with the window open.
//
// Usage: properties_bench [clip]   (without a clip, one is made with the ffmpeg tool)
#include "dialogs/frmProperties.h"
#include "engine/Media.h"
#include "platform/forms/Form.h"
#include "platform/forms/Menu.h"
#include "player/frmPlayer.h"

#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

namespace {

double CpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The share of one core the process used while the event loop ran for the time given.
double CoreShare(int ms)
{
    const double before = CpuSeconds();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return (CpuSeconds() - before) / (ms / 1000.0) * 100.0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QString clip = argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.filePath(QStringLiteral("clip.mp4"));
    if (argc <= 1
        && QProcess::execute(QStringLiteral("ffmpeg"),
               {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=640x360:rate=25", "-t", "20", "-c:v", "libx264",
                   "-preset", "ultrafast", "-pix_fmt", "yuv420p", clip})
            != 0) {
        std::fprintf(stderr, "properties_bench: ffmpeg could not make a clip\n");
        return 1;
    }

    auto& player = forms::Instance<frmPlayer>();
    player.lstPlaylist->AddItem(clip);
    player.lstPlaylist->setListIndex(0);
    player.Media1->PauseMovie();
    CoreShare(2000); // let the player settle

    const double without = CoreShare(10000);
    player.mnuProperties->Action()->trigger();
    auto* properties = forms::Instances::Existing<frmProperties>();
    if (!properties) {
        std::fprintf(stderr, "properties_bench: the window did not open\n");
        return 1;
    }
    const double with = CoreShare(10000);
    std::printf("paused clip, player only:         %5.2f %% of one core\n", without);
    std::printf("paused clip, properties open:     %5.2f %% of one core\n", with);
    std::printf("the window's own share:           %5.2f %%\n", with - without);
    std::printf("whole process, window open:       %5.2f %%   goal < 3 %%   %s\n", with, with < 3 ? "goal met" : "goal missed");
    properties->Unload();
    player.Media1->closeMovie();
    forms::Instances::Forget(&player);
    delete &player;
    return 0;
}
