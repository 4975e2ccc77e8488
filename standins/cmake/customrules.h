#ifndef STANDIN_CUSTOMRULES_H
#define STANDIN_CUSTOMRULES_H

#include "solutionplan.h"

// A CustomBuild item: the rule that re-runs CMake when a CMakeLists.txt (or, for ZERO_CHECK,
// any list file of the tree) changes.
struct CustomRule {
    QString source;
    QString message;
    QString command; // the batch script, lines separated by "\n"
    QStringList inputs;
    QStringList outputs;
    QString group; // source group in the .filters file
};

CustomRule listFileRule(const Emulation &emulation, int directory);
CustomRule zeroCheckRule(const Emulation &emulation);

#endif // STANDIN_CUSTOMRULES_H
