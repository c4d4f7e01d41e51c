// The position, speed and volume bars.
#include "player/frmPlayer.h"

#include "engine/Media.h"
#include "platform/forms/PropertyBag.h"
#include "engine/Slider.h"
#include "platform/forms/RuntimeError.h"

#include <QCursor>
#include <QToolTip>
#include <cmath>

forms::PropertyBag frmPlayer::PositionBarDesign()
{
    Q_INIT_RESOURCE(pictures);
    forms::PropertyBag design;
    design.WriteProperty(QStringLiteral("Picture"), QPixmap(QStringLiteral(":/pictures/position-back.png")));
    design.WriteProperty(QStringLiteral("HPicture"), QPixmap(QStringLiteral(":/pictures/position-handle.png")));
    design.WriteProperty(QStringLiteral("MaskPicture"), QPixmap(QStringLiteral(":/pictures/position-mask.png")));
    design.WriteProperty(QStringLiteral("Mask"), true, false);
    design.WriteProperty(QStringLiteral("BackColor"), QColor(0x22, 0x26, 0x2d));
    design.WriteProperty(QStringLiteral("ForeColor"), QColor(0xdf, 0xe3, 0xea));
    design.WriteProperty(QStringLiteral("Caption"), QStringLiteral("00:00:00 / 00:00:00"));
    design.WriteProperty(QStringLiteral("Value"), QStringLiteral("0"));
    return design;
}

void frmPlayer::WireBars()
{
    connect(scrPosition, &Slider::MouseDown, this, [this] { scrPosition_MouseDown(); });
    connect(scrPosition, &Slider::MouseMove, this, [this] { scrPosition_MouseMove(); });
    connect(scrPosition, &Slider::MouseUp, this, [this](int button) { scrPosition_MouseUp(button); });
    connect(scrSpeed, &forms::ScrollBar::Scroll, this, &frmPlayer::scrSpeed_Scroll);
    connect(scrVolume, &forms::ScrollBar::Change, this, &frmPlayer::scrVolume_Change);
    connect(scrVolume, &forms::ScrollBar::Scroll, this, &frmPlayer::scrVolume_Scroll);
}

void frmPlayer::scrPosition_MouseDown()
{
    PositionDragging = true;
    tmrCurrent->setEnabled(false);
    tmrMax->setEnabled(false);
}

// While a button is held the bar seeks; otherwise its tooltip shows the time under the mouse.
void frmPlayer::scrPosition_MouseMove()
{
    forms::IgnoreErrors run;
    if (PositionDragging) {
        tmrCurrent->setEnabled(false);
        tmrMax->setEnabled(false);
        run([&] { Media1->setPositionTo(scrPosition->Value()); });
        run([&] { scrPosition->setCaption(PositionText()); });
        tmrCurrent->setEnabled(true);
        tmrMax->setEnabled(true);
        return;
    }
    tmrMax->setEnabled(true);
    run([&] {
        const QString time = Media1->getThisTime(SeekSeconds(scrPosition->HooverValue()) * 1000);
        scrPosition->setToolTipText(time);
        if (QToolTip::isVisible()) QToolTip::showText(QCursor::pos(), time, scrPosition);
    });
}

// The bar takes its new value after raising MouseUp, so a click without a move has set its
// value at MouseDown: releasing the left button seeks there.
void frmPlayer::scrPosition_MouseUp(int button)
{
    forms::IgnoreErrors run;
    if (PositionDragging && button == forms::Button::Left) {
        run([&] { Media1->setPositionTo(scrPosition->Value()); });
        run([&] { scrPosition->setCaption(PositionText()); });
    }
    PositionDragging = false;
    tmrCurrent->setEnabled(true);
    tmrMax->setEnabled(true);
}

// Values from -2 to 2 snap back to 0 and play normally; 3 and more wind forward, -3 and less
// rewind. The value is read afresh at each step.
void frmPlayer::scrSpeed_Scroll()
{
    forms::IgnoreErrors run;
    tmrMax->setEnabled(false);
    if (scrSpeed->Value() < 1) {
        tmrRW2->setEnabled(true);
        tmrFF2->setEnabled(false);
    }
    if (scrSpeed->Value() > 1) {
        tmrFF2->setEnabled(true);
        tmrRW2->setEnabled(false);
    }
    if (scrSpeed->Value() < 3 && scrSpeed->Value() > -3) run([&] { scrSpeed->setValue(0); });
    if (scrSpeed->Value() == 0) {
        tmrFF2->setEnabled(false);
        tmrRW2->setEnabled(false);
        run([&] { Media1->playMovie(); });
    }
    tmrMax->setEnabled(true);
}

void frmPlayer::scrVolume_Change()
{
    forms::IgnoreErrors run;
    run([&] { Media1->setVolume(static_cast<qint16>(-50 * scrVolume->Value())); });
}

void frmPlayer::scrVolume_Scroll()
{
    tmrMax->setEnabled(false);
    scrVolume_Change();
    tmrMax->setEnabled(true);
}
