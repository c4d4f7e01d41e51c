#pragma once

#include <QString>

namespace files {

// A blank-free name for a path, for commands that split their words at blanks. A path without
// blanks is its own short name. Otherwise the file gets a blank-free name in its folder (its
// blanks taken out and "~1", "~2", ... added before the extension, so that no existing file is
// named; the extension stays as it is), and a folder on the path with a blank is reached through
// a link to it in a blank-free folder of the user's own. The file itself need not exist; writing
// to the short name writes into the real folder, and renaming the short name to the path moves
// the file to its real name. Empty when no short name can be made.
QString ShortPathName(const QString& path);

} // namespace files
