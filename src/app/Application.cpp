#include "Application.h"

#include <QApplication>
#include <QWidget>

using namespace Qt::StringLiterals;

int runPemira(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(u"ペミラ"_s);
    QWidget w;
    w.show();
    return app.exec();
}
