// Compiled as part of the model: a control's header is out of its reach.
#include "record/TextGrid.h"
#include "controls/Label.h"
