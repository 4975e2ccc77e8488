#ifndef WINELOADER_H
#define WINELOADER_H

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

// Runs Kestrune's UDF loader (udfloader.exe, a Windows program) under Wine, headless, on a built
// libudf.dll: what it prints is the release and the function table Fluent would read from it.
class WineLoader {
public:
    struct Listing {
        int status = -1;
        QString output;
        QString errors;
    };

    WineLoader(const QString &loader, const QString &prefix) : loader(loader), prefix(prefix)
    {
        wine = QStringLiteral("/usr/lib/wine/wine64");
        if (!QFileInfo(wine).isExecutable())
            wine = QStandardPaths::findExecutable(QStringLiteral("wine64"));
        if (wine.isEmpty())
            wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    }

    // Empty when Wine runs here; otherwise why not.
    QString unavailableReason() const
    {
        if (wine.isEmpty())
            return QStringLiteral("Wine is not available: no /usr/lib/wine/wine64, wine64 or wine");
        QProcess probe;
        probe.setProcessEnvironment(environment({}));
        probe.start(wine, { QStringLiteral("--version") });
        if (!probe.waitForFinished(20000) || probe.exitStatus() != QProcess::NormalExit
            || probe.exitCode() != 0)
            return QStringLiteral("Wine is not available: %1 --version does not run (%2)")
                .arg(wine, probe.errorString());
        return QString();
    }

    // Wine sees the host's files on drive Z:.
    static QString windowsPath(QString hostPath)
    {
        return QStringLiteral("Z:") + hostPath.replace(QLatin1Char('/'), QLatin1Char('\\'));
    }

    // Loads the library with the given folders on the DLL search path, as Fluent's own program
    // folders are. The first run in a new prefix makes the prefix, which takes a while.
    Listing list(const QString &library, const QStringList &dllFolders) const
    {
        QProcess process;
        process.setProcessEnvironment(environment(dllFolders));
        process.start(wine, { loader, windowsPath(library) });
        Listing listing;
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
            listing.errors = QStringLiteral("wine did not finish: ") + process.errorString();
            process.kill();
            process.waitForFinished(5000);
            return listing;
        }
        listing.status = process.exitCode();
        listing.output = QString::fromUtf8(process.readAllStandardOutput());
        listing.errors = QString::fromUtf8(process.readAllStandardError());
        return listing;
    }

private:
    QProcessEnvironment environment(const QStringList &dllFolders) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("WINEPREFIX"), prefix);
        environment.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
        // A new prefix would otherwise offer to install Mono and Gecko, in dialogs nobody answers,
        // and write menu entries below the user's home folder.
        environment.insert(QStringLiteral("WINEDLLOVERRIDES"),
            QStringLiteral("mscoree,mshtml,winemenubuilder.exe="));
        // Wine turns the arguments into UTF-16 through the locale: Chinese paths need UTF-8 here.
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        environment.remove(QStringLiteral("DISPLAY"));
        QStringList folders;
        for (const QString &folder : dllFolders)
            folders << windowsPath(folder);
        environment.insert(QStringLiteral("WINEPATH"), folders.join(QLatin1Char(';')));
        return environment;
    }

    QString wine;
    QString loader;
    QString prefix;
};

#endif // WINELOADER_H
