#include "customrules.h"

#include "vsformat.h"

namespace {

// The wrapper Visual Studio runs a rule in; the error level survives "endlocal" this way.
QString ruleScript(const QString &commandLine)
{
    return QStringLiteral("setlocal\n") + commandLine
        + QStringLiteral("\nif %errorlevel% neq 0 goto :cmEnd\n"
                         ":cmEnd\n"
                         "endlocal & call :cmErrorLevel %errorlevel% & goto :cmDone\n"
                         ":cmErrorLevel\n"
                         "exit /b %1\n"
                         ":cmDone\n"
                         "if %errorlevel% neq 0 goto :VCEnd");
}

QString rerunCommand(const Emulation &emulation, const QStringList &options)
{
    QStringList words { shellArgument(backslashed(emulation.cmakeCommand)),
        shellArgument(QStringLiteral("-S") + emulation.model.sourceDir),
        shellArgument(QStringLiteral("-B") + emulation.model.binaryDir) };
    for (const QString &option : options)
        words << shellArgument(option);
    return ruleScript(words.join(QLatin1Char(' ')));
}

} // namespace

CustomRule listFileRule(const Emulation &emulation, int directory)
{
    const Directory &dir = emulation.model.directories.at(directory);
    CustomRule rule;
    rule.source = dir.sourceDir + QStringLiteral("/CMakeLists.txt");
    rule.message = QStringLiteral("Building Custom Rule ") + rule.source;
    rule.command = rerunCommand(
        emulation, { QStringLiteral("--check-stamp-file"), emulation.stampFile(directory) });
    rule.inputs = dir.listFiles;
    rule.inputs.removeAll(rule.source);
    rule.outputs << emulation.stampFile(directory);
    return rule;
}

CustomRule zeroCheckRule(const Emulation &emulation)
{
    CustomRule rule;
    rule.source = emulation.ruleFile();
    rule.message = QStringLiteral("Checking Build System");
    rule.command = rerunCommand(emulation,
        { QStringLiteral("--check-stamp-list"), QStringLiteral("CMakeFiles/generate.stamp.list"),
            QStringLiteral("--vs-solution-file"), emulation.topSolutionPath() });
    for (int i = 0; i < emulation.model.directories.size(); ++i) {
        rule.inputs << emulation.model.directories.at(i).listFiles;
        rule.outputs << emulation.stampFile(i);
    }
    sortUniqueBytewise(rule.inputs);
    rule.group = QStringLiteral("CMake Rules");
    return rule;
}
