// saleinvoice-display: the customer's cash display (see DisplayApp.h).
#include "apps/display/DisplayApp.h"

int main(int argc, char** argv) {
    return si::display::DisplayMain(argc, argv);
}
