#include "player/frmMouseScroll.h"

#include "components/skin/Skin.h"
#include "platform/files/DelimitedFile.h"
#include "platform/files/ProgramFolder.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/RuntimeError.h"
#include "tools/ToolWindowSetup.h"

#include <QStringList>

const QString frmMouseScroll::SettingsFile = QStringLiteral("mousescroll.txt");

namespace {

const QString DefaultStep = QStringLiteral("3");
constexpr int SettingsItems = 5;

bool BooleanItem(const QStringList& items, int index)
{
    if (index >= items.size()) forms::Raise(forms::Err::TypeMismatch);
    const auto value = files::ToBoolean(items[index]);
    if (!value) forms::Raise(forms::Err::TypeMismatch);
    return *value;
}

} // namespace

frmMouseScroll::frmMouseScroll()
{
    setObjectName(QStringLiteral("frmMouseScroll"));
    setCaption(QStringLiteral("Mouse Scroll Settings"));
    QWidget* client = Client();

    // The four choices share one container, so exactly one of them is selected.
    Frame1 = new forms::Frame(client);
    Frame1->Move(120, 120, 2535, 1575);
    Option1 = new forms::OptionButton(Frame1, QStringLiteral("Position"));
    Option1->Move(120, 120, 2295, 315);
    Option2 = new forms::OptionButton(Frame1, QStringLiteral("Speed"));
    Option2->Move(120, 480, 2295, 315);
    Option3 = new forms::OptionButton(Frame1, QStringLiteral("Volume"));
    Option3->Move(120, 840, 2295, 315);
    Option4 = new forms::OptionButton(Frame1, QStringLiteral("Scroll Playlist"));
    Option4->Move(120, 1200, 2295, 315);
    Option1->setValue(true);

    SkinLabel1 = new SkinLabel(client, QStringLiteral("Scroll Interval"));
    SkinLabel1->Move(120, 1815, 1455, 315);
    txtSec = new forms::TextBox(client, DefaultStep);
    txtSec->Move(1680, 1800, 975, 315);

    Move(Left(), Top(), 2895, 2640);
}

void frmMouseScroll::Form_Load()
{
    forms::IgnoreErrors run;
    run([&] { ToolWindowSetup(*this); });
    QStringList items;
    run([&] {
        files::DelimitedReader reader(files::ProgramFile(SettingsFile));
        if (!reader.Open()) forms::Raise(forms::Err::FileNotFound);
        items = reader.ReadItems(SettingsItems);
    });
    run([&] { Option1->setValue(BooleanItem(items, 0)); });
    run([&] { Option2->setValue(BooleanItem(items, 1)); });
    run([&] { Option3->setValue(BooleanItem(items, 2)); });
    run([&] { Option4->setValue(BooleanItem(items, 3)); });
    run([&] {
        if (items.size() < SettingsItems) forms::Raise(forms::Err::TypeMismatch);
        txtSec->setText(items[4]);
    });
    if (txtSec->Text().isEmpty()) txtSec->setText(DefaultStep);
}

void frmMouseScroll::Form_Unload(int& /*cancel*/)
{
    // A settings file that can't be written is left as it was; the window closes all the same.
    const QString path = files::ProgramFile(SettingsFile);
    if (!files::WriteRecord(
            path, {Option1->Value(), Option2->Value(), Option3->Value(), Option4->Value(), txtSec->Text()}))
        forms::SettingsNotSaved(QStringLiteral("The mouse scroll settings"), path);
}
