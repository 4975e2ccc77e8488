/* Kestrune's stand-in for the Windows SDK's uuid.lib: interface identifiers as data. UDFs rarely
   use them; CMake names the library in every project, so it must exist and link. */
typedef struct {
    unsigned long data1;
    unsigned short data2;
    unsigned short data3;
    unsigned char data4[8];
} GUID;

const GUID IID_IUnknown = { 0x00000000, 0x0000, 0x0000, { 0xC0, 0, 0, 0, 0, 0, 0, 0x46 } };
const GUID IID_IClassFactory = { 0x00000001, 0x0000, 0x0000, { 0xC0, 0, 0, 0, 0, 0, 0, 0x46 } };
