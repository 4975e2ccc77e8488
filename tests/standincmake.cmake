# filled in with the tests of the stand-in cmake
