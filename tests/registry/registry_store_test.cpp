#include "dialogs/modRegistry.h"
#include "platform/forms/RuntimeError.h"
#include "platform/registry/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace registry;

namespace {

class RegistryStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile::remove(StorePath());
        QFile::remove(StorePath() + QStringLiteral(".unreadable"));
    }
};

} // namespace

TEST_F(RegistryStore, ValuesRoundTripThroughTheFileAndIgnoreLetterCase)
{
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, QStringLiteral("Software\\Tessel")));
    ASSERT_TRUE(SetValue(HKEY_CURRENT_USER, QStringLiteral("Software\\Tessel"), {}, QStringLiteral("default")));
    ASSERT_TRUE(SetValue(HKEY_CURRENT_USER, QStringLiteral("software\\TESSEL"), QStringLiteral("Desktop"),
        QStringLiteral("/home/u/Schreibtisch ä")));
    ASSERT_TRUE(CreateKey(HKEY_LOCAL_MACHINE, QStringLiteral("A\\B\\C")));

    EXPECT_TRUE(QFileInfo::exists(StorePath()));
    EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, QStringLiteral("Software\\Tessel"), {}), QStringLiteral("default"));
    EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, QStringLiteral("SOFTWARE\\tessel"), QStringLiteral("desktop")),
        QStringLiteral("/home/u/Schreibtisch ä"));
    EXPECT_EQ(SubKeys(HKEY_CURRENT_USER, {}), QStringList {QStringLiteral("Software")});
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, QStringLiteral("A\\B\\C")));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, QStringLiteral("A")));
    EXPECT_FALSE(QueryValue(HKEY_CURRENT_USER, QStringLiteral("Software\\Tessel"), QStringLiteral("Personal")));

    // Overwrite, delete a value, delete a subtree.
    ASSERT_TRUE(SetValue(HKEY_CURRENT_USER, QStringLiteral("Software\\Tessel"), {}, QStringLiteral("changed")));
    EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, QStringLiteral("Software\\Tessel"), {}), QStringLiteral("changed"));
    EXPECT_TRUE(DeleteValue(HKEY_CURRENT_USER, QStringLiteral("Software\\Tessel"), QStringLiteral("DESKTOP")));
    EXPECT_FALSE(DeleteValue(HKEY_CURRENT_USER, QStringLiteral("Software\\Tessel"), QStringLiteral("Desktop")));
    EXPECT_TRUE(DeleteKey(HKEY_LOCAL_MACHINE, QStringLiteral("a")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, QStringLiteral("A\\B")));
    EXPECT_FALSE(DeleteKey(HKEY_LOCAL_MACHINE, {}));
    EXPECT_FALSE(SetValue(0x1234, QStringLiteral("X"), {}, QStringLiteral("y")));
}

TEST_F(RegistryStore, AFailedWriteLeavesTheOldFileWholeAndAnUnreadableFileIsKept)
{
    ASSERT_TRUE(SetValue(HKEY_CLASSES_ROOT, QStringLiteral(".mp3"), {}, QStringLiteral("tessel.mp3")));
    const QString folder = QFileInfo(StorePath()).absolutePath();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const bool written = SetValue(HKEY_CLASSES_ROOT, QStringLiteral(".mp3"), {}, QStringLiteral("other"));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (getuid() != 0) {
        EXPECT_FALSE(written); // root writes anyway
    }
    if (!written) {
        EXPECT_EQ(QueryValue(HKEY_CLASSES_ROOT, QStringLiteral(".mp3"), {}), QStringLiteral("tessel.mp3"));
        EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".registry")).isEmpty());
    }

    QFile broken(StorePath());
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("{ not json");
    broken.close();
    EXPECT_FALSE(QueryValue(HKEY_CLASSES_ROOT, QStringLiteral(".mp3"), {}));
    ASSERT_TRUE(SetValue(HKEY_CLASSES_ROOT, QStringLiteral(".ogg"), {}, QStringLiteral("tessel.ogg")));
    QFile kept(StorePath() + QStringLiteral(".unreadable"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("{ not json"));
    EXPECT_EQ(QueryValue(HKEY_CLASSES_ROOT, QStringLiteral(".ogg"), {}), QStringLiteral("tessel.ogg"));
}

TEST_F(RegistryStore, GetStringKeyReadsAValueAndRaisesItsTwoErrors)
{
    const QString key = QStringLiteral("Software\\Shell Folders");
    SetValue(HKEY_CURRENT_USER, key, QStringLiteral("Desktop"), QStringLiteral("/home/u/Desktop"));
    EXPECT_EQ(modRegistry::GetStringKey(HKEY_CURRENT_USER, key, QStringLiteral("Desktop")),
        QStringLiteral("/home/u/Desktop"));

    try {
        modRegistry::GetStringKey(HKEY_CURRENT_USER, QStringLiteral("Software\\Missing"), QStringLiteral("Desktop"));
        FAIL() << "no error raised";
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), -2147221503);
        EXPECT_EQ(e.Source(), QStringLiteral("GetStringKey"));
        EXPECT_EQ(
            e.Description(), QStringLiteral("Win 32 API function failed to open registry key 'Software\\Missing'."));
    }
    try {
        modRegistry::GetStringKey(HKEY_CURRENT_USER, key, QStringLiteral("Personal"));
        FAIL() << "no error raised";
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), -2147221502);
        EXPECT_EQ(e.Source(), QStringLiteral("GetStringKey"));
        EXPECT_EQ(e.Description(),
            QStringLiteral("Win32 API function failed to get registry key value: 'Software\\Shell Folders'."));
    }
    // A value that does not fit the 255-byte reply area cannot be read.
    SetValue(HKEY_CURRENT_USER, key, QStringLiteral("Long"), QString(300, QLatin1Char('x')));
    EXPECT_THROW(modRegistry::GetStringKey(HKEY_CURRENT_USER, key, QStringLiteral("Long")), forms::RuntimeError);
}
