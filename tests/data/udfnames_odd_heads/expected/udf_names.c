#include "udf.h"
#include "prop.h"
#include "dpm.h"
extern DEFINE_PROFILE( inlet, t, i);
extern DEFINE_PROFILE (outlet, t, i);
extern DEFINE_ON_DEMAND( init_interface );
extern DEFINE_EXECUTE_AT_END(
	at_end);
extern DEFINE_ADJUST(
  adjust_split,
  domain);
extern DEFINE_ON_DEMAND();
extern DEFINE_ON_DEMAND(init_interface);
__declspec(dllexport) UDF_Data udf_data[] = { 
{"inlet", (void (*)(void))inlet, UDF_TYPE_PROFILE},
{"outlet", (void (*)(void))outlet, UDF_TYPE_PROFILE },
{"init_interface", (void (*)(void))init_interface, UDF_TYPE_ON_DEMAND},
{"at_end", (void (*)(void))at_end, UDF_TYPE_EXECUTE_AT_END},
{"adjust_split", (void (*)(void))adjust_split, UDF_TYPE_ADJUST},
{"", (void (*)(void)), UDF_TYPE_ON_DEMAND},
{"init_interface", (void (*)(void))init_interface, UDF_TYPE_ON_DEMAND},
};
__declspec(dllexport) int n_udf_data = sizeof(udf_data)/sizeof(UDF_Data);
#include "version.h"
__declspec(dllexport) void UDF_Inquire_Release(int *major, int *minor, int *revision) 
{ 
    *major = RampantReleaseMajor; 
    *minor = RampantReleaseMinor;
    *revision = RampantReleaseRevision; 
} 
