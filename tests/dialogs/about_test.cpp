#include "ProgramVersion.h"
#include "dialogs/frmAbout.h"
#include "engine/Docking.h"
#include "tests/support/Patience.h"
#include "tests/support/ScriptedUser.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>
#include <atomic>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sched.h>
#include <thread>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace {

// Processor statistics with the given busy and idle ticks for the whole machine and for the
// first two processors.
QByteArray Stat(int totalBusy, int totalIdle, int cpu0Busy, int cpu0Idle, int cpu1Busy, int cpu1Idle)
{
    const auto line = [](const char* name, int busy, int idle) {
        // user nice system idle iowait irq softirq steal guest guest_nice
        return QStringLiteral("%1 %2 0 %3 %4 0 0 0 0 0 0\n")
            .arg(name)
            .arg(busy / 2)
            .arg(busy - busy / 2)
            .arg(idle)
            .toLatin1();
    };
    return line("cpu", totalBusy, totalIdle) + line("cpu0", cpu0Busy, cpu0Idle) + line("cpu1", cpu1Busy, cpu1Idle)
        + "intr 1 2 3\nctxt 42\n";
}

class AboutTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        sysinfo::ProcessorQuery::SetStatFile(QStringLiteral("/proc/stat"));
        if (auto* w = forms::Instances::Existing<frmAbout>()) w->Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    frmAbout& Open()
    {
        auto& w = forms::Instance<frmAbout>();
        w.Show();
        return w;
    }

    TempDir dir_;
    ScriptedUser user_;
};

} // namespace

TEST_F(AboutTest, ShowsTheProgramsVersionInformationAndAnEmptyMeterAtFirst)
{
    frmAbout& w = Open();
    EXPECT_EQ(w.Caption(), QStringLiteral("About tessel"));
    EXPECT_EQ(w.lblTitle->Caption(), QStringLiteral("tessel"));
    EXPECT_EQ(w.lblVersion->Caption(), QStringLiteral("Version 1.0.0"));
    EXPECT_EQ(w.lblCopyright->Caption(), QString::fromUtf8(ProgramVersion::Copyright));
    EXPECT_FALSE(w.lblCopyright->Caption().isEmpty());
    EXPECT_EQ(w.SkinLabel1->Caption(), QStringLiteral("The True Meaning Of A Media Player!"));
    EXPECT_EQ(w.lblCPUXP00->Caption(), QStringLiteral("CPU Usage - 0%"))
        << "the first sample has nothing to compare with";
    EXPECT_EQ(w.prgCPUXP00->Value(), 0);
    EXPECT_TRUE(w.tmrCpu->Enabled());
    EXPECT_EQ(w.tmrCpu->Interval(), 1000);
    EXPECT_EQ(w.count, 1);
    EXPECT_EQ(w.counters[0].path, QStringLiteral("\\Processor(0)\\% Processor Time"));
    EXPECT_TRUE(Docking::IsAttached(&w));

    QTest::mouseClick(w.lblDescription, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(forms::Instances::Exists<frmAbout>());
}

TEST_F(AboutTest, TheMeterShowsTheFirstProcessorsShareOfBusyTime)
{
    const QString stat = dir_.file("stat");
    Write(stat, Stat(1000, 1000, 100, 900, 900, 100));
    sysinfo::ProcessorQuery::SetStatFile(stat);
    frmAbout& w = Open();
    w.tmrCpu->setEnabled(false);
    EXPECT_EQ(w.lblCPUXP00->Caption(), QStringLiteral("CPU Usage - 0%"));

    // 379 of 1000 ticks busy on the first processor, all of them on the second.
    Write(stat, Stat(2379, 1621, 479, 1521, 1900, 100));
    w.tmrCpu_Timer();
    EXPECT_EQ(w.lblCPUXP00->Caption(), QStringLiteral("CPU Usage - 37%"));
    EXPECT_FLOAT_EQ(w.prgCPUXP00->Value(), 37.9f) << "the bar shows the load itself, not a rounded one";

    // A sample in which no time passed is no valid data: the display keeps its value.
    w.tmrCpu_Timer();
    EXPECT_EQ(w.lblCPUXP00->Caption(), QStringLiteral("CPU Usage - 37%"));
    Write(stat, Stat(2379, 2621, 479, 2521, 1900, 100));
    w.tmrCpu_Timer();
    EXPECT_EQ(w.lblCPUXP00->Caption(), QStringLiteral("CPU Usage - 0%"));
}

TEST_F(AboutTest, ALoadedFirstProcessorShowsOnTheMeter)
{
    cpu_set_t allowed;
    ASSERT_EQ(sched_getaffinity(0, sizeof allowed, &allowed), 0);
    if (!CPU_ISSET(0, &allowed)) GTEST_SKIP() << "this test may not run on the first processor";

    std::atomic<bool> stop {false};
    std::thread spinner([&] {
        cpu_set_t first;
        CPU_ZERO(&first);
        CPU_SET(0, &first);
        pthread_setaffinity_np(pthread_self(), sizeof first, &first);
        volatile unsigned long n = 0;
        while (!stop.load(std::memory_order_relaxed))
            n = n + 1;
    });
    frmAbout& w = Open();
    const auto load = [&] {
        const QString caption = w.lblCPUXP00->Caption();
        return caption.mid(12).chopped(1).toInt();
    };
    const bool loaded = QTest::qWaitFor([&] { return load() >= 50; }, 30000);
    stop = true;
    spinner.join();
    EXPECT_TRUE(loaded) << w.lblCPUXP00->Caption().toStdString();
    EXPECT_TRUE(w.lblCPUXP00->Caption().startsWith(QStringLiteral("CPU Usage - ")));
    EXPECT_GE(w.prgCPUXP00->Value(), 50);
}

TEST_F(AboutTest, WithoutTheCounterOnlyTheAboutBoxCloses)
{
    sysinfo::ProcessorQuery::SetStatFile(dir_.file("no such stat"));
    frmAbout& w = Open();
    ASSERT_EQ(user_.Boxes().size(), 1u);
    EXPECT_EQ(user_.Boxes()[0].prompt, QStringLiteral("OpenQuery failed"));
    EXPECT_EQ(user_.Boxes()[0].style, 0);
    EXPECT_FALSE(w.tmrCpu->Enabled());
    EXPECT_TRUE(QTest::qWaitFor([] { return !forms::Instances::Exists<frmAbout>(); }, Patience));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(forms::Form::ProgramEnded());
}

TEST_F(AboutTest, StartSysInfoStartsTheToolItsRegistryEntryNames)
{
    frmAbout& w = Open();
    const QString key = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
    registry::DeleteKey(registry::HKEY_LOCAL_MACHINE, key);

    // No tool recorded and none installed (nothing on the search path).
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", dir_.path().toLocal8Bit());
    w.StartSysInfo();
    qputenv("PATH", path);
    ASSERT_EQ(user_.Boxes().size(), 1u);
    EXPECT_EQ(user_.Boxes()[0].prompt, QStringLiteral("System Information Is Unavailable At This Time"));

    const QString tool = dir_.file("sysinfo tool");
    const QString marker = dir_.file("started");
    Write(tool, ("#!/bin/sh\ntouch '" + marker + "'\n").toUtf8());
    QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    registry::SetValue(registry::HKEY_LOCAL_MACHINE, key, QStringLiteral("PATH"), tool);
    w.StartSysInfo();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, 10000));
    EXPECT_EQ(user_.Boxes().size(), 1u);

    QString result = QStringLiteral("before");
    registry::SetValue(registry::HKEY_LOCAL_MACHINE, key, QStringLiteral("Number"), QStringLiteral("258"));
    EXPECT_TRUE(w.GetKeyValue(registry::HKEY_LOCAL_MACHINE, key, QStringLiteral("Number"), result));
    EXPECT_EQ(result, QStringLiteral("258"));
    EXPECT_FALSE(w.GetKeyValue(registry::HKEY_LOCAL_MACHINE, key, QStringLiteral("Missing"), result));
    EXPECT_EQ(result, QString());
    registry::DeleteKey(registry::HKEY_LOCAL_MACHINE, key);
}

TEST(ProcessorQuery, NamesProcessorsOrAllOfThemAndNothingElse)
{
    sysinfo::ProcessorQuery query;
    ASSERT_EQ(query.Open(), sysinfo::CounterStatus::ValidData);
    int handle = -1;
    EXPECT_EQ(query.AddCounter(QStringLiteral("\\Processor(_Total)\\% Processor Time"), handle), 0);
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(
        query.AddCounter(QStringLiteral("\\Memory\\Available Bytes"), handle), sysinfo::CounterStatus::BadCounterPath);
    EXPECT_EQ(query.AddCounter(QStringLiteral("\\Processor(4096)\\% Processor Time"), handle), 0);
    query.Collect();
    std::int32_t status = 0;
    query.Value(0, status);
    EXPECT_EQ(status, sysinfo::CounterStatus::InvalidData);
    query.Value(1, status);
    EXPECT_EQ(status, sysinfo::CounterStatus::NoInstance);
}
