#include "tests/tools/DvdImage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace dvdimage {

namespace {

bool Run(const QString& program, const QStringList& arguments, const QString& folder, const QString& input = {},
    const QString& output = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
    if (!input.isEmpty()) process.setStandardInputFile(input);
    if (!output.isEmpty()) process.setStandardOutputFile(output);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VIDEO_FORMAT"), QStringLiteral("PAL"));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    const bool done = process.waitForFinished(120000);
    EXPECT_TRUE(done && process.exitCode() == 0)
        << program.toStdString() << ": " << process.readAllStandardError().toStdString();
    return done && process.exitCode() == 0;
}

bool WriteText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

// Makes the disc in a folder of its own.
bool Author(const QString& work)
{
    const QStringList quiet {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y")};
    const QString box
        = QStringLiteral("x=%1:y=%2:w=%3:h=%4").arg(ButtonLeft).arg(ButtonTop).arg(ButtonWidth).arg(ButtonHeight);
    return Run(QStringLiteral("ffmpeg"),
               quiet
                   + QStringList {"-f", "lavfi", "-i", "testsrc=size=720x576:rate=25:duration=12", "-f", "lavfi", "-i",
                       "sine=frequency=440:sample_rate=48000:duration=12", "-target", "pal-dvd", "-b:v", "1500k",
                       "title.mpg"},
               work)
        && Run(QStringLiteral("ffmpeg"),
            quiet
                + QStringList {"-f", "lavfi", "-i", "color=c=navy:size=720x576:rate=25:duration=1", "-f", "lavfi", "-i",
                    "anullsrc=r=48000:cl=stereo", "-t", "1", "-vf", "drawbox=" + box + ":color=yellow:t=fill",
                    "-target", "pal-dvd", "background.mpg"},
            work)
        && Run(QStringLiteral("ffmpeg"),
            quiet
                + QStringList {"-f", "lavfi", "-i", "color=c=black@0.0:size=720x576,format=rgba", "-frames:v", "1",
                    "-vf", "drawbox=" + box + ":color=red@1.0:t=6", "highlight.png"},
            work)
        && WriteText(work + QStringLiteral("/buttons.xml"),
            QStringLiteral("<subpictures><stream><spu start=\"00:00:00.00\" force=\"yes\" highlight=\"highlight.png\" "
                           "select=\"highlight.png\"><button name=\"play\" x0=\"%1\" y0=\"%2\" x1=\"%3\" y1=\"%4\"/>"
                           "</spu></stream></subpictures>\n")
                .arg(ButtonLeft)
                .arg(ButtonTop)
                .arg(ButtonLeft + ButtonWidth)
                .arg(ButtonTop + ButtonHeight)
                .toUtf8())
        && Run(QStringLiteral("spumux"), {"-m", "dvd", "buttons.xml"}, work, work + QStringLiteral("/background.mpg"),
            work + QStringLiteral("/menu.mpg"))
        && WriteText(work + QStringLiteral("/disc.xml"),
            "<dvdauthor dest=\"disc\">\n"
            " <vmgm/>\n"
            " <titleset>\n"
            "  <menus>\n"
            "   <video format=\"pal\"/>\n"
            "   <pgc entry=\"root\">\n"
            "    <vob file=\"menu.mpg\" pause=\"inf\"/>\n"
            "    <button name=\"play\">jump title 1;</button>\n"
            "   </pgc>\n"
            "  </menus>\n"
            "  <titles>\n"
            "   <video format=\"pal\"/>\n"
            "   <pgc>\n"
            "    <vob file=\"title.mpg\" chapters=\"0,0:04,0:08\"/>\n"
            "    <post>call menu;</post>\n"
            "   </pgc>\n"
            "  </titles>\n"
            " </titleset>\n"
            "</dvdauthor>\n")
        && Run(QStringLiteral("dvdauthor"), {"-x", "disc.xml"}, work);
}

} // namespace

QString Folder()
{
    const QString media = QStringLiteral(TESSEL_BINARY_DIR "/test-media");
    const QString disc = media + QStringLiteral("/dvd-video");
    if (QDir(disc + QStringLiteral("/VIDEO_TS")).exists()) return disc;
    // Made under a private name and renamed, so that test programs running at the same time never
    // see half a disc.
    const QString work = media + QStringLiteral("/dvd-work-%1").arg(QCoreApplication::applicationPid());
    QDir(work).removeRecursively();
    QDir().mkpath(work);
    if (Author(work)) QDir().rename(work + QStringLiteral("/disc"), disc);
    QDir(work).removeRecursively();
    return disc;
}

} // namespace dvdimage
