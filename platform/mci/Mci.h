#pragma once

#include "platform/mci/Errors.h"

#include <functional>
#include <string_view>

// The media command-string interface: every device of the process (files, audio CDs, recording)
// is driven by text commands such as
//     open "/music/a.mp3" type MPEGVideo alias music
//     status music position
//     close all
// One device table serves the whole process, whichever library sends the command.
namespace mci {

// Sends one command. reply (may be null) is the caller's reply area of replyLength characters;
// a query writes its answer there, ended by a NUL, and an answer too long for the area is cut to
// it and reported as Err::ParamOverflow. A failing command writes nothing into the area. Returns
// 0 on success, else an error code whose text ErrorText gives.
unsigned SendString(std::string_view command, char* reply = nullptr, unsigned replyLength = 0);

// Test hook: the observer sees every command string as sent, before it runs. Pass an empty
// function to stop observing.
using CommandObserver = std::function<void(std::string_view command)>;
void SetCommandObserver(CommandObserver observer);

} // namespace mci
