#include "udf.h"
#include "prop.h"
#include "dpm.h"
extern DEFINE_PROFILE(inlet_velocity, thread, position);
extern DEFINE_ON_DEMAND(build_by_varnholt);
extern DEFINE_ADJUST(update_props, domain);
extern DEFINE_EXECUTE_ON_LOADING(connect_edem, libname);
extern DEFINE_DPM_INJECTION_INIT(seed_particles, injection);
__declspec(dllexport) UDF_Data udf_data[] = { 
{"inlet_velocity", (void (*)(void))inlet_velocity, UDF_TYPE_PROFILE},
{"build_by_varnholt", (void (*)(void))build_by_varnholt, UDF_TYPE_ON_DEMAND},
{"update_props", (void (*)(void))update_props, UDF_TYPE_ADJUST},
{"connect_edem", (void (*)(void))connect_edem, UDF_TYPE_EXECUTE_ON_LOADING},
{"seed_particles", (void (*)(void))seed_particles, UDF_TYPE_DPM_INJECTION_INIT},
};
__declspec(dllexport) int n_udf_data = sizeof(udf_data)/sizeof(UDF_Data);
#include "version.h"
__declspec(dllexport) void UDF_Inquire_Release(int *major, int *minor, int *revision) 
{ 
    *major = RampantReleaseMajor; 
    *minor = RampantReleaseMinor;
    *revision = RampantReleaseRevision; 
} 
