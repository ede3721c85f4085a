// SPDX-License-Identifier: GPL-3.0-or-later
// The graph frame: the day header above the cached graph picture, scrolled sideways by a flat
// white bar. Painting rules live in record/GraphPainter; this widget only shows and scrolls.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>
#include <vector>

#include "record/DayHeader.h"
#include "record/GraphPainter.h"
#include "record/TextGrid.h"

class QScrollBar;

class TFrame1 : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrame1)

public:
    static constexpr int ContentWidth = GraphGeometry::Width;
    static constexpr int HeaderHeight = 33;
    static constexpr int ScrollStep = 2;

    explicit TFrame1(QWidget *parent = nullptr);
    ~TFrame1() override;

    // The 868 x 240 bitmap. After painting into it directly, call updatePicture().
    QImage &picture();
    void updatePicture();

    void clearPicture();
    // Plots `row` onto the picture, repaints it and scrolls the latest point near the right edge.
    // The reference line takes the palette's active highlight, the platform's title-bar colour.
    // faces is asked for the mood pictures only when the plot is drawn.
    using FacesSource = std::function<const MoodFaces &()>;
    GraphResult showGraph(const TextGrid &table, int row, FacesSource faces);

    void setDayHeader(const DayHeaderTexts &texts);
    QString headerText(int column, int row) const { return m_header.text(column, row); }
    // Where header cell (column, row) is drawn inside headerView().
    static QRect headerCellRect(int column, int row);

    // The day header and the graph picture, for assistive technology; the picture's accessible
    // name says which graph it shows and its description the latest value.
    QWidget *headerView() const { return m_headerGrid; }
    QWidget *pictureView() const { return m_pictureView; }

    // Limited to 0 .. scrollMaximum().
    void scrollToX(int position);
    int scrollPosition() const;
    int scrollMaximum() const;
    QScrollBar *horizontalScrollBar() const { return m_scrollBar; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutChildren();
    void describeGraph(const TextGrid &table, int row);

    // The bitmap (833 KB) and its mood faces are made when the picture is first shown or asked
    // for: the compact window never shows it, so a start does not pay for them. Until then the
    // layouts plotted since the picture was last cleared wait to be painted, in order.
    struct PendingPlot
    {
        GraphLayout layout;
        FacesSource faces;
        QColor referenceLine;
    };
    QImage m_picture;
    bool m_backgroundPending = false;
    std::vector<PendingPlot> m_pendingPlots;
    DayHeaderTexts m_header;
    QWidget *m_viewport = nullptr;
    QWidget *m_content = nullptr;
    QWidget *m_headerGrid = nullptr;
    QWidget *m_pictureView = nullptr;
    QScrollBar *m_scrollBar = nullptr;
    bool m_flatLook = false;
};
