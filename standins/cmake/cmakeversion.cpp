#include "cmakeversion.h"

namespace {

// The emulation writes what CMake 4.2 writes for "Visual Studio 18 2026", its newest generator.
const char defaultVersion[] = "4.2.0";
const char versionVariable[] = "KESTRUNE_STANDIN_CMAKE_VERSION";

} // namespace

QVersionNumber actedCMakeVersion(QString &error)
{
    const QString text = qEnvironmentVariable(versionVariable, QString::fromLatin1(defaultVersion));
    qsizetype end = 0;
    const QVersionNumber version = QVersionNumber::fromString(text, &end);
    if (version.segmentCount() < 2 || end != text.size()) {
        error = QStringLiteral("%1=\"%2\" is not a CMake version such as %3")
                    .arg(QLatin1String(versionVariable), text, QLatin1String(defaultVersion));
        return QVersionNumber();
    }
    return version;
}

QByteArray versionText(const QVersionNumber &version)
{
    QVersionNumber full = version;
    while (full.segmentCount() < 3)
        full = QVersionNumber(full.segments() << 0);
    return "cmake version " + full.toString().toUtf8()
        + "\n\nCMake suite maintained and supported by Kitware (kitware.com/cmake).\n";
}
