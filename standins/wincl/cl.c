/* Kestrune's stand-in for cl.exe under Wine. Wine's cmd.exe starts only Windows programs, so this
   small one takes the place of Visual Studio's compiler driver and hands the compile to a host
   program (clhost, named by KESTRUNE_CL_HOST), which splits the arguments as cl does and runs
   clang-cl. The command line travels as hexadecimal UTF-16 in one argument, so that no rule of
   Wine's own argument splitting can change it on the way.

   Wine starts a host program detached: the process handle it gives cannot be waited for and holds
   no exit status. So the host writes its status into a file in Wine's temporary folder, and this
   program waits for that file and exits with the status in it.

   A Windows x64 console program without C runtime, linked against kernel32 only. */

typedef void *HANDLE;
typedef unsigned long DWORD;
typedef int BOOL;
typedef unsigned short WCHAR;

#include "commandtail.h"

typedef struct {
    DWORD cb;
    WCHAR *reserved, *desktop, *title;
    DWORD x, y, width, height, columns, rows, fillAttribute, flags;
    unsigned short showWindow, reserved2Size;
    unsigned char *reserved2;
    HANDLE input, output, error;
} StartupInfo;

typedef struct {
    HANDLE process, thread;
    DWORD processId, threadId;
} ProcessInformation;

#define STD_ERROR_HANDLE ((DWORD)-12)
#define COMMAND_CAPACITY 32768
#define PATH_CAPACITY 4096
#define GENERIC_READ 0x80000000u
#define SHARE_ALL 7u
#define OPEN_EXISTING 3u
#define INVALID_HANDLE ((HANDLE)(long long)-1)
#define POLL_MILLISECONDS 10u
#define WAIT_LIMIT_MILLISECONDS (30u * 60u * 1000u)

__declspec(dllimport) const WCHAR *__stdcall GetCommandLineW(void);
__declspec(dllimport) HANDLE __stdcall GetStdHandle(DWORD handle);
__declspec(dllimport) BOOL __stdcall WriteFile(
    HANDLE file, const void *data, DWORD size, DWORD *written, void *overlapped);
__declspec(dllimport) void __stdcall ExitProcess(unsigned int status);
__declspec(dllimport) DWORD
    __stdcall GetEnvironmentVariableW(const WCHAR *name, WCHAR *value, DWORD size);
__declspec(dllimport) BOOL __stdcall CreateProcessW(const WCHAR *application, WCHAR *commandLine,
    void *processAttributes, void *threadAttributes, BOOL inheritHandles, DWORD flags,
    void *environment, const WCHAR *directory, StartupInfo *startup, ProcessInformation *info);
__declspec(dllimport) BOOL __stdcall CloseHandle(HANDLE handle);
__declspec(dllimport) DWORD __stdcall GetTempPathW(DWORD size, WCHAR *path);
__declspec(dllimport) DWORD __stdcall GetCurrentProcessId(void);
__declspec(dllimport) HANDLE __stdcall CreateFileW(const WCHAR *name, DWORD access, DWORD share,
    void *security, DWORD disposition, DWORD flags, HANDLE templateFile);
__declspec(dllimport) BOOL
    __stdcall ReadFile(HANDLE file, void *data, DWORD size, DWORD *read, void *overlapped);
__declspec(dllimport) BOOL __stdcall DeleteFileW(const WCHAR *name);
__declspec(dllimport) void __stdcall Sleep(DWORD milliseconds);
__declspec(dllimport) HANDLE __stdcall GetModuleHandleW(const WCHAR *name);
__declspec(dllimport) void *__stdcall GetProcAddress(HANDLE module, const char *name);
__declspec(dllimport) int __stdcall MultiByteToWideChar(
    unsigned int codePage, DWORD flags, const char *bytes, int byteSize, WCHAR *wide, int wideSize);

/* Wine's own kernel32 export that gives the host path of a Windows path. */
typedef char *(*UnixFileName)(const WCHAR *path);

/* Static, so that the compiler needs no memset to clear them. */
static StartupInfo startup;
static ProcessInformation child;
static WCHAR hostPath[PATH_CAPACITY];
static WCHAR commandLine[COMMAND_CAPACITY];
static WCHAR statusPath[PATH_CAPACITY];
static WCHAR statusHostPath[PATH_CAPACITY];
static int commandLength;

static void fail(const char *text)
{
    DWORD length = 0, written = 0;
    while (text[length])
        ++length;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, length, &written, 0);
    ExitProcess(2); /* cl's status for a failed compile */
}

static void append(WCHAR c)
{
    if (commandLength + 1 >= COMMAND_CAPACITY)
        fail("cl.exe stand-in: the command line is too long\n");
    commandLine[commandLength++] = c;
}

static void appendQuoted(const WCHAR *text)
{
    append(L'"');
    for (; *text; ++text)
        append(*text);
    append(L'"');
    append(L' ');
}

/* The status file: <Wine's temporary folder>kestrune-cl-<process id>.status, its Windows path in
   statusPath and its host path in statusHostPath. */
static void makeStatusPaths(void)
{
    static const WCHAR prefix[] = L"kestrune-cl-";
    static const WCHAR suffix[] = L".status";
    DWORD at = GetTempPathW(PATH_CAPACITY - 40, statusPath);
    if (at == 0 || at >= PATH_CAPACITY - 40)
        fail("cl.exe stand-in: no temporary folder\n");
    for (const WCHAR *c = prefix; *c; ++c)
        statusPath[at++] = *c;
    WCHAR digits[12];
    int count = 0;
    for (DWORD id = GetCurrentProcessId(); id || !count; id /= 10)
        digits[count++] = (WCHAR)(L'0' + id % 10);
    while (count)
        statusPath[at++] = digits[--count];
    for (const WCHAR *c = suffix; *c; ++c)
        statusPath[at++] = *c;
    statusPath[at] = 0;
    const UnixFileName unixFileName = (UnixFileName)GetProcAddress(
        GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
    const char *host = unixFileName ? unixFileName(statusPath) : 0;
    if (!host || !MultiByteToWideChar(65001, 0, host, -1, statusHostPath, PATH_CAPACITY))
        fail("cl.exe stand-in: runs only under Wine, which gives the host path of a file\n");
}

/* "<host program>" "<status file>" x<hex>: a host program path starting with "/" lies on drive Z:,
   where Wine shows the host's root. */
static void buildCommandLine(const WCHAR *arguments)
{
    static const WCHAR digits[] = L"0123456789abcdef";
    append(L'"');
    if (hostPath[0] == L'/') {
        append(L'Z');
        append(L':');
    }
    for (const WCHAR *c = hostPath; *c; ++c)
        append(*c == L'/' ? L'\\' : *c);
    append(L'"');
    append(L' ');
    appendQuoted(statusHostPath);
    append(L'x'); /* never empty, even for no arguments */
    for (; *arguments; ++arguments) {
        for (int shift = 12; shift >= 0; shift -= 4)
            append(digits[(*arguments >> shift) & 0xf]);
    }
    commandLine[commandLength] = 0;
}

/* The host renames the finished status file into place, so a file that opens is complete. */
static DWORD waitForStatus(void)
{
    for (DWORD waited = 0; waited < WAIT_LIMIT_MILLISECONDS; waited += POLL_MILLISECONDS) {
        const HANDLE file
            = CreateFileW(statusPath, GENERIC_READ, SHARE_ALL, 0, OPEN_EXISTING, 0, 0);
        if (file == INVALID_HANDLE) {
            Sleep(POLL_MILLISECONDS);
            continue;
        }
        char text[16];
        DWORD size = 0;
        ReadFile(file, text, sizeof text, &size, 0);
        CloseHandle(file);
        DeleteFileW(statusPath);
        DWORD status = 0;
        for (DWORD i = 0; i < size && text[i] >= '0' && text[i] <= '9'; ++i)
            status = status * 10 + (DWORD)(text[i] - '0');
        return size ? status : 2;
    }
    fail("cl.exe stand-in: the host compiler did not finish\n");
    return 2;
}

void clMain(void)
{
    const DWORD length = GetEnvironmentVariableW(L"KESTRUNE_CL_HOST", hostPath, PATH_CAPACITY);
    if (length == 0 || length >= PATH_CAPACITY)
        fail("cl.exe stand-in: KESTRUNE_CL_HOST does not name the host compiler program\n");
    makeStatusPaths();
    DeleteFileW(statusPath); /* left over by an earlier process of the same id */
    buildCommandLine(commandTail(GetCommandLineW()));
    startup.cb = sizeof startup;
    if (!CreateProcessW(0, commandLine, 0, 0, 1, 0, 0, 0, &startup, &child))
        fail("cl.exe stand-in: cannot start the host compiler named by KESTRUNE_CL_HOST\n");
    if (child.thread)
        CloseHandle(child.thread);
    if (child.process)
        CloseHandle(child.process);
    ExitProcess(waitForStatus());
}
