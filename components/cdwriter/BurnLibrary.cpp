#include "components/cdwriter/BurnLibrary.h"

#include "components/cdwriter/JobThread.h"
#include "components/cdwriter/Libraries.h"

#include <cstdlib>
#include <mutex>

namespace cdwriter {

namespace {

bool Start()
{
    char message[1024] = "";
    if (!isoburn_initialize(message, 0)) return false;
    iso_set_local_charset(const_cast<char*>("UTF-8"), 0);
    // Failures reach the program through the calls' results, never on the terminal.
    burn_msgs_set_severities(const_cast<char*>("NEVER"), const_cast<char*>("NEVER"), const_cast<char*>("cdwriter"));
    iso_set_msgs_severities(const_cast<char*>("NEVER"), const_cast<char*>("NEVER"), const_cast<char*>("cdwriter"));
    // A file that cannot be read while an image is written fails the write rather than leaving
    // a hole of zeros in the image.
    iso_set_abort_severity(const_cast<char*>("SORRY"));
    // libburn.h, burn_finish: every drive is released before the library is shut down. A job still
    // running when the process ends holds one, and threads of the libraries run for it.
    std::atexit([] {
        JobThread::StopAll();
        isoburn_finish();
    });
    return true;
}

} // namespace

bool BurnLibrary::Ensure()
{
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] { started = Start(); });
    return started;
}

} // namespace cdwriter
