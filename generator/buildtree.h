#ifndef BUILDTREE_H
#define BUILDTREE_H

#include <QString>
#include <QStringList>

// The names of everything Kestrune lays out below a project folder. Every path of the build tree is
// made here, so that a folder or file name is spelt in one place:
//
//   <project>/buildByVarnholt            root
//       src, include                     the copies of the picked files
//       CMakeLists.txt                   while a build runs
//       <variant>/                       udf_names.c, compileOBJ.bat, udf_names.obj, CMakeLists.txt
//       solution/                        FLUENTUDF.sln or FLUENTUDF.slnx, one folder per variant
namespace BuildTree {

QString root(const QString &projectFolder);
QString sourceFolder(const QString &root);
QString includeFolder(const QString &root);
QString topLevelCMakeLists(const QString &root);

// A variant's folder, where its function table is made and its CMakeLists.txt written.
QString variantFolder(const QString &root, const QString &variant);
// The build root a variant folder lies in.
QString rootOfVariantFolder(const QString &variantFolder);
QString variantCMakeLists(const QString &variantFolder);
QString functionTableSource(const QString &variantFolder);
QString functionTableObject(const QString &variantFolder);
QString compileBatch(const QString &variantFolder);
// The same files by name alone, as the compile batch file names them in its own folder.
QString functionTableSourceName();
QString functionTableObjectName();
QString compileBatchName();

// What CMake generates: the solution folder, the solution and a folder per variant with its
// project.
QString solutionFolder(const QString &root);
QString solutionName();
// The solution's path without ".sln" or ".slnx"; Visual Studio 2026 writes the latter.
QString solutionWithoutSuffix(const QString &root);
QString solutionVariantFolder(const QString &root, const QString &variant);
// A variant's project without ".vcxproj", ".sln" or ".slnx": CMake writes all three.
QString solutionVariantProject(const QString &root, const QString &variant);
// The solution in a build root: FLUENTUDF.slnx (Visual Studio 2026 and later) or FLUENTUDF.sln;
// empty when there is neither.
QString solutionFileOf(const QString &root);

// A serial variant ("3ddp") is built alone; any other variant is a host variant ("3ddp_host") that
// comes with its node variant ("3ddp_node"), which shares its name but for the last four letters.
bool isSerialVariant(const QString &variant);
// Exactly the four host variants; a node variant or an unknown name brings no node along.
bool isHostVariant(const QString &variant);
QString nodeVariantOf(const QString &hostVariant);
// The variants whose folders one build makes, host first.
QStringList variantsOfBuild(const QString &variant);

} // namespace BuildTree

#endif // BUILDTREE_H
