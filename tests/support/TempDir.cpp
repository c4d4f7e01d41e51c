#include "tests/support/TempDir.h"

TempDir::TempDir()
    : dir_(QDir::tempPath() + QStringLiteral("/tessel-test-XXXXXX"))
{
}
