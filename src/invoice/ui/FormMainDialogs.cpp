// The grid's dialogs, opened for the keys the line logic recognised.

#include "invoice/LinesLogic.h"
#include "invoice/ui/FormMain.h"

namespace si {

void FormMain::openGridDialog(GridAction action, int row) {
    (void)action;
    (void)row;
}

}  // namespace si
