#pragma once

#include "components/skin/Skin.h"
#include "platform/dispatch/Dispatch.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/Menu.h"
#include "platform/forms/ProgressBar.h"
#include "platform/forms/Timer.h"

#include <functional>
#include <memory>

// The audio CD player window. It hosts the audio CD control, created by its ProgID, and turns its
// buttons, tray menu and one-second timer into dispatch calls on it; it sends no media commands
// itself.
class frmGyrelle : public forms::Form {
    Q_OBJECT
public:
    frmGyrelle();
    ~frmGyrelle() override;

    forms::CommandButton* Command1; // play
    forms::CommandButton* Command2; // previous track
    forms::CommandButton* Command3; // rewind while held
    forms::CommandButton* Command4; // fast forward while held
    forms::CommandButton* Command5; // next track
    forms::CommandButton* Command6; // pause
    forms::CommandButton* Command7; // stop
    forms::CommandButton* Command8; // tray menu
    forms::CommandButton* cmdGoToTrack;
    forms::TextBox* txtGoToTrack;
    SkinLabel* Label1;
    SkinLabel* Label2;
    forms::ProgressBar* HScroll1;
    forms::Timer* Timer1;
    forms::Timer* tmrFF;
    forms::Timer* tmrRew;
    forms::MenuItem* TrayMenu;
    forms::MenuItem* OpenMenu;
    forms::MenuItem* CloseMenu;

    // The hosted control; null when it could not be created.
    std::unique_ptr<dispatch::IDispatch> Gyrelle1;

    bool fInitiated = false;
    bool fUserStopped = false;

    // The display refresh and automatic play of every second.
    void Timer1_Timer();

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void Form_Terminate() override;

private:
    void CreateControls();
    void WireHandlers();
    void CloseDown();
    // Runs one handler's dispatch calls; an error they raise ends the handler, not the program.
    bool Guarded(const std::function<void()>& handler);
    dispatch::Variant Get(dispatch::DispId id);
    void Call(dispatch::DispId id, std::vector<dispatch::Variant> args = {});
};
