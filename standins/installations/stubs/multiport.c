/* Kestrune's stand-in for Fluent's message passing library mport.dll, which host and node UDF
   libraries load with Fluent: a run of one process, rank 0, under the socket build's name and the
   MPI build's. It needs no C runtime. */
#include "udf.h"

int mport_rank(void)
{
    return 0;
}

int mport_node_rank(void);

int mport_node_rank(void)
{
    return 0;
}
