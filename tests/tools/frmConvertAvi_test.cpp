#include "components/avi/SaveOptionsDialog.h"
#include "tests/support/ScriptedUser.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"
#include "tests/tools/MediaProbe.h"
#include "tools/frmConvertAvi.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QSpinBox>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using avifile::SaveOptionsDialog;

namespace {

// Answers the next compression-options dialog: the step chooses in it, then OK (or Cancel).
// Gives up after a generous time, so no test waits for ever.
void AnswerOptions(std::function<void(SaveOptionsDialog&)> choose, bool ok = true)
{
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [=] {
        auto* dialog = qobject_cast<SaveOptionsDialog*>(QApplication::activeModalWidget());
        if (!dialog && ++*tries < 3000) return;
        poll->stop();
        poll->deleteLater();
        if (!dialog) return;
        if (choose) choose(*dialog);
        ok ? dialog->accept() : dialog->reject();
    });
    poll->start(10);
}

void Choose(SaveOptionsDialog& dialog, const QString& encoder, int keyFrames = 0, int kilobytesPerSecond = 0)
{
    auto* compressor = dialog.findChild<QComboBox*>(QStringLiteral("compressor"));
    compressor->setCurrentIndex(compressor->findData(encoder));
    dialog.findChild<QCheckBox*>(QStringLiteral("keyFrames"))->setChecked(keyFrames > 0);
    if (keyFrames > 0) dialog.findChild<QSpinBox*>(QStringLiteral("keyFramesValue"))->setValue(keyFrames);
    dialog.findChild<QCheckBox*>(QStringLiteral("dataRate"))->setChecked(kilobytesPerSecond > 0);
    if (kilobytesPerSecond > 0)
        dialog.findChild<QSpinBox*>(QStringLiteral("dataRateValue"))->setValue(kilobytesPerSecond);
}

QString MakeAvi(const TempDir& dir, const QString& name, int seconds, const QString& size = "320x240")
{
    const QString path = dir.file(name);
    EXPECT_TRUE(media::Ffmpeg({"-f", "lavfi", "-i", QStringLiteral("testsrc=size=%1:rate=25").arg(size), "-t",
        QString::number(seconds), "-c:v", "mjpeg", "-q:v", "5", path}));
    return path;
}

// Files the window left in the folder besides the ones named.
QStringList Leftovers(const TempDir& dir, const QStringList& expected)
{
    QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    files.removeIf([&](const QString& f) { return expected.contains(f); });
    return files;
}

class frmConvertAviTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (auto* w = forms::Instances::Existing<frmConvertAvi>()) w->Unload();
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    frmConvertAvi& Open(const QString& source, const QString& target)
    {
        auto& w = forms::Instance<frmConvertAvi>();
        w.Show();
        user.ChooseFile(source);
        user.ChooseFile(target);
        w.Command1->click();
        w.Command2->click();
        return w;
    }

    ScriptedUser user;
    TempDir dir;
};

} // namespace

TEST_F(frmConvertAviTest, RecompressesTheVideoWithTheChosenCompressor)
{
    const QString source = MakeAvi(dir, "holiday clip.avi", 2);
    const QString target = dir.file("holiday.small.avi");
    frmConvertAvi& w = Open(source, target);
    EXPECT_EQ(w.Caption(), "Convert Avi");
    EXPECT_EQ(w.Text1->Text(), "holiday clip");
    EXPECT_EQ(w.Text2->Text(), "holiday");
    ASSERT_EQ(user.FileRequests().size(), 2u);
    EXPECT_EQ(user.FileRequests()[0].patterns, QStringList {"*.avi"});
    EXPECT_TRUE(user.FileRequests()[1].save);

    QStringList statuses;
    QObject::connect(w.txtStatus, &QLineEdit::textChanged, [&](const QString& t) { statuses << t; });
    AnswerOptions([](SaveOptionsDialog& d) { Choose(d, "mpeg4", 10, 250); });
    w.cmdOpenAVIFile->click();

    EXPECT_EQ(w.txtStatus->Text(), "Finished!");
    EXPECT_TRUE(user.Boxes().empty());
    EXPECT_TRUE(statuses.contains("0 percent of file written"));
    EXPECT_TRUE(statuses.contains("50 percent of file written"));
    EXPECT_EQ(w.ProgressBar1->Value(), 100);
    EXPECT_TRUE(w.cmdOpenAVIFile->isEnabled());
    EXPECT_FALSE(w.cmdCancelSave->isEnabled());

    const auto probe = media::ProbeVideo(target);
    EXPECT_EQ(probe.value("format_name"), "avi");
    EXPECT_EQ(probe.value("codec_name"), "mpeg4");
    EXPECT_EQ(probe.value("nb_frames"), "50");
    EXPECT_EQ(probe.value("width"), "320");
    EXPECT_EQ(probe.value("height"), "240");
    EXPECT_EQ(probe.value("r_frame_rate"), "25/1");
    EXPECT_TRUE(Leftovers(dir, {"holiday clip.avi", "holiday.small.avi"}).isEmpty());

    // A second run over the same target replaces it, here with a lossless compressor.
    AnswerOptions([](SaveOptionsDialog& d) { Choose(d, "ffv1"); });
    w.cmdOpenAVIFile->click();
    EXPECT_EQ(w.txtStatus->Text(), "Finished!");
    EXPECT_EQ(media::ProbeVideo(target).value("codec_name"), "ffv1");
    EXPECT_TRUE(Leftovers(dir, {"holiday clip.avi", "holiday.small.avi"}).isEmpty());
}

TEST_F(frmConvertAviTest, StopEndsTheSaveWithoutAFileAndClosingWaitsForIt)
{
    const QString source = MakeAvi(dir, "long.avi", 3);
    const QString target = dir.file("out.avi");
    frmConvertAvi& w = Open(source, target);

    bool closedDuringSave = true;
    bool stopped = false;
    QObject::connect(w.txtStatus, &QLineEdit::textChanged, [&](const QString& t) {
        if (stopped || !t.endsWith("percent of file written") || t.section(' ', 0, 0).toInt() < 30) return;
        stopped = true;
        closedDuringSave = w.Unload();
        w.cmdCancelSave->click();
    });
    AnswerOptions([](SaveOptionsDialog& d) { Choose(d, "mpeg4"); });
    w.cmdOpenAVIFile->click();

    ASSERT_TRUE(stopped);
    EXPECT_FALSE(closedDuringSave) << "the window refuses to close while it saves";
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.txtStatus->Text(), "User cancelled!");
    EXPECT_TRUE(user.Boxes().empty());
    EXPECT_TRUE(Leftovers(dir, {"long.avi"}).isEmpty()) << Leftovers(dir, {"long.avi"}).join(", ").toStdString();
    EXPECT_TRUE(w.cmdOpenAVIFile->isEnabled());
    EXPECT_FALSE(w.cmdCancelSave->isEnabled());

    EXPECT_TRUE(w.Unload()) << "after the save the window closes";
}

TEST_F(frmConvertAviTest, CancelInTheOptionsDialogGivesItsOwnBoxAndNothingElse)
{
    const QString source = MakeAvi(dir, "clip.avi", 1);
    frmConvertAvi& w = Open(source, dir.file("out.avi"));
    AnswerOptions(nullptr, false);
    w.cmdOpenAVIFile->click();
    ASSERT_EQ(user.Boxes().size(), 1u);
    EXPECT_EQ(user.Boxes()[0].prompt, "AviSaveOptions returned an error!");
    EXPECT_EQ(user.Boxes()[0].style, 16);
    EXPECT_EQ(w.txtStatus->Text(), "Select Input And Output File...");
    EXPECT_TRUE(Leftovers(dir, {"clip.avi"}).isEmpty());
}

TEST_F(frmConvertAviTest, ASourceThatCannotBeReadIsReportedByPath)
{
    const QString damaged = dir.file("damaged.avi");
    Write(damaged, QByteArray(4096, 'x').prepend("RIFF not a real movie"));
    const QString soundOnly = dir.file("sound.avi");
    ASSERT_TRUE(media::Ffmpeg({"-f", "lavfi", "-i", "sine=frequency=440", "-t", "1", soundOnly}));

    // Start with no source chosen, then a damaged file, then one without video.
    auto& w = forms::Instance<frmConvertAvi>();
    w.Show();
    w.cmdOpenAVIFile->click();
    for (const QString& source : {damaged, soundOnly}) {
        user.ChooseFile(source);
        w.Command1->click();
        w.cmdOpenAVIFile->click();
    }
    ASSERT_EQ(user.Boxes().size(), 3u);
    const QString prompt = "There was an error working with the file:\n";
    EXPECT_EQ(user.Boxes()[0].prompt, prompt);
    EXPECT_EQ(user.Boxes()[1].prompt, prompt + damaged);
    EXPECT_EQ(user.Boxes()[2].prompt, prompt + soundOnly);
    for (const auto& box : user.Boxes()) EXPECT_EQ(box.style, 64);
    EXPECT_TRUE(w.cmdOpenAVIFile->isEnabled());
}

TEST(frmConvertAviNames, GetFileNameTakesTheBareNameAfterTheLastSlash)
{
    frmConvertAvi& w = forms::Instance<frmConvertAvi>();
    QString path = "  /home/me/Videos/clip.part1.avi ";
    EXPECT_EQ(w.GetFileName(path), "clip");
    EXPECT_EQ(path, "/home/me/Videos/clip.part1.avi") << "the path is trimmed in place";
    QString noDot = "/home/me.d/clip";
    EXPECT_EQ(w.GetFileName(noDot), "");
    QString atRoot = "/clip.avi";
    EXPECT_EQ(w.GetFileName(atRoot), "") << "a slash only at the first position does not count";
    QString empty;
    EXPECT_EQ(w.GetFileName(empty), "");
    w.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
