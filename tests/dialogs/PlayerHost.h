#pragma once

#include "engine/Media.h"
#include "platform/forms/Form.h"
#include "player/frmPlayer.h"
#include "tests/support/Patience.h"
#include "tests/support/ScriptedUser.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTest>
#include <gtest/gtest.h>

// The program's player window, not loaded, as the windows it opens find it; message boxes go to
// a scripted user. Windows the test opened are unloaded afterwards.
class PlayerHostTest : public ::testing::Test {
protected:
    void SetUp() override { player = &forms::Instance<frmPlayer>(); }

    void TearDown() override
    {
        for (forms::Form* form : forms::Instances::All())
            if (form != player) form->Unload();
        player->Media1->closeMovie();
        forms::Instances::Forget(player);
        delete player;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Appends a row and opens it, as choosing it in the playlist does.
    void Play(const QString& row)
    {
        player->lstPlaylist->AddItem(row);
        player->lstPlaylist->setListIndex(player->lstPlaylist->ListCount() - 1);
    }

    static void Choose(forms::MenuItem* item) { item->Action()->trigger(); }
    static bool WaitFor(const std::function<bool()>& condition, int ms = Patience)
    {
        return QTest::qWaitFor(condition, ms);
    }

    ScriptedUser user;
    frmPlayer* player = nullptr;
};
