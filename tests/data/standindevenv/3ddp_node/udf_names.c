#include "udf.h"
#include "prop.h"
#include "dpm.h"
extern DEFINE_PROFILE(inlet_velocity, thread, position);
extern DEFINE_PROPERTY(density, c, t);
__declspec(dllexport) UDF_Data udf_data[] = { 
{"inlet_velocity", (void (*)(void))inlet_velocity, UDF_TYPE_PROFILE},
{"density", (void (*)(void))density, UDF_TYPE_PROPERTY},
};
__declspec(dllexport) int n_udf_data = sizeof(udf_data)/sizeof(UDF_Data);
#include "version.h"
__declspec(dllexport) void UDF_Inquire_Release(int *major, int *minor, int *revision) 
{ 
    *major = RampantReleaseMajor; 
    *minor = RampantReleaseMinor;
    *revision = RampantReleaseRevision; 
} 
