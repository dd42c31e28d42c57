// SPDX-License-Identifier: GPL-3.0-or-later
/*
 * Replays a profile scenario against the Windows profile API and records what
 * it did, so that our own profile reader/writer can be held to the same
 * behaviour on odd files.
 *
 * Usage: profile_ref.exe SCENARIO.scn WORKDIR
 *
 * Build: x86_64-w64-mingw32-gcc -municode -O2 -o profile_ref.exe profile_ref.c
 * Run under Wine (see generate.sh). Unix paths ("/...") are accepted and
 * mapped to drive Z:, which Wine maps to the Unix root.
 *
 * For SCENARIO "dir/name.scn":
 *   - "dir/name.initial" (raw bytes) becomes the working file if it exists;
 *     otherwise the working file starts as just a UTF-16 LE byte-order mark,
 *     as our program creates it, so that the API keeps writing UTF-16.
 *   - each "write" line calls WritePrivateProfileStringW, each "read" line
 *     calls GetPrivateProfileStringW and appends the escaped result as one
 *     line to "dir/name.reads";
 *   - afterwards the working file's bytes are copied to "dir/name.expected".
 */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

/* Large enough for any value the profile API hands back in one call. */
#define READ_BUFFER_CHARS 16385

static void die(const wchar_t *what, const wchar_t *detail)
{
    fwprintf(stderr, L"profile_ref: %ls%ls%ls (error %lu)\n", what, detail ? L": " : L"",
             detail ? detail : L"", (unsigned long)GetLastError());
    exit(2);
}

static void *xmalloc(size_t bytes)
{
    void *p = malloc(bytes ? bytes : 1);
    if (!p) {
        fputs("profile_ref: out of memory\n", stderr);
        exit(2);
    }
    return p;
}

/* A path as the API must see it: absolute, with backslashes, Unix paths on Z:.
 * A bare file name would make the profile API look in the Windows folder. */
static wchar_t *windows_path(const wchar_t *arg)
{
    size_t n = wcslen(arg);
    wchar_t *tmp = xmalloc((n + 3) * sizeof(wchar_t));
    size_t o = 0;
    if (arg[0] == L'/') {
        tmp[o++] = L'Z';
        tmp[o++] = L':';
    }
    for (size_t i = 0; i < n; ++i)
        tmp[o++] = arg[i] == L'/' ? L'\\' : arg[i];
    tmp[o] = 0;

    DWORD need = GetFullPathNameW(tmp, 0, NULL, NULL);
    if (!need)
        die(L"cannot resolve path", tmp);
    wchar_t *full = xmalloc(need * sizeof(wchar_t));
    if (!GetFullPathNameW(tmp, need, full, NULL))
        die(L"cannot resolve path", tmp);
    free(tmp);
    return full;
}

static wchar_t *concat(const wchar_t *a, const wchar_t *b)
{
    size_t na = wcslen(a), nb = wcslen(b);
    wchar_t *r = xmalloc((na + nb + 1) * sizeof(wchar_t));
    memcpy(r, a, na * sizeof(wchar_t));
    memcpy(r + na, b, (nb + 1) * sizeof(wchar_t));
    return r;
}

/* Whole file as bytes; returns NULL (and leaves *size alone) if it does not exist. */
static char *read_bytes(const wchar_t *path, DWORD *size)
{
    HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE) {
        DWORD err = GetLastError();
        if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND)
            return NULL;
        die(L"cannot open", path);
    }
    DWORD high = 0;
    DWORD len = GetFileSize(h, &high);
    if (high)
        die(L"file too large", path);
    char *buf = xmalloc(len + 1);
    DWORD got = 0;
    if (len && (!ReadFile(h, buf, len, &got, NULL) || got != len))
        die(L"cannot read", path);
    buf[len] = 0;
    CloseHandle(h);
    *size = len;
    return buf;
}

static void write_bytes(const wchar_t *path, const void *data, DWORD size)
{
    HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        die(L"cannot create", path);
    DWORD put = 0;
    if (size && (!WriteFile(h, data, size, &put, NULL) || put != size))
        die(L"cannot write", path);
    CloseHandle(h);
}

static int hex_digit(wchar_t c)
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

/* Undo the scenario escapes in place: \t \n \r \\ \uXXXX. */
static void unescape(wchar_t *s, unsigned line)
{
    wchar_t *o = s;
    for (wchar_t *i = s; *i; ++i) {
        if (*i != L'\\') {
            *o++ = *i;
            continue;
        }
        ++i;
        switch (*i) {
        case L't': *o++ = L'\t'; break;
        case L'n': *o++ = L'\n'; break;
        case L'r': *o++ = L'\r'; break;
        case L'\\': *o++ = L'\\'; break;
        case L'u': {
            unsigned v = 0;
            for (int k = 1; k <= 4; ++k) {
                int d = hex_digit(i[k]);
                if (d < 0) {
                    fwprintf(stderr, L"profile_ref: line %u: bad \\u escape\n", line);
                    exit(2);
                }
                v = v * 16 + (unsigned)d;
            }
            /* A NUL would end the string the API sees; no scenario needs one. */
            if (v == 0) {
                fwprintf(stderr, L"profile_ref: line %u: \\u0000 is not allowed\n", line);
                exit(2);
            }
            *o++ = (wchar_t)v;
            i += 4;
            break;
        }
        default:
            fwprintf(stderr, L"profile_ref: line %u: unknown escape\n", line);
            exit(2);
        }
    }
    *o = 0;
}

/* Appends the read result as one ASCII line, using the scenario escapes for
 * anything that is not printable ASCII, so each UTF-16 code unit is visible. */
static void append_escaped(FILE *out, const wchar_t *s, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        unsigned c = (unsigned)s[i];
        if (c == L'\t') fputs("\\t", out);
        else if (c == L'\n') fputs("\\n", out);
        else if (c == L'\r') fputs("\\r", out);
        else if (c == L'\\') fputs("\\\\", out);
        else if (c < 0x20 || c > 0x7E) fprintf(out, "\\u%04X", c);
        else fputc((int)c, out);
    }
    fputc('\n', out);
}

/* Splits a line at TABs in place; returns the number of fields. */
static int split_fields(wchar_t *line, wchar_t **fields, int max)
{
    int n = 0;
    fields[n++] = line;
    for (wchar_t *p = line; *p; ++p) {
        if (*p == L'\t') {
            *p = 0;
            if (n == max)
                return max + 1;
            fields[n++] = p + 1;
        }
    }
    return n;
}

int wmain(int argc, wchar_t **argv)
{
    if (argc != 3) {
        fputs("usage: profile_ref SCENARIO.scn WORKDIR\n", stderr);
        return 2;
    }
    wchar_t *scenario = windows_path(argv[1]);
    wchar_t *workdir = windows_path(argv[2]);

    /* "dir\name.scn" -> base "dir\name", short name "name". */
    size_t slen = wcslen(scenario);
    if (slen < 4 || _wcsicmp(scenario + slen - 4, L".scn") != 0) {
        fputs("profile_ref: the scenario file must end in .scn\n", stderr);
        return 2;
    }
    wchar_t *base = xmalloc((slen - 3) * sizeof(wchar_t));
    memcpy(base, scenario, (slen - 4) * sizeof(wchar_t));
    base[slen - 4] = 0;
    const wchar_t *name = wcsrchr(base, L'\\');
    name = name ? name + 1 : base;

    wchar_t *initial_path = concat(base, L".initial");
    wchar_t *expected_path = concat(base, L".expected");
    wchar_t *reads_path = concat(base, L".reads");
    wchar_t *dir_sep = concat(workdir, L"\\");
    wchar_t *work_name = concat(name, L".ini");
    wchar_t *profile = concat(dir_sep, work_name);

    DWORD initial_size = 0;
    char *initial = read_bytes(initial_path, &initial_size);
    if (initial)
        write_bytes(profile, initial, initial_size);
    else
        write_bytes(profile, "\xFF\xFE", 2);

    DWORD scn_size = 0;
    char *scn = read_bytes(scenario, &scn_size);
    if (!scn)
        die(L"no such scenario", scenario);
    const char *scn_text = scn;
    if (scn_size >= 3 && memcmp(scn, "\xEF\xBB\xBF", 3) == 0) {
        scn_text += 3;
        scn_size -= 3;
    }
    int wlen = scn_size ? MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, scn_text,
                                              (int)scn_size, NULL, 0)
                        : 0;
    if (scn_size && !wlen)
        die(L"scenario is not valid UTF-8", scenario);
    wchar_t *text = xmalloc(((size_t)wlen + 1) * sizeof(wchar_t));
    if (wlen)
        MultiByteToWideChar(CP_UTF8, 0, scn_text, (int)scn_size, text, wlen);
    text[wlen] = 0;

    FILE *reads = _wfopen(reads_path, L"wb");
    if (!reads)
        die(L"cannot create", reads_path);

    wchar_t *buf = xmalloc(READ_BUFFER_CHARS * sizeof(wchar_t));
    unsigned lineno = 0;
    int failures = 0;
    wchar_t *line = text;
    while (line && *line) {
        wchar_t *next = wcschr(line, L'\n');
        if (next)
            *next++ = 0;
        ++lineno;
        size_t len = wcslen(line);
        if (len && line[len - 1] == L'\r')
            line[--len] = 0;
        if (len == 0 || line[0] == L'#') {
            line = next;
            continue;
        }

        wchar_t *f[4];
        int n = split_fields(line, f, 4);
        for (int i = 0; i < n && i < 4; ++i)
            unescape(f[i], lineno);

        if (wcscmp(f[0], L"write") == 0 && n == 4) {
            if (!WritePrivateProfileStringW(f[1], f[2], f[3], profile)) {
                fwprintf(stderr, L"profile_ref: %ls line %u: write failed (error %lu)\n", name,
                         lineno, (unsigned long)GetLastError());
                ++failures;
            }
        } else if (wcscmp(f[0], L"read") == 0 && n == 3) {
            DWORD got = GetPrivateProfileStringW(f[1], f[2], L"<<missing>>", buf,
                                                 READ_BUFFER_CHARS, profile);
            append_escaped(reads, buf, got);
        } else {
            fwprintf(stderr, L"profile_ref: %ls line %u: expected write/4 or read/3 fields\n",
                     name, lineno);
            return 2;
        }
        line = next;
    }
    fclose(reads);

    DWORD result_size = 0;
    char *result = read_bytes(profile, &result_size);
    if (!result)
        die(L"working file vanished", profile);
    write_bytes(expected_path, result, result_size);
    return failures ? 1 : 0;
}
