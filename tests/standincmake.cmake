# The stand-in cmake: its Visual Studio output against golden files and against the tree CMake's
# own Visual Studio 2019 generator wrote, and the hand-over of other command lines to the real cmake.
if(NOT TARGET kestrune_standin_cmake)
    return()
endif()
kestrune_add_test(tst_standincmake SOURCES tst_standincmake.cpp LIBRARIES Qt6::Core
                  LABELS standins)
add_dependencies(tst_standincmake kestrune_standin_cmake)
