#ifndef MSBUILD_MSBUILDCOMMAND_H
#define MSBUILD_MSBUILDCOMMAND_H

#include <QString>
#include <QStringList>

// What MSBuild.exe was asked to do, from the switches a build of a solution uses.
struct MSBuildCommand {
    QString solution;
    QString configuration; // empty: the solution's first
    QString platform;
    bool summary = true; // /clp:NoSummary turns it off
    bool quiet = false; // /v:quiet prints diagnostics only
};

// Reads `MSBuild.exe <solution> /p:Configuration=<c> /p:Platform=<p> /m /nologo /v:<v> /clp:<p>`:
// switches with "/" or "-", in any letter case, "/property:" for "/p:", several properties in one
// switch separated by ";". On this host a solution's path starts with "/" as well; it is told
// apart by its extension. False with MSBuild's message when the line cannot be a build.
bool parseMSBuildCommand(const QStringList &arguments, MSBuildCommand &command, QString &error);

#endif // MSBUILD_MSBUILDCOMMAND_H
