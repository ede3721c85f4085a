// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryGraph.h"

#include "fonts/Fonts.h"
#include "report/ReportPage.h"
#include "report/ReportPicture.h"

#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace {

const QColor WeightColour(40, 90, 200);
const QColor TrendColour(200, 40, 40);
const QColor GoalColour(20, 140, 60);
const QColor FatColour(220, 130, 20);
const QColor GridColour(215, 215, 215);

struct Scale
{
    double low = 0, high = 1;
};

// Whole kilograms around the values, at least 2 kg tall.
Scale scaleOf(double low, double high)
{
    low = std::floor(low - 0.5);
    high = std::ceil(high + 0.5);
    if (high - low < 2)
        high = low + 2;
    return {low, high};
}

void drawPanel(QPainter &p, const QRectF &plot, const Scale &scale, const QDate &first,
    const QDate &last, const QString &title, bool monthLabels)
{
    const double days = std::max<qint64>(1, first.daysTo(last));
    p.setPen(GridColour);
    const QFontMetricsF metrics(p.font());
    const int steps = 4;
    for (int i = 0; i <= steps; ++i) {
        const double kg = scale.low + (scale.high - scale.low) * i / steps;
        const double y = plot.bottom() - plot.height() * i / steps;
        p.setPen(GridColour);
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        p.setPen(Qt::black);
        p.drawText(QRectF(plot.left() - 60, y - metrics.height() / 2, 56, metrics.height()),
            Qt::AlignRight | Qt::AlignVCenter, QString::number(kg, 'f', 1));
    }
    // A line at each month's first day, labelled where there is room.
    double lastLabelRight = -1e9;
    for (QDate d(first.year(), first.month(), 1); d <= last; d = d.addMonths(1)) {
        if (d < first)
            continue;
        const double x = plot.left() + plot.width() * double(first.daysTo(d)) / days;
        p.setPen(GridColour);
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        const QString label = d.month() == 1 || lastLabelRight < -1e8
            ? u"%1/%2"_s.arg(d.year()).arg(d.month())
            : QString::number(d.month());
        const double width = metrics.horizontalAdvance(label);
        if (monthLabels && x - width / 2 > lastLabelRight + 6) {
            p.setPen(Qt::black);
            p.drawText(QPointF(x - width / 2, plot.bottom() + metrics.ascent() + 2), label);
            lastLabelRight = x + width / 2;
        }
    }
    p.setPen(Qt::black);
    p.drawRect(plot);
    p.drawText(
        QRectF(plot.left(), plot.top() - metrics.height() - 1, plot.width(), metrics.height()),
        Qt::AlignLeft | Qt::AlignBottom, title);
}

} // namespace

QDate firstShownDay(const HistoryRows &rows, HistoryView::Range range)
{
    if (rows.empty() || range == HistoryView::Range::All)
        return {};
    const QDate last = rows.rbegin()->first.first;
    return range == HistoryView::Range::ThreeMonths ? last.addMonths(-3).addDays(1)
                                                    : last.addYears(-1).addDays(1);
}

void paintHistoryGraph(
    QPainter &p, const QRectF &area, const HistoryRows &allRows, const HistoryView &view)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QFontMetricsF metrics(p.font());
    HistoryRows rows;
    const QDate from = firstShownDay(allRows, view.range);
    for (const auto &[key, entry] : allRows)
        if ((!from.isValid() || key.first >= from) && std::isfinite(entry.weightKg))
            rows.emplace(key, entry);
    if (rows.empty()) {
        p.drawText(area, Qt::AlignCenter, u"まだ計測の履歴がありません"_s);
        p.restore();
        return;
    }
    const QDate first = rows.begin()->first.first;
    // A day beyond the latest, so its evening still lies inside.
    const QDate last = rows.rbegin()->first.first.addDays(1);
    const double days = double(first.daysTo(last));
    // The trend is computed over everything, so its first shown days still see the days before.
    QList<HistoryTrend::Point> trend = HistoryTrend::trend(allRows);

    double low = 1e9, high = -1e9, fatLow = 1e9, fatHigh = -1e9;
    for (const auto &[key, e] : rows) {
        low = std::min(low, double(e.weightKg));
        high = std::max(high, double(e.weightKg));
        if (std::isfinite(e.fatWeightKg)) {
            fatLow = std::min(fatLow, double(e.fatWeightKg));
            fatHigh = std::max(fatHigh, double(e.fatWeightKg));
        }
    }
    if (view.goalKg) {
        low = std::min(low, *view.goalKg);
        high = std::max(high, *view.goalKg);
    }
    const bool hasFat = fatHigh >= fatLow;
    const double left = area.left() + 64, right = area.right() - 12;
    const double labelHeight = metrics.height() + 4;
    const double plotsHeight = area.height() - labelHeight - 8;
    const double weightHeight = hasFat ? plotsHeight * 0.68 : plotsHeight;
    const QRectF weightPlot(
        left, area.top() + labelHeight, right - left, weightHeight - labelHeight);
    const QRectF fatPlot(
        left, weightPlot.bottom() + labelHeight, right - left, plotsHeight - weightHeight - 4);

    const Scale weightScale = scaleOf(low, high);
    drawPanel(p, weightPlot, weightScale, first, last, u"体重 (kg)"_s, !hasFat);
    const auto xOf = [&](const QDate &d, const QRectF &plot) {
        return plot.left() + plot.width() * double(first.daysTo(d)) / days
            + (plot.width() / std::max(1.0, days)) * 0;
    };
    const auto yOf = [](double v, const QRectF &plot, const Scale &s) {
        return plot.bottom() - plot.height() * (v - s.low) / (s.high - s.low);
    };
    // Weight: a thin line through every measurement (an evening half a day after its morning).
    const auto plotLine = [&](const QRectF &plot, const Scale &scale, auto value,
                              const QColor &colour, qreal width) {
        QPainterPath path;
        bool started = false;
        QDate previous;
        for (const auto &[key, e] : rows) {
            const double v = value(e);
            if (!std::isfinite(v))
                continue;
            const double x = xOf(key.first, plot) + plot.width() / days * 0.5 * key.second;
            const QPointF point(x, yOf(v, plot, scale));
            // A gap of more than a week breaks the line.
            if (!started || previous.daysTo(key.first) > 7)
                path.moveTo(point);
            else
                path.lineTo(point);
            started = true;
            previous = key.first;
        }
        p.setPen(QPen(colour, width));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        // Each measurement as a dot, so one between gaps still shows.
        p.setBrush(colour);
        p.setPen(Qt::NoPen);
        for (const auto &[key, e] : rows) {
            const double v = value(e);
            if (std::isfinite(v))
                p.drawEllipse(QPointF(xOf(key.first, plot) + plot.width() / days * 0.5 * key.second,
                                  yOf(v, plot, scale)),
                    1.8, 1.8);
        }
        p.setBrush(Qt::NoBrush);
    };
    p.save();
    p.setClipRect(weightPlot);
    if (view.goalKg) {
        const double y = yOf(*view.goalKg, weightPlot, weightScale);
        p.setPen(QPen(GoalColour, 1.5, Qt::DashLine));
        p.drawLine(QPointF(weightPlot.left(), y), QPointF(weightPlot.right(), y));
    }
    plotLine(
        weightPlot, weightScale, [](const HistoryEntry &e) { return double(e.weightKg); },
        WeightColour, 1);
    QPainterPath trendPath;
    QDate previousTrendDay;
    for (const HistoryTrend::Point &point : trend) {
        if (from.isValid() && point.day < from)
            continue;
        const QPointF at(xOf(point.day, weightPlot), yOf(point.value, weightPlot, weightScale));
        // Across a gap longer than its window the trend knows nothing: no line is drawn there.
        if (previousTrendDay.isValid()
            && previousTrendDay.daysTo(point.day) < HistoryTrend::WindowDays)
            trendPath.lineTo(at);
        else
            trendPath.moveTo(at);
        previousTrendDay = point.day;
    }
    p.setPen(QPen(TrendColour, 2.5));
    p.drawPath(trendPath);
    // Moods, where there is room for them.
    const double pixelsPerDay = weightPlot.width() / days;
    if (pixelsPerDay >= 4) {
        for (const auto &[key, e] : rows) {
            if (e.mood < 1 || e.mood > 4 || view.faces[std::size_t(e.mood - 1)].isNull())
                continue;
            const double x = xOf(key.first, weightPlot) + pixelsPerDay * 0.5 * key.second;
            const double y = yOf(double(e.weightKg), weightPlot, weightScale);
            p.drawImage(QRectF(x - 7, y - 20, 14, 14), view.faces[std::size_t(e.mood - 1)]);
        }
    }
    p.restore();
    if (hasFat) {
        const Scale fatScale = scaleOf(fatLow, fatHigh);
        drawPanel(p, fatPlot, fatScale, first, last, u"脂肪重量 (kg)"_s, true);
        p.save();
        p.setClipRect(fatPlot);
        plotLine(
            fatPlot, fatScale, [](const HistoryEntry &e) { return double(e.fatWeightKg); },
            FatColour, 1.2);
        p.restore();
    }
    p.restore();
}

QStringList monthTableHeader()
{
    return {u"月"_s, u"計測回数"_s, u"平均体重"_s, u"最低体重"_s, u"最高体重"_s, u"平均体脂肪率"_s};
}

QStringList monthTableRow(const HistoryTrend::Month &m)
{
    const auto kg = [](double v) { return QString::number(v, 'f', 1) + u"kg"_s; };
    return {u"%1年%2月"_s.arg(m.year).arg(m.month), QString::number(m.measurements),
        kg(m.meanWeight), kg(m.lowestWeight), kg(m.highestWeight),
        m.meanBodyFat < 0 ? u"—"_s : QString::number(m.meanBodyFat, 'f', 1) + u"%"_s};
}

std::unique_ptr<ReportPage> historySheet(
    const HistoryRows &rows, const HistoryView &view, const QDate &today)
{
    auto page = std::make_unique<ReportPage>(u"history"_s,
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
            QPageLayout::Millimeter));
    // A4 landscape inside 10 mm margins, in report units (1/96 inch).
    const QSize size(int(277 / 25.4 * 96), int(190 / 25.4 * 96));
    ReportBand *band = page->addBand(u"history"_s, size, Qt::white);
    auto *picture = band->add<ReportPicture>(u"HistorySheet"_s, QRect(QPoint(0, 0), size));
    const QList<HistoryTrend::Month> months = HistoryTrend::months(rows);
    picture->setVectorPainter([rows, view, months, today, size](QPainter *p, const QRectF &t) {
        p->save();
        p->translate(t.topLeft());
        p->scale(t.width() / size.width(), t.height() / size.height());
        p->setPen(Qt::black);
        p->setFont(gothicFont(20, true));
        p->drawText(QRectF(0, 0, size.width(), 32), Qt::AlignLeft | Qt::AlignVCenter,
            u"ペミラ　計測の履歴"_s);
        p->setFont(gothicFont(11));
        p->drawText(QRectF(0, 0, size.width(), 32), Qt::AlignRight | Qt::AlignVCenter,
            today.toString(Qt::ISODate));
        const double tableWidth = 330;
        paintHistoryGraph(
            *p, QRectF(0, 40, size.width() - tableWidth - 16, size.height() - 64), rows, view);
        p->drawText(QRectF(64, size.height() - 20, size.width() - tableWidth - 80, 20),
            Qt::AlignLeft | Qt::AlignVCenter, HistoryTrend::methodText());
        // The latest months that fit, newest at the bottom.
        const double x0 = size.width() - tableWidth, rowHeight = 17;
        const double widths[] = {72, 40, 54, 54, 54, 56};
        const int fit = int((size.height() - 40) / rowHeight) - 1;
        const qsizetype start = std::max<qsizetype>(0, months.size() - fit);
        const auto drawRow = [&](const QStringList &cells, double y, bool bold) {
            p->setFont(gothicFont(10, bold));
            double x = x0;
            for (int i = 0; i < cells.size(); ++i) {
                p->drawText(QRectF(x, y, widths[i] - 4, rowHeight),
                    (i == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, cells[i]);
                x += widths[i];
            }
            p->setPen(QColor(200, 200, 200));
            p->drawLine(QPointF(x0, y + rowHeight), QPointF(x0 + tableWidth, y + rowHeight));
            p->setPen(Qt::black);
        };
        drawRow(monthTableHeader(), 40, true);
        for (qsizetype i = start; i < months.size(); ++i)
            drawRow(monthTableRow(months[i]), 40 + rowHeight * double(i - start + 1), false);
        p->restore();
    });
    return page;
}

void writeHistoryPdf(const ReportPage &sheet, const QString &path)
{
    const auto fail = [&](const QString &what, const QString &why) {
        throw std::runtime_error(
            u"%1: %2 (%3)"_s.arg(what, QDir::toNativeSeparators(path), why).toStdString());
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail(u"PDFファイルを作成できません"_s, file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setResolution(300);
        writer.setPageLayout(sheet.pageLayout());
        writer.setTitle(u"ペミラ　計測の履歴"_s);
        writer.setCreator(u"ペミラ"_s);
        QPainter painter;
        if (!painter.begin(&writer))
            fail(u"PDFを描画できません"_s, file.errorString());
        sheet.render(painter, writer.logicalDpiX(), writer.logicalDpiY());
        painter.end();
    }
    if (file.error() != QFileDevice::NoError || !file.commit())
        fail(u"PDFファイルを書き込めません"_s, file.errorString());
}
