// File-type associations: the window, the registry keys it writes, and the desktop's own
// associations that follow from them.
#include "tests/dialogs/PlayerHost.h"

#include "dialogs/Associate2.h"
#include "dialogs/frmAssociate.h"
#include "platform/registry/FileTypes.h"
#include "platform/registry/Registry.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>

using registry::HKEY_CLASSES_ROOT;

namespace {

class AssociateTest : public PlayerHostTest {
protected:
    void SetUp() override
    {
        PlayerHostTest::SetUp();
        QFile::remove(registry::StorePath());
        QFile::remove(registry::MimeAppsListPath());
        QDir(registry::ApplicationsFolder()).removeRecursively();
        QDir().mkpath(QFileInfo(registry::MimeAppsListPath()).absolutePath());
    }

    // An executable file in a folder whose name has a blank unless told otherwise.
    QString Executable(const QString& folder = QStringLiteral("my player"))
    {
        QDir(dir.path()).mkpath(folder);
        const QString exe = dir.file(folder + QStringLiteral("/tessel"));
        Write(exe, "#!/bin/sh\n");
        QFile::setPermissions(exe, QFile::permissions(exe) | QFileDevice::ExeOwner);
        return exe;
    }

    frmAssociate& Open()
    {
        Choose(player->mnuToolsAssociate);
        frmAssociate* w = forms::Instances::Existing<frmAssociate>();
        EXPECT_NE(w, nullptr);
        return *w;
    }

    static QStringList ExtensionKeys()
    {
        return registry::SubKeys(HKEY_CLASSES_ROOT, {}).filter(QRegularExpression(QStringLiteral("^\\.")));
    }

    static QString Default(const QString& key) { return registry::QueryValue(HKEY_CLASSES_ROOT, key, {}).value_or("<none>"); }

    TempDir dir;
};

} // namespace

TEST_F(AssociateTest, OkWithEveryBoxCheckedWritesTheThreeKeysOfAll26Extensions)
{
    frmAssociate& w = Open();
    EXPECT_EQ(w.Caption(), "Associate Tessel");
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isModal()) << "modeless from the menu";
    ASSERT_EQ(w.chk.size(), 26u);
    EXPECT_EQ(w.chk[0]->objectName(), "chkAvi");
    EXPECT_EQ(w.chk[1]->objectName(), "chkMpg");
    EXPECT_EQ(w.chk[25]->objectName(), "chkwmv");
    for (forms::CheckBox* box : w.chk)
        EXPECT_EQ(box->Value(), forms::CheckValue::Checked) << box->text().toStdString();
    EXPECT_EQ(w.txtFile->Text(), QCoreApplication::applicationFilePath());
    EXPECT_EQ(w.txtExt->Text(), "");
    EXPECT_EQ(w.cmdBrowse->Caption(), "Cancel");

    const QString exe = Executable();
    w.txtFile->setText(exe);
    w.cmdAssoc->click();
    EXPECT_FALSE(forms::Instances::Exists<frmAssociate>()) << "OK closes the window";

    QStringList expected;
    for (const QString& ext : frmAssociate::AssociatedExtensions)
        expected << QStringLiteral(".") + ext;
    EXPECT_EQ(ExtensionKeys(), expected) << "registered in the table's order";
    for (const QString& key : expected)
        EXPECT_EQ(Default(key), "tessel") << key.toStdString();
    EXPECT_EQ(Default("tessel\\shell\\open\\command"), exe + " %1") << "the path is not quoted";
    EXPECT_EQ(Default("tessel\\DefaultIcon"), exe);
    EXPECT_TRUE(user.Boxes().empty());
}

TEST_F(AssociateTest, TheOtherExtensionComesFirstWithOrWithoutItsPoint)
{
    const QString exe = Executable();
    frmAssociate& w = Open();
    w.cmdUnCheck->click();
    for (forms::CheckBox* box : w.chk)
        EXPECT_EQ(box->Value(), forms::CheckValue::Unchecked);
    w.CheckBoxFor("mov")->setValue(forms::CheckValue::Checked);
    w.txtExt->setText("xyz");
    w.txtFile->setText(exe);
    w.cmdAssoc->click();
    EXPECT_EQ(ExtensionKeys(), (QStringList {".xyz", ".mov"}));

    frmAssociate& again = Open();
    EXPECT_EQ(again.chk[3]->Value(), forms::CheckValue::Checked) << "every showing starts all checked";
    again.cmdUnCheck->click();
    again.txtExt->setText(".xyz");
    again.txtFile->setText(exe);
    again.cmdAssoc->click();
    EXPECT_EQ(ExtensionKeys(), (QStringList {".xyz", ".mov"})) << "the same key";
    EXPECT_EQ(Default(".xyz"), "tessel");
}

TEST_F(AssociateTest, NothingIsWrittenForAMissingExecutableNoChoiceOrCancel)
{
    frmAssociate& w = Open();
    w.txtFile->setText(dir.file("missing/tessel"));
    w.txtExt->setText("xyz");
    w.cmdAssoc->click();
    EXPECT_FALSE(QFile::exists(registry::StorePath()));

    frmAssociate& none = Open();
    none.cmdUnCheck->click();
    none.txtFile->setText(Executable());
    none.cmdAssoc->click();
    EXPECT_FALSE(QFile::exists(registry::StorePath())) << "no box checked, no other extension";

    frmAssociate& cancelled = Open();
    cancelled.txtFile->setText(Executable());
    cancelled.cmdBrowse->click();
    EXPECT_FALSE(forms::Instances::Exists<frmAssociate>());
    EXPECT_FALSE(QFile::exists(registry::StorePath()));
    EXPECT_FALSE(QFile::exists(registry::MimeAppsListPath()));
}

TEST(Associate2, ExecutableNamesAndExistence)
{
    EXPECT_EQ(Associate2::ExecutableFileName("/opt/prog/tessel"), "tessel");
    EXPECT_EQ(Associate2::ExecutableFileName("  tessel  "), "tessel");
    EXPECT_EQ(Associate2::ExecutableFileName(QStringLiteral("/a/tessel") + QChar(0)), "tessel");
    EXPECT_TRUE(Associate2::ExecutableExists(QCoreApplication::applicationFilePath()));
    EXPECT_FALSE(Associate2::ExecutableExists(QCoreApplication::applicationFilePath().toUpper()));
    EXPECT_FALSE(Associate2::ExecutableExists(QCoreApplication::applicationDirPath() + "/*"));
    EXPECT_FALSE(Associate2::ExecutableExists(""));
    EXPECT_FALSE(Associate2::AssociateExtension("/no/such/tessel", "avi"));
}

namespace {

// What the desktop's own tool names as the default program of a media type, in the test's folders.
QString DesktopDefault(const QString& mediaType)
{
    QProcessEnvironment env;
    env.insert("PATH", qEnvironmentVariable("PATH"));
    env.insert("HOME", QDir::homePath());
    env.insert("XDG_CONFIG_HOME", qEnvironmentVariable("XDG_CONFIG_HOME"));
    env.insert("XDG_DATA_HOME", qEnvironmentVariable("XDG_DATA_HOME"));
    QProcess query;
    query.setProcessEnvironment(env);
    query.start("xdg-mime", {"query", "default", mediaType});
    query.waitForFinished(30000);
    return QString::fromUtf8(query.readAllStandardOutput()).trimmed();
}

} // namespace

TEST_F(AssociateTest, TheDesktopOpensTheTypesWithTessel)
{
    const QString mp3 = registry::MediaTypeOfExtension(".mp3");
    EXPECT_EQ(mp3, "audio/mpeg");
    EXPECT_EQ(registry::MediaTypeOfExtension(".xyz"), "");
    Write(registry::MimeAppsListPath(), "[Default Applications]\ntext/plain=editor.desktop\n" + mp3.toUtf8()
            + "=other.desktop;\n\n[Added Associations]\n" + mp3.toUtf8() + "=other.desktop;\n");

    const QString exe = Executable("bin");
    frmAssociate& w = Open();
    w.txtFile->setText(exe);
    w.txtExt->setText("xyz");
    w.cmdAssoc->click();

    EXPECT_EQ(DesktopDefault(mp3), "tessel.desktop");
    EXPECT_EQ(DesktopDefault(registry::MediaTypeOfExtension(".avi")), "tessel.desktop");
    const QByteArray list = Read(registry::MimeAppsListPath());
    EXPECT_TRUE(list.contains("text/plain=editor.desktop\n")) << list.toStdString();
    EXPECT_TRUE(list.contains(mp3.toUtf8() + "=tessel.desktop;other.desktop;\n")) << list.toStdString();
    EXPECT_FALSE(list.contains("xyz"));

    const QByteArray entry = Read(registry::ApplicationsFolder() + "/tessel.desktop");
    EXPECT_TRUE(entry.contains("\nExec=" + exe.toUtf8() + " %f\n")) << entry.toStdString();
    EXPECT_TRUE(entry.contains(";" + mp3.toUtf8() + ";")) << entry.toStdString();
}

TEST_F(AssociateTest, APathWithBlanksIsQuotedAndAnotherProgramsEntryIsKept)
{
    QDir().mkpath(registry::ApplicationsFolder());
    const QString foreign = "[Desktop Entry]\nType=Application\nName=Other\nExec=other %f\n";
    Write(registry::ApplicationsFolder() + "/tessel.desktop", foreign.toUtf8());
    const QString exe = Executable("my player");
    ASSERT_TRUE(Associate2::AssociateExtension(exe, "wav"));

    EXPECT_EQ(Read(registry::ApplicationsFolder() + "/tessel.desktop"), foreign.toUtf8());
    const QByteArray entry = Read(registry::ApplicationsFolder() + "/tessel-tessel.desktop");
    EXPECT_TRUE(entry.contains("\nExec=\"" + exe.toUtf8() + "\" %f\n")) << entry.toStdString();
    EXPECT_TRUE(Read(registry::MimeAppsListPath()).contains("=tessel-tessel.desktop;"));
}
