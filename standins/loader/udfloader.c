/* Kestrune's UDF loader: loads a built libudf.dll the way Fluent does (LoadLibraryW, then the
   release query UDF_Inquire_Release and the function table n_udf_data and udf_data) and lists
   what Fluent would see, one line each:

       release 19.2.0
       inlet_velocity PROFILE

   Usage: udfloader.exe [--hold] <path of libudf.dll>. The path is taken from the wide command line,
   so blanks and Chinese characters survive. With --hold the library stays loaded after the listing
   until standard input ends, as in a running Fluent: whoever would replace it meanwhile finds it in
   use. Exit status: 0 when the table is sound, 2 when the library cannot be loaded, 3 when it lacks
   a symbol, 4 when a row is broken. It is a Windows console program without a C runtime, linked
   against kernel32 only. */
#include "commandtail.h"
#include "udf.h"

typedef void *HANDLE;
typedef void *HMODULE;
typedef unsigned long DWORD;
typedef int BOOL;
typedef unsigned short WCHAR;
typedef void (*ReleaseQuery)(int *major, int *minor, int *revision);

#define STD_INPUT_HANDLE ((DWORD)-10)
#define STD_OUTPUT_HANDLE ((DWORD)-11)
#define STD_ERROR_HANDLE ((DWORD)-12)
#define CP_UTF8 65001
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define PATH_CAPACITY 1024

__declspec(dllimport) const WCHAR *__stdcall GetCommandLineW(void);
__declspec(dllimport) HANDLE __stdcall GetStdHandle(DWORD handle);
__declspec(dllimport) BOOL __stdcall WriteFile(
    HANDLE file, const void *data, DWORD size, DWORD *written, void *overlapped);
__declspec(dllimport) void __stdcall ExitProcess(unsigned int status);
__declspec(dllimport) BOOL
    __stdcall ReadFile(HANDLE file, void *data, DWORD size, DWORD *read, void *overlapped);
__declspec(dllimport) DWORD __stdcall GetLastError(void);
__declspec(dllimport) HMODULE __stdcall LoadLibraryW(const WCHAR *path);
__declspec(dllimport) void *__stdcall GetProcAddress(HMODULE module, const char *name);
__declspec(dllimport) int __stdcall WideCharToMultiByte(unsigned int codePage, DWORD flags,
    const WCHAR *wide, int wideSize, char *bytes, int byteSize, const char *fallback,
    BOOL *fallbackUsed);
__declspec(dllimport) DWORD __stdcall FormatMessageA(DWORD flags, const void *source, DWORD id,
    DWORD language, char *buffer, DWORD size, void *arguments);

#define UDF_TYPE_NAME(kind) #kind,
static const char *const typeNames[] = { "NONE", UDF_TYPE_LIST(UDF_TYPE_NAME) };

static unsigned long textLength(const char *text)
{
    unsigned long length = 0;
    while (text[length])
        ++length;
    return length;
}

static void put(DWORD stream, const char *text)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(stream), text, (DWORD)textLength(text), &written, 0);
}

static void putNumber(DWORD stream, long number)
{
    char digits[24];
    int at = (int)sizeof digits - 1;
    const int negative = number < 0;
    unsigned long magnitude = negative ? 0ul - (unsigned long)number : (unsigned long)number;
    digits[at] = 0;
    do {
        digits[--at] = (char)('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (negative)
        digits[--at] = '-';
    put(stream, digits + at);
}

/* "--hold" at the start of the arguments, skipped; whether it was there. */
static int holdSwitch(const WCHAR **at)
{
    static const char hold[] = "--hold";
    int length = 0;
    for (; hold[length]; ++length) {
        if ((*at)[length] != (WCHAR)hold[length])
            return 0;
    }
    if ((*at)[length] != L' ' && (*at)[length] != L'\t')
        return 0;
    for (*at += length; **at == L' ' || **at == L'\t'; ++*at) { }
    return 1;
}

/* Everything after the program name and the switch, without surrounding blanks and quotes: one
   path, even one with blanks that the caller did not quote. */
static int pathArgument(WCHAR *path, int *hold)
{
    const WCHAR *at = commandTail(GetCommandLineW());
    *hold = holdSwitch(&at);
    int length = 0;
    for (; at[length]; ++length) {
        if (length == PATH_CAPACITY - 1)
            return 0;
        path[length] = at[length];
    }
    while (length > 0 && (path[length - 1] == L' ' || path[length - 1] == L'\t'))
        --length;
    path[length] = 0;
    if (length >= 2 && path[0] == L'"' && path[length - 1] == L'"') {
        for (int i = 1; i < length - 1; ++i)
            path[i - 1] = path[i];
        path[length - 2] = 0;
        length -= 2;
    }
    return length > 0;
}

static void putPath(DWORD stream, const WCHAR *path)
{
    char bytes[PATH_CAPACITY * 3];
    if (WideCharToMultiByte(CP_UTF8, 0, path, -1, bytes, (int)sizeof bytes, 0, 0) > 0)
        put(stream, bytes);
}

static void putSystemMessage(DWORD error)
{
    char text[512];
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        0, error, 0, text, (DWORD)sizeof text, 0);
    unsigned long end = length;
    while (end > 0 && (text[end - 1] == '\r' || text[end - 1] == '\n' || text[end - 1] == ' '))
        --end;
    text[end] = 0;
    put(STD_ERROR_HANDLE, end ? text : "unknown error");
    put(STD_ERROR_HANDLE, " (error ");
    putNumber(STD_ERROR_HANDLE, (long)error);
    put(STD_ERROR_HANDLE, ")\n");
}

static void *symbolOf(HMODULE library, const WCHAR *path, const char *name)
{
    void *symbol = GetProcAddress(library, name);
    if (!symbol) {
        put(STD_ERROR_HANDLE, "udfloader: ");
        putPath(STD_ERROR_HANDLE, path);
        put(STD_ERROR_HANDLE, " does not export ");
        put(STD_ERROR_HANDLE, name);
        put(STD_ERROR_HANDLE, "\n");
    }
    return symbol;
}

static void putRelease(ReleaseQuery query)
{
    int major = -1, minor = -1, revision = -1;
    query(&major, &minor, &revision);
    put(STD_OUTPUT_HANDLE, "release ");
    putNumber(STD_OUTPUT_HANDLE, major);
    put(STD_OUTPUT_HANDLE, ".");
    putNumber(STD_OUTPUT_HANDLE, minor);
    put(STD_OUTPUT_HANDLE, ".");
    putNumber(STD_OUTPUT_HANDLE, revision);
    put(STD_OUTPUT_HANDLE, "\n");
}

static void putRowError(int row, const char *problem)
{
    put(STD_ERROR_HANDLE, "udfloader: row ");
    putNumber(STD_ERROR_HANDLE, row);
    put(STD_ERROR_HANDLE, problem);
}

/* Lists every row; a row without name or function, or of a kind Fluent does not know, makes the
   table unusable for Fluent and the result false. */
static int putTable(const UDF_Data *table, int count)
{
    int sound = 1;
    for (int row = 0; row < count; ++row) {
        const UDF_Data *entry = &table[row];
        if (!entry->name || !entry->fcn) {
            putRowError(row, entry->name ? " has no function\n" : " has no name\n");
            sound = 0;
            continue;
        }
        put(STD_OUTPUT_HANDLE, entry->name);
        put(STD_OUTPUT_HANDLE, " ");
        if (entry->type > UDF_TYPE_NONE && entry->type < UDF_TYPE_COUNT) {
            put(STD_OUTPUT_HANDLE, typeNames[entry->type]);
        } else {
            put(STD_OUTPUT_HANDLE, "?");
            putNumber(STD_OUTPUT_HANDLE, entry->type);
            putRowError(row, " has an unknown type\n");
            sound = 0;
        }
        put(STD_OUTPUT_HANDLE, "\n");
    }
    return sound;
}

/* Until the other end of standard input closes it. */
static void waitForEndOfInput(void)
{
    char buffer[64];
    DWORD read = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, (DWORD)sizeof buffer, &read, 0)
        && read > 0) { }
}

static unsigned int run(void)
{
    WCHAR path[PATH_CAPACITY];
    int hold = 0;
    if (!pathArgument(path, &hold)) {
        put(STD_ERROR_HANDLE, "usage: udfloader.exe [--hold] <path of libudf.dll>\n");
        return 1;
    }
    const HMODULE library = LoadLibraryW(path);
    if (!library) {
        const DWORD error = GetLastError();
        put(STD_ERROR_HANDLE, "udfloader: cannot load ");
        putPath(STD_ERROR_HANDLE, path);
        put(STD_ERROR_HANDLE, ": ");
        putSystemMessage(error);
        return 2;
    }
    const ReleaseQuery query = (ReleaseQuery)symbolOf(library, path, "UDF_Inquire_Release");
    const int *count = (const int *)symbolOf(library, path, "n_udf_data");
    const UDF_Data *table = (const UDF_Data *)symbolOf(library, path, "udf_data");
    if (!query || !count || !table)
        return 3;
    putRelease(query);
    if (*count < 0) {
        put(STD_ERROR_HANDLE, "udfloader: n_udf_data is negative\n");
        return 4;
    }
    const int sound = putTable(table, *count);
    if (hold)
        waitForEndOfInput();
    return sound ? 0 : 4;
}

void loaderMain(void)
{
    ExitProcess(run());
}
