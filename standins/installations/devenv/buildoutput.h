#ifndef DEVENV_BUILDOUTPUT_H
#define DEVENV_BUILDOUTPUT_H

#include <QString>
#include <QStringList>

// The output of a build, in the shape of the program that runs it. Visual Studio (devenv) numbers
// every line of a project's build ("1>") and names the project file in front of its errors.
// MSBuild at minimal verbosity indents messages, prints each diagnostic in the canonical form
// with the project's path in brackets and a code for every compiler message, and writes in the
// console's code page (936, as on a Chinese Windows).
class BuildOutput {
public:
    enum class Style { Devenv, MSBuild };

    BuildOutput(int number, const QString &projectPath);

    void line(const QString &text) const;
    // A line only Visual Studio prints, such as a project's start.
    void heading(const QString &text) const;
    // Each line of a compiler's output.
    void lines(const QString &text) const;
    void error(const QString &code, const QString &message) const;
    void warning(const QString &code, const QString &message) const;

    // A line outside any project, such as the build summary.
    static void plain(const QString &text);
    // An error of the build program itself: no solution, an unknown configuration.
    static void toolError(const QString &message);

    // For the whole process, set before anything is printed.
    static void setStyle(Style style, bool quiet = false);
    static Style style();
    // The diagnostic lines printed so far, for a summary that repeats them.
    static QStringList printedErrors();
    static QStringList printedWarnings();

private:
    void diagnostic(const QString &origin, const QString &category, const QString &code,
        const QString &message) const;

    int number;
    QString projectPath;
    QString projectFileName;
};

#endif // DEVENV_BUILDOUTPUT_H
