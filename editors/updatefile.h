#pragma once

#include <QString>
#include <QStringList>

// The update files the editors and the deletions from the map leave in the
// "Data" folder of the program: one record, no line end, Latin-1, named
// after the navaid or waypoint ("<program folder>/Data/PARIS.CSV").
namespace UpdateFile {

// The program's own folder (the application's folder unless a test points
// it elsewhere; an empty text goes back to the application's folder).
QString programDir();
void setProgramDir(const QString &dir);

// A name as a file name: path separators and the characters that file
// systems refuse (control characters, : * ? " < > |) become "_"; an empty
// name gives "_".
QString safeName(const QString &name);

// "<program folder>/Data/<safe name>.CSV", with "/" separators.
QString path(const QString &name);

// "GEN;NAV;+;v1;v2;...": the fields joined by ";".
QString record(const QString &database, const QString &table, const QString &operation,
               const QStringList &values);

// True when every value can travel in a record: no ";", no line break and
// nothing outside Latin-1.
bool recordable(const QStringList &values);

// Writes the record (no line end) to the file, replacing it as a whole;
// creates the Data folder when missing. On failure returns false with the
// reason in `error`, and an earlier file of that name stays as it was.
bool write(const QString &filePath, const QString &recordLine, QString *error = nullptr);

} // namespace UpdateFile
