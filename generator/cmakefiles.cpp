#include "cmakefiles.h"

#include "buildtree.h"
#include "crlftextfile.h"
#include "fluentinstallation.h"

namespace {

const QString threeEmptyLines = QStringLiteral("\n\n\n");

// A path inside a quoted argument, escaped so that CMake reads exactly the path: a backslash or a
// double quote would end or bend the argument, "$" could start a variable reference and ";" would
// split it into two list items.
QString cmakeQuoted(const QString &path)
{
    QString escaped;
    escaped.reserve(path.size() + 2);
    escaped += QLatin1Char('"');
    for (const QChar c : path) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"') || c == QLatin1Char('$')
            || c == QLatin1Char(';'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return escaped + QLatin1Char('"');
}

// Each path is quoted on its own: a project folder with a blank must stay one list item.
QString quotedList(const QStringList &paths)
{
    QString text;
    for (const QString &path : paths)
        text += cmakeQuoted(path) + QLatin1Char(' ');
    return text;
}

QString headLines(const CMakeFiles::VariantFile &file)
{
    const QString &variant = file.variant;
    const QString &fluentPath = file.fluentPath;
    const QPair<QString, QString> release = FluentInstallation::release(fluentPath);
    QString text = QLatin1String("cmake_minimum_required(VERSION 3.23)\n");
    text += QStringLiteral("project(%1)\n").arg(variant);
    text += QStringLiteral("set(FLUENT_INC %1)\n").arg(cmakeQuoted(fluentPath));
    if (file.coupling)
        text += QStringLiteral("set(EDEM_INC %1)\n").arg(cmakeQuoted(file.edemPath));
    text += QStringLiteral("set(VERSION \"%1\")\n").arg(variant);
    text += QStringLiteral("set(LIB_RELEASE %1)\n").arg(release.first);
    text += QStringLiteral("set(RELEASE %1)\n").arg(release.second);
    text += QLatin1String("set(FLUENT_ARCH win64)\n"
                          "set(COMM net)\n"
                          "set(PARALLEL_NODE mpi)\n");
    return text + threeEmptyLines;
}

QString outputDirectoryLines(const CMakeFiles::VariantFile &file)
{
    const QString folder = file.coupling ? QStringLiteral("edem_udf") : QStringLiteral("libudf");
    QString text;
    for (const char *kind : { "ARCHIVE", "LIBRARY", "RUNTIME" }) {
        for (const char *config : { "Debug", "Release" }) {
            text += QStringLiteral("set(CMAKE_%1_OUTPUT_DIRECTORY_%2 ${CMAKE_BINARY_DIR}/%3/%4/"
                                   "${FLUENT_ARCH}/${VERSION})\n")
                        .arg(QLatin1String(kind), QString::fromLatin1(config).toUpper(),
                            QLatin1String(config), folder);
        }
    }
    return text + threeEmptyLines;
}

QString includeLines(const QStringList &includeDirs)
{
    QString text;
    for (const QString &dir : includeDirs)
        text += QStringLiteral("include_directories(%1)\n").arg(cmakeQuoted(dir));
    return text + threeEmptyLines;
}

// CMake chooses the branch from VERSION, so every file carries all three. A node runs in Fluent's
// MPI processes and links the MPI build of the multiport library, as Fluent's own makefile does;
// the host links the socket build (COMM, "net").
QString linkLines(const CMakeFiles::VariantFile &file)
{
    QString text = QLatin1String(
        "if((\"${VERSION}\" STREQUAL \"2d\") OR (\"${VERSION}\" STREQUAL \"3d\") OR "
        "(\"${VERSION}\" STREQUAL \"2ddp\") OR (\"${VERSION}\" STREQUAL \"3ddp\"))\n"
        "    link_directories(${FLUENT_INC}/fluent${RELEASE}/${FLUENT_ARCH}/${VERSION})\n"
        "    link_libraries(fl${LIB_RELEASE}.lib)\n"
        "elseif((\"${VERSION}\" STREQUAL \"2d_host\") OR (\"${VERSION}\" STREQUAL \"3d_host\") "
        "OR (\"${VERSION}\" STREQUAL \"2ddp_host\") OR (\"${VERSION}\" STREQUAL \"3ddp_host\"))\n"
        "    link_directories(${FLUENT_INC}/fluent${RELEASE}/${FLUENT_ARCH}/${VERSION})\n"
        "    link_directories(${FLUENT_INC}/fluent${RELEASE}/multiport/${FLUENT_ARCH}/${COMM}/"
        "shared)\n"
        "    link_libraries(mport.lib fl${LIB_RELEASE}.lib)\n"
        "elseif((\"${VERSION}\" STREQUAL \"2d_node\") OR (\"${VERSION}\" STREQUAL \"3d_node\") "
        "OR (\"${VERSION}\" STREQUAL \"2ddp_node\") OR (\"${VERSION}\" STREQUAL \"3ddp_node\"))\n"
        "    link_directories(${FLUENT_INC}/fluent${RELEASE}/${FLUENT_ARCH}/${VERSION})\n"
        "    link_directories(${FLUENT_INC}/fluent${RELEASE}/multiport/${FLUENT_ARCH}/mpi/"
        "shared)\n"
        "    link_libraries(mport.lib fl_mpi${LIB_RELEASE}.lib)\n"
        "endif()\n");
    if (file.coupling) {
        text += QLatin1String("link_directories(${EDEM_INC}/lib)\n"
                              "link_libraries(EDEMCouplingClient4.lib)\n");
    }
    return text + threeEmptyLines;
}

QString targetLines(const QStringList &headers, const QStringList &sources, const QString &variant,
    const QString &variantDirectory)
{
    QString text = QStringLiteral("set(HEADERS %1)\n").arg(quotedList(headers));
    text += QStringLiteral("set(SOURCES %1)\n").arg(quotedList(sources));
    text += QStringLiteral("add_library(%1 SHARED ${SOURCES} ${HEADERS})\n").arg(variant);
    text += QLatin1String("source_group(\"Source Files\" FILES ${SOURCES})\n"
                          "source_group(\"Header Files\" FILES ${HEADERS})\n");
    text += threeEmptyLines;
    text += QStringLiteral("target_link_libraries(%1 PRIVATE %2)\n")
                .arg(variant, cmakeQuoted(BuildTree::functionTableObject(variantDirectory)));
    text += QStringLiteral("set_target_properties(%1 PROPERTIES\n").arg(variant);
    return text + QLatin1String("OUTPUT_NAME \"libudf\")\n");
}

QStringList includeDirsOf(const CMakeFiles::VariantFile &file, const QString &buildRoot)
{
    QStringList dirs = FluentInstallation::includeDirs(
        FluentInstallation::makefilePath(file.fluentPath), file.fluentPath, file.variant);
    if (file.coupling)
        dirs << file.edemPath + "/src/Api/Coupling" << file.edemPath + "/src/Api/Core";
    // The picked headers are copied there; a source that includes one must find it in either
    // flavour.
    return dirs << BuildTree::includeFolder(buildRoot);
}

bool writeWhole(const QString &path, const QString &text, FileResult *written)
{
    CrlfTextFile file(path);
    if (file.openForWriting())
        file.write(text);
    const bool committed = file.commit();
    if (written)
        *written = file.result();
    return committed;
}

} // namespace

bool CMakeFiles::writeTopLevel(
    const QString &buildRoot, const QString &variant, FileResult *written)
{
    QString text = QLatin1String("cmake_minimum_required(VERSION 3.23)\n");
    text += QStringLiteral("project(%1)\n").arg(BuildTree::solutionName());
    text += QLatin1String("set_property(GLOBAL PROPERTY USE_FOLDERS ON)\n"
                          "\n"
                          "\n");
    for (const QString &name : BuildTree::variantsOfBuild(variant))
        text += QStringLiteral("add_subdirectory(%1)\n").arg(name);
    return writeWhole(BuildTree::topLevelCMakeLists(buildRoot), text, written);
}

bool CMakeFiles::writeVariant(const VariantFile &variantFile, FileResult *written)
{
    const QString &folder = variantFile.variantFolder;
    const QStringList includeDirs
        = includeDirsOf(variantFile, BuildTree::rootOfVariantFolder(folder));
    return writeWhole(BuildTree::variantCMakeLists(folder),
        headLines(variantFile) + outputDirectoryLines(variantFile) + includeLines(includeDirs)
            + linkLines(variantFile)
            + targetLines(variantFile.headers, variantFile.sources, variantFile.variant, folder),
        written);
}
