// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowControls.h"

#include "Frame1.h"
#include "KeypadKeys.h"
#include "WindowLayout.h"
#include "artwork/Artwork.h"
#include "colors/BgrColor.h"
#include "fonts/Fonts.h"
#include "controls/Image.h"
#include "controls/Label.h"
#include "controls/Panel.h"
#include "controls/PictBtn.h"
#include "controls/PressKey.h"
#include "controls/RightEdit.h"
#include "info/InfoBrowserHost.h"
#include "record/GraphPainter.h"

#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;
using namespace WindowLayout;

namespace {

void applyCursor(QWidget *widget, unsigned flags)
{
    if (flags & HandCursor)
        widget->setCursor(Qt::PointingHandCursor);
    else if (flags & HelpCursor)
        widget->setCursor(Qt::WhatsThisCursor);
}

// Most controls already inherit the font they are given; setting it again would only resolve
// and propagate it once more.
void applyFont(QWidget *widget, const QFont &font)
{
    if (widget->font() != font)
        widget->setFont(font);
}

} // namespace

QHash<QString, QWidget *> createWindowControls(QWidget *window)
{
    QHash<QString, QWidget *> controls;
    for (const Row &row : controlTable) {
        QWidget *parent = row.parent ? controls.value(QString::fromLatin1(row.parent)) : window;
        QWidget *widget = nullptr;
        const QString caption = QString::fromUtf16(row.caption);
        const QFont font = gothicFont(row.fontPx ? row.fontPx : 12, row.flags & Bold);
        switch (row.kind) {
        case Kind::Panel: {
            auto *panel = new TPanel(parent);
            panel->setColor(bgrColor(quint32(row.colour)));
            if (row.textColour != None)
                panel->setTextColor(bgrColor(quint32(row.textColour)));
            panel->setBevelOuter(row.flags & OuterLowered ? TPanel::bvLowered
                    : row.flags & OuterNone               ? TPanel::bvNone
                                                          : TPanel::bvRaised);
            panel->setBevelInner(row.flags & InnerRaised ? TPanel::bvRaised : TPanel::bvNone);
            applyFont(panel, font);
            panel->setCaption(caption);
            widget = panel;
            break;
        }
        case Kind::Button: {
            auto *button = new TPictureButton(parent);
            button->setColor(bgrColor(quint32(row.colour)));
            button->setInColor(bgrColor(quint32(row.hover)));
            button->setTextColor(bgrColor(quint32(row.textColour)));
            applyFont(button, font);
            button->setCaption(caption);
            widget = button;
            break;
        }
        case Kind::Edit: {
            auto *edit = new TRightEdit(parent);
            edit->setFrame(false);
            edit->setTypingLimit(int(row.hover));
            edit->setFocusPolicy(Qt::ClickFocus);
            edit->setAttribute(Qt::WA_InputMethodEnabled, false);
            QPalette p = edit->palette();
            p.setColor(QPalette::Base, bgrColor(quint32(row.colour)));
            p.setColor(QPalette::Text, bgrColor(quint32(row.textColour)));
            edit->setPalette(p);
            applyFont(edit, font);
            widget = edit;
            break;
        }
        case Kind::Label: {
            auto *label = new TLabel(parent);
            applyFont(label, font);
            label->setTextColor(bgrColor(quint32(row.textColour)));
            if (row.flags & RightAligned)
                label->setAlignment(Qt::AlignRight | Qt::AlignTop);
            if (row.flags & Centred)
                label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            label->setGeometry(row.x, row.y, row.w, row.h);
            label->setAutoSize(!(row.flags & FixedSize));
            label->setCaption(caption);
            widget = label;
            break;
        }
        case Kind::Image:
            widget = new TImage(parent);
            break;
        case Kind::Push: {
            auto *button = isKeypadKey(row.name) ? new TPressKey(caption, parent)
                                                 : new QPushButton(caption, parent);
            button->setFocusPolicy(Qt::NoFocus);
            applyFont(button, font);
            widget = button;
            break;
        }
        case Kind::Frame:
            widget = new TFrame1(parent);
            break;
        case Kind::Browser:
            widget = new InfoBrowserHost(parent);
            widget->setFocusPolicy(Qt::NoFocus);
            break;
        case Kind::Placeholder:
            widget = new QWidget(parent);
            break;
        }
        widget->setObjectName(QString::fromLatin1(row.name));
        if (row.kind != Kind::Label)
            widget->setGeometry(row.x, row.y, row.w, row.h);
        else
            widget->move(qobject_cast<TLabel *>(widget)->pos());
        applyCursor(widget, row.flags);
        if (*row.hint)
            widget->setToolTip(QString::fromUtf16(row.hint));
        if (row.flags & Disabled)
            widget->setEnabled(false);
        if (row.flags & Hidden)
            widget->hide();
        controls.insert(widget->objectName(), widget);
    }

    auto *figure = qobject_cast<QLabel *>(controls.value(QString::fromLatin1(FigureImages[0])));
    figure->setPixmap(QPixmap::fromImage(figurePicture(1, window->devicePixelRatioF())));

    const auto button = [&controls](const char *name) {
        return qobject_cast<TPictureButton *>(controls.value(QString::fromLatin1(name)));
    };
    auto *caption = button(ClearButton);
    caption->setCaptionLeft(7);
    caption->setCaptionTop(6);
    for (const char *name : MoodButtons) {
        button(name)->setPictureLeft(14);
        button(name)->setCaptionLeft(40);
    }
    return controls;
}

void showSex(TPictureButton *male, TPictureButton *female, int sexCode)
{
    const QColor faded = bgrColor(quint32(row(InputPanel).colour));
    male->setColor(sexCode == 2 ? faded : bgrColor(quint32(row(SexButtons[0]).colour)));
    male->setCaption(sexCode == 2 ? QString() : u"♂"_s);
    female->setColor(sexCode == 1 ? faded : bgrColor(quint32(row(SexButtons[1]).colour)));
    female->setCaption(sexCode == 1 ? QString() : u"♀"_s);
    male->setChecked(sexCode == 1);
    female->setChecked(sexCode == 2);
}

void showInfoButton(TPictureButton *button, bool pageShown)
{
    const Row &own = row(InfoButton);
    // Shown over the page, it wears the graph button's colours: it leads back to the graph.
    const Row &look = pageShown ? row(GraphButton) : own;
    button->setGeometry(pageShown ? InfoShownGeometry : geometry(own));
    button->setCaption(pageShown ? u"グラフ表示"_s : QString::fromUtf16(own.caption));
    button->setToolTip(pageShown ? u"グラフを表示します"_s : QString::fromUtf16(own.hint));
    button->setColor(bgrColor(quint32(look.colour)));
    button->setInColor(bgrColor(quint32(look.hover)));
}

void showFigure(const QHash<QString, QWidget *> &controls, int figure, const QString &description)
{
    for (int i = 1; i <= 5; ++i) {
        auto *image
            = qobject_cast<QLabel *>(controls.value(QString::fromLatin1(FigureImages[i - 1])));
        if (i != figure || i == 1) {
            image->setVisible(i == figure);
            continue;
        }
        if (image->pixmap().isNull())
            image->setPixmap(QPixmap::fromImage(figurePicture(i, image->devicePixelRatioF())));
        image->setAccessibleDescription(description);
        image->show();
    }
}

void drawMoodButtons(const QHash<QString, QWidget *> &controls)
{
    for (int code = 1; code <= 4; ++code) {
        auto *button = qobject_cast<TPictureButton *>(
            controls.value(QString::fromLatin1(MoodButtons[code - 1])));
        if (button->picture().isNull())
            button->setPicture(moodButtonPicture(code));
    }
}

const MoodFaces &screenMoodFaces()
{
    static const MoodFaces faces = [] {
        MoodFaces f;
        for (int code = 1; code <= 4; ++code) {
            f.faces[code - 1] = moodFace(code, MoodFaceSet::OnBlack);
            f.masks[code - 1] = moodFace(code, MoodFaceSet::Mask);
        }
        return f;
    }();
    return faces;
}
