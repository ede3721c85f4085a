// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Frame1.h"

#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QStaticText>

#include <algorithm>
#include <array>
#include <utility>

#include "colors/BgrColor.h"
#include "fonts/Fonts.h"
#include "record/RecordLayout.h"
#include "WindowLayout.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int FrameWidth = 425;
constexpr int FrameHeight = 292;
constexpr quint32 FrameColour = 12632256; // silver
constexpr quint32 HeaderColour = 16744576;
constexpr quint32 HeaderLineColour = 12632256;
constexpr quint32 HeaderTextColour = 16777215;

constexpr int HeaderLeft = -27;
constexpr int HeaderWidth = 895;
constexpr int HeaderColumnWidth = 27;
constexpr int HeaderRowHeight = 16;
constexpr int GridLine = 1;
constexpr int TextInset = 2;
constexpr int ScrollBarHeight = 16;

// Paints the day header; the texts are laid out once when they change, not on every paint.
class DayHeaderGrid : public QWidget
{
    Q_OBJECT
public:
    explicit DayHeaderGrid(QWidget *parent)
        : QWidget(parent)
        , m_font(gothicFont(12))
    {
        setObjectName(QString::fromLatin1(WindowLayout::GraphDayHeader));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setEnabled(false);
    }

    void setTexts(const DayHeaderTexts &texts)
    {
        for (int row = 0; row < DayHeaderTexts::Rows; ++row) {
            for (int column = 0; column < DayHeaderTexts::Columns; ++column) {
                QStaticText &text = m_texts[row * DayHeaderTexts::Columns + column];
                text.setText(texts.text(column, row)); // laid out when first painted
            }
        }
        update();
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), bgrColor(HeaderLineColour));
        painter.setFont(m_font);
        painter.setPen(bgrColor(HeaderTextColour));
        for (int row = 0; row < DayHeaderTexts::Rows; ++row) {
            for (int column = 0; column < DayHeaderTexts::Columns; ++column) {
                const QRect cell(column * (HeaderColumnWidth + GridLine),
                    row * (HeaderRowHeight + GridLine), HeaderColumnWidth, HeaderRowHeight);
                if (!cell.intersects(event->rect()))
                    continue;
                painter.fillRect(cell, bgrColor(HeaderColour));
                const QStaticText &text = m_texts[row * DayHeaderTexts::Columns + column];
                if (text.text().isEmpty())
                    continue;
                painter.setClipRect(cell);
                painter.drawStaticText(cell.topLeft() + QPoint(TextInset, TextInset), text);
                painter.setClipping(false);
            }
        }
    }

private:
    QFont m_font;
    std::array<QStaticText, DayHeaderTexts::Columns * DayHeaderTexts::Rows> m_texts;
};

// Shows the cached graph bitmap; all drawing into it happens elsewhere.
class PictureView : public QWidget
{
    Q_OBJECT
public:
    PictureView(TFrame1 *frame, QWidget *parent)
        : QWidget(parent)
        , m_frame(frame)
    {
        setObjectName(QString::fromLatin1(WindowLayout::GraphPicture));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        painter.drawImage(event->rect(), m_frame->picture(), event->rect());
    }

private:
    TFrame1 *m_frame;
};

} // namespace

TFrame1::TFrame1(QWidget *parent)
    : QWidget(parent)
{
    QPalette silver = palette();
    silver.setColor(QPalette::Window, bgrColor(FrameColour));
    setPalette(silver);
    setAutoFillBackground(true);

    m_viewport = new QWidget(this);
    m_content = new QWidget(m_viewport);
    m_content->resize(ContentWidth, HeaderHeight + GraphGeometry::Height);
    m_headerGrid = new DayHeaderGrid(m_content);
    m_headerGrid->setGeometry(HeaderLeft, 0, HeaderWidth, HeaderHeight);
    m_pictureView = new PictureView(this, m_content);
    m_pictureView->setGeometry(0, HeaderHeight, GraphGeometry::Width, GraphGeometry::Height);

    m_scrollBar = new QScrollBar(Qt::Horizontal, this);
    m_scrollBar->setSingleStep(ScrollStep);
    m_scrollBar->setTracking(true);
    // The flat look costs a style sheet; it is applied when the bar is first painted, which in
    // the compact window is never.
    m_scrollBar->installEventFilter(this);
    connect(m_scrollBar, &QScrollBar::valueChanged, this,
        [this](int value) { m_content->move(-value, 0); });

    resize(FrameWidth, FrameHeight);
    layoutChildren();
    describeGraph(TextGrid(1, 1), RecordLayout::WeightRow);
}

TFrame1::~TFrame1() = default;

bool TFrame1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_scrollBar && event->type() == QEvent::Paint && !m_flatLook) {
        m_flatLook = true;
        m_scrollBar->setStyleSheet(
            u"QScrollBar:horizontal { background: white; border: none;"
            " height: 16px; margin: 0 16px; }"
            "QScrollBar::handle:horizontal { background: #c0c0c0;"
            " min-width: 16px; }"
            "QScrollBar::add-line:horizontal { background: #e0e0e0; width: 16px;"
            " subcontrol-position: right; subcontrol-origin: margin; }"
            "QScrollBar::sub-line:horizontal { background: #e0e0e0; width: 16px;"
            " subcontrol-position: left; subcontrol-origin: margin; }"
            "QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal"
            " { background: none; }"_s);
    }
    return QWidget::eventFilter(watched, event);
}

QImage &TFrame1::picture()
{
    if (m_picture.isNull()) {
        m_picture = QImage(GraphGeometry::Width, GraphGeometry::Height, QImage::Format_RGB32);
        if (m_backgroundPending)
            paintGraphBackground(m_picture);
        else
            m_picture.fill(Qt::white);
        m_backgroundPending = false;
        for (const PendingPlot &plot : std::exchange(m_pendingPlots, {}))
            ::plotRow(m_picture, plot.layout, plot.faces(), plot.referenceLine);
    }
    return m_picture;
}

void TFrame1::updatePicture()
{
    m_pictureView->update();
}

void TFrame1::clearPicture()
{
    if (m_picture.isNull()) {
        m_backgroundPending = true;
        m_pendingPlots.clear();
    } else {
        paintGraphBackground(m_picture);
    }
    updatePicture();
}

GraphResult TFrame1::showGraph(const TextGrid &table, int row, FacesSource faces)
{
    const QColor referenceLine = palette().color(QPalette::Active, QPalette::Highlight);
    GraphLayout layout = graphLayout(table, row);
    GraphResult result;
    if (m_picture.isNull()) {
        result = screenGraphResult(layout);
        m_pendingPlots.push_back({std::move(layout), std::move(faces), referenceLine});
    } else {
        result = ::plotRow(m_picture, layout, faces(), referenceLine);
    }
    describeGraph(table, row);
    updatePicture();
    scrollToX(result.endX - 400);
    return result;
}

void TFrame1::describeGraph(const TextGrid &table, int row)
{
    m_pictureView->setAccessibleName(
        row == RecordLayout::FatWeightRow ? u"脂肪重量グラフ"_s : u"体重グラフ"_s);
    QString latest;
    for (int column = table.columnCount() - 1; column >= 0 && latest.isEmpty(); --column)
        latest = table.cell(column, row);
    m_pictureView->setAccessibleDescription(
        latest.isEmpty() ? u"記録なし"_s : u"最新の値 %1kg"_s.arg(latest));
}

QRect TFrame1::headerCellRect(int column, int row)
{
    return QRect(column * (HeaderColumnWidth + GridLine), row * (HeaderRowHeight + GridLine),
        HeaderColumnWidth, HeaderRowHeight);
}

void TFrame1::setDayHeader(const DayHeaderTexts &texts)
{
    m_header = texts;
    static_cast<DayHeaderGrid *>(m_headerGrid)->setTexts(texts);
}

void TFrame1::scrollToX(int position)
{
    m_scrollBar->setValue(std::clamp(position, 0, scrollMaximum()));
}

int TFrame1::scrollPosition() const
{
    return m_scrollBar->value();
}

int TFrame1::scrollMaximum() const
{
    return m_scrollBar->maximum();
}

void TFrame1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutChildren();
}

void TFrame1::layoutChildren()
{
    // Like any scrolling frame, the bar takes room only while there is something to scroll to.
    const int viewWidth = width();
    const int range = std::max(0, ContentWidth - viewWidth);
    const int barHeight = range > 0 ? ScrollBarHeight : 0;
    m_viewport->setGeometry(0, 0, viewWidth, height() - barHeight);
    m_scrollBar->setGeometry(0, height() - barHeight, viewWidth, barHeight);
    m_scrollBar->setVisible(range > 0);
    m_scrollBar->setRange(0, range);
    m_scrollBar->setPageStep(std::max(1, viewWidth));
    m_content->move(-m_scrollBar->value(), 0);
}

#include "Frame1.moc"
