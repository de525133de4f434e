#pragma once
// saleinvoice-display: the customer's cash display. It listens where parameter 2827 of the
// database (or --listen) points, and shows the amount payable of each invoice a cash desk
// announces. Exit codes: 0 done, 1 database or network failure, 2 bad command line or no address.

namespace si::display {

int DisplayMain(int argc, char** argv);

}  // namespace si::display
