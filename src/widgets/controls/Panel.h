// SPDX-License-Identifier: GPL-3.0-or-later
// The toolkit's panel: a coloured surface with an outer and an inner 1-pixel 3D bevel and a
// centred caption. Base of the picture button and of every coloured panel of the window.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class QPainter;

// System colours of the 3D look, taken from the widget's palette:
//   button face      QPalette::Button      button shadow     QPalette::Dark
//   button highlight QPalette::Light       3D light          QPalette::Midlight
//   3D dark shadow   QPalette::Shadow      window text       QPalette::WindowText
namespace SystemColors {
QColor buttonFace(const QWidget *w);
QColor buttonShadow(const QWidget *w);
QColor buttonHighlight(const QWidget *w);
QColor light3D(const QWidget *w);
QColor darkShadow3D(const QWidget *w);
QColor windowText(const QWidget *w);
} // namespace SystemColors

// Draws a 1-pixel 3D frame on r and shrinks r by 1 on each side. The top-left colour takes the
// left column and the top row except its last pixel; the bottom-right colour takes the right
// column and the bottom row except its first pixel.
void draw3DFrame(QPainter &p, QRect &r, const QColor &topLeft, const QColor &bottomRight);

class TPanel : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPanel)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
    Q_PROPERTY(QColor textColor READ textColor WRITE setTextColor NOTIFY textColorChanged)
    Q_PROPERTY(QString caption READ caption WRITE setCaption NOTIFY captionChanged)
    Q_PROPERTY(Bevel bevelOuter READ bevelOuter WRITE setBevelOuter NOTIFY bevelOuterChanged)
    Q_PROPERTY(Bevel bevelInner READ bevelInner WRITE setBevelInner NOTIFY bevelInnerChanged)
    Q_PROPERTY(Kind kind READ kind WRITE setKind)
public:
    enum Bevel { bvNone, bvLowered, bvRaised };
    Q_ENUM(Bevel)
    // What the panel is to the person using it, as assistive technology reports it.
    enum Kind { Surface, Popup, AlertPopup, Toggle };
    Q_ENUM(Kind)

    explicit TPanel(QWidget *parent = nullptr);
    ~TPanel() override;

    // Virtual so that a button reached through a panel pointer sets its resting colour.
    virtual QColor color() const { return m_color; }
    virtual void setColor(const QColor &color);
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &color);
    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    Bevel bevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(Bevel bevel);
    Bevel bevelInner() const { return m_bevelInner; }
    void setBevelInner(Bevel bevel);
    Kind kind() const { return m_kind; }
    void setKind(Kind kind) { m_kind = kind; }

public Q_SLOTS:
    // Raises the click as a release of the left button inside would, when enabled.
    void click();

Q_SIGNALS:
    void clicked();
    void colorChanged(const QColor &color);
    void textColorChanged(const QColor &color);
    void captionChanged(const QString &caption);
    void bevelOuterChanged(TPanel::Bevel bevel);
    void bevelInnerChanged(TPanel::Bevel bevel);

protected:
    // The colour actually painted; a derived control may show another than color() reports.
    QColor panelColor() const { return m_color; }
    void setPanelColor(const QColor &color);
    // Draws both bevels on r (outer first) and shrinks it past them.
    void drawBevels(QPainter &p, QRect &r) const;

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QColor m_color;
    QColor m_textColor {Qt::black};
    QString m_caption;
    Bevel m_bevelOuter {bvRaised};
    Bevel m_bevelInner {bvNone};
    Kind m_kind {Surface};
    bool m_leftPressed {false};
};
