#include "udf_common.h"

int udf_profile(void) { return UDF_COMMON; }
