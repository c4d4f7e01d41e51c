#include "dialogs/frmGoTo.h"

#include "components/skin/Skin.h"
#include "engine/Docking.h"
#include "engine/Media.h"
#include "engine/Slider.h"
#include "platform/forms/RuntimeError.h"
#include "player/frmPlayer.h"
#include "tools/ToolWindowSetup.h"

#include <QLocale>
#include <cmath>

namespace {

frmPlayer& Player()
{
    frmPlayer* player = forms::Instances::Existing<frmPlayer>();
    if (!player) throw forms::RuntimeError(91, QStringLiteral("frmGoTo"), QStringLiteral("Object variable not set"));
    return *player;
}

// A box's text as a number, fractions allowed; text that is no number is a type mismatch.
double Number(const QString& text)
{
    const QString t = text.trimmed();
    bool ok = false;
    double value = QLocale().toDouble(t, &ok);
    if (!ok) value = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(value)) forms::Raise(forms::Err::TypeMismatch);
    return value;
}

} // namespace

frmGoTo::frmGoTo()
{
    setObjectName(QStringLiteral("frmGoTo"));
    setCaption(QStringLiteral("Go To Position"));
    QWidget* client = Client();

    txtHour = new forms::TextBox(client, QStringLiteral("00"));
    txtHour->Move(120, 120, 495, 315);
    lblSep01 = new forms::Label(client, QStringLiteral(":"));
    lblSep01->setAlignment(Qt::AlignCenter);
    lblSep01->Move(615, 120, 135, 315);
    txtMin = new forms::TextBox(client, QStringLiteral("00"));
    txtMin->Move(750, 120, 495, 315);
    Label1 = new forms::Label(client, QStringLiteral(":"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->Move(1245, 120, 135, 315);
    txtSec = new forms::TextBox(client, QStringLiteral("00"));
    txtSec->Move(1380, 120, 495, 315);
    cmdGoTo = new forms::CommandButton(client, QStringLiteral("Go To"));
    cmdGoTo->Move(2040, 90, 975, 375);
    lblTime = new SkinLabel(client, QStringLiteral("00:00:00"));
    lblTime->setAlignment(Qt::AlignCenter);
    lblTime->Move(120, 600, 2895, 285);
    setTabOrder(txtHour, txtMin);
    setTabOrder(txtMin, txtSec);
    setTabOrder(txtSec, cmdGoTo);

    Timer1 = new forms::Timer(this, 1000, false);

    connect(cmdGoTo, &forms::CommandButton::Click, this, &frmGoTo::cmdGoTo_Click);
    // Enter in any of the three boxes seeks too; the key goes on to the box as well.
    for (forms::TextBox* box : {txtHour, txtMin, txtSec})
        connect(box, &QLineEdit::returnPressed, this, &frmGoTo::cmdGoTo_Click);
    connect(Timer1, &forms::Timer::Tick, this, &frmGoTo::Timer1_Timer);

    Move(Left(), Top(), 3255, 1065 + (Height() - ScaleHeight()));
}

void frmGoTo::Form_Load()
{
    forms::IgnoreErrors run;
    run([&] { ToolWindowSetup(*this); });
    Timer1->setEnabled(true);
}

void frmGoTo::Form_Unload(int& /*cancel*/) { Docking::DetachForm(this); }

void frmGoTo::cmdGoTo_Click()
{
    forms::IgnoreErrors run;
    QString total;
    run([&] {
        const double seconds = Number(txtHour->Text()) * 3600 + Number(txtMin->Text()) * 60 + Number(txtSec->Text());
        total = QString::number(seconds, 'g', 15);
    });
    run([&] { Player().scrPosition->setValue(Number(total)); });
    run([&] { Player().Media1->setPositionTo(Player().scrPosition->Value()); });
}

void frmGoTo::Timer1_Timer()
{
    forms::IgnoreErrors run;
    run([&] { lblTime->setCaption(Player().Media1->getFormatLength()); });
}
