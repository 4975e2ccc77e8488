#include "kestrune.h"

#include "buildrecord.h"
#include "solutionrequest.h"

BuildRecordFile::Status CKestrune::resumeBuild(const QString &folder, QString *error)
{
    BuildRecord resumed;
    const BuildRecordFile::Status status
        = BuildRecordFile::read(BuildRecordFile::buildRootOf(folder), resumed, error);
    if (status != BuildRecordFile::Status::Read)
        return status;
    recordBuild(resumed.solutionRequest());
    // The record names the node's sources itself: a coupling build leaves the adaptors out.
    buildNodeSources = resumed.nodeSources;
    record = resumed;
    return status;
}
