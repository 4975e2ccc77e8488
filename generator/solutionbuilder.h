#ifndef SOLUTIONBUILDER_H
#define SOLUTIONBUILDER_H

#include "buildoutcome.h"

class BuildEvents;
class ToolRunner;
struct SolutionRequest;

// The steps of a build after the build root was laid out, in order: the top-level CMakeLists.txt,
// each variant folder with its function table and CMakeLists.txt, CMake, the clean-up. It reports
// progress and steps through the events and keeps no state of its own, so it may run on any
// thread; between steps a cancelled run stops and removes what it started.
class SolutionBuilder {
public:
    SolutionBuilder(ToolRunner &tools, BuildEvents &events) : tools(tools), events(events) { }

    // The build goes through every step whatever an earlier one did, as the user expects a whole
    // tree to look at; outcome comes in with what was done before.
    BuildOutcome build(const SolutionRequest &request, BuildOutcome outcome) const;

private:
    bool buildVariantFolder(
        const SolutionRequest &request, const QString &name, BuildOutcome &outcome) const;
    void runCMake(const SolutionRequest &request, BuildOutcome &outcome) const;
    void cleanUp(const SolutionRequest &request, BuildOutcome &outcome) const;

    ToolRunner &tools;
    BuildEvents &events;
};

#endif // SOLUTIONBUILDER_H
