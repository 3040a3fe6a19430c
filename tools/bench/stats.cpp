#include "tools/bench/stats.h"

#include <algorithm>
#include <cmath>

namespace BenchStats {

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values.at(n / 2) : (values.at(n / 2 - 1) + values.at(n / 2)) / 2;
}

double percentile(QList<double> values, double p)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    const auto rank = qsizetype(std::ceil(std::clamp(p, 0.0, 100.0) / 100.0 * double(n)));
    return values.at(std::clamp<qsizetype>(rank, 1, n) - 1);
}

} // namespace BenchStats
