#include "udf.h"
#include "prop.h"
#include "dpm.h"
extern DEFINE_PROFILE(inlet_velocity, thread, position);
extern DEFINE_ON_DEMAND(reset_fields);
extern DEFINE_ADJUST(update_props, domain);
__declspec(dllexport) UDF_Data udf_data[] = { 
{"inlet_velocity", (void (*)(void))inlet_velocity, UDF_TYPE_PROFILE},
{"reset_fields", (void (*)(void))reset_fields, UDF_TYPE_ON_DEMAND},
{"update_props", (void (*)(void))update_props, UDF_TYPE_ADJUST},
};
__declspec(dllexport) int n_udf_data = sizeof(udf_data)/sizeof(UDF_Data);
#include "version.h"
__declspec(dllexport) void UDF_Inquire_Release(int *major, int *minor, int *revision) 
{ 
    *major = RampantReleaseMajor; 
    *minor = RampantReleaseMinor;
    *revision = RampantReleaseRevision; 
} 
