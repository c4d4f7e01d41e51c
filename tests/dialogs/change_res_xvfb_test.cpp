// The display-resolution window on a virtual display with several modes.
#include "dialogs/frmChangeRes.h"
#include "platform/display/Reboot.h"
#include "platform/forms/MsgBox.h"
#include "tests/e2e/PlayerProcess.h"
#include "tests/support/Patience.h"
#include "tests/support/ScriptedUser.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

// Last: the X headers' names would clash with those above.
#include "tests/dialogs/ExtraModes.h"

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace {

QString Xrandr(const QStringList& arguments)
{
    QProcess xrandr;
    xrandr.start(QStringLiteral("xrandr"), arguments);
    xrandr.waitForFinished(20000);
    return QString::fromUtf8(xrandr.readAllStandardOutput());
}

// The output's modes as xrandr lists them, one row each, in its order.
QStringList XrandrRows()
{
    QStringList rows;
    static const QRegularExpression mode(QStringLiteral("^\\s+(\\d+)x(\\d+)\\S*\\s+\\(0x[0-9a-f]+\\)"));
    for (const QString& line : Xrandr({"--current", "--verbose"}).split('\n')) {
        const auto m = mode.match(line);
        if (m.hasMatch()) rows << m.captured(1) + 'x' + m.captured(2) + QStringLiteral("x24");
    }
    return rows;
}

QString CurrentSize()
{
    static const QRegularExpression current(QStringLiteral("current (\\d+) x (\\d+)"));
    const auto m = current.match(Xrandr({"--current"}));
    return m.hasMatch() ? m.captured(1) + 'x' + m.captured(2) : QString();
}

QStringList Rows(const forms::ListBox& list)
{
    QStringList rows;
    for (int i = 0; i < list.ListCount(); ++i)
        rows << list.List(i);
    return rows;
}

// How far apart two colours are: the largest difference of their channels.
int Distance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// The window's title bar as the window manager drew it, while the window is the active one: the
// band of its frame above its client area, once two looks at it agree.
QImage TitleBar(QWidget& window)
{
    window.raise();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isActiveWindow(); }, Patience));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.frameGeometry().top() < window.geometry().top(); }, Patience));
    QImage last;
    QImage now;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const QRect frame = window.frameGeometry();
            last = std::exchange(now,
                QGuiApplication::primaryScreen()
                    ->grabWindow(0, frame.left(), frame.top(), frame.width(), window.geometry().top() - frame.top())
                    .toImage()
                    .convertToFormat(QImage::Format_RGB32));
            return !now.isNull() && now == last;
        },
        Patience));
    return now;
}

// The caption as the window manager writes it in a title bar with room to spare: the columns
// of the bar's middle half that differ from the bar's own colour (which changes from row to
// row only). Empty when no text is found there.
QImage CaptionText(const QImage& bar)
{
    const int background = bar.width() / 4;
    int first = bar.width();
    int last = -1;
    for (int x = background; x < bar.width() * 3 / 4; ++x)
        for (int y = 0; y < bar.height(); ++y)
            if (Distance(bar.pixel(x, y), bar.pixel(background, y)) > 48) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return last < first ? QImage() : bar.copy(first - 1, 0, last - first + 3, bar.height());
}

// The colour most of a row of the picture has.
QRgb RowBackground(const QImage& image, int y)
{
    QHash<QRgb, int> counts;
    for (int x = 0; x < image.width(); ++x)
        ++counts[image.pixel(x, y)];
    QRgb most = 0;
    int mostCount = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > mostCount) {
            most = it.key();
            mostCount = it.value();
        }
    return most;
}

// The share of the caption's letter pixels found, at the best place, in the title bar. Letters
// are told from the bar by their shape, not their colour: the window manager draws the bar of an
// active window in other colours than that of one not yet active.
double CaptionShown(const QImage& bar, const QImage& caption)
{
    if (bar.height() != caption.height()) return 0;
    std::vector<QRgb> background(bar.height());
    for (int y = 0; y < bar.height(); ++y)
        background[y] = RowBackground(bar, y);
    double best = 0;
    for (int left = 0; left + caption.width() <= bar.width(); ++left) {
        int letters = 0;
        int found = 0;
        for (int y = 0; y < caption.height(); ++y)
            for (int x = 0; x < caption.width(); ++x) {
                // The letters' cores: their smoothed edges are fainter in some colours than in others.
                if (Distance(caption.pixel(x, y), caption.pixel(0, y)) <= 96) continue;
                ++letters;
                if (Distance(bar.pixel(left + x, y), background[y]) > 48) ++found;
            }
        if (letters > 0) best = std::max(best, double(found) / letters);
    }
    return best;
}

class ChangeResolutionOnX : public ::testing::Test {
protected:
    void TearDown() override { Close(); }

    frmChangeRes& Open()
    {
        auto& w = forms::Instance<frmChangeRes>();
        w.Show();
        return w;
    }
    void Close()
    {
        if (auto* w = forms::Instances::Existing<frmChangeRes>()) w->Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    bool ScreenIs(int width, int height)
    {
        return QTest::qWaitFor(
            [&] { return QGuiApplication::primaryScreen()->geometry().size() == QSize(width, height); }, Patience);
    }

    ExtraModes modes_;
    ScriptedUser user_;
};

} // namespace

TEST_F(ChangeResolutionOnX, ListsTheOutputsModesAndSwitchesToTheChosenOne)
{
    ASSERT_TRUE(modes_.Add(1024, 768, 60));
    ASSERT_TRUE(modes_.Add(1024, 768, 75));
    ASSERT_TRUE(modes_.Add(800, 600, 60));
    ASSERT_TRUE(modes_.Add(640, 480, 60));

    frmChangeRes& w = Open();
    const QStringList rows = Rows(*w.List1);
    EXPECT_EQ(rows, XrandrRows());
    ASSERT_EQ(rows, QStringList({"1280x1024x24", "1024x768x24", "1024x768x24", "800x600x24", "640x480x24"}));
    EXPECT_EQ(w.List1->ListIndex(), 0) << "the mode in use";
    EXPECT_EQ(w.DevModes[1].DisplayFrequency, 60u);
    EXPECT_EQ(w.DevModes[2].DisplayFrequency, 75u);

    // The mode in use again: nothing to say.
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_TRUE(user_.Boxes().empty());
    EXPECT_EQ(CurrentSize(), QStringLiteral("1280x1024"));

    w.List1->setListIndex(3);
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_TRUE(user_.Boxes().empty());
    EXPECT_EQ(CurrentSize(), QStringLiteral("800x600"));
    EXPECT_TRUE(Xrandr({"--current"}).contains(QStringLiteral("800x600+0+0")));
    EXPECT_TRUE(ScreenIs(800, 600));
    EXPECT_TRUE(forms::Instances::Exists<frmChangeRes>()) << "the window stays open";

    // With the display at 1024x768, both of its rows match; the last one is selected.
    w.List1->setListIndex(1);
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_EQ(CurrentSize(), QStringLiteral("1024x768"));
    ASSERT_TRUE(ScreenIs(1024, 768));
    Close();
    frmChangeRes& again = Open();
    EXPECT_EQ(again.List1->ListIndex(), 2);

    // Back to the largest: the screen grows again.
    again.List1->setListIndex(0);
    QTest::mouseClick(again.Command1, Qt::LeftButton);
    EXPECT_EQ(CurrentSize(), QStringLiteral("1280x1024"));
    EXPECT_TRUE(user_.Boxes().empty());
}

TEST_F(ChangeResolutionOnX, RefusedModesAndDepthsGetTheirMessages)
{
    ASSERT_TRUE(modes_.Add(800, 600, 60));
    frmChangeRes& w = Open();
    ASSERT_EQ(w.List1->ListCount(), 2);

    // A size the display does not offer.
    w.DevModes[1].PelsWidth = 12345;
    w.List1->setListIndex(1);
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    ASSERT_EQ(user_.Boxes().size(), 1u);
    EXPECT_EQ(user_.Boxes()[0].prompt, QStringLiteral("Error changing resolution! Returned: -2"));
    EXPECT_EQ(user_.Boxes()[0].style, 0);
    EXPECT_EQ(CurrentSize(), QStringLiteral("1280x1024"));

    // Another colour depth takes a restart: No leaves everything, Yes asks the login manager.
    int reboots = 0;
    display::SetRebootRequest([&] {
        ++reboots;
        return false;
    });
    w.DevModes[1].PelsWidth = 800;
    w.DevModes[1].BitsPerPel = 16;
    user_.AnswerBoxes({forms::MsgBoxResult::No, forms::MsgBoxResult::Yes});
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    display::SetRebootRequest(nullptr);
    ASSERT_EQ(user_.Boxes().size(), 3u);
    EXPECT_EQ(user_.Boxes()[1].prompt,
        QStringLiteral("This change will not take effect until you reboot the system.  Reboot now?"));
    EXPECT_EQ(user_.Boxes()[1].style, 4);
    EXPECT_EQ(reboots, 1);
    EXPECT_EQ(CurrentSize(), QStringLiteral("1280x1024"));
}

TEST_F(ChangeResolutionOnX, ThirtyModesFillATableOfThirtyThreeRecords)
{
    for (int i = 1; i < 30; ++i)
        ASSERT_TRUE(modes_.Add(640 + 8 * i, 480, 60));
    frmChangeRes& w = Open();
    EXPECT_EQ(w.List1->ListCount(), 30);
    EXPECT_EQ(w.DevModes.size(), 33u);
    EXPECT_EQ(w.LastMode, 29);
    EXPECT_EQ(w.List1->List(29), QStringLiteral("872x480x24"));
}

TEST_F(ChangeResolutionOnX, TheWindowManagerWritesTheWholeCaption)
{
    // The caption in a title bar far wider than it needs.
    QWidget roomy;
    roomy.setWindowTitle(QStringLiteral("Change Resolution"));
    roomy.resize(900, 80);
    roomy.show();
    QImage caption;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (caption = CaptionText(TitleBar(roomy))).width() > 40; }, Patience))
        << "the caption was found in the roomy title bar";
    roomy.hide();

    // The window manager draws the bar again as the window is placed and sized: the caption is
    // looked for until it shows whole.
    frmChangeRes& w = Open();
    ASSERT_EQ(w.Caption(), QStringLiteral("Change Resolution"));
    QImage bar;
    EXPECT_TRUE(QTest::qWaitFor([&] { return CaptionShown(bar = TitleBar(w), caption) > 0.95; }, Patience))
        << "the caption is written whole, not shortened: " << CaptionShown(bar, caption);
    bar.save(PlayerProcess::ArtefactFolder() + QStringLiteral("/change-resolution-title.png"));
}
