/* Kestrune's stand-in for the C runtime libraries of Visual Studio (msvcrt.lib for /MD and
   msvcrtd.lib for /MDd). The real ones import the runtime DLLs; these hold, statically, only what
   compiled UDF objects ask for: the floating point marker, the stack cookie and its check, the
   stack probe, the memory functions the compiler may call, the start-up routine of a DLL with the
   C++ initializers and atexit, and the C++ frame handler. No runtime DLL is needed at load time. */

typedef unsigned long long uintptr;
typedef void(__cdecl *initializer)(void);

/* The linker asks for this symbol in every object that uses floating point. */
int _fltused = 0x9875;

/* Objects built with /GS compare this value on return; a fixed one will do for a stand-in. */
uintptr __security_cookie = 0x00002B992DDFA232ull;

void __security_init_cookie(void) { }

void __security_check_cookie(uintptr cookie)
{
    if (cookie != __security_cookie)
        __builtin_trap();
}

/* C++ dynamic initializers sit between these two markers: the linker sorts the .CRT$XC sections
   by the text after the dollar sign. */
#pragma section(".CRT$XCA", long, read)
#pragma section(".CRT$XCZ", long, read)
__declspec(allocate(".CRT$XCA")) const initializer __xc_a[] = { 0 };
__declspec(allocate(".CRT$XCZ")) const initializer __xc_z[] = { 0 };

#define EXIT_SLOTS 64
static initializer exitFunctions[EXIT_SLOTS];
static int exitCount = 0;

int __cdecl atexit(initializer function)
{
    if (exitCount == EXIT_SLOTS)
        return -1;
    exitFunctions[exitCount++] = function;
    return 0;
}

/* The entry point lld-link and link.exe give a DLL: C++ initializers on loading, the atexit
   functions in reverse order on unloading. */
int __stdcall _DllMainCRTStartup(void *instance, unsigned long reason, void *reserved)
{
    (void)instance;
    (void)reserved;
    if (reason == 1) {
        for (const initializer *at = __xc_a; at < __xc_z; ++at) {
            if (*at)
                (*at)();
        }
    } else if (reason == 0) {
        while (exitCount > 0)
            exitFunctions[--exitCount]();
    }
    return 1;
}

/* Compiled without builtins, so that these loops are not turned back into calls of themselves. */
void *__cdecl memset(void *target, int value, unsigned long long size)
{
    unsigned char *bytes = (unsigned char *)target;
    while (size--)
        *bytes++ = (unsigned char)value;
    return target;
}

void *__cdecl memcpy(void *target, const void *source, unsigned long long size)
{
    unsigned char *to = (unsigned char *)target;
    const unsigned char *from = (const unsigned char *)source;
    while (size--)
        *to++ = *from++;
    return target;
}

void *__cdecl memmove(void *target, const void *source, unsigned long long size)
{
    unsigned char *to = (unsigned char *)target;
    const unsigned char *from = (const unsigned char *)source;
    if (to < from)
        return memcpy(target, source, size);
    while (size--)
        to[size] = from[size];
    return target;
}

int __cdecl memcmp(const void *left, const void *right, unsigned long long size)
{
    const unsigned char *a = (const unsigned char *)left;
    const unsigned char *b = (const unsigned char *)right;
    for (; size; --size, ++a, ++b) {
        if (*a != *b)
            return *a < *b ? -1 : 1;
    }
    return 0;
}

/* Functions with more than a page of locals probe each page before use; rax holds the size, and
   every register but r10 and r11 must survive. */
__attribute__((naked)) void __chkstk(void)
{
    __asm__ volatile("push %rcx\n"
                     "push %rax\n"
                     "cmp $0x1000, %rax\n"
                     "lea 24(%rsp), %rcx\n"
                     "jb 1f\n"
                     "2:\n"
                     "sub $0x1000, %rcx\n"
                     "test %rcx, (%rcx)\n"
                     "sub $0x1000, %rax\n"
                     "cmp $0x1000, %rax\n"
                     "ja 2b\n"
                     "1:\n"
                     "sub %rax, %rcx\n"
                     "test %rcx, (%rcx)\n"
                     "pop %rax\n"
                     "pop %rcx\n"
                     "ret\n");
}

/* C++ functions with objects to destroy name this handler in their unwind data. Nothing here
   throws, so it only passes the search on (ExceptionContinueSearch). */
int __cdecl __CxxFrameHandler3(void *record, void *frame, void *context, void *dispatcher)
{
    (void)record;
    (void)frame;
    (void)context;
    (void)dispatcher;
    return 1;
}
