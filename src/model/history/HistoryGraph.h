// SPDX-License-Identifier: GPL-3.0-or-later
// The history drawn as vectors onto any painter: weight with its trend line, the goal and the
// evening moods above, fat weight below, months along the bottom. The window and the printed sheet
// draw the same picture; the sheet adds the month table.
#pragma once

#include "history/HistoryTrend.h"

#include <QImage>
#include <QRectF>

#include <array>
#include <memory>
#include <optional>

class QPainter;
class ReportPage;

struct HistoryView
{
    enum class Range { ThreeMonths, OneYear, All };
    Range range = Range::All;
    std::optional<double> goalKg;
    // Index i: the face of mood code i + 1 (null: not drawn).
    std::array<QImage, 4> faces;
};

// The first record day a range shows, counted back from the latest row (invalid: all).
QDate firstShownDay(const HistoryRows &rows, HistoryView::Range range);

// Paints onto painter inside area with the painter's current font; an empty history says so.
void paintHistoryGraph(
    QPainter &painter, const QRectF &area, const HistoryRows &rows, const HistoryView &view);

// The month table's columns as the window and the sheet show them: month, measurements, mean,
// lowest and highest weight, mean body fat.
QStringList monthTableHeader();
QStringList monthTableRow(const HistoryTrend::Month &month);

// One A4 landscape page: title, the graph of the chosen range and the latest months' table.
std::unique_ptr<ReportPage> historySheet(
    const HistoryRows &rows, const HistoryView &view, const QDate &today);
// Writes the sheet as a PDF file, replacing path only when complete. Throws std::runtime_error
// with a Japanese text.
void writeHistoryPdf(const ReportPage &sheet, const QString &path);
