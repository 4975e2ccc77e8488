/* The body of the libraries whose content no UDF needs here but which the projects name:
   oldnames.lib (the old POSIX names of C runtime functions). Linking only needs them to exist. */
typedef int kestrune_empty_library;
