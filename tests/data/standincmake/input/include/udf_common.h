#ifndef UDF_COMMON_H
#define UDF_COMMON_H
#define UDF_COMMON 1
#endif
