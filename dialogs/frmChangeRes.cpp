#include "dialogs/frmChangeRes.h"

#include "platform/display/Reboot.h"
#include "platform/forms/MsgBox.h"
#include "tools/ToolWindowSetup.h"

#include <QGuiApplication>
#include <QScreen>

frmChangeRes::frmChangeRes()
{
    setCaption(QStringLiteral("Change Resolution"));
    QWidget* client = Client();
    // Wide enough for the window manager to write the whole caption beside its buttons.
    constexpr int inner = 4080;
    SkinLabel1 = new SkinLabel(client, QStringLiteral("Available Resolutions"));
    SkinLabel1->Move(120, 120, inner, 255);
    List1 = new forms::ListBox(client);
    List1->Move(120, 420, inner, 2400);
    Command1 = new forms::CommandButton(client, QStringLiteral("Change Resolution"));
    Command1->Move(120, 2940, inner, 375);
    connect(Command1, &forms::CommandButton::Click, this, &frmChangeRes::Command1_Click);
    Move(Left(), Top(), inner + 240, 3435 + (Height() - ScaleHeight()));
}

void frmChangeRes::Form_Load()
{
    // The mode in use: the primary screen's size in pixels and its colour depth.
    int bits = 0;
    int width = 0;
    int height = 0;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        bits = screen->depth();
        const QSize pixels = screen->geometry().size() * screen->devicePixelRatio();
        width = pixels.width();
        height = pixels.height();
    }

    DevModes.assign(InitialRecords, display::DisplayMode());
    LastMode = -1;
    for (int i = 0; display::EnumDisplaySettings(i, DevModes[i]); ++i) {
        const display::DisplayMode& mode = DevModes[i];
        List1->AddItem(QStringLiteral("%1x%2x%3").arg(mode.PelsWidth).arg(mode.PelsHeight).arg(mode.BitsPerPel));
        if (mode.BitsPerPel == bits && int(mode.PelsWidth) == width && int(mode.PelsHeight) == height)
            List1->setListIndex(List1->ListCount() - 1);
        LastMode = i;
        if (i + 1 >= static_cast<int>(DevModes.size())) DevModes.resize(DevModes.size() + GrowBy);
    }

    ToolWindowSetup(*this);
}

void frmChangeRes::Command1_Click()
{
    // With no row selected there is no mode to change to.
    const int row = List1->ListIndex();
    if (row < 0 || row > LastMode) return;
    display::DisplayMode mode = DevModes[row];
    mode.Fields
        = display::DisplayField::BitsPerPel | display::DisplayField::PelsWidth | display::DisplayField::PelsHeight;
    const int result = display::ChangeDisplaySettings(mode, display::ChangeFlags::UpdateRegistry);
    if (result == display::ChangeResult::Successful) return;
    if (result == display::ChangeResult::Restart) {
        const int answer = forms::MsgBox(
            QStringLiteral("This change will not take effect until you reboot the system.  Reboot now?"),
            forms::MsgBoxStyle::YesNo);
        if (answer == forms::MsgBoxResult::Yes) display::RequestReboot();
        return;
    }
    forms::MsgBox(QStringLiteral("Error changing resolution! Returned: %1").arg(result), forms::MsgBoxStyle::OKOnly);
}
