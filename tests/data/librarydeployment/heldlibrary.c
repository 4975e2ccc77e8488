/* A UDF library as small as Fluent's loader accepts: the release query and a one-row table. The
   library deployment test has the UDF loader hold it while a new one is laid over it. */
#include "udf.h"

static void report(void) { }

void UDF_Inquire_Release(int *major, int *minor, int *revision)
{
    *major = 19;
    *minor = 2;
    *revision = 0;
}

UDF_Data udf_data[] = { { "held_report", report, UDF_TYPE_ON_DEMAND } };
int n_udf_data = 1;
