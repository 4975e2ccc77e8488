#ifndef STANDIN_COMMANDLINE_H
#define STANDIN_COMMANDLINE_H

#include <QString>
#include <QStringList>
#include <QVersionNumber>

// What differs between the Visual Studio generators that the stand-in emulates.
struct VsGenerator {
    QString name; // "Visual Studio 16 2019"
    QVersionNumber since; // the first CMake release that has it
    bool slnx = false; // XML solutions (.slnx) in place of .sln files
    QString slnVersionLine; // third line of every .sln
    QString toolsVersion;
    QString platformToolset;
    QString defaultPlatform;
    bool preferredToolArchitecture = false;
    bool utf8Encoding = false; // the CustomBuild <UseUtf8Encoding> element
};

// The cmake command line as far as the stand-in needs it.
struct CommandLine {
    QString sourceDir;
    QString binaryDir;
    QString generator;
    QString platform; // -A, empty when not given
    QStringList passOn; // -D, -U and the like, handed to the real configure
    bool hasGenerator = false;
};

CommandLine parseCommandLine(const QStringList &arguments);

// True for the generators the stand-in writes; false for every other name.
bool findVsGenerator(const QString &name, VsGenerator &generator);

#endif // STANDIN_COMMANDLINE_H
