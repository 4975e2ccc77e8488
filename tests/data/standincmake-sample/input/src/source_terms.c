int source_terms(void) { return 2; }
