int profile_inlet(void) { return 1; }
