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

// Exactly the four host variants; a node variant or an unknown name brings no node along.
inline bool isHostVariant(const QString &variant)
{
    return variant == QLatin1String("3d_host") || variant == QLatin1String("3ddp_host")
        || variant == QLatin1String("2d_host") || variant == QLatin1String("2ddp_host");
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
