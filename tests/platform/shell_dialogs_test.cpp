// The desktop's own dialogs, answered by finding them on screen as a user would.
#include "platform/forms/UserInterface.h"
#include "platform/shell/ShellExecute.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs answer on the first dialog of type T (of the named class, when given) that opens.
template <class T> void WhenShown(std::function<void(T*)> answer, const char* className = nullptr)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, answer, className] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<T*>(w);
                dialog && dialog->isVisible() && (!className || dialog->inherits(className))) {
                poll->stop();
                poll->deleteLater();
                answer(dialog);
                return;
            }
    });
    poll->start(10);
}

forms::DesktopUserInterface desktop;

} // namespace

TEST(DesktopDialogs, FileDialogReportsThePathAndTheChosenFilterPair)
{
    TempDir dir;
    QFile file(dir.file(QStringLiteral("song.ogg")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    forms::FileRequest request;
    request.title = QStringLiteral("Open Media");
    request.initialFolder = dir.path();
    request.descriptions = QStringList {"Text File(*.txt)", "Media(*.ogg;*.mp3)", "All Files(*.*)"};
    request.patterns = QStringList {"*.txt", "*.ogg;*.mp3", "*.*"};
    QStringList offered;
    QString title;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        offered = dialog->nameFilters();
        title = dialog->windowTitle();
        dialog->selectNameFilter(offered.value(1));
        dialog->selectFile(file.fileName());
        static_cast<QDialog*>(dialog)->accept();
    });
    const auto result = desktop.FileDialog(request);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->path, file.fileName());
    EXPECT_EQ(result->filterIndex, 2);
    EXPECT_EQ(title, QStringLiteral("Open Media"));
    EXPECT_EQ(
        offered, (QStringList {"Text File(*.txt) (*.txt)", "Media(*.ogg;*.mp3) (*.ogg *.mp3)", "All Files(*.*) (*)"}))
        << "all files are offered, also names without a dot";

    WhenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_FALSE(desktop.FileDialog(request));
}

TEST(DesktopDialogs, FolderDialogReportsTheFolder)
{
    TempDir dir;
    forms::FolderRequest request;
    request.root = 17;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
        dialog->setDirectory(dir.path());
        static_cast<QDialog*>(dialog)->accept();
    });
    const auto result = desktop.FolderDialog(request);
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, dir.path());
}

TEST(DesktopDialogs, ColorDialogKeepsEachCallersCustomColours)
{
    forms::ColorRequest request;
    request.customColors[3] = 0x0000FF;
    WhenShown<QColorDialog>([](QColorDialog* dialog) {
        EXPECT_EQ(QColorDialog::customColor(3), QColor(Qt::red));
        QColorDialog::setCustomColor(4, QColor(0, 0, 255));
        dialog->setCurrentColor(QColor(0x11, 0x22, 0x33));
        static_cast<QDialog*>(dialog)->accept();
    });
    const auto result = desktop.ColorDialog(request);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->color, 0x332211);
    EXPECT_EQ(result->customColors[3], 0x0000FF);
    EXPECT_EQ(result->customColors[4], 0xFF0000);
}

TEST(DesktopDialogs, FontDialogReportsHeightAndWeight)
{
    forms::FontRequest request;
    request.faceName = QStringLiteral("DejaVu Sans");
    WhenShown<QFontDialog>([](QFontDialog* dialog) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSize(12);
        font.setWeight(QFont::Bold);
        font.setUnderline(true);
        dialog->setCurrentFont(font);
        static_cast<QDialog*>(dialog)->accept();
    });
    const auto result = desktop.FontDialog(request);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->faceName, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(result->height, -16) << "12 points at 96 pixels per inch";
    EXPECT_EQ(result->weight, 700);
    EXPECT_TRUE(result->underline);
    EXPECT_FALSE(result->italic);
}

TEST(DesktopDialogs, PrintDialogReportsThePrintersSettings)
{
    forms::PrinterRequest request;
    request.flags = 0x2; // a page range
    request.fromPage = 2;
    request.toPage = 5;
    request.minPage = 1;
    request.maxPage = 9;
    WhenShown<QDialog>([](QDialog* dialog) { dialog->accept(); }, "QPrintDialog");
    const auto result = desktop.PrinterDialog(request);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->flags & 0x3, 0x2);
    EXPECT_EQ(result->fromPage, 2);
    EXPECT_EQ(result->toPage, 5);
    EXPECT_GE(result->copies, 1);
    EXPECT_TRUE(result->orientation == 1 || result->orientation == 2);
    EXPECT_GT(result->paperWidth, 0);

    WhenShown<QDialog>([](QDialog* dialog) { dialog->reject(); }, "QPrintDialog");
    EXPECT_FALSE(desktop.PrinterDialog(request));
}

TEST(DesktopDialogs, HelpOpensTheHelpFileWithTheDesktop)
{
    TempDir dir;
    QFile help(dir.file(QStringLiteral("player.html")));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    std::vector<QUrl> opened;
    const auto previous = shell::SetUrlOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    forms::HelpRequest request;
    request.helpFile = help.fileName();
    request.command = 1;
    request.data = 77;
    desktop.Help(request);
    request.command = 2; // closes the viewer: nothing to open
    desktop.Help(request);
    shell::SetUrlOpener(previous);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(help.fileName()));
}
