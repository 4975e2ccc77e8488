#ifndef INSTALLATIONFINDER_H
#define INSTALLATIONFINDER_H

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>

// An installation that this machine knows of, and how it was learnt.
struct FoundInstallation {
    enum Origin { Nowhere, EnvironmentVariable, Vswhere, ProgramFolders };

    QString path; // with forward slashes; empty when nothing was found
    Origin origin = Nowhere;
    QString variable; // the environment variable that named it, e.g. "AWP_ROOT242"
};

// The newest Fluent release that an ANSYS installer announced through AWP_ROOT<release>.
FoundInstallation findFluentInstallation();
// The newest "DEM Solutions/EDEM <year>" under the program folders with the coupling library.
FoundInstallation findEdemInstallation();
// The newest Visual Studio in its usual install folders, for machines without vswhere.
FoundInstallation findVisualStudioInProgramFolders();
// The newest installation in vswhere's JSON answer that Kestrune can generate a solution for.
FoundInstallation newestVisualStudioOf(const QByteArray &vswhereOutput);

// Where the Visual Studio installer keeps vswhere.exe; empty when the machine has no such folder.
QString vswherePath();
QStringList vswhereArguments();

// Asks vswhere for the installed Visual Studios without holding up the window: vswhere can take
// seconds, and a hung one is given up after a time limit. Without vswhere, or without an answer,
// the usual install folders are looked at instead. Reports once, through finished().
class VisualStudioSearch : public QObject {
    Q_OBJECT

public:
    explicit VisualStudioSearch(QObject *parent = nullptr);
    ~VisualStudioSearch() override;

    void start();

signals:
    void finished(const FoundInstallation &found);

private:
    void readAnswer(int exitCode, QProcess::ExitStatus exitStatus);
    void giveUpOnVswhere();
    void report(const FoundInstallation &found);

    QProcess vswhere;
    QTimer timeLimit;
    bool reported = false;
};

#endif // INSTALLATIONFINDER_H
