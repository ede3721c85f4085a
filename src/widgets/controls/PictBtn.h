// SPDX-License-Identifier: GPL-3.0-or-later
// The owner-drawn push button of every coloured button: solid colour, optional picture, caption,
// a 3D frame that sinks while held, a hover colour and a dotted focus rectangle.
#pragma once

#include "Panel.h"

#include <QImage>

class TPictureButton : public TPanel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPictureButton)
    Q_PROPERTY(
        ButtonStyle buttonStyle READ buttonStyle WRITE setButtonStyle NOTIFY buttonStyleChanged)
    Q_PROPERTY(QColor inColor READ inColor WRITE setInColor NOTIFY inColorChanged)
    Q_PROPERTY(bool colorChange READ colorChange WRITE setColorChange NOTIFY colorChangeChanged)
    Q_PROPERTY(FocusStyle focusStyle READ focusStyle WRITE setFocusStyle NOTIFY focusStyleChanged)
    Q_PROPERTY(QImage picture READ picture WRITE setPicture NOTIFY pictureChanged)
    Q_PROPERTY(int pictureLeft READ pictureLeft WRITE setPictureLeft NOTIFY pictureLeftChanged)
    Q_PROPERTY(int pictureTop READ pictureTop WRITE setPictureTop NOTIFY pictureTopChanged)
    Q_PROPERTY(int captionLeft READ captionLeft WRITE setCaptionLeft NOTIFY captionLeftChanged)
    Q_PROPERTY(int captionTop READ captionTop WRITE setCaptionTop NOTIFY captionTopChanged)
    Q_PROPERTY(bool stretch READ stretch WRITE setStretch NOTIFY stretchChanged)
    Q_PROPERTY(bool checkable READ isCheckable WRITE setCheckable NOTIFY checkableChanged)
    Q_PROPERTY(bool checked READ isChecked WRITE setChecked NOTIFY checkedChanged)
public:
    enum ButtonStyle {
        bsNone,
        bsLowered,
        bsRaised,
        bsFrame,
        bsGroove,
        bsIELike,
        bsSpBtnLike,
        bsStdButton
    };
    Q_ENUM(ButtonStyle)
    enum FocusStyle { bfsNone, bfsStdButton, bfsInColor };
    Q_ENUM(FocusStyle)

    explicit TPictureButton(QWidget *parent = nullptr);
    ~TPictureButton() override;

    ButtonStyle buttonStyle() const { return m_buttonStyle; }
    void setButtonStyle(ButtonStyle style);
    // The resting colour; the panel colour underneath is the displayed one.
    QColor color() const override { return m_restColor; }
    void setColor(const QColor &color) override;
    QColor inColor() const { return m_inColor; }
    void setInColor(const QColor &color);
    bool colorChange() const { return m_colorChange; }
    void setColorChange(bool on);
    FocusStyle focusStyle() const { return m_focusStyle; }
    void setFocusStyle(FocusStyle style);
    QImage picture() const { return m_picture; }
    // An image without alpha is keyed out by its bottom-left pixel colour.
    void setPicture(const QImage &picture);
    int pictureLeft() const { return m_pictureLeft; }
    void setPictureLeft(int left);
    int pictureTop() const { return m_pictureTop; }
    void setPictureTop(int top);
    int captionLeft() const { return m_captionLeft; }
    void setCaptionLeft(int left);
    int captionTop() const { return m_captionTop; }
    void setCaptionTop(int top);
    bool stretch() const { return m_stretch; }
    void setStretch(bool on);

    // Whether the button stands for a choice and whether that choice is made. Only assistive
    // technology hears of it: the caller shows the choice through colours and captions.
    bool isCheckable() const { return m_checkable; }
    void setCheckable(bool on);
    bool isChecked() const { return m_checked; }
    void setChecked(bool on);

    QColor displayedColor() const { return panelColor(); }
    bool isPressed() const { return m_pressed; }
    int pressCancel() const { return m_pressCancel; }
    // Where the picture and the caption are drawn now, press offset included.
    QRect pictureRect() const;
    QRect captionRect() const;
    // The complete picture of the button as the next paint draws it.
    QImage render() const;

    // Rounds d / 2 to the nearest integer, a half to the even neighbour.
    static int halfToEven(int d);

public Q_SLOTS:
    // Raises the click as a key or the accelerator does.
    void click();
    // Presses and clicks the button as the Enter key does; for the keyboard and for assistive
    // technology.
    void pressByKey();

Q_SIGNALS:
    void doubleClicked();
    // The button went down by Space, Enter or an assistive technology's press: what a mouse
    // press on it means, for the keyboard.
    void pressedByKey();
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void mouseEnter(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, QPoint pos);
    void mouseLeave(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, QPoint pos);
    void entered();
    void exited();

    void buttonStyleChanged(TPictureButton::ButtonStyle style);
    void inColorChanged(const QColor &color);
    void colorChangeChanged(bool on);
    void focusStyleChanged(TPictureButton::FocusStyle style);
    void pictureChanged();
    void pictureLeftChanged(int left);
    void pictureTopChanged(int top);
    void captionLeftChanged(int left);
    void captionTopChanged(int top);
    void stretchChanged(bool on);
    void checkableChanged(bool on);
    void checkedChanged(bool on);

protected:
    // Pointer entering or leaving the button, also while it is held.
    virtual void doMouseEnter(
        Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, QPoint pos);
    virtual void doMouseLeave(
        Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, QPoint pos);

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void setDown(bool down);
    void applyRestBevels();
    void leftPress(QMouseEvent *event, bool doubleClick);
    void pointerAt(QPoint pos, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
    void cancelPress();
    void updateMnemonic();
    int pressOffset() const;
    QColor backgroundColor() const;
    QSize captionSize() const;
    void paintButton(QPainter &p) const;
    void renderInto(QImage &image) const;

    ButtonStyle m_buttonStyle {bsStdButton};
    QColor m_restColor;
    QColor m_inColor;
    bool m_colorChange {true};
    FocusStyle m_focusStyle {bfsStdButton};
    QImage m_picture;
    QImage m_surface; // the last paint, reused while the size stays
    int m_pictureLeft {-1};
    int m_pictureTop {-1};
    int m_captionLeft {-1};
    int m_captionTop {-1};
    bool m_stretch {false};
    bool m_checkable {false};
    bool m_checked {false};

    bool m_pressed {false};
    int m_pressCancel {0};
    bool m_captured {false};   // left button held since a press on the button
    bool m_clickArmed {false}; // the press may still end in a click
    bool m_mouseInside {false};
    int m_mnemonicId {0};      // Alt + the caption's marked character
    int m_plainMnemonicId {0}; // the marked character alone
};
