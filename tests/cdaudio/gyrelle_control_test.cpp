#include "cdaudio/GyrelleIds.h"
#include "platform/forms/RuntimeError.h"
#include "platform/mci/Mci.h"
#include "tests/cdaudio/GyrelleFixture.h"
#include "tests/support/ErrorNumber.h"
#include "tests/support/Patience.h"

#include <QTest>

namespace Id = GyrelleIds;
using dispatch::Variant;

namespace {

QString Text(dispatch::IDispatch& cd, dispatch::DispId id) { return cd.Get(id).ToString(); }
int Number(dispatch::IDispatch& cd, dispatch::DispId id) { return cd.Get(id).ToLong(); }

// Polls until playback is a second into the track (the sound server may take a moment to start).
void WaitOneSecondIn(dispatch::IDispatch& cd)
{
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            cd.Call(GyrelleIds::Update);
            return Number(cd, GyrelleIds::sec) >= 1;
        },
        Patience));
}
bool Flag(dispatch::IDispatch& cd, dispatch::DispId id) { return cd.Get(id).ToBool(); }

} // namespace

TEST_F(GyrelleFixture, ReadsTheTableOfContentsOnFirstSightAndSeeksToTrackOne)
{
    auto cd = CreateControl();
    ASSERT_TRUE(cd);
    EXPECT_FALSE(Flag(*cd, Id::fCDLoaded));
    cd->Call(Id::Initiate);
    EXPECT_EQ(Number(*cd, Id::fastForwardSpeed), 5);
    EXPECT_EQ(TakeCommands(),
        (QStringList {
            QStringLiteral("open cdaudio alias cd wait shareable"), QStringLiteral("set cd time format tmsf wait")}));

    cd->Call(Id::Update);
    EXPECT_TRUE(Flag(*cd, Id::fCDLoaded));
    EXPECT_EQ(Number(*cd, Id::numTracks), 3);
    EXPECT_EQ(Text(*cd, Id::TotalTime), QStringLiteral("00:09:00"));
    EXPECT_EQ(Number(*cd, Id::track), 1);
    EXPECT_EQ(Text(*cd, Id::TrackTime), QStringLiteral("00:03:00"));
    EXPECT_EQ(Text(*cd, Id::cmd), QStringLiteral("status cd length track 3"));
    const QStringList sent = TakeCommands();
    EXPECT_TRUE(sent.contains(QStringLiteral("seek cd to 1")));
    EXPECT_TRUE(sent.contains(QStringLiteral("status cd length track 2")));

    // Later polls do not read the table again.
    cd->Call(Id::Update);
    EXPECT_FALSE(TakeCommands().contains(QStringLiteral("status cd number of tracks wait")));
    EXPECT_TRUE(user_.Boxes().empty());
}

TEST_F(GyrelleFixture, PlaysPausesResumesAndStops)
{
    auto cd = CreateControl();
    cd->Call(Id::Initiate);
    cd->Call(Id::Update);
    cd->Call(Id::PlayCD, {std::int16_t(2)});
    EXPECT_EQ(Text(*cd, Id::cmd), QStringLiteral("play cd from 2"));
    EXPECT_TRUE(Flag(*cd, Id::fPlaying));
    WaitOneSecondIn(*cd);
    EXPECT_EQ(Number(*cd, Id::track), 2);
    EXPECT_EQ(Number(*cd, Id::sec), 1);
    EXPECT_EQ(Text(*cd, Id::TrackTime), QStringLiteral("00:04:00"));

    cd->Call(Id::PauseCD);
    EXPECT_TRUE(Flag(*cd, Id::CDPaused));
    EXPECT_FALSE(Flag(*cd, Id::fPlaying));
    TakeCommands();
    cd->Call(Id::PlayCD, {std::int16_t(3)}); // resumes whatever track is asked for
    EXPECT_EQ(TakeCommands().value(0), QStringLiteral("play cd"));
    EXPECT_FALSE(Flag(*cd, Id::CDPaused));
    cd->Call(Id::Update);
    EXPECT_TRUE(Flag(*cd, Id::fPlaying));
    EXPECT_EQ(Number(*cd, Id::track), 2);

    TakeCommands();
    cd->Call(Id::StopCD);
    const QStringList sent = TakeCommands();
    EXPECT_EQ(sent.mid(0, 2), (QStringList {QStringLiteral("stop cd wait"), QStringLiteral("seek cd to 2")}));
    EXPECT_FALSE(Flag(*cd, Id::fPlaying));
    EXPECT_EQ(Number(*cd, Id::sec), 0);
    cd->Call(Id::StopCD); // not playing: nothing is sent
    EXPECT_TRUE(TakeCommands().isEmpty());
    EXPECT_TRUE(user_.Boxes().empty());
}

TEST_F(GyrelleFixture, NextAndPreviousTrackWrapAround)
{
    auto cd = CreateControl();
    cd->Call(Id::Initiate);
    cd->Call(Id::Update);
    TakeCommands();
    cd->Call(Id::PTrack); // at 00:00 of track 1: the last track
    EXPECT_EQ(TakeCommands().value(0), QStringLiteral("seek cd to 3"));
    EXPECT_EQ(Number(*cd, Id::track), 3);
    cd->Call(Id::FTrack); // on the last track: back to track 1
    EXPECT_EQ(TakeCommands().value(0), QStringLiteral("seek cd to 1"));
    cd->Call(Id::FTrack);
    EXPECT_EQ(Number(*cd, Id::track), 2);

    cd->Call(Id::PlayCD, {std::int16_t(2)});
    WaitOneSecondIn(*cd);
    TakeCommands();
    cd->Call(Id::PTrack); // during a track: back to its start, still playing
    EXPECT_EQ(TakeCommands().value(0), QStringLiteral("play cd from 2"));
    EXPECT_TRUE(Flag(*cd, Id::fPlaying));
    cd->Call(Id::FTrack);
    cd->Call(Id::FTrack); // from the last track while playing: seek to 1, which stops
    EXPECT_EQ(TakeCommands().filter(QStringLiteral("cd from")).size(), 1);
    EXPECT_FALSE(Flag(*cd, Id::fPlaying));
    EXPECT_EQ(Number(*cd, Id::track), 1);
}

TEST_F(GyrelleFixture, FastForwardNearTheEndSendsTheUnclampedPosition)
{
    auto cd = CreateControl();
    cd->Call(Id::Initiate);
    cd->Call(Id::Update);
    cd->Call(Id::FTrack);
    cd->Call(Id::FTrack); // track 3 starts 7 s into the disc: 9000 ms with the lead-in
    TakeCommands();
    cd->Call(Id::FFCD);
    EXPECT_EQ(Text(*cd, Id::cmd), QStringLiteral("seek cd to 14000"));
    const QStringList sent = TakeCommands();
    EXPECT_EQ(sent.mid(0, 4),
        (QStringList {QStringLiteral("set cd time format milliseconds"), QStringLiteral("status cd position wait"),
            QStringLiteral("seek cd to 14000"), QStringLiteral("set cd time format tmsf")}));
    EXPECT_TRUE(user_.Boxes().empty()); // the refused seek shows nothing
    EXPECT_EQ(Number(*cd, Id::track), 3);

    cd->Call(Id::RWCD);
    EXPECT_EQ(Text(*cd, Id::cmd), QStringLiteral("seek cd to 4000"));
    EXPECT_EQ(Number(*cd, Id::track), 1);
    EXPECT_EQ(Number(*cd, Id::sec), 2);
}

TEST_F(GyrelleFixture, WithoutADiscPlayDoesNothingAndAJumpRaisesTypeMismatch)
{
    UseEmptyDrive();
    auto cd = CreateControl();
    cd->Call(Id::Initiate);
    cd->Call(Id::Update);
    EXPECT_FALSE(Flag(*cd, Id::fCDLoaded));
    TakeCommands();
    cd->Call(Id::PlayCD, {std::int16_t(1)});
    EXPECT_TRUE(TakeCommands().isEmpty());
    EXPECT_FALSE(Flag(*cd, Id::fPlaying));
    EXPECT_EQ(ErrorNumber([&] { cd->Call(Id::FFCD); }), forms::Err::TypeMismatch);
    EXPECT_EQ(ErrorNumber([&] { cd->Call(Id::PlayCD, {QStringLiteral("abc")}); }), forms::Err::TypeMismatch);
}

TEST_F(GyrelleFixture, TakingTheDiscOutAndPuttingItBack)
{
    auto cd = CreateControl();
    cd->Call(Id::Initiate);
    cd->Call(Id::Update);
    cd->Call(Id::PlayCD, {std::int16_t(1)});
    WaitOneSecondIn(*cd);
    cd->Call(Id::EjectCD);
    EXPECT_FALSE(Flag(*cd, Id::fCDLoaded));
    EXPECT_FALSE(Flag(*cd, Id::fPlaying));
    EXPECT_EQ(Number(*cd, Id::min), 0);
    EXPECT_EQ(Number(*cd, Id::sec), 0);
    TakeCommands();
    cd->Call(Id::InjectCD);
    EXPECT_TRUE(Flag(*cd, Id::fCDLoaded));
    const QStringList sent = TakeCommands();
    EXPECT_TRUE(sent.contains(QStringLiteral("status cd number of tracks wait")));
    EXPECT_TRUE(sent.contains(QStringLiteral("seek cd to 1")));
    EXPECT_EQ(Number(*cd, Id::track), 1);
}

TEST_F(GyrelleFixture, AJumpWithTheDoorOpenLeavesTheDeviceInTrackTime)
{
    auto cd = CreateControl();
    cd->Call(Id::Initiate);
    cd->Call(Id::EjectCD);
    EXPECT_EQ(ErrorNumber([&] { cd->Call(Id::RWCD); }), forms::Err::TypeMismatch);
    cd->Call(Id::InjectCD);
    EXPECT_EQ(Text(*cd, Id::TotalTime), QStringLiteral("00:09:00"));
    EXPECT_EQ(Text(*cd, Id::TrackTime), QStringLiteral("00:03:00"));
}

TEST_F(GyrelleFixture, ARefusedCommandShowsTheDeviceErrorTitledWithTheLibrary)
{
    auto cd = CreateControl();
    cd->Call(Id::Initiate);
    EXPECT_EQ(cd->Call(Id::SendMCIString, {QStringLiteral("seek cd to 9"), false}), Variant(false));
    EXPECT_TRUE(user_.Boxes().empty());
    EXPECT_EQ(cd->Call(Id::SendMCIString, {QStringLiteral("seek cd to 9"), true}), Variant(false));
    ASSERT_EQ(user_.Boxes().size(), 1u);
    EXPECT_EQ(user_.Boxes()[0].title, QStringLiteral("Gyrelle"));
    EXPECT_EQ(user_.Boxes()[0].prompt, QString::fromStdString(mci::ErrorText(282)));
    EXPECT_EQ(user_.Boxes()[0].style, 0);
    EXPECT_EQ(cd->Call(Id::SendMCIString, {QStringLiteral("status cd mode"), true}), Variant(true));
    EXPECT_EQ(ErrorNumber([&] { cd->Call(0x60030042); }), 438);
}
