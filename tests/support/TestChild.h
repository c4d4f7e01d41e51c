#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <memory>

// This test program started again to run one test in a process of its own, one that a test can
// kill at any point. The child test reads its argument with TestChildArgument() and skips when
// there is none, as it does when the whole program runs.
inline std::unique_ptr<QProcess> StartTestChild(const QString& filter, const QString& argument)
{
    auto child = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TESSEL_TEST_CHILD_ARGUMENT"), argument);
    child->setProcessEnvironment(env);
    child->start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + filter});
    return child;
}

inline QString TestChildArgument() { return qEnvironmentVariable("TESSEL_TEST_CHILD_ARGUMENT"); }
