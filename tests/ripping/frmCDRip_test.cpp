// The ripper window and its extraction dialog on a generated disc image.
#include "components/cdripper/CDRipperX.h"
#include "components/skin/Skin.h"
#include "ripping/frmCDRip.h"
#include "ripping/frmExtract.h"
#include "ripping/frmMp3Settings.h"
#include "ripping/frmVorbisSettings.h"
#include "ripping/frmWMASettings.h"
#include "tests/cdaudio/DiscImage.h"
#include "tests/support/Patience.h"
#include "tests/support/ScriptedUser.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QHeaderView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class frmCDRipTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A data track, then ten short tones: eleven rows.
        const QString cue = MakeDiscImage(dir_.path(), QStringLiteral("disc"), std::vector<int>(10, 1), {.dataSeconds = 1, .binName = {}});
        ASSERT_FALSE(cue.isEmpty());
        qputenv("TESSEL_CDROM", cue.toLocal8Bit());
    }

    void TearDown() override
    {
        if (auto* w = forms::Instances::Existing<frmCDRip>()) w->Unload();
        QApplication::processEvents();
    }

    frmCDRip& Open()
    {
        auto& w = forms::Instance<frmCDRip>();
        w.Show();
        w.Timer1->setEnabled(false); // the test ticks the window itself
        return w;
    }

    QStringList Row(frmCDRip& w, int row)
    {
        QStringList texts;
        for (int c = 0; c < 7; ++c)
            texts << w.lvwTracks->Text(row, c);
        return texts;
    }

    // Runs the extraction dialog for the checked rows; `during` acts while it is open.
    void Extract(frmCDRip& w, int format, const QString& base, const std::function<void(frmExtract&)>& during)
    {
        w.cboEncoders->setListIndex(format);
        QTimer::singleShot(0, [base, during] {
            auto& x = forms::Instance<frmExtract>();
            x.txtFilename->setText(base);
            during(x);
            if (forms::Instances::Exists<frmExtract>()) x.Unload();
        });
        w.cmdExtract_Click();
    }

    TempDir dir_;
    ScriptedUser user_;
};

bool WaitUntilDone(frmExtract& x, const QString& end = QStringLiteral("Audio Ripping Complete!"))
{
    return QTest::qWaitFor(
        [&x, &end] { return x.lstStatus->ListCount() > 0 && x.lstStatus->List(x.lstStatus->ListCount() - 1) == end; },
        60000);
}

} // namespace

TEST_F(frmCDRipTest, ListsTheDiscSpeedsAndStatus)
{
    frmCDRip& w = Open();
    EXPECT_EQ(w.Caption(), QStringLiteral("Tessel CD Ripper"));
    ASSERT_EQ(w.cboDevices->ListCount(), 1);
    EXPECT_EQ(w.cboDevices->List(0), QStringLiteral("disc.cue: Disc Image"));
    EXPECT_TRUE(w.CDRipperX1->UseEncoder()); // Mp3 is chosen at load

    ASSERT_EQ(w.lvwTracks->Count(), 11);
    EXPECT_EQ(Row(w, 1), (QStringList {"", "01", "00:00", "00:01", "00:01", "Data ", "N"}));
    EXPECT_EQ(Row(w, 2).mid(1, 5), (QStringList {"02", "00:01", "00:02", "00:01", "Audio"}));
    EXPECT_EQ(w.lvwTracks->Text(9, 1), QStringLiteral("09"));
    EXPECT_EQ(w.lvwTracks->Text(11, 1), QStringLiteral("11"));

    QStringList speeds;
    for (int i = 0; i < w.cboSpeeds->ListCount(); ++i)
        speeds << w.cboSpeeds->List(i);
    EXPECT_EQ(speeds.mid(0, 7), (QStringList {"AUTO", "1X", "2X", "4X", "8X", "12X", "16X"}));
    EXPECT_EQ(speeds.last(), QString::number(w.CDRipperX1->MaxSpeed()) + QLatin1Char('X'));
    EXPECT_EQ(w.cboSpeeds->ItemData(3), 4);

    w.Timer1_Timer();
    EXPECT_EQ(w.sbrStatus->PanelText(1), QStringLiteral("Disc Loaded..."));
    EXPECT_EQ(w.sbrStatus->PanelText(2), QStringLiteral("Track:02          "));
    EXPECT_EQ(w.sbrStatus->PanelText(3), QStringLiteral("Time:00:01"));

    // Wav detaches the encoder; the menu checks every row.
    w.cboEncoders->setListIndex(1);
    EXPECT_FALSE(w.CDRipperX1->UseEncoder());
    w.mnuFileSelectAll->Click();
    EXPECT_TRUE(w.lvwTracks->Checked(1) && w.lvwTracks->Checked(11));
    w.mnuFileNone->Click();
    EXPECT_FALSE(w.lvwTracks->Checked(5));
}

namespace {

// How far the darkest or lightest pixel of a picture stands out from its most common colour, the
// background, in grey levels.
int Contrast(const QImage& picture)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ++counts[picture.pixel(x, y)];
    QRgb background = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(background)) background = it.key();
    int most = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            most = std::max(most, std::abs(qGray(picture.pixel(x, y)) - qGray(background)));
    return most;
}

bool HasBlue(const QImage& picture)
{
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            if (c.blue() > 150 && c.blue() > c.red() + 60) return true;
        }
    return false;
}

} // namespace

TEST_F(frmCDRipTest, TheTrackBoxesStandOutFromTheListAsTheSkinsOtherCheckBoxesDo)
{
    frmCDRip& w = Open();
    Skin skin;
    skin.ApplySkin(w.hWnd());
    w.lvwTracks->setChecked(3, true);
    QWidget other;
    forms::CheckBox box(&other);
    box.Move(0, 0, 300, 300);
    skin.ApplySkin(other.winId());
    other.show();

    const auto trackBox = [&](int row) {
        QRect cell = w.lvwTracks->visualItemRect(w.lvwTracks->topLevelItem(row - 1));
        cell.setWidth(w.lvwTracks->header()->sectionSize(0));
        return w.lvwTracks->viewport()->grab(cell).toImage();
    };
    const QImage unchecked = trackBox(2);
    const QImage checked = trackBox(3);
    const QImage reference = box.grab().toImage();
    EXPECT_GE(Contrast(unchecked), Contrast(reference) - 8) << "an empty box is as plain as the window's check boxes";
    EXPECT_TRUE(HasBlue(checked)) << "a ticked row shows the skin's tick";
    EXPECT_FALSE(HasBlue(unchecked));
}

TEST_F(frmCDRipTest, TheDiscTakenOutEmptiesTheListAndPutBackReloadsItOnce)
{
    frmCDRip& w = Open();
    w.cmdEject->Click();
    w.Timer1_Timer();
    EXPECT_EQ(w.sbrStatus->PanelText(1), QStringLiteral("No Disc Loaded..."));
    EXPECT_EQ(w.lvwTracks->Count(), 0);
    EXPECT_FALSE(w.cmdPlay->isEnabled());

    w.cmdLoad->Click();
    w.Timer1_Timer();
    EXPECT_EQ(w.lvwTracks->Count(), 11);
    EXPECT_TRUE(w.cmdPlay->isEnabled());
    w.lvwTracks->setChecked(4, true);
    w.Timer1_Timer(); // a loaded disc does not reload the list again
    EXPECT_TRUE(w.lvwTracks->Checked(4));
}

TEST_F(frmCDRipTest, TransportFollowsTheSelectedRow)
{
    frmCDRip& w = Open();
    w.cmdBack_Click(); // nothing selected: nothing happens
    EXPECT_EQ(w.CDRipperX1->PlayState(), CDRipperX::Stopped);
    w.lvwTracks->setSelectedIndex(3);
    w.cmdForward_Click();
    EXPECT_EQ(w.lvwTracks->SelectedIndex(), 4);
    EXPECT_EQ(w.CDRipperX1->PlayState(), CDRipperX::Playing);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.CDRipperX1->CurrentTrack() == 4; }, Patience));
    w.cmdPause_Click();
    w.Timer1_Timer();
    EXPECT_EQ(w.sbrStatus->PanelText(1), QStringLiteral("Paused..."));
    w.cmdPause_Click();
    EXPECT_EQ(w.CDRipperX1->PlayState(), CDRipperX::Playing);
    w.cmdStop->Click();
    EXPECT_EQ(w.CDRipperX1->PlayState(), CDRipperX::Stopped);
}

TEST_F(frmCDRipTest, ExtractsTheCheckedRowsUnderTheNameRule)
{
    frmCDRip& w = Open();
    w.lvwTracks->setChecked(1, true); // the data track
    w.lvwTracks->setChecked(3, true);
    w.lvwTracks->setChecked(6, true);
    QStringList lines;
    int totalMax = 0;
    Extract(w, 0, dir_.file(QStringLiteral("Song.wav")), [&](frmExtract& x) {
        EXPECT_EQ(x.Caption(), QStringLiteral("Extract MP3 Files"));
        x.cmdGo_Click();
        totalMax = x.prgTotal->Max();
        ASSERT_TRUE(WaitUntilDone(x));
        for (int i = 0; i < x.lstStatus->ListCount(); ++i)
            lines << x.lstStatus->List(i);
        EXPECT_EQ(x.prgTotal->Value(), 2);
        EXPECT_EQ(x.prgTrack->Value(), 100);
        EXPECT_EQ(x.lblTrackProgress->Caption(), QStringLiteral("Track Progress: 100%"));
        EXPECT_TRUE(x.sbrTime->PanelText(1).startsWith(QStringLiteral("Track 06     00:")));
        EXPECT_TRUE(x.sbrTime->PanelText(2).startsWith(QStringLiteral("Seconds: ")));
        EXPECT_TRUE(x.cmdGo->isEnabled());
    });
    EXPECT_EQ(totalMax, 3);
    const QString third = dir_.file(QStringLiteral("Song03.mp3"));
    const QString sixth = dir_.file(QStringLiteral("Song06.mp3"));
    EXPECT_EQ(lines, (QStringList {"Track #01 is a data track and cannot be extracted!", "Preparing for Audio Extraction!",
                         "Ripping Track#03 to " + third, "Finished Ripping Track#03 to " + third,
                         "Ripping Track#06 to " + sixth, "Finished Ripping Track#06 to " + sixth, "Audio Ripping Complete!"}));
    EXPECT_TRUE(QFileInfo(third).size() > 1000);
    EXPECT_TRUE(QFileInfo(sixth).size() > 1000);
}

TEST_F(frmCDRipTest, ARipThatCouldWriteNoFileEndsSayingSo)
{
    frmCDRip& w = Open();
    w.lvwTracks->setChecked(2, true);
    w.lvwTracks->setChecked(3, true);
    const QString failed = QStringLiteral("Audio Ripping Failed: no file could be written.");
    QStringList lines;
    QString status;
    Extract(w, 1, dir_.file(QStringLiteral("no such folder/Song.wav")), [&](frmExtract& x) {
        x.cmdGo_Click();
        ASSERT_TRUE(WaitUntilDone(x, failed));
        for (int i = 0; i < x.lstStatus->ListCount(); ++i)
            lines << x.lstStatus->List(i);
        status = x.sbrTime->PanelText(1);
        EXPECT_TRUE(x.cmdGo->isEnabled());
    });
    const QString second = dir_.file(QStringLiteral("no such folder/Song02.wav"));
    const QString third = dir_.file(QStringLiteral("no such folder/Song03.wav"));
    EXPECT_EQ(lines,
        (QStringList {"Preparing for Audio Extraction!", "Ripping Track#02 to " + second, "Error Creating File.",
            "Ripping Track#03 to " + third, "Error Creating File.", failed}));
    EXPECT_EQ(status, failed);
}

TEST_F(frmCDRipTest, AShortNameLeavesItsFilesInTheChosenFolderOrTheHomeFolderNeverTheWorkingOne)
{
    TempDir working, home, chosen;
    const QString startedIn = QDir::currentPath();
    const QByteArray homeBefore = qgetenv("HOME");
    ASSERT_TRUE(QDir::setCurrent(working.path()));
    qputenv("HOME", home.path().toLocal8Bit());

    frmCDRip& w = Open();
    w.lvwTracks->setChecked(3, true);
    for (const QString& name : {chosen.file(QStringLiteral("ab")), QStringLiteral("ab")}) {
        Extract(w, 1, name, [&](frmExtract& x) {
            x.cmdGo_Click();
            EXPECT_TRUE(WaitUntilDone(x));
        });
    }
    QDir::setCurrent(startedIn);
    qputenv("HOME", homeBefore);

    EXPECT_GT(QFileInfo(chosen.file(QStringLiteral("03.wav"))).size(), 1000) << "beside the name the user chose";
    EXPECT_GT(QFileInfo(home.file(QStringLiteral("03.wav"))).size(), 1000) << "a name without a folder";
    EXPECT_TRUE(QDir(working.path()).isEmpty()) << "nothing in the folder the program was started from";
}

TEST_F(frmCDRipTest, NothingCheckedClosesTheDialogAndStartRefusalsAreShown)
{
    frmCDRip& w = Open();
    Extract(w, 1, dir_.file(QStringLiteral("Song.wav")), [](frmExtract& x) { x.cmdGo_Click(); });
    ASSERT_FALSE(user_.Boxes().empty());
    EXPECT_EQ(user_.Boxes().back().prompt, QStringLiteral("No Tracks Selected for Extraction."));
    EXPECT_EQ(user_.Boxes().back().style, 64);
    EXPECT_FALSE(forms::Instances::Exists<frmExtract>());

    // Only a data track checked: nothing can be queued, so the start is refused and the dialog stays.
    w.lvwTracks->setChecked(1, true);
    bool stayed = false;
    Extract(w, 1, dir_.file(QStringLiteral("Song.wav")), [&](frmExtract& x) {
        x.cmdGo_Click();
        stayed = forms::Instances::Exists<frmExtract>() && x.isVisible();
    });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(user_.Boxes().back().prompt, QStringLiteral("Extraction could not be started."));
}

TEST_F(frmCDRipTest, TheSettingsItemsOpenTheirDialogsOnTheRippersEncoders)
{
    frmCDRip& w = Open();
    bool mp3 = false, vorbis = false, wma = false;
    QTimer::singleShot(0, [&] {
        auto& d = forms::Instance<frmMp3Settings>();
        mp3 = d.isVisible() && d.m_objEncoder == w.MP3EncoderX1;
        d.Unload();
    });
    w.mnuSettingsMP3->Click();
    QTimer::singleShot(0, [&] {
        auto& d = forms::Instance<frmVorbisSettings>();
        vorbis = d.isVisible() && d.m_objVorbis == w.VorbisEncoderX1;
        d.Unload();
    });
    w.mnuSettingsVorbis->Click();
    QTimer::singleShot(0, [&] {
        auto& d = forms::Instance<frmWMASettings>();
        wma = d.isVisible() && d.m_objEncoder == w.WMAEncoderX1;
        d.Unload();
    });
    w.mnuSettingsWMA->Click();
    EXPECT_TRUE(mp3);
    EXPECT_TRUE(vorbis);
    EXPECT_TRUE(wma);
}
