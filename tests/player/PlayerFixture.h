#pragma once

#include "tests/support/TestFiles.h"

#include "platform/files/ProgramFolder.h"
#include "player/frmPlayer.h"
#include "tests/support/ScriptedUser.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <gtest/gtest.h>

// A player window on a clean program folder, with a scripted user for its message boxes.
class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir folder(files::ProgramFolder());
        for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden))
            if (name != QLatin1String("instance.lock")) folder.remove(name);
        // The player has run before; tests of the first run remove this file.
        Write(Program("First.ini"), "\"01/01/2026 12:00:00\"\r\n");
    }

    void TearDown() override
    {
        if (player_) delete player_;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A loaded player, as the program starts it with the command line.
    frmPlayer& Start(const QString& commandLine = {})
    {
        player_ = new frmPlayer;
        player_->setCommandLine(commandLine);
        player_->Load();
        return *player_;
    }

    // Ends the player through its Unload handler.
    void Exit()
    {
        player_->Unload();
        player_ = nullptr;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static QString Program(const QString& name) { return files::ProgramFile(name); }

    static QStringList Rows(const forms::ComboBox& list)
    {
        QStringList rows;
        for (int i = 0; i < list.ListCount(); ++i)
            rows << list.List(i);
        return rows;
    }

    ScriptedUser user_;
    frmPlayer* player_ = nullptr;
};
