#define UDF_COMMON 1
