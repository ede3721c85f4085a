// SPDX-License-Identifier: GPL-3.0-or-later
// The window's components made from the layout table, each named as in the window description,
// placed, coloured and captioned as the table says.
#pragma once

#include <QHash>
#include <QString>

class QWidget;
class TPictureButton;
struct MoodFaces;

QHash<QString, QWidget *> createWindowControls(QWidget *window);

// The sex buttons showing sexCode (0: none chosen): the other one fades into the input panel.
void showSex(TPictureButton *male, TPictureButton *female, int sexCode);
// The information button as the way to the page or, with the page shown, back to the graph.
void showInfoButton(TPictureButton *button, bool pageShown);

// Shows the figure of that number (1: the one before any judgement; 0: none), drawn the first time
// it is needed; description tells assistive technology what it shows.
void showFigure(const QHash<QString, QWidget *> &controls, int figure, const QString &description);
// The mood choice's pictures, drawn the first time they are needed rather than at start-up.
void drawMoodButtons(const QHash<QString, QWidget *> &controls);
// The mood faces the screen graph draws (white on black, with their masks), made once.
const MoodFaces &screenMoodFaces();
