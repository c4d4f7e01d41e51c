#include "dialogs/Id3Module.h"
#include "dialogs/frmMP3TagEdit.h"
#include "engine/Docking.h"
#include "tests/support/ScriptedUser.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

// Texts print as text in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace {

QString RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAll());
}

class TagEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A short real MP3 without any tag.
        mp3_ = dir_.file("song one.mp3");
        RunTool(QStringLiteral("ffmpeg"),
            {"-loglevel", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=440:duration=1", "-c:a", "libmp3lame",
                "-id3v2_version", "0", mp3_});
        ASSERT_GT(Read(mp3_).size(), 1000);
        ASSERT_NE(Read(mp3_).right(128).left(3), QByteArray("TAG"));
    }

    void TearDown() override
    {
        QFile::setPermissions(mp3_, QFile::ReadOwner | QFile::WriteOwner);
        if (auto* w = forms::Instances::Existing<frmMP3TagEdit>()) w->Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    frmMP3TagEdit& Open()
    {
        auto& w = forms::Instance<frmMP3TagEdit>();
        w.Show();
        return w;
    }

    void Fill(frmMP3TagEdit& w, const QString& title, const QString& artist, const QString& album, const QString& year,
        const QString& comment, int genre)
    {
        w.Text1->setText(title);
        w.Text2->setText(artist);
        w.Text3->setText(album);
        w.Text4->setText(year);
        w.Text5->setText(comment);
        w.Combo1->setListIndex(genre);
    }

    TempDir dir_;
    QString mp3_;
    ScriptedUser user_;
};

} // namespace

TEST_F(TagEditorTest, LoadsTheGenresAndReadsATagWrittenByAnotherTool)
{
    RunTool(QStringLiteral("id3v2"),
        {"-1", "-t", "Song", "-a", "Band", "-A", "Record", "-y", "1999", "-c", "remark", "-g", "17", mp3_});
    frmMP3TagEdit& w = Open();
    EXPECT_EQ(w.Caption(), QStringLiteral("MP3 Tag Editor"));
    EXPECT_TRUE(Docking::IsAttached(&w));
    ASSERT_EQ(w.Combo1->ListCount(), 148);
    EXPECT_EQ(w.Combo1->List(0), QStringLiteral("Blues"));
    EXPECT_EQ(w.Combo1->List(79), QStringLiteral("Hard Rock"));
    EXPECT_EQ(w.Combo1->List(133), QStringLiteral("Afro-Punk"));
    EXPECT_EQ(w.Combo1->List(147), QStringLiteral("Synth Pop"));
    EXPECT_EQ(w.Combo1->ListIndex(), -1);

    w.Text8->setText(mp3_);
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_EQ(w.Text1->Text(), QStringLiteral("Song"));
    EXPECT_EQ(w.Text2->Text(), QStringLiteral("Band"));
    EXPECT_EQ(w.Text3->Text(), QStringLiteral("Record"));
    EXPECT_EQ(w.Text4->Text(), QStringLiteral("1999"));
    EXPECT_EQ(w.Text5->Text(), QStringLiteral("remark"));
    EXPECT_EQ(w.Combo1->Text(), QStringLiteral("Rock"));
    EXPECT_TRUE(user_.Boxes().empty());
}

TEST_F(TagEditorTest, WritingAnUntaggedFileAppendsATagOtherToolsRead)
{
    const QByteArray audio = Read(mp3_);
    frmMP3TagEdit& w = Open();
    w.Text8->setText(mp3_);
    Fill(w, QStringLiteral("A title that runs on well past thirty"), QStringLiteral("Artist"), QStringLiteral("Album"),
        QStringLiteral("84"), QStringLiteral("said"), 8);
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    ASSERT_EQ(user_.Boxes().size(), 1u);
    EXPECT_EQ(user_.Boxes()[0].prompt, QStringLiteral("Successfully saved the MP3 tag"));
    EXPECT_EQ(user_.Boxes()[0].title, QStringLiteral(" Success"));

    const QByteArray tagged = Read(mp3_);
    ASSERT_EQ(tagged.size(), audio.size() + 128);
    EXPECT_EQ(tagged.left(audio.size()), audio) << "no byte of the audio changed";
    const QByteArray tag = tagged.right(128);
    EXPECT_EQ(tag.mid(0, 3), QByteArray("TAG"));
    EXPECT_EQ(tag.mid(3, 30), QByteArray("A title that runs on well past"));
    EXPECT_EQ(tag.mid(33, 30), QByteArray("Artist").leftJustified(30, ' '));
    EXPECT_EQ(tag.mid(93, 4), QByteArray("84  "));
    EXPECT_EQ(static_cast<unsigned char>(tag[127]), 8);

    const QString listing = RunTool(QStringLiteral("eyeD3"), {"-1", mp3_});
    EXPECT_TRUE(listing.contains(QStringLiteral("title: A title that runs on well past"))) << listing.toStdString();
    EXPECT_TRUE(listing.contains(QStringLiteral("artist: Artist"))) << listing.toStdString();
    EXPECT_TRUE(listing.contains(QStringLiteral("genre: Jazz"))) << listing.toStdString();

    // A second write replaces the tag in place; with no genre chosen the byte is 255, and reading
    // 255 leaves the genre list as it was.
    w.Combo1->setListIndex(-1);
    w.Text1->setText(QStringLiteral("Second"));
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    const QByteArray again = Read(mp3_);
    ASSERT_EQ(again.size(), tagged.size());
    EXPECT_EQ(again.left(tagged.size() - 125), tagged.left(tagged.size() - 125));
    EXPECT_EQ(again.right(125).left(30), QByteArray("Second").leftJustified(30, ' '));
    EXPECT_EQ(static_cast<unsigned char>(again.right(1)[0]), 255);

    w.Combo1->setListIndex(3);
    w.Text1->clear();
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_EQ(w.Text1->Text(), QStringLiteral("Second").leftJustified(30, ' ')) << "text read keeps its padding";
    EXPECT_EQ(w.Combo1->ListIndex(), 3);
}

TEST_F(TagEditorTest, FailuresLeaveTheFileAsItWasAndSayWhy)
{
    const QByteArray audio = Read(mp3_);
    frmMP3TagEdit& w = Open();
    w.Text8->setText(mp3_);
    Fill(w, QStringLiteral("T"), QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("2001"), QString(), 0);

    // Even the superuser sees a file without write permission as write-protected.
    ASSERT_TRUE(QFile::setPermissions(mp3_, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    ASSERT_EQ(user_.Boxes().size(), 1u);
    EXPECT_EQ(user_.Boxes()[0].prompt, QStringLiteral("File is Write Protected"));
    EXPECT_EQ(user_.Boxes()[0].title, QStringLiteral(" Error"));
    EXPECT_EQ(user_.Boxes()[0].style, 0);
    EXPECT_EQ(Read(mp3_), audio);

    // A file shorter than a tag has no place for one.
    const QString tiny = dir_.file("tiny.mp3");
    Write(tiny, QByteArray(100, 'x'));
    w.Text8->setText(tiny);
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    ASSERT_EQ(user_.Boxes().size(), 2u);
    EXPECT_EQ(user_.Boxes()[1].prompt, QStringLiteral("Bad record number"));
    EXPECT_EQ(Read(tiny), QByteArray(100, 'x'));

    // Reading a file without a tag says so and shows the last tag again; a missing file shows nothing.
    ASSERT_TRUE(QFile::setPermissions(mp3_, QFile::ReadOwner | QFile::WriteOwner));
    w.Text8->setText(mp3_);
    w.Text1->clear();
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    ASSERT_EQ(user_.Boxes().size(), 3u);
    EXPECT_EQ(user_.Boxes()[2].prompt, QStringLiteral("This Mp3 Does Not Contain an ID3 Tag"));
    EXPECT_EQ(user_.Boxes()[2].title, QStringLiteral(" Contains no Tag"));
    EXPECT_EQ(w.Text1->Text(), QStringLiteral("T").leftJustified(30, ' '));

    w.Text8->setText(dir_.file("not there.mp3"));
    w.Text1->clear();
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_EQ(user_.Boxes().size(), 3u);
    EXPECT_FALSE(QFile::exists(dir_.file("not there.mp3")));
    EXPECT_EQ(w.Text1->Text(), QStringLiteral("T").leftJustified(30, ' '));
}

TEST_F(TagEditorTest, OpenReadsTheChosenFileAndACancelShowsNoMessage)
{
    RunTool(QStringLiteral("id3v2"), {"-1", "-t", "Chosen", mp3_});
    frmMP3TagEdit& w = Open();
    user_.CancelDialog();
    QTest::mouseClick(w.Command3, Qt::LeftButton);
    EXPECT_TRUE(user_.Boxes().empty());
    EXPECT_EQ(w.Text8->Text(), QString());

    user_.ChooseFile(mp3_);
    QTest::mouseClick(w.Command3, Qt::LeftButton);
    EXPECT_EQ(w.Text8->Text(), mp3_);
    EXPECT_EQ(w.Text1->Text(), QStringLiteral("Chosen"));
}

TEST_F(TagEditorTest, APathGivenBeforeLoadIsReadOnceShortlyAfter)
{
    RunTool(QStringLiteral("id3v2"), {"-1", "-t", "Early", mp3_});
    auto& w = forms::Instance<frmMP3TagEdit>();
    w.Text8->setText(mp3_);
    w.Show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.Text1->Text() == QStringLiteral("Early"); }, 10000));
    EXPECT_FALSE(w.Timer1->Enabled());
}

TEST_F(TagEditorTest, Latin1TagsOfOtherToolsAreWrittenBackUnchangedAndTextOutsideLatin1BecomesQuestionMarks)
{
    const QString other = dir_.file("other.mp3");
    ASSERT_TRUE(QFile::copy(mp3_, other));
    RunTool(QStringLiteral("id3v2"),
        {"-1", "-t", "Café au lait", "-a", "Artíst", "-A", "Albüm", "-y", "1999", "-c", "remark", "-g", "17", mp3_});
    RunTool(QStringLiteral("eyeD3"), {"--v1", "-t", "Café au lait", "-a", "Artíst", other});
    frmMP3TagEdit& w = Open();
    for (const QString& file : {mp3_, other}) {
        const QByteArray before = Read(file).right(128);
        ASSERT_EQ(before.mid(3, 13), QByteArray("Caf\xe9 au lait\0", 13)) << "the tool wrote ISO-8859-1";
        w.Text8->setText(file);
        QTest::mouseClick(w.Command1, Qt::LeftButton);
        EXPECT_EQ(w.Text1->Text(), QStringLiteral("Café au lait"));
        EXPECT_EQ(w.Text2->Text(), QStringLiteral("Artíst"));
        QTest::mouseClick(w.Command2, Qt::LeftButton);
        EXPECT_EQ(Read(file).right(128), before) << file.toStdString();
        const QString listing = RunTool(QStringLiteral("eyeD3"), {"-1", file});
        EXPECT_TRUE(listing.contains(QStringLiteral("title: Café au lait"))) << listing.toStdString();
    }

    // A character ISO-8859-1 lacks is written as "?"; the field holds 30 bytes of text.
    w.Text1->setText(QStringLiteral("Café 𝄞 au lait, ünd so weiter und so fort"));
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    EXPECT_EQ(Read(other).right(128).mid(3, 30), QByteArray("Caf\xe9 ? au lait, \xfcnd so weiter "));
    const QString listing = RunTool(QStringLiteral("eyeD3"), {"-1", other});
    EXPECT_TRUE(listing.contains(QStringLiteral("title: Café ? au lait, ünd so weiter"))) << listing.toStdString();
    EXPECT_EQ(user_.Boxes().size(), 3u) << "three saves, no other box";
}

TEST(TagFields, TextIsCutAtTheWidthAndPaddedWithBlanks)
{
    std::array<char, 4> year {};
    Id3Module::SetField(year, QStringLiteral("12"));
    EXPECT_EQ(QByteArray(year.data(), 4), QByteArray("12  "));
    std::array<char, 30> title {};
    Id3Module::SetField(title, QString(29, QLatin1Char('a')) + QStringLiteral("üx"));
    EXPECT_EQ(QByteArray(title.data(), 30), QByteArray(29, 'a') + '\xfc');
    EXPECT_EQ(Id3Module::FieldText(title), QString(29, QLatin1Char('a')) + QStringLiteral("ü"));
    const char latin1[4] = {'\xe9', 't', 0, 'x'};
    EXPECT_EQ(Id3Module::FieldText(latin1, 4), QStringLiteral("ét"));
}
