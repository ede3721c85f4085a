// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryTrend.h"

#include <deque>

using namespace Qt::StringLiterals;

namespace HistoryTrend {

QList<Point> trend(const HistoryRows &rows, int windowDays)
{
    // Rows come ordered by day: a running sum over the days still inside the window.
    QList<Point> points;
    std::deque<std::pair<QDate, double>> inside;
    double sum = 0;
    for (const auto &[key, entry] : rows) {
        if (!std::isfinite(entry.weightKg))
            continue;
        inside.emplace_back(entry.day, double(entry.weightKg));
        sum += double(entry.weightKg);
        while (inside.front().first.daysTo(entry.day) >= windowDays) {
            sum -= inside.front().second;
            inside.pop_front();
        }
        const Point point {entry.day, sum / double(inside.size())};
        if (!points.isEmpty() && points.last().day == entry.day)
            points.last() = point;
        else
            points << point;
    }
    return points;
}

QString methodText(int windowDays)
{
    return u"傾向線：その日までの%1日間（計測のない日は数えません）に計った体重の平均"_s.arg(
        windowDays);
}

QList<Month> months(const HistoryRows &rows)
{
    QList<Month> result;
    double weightSum = 0, fatSum = 0;
    int fatCount = 0;
    const auto close = [&] {
        Month &m = result.last();
        m.meanWeight = weightSum / m.measurements;
        m.meanBodyFat = fatCount > 0 ? fatSum / fatCount : -1;
    };
    for (const auto &[key, e] : rows) {
        if (!std::isfinite(e.weightKg))
            continue;
        if (result.isEmpty() || result.last().year != e.day.year()
            || result.last().month != e.day.month()) {
            if (!result.isEmpty())
                close();
            result << Month {
                e.day.year(), e.day.month(), 0, 0, double(e.weightKg), double(e.weightKg), -1};
            weightSum = fatSum = 0;
            fatCount = 0;
        }
        Month &m = result.last();
        ++m.measurements;
        weightSum += double(e.weightKg);
        m.lowestWeight = std::min(m.lowestWeight, double(e.weightKg));
        m.highestWeight = std::max(m.highestWeight, double(e.weightKg));
        if (std::isfinite(e.bodyFatPercent)) {
            fatSum += double(e.bodyFatPercent);
            ++fatCount;
        }
    }
    if (!result.isEmpty())
        close();
    return result;
}

} // namespace HistoryTrend
