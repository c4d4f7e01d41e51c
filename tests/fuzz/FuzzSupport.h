#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>

// What every fuzz target shares: a Qt application without a display, a folder of the process's
// own for the files an input becomes, and a wait that keeps the event loop running.
namespace fuzz {

// A path in the process's scratch folder.
QString ScratchFile(const QString& name);
// Writes the input to the scratch file of that name and returns its path.
QString WriteInput(const QString& name, const std::uint8_t* data, std::size_t size);
// Delivers events until done() holds.
void WaitFor(const std::function<bool()>& done);
// Ends the process with a message when a target finds the code broke a promise it makes; the
// fuzzing engine keeps the input that did it.
[[noreturn]] void Broken(const char* what);

} // namespace fuzz

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
