#include "dialogs/Sheller.h"

#include "platform/shell/ShellExecute.h"

namespace Sheller {

bool ShellOpen(const QString& target, const QString& operation, const QString& parameters, const QString& directory,
    int showCommand)
{
    // Results up to 32 are the platform's error numbers.
    return shell::ShellExecute(operation, target, parameters, directory, showCommand) > 32;
}

} // namespace Sheller
