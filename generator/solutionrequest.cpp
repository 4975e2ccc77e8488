#include "solutionrequest.h"

#include "buildtree.h"

#include <algorithm>

namespace {

// The adaptor talks to the EDEM client only from the host process; the node library must not
// contain it.
const QStringList adaptorFileNames { QStringLiteral("AdaptorInterface.cpp"),
    QStringLiteral("CAdaptorQuaternion.cpp"), QStringLiteral("CCellAndThreadData.cpp"),
    QStringLiteral("CFluentParticleData.cpp"), QStringLiteral("CParticleData.cpp") };

QStringList withoutAdaptorFiles(const QStringList &sources)
{
    QStringList kept;
    for (const QString &source : sources) {
        const bool isAdaptor = std::any_of(adaptorFileNames.cbegin(), adaptorFileNames.cend(),
            [&source](const QString &name) { return source.contains(name); });
        if (!isAdaptor)
            kept.append(source);
    }
    return kept;
}

} // namespace

QStringList SolutionRequest::nodeSources() const
{
    if (BuildTree::isSerialVariant(variant))
        return {};
    return coupling ? withoutAdaptorFiles(sources) : sources;
}

QStringList SolutionRequest::sourcesOf(const QString &buildVariant) const
{
    return buildVariant == variant ? sources : nodeSources();
}
