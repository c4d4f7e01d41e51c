#include "dialogs/Sheller.h"
#include "platform/shell/ShellExecute.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// Records what reaches the desktop instead of opening it.
struct RecordingDesktop {
    std::vector<QUrl> opened;
    bool accept = true;
    shell::UrlOpener previous = shell::SetUrlOpener([this](const QUrl& url) {
        opened.push_back(url);
        return accept;
    });
    ~RecordingDesktop() { shell::SetUrlOpener(previous); }
};

} // namespace

TEST(ShellOpen, OpensFilesFoldersAndAddresses)
{
    RecordingDesktop desktop;
    TempDir dir;
    QFile file(dir.file(QStringLiteral("notes.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    EXPECT_TRUE(Sheller::ShellOpen(file.fileName(), QStringLiteral("Open")));
    EXPECT_TRUE(Sheller::ShellOpen(QStringLiteral("notes.txt"), QStringLiteral("open"), {}, dir.path()));
    EXPECT_TRUE(Sheller::ShellOpen(dir.path(), QString()));
    EXPECT_TRUE(Sheller::ShellOpen(QStringLiteral("https://example.org/tessel/faq.html"), QStringLiteral("Open")));
    ASSERT_EQ(desktop.opened.size(), 4u);
    EXPECT_EQ(desktop.opened[0], QUrl::fromLocalFile(file.fileName()));
    EXPECT_EQ(desktop.opened[1], QUrl::fromLocalFile(file.fileName()));
    EXPECT_EQ(desktop.opened[2], QUrl::fromLocalFile(dir.path()));
    EXPECT_EQ(desktop.opened[3], QUrl(QStringLiteral("https://example.org/tessel/faq.html")));
}

TEST(ShellOpen, FailsWithoutShowingAnything)
{
    RecordingDesktop desktop;
    TempDir dir;
    EXPECT_FALSE(Sheller::ShellOpen(QString(), QStringLiteral("Open")));
    EXPECT_FALSE(Sheller::ShellOpen(dir.file(QStringLiteral("missing.txt")), QStringLiteral("Open")));
    EXPECT_FALSE(Sheller::ShellOpen(dir.path(), QStringLiteral("print")));
    EXPECT_TRUE(desktop.opened.empty());

    desktop.accept = false;
    EXPECT_FALSE(Sheller::ShellOpen(QStringLiteral("https://example.org/"), QStringLiteral("Open")));
    EXPECT_EQ(desktop.opened.size(), 1u);
}
