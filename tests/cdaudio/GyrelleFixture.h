#pragma once

#include "platform/dispatch/Dispatch.h"
#include "tests/support/ScriptedUser.h"
#include "tests/support/TempDir.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// Texts print as text in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

// Registers the audio CD control with the registration tool, points the drive at a fresh disc
// image of three tracks (3, 4 and 2 seconds) and records every media command sent.
class GyrelleFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the control by its ProgID.
    std::unique_ptr<dispatch::IDispatch> CreateControl();
    // The commands sent since the last call.
    QStringList TakeCommands();
    // Points the drive at a path where no disc image is.
    void UseEmptyDrive();

    TempDir dir_;
    QString cue_;
    ScriptedUser user_;
    QStringList commands_;
};
