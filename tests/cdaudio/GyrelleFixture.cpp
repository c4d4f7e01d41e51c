#include "tests/cdaudio/GyrelleFixture.h"

#include "platform/dispatch/InProcServer.h"
#include "platform/mci/Mci.h"
#include "tests/cdaudio/DiscImage.h"

#include <QProcess>

void GyrelleFixture::SetUp()
{
    cue_ = MakeDiscImage(dir_.path(), QStringLiteral("disc"), {3, 4, 2});
    ASSERT_FALSE(cue_.isEmpty());
    qputenv("TESSEL_CDROM", cue_.toLocal8Bit());
    ASSERT_EQ(QProcess::execute(QStringLiteral(TESSEL_BINARY_DIR "/bin/tessel-regsvr"),
                  {QStringLiteral(TESSEL_BINARY_DIR "/bin/libGyrelle.so")}),
        0);
    mci::SetCommandObserver([this](std::string_view command) {
        commands_ << QString::fromUtf8(command.data(), static_cast<qsizetype>(command.size()));
    });
}

void GyrelleFixture::TearDown()
{
    mci::SendString("close all");
    mci::SetCommandObserver({});
}

std::unique_ptr<dispatch::IDispatch> GyrelleFixture::CreateControl()
{
    return dispatch::CreateObject(QStringLiteral("Gyrelle.Gyrelle"));
}

QStringList GyrelleFixture::TakeCommands()
{
    QStringList taken;
    taken.swap(commands_);
    return taken;
}

void GyrelleFixture::UseEmptyDrive()
{
    qputenv("TESSEL_CDROM", (dir_.path() + QStringLiteral("/none.cue")).toLocal8Bit());
}
