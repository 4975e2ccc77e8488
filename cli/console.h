#ifndef CONSOLE_H
#define CONSOLE_H

#include <QString>

// Standard output and error of the command line, each write flushed at once so that a script
// reading the output sees every line as it is printed.
namespace Console {

void out(const QString &text);
void outLine(const QString &line);
void errorLine(const QString &line);

} // namespace Console

#endif // CONSOLE_H
