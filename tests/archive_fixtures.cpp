#include "archive_fixtures.h"

#include <windows.h>

#include "engine/engine_api.h"
#include "test_support.h"

bool host(const std::string& command, const std::vector<std::wstring>& paths, std::string* output) {
    std::string line;
    size_t next = 0;
    for (size_t i = 0; i < command.size(); ++i) {
        if (command.compare(i, 2, "{}") == 0 && next < paths.size()) {
            line += shell_quote(unix_path(paths[next++]));
            ++i;
        } else {
            line.push_back(command[i]);
        }
    }
    std::string collected;
    int code = run_unix(line, &collected);
    if (output != nullptr) *output = collected;
    if (code != 0) fprintf(stderr, "host command failed (%d): %s\n%s\n", code, line.c_str(), collected.c_str());
    return code == 0;
}

bool host_in(const std::wstring& folder, const std::string& command, std::string* output) {
    return host("cd {} && " + command, {folder}, output);
}

bool python(const std::string& script, const std::vector<std::wstring>& paths, std::string* output) {
    std::string command = "python3 -c " + shell_quote(script);
    for (size_t i = 0; i < paths.size(); ++i) command += " {}";
    return host(command, paths, output);
}

bool make_tar_of_small_files(const std::wstring& path, int count, const std::string& prefix) {
    return python("n = " + std::to_string(count) + "\nprefix = " + shell_quote(prefix) + R"PY(
import io, sys, tarfile
with tarfile.open(sys.argv[1], 'w') as t:
    for i in range(n):
        info = tarfile.TarInfo('%s%d.txt' % (prefix, i))
        info.size = 3
        t.addfile(info, io.BytesIO(b'abc'))
)PY",
                  {path});
}

static std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (unsigned char c : bytes) {
        text.push_back(digits[c >> 4]);
        text.push_back(digits[c & 15]);
    }
    return text;
}

bool make_rar5(const std::wstring& path, const std::vector<std::string>& raw_names) {
    // Signature, main header, one stored file header (with its 4 data bytes) per name, end header;
    // each header carries the CRC32 of its size field and body.
    static const char script[] = R"PY(
import struct, sys, zlib
def vint(n):
    out = bytearray()
    while True:
        b = n & 0x7f
        n >>= 7
        if n:
            out.append(b | 0x80)
        else:
            out.append(b)
            return bytes(out)
def block(body):
    size = vint(len(body))
    return struct.pack('<I', zlib.crc32(size + body) & 0xffffffff) + size + body
data = b'data'
out = bytearray(b'Rar!\x1a\x07\x01\x00') + block(vint(1) + vint(0) + vint(0))
for name in (bytes.fromhex(h) for h in sys.argv[2:]):
    head = vint(2) + vint(2) + vint(len(data)) + vint(0) + vint(len(data)) + vint(0x20) + vint(0) + vint(0)
    out += block(head + vint(len(name)) + name) + data
out += block(vint(5) + vint(0) + vint(0))
open(sys.argv[1], 'wb').write(out)
)PY";
    std::string command = "python3 -c " + shell_quote(script) + " {}";
    for (const std::string& name : raw_names) command += " " + hex(name);
    return host(command, {path});
}

bool write_zip_with_engine(const std::wstring& path, const std::vector<EngineEntry>& entries,
                           const std::string& utf8_password, bool stored) {
    struct archive* writer = g_engine.archive_write_new();
    if (writer == nullptr) return false;
    bool ok = g_engine.archive_write_set_format_zip(writer) == ARCHIVE_OK &&
              g_engine.archive_write_set_options(writer, "zip:hdrcharset=UTF-8") == ARCHIVE_OK &&
              (!stored || g_engine.archive_write_set_options(writer, "zip:compression=store") == ARCHIVE_OK);
    if (ok && !utf8_password.empty())
        ok = g_engine.archive_write_set_options(writer, "zip:encryption=aes256") == ARCHIVE_OK &&
             g_engine.archive_write_set_passphrase(writer, utf8_password.c_str()) == ARCHIVE_OK;
    ok = ok && g_engine.archive_write_open_filename_w(writer, path.c_str()) == ARCHIVE_OK;
    for (const EngineEntry& item : entries) {
        if (!ok) break;
        struct archive_entry* entry = g_engine.archive_entry_new();
        g_engine.archive_entry_copy_pathname_w(entry, item.name.c_str());
        g_engine.archive_entry_set_filetype(entry, item.directory ? AE_IFDIR : AE_IFREG);
        g_engine.archive_entry_set_perm(entry, item.directory ? 0755 : 0644);
        g_engine.archive_entry_set_size(entry, (la_int64)item.data.size());
        g_engine.archive_entry_set_mtime(entry, 1700000000, 0);
        ok = g_engine.archive_write_header(writer, entry) == ARCHIVE_OK;
        if (ok && !item.data.empty())
            ok = g_engine.archive_write_data(writer, item.data.data(), item.data.size()) == (la_ssize)item.data.size();
        g_engine.archive_entry_free(entry);
    }
    if (g_engine.archive_write_close(writer) != ARCHIVE_OK) ok = false;
    g_engine.archive_write_free(writer);
    return ok;
}

std::string engine_listing_failure(const std::wstring& path) {
    struct archive* reader = g_engine.archive_read_new();
    g_engine.archive_read_support_filter_all(reader);
    g_engine.archive_read_support_format_all(reader);
    std::string text;
    int status = g_engine.archive_read_open_filename_w(reader, path.c_str(), 65536);
    while (status >= ARCHIVE_OK) {
        struct archive_entry* entry = nullptr;
        status = g_engine.archive_read_next_header(reader, &entry);
        if (status == ARCHIVE_EOF) break;
        if (status == ARCHIVE_RETRY || status < ARCHIVE_WARN) break;
        status = g_engine.archive_read_data_skip(reader);
        if (status >= ARCHIVE_WARN) status = ARCHIVE_OK;
    }
    if (status < ARCHIVE_OK || status == ARCHIVE_RETRY) {
        const char* error = g_engine.archive_error_string(reader);
        if (error != nullptr) text = error;
    }
    g_engine.archive_read_free(reader);
    return text;
}

std::wstring from_system_code_page(const std::string& text) {
    int units = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(units > 0 ? units - 1 : 0, L'\0');
    if (units > 1) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], units);
    return wide;
}
