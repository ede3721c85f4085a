// Compiled as part of the model: Qt Widgets is not linked there.
#include "record/TextGrid.h"
#include <QWidget>
