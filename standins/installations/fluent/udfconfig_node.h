/* Kestrune's stand-in: the configuration of a compute node variant, in the variant's folder of
   the Fluent installation, which a variant's build has on its include path. */
#define RP_NODE 1
