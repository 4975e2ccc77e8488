# Building the generated solution inside Kestrune: MSBuild's diagnostics read into rows, the
# stand-in MSBuild.exe, and the built libraries laid into a Fluent case folder.
kestrune_add_test(tst_msbuilddiagnostics SOURCES tst_msbuilddiagnostics.cpp
                  LIBRARIES kestrune_engine)
