// saleinvoice-host: the ERP shell around comSaleInvoice1 (see HostApp.h).
#include "apps/host/HostApp.h"

int main(int argc, char** argv) {
    return si::host::HostMain(argc, argv);
}
