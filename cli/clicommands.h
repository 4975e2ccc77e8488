#ifndef CLICOMMANDS_H
#define CLICOMMANDS_H

struct CliOptions;

// The command line's commands. Each returns the exit status: 0 when the work was done, 1 when it
// failed (the reason on standard error).
int runCreate(const CliOptions &options);
int runRefresh(const CliOptions &options);
int runWatch(const CliOptions &options);
int runBuild(const CliOptions &options);

#endif // CLICOMMANDS_H
