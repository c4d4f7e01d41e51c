#pragma once

namespace cdwriter {

// The image and recording libraries, started once for the whole process: file names are UTF-8
// and the libraries keep their messages to themselves.
class BurnLibrary {
public:
    // Starts the libraries on first use; false when they could not be started.
    static bool Ensure();
};

} // namespace cdwriter
