#ifndef DEVENV_BUILDOUTPUT_H
#define DEVENV_BUILDOUTPUT_H

#include <QString>

// Visual Studio's build output: every line of a project's build carries the project's number
// ("1>"), and its errors name the project file, as MSBuild prints them.
class BuildOutput {
public:
    BuildOutput(int number, const QString &projectFileName)
        : number(number), projectFileName(projectFileName)
    {
    }

    void line(const QString &text) const;
    // Each line of a tool's output, numbered.
    void lines(const QString &text) const;
    void error(const QString &code, const QString &message) const;
    void warning(const QString &code, const QString &message) const;

    // A line outside any project, such as the build summary.
    static void plain(const QString &text);

private:
    int number;
    QString projectFileName;
};

#endif // DEVENV_BUILDOUTPUT_H
