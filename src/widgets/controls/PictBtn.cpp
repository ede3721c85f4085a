// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictBtn.h"

#include <QAccessible>
#include <QCursor>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QScopeGuard>

TPictureButton::TPictureButton(QWidget *parent)
    : TPanel(parent)
    , m_restColor(SystemColors::buttonFace(this))
    , m_inColor(SystemColors::light3D(this))
{
    resize(36, 36);
    // Focus by click only: the button is no tab stop unless the window makes it one.
    setFocusPolicy(Qt::ClickFocus);
    applyRestBevels();
    setPanelColor(m_restColor);
    connect(this, &TPanel::captionChanged, this, &TPictureButton::updateMnemonic);
}

TPictureButton::~TPictureButton() = default;

int TPictureButton::halfToEven(int d)
{
    const int floorHalf = d >= 0 ? d / 2 : -((1 - d) / 2);
    if (d - 2 * floorHalf == 0)
        return floorHalf;
    return floorHalf % 2 == 0 ? floorHalf : floorHalf + 1;
}

void TPictureButton::setButtonStyle(ButtonStyle style)
{
    if (style == m_buttonStyle)
        return;
    m_buttonStyle = style;
    applyRestBevels();
    update();
    Q_EMIT buttonStyleChanged(style);
}

void TPictureButton::setColor(const QColor &color)
{
    if (color == m_restColor)
        return;
    m_restColor = color;
    // Shown at once, even while the pointer is over the button.
    setPanelColor(color);
    update();
    Q_EMIT colorChanged(color);
}

void TPictureButton::setInColor(const QColor &color)
{
    if (color == m_inColor)
        return;
    // Deliberately no repaint: the hover colour shows from the next hover or paint.
    m_inColor = color;
    Q_EMIT inColorChanged(color);
}

void TPictureButton::setColorChange(bool on)
{
    if (on == m_colorChange)
        return;
    m_colorChange = on;
    update();
    Q_EMIT colorChangeChanged(on);
}

void TPictureButton::setFocusStyle(FocusStyle style)
{
    if (style == m_focusStyle)
        return;
    m_focusStyle = style;
    update();
    Q_EMIT focusStyleChanged(style);
}

void TPictureButton::setPicture(const QImage &picture)
{
    QImage image = picture;
    if (!image.isNull() && !image.hasAlphaChannel()) {
        // An opaque bitmap is drawn transparently through the colour of its bottom-left pixel.
        const QRgb key = image.pixel(0, image.height() - 1) & RGB_MASK;
        image = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if ((line[x] & RGB_MASK) == key)
                    line[x] = 0;
            }
        }
    }
    if (image == m_picture)
        return;
    m_picture = image;
    update();
    Q_EMIT pictureChanged();
}

void TPictureButton::setPictureLeft(int left)
{
    if (left == m_pictureLeft)
        return;
    m_pictureLeft = left;
    update();
    Q_EMIT pictureLeftChanged(left);
}

void TPictureButton::setPictureTop(int top)
{
    if (top == m_pictureTop)
        return;
    m_pictureTop = top;
    update();
    Q_EMIT pictureTopChanged(top);
}

void TPictureButton::setCaptionLeft(int left)
{
    if (left == m_captionLeft)
        return;
    m_captionLeft = left;
    update();
    Q_EMIT captionLeftChanged(left);
}

void TPictureButton::setCaptionTop(int top)
{
    if (top == m_captionTop)
        return;
    m_captionTop = top;
    update();
    Q_EMIT captionTopChanged(top);
}

void TPictureButton::setStretch(bool on)
{
    if (on == m_stretch)
        return;
    m_stretch = on;
    update();
    Q_EMIT stretchChanged(on);
}

void TPictureButton::setCheckable(bool on)
{
    if (on == m_checkable)
        return;
    m_checkable = on;
    QAccessible::State changed;
    changed.checkable = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
    Q_EMIT checkableChanged(on);
}

void TPictureButton::setChecked(bool on)
{
    if (on == m_checked)
        return;
    m_checked = on;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
    Q_EMIT checkedChanged(on);
}

void TPictureButton::applyRestBevels()
{
    Bevel inner = bvNone, outer = bvNone;
    switch (m_buttonStyle) {
    case bsLowered:
        outer = bvLowered;
        break;
    case bsRaised:
        outer = bvRaised;
        break;
    case bsFrame:
        inner = bvLowered;
        outer = bvRaised;
        break;
    case bsGroove:
        inner = bvRaised;
        outer = bvLowered;
        break;
    case bsNone:
    case bsIELike:
    case bsSpBtnLike:
    case bsStdButton:
        break;
    }
    setBevelInner(inner);
    setBevelOuter(outer);
}

void TPictureButton::setDown(bool down)
{
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.pressed = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
    switch (m_buttonStyle) {
    case bsNone:
        setBevelOuter(down ? bvLowered : bvNone);
        break;
    case bsLowered:
        setBevelInner(down ? bvLowered : bvNone);
        break;
    case bsRaised:
        setBevelOuter(down ? bvLowered : bvRaised);
        break;
    case bsFrame:
        setBevelOuter(down ? bvNone : bvRaised);
        break;
    case bsGroove:
        setBevelInner(down ? bvNone : bvRaised);
        break;
    case bsIELike:
        setBevelOuter(down ? bvLowered : (m_mouseInside ? bvRaised : bvNone));
        break;
    case bsSpBtnLike:
        setBevelOuter(down ? bvLowered : (bevelOuter() == bvRaised ? bvNone : bvRaised));
        break;
    case bsStdButton:
        // The painted standard frame shows the press.
        break;
    }
}

void TPictureButton::click()
{
    m_pressed = false;
    setDown(false);
    update();
    Q_EMIT clicked();
}

void TPictureButton::pressByKey()
{
    if (!isEnabled())
        return;
    setDown(true);
    m_pressed = true;
    update();
    const auto release = qScopeGuard([this] { cancelPress(); });
    Q_EMIT pressedByKey();
    click();
}

void TPictureButton::cancelPress()
{
    m_pressed = false;
    setDown(false);
    update();
}

int TPictureButton::pressOffset() const
{
    // Only "held with the pointer inside" shifts the content; a press cancelled by a key while
    // the pointer is outside must not shift it the other way.
    return m_pressed && m_pressCancel == 0 ? 1 : 0;
}

QColor TPictureButton::backgroundColor() const
{
    if (m_focusStyle == bfsInColor && hasFocus())
        return m_inColor;
    if (!m_pressed)
        return displayedColor();
    return m_pressCancel != 0 ? m_restColor : m_inColor;
}

QSize TPictureButton::captionSize() const
{
    return QFontMetrics(font()).size(Qt::TextShowMnemonic, caption());
}

QRect TPictureButton::pictureRect() const
{
    if (m_picture.isNull())
        return {};
    const int o = pressOffset();
    if (m_stretch) // from (2 + o, 2 + o) to the point (width - 4, height - 4), exclusive
        return QRect(2 + o, 2 + o, width() - 6 - o, height() - 6 - o);
    const int left = m_pictureLeft == -1 ? halfToEven(width() - m_picture.width()) : m_pictureLeft;
    const int top = m_pictureTop == -1 ? halfToEven(height() - m_picture.height()) : m_pictureTop;
    return QRect(QPoint(left + o, top + o), m_picture.size());
}

QRect TPictureButton::captionRect() const
{
    if (caption().isEmpty())
        return {};
    const QSize text = captionSize();
    // Integer division truncates toward zero, also for a caption wider than the button.
    const int left = m_captionLeft == -1 ? (width() - text.width()) / 2 : m_captionLeft;
    const int top = m_captionTop == -1 ? (height() - text.height()) / 2 : m_captionTop;
    const int o = pressOffset();
    return QRect(QPoint(left + o, top + o), text);
}

void TPictureButton::paintButton(QPainter &p) const
{
    QRect r = rect();
    drawBevels(p, r);
    p.fillRect(r, backgroundColor());

    if (!m_picture.isNull()) {
        if (m_stretch) {
            QImage canvas(m_picture.size(), QImage::Format_ARGB32_Premultiplied);
            canvas.fill(displayedColor()); // the control's background erase
            QPainter(&canvas).drawImage(0, 0, m_picture);
            p.drawImage(pictureRect(), canvas);
        } else {
            p.drawImage(pictureRect().topLeft(), m_picture);
        }
    }

    if (!caption().isEmpty()) {
        p.setFont(font());
        p.setPen(textColor());
        const QRect box(captionRect().topLeft(), QPoint(width() - 1, height() - 1));
        p.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, caption());
    }

    const int o = pressOffset();
    if (m_buttonStyle == bsStdButton) {
        r = rect();
        if (o == 1) {
            const QColor shadow = SystemColors::buttonShadow(this);
            const QColor face = SystemColors::buttonFace(this);
            draw3DFrame(p, r, shadow, shadow);
            draw3DFrame(p, r, face, face);
        } else {
            draw3DFrame(p, r, SystemColors::light3D(this), SystemColors::darkShadow3D(this));
            draw3DFrame(
                p, r, SystemColors::buttonHighlight(this), SystemColors::buttonShadow(this));
        }
    } else {
        r = rect().adjusted(o, o, -o, -o);
    }

    if (m_focusStyle == bfsStdButton && hasFocus()) {
        r.adjust(2, 2, -2, -2);
        // The dotted focus rectangle inverts every other pixel of its edge (XOR with white).
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        const auto dot = [&p](int x, int y) {
            if ((x + y) % 2 == 0)
                p.fillRect(QRect(x, y, 1, 1), Qt::white);
        };
        for (int x = r.left(); x <= r.right(); ++x) {
            dot(x, r.top());
            if (r.bottom() != r.top())
                dot(x, r.bottom());
        }
        for (int y = r.top() + 1; y < r.bottom(); ++y) {
            dot(r.left(), y);
            if (r.right() != r.left())
                dot(r.right(), y);
        }
    }
}

QImage TPictureButton::render() const
{
    // An image rather than the backing store: the focus dots need a raster XOR.
    const qreal dpr = devicePixelRatioF();
    QImage image(size() * dpr, QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    renderInto(image);
    return image;
}

void TPictureButton::renderInto(QImage &image) const
{
    image.fill(displayedColor());
    QPainter p(&image);
    paintButton(p);
}

void TPictureButton::paintEvent(QPaintEvent *)
{
    // The surface is kept between paints: a button repaints on every hover, press and release.
    const qreal dpr = devicePixelRatioF();
    const QSize pixels = size() * dpr;
    if (m_surface.size() != pixels || m_surface.devicePixelRatio() != dpr) {
        m_surface = QImage(pixels, QImage::Format_RGB32);
        m_surface.setDevicePixelRatio(dpr);
    }
    renderInto(m_surface);
    QPainter(this).drawImage(0, 0, m_surface);
}

void TPictureButton::leftPress(QMouseEvent *event, bool doubleClick)
{
    setFocus(Qt::MouseFocusReason);
    m_captured = true;
    m_clickArmed = !doubleClick;
    m_mouseInside = true;
    setDown(true);
    m_pressed = true;
    repaint();
    Q_EMIT mouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void TPictureButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        leftPress(event, false);
    else
        Q_EMIT mouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void TPictureButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        // The second press of a double click reports itself and never clicks.
        Q_EMIT doubleClicked();
        leftPress(event, true);
    } else {
        Q_EMIT mouseDown(event->button(), event->modifiers(), event->position().toPoint());
    }
}

void TPictureButton::mouseMoveEvent(QMouseEvent *event)
{
    // Qt sends no enter/leave while the button holds the mouse; detect them here instead.
    if (m_captured)
        pointerAt(event->position().toPoint(), event->modifiers(), event->buttons());
}

void TPictureButton::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() != Qt::LeftButton) {
        Q_EMIT mouseUp(event->button(), event->modifiers(), pos);
        return;
    }
    const bool armed = m_captured && m_clickArmed;
    if (m_captured)
        pointerAt(pos, event->modifiers(), event->buttons() | Qt::LeftButton);
    m_captured = false;
    m_clickArmed = false;
    {
        // A failing click handler must not leave the button held.
        const auto release = qScopeGuard([this] {
            setDown(false);
            m_pressed = false;
            m_pressCancel = 0;
            repaint();
        });
        if (armed && rect().contains(pos))
            click();
    }
    Q_EMIT mouseUp(event->button(), event->modifiers(), pos);
}

void TPictureButton::pointerAt(
    QPoint pos, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    const bool inside = rect().contains(pos);
    if (inside == m_mouseInside)
        return;
    if (inside)
        doMouseEnter(modifiers, buttons, pos);
    else
        doMouseLeave(modifiers, buttons, pos);
}

void TPictureButton::doMouseEnter(
    Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, QPoint pos)
{
    m_mouseInside = true;
    Q_EMIT mouseEnter(modifiers, buttons, pos);
    if (m_buttonStyle == bsIELike || m_buttonStyle == bsSpBtnLike) {
        setBevelOuter(buttons.testFlag(Qt::LeftButton) ? bvLowered : bvRaised);
        m_pressCancel = 0;
        repaint();
    } else if (m_buttonStyle == bsStdButton && m_captured) {
        m_pressCancel = 0;
        repaint();
    }
    if (m_colorChange)
        setPanelColor(m_inColor);
}

void TPictureButton::doMouseLeave(
    Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, QPoint pos)
{
    m_mouseInside = false;
    Q_EMIT mouseLeave(modifiers, buttons, pos);
    if (m_buttonStyle == bsIELike)
        setBevelOuter(bvNone);
    else if (m_buttonStyle == bsSpBtnLike)
        setBevelOuter(buttons.testFlag(Qt::LeftButton) ? bvRaised : bvNone);
    if (m_buttonStyle == bsIELike || m_buttonStyle == bsSpBtnLike || m_buttonStyle == bsStdButton) {
        m_pressCancel = m_pressed ? -1 : 0;
        repaint();
    }
    if (m_colorChange)
        setPanelColor(m_restColor);
}

void TPictureButton::keyPressEvent(QKeyEvent *event)
{
    TPanel::keyPressEvent(event);
    if (!isEnabled())
        return;
    switch (event->key()) {
    case Qt::Key_Space:
        if (!m_pressed) {
            m_pressed = true;
            setDown(true);
            update();
            Q_EMIT pressedByKey();
        }
        event->accept();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Left unaccepted so that the window's own Enter rule still sees the key.
        pressByKey();
        break;
    default:
        if (m_pressed)
            cancelPress();
        break;
    }
}

void TPictureButton::keyReleaseEvent(QKeyEvent *event)
{
    TPanel::keyReleaseEvent(event);
    if (!isEnabled() || event->key() != Qt::Key_Space || event->isAutoRepeat() || !m_pressed)
        return;
    event->accept();
    cancelPress();
    const auto repaintAfter = qScopeGuard([this] { update(); });
    click();
}

void TPictureButton::focusInEvent(QFocusEvent *event)
{
    TPanel::focusInEvent(event);
    repaint();
    Q_EMIT entered();
}

void TPictureButton::focusOutEvent(QFocusEvent *event)
{
    TPanel::focusOutEvent(event);
    repaint();
    Q_EMIT exited();
}

void TPictureButton::changeEvent(QEvent *event)
{
    TPanel::changeEvent(event);
    if (event->type() != QEvent::EnabledChange || isEnabled())
        return;
    // A disabled widget receives no release: drop the press and the hover it can no longer end.
    const bool held = m_pressed || m_captured;
    m_captured = false;
    m_clickArmed = false;
    m_pressCancel = 0;
    if (held)
        cancelPress();
    if (m_mouseInside) {
        m_mouseInside = false;
        if (m_colorChange)
            setPanelColor(m_restColor);
    }
}

bool TPictureButton::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Enter:
        if (isEnabled() && !m_mouseInside) {
            const auto *enter = static_cast<QEnterEvent *>(event);
            doMouseEnter(QGuiApplication::keyboardModifiers(), QGuiApplication::mouseButtons(),
                enter->position().toPoint());
        }
        break;
    case QEvent::Leave:
        if (isEnabled() && m_mouseInside)
            doMouseLeave(QGuiApplication::keyboardModifiers(), QGuiApplication::mouseButtons(),
                mapFromGlobal(QCursor::pos()));
        break;
    case QEvent::Shortcut:
        if (const int id = static_cast<QShortcutEvent *>(event)->shortcutId();
            id != 0 && (id == m_mnemonicId || id == m_plainMnemonicId)) {
            if (isEnabled() && isVisible() && parentWidget() && parentWidget()->isVisible()) {
                click();
                return true;
            }
            return false;
        }
        break;
    default:
        break;
    }
    return TPanel::event(event);
}

void TPictureButton::updateMnemonic()
{
    for (int id : {m_mnemonicId, m_plainMnemonicId}) {
        if (id != 0)
            releaseShortcut(id);
    }
    m_mnemonicId = m_plainMnemonicId = 0;
    const QKeySequence mnemonic = QKeySequence::mnemonic(caption());
    if (mnemonic.isEmpty())
        return;
    m_mnemonicId = grabShortcut(mnemonic);
    // The bare character too: widgets that take typed characters (edits) claim it first through
    // their shortcut override, so it only fires while the focus is on one that takes none.
    m_plainMnemonicId = grabShortcut(QKeySequence(mnemonic[0].key()));
}
