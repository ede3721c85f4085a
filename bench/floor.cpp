// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up floor: the least a Qt Widgets program showing the compact window's size, one
// Japanese label and one push button in the program's Gothic font can cost.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "fonts/Fonts.h"

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(u"ペミラ"_s);
    window.setFixedSize(473, 149);
    auto *label = new QLabel(u"年齢を入力してください"_s, &window);
    label->setFont(gothicFont(12));
    label->setGeometry(8, 8, 300, 20);
    auto *button = new QPushButton(u"計算"_s, &window);
    button->setFont(gothicFont(12));
    button->setGeometry(8, 40, 75, 25);
    window.show();
    return app.exec();
}
