// The window's components made from the layout table, each named as in the window description,
// placed, coloured and captioned as the table says.
#pragma once

#include <QHash>
#include <QString>

class QWidget;

QHash<QString, QWidget *> createWindowControls(QWidget *window);
