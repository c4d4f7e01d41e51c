// The mouse wheel over the player window and its settings window.
#include "tests/player/PlayerFixture.h"

#include "engine/Media.h"
#include "engine/Slider.h"
#include "platform/forms/RuntimeError.h"
#include "player/MouseScroll.h"
#include "player/frmMouseScroll.h"
#include "tests/engine/MediaClips.h"

#include <QSignalBlocker>
#include <QWheelEvent>

namespace {

// Turns the wheel over a widget: positive deltas away from the user, 120 to a notch.
void Wheel(QWidget* target, int delta)
{
    const QPointF at(2, 2);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
        Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(target, &event);
}

class WheelTest : public PlayerTest {
protected:
    void TearDown() override
    {
        if (auto* settings = forms::Instances::Existing<frmMouseScroll>()) settings->Unload();
        PlayerTest::TearDown();
    }

    static frmMouseScroll& Settings() { return forms::Instance<frmMouseScroll>(); }

    // Chooses a mode and step as the user does in the open settings window.
    static void Use(forms::OptionButton*(frmMouseScroll::*option), const QString& step)
    {
        frmMouseScroll& settings = Settings();
        settings.Show();
        (settings.*option)->setValue(true);
        settings.txtSec->setText(step);
    }

    static void SelectQuietly(forms::ComboBox* list, int row)
    {
        const QSignalBlocker quiet(list);
        list->setListIndex(row);
    }
};

} // namespace

TEST(MouseScrollNumbers, TheStepIsTheNumberTheTextBeginsWith)
{
    using MouseScroll::LeadingNumber;
    EXPECT_EQ(LeadingNumber("3"), 3);
    EXPECT_EQ(LeadingNumber("2.5"), 2.5);
    EXPECT_EQ(LeadingNumber(" 1 2 seconds"), 12) << "blanks inside the number are ignored";
    EXPECT_EQ(LeadingNumber("-4x"), -4);
    EXPECT_EQ(LeadingNumber("1e2"), 100);
    EXPECT_EQ(LeadingNumber(".5"), 0.5);
    EXPECT_EQ(LeadingNumber("7e"), 7);
    for (const char* none : {"", "abc", ".", "-", "x3"})
        EXPECT_EQ(LeadingNumber(none), 0) << none;
    EXPECT_THROW(LeadingNumber("1e999"), forms::RuntimeError);
}

TEST(MouseScrollNumbers, RoundingTakesHalvesToTheEvenNeighbourWithin16Bits)
{
    using MouseScroll::RoundInteger;
    EXPECT_EQ(RoundInteger(2.5), 2);
    EXPECT_EQ(RoundInteger(3.5), 4);
    EXPECT_EQ(RoundInteger(-2.5), -2);
    EXPECT_EQ(RoundInteger(-19.4), -19);
    EXPECT_EQ(RoundInteger(32767.4), 32767);
    EXPECT_THROW(RoundInteger(32767.5), forms::RuntimeError);
    EXPECT_THROW(RoundInteger(-32769), forms::RuntimeError);
}

TEST_F(WheelTest, TheFirstNotchLoadsTheSettingsHiddenAndTheWindowKeepsThem)
{
    frmPlayer& p = Start();
    EXPECT_TRUE(MouseScroll::Installed(p));
    EXPECT_FALSE(forms::Instances::Exists<frmMouseScroll>());

    Wheel(&p, 120);
    frmMouseScroll* settings = forms::Instances::Existing<frmMouseScroll>();
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(settings->IsLoaded());
    EXPECT_FALSE(settings->isVisible());
    EXPECT_TRUE(settings->Option1->Value()) << "no settings file: Position";
    EXPECT_EQ(settings->txtSec->Text(), "3");
    Wheel(&p, 120);
    EXPECT_EQ(forms::Instances::Existing<frmMouseScroll>(), settings);
}

TEST_F(WheelTest, WithoutASettingsFileEachNotchSeeksThreeSeconds)
{
    frmPlayer& p = Start();
    p.lstPlaylist->AddItem(clips::Video());
    p.lstPlaylist->setListIndex(0);
    ASSERT_EQ(p.Media1->checkDeviceReady(), "true");
    p.Media1->PauseMovie();
    p.scrPosition->setMaxValue(p.Media1->getLengthInSec());
    p.scrPosition->setValue(0);

    Wheel(&p, 120);
    EXPECT_EQ(p.scrPosition->Value(), 3);
    EXPECT_NEAR(p.Media1->getPositionInMS(), 3000, 100);
    EXPECT_EQ(p.scrPosition->Caption(), p.Media1->getFormatPosition() + " / " + p.Media1->getFormatLength());
    EXPECT_TRUE(p.tmrCurrent->Enabled());
    EXPECT_TRUE(p.tmrMax->Enabled());

    Wheel(&p, -120);
    EXPECT_EQ(p.scrPosition->Value(), 0);
    EXPECT_NEAR(p.Media1->getPositionInMS(), 0, 100);

    // A step of letters is no step: the timers still stop and start again around a seek in place.
    Use(&frmMouseScroll::Option1, "abc");
    p.scrPosition->setValue(2);
    p.tmrCurrent->setEnabled(false);
    Wheel(&p, 120);
    EXPECT_EQ(p.scrPosition->Value(), 2);
    EXPECT_NEAR(p.Media1->getPositionInMS(), 2000, 100);
    EXPECT_TRUE(p.tmrCurrent->Enabled());
    p.Media1->closeMovie();
}

TEST_F(WheelTest, SpeedStepsBelowThreeNeverLeaveTheNeutralZone)
{
    frmPlayer& p = Start();
    Use(&frmMouseScroll::Option2, "2.5");
    for (int notch = 0; notch < 3; ++notch) {
        Wheel(&p, 120);
        EXPECT_EQ(p.scrSpeed->Value(), 0) << "2.5 rounds to 2, which snaps back";
        EXPECT_FALSE(p.tmrFF2->Enabled());
    }

    Use(&frmMouseScroll::Option2, "3.5");
    Wheel(&p, 120);
    EXPECT_EQ(p.scrSpeed->Value(), 4);
    EXPECT_TRUE(p.tmrFF2->Enabled());
    Wheel(&p, -120);
    Wheel(&p, -120);
    EXPECT_EQ(p.scrSpeed->Value(), -4);
    EXPECT_TRUE(p.tmrRW2->Enabled());
    EXPECT_FALSE(p.tmrFF2->Enabled());

    // Outside the bar's range the value stays, and the speed selection still runs.
    Use(&frmMouseScroll::Option2, "40");
    p.tmrRW2->setEnabled(false);
    Wheel(&p, -120);
    EXPECT_EQ(p.scrSpeed->Value(), -4);
    EXPECT_TRUE(p.tmrRW2->Enabled());
    p.tmrRW2->setEnabled(false);
}

TEST_F(WheelTest, VolumeStepsAreRefusedPastTheEndOfTheBar)
{
    frmPlayer& p = Start();
    ASSERT_EQ(p.scrVolume->Value(), -16);
    Use(&frmMouseScroll::Option3, "3");

    Wheel(&p, 120);
    EXPECT_EQ(p.scrVolume->Value(), -19) << "up is louder";
    Wheel(&p, 120);
    EXPECT_EQ(p.scrVolume->Value(), -19) << "-22 is outside the bar";
    Wheel(&p, -120);
    EXPECT_EQ(p.scrVolume->Value(), -16);
}

TEST_F(WheelTest, EachNotchIsOneStepWhereverTheWheelTurns)
{
    frmPlayer& p = Start();
    Use(&frmMouseScroll::Option3, "1");

    // Over the volume bar itself: the bar does not scroll on its own as well.
    Wheel(p.scrVolume, -120);
    EXPECT_EQ(p.scrVolume->Value(), -15);
    Wheel(p.framPlayer, -240);
    EXPECT_EQ(p.scrVolume->Value(), -13) << "two notches in one turn";
    Wheel(p.lstPlaylist, -60);
    EXPECT_EQ(p.scrVolume->Value(), -13) << "half a notch waits for the other half";
    Wheel(p.lstPlaylist, -60);
    EXPECT_EQ(p.scrVolume->Value(), -12);
}

TEST_F(WheelTest, AStepWithoutANumberMovesNothing)
{
    frmPlayer& p = Start();
    for (const QString& step : {QString("abc"), QString()}) {
        Use(&frmMouseScroll::Option3, step);
        Wheel(&p, 120);
        EXPECT_EQ(p.scrVolume->Value(), -16) << step.toStdString();
    }
}

TEST_F(WheelTest, ScrollPlaylistRefusesRowsBeforeTheFirst)
{
    frmPlayer& p = Start();
    for (const char* row : {"/music/a.mp3", "/music/b.mp3", "/music/c.mp3"})
        p.lstPlaylist->AddItem(row);
    SelectQuietly(p.lstPlaylist, 0);

    Use(&frmMouseScroll::Option4, "3");
    Wheel(&p, 120);
    EXPECT_EQ(p.lstPlaylist->ListIndex(), 0);
    EXPECT_EQ(p.lstPlaylist->ListCount(), 3);
    EXPECT_TRUE(user_.Boxes().empty()) << "nothing was opened";

    Use(&frmMouseScroll::Option4, "1");
    Wheel(&p, 120);
    EXPECT_EQ(p.lstPlaylist->ListIndex(), -1) << "no row selected";
}

TEST_F(WheelTest, TheSettingsAreWrittenWhenTheWindowClosesAndReadAtTheNextNotch)
{
    frmPlayer& p = Start();
    Use(&frmMouseScroll::Option3, "2");
    Settings().Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Read(Program("mousescroll.txt")), QByteArray("#FALSE#,#FALSE#,#TRUE#,#FALSE#,\"2\"\r\n"));
    EXPECT_FALSE(forms::Instances::Exists<frmMouseScroll>());

    Wheel(&p, 120);
    EXPECT_EQ(p.scrVolume->Value(), -18);
    EXPECT_TRUE(Settings().Option3->Value());
    EXPECT_FALSE(Settings().Option1->Value());
}

TEST_F(WheelTest, ADamagedSettingsFileKeepsTheDesignChoiceAndAnEmptyStepBecomesThree)
{
    Write(Program("mousescroll.txt"), "#FALSE#,maybe,#FALSE#\r\n");
    Settings().Load();
    EXPECT_TRUE(Settings().Option1->Value());
    EXPECT_EQ(Settings().txtSec->Text(), "3");
    Settings().Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    Write(Program("mousescroll.txt"), "#FALSE#,#FALSE#,#FALSE#,#TRUE#,\"\"\r\n");
    EXPECT_TRUE(Settings().Option4->Value() == false);
    Settings().Load();
    EXPECT_TRUE(Settings().Option4->Value());
    EXPECT_EQ(Settings().txtSec->Text(), "3");
}

TEST_F(WheelTest, TheWheelIsLeftAloneAfterThePlayerUnloads)
{
    frmPlayer& p = Start();
    MouseScroll::Remove(p);
    EXPECT_FALSE(MouseScroll::Installed(p));
    Wheel(&p, 120);
    EXPECT_FALSE(forms::Instances::Exists<frmMouseScroll>());
}
