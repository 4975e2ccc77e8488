#include "udf_common.h"

extern "C" int adaptor_interface() { return UDF_COMMON + 1; }
