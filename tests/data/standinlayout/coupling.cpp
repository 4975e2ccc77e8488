// A C++ UDF: the table in udf_names.c must find these functions by their C names.
#include "udf.h"
#include "EdemCouplingClient.h"

namespace {
bool connected = false;
}

DEFINE_EXECUTE_ON_LOADING(connect_edem, libname)
{
    connected = edemConnect() == 0;
    if (!connected)
        Error("%s: EDEM is not running\n", libname);
}

DEFINE_DPM_INJECTION_INIT(seed_particles, injection)
{
    if (connected && injection)
        Message("seeding from EDEM\n");
}
