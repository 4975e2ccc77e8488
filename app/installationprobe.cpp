#include "installationprobe.h"

#include "kestrune.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

const char vcvars64Path[] = "VC/Auxiliary/Build/vcvars64.bat";
const char edemCouplingLibraryPath[] = "lib/EDEMCouplingClient4.lib";

namespace {
const char edemCouplingIncludes[] = "src/Api/Coupling";
const char edemCoreIncludes[] = "src/Api/Core";

// The mark's texts belong to the window, which shows them.
QString text(const char *source)
{
    return QCoreApplication::translate("MainWindow", source);
}

QString withForwardSlashes(QString path)
{
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

// Windows users read paths with backslashes, as the fields show them.
QString shown(QString path)
{
    return path.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

InstallationState found(const QString &mark, const QString &details)
{
    return { true, mark, details };
}

InstallationState missing(const QStringList &items)
{
    return { false, QStringLiteral("✗"), text("缺少：") + QLatin1Char('\n') + items.join('\n') };
}

InstallationState notGiven()
{
    return { false, QStringLiteral("✗"), text("未填写路径") };
}
} // namespace

InstallationState fluentInstallationState(const QString &fluentPath)
{
    const QString path = withForwardSlashes(fluentPath);
    if (path.isEmpty())
        return notGiven();
    const QString makefile = CKestrune::fluentMakefilePath(path);
    const QString inInstallation = shown(makefile.mid(path.size() + 1));
    if (!QFileInfo(makefile).isFile())
        return missing({ inInstallation });
    const QString release = CKestrune::fluentRelease(path).second;
    return found(
        QStringLiteral("✓ ") + release, text("找到 %1（Fluent %2）").arg(inInstallation, release));
}

InstallationState visualStudioInstallationState(const QString &vsPath)
{
    const QString path = withForwardSlashes(vsPath);
    if (path.isEmpty())
        return notGiven();
    const QString generator = CKestrune::visualStudioGenerator(path);
    QStringList absent;
    if (!QFileInfo(path + QLatin1Char('/') + QLatin1String(vcvars64Path)).isFile())
        absent.append(shown(QLatin1String(vcvars64Path)));
    if (generator.isEmpty())
        absent.append(text("路径中的 Visual Studio 版本（2017、2019、2022、2026 或 18）"));
    if (!absent.isEmpty())
        return missing(absent);
    // The generator's last word is the product year: "Visual Studio 18 2026".
    return found(QStringLiteral("✓ VS ") + generator.section(QLatin1Char(' '), -1),
        text("找到 %1，CMake 生成器 %2").arg(shown(QLatin1String(vcvars64Path)), generator));
}

InstallationState edemInstallationState(const QString &edemPath)
{
    const QString path = withForwardSlashes(edemPath);
    if (path.isEmpty())
        return notGiven();
    QStringList absent;
    for (const char *folder : { edemCouplingIncludes, edemCoreIncludes }) {
        if (!QFileInfo(path + QLatin1Char('/') + QLatin1String(folder)).isDir())
            absent.append(shown(QLatin1String(folder)));
    }
    if (!QFileInfo(path + QLatin1Char('/') + QLatin1String(edemCouplingLibraryPath)).isFile())
        absent.append(shown(QLatin1String(edemCouplingLibraryPath)));
    if (!absent.isEmpty())
        return missing(absent);
    return found(QStringLiteral("✓"),
        text("找到 %1、%2 与 %3")
            .arg(shown(QLatin1String(edemCouplingIncludes)), shown(QLatin1String(edemCoreIncludes)),
                shown(QLatin1String(edemCouplingLibraryPath))));
}
