// Prints a short report when the user runs it from Fluent's "Execute On Demand" panel.
#include "udf.h"

namespace {
const char *reportTitle = "Kestrune sample report";
}

DEFINE_ON_DEMAND(print_report)
{
    Message("%s\n", reportTitle);
}
