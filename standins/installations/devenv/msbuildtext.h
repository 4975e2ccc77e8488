#ifndef DEVENV_MSBUILDTEXT_H
#define DEVENV_MSBUILDTEXT_H

#include <QHash>
#include <QString>
#include <QStringList>

// The small part of MSBuild's text rules that CMake's projects use.

// A path as written in a solution or project file, in this host's form.
QString hostPath(const QString &projectPath);

// A path of a project file made absolute against the folder it is relative to.
QString absoluteIn(const QString &folder, const QString &projectPath);

// The items of a ";"-separated list, without empty items and the "%(...)" references to
// inherited values.
QStringList msbuildList(const QString &value);

// The blank-separated options of an AdditionalOptions value, without "%(...)" references.
QStringList optionList(const QString &value);

// "$(Name)" replaced by the property's value; an unknown property is empty, as in MSBuild.
QString expandProperties(const QString &text, const QHash<QString, QString> &properties);

// Whether an element's Condition attribute holds for "<Configuration>|<Platform>". Only the form
// CMake writes is understood; any other condition is taken as false.
bool conditionHolds(const QString &condition, const QString &configurationPlatform);

#endif // DEVENV_MSBUILDTEXT_H
