#include "platform/forms/PropertyBag.h"
#include "engine/Slider.h"
#include "platform/forms/RuntimeError.h"
#include "tests/support/Patience.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor Groove(200, 0, 0);
const QColor Knob(0, 200, 0);

// A 10 x 10 knob: a 6 x 6 square in the middle on black, and its mask (white around, black under).
QPixmap HandlePicture()
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter(&image).fillRect(2, 2, 6, 6, Knob);
    return QPixmap::fromImage(image);
}

QPixmap MaskPicture()
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter(&image).fillRect(2, 2, 6, 6, Qt::black);
    return QPixmap::fromImage(image);
}

QPixmap Solid(const QColor& colour, int w, int h)
{
    QPixmap picture(w, h);
    picture.fill(colour);
    return picture;
}

// A bar 210 pixels wide and 20 high with a 10-pixel handle and maximum 10: 20 pixels per unit.
class SliderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.resize(400, 100);
        slider = new Slider(&host);
        slider->setGeometry(0, 0, 210, 20);
        slider->setHPicture(HandlePicture());
        slider->setMaskPicture(MaskPicture());
        slider->setPicture(Solid(Groove, 4, 4));
        slider->setCaption(QString());
        host.show();
        slider->setMaxValue(10);
    }

    void Mouse(QEvent::Type type, int x, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent event(type, QPointF(x, 10), slider->mapToGlobal(QPointF(x, 10)), button, held, Qt::NoModifier);
        QApplication::sendEvent(slider, &event);
    }
    void Click(int x)
    {
        Mouse(QEvent::MouseButtonPress, x, Qt::LeftButton, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, x, Qt::LeftButton, Qt::NoButton);
    }
    QColor Pixel(int x, int y) { return slider->grab().toImage().pixelColor(x, y); }

    QWidget host;
    Slider* slider = nullptr;
};

} // namespace

TEST(SliderProperties, AFreshBarStoresNoKeysAndReadsTheDefaults)
{
    QWidget host;
    Slider fresh(&host);
    forms::PropertyBag bag;
    fresh.WriteProperties(bag);
    EXPECT_TRUE(bag.Names().isEmpty()) << bag.Names().join(',').toStdString();
    EXPECT_TRUE(fresh.ChangedProperties().isEmpty());

    Slider read(&host);
    read.ReadProperties(forms::PropertyBag());
    EXPECT_EQ(read.Caption(), "Slider");
    EXPECT_EQ(read.Value(), 5);
    EXPECT_EQ(read.MaxValue(), 10);
    EXPECT_TRUE(read.StrechPicture());
    EXPECT_FALSE(read.Mask());
    EXPECT_FALSE(read.Border());
    EXPECT_TRUE(read.Enabled());
    EXPECT_TRUE(read.Picture().isNull());
    EXPECT_EQ(read.Font(), host.font()) << "the container's font";
    EXPECT_EQ(read.BackColor(), QApplication::palette().color(QPalette::Button));
    EXPECT_EQ(read.ForeColor(), QApplication::palette().color(QPalette::ButtonText));
}

TEST(SliderProperties, ChangedPropertiesAreSavedUnderTheirKeysAndReadBack)
{
    QWidget host;
    Slider bar(&host);
    QFont font = host.font();
    font.setBold(true);
    bar.setBackColor(Qt::yellow);
    bar.setForeColor(Qt::blue);
    bar.setFont(font);
    bar.setBorder(true);
    bar.setCaption("00:01:00 / 00:02:00");
    bar.setPicture(Solid(Groove, 3, 3));
    bar.setHPicture(HandlePicture());
    bar.setMaskPicture(MaskPicture());
    bar.setStrechPicture(false);
    bar.setMask(true);
    bar.setMaxValue(120);
    bar.setValue(60);
    bar.setEnabled(false);

    const QStringList keys {"BackColor", "ForeColor", "Enabled", "Font", "Border", "Caption", "MaskPicture", "Picture",
        "StrechPicture", "Value", "MaxValue", "HPicture", "Mask"};
    forms::PropertyBag bag;
    bar.WriteProperties(bag);
    const QStringList written = bag.Names();
    EXPECT_EQ(QSet<QString>(written.begin(), written.end()), QSet<QString>(keys.begin(), keys.end()));
    EXPECT_EQ(bar.ChangedProperties(), QSet<QString>(keys.begin(), keys.end()));
    EXPECT_EQ(bag.ReadProperty("Value").toString(), "60");
    EXPECT_EQ(bag.ReadProperty("StrechPicture").toString(), "false");

    Slider copy(&host);
    copy.ReadProperties(bag);
    EXPECT_EQ(copy.BackColor(), QColor(Qt::yellow));
    EXPECT_EQ(copy.ForeColor(), QColor(Qt::blue));
    EXPECT_TRUE(copy.Font().bold());
    EXPECT_TRUE(copy.Border());
    EXPECT_EQ(copy.Caption(), "00:01:00 / 00:02:00");
    EXPECT_EQ(copy.Picture().size(), QSize(3, 3));
    EXPECT_EQ(copy.HPicture().size(), QSize(10, 10));
    EXPECT_FALSE(copy.MaskPicture().isNull());
    EXPECT_FALSE(copy.StrechPicture());
    EXPECT_TRUE(copy.Mask());
    EXPECT_EQ(copy.MaxValue(), 120);
    EXPECT_EQ(copy.Value(), 60);
    EXPECT_FALSE(copy.Enabled());
    EXPECT_TRUE(copy.ChangedProperties().isEmpty()) << "reading the set changes nothing";

    forms::PropertyBag again;
    copy.WriteProperties(again);
    EXPECT_EQ(again.Names(), bag.Names());
}

TEST(SliderProperties, HoldersThatDoNotReadAsNumbersOrBooleans)
{
    QWidget host;
    Slider bar(&host);
    forms::PropertyBag bag;
    bag.WriteProperty("Value", "abc");
    bag.WriteProperty("MaxValue", "12 seconds");
    bag.WriteProperty("StrechPicture", "perhaps");
    bar.ReadProperties(bag);
    EXPECT_EQ(bar.Value(), 0) << "a value that is not a number reads as 0";
    EXPECT_EQ(bar.MaxValue(), 12) << "the leading number counts";
    EXPECT_THROW(bar.StrechPicture(), forms::RuntimeError);
    bar.resize(50, 10);
    bar.show();
    EXPECT_NO_THROW(bar.UpdateSlider()) << "the drawing skips the layer it cannot read";
}

TEST_F(SliderTest, ScalesToTheMaximumAndClicksAtBothEnds)
{
    EXPECT_DOUBLE_EQ(slider->PixelsPerUnit(), 20.0);
    QSignalSpy changes(slider, &Slider::Change);

    Click(7);
    EXPECT_EQ(slider->Value(), 0);
    EXPECT_EQ(slider->HandleLeft(), 0) << "the handle stops at the left edge";
    ASSERT_EQ(changes.count(), 2) << "pressing and releasing each raise Change";
    EXPECT_EQ(changes.at(0).at(0).toDouble(), 0);

    Click(209);
    EXPECT_EQ(slider->Value(), 10);
    EXPECT_EQ(slider->HandleLeft(), 195) << "centred on the maximum";

    Mouse(QEvent::MouseButtonPress, 100, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, 500, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(slider->Value(), 10) << "dragging past the end keeps the maximum";
    EXPECT_LE(slider->HandleLeft() + 10, 210);
    Mouse(QEvent::MouseMove, -40, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(slider->Value(), 0) << "dragging past the start keeps 0";
    Mouse(QEvent::MouseMove, 79, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(slider->Value(), 3) << "the whole part of the units under the mouse";
    EXPECT_EQ(slider->HandleLeft(), 55);
    Mouse(QEvent::MouseButtonRelease, 79, Qt::LeftButton, Qt::NoButton);
}

TEST_F(SliderTest, MouseEventsComeFirstAndOnlyTheLeftButtonMovesTheValue)
{
    slider->setValue(4);
    std::vector<std::string> order;
    QObject::connect(slider, &Slider::MouseDown, [&](int b, int, double x, double) {
        order.push_back("down " + std::to_string(b) + " " + std::to_string(int(x)));
    });
    QObject::connect(slider, &Slider::MouseMove, [&](int b, int, double, double) {
        order.push_back("move " + std::to_string(b) + " value " + std::to_string(int(slider->Value())));
    });
    QObject::connect(
        slider, &Slider::MouseUp, [&](int b, int, double, double) { order.push_back("up " + std::to_string(b)); });
    QObject::connect(slider, &Slider::Change, [&](double v) { order.push_back("change " + std::to_string(int(v))); });
    QObject::connect(slider, &Slider::Click, [&] { order.push_back("click"); });

    Mouse(QEvent::MouseButtonPress, 150, Qt::RightButton, Qt::RightButton);
    Mouse(QEvent::MouseMove, 170, Qt::NoButton, Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, 170, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(slider->Value(), 4) << "the right button changes nothing";
    EXPECT_EQ(order, (std::vector<std::string> {"down 2 150", "move 2 value 4", "up 2", "click"}));

    order.clear();
    Mouse(QEvent::MouseButtonPress, 130, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, 150, Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, 150, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(order,
        (std::vector<std::string> {
            "down 1 130", "change 6", "move 1 value 6", "change 7", "up 1", "change 7", "click"}))
        << "each event reaches the host before the bar takes the new value";

    order.clear();
    Mouse(QEvent::MouseMove, 60, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(order, (std::vector<std::string> {"move 0 value 7"})) << "hovering moves nothing";
    EXPECT_DOUBLE_EQ(slider->HooverValue(), 3.0);
    Mouse(QEvent::MouseMove, 900, Qt::NoButton, Qt::NoButton);
    EXPECT_DOUBLE_EQ(slider->HooverValue(), 10.0);
}

TEST_F(SliderTest, ValueLetKeepsTheValueInRangeAndRaisesChange)
{
    QSignalSpy changes(slider, &Slider::Change);
    slider->setValue(-3);
    EXPECT_EQ(slider->Value(), 0);
    slider->setValue(12);
    EXPECT_EQ(slider->Value(), 10);
    slider->setValue(2.5);
    EXPECT_EQ(slider->Value(), 2.5);
    ASSERT_EQ(changes.count(), 3);
    EXPECT_EQ(changes.at(0).at(0).toDouble(), 0);
    EXPECT_EQ(changes.at(1).at(0).toDouble(), 10);
    EXPECT_EQ(changes.at(2).at(0).toDouble(), 2.5);

    slider->setValue(8);
    slider->setMaxValue(5);
    EXPECT_EQ(slider->Value(), 8) << "a lower maximum leaves the value until it is set again";
    EXPECT_DOUBLE_EQ(slider->PixelsPerUnit(), 40.0);
    slider->setValue(7);
    EXPECT_EQ(slider->Value(), 5);
}

TEST_F(SliderTest, HandleOffsetsAfterResizeAndAfterValueLet)
{
    slider->setValue(5);
    EXPECT_EQ(slider->HandleLeft(), 95) << "centred: half a handle left of value x pixels per unit";
    EXPECT_EQ(slider->HandleTop(), 5);

    slider->resize(310, 30);
    EXPECT_EQ(slider->HandleLeft(), 100) << "after a resize the left edge is at value x pixels per unit";
    EXPECT_EQ(slider->HandleTop(), 10);
    EXPECT_DOUBLE_EQ(slider->PixelsPerUnit(), 20.0) << "a resize keeps the pixels per unit";

    slider->setMaxValue(10);
    EXPECT_DOUBLE_EQ(slider->PixelsPerUnit(), 30.0);
    EXPECT_EQ(slider->HandleLeft(), 150) << "the scale step places the left edge too";
    slider->UpdateSlider();
    EXPECT_EQ(slider->HandleLeft(), 145);
    slider->setValue(0);
    EXPECT_EQ(slider->HandleLeft(), -5) << "Value Let does not clamp the handle";
}

TEST_F(SliderTest, DrawsTheHandleThroughItsMaskOrOpaque)
{
    slider->setValue(5); // handle at 95..104, 5..14
    slider->setMask(true);
    EXPECT_EQ(Pixel(100, 10), Knob) << "the knob is drawn";
    EXPECT_EQ(Pixel(95, 5), Groove) << "around the knob the background shows through";
    EXPECT_EQ(Pixel(20, 10), Groove) << "the background is stretched over the bar";

    slider->setMask(false);
    EXPECT_EQ(Pixel(100, 10), Knob);
    EXPECT_EQ(Pixel(95, 5), QColor(Qt::black)) << "without the mask the whole picture is copied";

    slider->setStrechPicture(false);
    EXPECT_EQ(Pixel(1, 1), Groove) << "the natural size at the top left";
    EXPECT_EQ(Pixel(20, 10), slider->BackColor());

    slider->setHPicture(QPixmap());
    EXPECT_EQ(Pixel(100, 10), slider->BackColor()) << "a missing picture leaves its layer undrawn";
}

// The player's position timer sets the maximum, the value and the caption twice a second, mostly
// to what they were; the maximum alone moves the handle until the value follows.
TEST_F(SliderTest, SettingWhatItShowsAgainRepaintsNothing)
{
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    slider->installEventFilter(&counter);
    const auto tick = [&](int value) {
        slider->setMaxValue(10);
        slider->setValue(value);
        slider->setCaption(QStringLiteral("00:00:0%1 / 00:00:10").arg(value));
    };
    // The event loop runs until a pass of it paints nothing more.
    const auto paintsDone = [&] {
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                const int before = counter.paints;
                QTest::qWait(50);
                QCoreApplication::processEvents();
                return counter.paints == before;
            },
            Patience));
    };
    tick(5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, Patience));
    paintsDone();
    counter.paints = 0;
    for (int i = 0; i < 3; ++i) {
        tick(5);
        QTest::qWait(30);
    }
    paintsDone();
    EXPECT_EQ(counter.paints, 0) << "nothing new, nothing repainted";

    tick(6);
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, Patience)) << "a new value is shown";
    EXPECT_EQ(slider->HandleLeft(), 115);
    EXPECT_EQ(Pixel(120, 10), Knob);
}

TEST_F(SliderTest, DrawsTheCaptionInTheMiddle)
{
    slider->setPicture(QPixmap());
    slider->setHPicture(QPixmap());
    slider->setBackColor(Qt::white);
    slider->setForeColor(Qt::black);
    slider->setCaption("00:00:00 / 00:00:00");
    const QImage image = slider->grab().toImage();
    int leftInk = image.width(), rightInk = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixelColor(x, y) != QColor(Qt::white)) {
                leftInk = std::min(leftInk, x);
                rightInk = std::max(rightInk, x);
            }
    ASSERT_GE(rightInk, 0) << "the caption is printed";
    EXPECT_LE(std::abs((leftInk + rightInk) / 2 - 105), 3) << leftInk << ".." << rightInk;
}

TEST_F(SliderTest, AMaximumOfZeroLeavesTheBarUsable)
{
    QSignalSpy changes(slider, &Slider::Change);
    slider->setMaxValue(0);
    EXPECT_EQ(slider->PixelsPerUnit(), 0);
    EXPECT_EQ(slider->HandleLeft(), 0);
    slider->setValue(3);
    EXPECT_EQ(slider->Value(), 0);
    EXPECT_EQ(slider->HandleLeft(), 0) << "the handle rests at the left";
    Click(150);
    EXPECT_EQ(slider->Value(), 0);
    EXPECT_EQ(slider->HandleLeft(), 0);
    Mouse(QEvent::MouseMove, 80, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(slider->HooverValue(), 0);
    EXPECT_EQ(changes.count(), 3);

    slider->setMaxValue(20);
    slider->setValue(20);
    EXPECT_EQ(slider->HandleLeft(), 195) << "a maximum set again scales the bar";
}

TEST_F(SliderTest, ABorderTakesOnePixelOnEachSide)
{
    slider->setBorder(true);
    slider->setMaxValue(10);
    EXPECT_DOUBLE_EQ(slider->PixelsPerUnit(), 19.8);
    Click(1 + 99); // X is measured inside the border
    EXPECT_EQ(slider->Value(), 5);
}

TEST_F(SliderTest, KeepsItsOwnColoursUnderTheWindowsStyleSheet)
{
    slider->setPicture(QPixmap());
    slider->setHPicture(QPixmap());
    slider->setBackColor(Qt::white);
    slider->setForeColor(Qt::black);
    host.setStyleSheet("QWidget { background-color: #102030; color: #f0f0f0; }");
    slider->setCaption("Wide caption text");
    EXPECT_EQ(slider->BackColor(), QColor(Qt::white));
    EXPECT_EQ(slider->ForeColor(), QColor(Qt::black));
    EXPECT_EQ(Pixel(2, 2), QColor(Qt::white));
    const QImage image = slider->grab().toImage();
    bool ink = false;
    for (int x = 0; x < image.width() && !ink; ++x)
        for (int y = 0; y < image.height() && !ink; ++y)
            ink = qGray(image.pixel(x, y)) < 100;
    EXPECT_TRUE(ink) << "the caption is printed in the bar's own colour";
}
