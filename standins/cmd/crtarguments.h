#ifndef CRTARGUMENTS_H
#define CRTARGUMENTS_H

#include <QStringList>

// Splits the text after a program name into arguments the way the Microsoft C runtime builds argv
// for a Windows program: blanks and tabs separate, double quotes group and are removed, "" inside a
// quoted region is one literal quote, and backslashes count only in front of a double quote.
QStringList splitCrtArguments(const QString &commandLine);

#endif // CRTARGUMENTS_H
