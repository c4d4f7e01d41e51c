#include "components/avi/SaveOptionsDialog.h"
#include "components/vidcap/CaptureDevice.h"
#include "components/vidcap/ezVidCap.h"
#include "platform/files/ProgramFolder.h"
#include "platform/forms/RuntimeError.h"
#include "tests/support/ScriptedUser.h"
#include "tests/support/TempDir.h"
#include "tests/tools/MediaProbe.h"
#include "tools/frmVideoCapture.h"
#include "tools/mCmnDlg.h"
#include "tools/mVidProcessing.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

namespace {

bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 30000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(5);
    }
    return true;
}

bool Near(int value, int expected, int slack) { return std::abs(value - expected) <= slack; }

class frmVideoCaptureTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (auto* w = forms::Instances::Existing<frmVideoCapture>()) w->Unload();
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        qunsetenv("TESSEL_CAPTURE");
    }

    frmVideoCapture& OpenWithPattern()
    {
        qputenv("TESSEL_CAPTURE", "lavfi");
        auto& w = forms::Instance<frmVideoCapture>();
        w.Show();
        return w;
    }

    bool CaptureSeconds(frmVideoCapture& w, double seconds)
    {
        w.ezVidCap1->setCaptureTimeLimit(seconds);
        w.cmdCapture->click();
        return WaitFor([&] { return w.lblStatusString->Caption().startsWith("Captured"); });
    }

    ScriptedUser user;
    TempDir dir;
};

} // namespace

TEST_F(frmVideoCaptureTest, CapturesThePatternAndSavesItAsAviAndBitmap)
{
    frmVideoCapture& w = OpenWithPattern();
    EXPECT_EQ(w.Caption(), "Video Capturing");
    ASSERT_EQ(w.cbDriver->ListCount(), 1);
    EXPECT_EQ(w.cbDriver->Text(), "FFmpeg Test Pattern");
    EXPECT_TRUE(user.Boxes().empty());
    EXPECT_EQ(w.lblStatusCode->Caption(), "Status Panel");
    EXPECT_EQ(w.lblStatusString->Caption(), "FFmpeg Test Pattern connected");
    EXPECT_EQ(w.txtWidth->Text(), "4800");
    for (auto* b : {w.cmdCapture, w.cmdCompDlg, w.cmdSourceDlg, w.cmdFormatDlg, w.cmdAudioDlg})
        EXPECT_TRUE(b->isEnabled()) << b->text().toStdString();
    EXPECT_FALSE(w.cmdDisplayDlg->isEnabled());
    EXPECT_EQ(w.chkPreview->Value(), 1);
    EXPECT_EQ(w.chkCenter->Value(), 1);

    // The live picture comes, and with the frame event on each frame's record is kept.
    w.chkFrameCallback->click();
    ASSERT_TRUE(WaitFor([&] { return mVidProcessing::VideoHeader.frameNumber > 3; }));
    EXPECT_EQ(mVidProcessing::VideoHeader.width, 320u);
    EXPECT_EQ(mVidProcessing::VideoHeader.height, 240u);

    ASSERT_TRUE(CaptureSeconds(w, 3)) << w.lblStatusString->Caption().toStdString();
    EXPECT_EQ(w.lblStatusCode->Caption(), "StatusCode: 301");

    user.ChooseFile(dir.file("capture.avi"));
    w.cmdSaveAs->click();
    ASSERT_EQ(user.FileRequests().size(), 1u);
    const forms::FileRequest& request = user.FileRequests()[0];
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.title, "Save AVI File");
    EXPECT_EQ(request.initialFolder, files::ProgramFolder());
    EXPECT_EQ(request.descriptions, QStringList {"AVI files (*.avi)"});
    EXPECT_EQ(request.patterns, QStringList {"*.avi"});
    EXPECT_TRUE(bool(request.preview));
    EXPECT_TRUE(user.Boxes().empty());
    const auto probe = media::ProbeVideo(dir.file("capture.avi"));
    EXPECT_EQ(probe.value("format_name"), "avi");
    EXPECT_EQ(probe.value("codec_name"), "mjpeg");
    EXPECT_TRUE(Near(probe.value("nb_frames").toInt(), 45, 3)) << probe.value("nb_frames").toStdString();
    EXPECT_NEAR(probe.value("duration").toDouble(), 3.0, 0.25);
    EXPECT_EQ(probe.value("width"), "320");
    // The preview of the save dialog shows the saved video's picture.
    EXPECT_EQ(request.preview(dir.file("capture.avi")).size(), QSize(320, 240));

    user.ChooseFile(dir.file("frame.bmp"));
    w.cmdSaveDIB->click();
    ASSERT_EQ(user.FileRequests().size(), 2u);
    EXPECT_EQ(user.FileRequests()[1].title, "Save Frame As Bitmap File");
    EXPECT_EQ(user.FileRequests()[1].flags, 6) << "overwrite prompt and hide read-only";
    const QImage frame(dir.file("frame.bmp"), "BMP");
    ASSERT_EQ(frame.size(), QSize(320, 240));
    const QColor grey = frame.pixelColor(20, 40);
    EXPECT_TRUE(Near(grey.red(), 191, 20) && Near(grey.green(), 191, 20) && Near(grey.blue(), 191, 20));
    const QColor yellow = frame.pixelColor(68, 40);
    EXPECT_TRUE(yellow.red() > 150 && yellow.green() > 150 && yellow.blue() < 60);
    EXPECT_TRUE(user.Boxes().empty());
}

TEST_F(frmVideoCaptureTest, PreRollAsksBeforeItStarts)
{
    frmVideoCapture& w = OpenWithPattern();
    w.chkPreRoll->click();
    ASSERT_TRUE(w.ezVidCap1->PreRoll());
    w.ezVidCap1->setCaptureTimeLimit(1);

    user.AnswerBoxes({2});
    w.cmdCapture->click();
    ASSERT_TRUE(WaitFor([&] { return w.lblStatusString->Caption() == "Capture cancelled"; }));
    ASSERT_EQ(user.Boxes().size(), 1u);
    EXPECT_EQ(user.Boxes()[0].prompt,
        "Using precise capture controls.\nPreRoll complete - Click OK to start capture immediately.");
    EXPECT_EQ(user.Boxes()[0].style, 1);

    // Saving before anything was captured reports the component's reason.
    user.ChooseFile(dir.file("nothing.avi"));
    w.cmdSaveAs->click();
    ASSERT_EQ(user.Boxes().size(), 2u);
    EXPECT_EQ(user.Boxes()[1].prompt, "No video has been captured");
    EXPECT_EQ(user.Boxes()[1].style, 64);
    EXPECT_FALSE(QFile::exists(dir.file("nothing.avi")));

    user.AnswerBoxes({1});
    w.cmdCapture->click();
    ASSERT_TRUE(WaitFor([&] { return w.lblStatusString->Caption().startsWith("Captured"); }));
    EXPECT_EQ(user.Boxes().size(), 3u);
}

TEST_F(frmVideoCaptureTest, TheChosenCompressorIsUsedAndEscEndsTheCapture)
{
    frmVideoCapture& w = OpenWithPattern();

    // The video compression dialog: MPEG-4 instead of Motion JPEG.
    QTimer::singleShot(0, [] {
        ASSERT_TRUE(WaitFor([] { return qobject_cast<avifile::SaveOptionsDialog*>(QApplication::activeModalWidget()); }));
        auto* dialog = qobject_cast<avifile::SaveOptionsDialog*>(QApplication::activeModalWidget());
        auto* compressor = dialog->findChild<QComboBox*>("compressor");
        compressor->setCurrentIndex(compressor->findData("mpeg4"));
        dialog->accept();
    });
    w.cmdCompDlg->click();

    // No time limit: the capture runs until the user presses Esc.
    w.cmdCapture->click();
    ASSERT_TRUE(w.ezVidCap1->Capturing());
    EXPECT_EQ(w.lblStatusCode->Caption(), "StatusCode: 300");
    QElapsedTimer capturing;
    capturing.start();
    WaitFor([&] { return capturing.elapsed() > 1000; });
    QTest::keyClick(w.cmdSaveAs, Qt::Key_Escape);
    ASSERT_TRUE(WaitFor([&] { return w.lblStatusString->Caption().startsWith("Captured"); }));
    EXPECT_FALSE(w.ezVidCap1->Capturing());

    user.ChooseFile(dir.file("mpeg4.avi"));
    w.cmdSaveAs->click();
    const auto probe = media::ProbeVideo(dir.file("mpeg4.avi"));
    EXPECT_EQ(probe.value("codec_name"), "mpeg4");
    EXPECT_GT(probe.value("nb_frames").toInt(), 3);
    EXPECT_TRUE(user.Boxes().empty());
}

TEST_F(frmVideoCaptureTest, CapturesSoundWhenAsked)
{
    QProcess server;
    server.start("pactl", {"info"});
    if (!server.waitForFinished(10000) || server.exitCode() != 0) GTEST_SKIP() << "no sound server";
    frmVideoCapture& w = OpenWithPattern();
    w.chkAudio->click();
    ASSERT_TRUE(w.ezVidCap1->CaptureAudio());
    ASSERT_TRUE(CaptureSeconds(w, 2)) << w.lblStatusString->Caption().toStdString();
    user.ChooseFile(dir.file("with sound.avi"));
    w.cmdSaveAs->click();
    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-show_entries", "stream=codec_type", "-of", "csv=p=0",
                               dir.file("with sound.avi")});
    ASSERT_TRUE(probe.waitForFinished(30000));
    const QString types = QString::fromUtf8(probe.readAllStandardOutput());
    EXPECT_TRUE(types.contains("video"));
    EXPECT_TRUE(types.contains("audio"));
}

TEST_F(frmVideoCaptureTest, ThePictureStaysInItsFrameAndTheOptionsFollowTheirBoxesHoweverTicked)
{
    frmVideoCapture& w = OpenWithPattern();
    QWidget* client = w.ezVidCap1->parentWidget()->parentWidget();
    const auto picture = [&] { return QRect(w.ezVidCap1->mapTo(client, QPoint(0, 0)), w.ezVidCap1->size()); };
    const QRect frame = picture();

    w.txtWidth->setText("99999999");
    w.cmdWidth->click();
    w.txtHeight->setText("99999999");
    w.cmdHeight->click();
    EXPECT_TRUE(user.Boxes().empty());
    EXPECT_EQ(w.txtWidth->Text(), "4800") << "the widest the picture can be inside its frame";
    EXPECT_EQ(w.txtHeight->Text(), "3600");
    EXPECT_EQ(picture(), frame);
    for (forms::CheckBox* box : {w.chkAudio, w.chkPreRoll, w.chkUserConfirm, w.chkPreview, w.chkFrameCallback,
             w.chkAutoSize, w.chkCenter, w.chkStretch})
        EXPECT_FALSE(picture().intersects(box->geometry())) << box->text().toStdString();
    w.txtWidth->setText("3000");
    w.cmdWidth->click();
    EXPECT_EQ(w.txtWidth->Text(), "3000");
    EXPECT_EQ(w.ezVidCap1->width(), 200);

    // An assistive tool toggles the boxes without a click: the options follow all the same.
    const auto toggle = [](forms::CheckBox* box) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box);
        ASSERT_TRUE(accessible && accessible->actionInterface());
        accessible->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    };
    toggle(w.chkPreRoll);
    toggle(w.chkAudio);
    EXPECT_EQ(w.chkPreRoll->Value(), 1);
    EXPECT_TRUE(w.ezVidCap1->PreRoll());
    EXPECT_TRUE(w.ezVidCap1->CaptureAudio());
    toggle(w.chkAudio);
    EXPECT_FALSE(w.ezVidCap1->CaptureAudio());
    QTest::keyClick(w.chkAudio, Qt::Key_Space);
    EXPECT_TRUE(w.ezVidCap1->CaptureAudio());
}

TEST_F(frmVideoCaptureTest, WithoutADriverOnlyTheDialogsItHasAreOffered)
{
    if (!vidcap::ListDrivers().empty()) GTEST_SKIP() << "this computer has a capture device";
    auto& w = forms::Instance<frmVideoCapture>();
    w.Show();
    ASSERT_EQ(w.cbDriver->ListCount(), 1);
    EXPECT_EQ(w.cbDriver->Text(), "<none>");
    ASSERT_EQ(user.Boxes().size(), 1u);
    EXPECT_EQ(user.Boxes()[0].prompt, "No Video Capture Device!");
    EXPECT_EQ(user.Boxes()[0].style, 64);
    for (auto* b : {w.cmdCapture, w.cmdCompDlg, w.cmdSourceDlg, w.cmdFormatDlg, w.cmdDisplayDlg})
        EXPECT_FALSE(b->isEnabled()) << b->text().toStdString();
    EXPECT_TRUE(w.cmdAudioDlg->isEnabled());

    // Cancel in either save dialog: nothing happens, no box.
    w.cmdSaveAs->click();
    w.cmdSaveDIB->click();
    EXPECT_EQ(user.FileRequests().size(), 2u);
    EXPECT_EQ(user.Boxes().size(), 1u);

    // Choosing the "<none>" row connects nothing and says so.
    w.cbDriver_Click();
    EXPECT_EQ(w.lblStatusString->Caption(), "Could not connect!");

    // Status and error events with code 0.
    w.ezVidCap1_StatusEvent(0, "ignored");
    EXPECT_EQ(w.lblStatusCode->Caption(), "StatusCode: 0");
    EXPECT_EQ(w.lblStatusString->Caption(), "Could not connect!");
    w.ezVidCap1_ErrorEvent(0, "ignored");
    EXPECT_EQ(w.lblStatusString->Caption(), "Could not connect!");
    w.ezVidCap1_ErrorEvent(7, "lost");
    EXPECT_EQ(w.lblStatusString->Caption(), "Error lost");

    // A width that is not a number is reported, and the program goes on.
    w.txtWidth->setText("wide");
    w.cmdWidth->click();
    EXPECT_EQ(user.Boxes().size(), 2u);
    w.txtWidth->setText("3000");
    w.cmdWidth->click();
    EXPECT_EQ(w.txtWidth->Text(), "3000");
}

TEST(mCmnDlg, FilterPartsAndWhatACancelLeaves)
{
    const QString filter = QStringLiteral("AVI files (*.avi)") + QChar(0) + "*.avi" + QChar(0) + "All" + QChar(0)
        + "*.*" + QChar(0) + QChar(0);
    EXPECT_EQ(mCmnDlg::GetFilterPart(filter, 1), QStringLiteral("AVI files (*.avi)") + QChar(0) + "*.avi");
    EXPECT_EQ(mCmnDlg::GetFilterPart(filter, 2), QStringLiteral("All") + QChar(0) + "*.*");
    EXPECT_EQ(mCmnDlg::GetFilterPart(filter, 3), "");
    EXPECT_EQ(mCmnDlg::GetFilterPart(QString(QChar(0)), 1), "");

    ScriptedUser user;
    QString name = "clip";
    QString title;
    QString filterText = "Bitmap files (*.bmp)|*.bmp|All files|*.*";
    int index = 2;
    int flags = 0x60 | 0x8;
    EXPECT_FALSE(mCmnDlg::ShowSaveDialog(name, title, true, filterText, index, "/tmp", "T", "bmp", -1, flags));
    ASSERT_EQ(user.FileRequests().size(), 1u);
    EXPECT_EQ(user.FileRequests()[0].flags, 0x8 | 0x4 | 0x2) << "hook and template bits dropped";
    EXPECT_EQ(user.FileRequests()[0].owner, 0u);
    EXPECT_EQ(user.FileRequests()[0].fileName, "clip") << "the dialog proposes the name handed in";
    EXPECT_EQ(user.FileRequests()[0].filterIndex, 2) << "and starts on the filter handed in";
    EXPECT_EQ(user.FileRequests()[0].descriptions, (QStringList {"Bitmap files (*.bmp)", "All files"}));
    EXPECT_EQ(name, QString(QChar(0)));
    EXPECT_EQ(filterText, QString(QChar(0)));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(flags, 0);

    // The flags, filter and read-only choice come back as the dialog hands them back: here the
    // user chose the second filter and left the file writable.
    bool readOnly = true;
    filterText = "AVI files (*.avi)|*.avi|All files|*.*";
    user.ChooseFile("/tmp/out.avi", 2, 0x1000 | 0x400);
    EXPECT_TRUE(mCmnDlg::ShowSavePreviewDialog(
        name = "take", title, true, false, readOnly, false, filterText, index = 1, "/tmp", "T", "avi", 0, flags = 0));
    EXPECT_EQ(user.FileRequests().back().flags, 0x1000 | 0x1);
    EXPECT_EQ(user.FileRequests().back().fileName, "take");
    EXPECT_EQ(name, "/tmp/out.avi");
    EXPECT_EQ(title, "out.avi");
    EXPECT_EQ(index, 2);
    EXPECT_EQ(filterText, QStringLiteral("All files") + QChar(0) + "*.*");
    EXPECT_EQ(flags, 0x1000 | 0x400);
    EXPECT_FALSE(readOnly);
    EXPECT_FALSE(mCmnDlg::ShowSavePreviewDialog(
        name, title, false, false, readOnly, false, filterText, index, "/tmp", "T", "avi", 0, flags));
    EXPECT_EQ(index, -1);

    QString tooLong(1025, 'a');
    EXPECT_THROW(mCmnDlg::ShowSaveDialog(tooLong, title, false, filterText, index, "", "", "", 0, flags),
        forms::RuntimeError);
}
