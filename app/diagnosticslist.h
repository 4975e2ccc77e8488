#ifndef DIAGNOSTICSLIST_H
#define DIAGNOSTICSLIST_H

#include "msbuilddiagnostics.h"

#include <QTreeWidget>

// The errors and warnings of the last build, one row each: severity, file, line, code, text and
// variant. Activating a row (a double-click, Enter) asks for its file to be opened at its line.
class DiagnosticsList : public QTreeWidget {
    Q_OBJECT

public:
    explicit DiagnosticsList(QWidget *parent = nullptr);

    void showDiagnostics(const QList<BuildDiagnostic> &diagnostics);

signals:
    void openRequested(const QString &file, int line);
};

#endif // DIAGNOSTICSLIST_H
