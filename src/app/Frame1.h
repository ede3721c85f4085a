// The graph frame: the day header above the cached graph picture, scrolled sideways by a flat
// white bar. Painting rules live in record/GraphPainter; this widget only shows and scrolls.
#pragma once

#include <QImage>
#include <QWidget>

#include "record/DayHeader.h"
#include "record/GraphPainter.h"

class QScrollBar;
class TextGrid;

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
    QImage &picture() { return m_picture; }
    void updatePicture();

    void DrawBackground();
    // Plots `row` onto the picture, repaints it and scrolls the latest point near the right edge.
    // The reference line takes the palette's active highlight, the platform's title-bar colour.
    GraphResult drawGraph(const TextGrid &table, int row, const MoodFaces &faces);

    void setDayHeader(const DayHeaderTexts &texts);
    QString headerText(int column, int row) const { return m_header.text(column, row); }

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

    QImage m_picture;
    DayHeaderTexts m_header;
    QWidget *m_viewport = nullptr;
    QWidget *m_content = nullptr;
    QWidget *m_headerGrid = nullptr;
    QWidget *m_pictureView = nullptr;
    QScrollBar *m_scrollBar = nullptr;
    bool m_flatLook = false;
};
