/* Kestrune's stand-in: the configuration of a host variant, in the variant's folder of the Fluent
   installation, which a variant's build has on its include path. */
#define RP_HOST 1
