#ifndef MSBUILDDIAGNOSTICS_H
#define MSBUILDDIAGNOSTICS_H

#include <QList>
#include <QString>

// One error or warning of a build, as MSBuild and the tools it runs print them:
//
//   origin(position): [subcategory] category code: text [project]
//
// The origin is a file, or a tool ("LINK", "MSBUILD", "cl") when the message concerns no file.
struct BuildDiagnostic {
    enum class Severity { Error, Warning };
    Severity severity = Severity::Error;
    QString file; // as printed; empty when the origin is a tool
    QString tool; // the origin when it is no file, such as "LINK"
    int line = 0; // 0 when the message gives none
    int column = 0;
    QString code; // "C2065", "LNK1104", "MSB3073"; empty when the tool gave none
    QString text;
    QString project; // the project file MSBuild named in brackets, as printed
    QString variant; // the project file's base name: "3ddp_host"
    QString printedLine; // the line as the tool printed it, without indent or project number
};

namespace MSBuildDiagnostics {

// False when the line is no diagnostic (a progress line, a summary count, a line of source).
bool parseLine(const QString &line, BuildDiagnostic &out);
// Every diagnostic of a build's output once, in the order first printed: MSBuild repeats each in
// its summary at the end.
QList<BuildDiagnostic> parse(const QString &output);

} // namespace MSBuildDiagnostics

#endif // MSBUILDDIAGNOSTICS_H
