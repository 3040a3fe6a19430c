#pragma once

#include <QList>

// Figures of repeated measurements.
namespace BenchStats {

// The middle value (the mean of the two middle ones for an even count);
// 0 for no values.
double median(QList<double> values);

// The nearest-rank percentile (0 < p <= 100): the smallest value with at
// least p percent of the values at or below it; 0 for no values.
double percentile(QList<double> values, double p);

} // namespace BenchStats
