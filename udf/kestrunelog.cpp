#include "kestrunelog.h"

Q_LOGGING_CATEGORY(lcKestrune, "kestrune")
