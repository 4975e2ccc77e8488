#ifndef UDFSCANNER_H
#define UDFSCANNER_H

#include <QByteArray>
#include <QStringList>

// The definition heads of one source text, as the compiler sees it: comments removed, literals
// skipped, each head from "DEFINE_" through the first ")" after it. The text may be UTF-8, GBK or
// UTF-16 (see sourceencoding.h); the heads are the same in each.
QStringList scanUdfDefinitions(const QByteArray &content);

#endif // UDFSCANNER_H
