#pragma once

#include <QByteArray>
#include <QtGlobal>

class CGlobalVar;

// Update files for the import benchmark.
namespace BenchUpdateFile {

// `count` "+" records of new waypoints for the WPT table ("WPT;WPT;+;" and
// the 16 columns), one per line, deterministic for a seed. Keys are unique
// within the file and end in a base-36 counter, so they do not take the
// keys of a simulator tree (five letters and a country); positions are over
// Europe; names are Latin-1 with accents and apostrophes.
QByteArray wptRecords(int count, quint64 seed, const CGlobalVar &geo);

} // namespace BenchUpdateFile
