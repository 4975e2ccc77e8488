# filled in with the tests of this area
