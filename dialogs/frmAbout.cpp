#include "dialogs/frmAbout.h"

#include "ProgramVersion.h"
#include "engine/Docking.h"
#include "platform/forms/MsgBox.h"
#include "tools/ToolWindowSetup.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <cmath>

namespace {

const QString SysInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString SysInfoLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

// The system-information tools of the desktops, in the order they are looked for.
const char* const SysInfoTools[] = {"hardinfo2", "hardinfo", "kinfocenter", "lshw-gtk"};

// Our registry store learns where this desktop's system-information tool is, the first time it
// is asked for and one is installed. Gives the tool found when the store could not keep it (its
// file cannot be written, on a full disk), so that it starts all the same; otherwise nothing.
QString UnrecordedSysInfoTool()
{
    if (registry::QueryValue(registry::HKEY_LOCAL_MACHINE, SysInfoKey, QStringLiteral("PATH"))) return {};
    for (const char* tool : SysInfoTools) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(tool));
        if (path.isEmpty()) continue;
        if (registry::SetValue(registry::HKEY_LOCAL_MACHINE, SysInfoKey, QStringLiteral("PATH"), path)) return {};
        return path;
    }
    return {};
}

} // namespace

frmAbout::frmAbout()
{
    CreateControls();
    connect(lblDescription, &forms::CommandButton::Click, this, [this] { Unload(); });
    connect(tmrCpu, &forms::Timer::Tick, this, &frmAbout::tmrCpu_Timer);
}

void frmAbout::CreateControls()
{
    QWidget* client = Client();
    Picture1 = new forms::PictureBox(client);
    Picture1->Move(240, 240, 720, 720);
    Picture1->setPicture(Skin::ProgramIcon().pixmap(48, 48));

    lblTitle = new SkinLabel(client);
    lblTitle->setFont(QFont(QStringLiteral("Arial Black"), 14));
    lblTitle->Move(1200, 200, 4680, 435);
    lblVersion = new SkinLabel(client);
    lblVersion->Move(1200, 660, 4680, 255);
    SkinLabel1 = new SkinLabel(client, QStringLiteral("The True Meaning Of A Media Player!"));
    SkinLabel1->Move(1200, 960, 4680, 255);

    const struct {
        SkinLabel*& label;
        const char* caption;
    } credits[] = {
        {SkinLabel3, "Written by the tessel developers"},
        {SkinLabel4, "Playback, dialogs, CD audio, ripping and writing"},
        {SkinLabel5, "Web: https://tessel.example.org/"},
        {SkinLabel6, "Mail: developers@tessel.example.org"},
    };
    double top = 1380;
    for (const auto& c : credits) {
        c.label = new SkinLabel(client, QString::fromLatin1(c.caption));
        c.label->Move(240, top, 5640, 255);
        top += 285;
    }

    lblCPUXP00 = new SkinLabel(client, QStringLiteral("CPU Usage - 0%"));
    lblCPUXP00->Move(240, 2640, 2400, 255);
    prgCPUXP00 = new forms::ProgressBar(client);
    prgCPUXP00->Move(240, 2940, 5640, 255);
    prgCPUXP00->setMin(0);
    prgCPUXP00->setMax(100);

    lblCopyright = new SkinLabel(client);
    lblCopyright->Move(240, 3360, 4320, 255);
    lblDescription = new forms::CommandButton(client, QStringLiteral("OK"));
    lblDescription->Move(4680, 3300, 1200, 375);

    tmrCpu = new forms::Timer(this, 1000, true);

    Move(Left(), Top(), 6120, 3900 + (Height() - ScaleHeight()));
}

void frmAbout::Form_Load()
{
    ToolWindowSetup(*this);

    const QString title = QString::fromUtf8(ProgramVersion::Title);
    setCaption(QStringLiteral("About ") + title);
    lblVersion->setCaption(QStringLiteral("Version %1.%2.%3")
                               .arg(ProgramVersion::Major)
                               .arg(ProgramVersion::Minor)
                               .arg(ProgramVersion::Revision));
    lblTitle->setCaption(title);
    lblCopyright->setCaption(QString::fromUtf8(ProgramVersion::Copyright));

    if (query.Open() != sysinfo::CounterStatus::ValidData) {
        // Without the counter only the about box closes; the rest of the program (a recording
        // not yet saved, for one) goes on.
        tmrCpu->setEnabled(false);
        forms::MsgBox(QStringLiteral("OpenQuery failed"));
        QTimer::singleShot(0, this, [this] { Unload(); });
        return;
    }
    AddCounter(QStringLiteral("\\Processor(0)\\% Processor Time"));
    tmrCpu_Timer();
}

void frmAbout::Form_Unload(int& /*cancel*/) { query.Close(); }

void frmAbout::AddCounter(const QString& path)
{
    if (count >= static_cast<int>(counters.size())) return;
    int handle = -1;
    query.AddCounter(path, handle);
    counters[count] = {handle, path};
    ++count;
}

void frmAbout::tmrCpu_Timer()
{
    if (!query.IsOpen() || count == 0) return;
    query.Collect();
    std::int32_t status = 0;
    const double v = query.Value(counters[0].handle, status);
    if (status != sysinfo::CounterStatus::ValidData && status != sysinfo::CounterStatus::NewData) return;
    prgCPUXP00->setValue(static_cast<float>(v));
    lblCPUXP00->setCaption(QStringLiteral("CPU Usage - %1%").arg(static_cast<int>(std::floor(v))));
}

void frmAbout::StartSysInfo()
{
    const QString unrecorded = UnrecordedSysInfoTool();
    const auto unavailable = [] { forms::MsgBox(QStringLiteral("System Information Is Unavailable At This Time")); };
    if (!unrecorded.isEmpty()) {
        if (!QProcess::startDetached(unrecorded, {})) unavailable();
        return;
    }
    QString path;
    if (GetKeyValue(registry::HKEY_LOCAL_MACHINE, SysInfoKey, QStringLiteral("PATH"), path)) {
        if (!QProcess::startDetached(path, {})) unavailable();
        return;
    }
    if (GetKeyValue(registry::HKEY_LOCAL_MACHINE, SysInfoLocationKey, QStringLiteral("MSINFO"), path)) {
        const QString tool = path + QStringLiteral("/MSINFO32.EXE");
        if (QFileInfo(tool).isFile()) {
            if (!QProcess::startDetached(tool, {})) unavailable();
            return;
        }
    }
    unavailable();
}

bool frmAbout::GetKeyValue(registry::Root root, const QString& keyName, const QString& valueName, QString& result)
{
    if (!registry::KeyExists(root, keyName)) {
        result.clear();
        return false;
    }
    const std::optional<QString> value = registry::QueryValue(root, keyName, valueName);
    if (!value) {
        result.clear();
        return false;
    }
    result = *value;
    if (result.endsWith(QChar(0))) result.chop(1);
    return true;
}
