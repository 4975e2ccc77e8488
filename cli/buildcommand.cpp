#include "clicommands.h"

#include "clioptions.h"
#include "console.h"

int runBuild(const CliOptions &)
{
    Console::errorLine(QStringLiteral("kestrune-cli: build is not available yet"));
    return 1;
}
