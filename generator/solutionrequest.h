#ifndef SOLUTIONREQUEST_H
#define SOLUTIONREQUEST_H

#include <QString>
#include <QStringList>

// What one build is asked to make.
struct SolutionRequest {
    bool coupling = false;
    QStringList headers;
    QStringList sources;
    QString variant;
    QString fluentPath;
    QString edemPath;
    QString vsPath;
    QString buildRoot;

    // The sources of the node variant; none for a serial build.
    QStringList nodeSources() const;
    // The sources of one variant of the build, host (or serial) or node.
    QStringList sourcesOf(const QString &buildVariant) const;
};

#endif // SOLUTIONREQUEST_H
