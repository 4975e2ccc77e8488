#include "buildtree.h"

#include <QFileInfo>

namespace BuildTree {

QString root(const QString &projectFolder)
{
    return projectFolder + QLatin1String("/buildByVarnholt");
}

QString sourceFolder(const QString &root)
{
    return root + QLatin1String("/src");
}

QString includeFolder(const QString &root)
{
    return root + QLatin1String("/include");
}

QString topLevelCMakeLists(const QString &root)
{
    return root + QLatin1String("/CMakeLists.txt");
}

QString variantFolder(const QString &root, const QString &variant)
{
    return root + QLatin1Char('/') + variant;
}

QString rootOfVariantFolder(const QString &variantFolder)
{
    return variantFolder.left(variantFolder.lastIndexOf(QLatin1Char('/')));
}

QString variantCMakeLists(const QString &variantFolder)
{
    return variantFolder + QLatin1String("/CMakeLists.txt");
}

QString functionTableSource(const QString &variantFolder)
{
    return variantFolder + QLatin1Char('/') + functionTableSourceName();
}

QString functionTableObject(const QString &variantFolder)
{
    return variantFolder + QLatin1Char('/') + functionTableObjectName();
}

QString compileBatch(const QString &variantFolder)
{
    return variantFolder + QLatin1Char('/') + compileBatchName();
}

QString functionTableSourceName()
{
    return QStringLiteral("udf_names.c");
}

QString functionTableObjectName()
{
    return QStringLiteral("udf_names.obj");
}

QString compileBatchName()
{
    return QStringLiteral("compileOBJ.bat");
}

QString solutionFolder(const QString &root)
{
    return root + QLatin1String("/solution");
}

QString solutionName()
{
    return QStringLiteral("FLUENTUDF");
}

QString solutionWithoutSuffix(const QString &root)
{
    return solutionFolder(root) + QLatin1Char('/') + solutionName();
}

QString solutionVariantFolder(const QString &root, const QString &variant)
{
    return solutionFolder(root) + QLatin1Char('/') + variant;
}

QString solutionVariantProject(const QString &root, const QString &variant)
{
    return solutionVariantFolder(root, variant) + QLatin1Char('/') + variant;
}

QString solutionFileOf(const QString &root)
{
    for (const char *suffix : { ".slnx", ".sln" }) {
        const QFileInfo solution(solutionWithoutSuffix(root) + QLatin1String(suffix));
        if (solution.isFile() && solution.size() > 0)
            return solution.filePath();
    }
    return QString();
}

bool isSerialVariant(const QString &variant)
{
    return variant == QLatin1String("3d") || variant == QLatin1String("3ddp")
        || variant == QLatin1String("2d") || variant == QLatin1String("2ddp");
}

bool isHostVariant(const QString &variant)
{
    return variant == QLatin1String("3d_host") || variant == QLatin1String("3ddp_host")
        || variant == QLatin1String("2d_host") || variant == QLatin1String("2ddp_host");
}

QString nodeVariantOf(const QString &hostVariant)
{
    return hostVariant.left(qMax(0, hostVariant.size() - 4)) + QLatin1String("node");
}

QStringList variantsOfBuild(const QString &variant)
{
    if (isSerialVariant(variant))
        return { variant };
    return { variant, nodeVariantOf(variant) };
}

} // namespace BuildTree
