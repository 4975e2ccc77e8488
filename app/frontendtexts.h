#ifndef FRONTENDTEXTS_H
#define FRONTENDTEXTS_H

#include <QCoreApplication>
#include <QString>

// The front ends' own texts, each translated in the context its translations are kept under: the
// window's messages, the log's lines, the command line's messages.
inline QString windowText(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

inline QString logPaneText(const char *text)
{
    return QCoreApplication::translate("LogPane", text);
}

inline QString cliText(const char *text)
{
    return QCoreApplication::translate("kestrune-cli", text);
}

#endif // FRONTENDTEXTS_H
