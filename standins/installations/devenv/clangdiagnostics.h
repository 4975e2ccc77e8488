#ifndef DEVENV_CLANGDIAGNOSTICS_H
#define DEVENV_CLANGDIAGNOSTICS_H

#include <QString>

// A message of clang-cl, "file(line,col): error: text", with the code cl gives the same fault.
struct ClangDiagnostic {
    QString location; // "file(line,col)"
    QString category; // "error", "fatal error", "warning" or "note"
    QString code; // cl's code; empty for a note
    QString text;
};

// False, with an empty category, when the line is no diagnostic: a source line clang quotes, its
// caret, "1 error generated.".
bool readClangDiagnostic(const QString &line, ClangDiagnostic &out);

// cl's code for the fault clang describes. Faults without a counterpart here get cl's codes for an
// unknown error and warning, C2000 and C4000; a fatal error without one gets C1001.
QString msvcCode(const QString &category, const QString &text);

#endif // DEVENV_CLANGDIAGNOSTICS_H
