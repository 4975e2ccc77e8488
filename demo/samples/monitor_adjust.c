/* Counts the calls of the adjust hook, once per iteration. */
#include "udf.h"

static int adjust_calls = 0;

DEFINE_ADJUST(count_iterations, domain)
{
    ++adjust_calls;
    /* DEFINE_ADJUST(old_counter, domain) was replaced by the function above. */
}
