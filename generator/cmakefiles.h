#ifndef CMAKEFILES_H
#define CMAKEFILES_H

#include "fileresult.h"

#include <QString>
#include <QStringList>

// The CMake files of a build tree: the top-level file that takes in the variant folders, and one
// file per variant that builds its libudf.dll from the sources and the variant's udf_names.obj.
namespace CMakeFiles {

// Each file is written whole or not at all; false when it was not, and then written (if given)
// names the file and says why.
bool writeTopLevel(const QString &buildRoot, const QString &variant, FileResult *written = nullptr);

// The plain UDF library and the EDEM coupling library share one file format; the coupling build
// adds the EDEM folders and puts its output in edem_udf.
struct VariantFile {
    bool coupling = false;
    QStringList headers;
    QStringList sources;
    QString variant;
    QString fluentPath;
    QString edemPath; // a coupling build's only
    QString variantFolder;
};
bool writeVariant(const VariantFile &file, FileResult *written = nullptr);

} // namespace CMakeFiles

#endif // CMAKEFILES_H
