#include "tests/dialogs/ComDlgHost.h"

#include "platform/forms/RuntimeError.h"
#include "platform/shell/DialogOwner.h"
#include "platform/shell/Printers.h"

#include <gtest/gtest.h>

namespace {

forms::FontResult Font(int height, int weight = 400)
{
    forms::FontResult font;
    font.faceName = QStringLiteral("DejaVu Sans");
    font.height = height;
    font.weight = weight;
    return font;
}

// The height a font of the given size has on this screen, as the font record keeps it.
int HeightOf(double points) { return -static_cast<int>(points * shell::LogicalPixelsPerInchY() / 72); }

} // namespace

TEST(ComDlgFont, SizeRoundsToWholePointsHalvesToEven)
{
    ASSERT_EQ(shell::LogicalPixelsPerInchY(), 96.0) << "the examples are for 96 pixels per inch";
    ComDlgHost h;
    const std::pair<int, float> examples[] = {{-16, 12}, {-15, 11}, {-14, 10}, {-18, 14}};
    for (const auto& [height, size] : examples) {
        h.user.ChooseFont(Font(height));
        h.dlg->ShowFont();
        EXPECT_EQ(h.dlg->FontSize(), size) << "height " << height;
    }
}

TEST(ComDlgFont, ResultsAndWhatIsHandedIn)
{
    ComDlgHost h;
    const QString longName = QStringLiteral("A Font Family Name Of 31 Chars!");
    ASSERT_EQ(longName.size(), 31);
    h.dlg->setFontName(longName + QStringLiteral(" and more"));
    h.dlg->setFontSize(30);
    h.dlg->setMin(6);
    h.dlg->setMax(72);

    forms::FontResult chosen = Font(HeightOf(12), 401);
    chosen.faceName = longName;
    chosen.italic = true;
    chosen.charSet = 0x1FF;
    h.user.ChooseFont(chosen);
    h.dlg->ShowFont();
    const auto& request = h.user.FontRequests().back();
    EXPECT_EQ(request.faceName, longName) << "the face name is cut to its field";
    EXPECT_EQ(request.minSize, 6);
    EXPECT_EQ(request.maxSize, 72);
    EXPECT_EQ(h.dlg->FontName(), longName);
    EXPECT_TRUE(h.dlg->FontBold()) << "weight 401";
    EXPECT_TRUE(h.dlg->FontItalic());
    EXPECT_FALSE(h.dlg->FontUnderLine());
    EXPECT_EQ(h.dlg->FontCharSet(), 0xFF);
    EXPECT_EQ(h.dlg->FontSize(), 12.0f);

    h.user.ChooseFont(Font(HeightOf(12), 400));
    h.dlg->ShowFont();
    EXPECT_FALSE(h.dlg->FontBold()) << "weight 400 is regular";

    h.user.CancelDialog();
    h.dlg->setFontSize(9);
    h.dlg->ShowFont();
    EXPECT_EQ(h.dlg->FontSize(), 9.0f) << "a cancel changes nothing";
}

TEST(ComDlgColor, CustomColoursSurviveWithinTheInstance)
{
    ComDlgHost h;
    h.dlg->setColor(0x123456);
    h.user.ChooseColor(0x0000FF, {{0, 0x00FF00}, {15, 0xABCDEF}});
    h.dlg->ShowColor();
    EXPECT_EQ(h.dlg->Color(), 0x0000FF);
    h.user.CancelDialog();
    h.dlg->ShowColor();
    EXPECT_EQ(h.dlg->Color(), 0x0000FF);

    const auto& requests = h.user.ColorRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].customColors, (std::array<int, 16> {})) << "a new instance starts black";
    EXPECT_EQ(requests[1].customColors[0], 0x00FF00);
    EXPECT_EQ(requests[1].customColors[15], 0xABCDEF);

    ComDlgHost other;
    other.dlg->ShowColor();
    EXPECT_EQ(other.user.ColorRequests()[0].customColors, (std::array<int, 16> {}));
}

TEST(ComDlgPrinter, ResultsAndTheApplicationPrinter)
{
    shell::SetKnownPrinters(QList<shell::Printer> {{QStringLiteral("Office"), QStringLiteral("Laser"), QString()},
        {QStringLiteral("Label"), QStringLiteral("Thermal"), QString()}});
    ComDlgHost h;
    forms::PrinterResult chosen;
    chosen.deviceName = QStringLiteral("label");
    chosen.driverName = QStringLiteral("Thermal");
    chosen.port = QStringLiteral("usb");
    chosen.copies = 3;
    chosen.orientation = 2;
    chosen.duplex = 9; // refused by the printer
    chosen.paperSize = 11;
    chosen.defaultSource = 4;
    h.user.ChoosePrinter(chosen);
    h.dlg->ShowPrinter();
    EXPECT_EQ(h.user.PrinterRequests().back().deviceName, QStringLiteral("Office"));
    EXPECT_EQ(h.dlg->PrinterName(), QStringLiteral("label"));
    EXPECT_EQ(h.dlg->Copies(), 3);
    EXPECT_EQ(h.dlg->Orientation(), 2);
    EXPECT_EQ(h.dlg->PrinterDefaultSource(), 4);
    EXPECT_EQ(h.dlg->PrinterExtraPaperSize(), 11);
    EXPECT_EQ(h.dlg->PrinterExtraDriverOffset(), 8);
    EXPECT_EQ(h.dlg->PrinterExtraDeviceOffset(), 8 + 7 + 1);
    EXPECT_EQ(h.dlg->PrinterExtraOutputOffset(), 16 + 5 + 1);
    EXPECT_EQ(h.dlg->PrinterExtraExtra().size(), 100);
    EXPECT_TRUE(h.dlg->PrinterExtraExtra().startsWith(QStringLiteral("Thermal") + QChar(0) + QStringLiteral("label")));
    EXPECT_EQ(shell::CurrentPrinter().DeviceName(), QStringLiteral("Office")) << "PrinterDefault False";
    EXPECT_EQ(shell::CurrentPrinter().Copies(), 1);

    h.dlg->setPrinterDefault(true);
    h.user.ChoosePrinter(chosen);
    h.dlg->ShowPrinter();
    const shell::Printer& now = shell::CurrentPrinter();
    EXPECT_EQ(now.DeviceName(), QStringLiteral("Label"));
    EXPECT_EQ(now.Copies(), 3);
    EXPECT_EQ(now.Duplex(), 1) << "a refused setting keeps its value";
    EXPECT_EQ(now.Orientation(), 2) << "and the next setting is tried";
    EXPECT_EQ(now.PaperSize(), 11);
    EXPECT_EQ(now.PaperBin(), 4);

    h.dlg->setCancelError(true);
    h.user.CancelDialog();
    const auto error = ErrorOf([&] { h.dlg->ShowPrinter(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number(), 32755);
    shell::SetKnownPrinters(std::nullopt);
}

TEST(ComDlgHelp, ContextOrKeyIsPassed)
{
    ComDlgHost h;
    h.dlg->setHelpFile(QStringLiteral("/usr/share/doc/player.html"));
    h.dlg->setHelpContext(77);
    h.dlg->setHelpKey(QStringLiteral("playlist"));
    h.dlg->setHelpCommand(1);
    h.dlg->ShowHelp();
    h.dlg->setHelpCommand(257);
    h.dlg->ShowHelp();
    const auto& calls = h.user.HelpRequests();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].data, QVariant(77));
    EXPECT_EQ(calls[1].command, 257);
    EXPECT_EQ(calls[1].data, QVariant(QStringLiteral("playlist")));
    EXPECT_EQ(calls[1].helpFile, QStringLiteral("/usr/share/doc/player.html"));
}

TEST(ComDlgFolder, CancelEmptiesTheFolderUnlessItRaises)
{
    ComDlgHost h;
    h.dlg->setBrowseSpecialFolder(17);
    h.dlg->setDialogTitle(QStringLiteral("Choose the video CD"));
    h.user.ChooseFolder(QStringLiteral("/media/cdrom"));
    EXPECT_EQ(h.dlg->ShowBrowseForFolder(), QString());
    EXPECT_EQ(h.dlg->FolderPath(), QStringLiteral("/media/cdrom"));
    EXPECT_EQ(h.user.FolderRequests().back().root, 17);
    EXPECT_EQ(h.user.FolderRequests().back().title, QStringLiteral("Choose the video CD"));

    h.dlg->setCancelError(true);
    const auto error = ErrorOf([&] { h.dlg->ShowBrowseForFolder(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number(), 32755);
    EXPECT_EQ(h.dlg->FolderPath(), QStringLiteral("/media/cdrom"));

    h.dlg->setCancelError(false);
    EXPECT_EQ(h.dlg->ShowBrowseForFolder(), QString());
    EXPECT_EQ(h.dlg->FolderPath(), QString());
}
