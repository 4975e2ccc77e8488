/* Kestrune's stand-in for the core types of the EDEM 2018 coupling interface. */
#ifndef KESTRUNE_STANDIN_EDEM_CORE_TYPES_H
#define KESTRUNE_STANDIN_EDEM_CORE_TYPES_H

typedef struct
{
    double x;
    double y;
    double z;
} EdemVector3;

/* Zero for success, as every coupling call reports. */
typedef int EdemResult;

#endif /* KESTRUNE_STANDIN_EDEM_CORE_TYPES_H */
