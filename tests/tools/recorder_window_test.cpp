// The sound recorder and its settings window, with the recording layer over a real sound server.
#include "dialogs/LumoCommonDialog.h"
#include "platform/files/ShortName.h"
#include "platform/forms/MsgBox.h"
#include "platform/mci/Mci.h"
#include "platform/settings/Settings.h"
#include "tests/support/ScratchMount.h"
#include "tests/support/ScriptedUser.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"
#include "tests/tools/SoundTest.h"
#include "tools/frmAudioRecord.h"
#include "tools/frmSettings.h"
#include "tools/modWave.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace modWave;

namespace {

QStringList Prompts(const ScriptedUser& user)
{
    QStringList prompts;
    for (const auto& box : user.Boxes())
        prompts << box.prompt;
    return prompts;
}

void UnloadAll()
{
    if (auto* w = forms::Instances::Existing<frmAudioRecord>()) w->Unload();
    if (auto* w = forms::Instances::Existing<frmSettings>()) w->Unload();
    QApplication::processEvents();
    mci::SendString("close all");
}

class RecorderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile::remove(settings::StorePath(QStringLiteral("AudioRecorder")));
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    }
    void TearDown() override
    {
        mci::SetCommandObserver({});
        UnloadAll();
        QLocale::setDefault(QLocale::c());
    }

    frmAudioRecord& Open()
    {
        auto& w = forms::Instance<frmAudioRecord>();
        w.Show();
        return w;
    }

    // Records with the Record button for about the time given, and stops with Stop.
    void RecordFor(frmAudioRecord& w, int ms)
    {
        w.cmdRecord->click();
        EXPECT_FALSE(w.cmdRecord->isEnabled());
        QTest::qWait(ms);
        w.cmdStop->click();
    }

    ScriptedUser user_;
    TempDir dir_;
};

class RecorderSoundTest : public RecorderTest {
protected:
    void SetUp() override
    {
        RecorderTest::SetUp();
        if (!sink_.Ready()) GTEST_SKIP() << "no sound server";
    }
    TestSink sink_;
};

} // namespace

TEST_F(RecorderSoundTest, RecordStopSaveUnderABlankNameAndResetRenames)
{
    frmAudioRecord& w = Open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.Caption() == QStringLiteral("AudioRecorder: stopped"); }, 10000));
    EXPECT_TRUE(w.cmdPlay->isEnabled()) << "a stopped device enables Play";

    RecordFor(w, 1200);
    EXPECT_TRUE(w.cmdSave->isEnabled());
    EXPECT_TRUE(w.cmdPlay->isEnabled());
    EXPECT_FALSE(w.cmdStop->isEnabled());
    const int length = w.Slider1->Max();
    EXPECT_NEAR(length, 1200, 400);

    // The statistics of that recording, from the device's own figures.
    w.Timer2_Timer();
    char ms[64] = {};
    char bytes[64] = {};
    mci::SendString("set capture time format ms");
    mci::SendString("status capture length", ms, sizeof ms);
    mci::SendString("set capture time format bytes");
    mci::SendString("status capture length", bytes, sizeof bytes);
    const QString seconds = QString::number(QByteArray(ms).toDouble() / 1000, 'g', 15);
    EXPECT_EQ(w.StatisticsLabel->Caption(),
        "Length recording  " + seconds + " s ( " + QString::fromLatin1(bytes)
            + " bytes)\r\nMono -  16 bits -  11025 samples per second \r\n\r\n");
    EXPECT_NEAR(QByteArray(bytes).toDouble(), QByteArray(ms).toDouble() * 22.05, 23); // milliseconds are whole

    QDir().mkpath(dir_.file(QStringLiteral("my recordings")));
    const QString wanted = dir_.file(QStringLiteral("my recordings/new take.wav"));
    Write(wanted, "an older take");
    user_.ChooseFile(wanted);
    w.cmdSave->click();
    ASSERT_TRUE(RenamePending);
    EXPECT_FALSE(PendingShortName.contains(QLatin1Char(' ')));
    EXPECT_TRUE(PendingShortName.endsWith(QStringLiteral(".wav")));
    EXPECT_TRUE(QFile::exists(PendingShortName));
    EXPECT_EQ(Read(wanted), "an older take") << "the older file stays until the new one takes its name";

    w.cmdReset->click();
    EXPECT_FALSE(RenamePending);
    const WaveFileInfo wave = ReadWaveFile(wanted);
    ASSERT_TRUE(wave.valid);
    EXPECT_EQ(wave.rate, 11025);
    EXPECT_EQ(wave.bitsPerSample, 16);
    EXPECT_NEAR(wave.data.size() / 22.05, length, 50);
    EXPECT_EQ(QDir(dir_.file(QStringLiteral("my recordings"))).entryList(QDir::Files), QStringList {"new take.wav"});
    EXPECT_EQ(w.Slider1->Max(), 10);
    EXPECT_TRUE(w.cmdRecord->isEnabled());
    EXPECT_TRUE(Prompts(user_).isEmpty()) << Prompts(user_).join('|').toStdString();
}

TEST_F(RecorderSoundTest, FailedSaveKeepsTheRecordingForAnotherTry)
{
    frmAudioRecord& w = Open();
    RecordFor(w, 600);
    QString locked = dir_.file(QStringLiteral("locked"));
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFile(locked + QStringLiteral("/probe")).open(QIODevice::WriteOnly)) {
        // Permissions don't stop this user: a folder of a read-only file system does.
        QFile::remove(locked + QStringLiteral("/probe"));
        locked = QStringLiteral("/proc");
    }

    user_.ChooseFile(locked + QStringLiteral("/take.wav"));
    w.cmdSave->click();
    EXPECT_EQ(Prompts(user_), QStringList {"Saving file failed, file name was: " + locked + "/take.wav"});
    EXPECT_FALSE(QFile::exists(locked + QStringLiteral("/take.wav")));

    user_.ChooseFile(dir_.file(QStringLiteral("take.wav")));
    w.cmdSave->click();
    EXPECT_NEAR(ReadWaveFile(dir_.file(QStringLiteral("take.wav"))).data.size() / 22.05, w.Slider1->Max(), 50);
    QFile::setPermissions(
        dir_.file(QStringLiteral("locked")), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(RecorderSoundTest, ProgrammedRecordingSavesItselfAndReturnsToManual)
{
    frmAudioRecord& w = Open();
    WaveFileName = dir_.file(QStringLiteral("Radio.wav"));
    frmSettings& s = forms::Instance<frmSettings>();
    s.Load();
    s.optRecordProgrammed->setValue(true);
    EXPECT_FALSE(w.cmdRecord->isEnabled());
    EXPECT_TRUE(s.frmTimes->isVisibleTo(&s));
    StartTime = QDateTime::currentDateTime().addSecs(1);
    StopTime = StartTime.addSecs(2);

    ASSERT_TRUE(QTest::qWaitFor([&] { return RecordingDone; }, 30000));
    EXPECT_TRUE(RecordImmediate) << "back to manual recording";
    EXPECT_TRUE(s.optRecordImmediate->Value());
    EXPECT_TRUE(w.cmdRecord->isEnabled());
    EXPECT_TRUE(w.cmdSave->isEnabled());

    const QFileInfo saved(WaveFileName);
    EXPECT_EQ(saved.absolutePath(), QDir(dir_.path()).absolutePath());
    EXPECT_TRUE(saved.fileName().startsWith(QStringLiteral("Radio_from_")));
    EXPECT_TRUE(saved.fileName().endsWith(QStringLiteral(".wav")));
    for (QChar c : {QLatin1Char(':'), QLatin1Char(' '), QLatin1Char('/')})
        EXPECT_FALSE(saved.fileName().contains(c)) << saved.fileName().toStdString();
    const WaveFileInfo wave = ReadWaveFile(WaveFileName);
    ASSERT_TRUE(wave.valid);
    EXPECT_GT(wave.data.size(), 11025); // more than half a second of 16-bit mono
    EXPECT_EQ(Prompts(user_), QStringList {"Recording has been saved\r\nFilename: " + WaveFileName});
}

TEST_F(RecorderSoundTest, MidiFileIsAnnouncedPlayedAndNamesTheProposal)
{
    const QString folder = dir_.file(QStringLiteral("my midi"));
    QDir().mkpath(folder);
    Write(folder + QStringLiteral("/TUNE.MID"), MidiFile(8));
    frmAudioRecord& w = Open();
    frmSettings& s = forms::Instance<frmSettings>();
    s.Load();
    user_.ChooseFile(folder + QStringLiteral("/TUNE.MID"));
    s.cmdMidi->click();
    ASSERT_FALSE(MidiFileName.isEmpty());
    EXPECT_FALSE(MidiFileName.contains(QLatin1Char(' ')));

    w.cmdRecord->click();
    EXPECT_EQ(Prompts(user_), QStringList {"Midi file " + MidiFileName + " will be recorded"});
    char mode[64] = {};
    EXPECT_EQ(mci::SendString("status midi mode", mode, sizeof mode), 0u);
    EXPECT_STREQ(mode, "playing");
    QTest::qWait(300);
    w.cmdStop->click();
    EXPECT_EQ(mci::SendString("status midi mode", mode, sizeof mode), 0u);
    EXPECT_STREQ(mode, "stopped");

    user_.CancelDialog();
    w.cmdSave->click();
    EXPECT_EQ(user_.FileRequests().back().fileName, MidiFileName.left(MidiFileName.size() - 3) + QStringLiteral("wav"));
    EXPECT_EQ(user_.FileRequests().back().flags, 1026);
    // The proposal is a place in the MIDI file's own folder.
    Write(w.CommonDialog1->FileName(), "x");
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/TUNE.wav")));

    // Whatever the letter case of its extension, the MIDI file itself is never proposed.
    for (const QString& name : {QStringLiteral("tune.mid"), QStringLiteral("TUNE.MID"), QStringLiteral("Tune.Mid")}) {
        Write(folder + QLatin1Char('/') + name, MidiFile(1));
        user_.ChooseFile(folder + QLatin1Char('/') + name);
        s.cmdMidi->click();
        user_.CancelDialog();
        w.cmdSave->click();
        const QString proposal = user_.FileRequests().back().fileName;
        EXPECT_EQ(proposal, MidiFileName.left(MidiFileName.size() - 4) + QStringLiteral(".wav")) << name.toStdString();
        EXPECT_EQ(QFileInfo(proposal).fileName(), name.left(4) + QStringLiteral(".wav"));
    }
}

TEST_F(RecorderSoundTest, StopAfterTheTimerTickedEnablesRecordForASecondTake)
{
    frmAudioRecord& w = Open();
    int ticks = 0;
    QObject::connect(w.Timer2, &forms::Timer::Tick, [&] { ++ticks; });
    // The window has been open a while: a tick has loaded the settings window, manual mode chosen.
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 1; }, 20000));
    w.cmdRecord->click();
    ticks = 0;
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 20000));
    EXPECT_FALSE(w.cmdRecord->isEnabled());
    w.cmdStop->click();
    EXPECT_TRUE(w.cmdRecord->isEnabled());

    RecordFor(w, 600);
    const QString take = dir_.file(QStringLiteral("second.wav"));
    user_.ChooseFile(take);
    w.cmdSave->click();
    const WaveFileInfo wave = ReadWaveFile(take);
    ASSERT_TRUE(wave.valid);
    EXPECT_NEAR(wave.data.size() / 22.05, w.Slider1->Max(), 50);
    EXPECT_TRUE(Prompts(user_).isEmpty()) << Prompts(user_).join('|').toStdString();
}

TEST_F(RecorderSoundTest, AfterResetTheSettingsWindowShowsTheFormatInUse)
{
    frmAudioRecord& w = Open();
    user_.AnswerModalForms([](forms::Form& form) {
        auto& s = static_cast<frmSettings&>(form);
        s.optRate44100->click();
        s.optStereo->click();
        s.opt8bits->click();
        s.cmdOke->click();
    });
    w.cmdSettings->click(); // OK to the warning
    ASSERT_EQ(Rate, 44100);
    // The timer loads the settings window again, hidden, before the recording.
    ASSERT_TRUE(QTest::qWaitFor([] { return forms::Instances::Exists<frmSettings>(); }, 20000));
    RecordFor(w, 400);
    char rate[32] = {};
    mci::SendString("status capture samplespersec", rate, sizeof rate);
    EXPECT_STREQ(rate, "44100");

    w.cmdReset->click();
    bool shown[3] = {};
    bool stale = true;
    user_.AnswerModalForms([&](forms::Form& form) {
        auto& s = static_cast<frmSettings&>(form);
        shown[0] = s.optRate11025->Value();
        shown[1] = s.optMono->Value();
        shown[2] = s.opt16bits->Value();
        stale = s.optRate44100->Value() || s.optStereo->Value() || s.opt8bits->Value();
        s.cmdOke->click();
    });
    w.cmdSettings->click();
    EXPECT_TRUE(shown[0] && shown[1] && shown[2]) << "11025 / mono / 16 bits, the values in use";
    EXPECT_FALSE(stale);

    RecordFor(w, 400);
    const QString take = dir_.file(QStringLiteral("next.wav"));
    user_.ChooseFile(take);
    w.cmdSave->click();
    const WaveFileInfo wave = ReadWaveFile(take);
    ASSERT_TRUE(wave.valid);
    EXPECT_EQ(wave.rate, 11025);
    EXPECT_EQ(wave.channels, 1);
    EXPECT_EQ(wave.bitsPerSample, 16);
}

TEST_F(RecorderSoundTest, CloseAllFromAnotherWindowLeavesTheRecorderRunning)
{
    frmAudioRecord& w = Open();
    w.cmdRecord->click();
    QTest::qWait(300);
    ASSERT_EQ(mci::SendString("close all"), 0u); // as the player does when it closes its file
    w.Timer2_Timer();
    const int boxes = int(user_.Boxes().size());
    EXPECT_GT(boxes, 0);
    w.Timer2_Timer();
    w.Timer2_Timer();
    EXPECT_EQ(int(user_.Boxes().size()), boxes) << "a lost device is reported once, not every second";
    EXPECT_EQ(w.StatisticsLabel->Caption(),
        QStringLiteral("Length recording  0 s ( 0 bytes)\r\n 0 bits -  0 samples per second \r\n\r\n"));
    w.cmdStop->click();
    EXPECT_EQ(w.Slider1->Max(), 10);

    // Record opens a fresh recording, and it works again.
    RecordFor(w, 400);
    EXPECT_GT(w.Slider1->Max(), 10);
}

TEST_F(RecorderTest, WithoutASoundServerTheFailuresAreReportedInBoxes)
{
    NoSoundServer none;
    frmAudioRecord& w = Open();
    EXPECT_EQ(Prompts(user_),
        (QStringList {
            "Opening new wave failed!", "Starting recording failed!", "Settings for recording not consistent"}));
    w.cmdRecord->click();
    EXPECT_TRUE(Prompts(user_).contains("Recording not possible, please restart your computer..."));
    w.Timer2_Timer();
    w.cmdStop->click();
    EXPECT_TRUE(w.cmdPlay->isEnabled());
}

TEST_F(RecorderTest, SettingsStartWithTheirDefaultsAndAreStoredAtUnload)
{
    frmAudioRecord& w = Open();
    EXPECT_EQ(Rate, 11025);
    EXPECT_EQ(Channels, 1);
    EXPECT_EQ(Resolution, 16);
    EXPECT_TRUE(WaveAutomaticSave);
    EXPECT_EQ(WaveFileName, QDir::homePath() + QStringLiteral("/Radio.wav"));
    frmSettings& s = forms::Instance<frmSettings>();
    s.Load();
    EXPECT_TRUE(s.optRate11025->Value());
    EXPECT_TRUE(s.optMono->Value());
    EXPECT_TRUE(s.opt16bits->Value());
    EXPECT_TRUE(s.Option11->Value());
    EXPECT_TRUE(s.optRecordImmediate->Value());
    EXPECT_FALSE(s.frmTimes->isVisibleTo(&s));

    s.optStereo->click();
    s.opt8bits->click();
    s.optRate22050->click();
    s.Option10->click();
    EXPECT_EQ(Channels, 2);
    w.Unload();
    const auto stored = [](const char* key) {
        return settings::GetSetting(
            QStringLiteral("AudioRecorder"), QStringLiteral("StartUp"), QString::fromLatin1(key));
    };
    EXPECT_EQ(stored("Rate"), "22050");
    EXPECT_EQ(stored("Channels"), "2");
    EXPECT_EQ(stored("Resolution"), "8");
    EXPECT_EQ(stored("WaveAutomaticSave"), "False");
    EXPECT_EQ(stored("WaveFileName"), QDir::homePath() + QStringLiteral("/Radio.wav"));
}

TEST_F(RecorderTest, SettingsThatCannotBeSavedAreReportedOnceAndTheSavedOnesStay)
{
    // The configuration folder on a small disk of its own, holding the settings saved last time.
    const QString store = settings::StorePath(QStringLiteral("AudioRecorder"));
    const QString folder = QFileInfo(store).absolutePath();
    QDir().mkpath(folder);
    ScratchMount disk(folder, "size=64k");
    if (!disk.Mounted()) GTEST_SKIP() << "a small file system needs root";
    const QString notSaved = "The sound recorder's settings could not be saved to " + store
        + " (the disk may be full, or the folder not writable).\r\nThe next start uses the settings saved before.";
    frmAudioRecord& w = Open();
    frmSettings& s = forms::Instance<frmSettings>();
    s.Load();
    s.optRate22050->click();
    w.Unload();
    const QByteArray saved = Read(store);
    ASSERT_TRUE(saved.contains("22050"));
    EXPECT_FALSE(Prompts(user_).contains(notSaved));

    // The disk fills up; the user then chooses stereo at 44100 Hz and a file name of a few dozen
    // bytes, and closes the recorder.
    disk.Fill();
    frmAudioRecord& again = Open();
    frmSettings& t = forms::Instance<frmSettings>();
    t.Load();
    t.optRate44100->click();
    t.optStereo->click();
    user_.AnswerInputs({QStringLiteral("/home/me/Music/the evening news.wav")});
    t.cmdFileName->click();
    again.Unload();

    EXPECT_EQ(Prompts(user_).count(notSaved), 1) << "told once";
    EXPECT_EQ(Read(store), saved) << "the file saved before stays whole";
    // What the store gives now is what the next start will find, not the values that were lost.
    frmAudioRecord::ReadStoredSettings();
    EXPECT_EQ(Rate, 22050);
    EXPECT_EQ(Channels, 1);
    EXPECT_EQ(WaveFileName, QDir::homePath() + QStringLiteral("/Radio.wav"));

    // With room again, a save goes through.
    QFile::remove(folder + QStringLiteral("/filler"));
    EXPECT_TRUE(frmAudioRecord::StoreSettings());
    EXPECT_EQ(Read(store), saved);
}

TEST_F(RecorderTest, AStoredRateOutsideTheOfferedOnesIsUsedAsItIs)
{
    settings::SaveSetting(
        QStringLiteral("AudioRecorder"), QStringLiteral("StartUp"), QStringLiteral("Rate"), QStringLiteral("16000"));
    settings::SaveSetting(
        QStringLiteral("AudioRecorder"), QStringLiteral("StartUp"), QStringLiteral("Channels"), QStringLiteral("two"));
    QStringList commands;
    mci::SetCommandObserver([&](std::string_view c) { commands << QString::fromUtf8(c.data(), qsizetype(c.size())); });
    Open();
    EXPECT_EQ(Rate, 16000);
    EXPECT_EQ(Channels, 1) << "a stored value that is no number gives way to the default";
    EXPECT_TRUE(
        commands.contains("set capture alignment 2 bitspersample 16 samplespersec 16000 channels 1 bytespersec 32000"));
    frmSettings& s = forms::Instance<frmSettings>();
    s.Load();
    for (auto* o : {s.optRate44100, s.optRate22050, s.optRate11025, s.optRate8000, s.optRate6000})
        EXPECT_FALSE(o->Value());

    // 8-bit mono: one byte a sample.
    Resolution = 8;
    Rate = 8000;
    SetWaveFormat();
    EXPECT_EQ(
        commands.last(), "set capture alignment 1 bitspersample 8 samplespersec 8000 channels 1 bytespersec 8000");
}

TEST_F(RecorderTest, TimesAreAskedForAndCorrected)
{
    Open();
    frmSettings& s = forms::Instance<frmSettings>();
    s.Load();
    const QDateTime now = QDateTime::currentDateTime();
    const QString fmt = QStringLiteral("M/d/yy h:mm:ss AP");
    const auto text = [&](const QDateTime& t) { return QLocale().toString(t, fmt); };

    user_.AnswerInputs({text(now.addDays(-1))});
    s.cmdStartTime->click();
    EXPECT_EQ(Prompts(user_).last(), "Recording events in the past is not possible...");
    EXPECT_NEAR(now.addSecs(15 * 60).secsTo(StartTime), 0, 5);
    EXPECT_GE(StopTime, StartTime);

    const QDateTime start = QDateTime(now.date().addDays(1), QTime(10, 0));
    user_.AnswerInputs({text(start)});
    s.cmdStartTime->click();
    EXPECT_EQ(StartTime, start);
    EXPECT_EQ(StopTime, start.addSecs(15 * 60)) << "a stop before the new start moves after it";

    user_.AnswerInputs({text(start.addSecs(-60))});
    s.cmdStopTime->click();
    EXPECT_EQ(Prompts(user_).last(), "The stop time has to be later then the start time!");
    EXPECT_EQ(StopTime, start.addSecs(5 * 60));
    const int boxes = int(user_.Boxes().size());
    user_.AnswerInputs({text(start)});
    s.cmdStopTime->click();
    EXPECT_EQ(StopTime, start) << "a stop equal to the start is taken";
    EXPECT_EQ(int(user_.Boxes().size()), boxes);

    user_.AnswerInputs({QStringLiteral("next tuesday-ish")});
    s.cmdStopTime->click();
    EXPECT_EQ(Prompts(user_).last(), "The time you entered was not valid!");
    user_.AnswerInputs({QStringLiteral("soon")});
    s.cmdStartTime->click();
    EXPECT_EQ(Prompts(user_).last(), "The date/time you entered was not valid!");
    s.cmdStartTime->click(); // cancelled
    EXPECT_EQ(StartTime, start);
    EXPECT_EQ(StopTime, start);
    EXPECT_EQ(user_.Inputs().back(), "Enter start time recording");
}

TEST_F(RecorderTest, SettingsButtonWarnsAndOpensTheSettingsModally)
{
    frmAudioRecord& w = Open();
    user_.AnswerBoxes({forms::MsgBoxResult::Cancel});
    w.cmdSettings->click();
    EXPECT_EQ(Prompts(user_), QStringList {"If you continue your data will be lost!"});
    EXPECT_EQ(user_.Boxes().back().style, forms::MsgBoxStyle::OKCancel);

    bool shown = false;
    QTimer::singleShot(200, [&] {
        auto* s = forms::Instances::Existing<frmSettings>();
        shown = s && s->isVisible();
        if (s) s->cmdOke->click();
    });
    w.cmdSettings->click(); // returns when the settings window is closed
    EXPECT_TRUE(shown);
    EXPECT_FALSE(forms::Instances::Exists<frmSettings>());
    w.Timer2_Timer();
    EXPECT_TRUE(forms::Instances::Existing<frmSettings>()->IsLoaded()) << "the next tick loads it again, hidden";
    EXPECT_FALSE(forms::Instances::Existing<frmSettings>()->isVisible());
}

TEST(ShortName, AliasHasNoBlanksAndLeadsIntoTheRealFolder)
{
    TempDir dir;
    EXPECT_EQ(files::ShortPathName(dir.file(QStringLiteral("plain.wav"))), dir.file(QStringLiteral("plain.wav")));

    const QString folder = dir.file(QStringLiteral("my music"));
    QDir().mkpath(folder);
    const QString target = folder + QStringLiteral("/new song.MID");
    const QString alias = files::ShortPathName(target);
    ASSERT_FALSE(alias.isEmpty());
    EXPECT_FALSE(alias.contains(QLatin1Char(' '))) << alias.toStdString();
    EXPECT_TRUE(alias.endsWith(QStringLiteral(".MID")));
    Write(alias, "through the alias");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 1) << "the file is in the real folder";
    EXPECT_NE(files::ShortPathName(target), alias) << "a name in use is not handed out again";
    ASSERT_TRUE(QFile::rename(alias, target));
    EXPECT_EQ(Read(target), "through the alias");

    EXPECT_EQ(files::ShortPathName(folder + QStringLiteral("/song.mid")).section('/', -1), "song.mid");
}
