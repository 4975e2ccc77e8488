#ifndef CLICOMMANDS_H
#define CLICOMMANDS_H

class CKestrune;
class QString;
struct CliOptions;

// The command line's commands. Each returns the exit status: 0 when the work was done, 1 when it
// failed (the reason on standard error).
int runCreate(const CliOptions &options);
int runRefresh(const CliOptions &options);
int runWatch(const CliOptions &options);
int runBuild(const CliOptions &options);

// The build root's record read and its sources watched; false, with the reason on standard
// error, when the folder holds no recorded build.
bool resumeBuildRoot(CKestrune &engine, const QString &folder);

#endif // CLICOMMANDS_H
