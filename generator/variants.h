#ifndef VARIANTS_H
#define VARIANTS_H

#include <QString>
#include <QStringList>

// A serial variant ("3ddp") is built alone; any other variant is a host variant ("3ddp_host") that
// comes with its node variant ("3ddp_node"), which shares its name but for the last four letters.
inline bool isSerialVariant(const QString &variant)
{
    return variant == QLatin1String("3d") || variant == QLatin1String("3ddp")
        || variant == QLatin1String("2d") || variant == QLatin1String("2ddp");
}

inline QString nodeVariantOf(const QString &hostVariant)
{
    return hostVariant.left(qMax(0, hostVariant.size() - 4)) + QLatin1String("node");
}

// The variants whose directories one build makes, host first.
inline QStringList variantsOfBuild(const QString &variant)
{
    if (isSerialVariant(variant))
        return { variant };
    return { variant, nodeVariantOf(variant) };
}

#endif // VARIANTS_H
