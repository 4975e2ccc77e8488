#include "udf.h"
#include "prop.h"
#include "dpm.h"
extern DEFINE_ON_DEMAND(build_by_varnholt);
__declspec(dllexport) UDF_Data udf_data[] = { 
{"build_by_varnholt", (void (*)(void))build_by_varnholt, UDF_TYPE_ON_DEMAND},
};
__declspec(dllexport) int n_udf_data = sizeof(udf_data)/sizeof(UDF_Data);
#include "version.h"
__declspec(dllexport) void UDF_Inquire_Release(int *major, int *minor, int *revision) 
{ 
    *major = RampantReleaseMajor; 
    *minor = RampantReleaseMinor;
    *revision = RampantReleaseRevision; 
} 
