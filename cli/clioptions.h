#ifndef CLIOPTIONS_H
#define CLIOPTIONS_H

#include <QString>
#include <QStringList>

// What the command line asks for. Options absent from it stay empty; the command fills them with
// the window's defaults.
struct CliOptions {
    enum class Command { Help, Version, Create, Refresh, Watch, Build };
    Command command = Command::Help;
    // create
    QString projectFolder;
    QString type; // udf, euler, dpm
    QString dimension; // 3d, 2d
    QString precision; // double, single
    QString mode; // parallel, serial
    QString fluentPath;
    QString vsPath;
    QString edemPath;
    bool regenerate = false;
    QStringList files;
    // refresh, watch, build
    QString root;
    QString configuration; // Debug, Release
    QString caseFolder;
};

// Reads the arguments after the program name. On a usage error returns false with the message.
bool parseCliOptions(const QStringList &arguments, CliOptions &options, QString &error);
QString cliUsage();

#endif // CLIOPTIONS_H
