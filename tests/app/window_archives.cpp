#include "window_archives.h"

#include <stdio.h>
#include <windows.h>

#include "archive_fixtures.h"
#include "test_support.h"

// A raw ZIP writer: ZipCrypto (the traditional PKWARE cipher) and the layouts the tests need.
static const char kZipWriter[] = R"PY(
import struct, sys, zlib, json
T = []
for i in range(256):
    c = i
    for _ in range(8):
        c = (c >> 1) ^ 0xEDB88320 if c & 1 else c >> 1
    T.append(c)
def crc1(c, b): return (c >> 8) ^ T[(c ^ b) & 0xff]
class Cipher:
    def __init__(s, pw):
        s.k = [0x12345678, 0x23456789, 0x34567890]
        for b in pw: s.upd(b)
    def upd(s, b):
        k = s.k
        k[0] = crc1(k[0], b)
        k[1] = ((k[1] + (k[0] & 0xff)) * 134775813 + 1) & 0xffffffff
        k[2] = crc1(k[2], k[1] >> 24)
    def enc(s, data):
        out = bytearray()
        for b in data:
            t = (s.k[2] | 2) & 0xffff
            out.append(b ^ (((t * (t ^ 1)) >> 8) & 0xff)); s.upd(b)
        return bytes(out)
plan = json.load(open(sys.argv[2], encoding='utf-8'))
mode, password = plan['mode'], plan['password'].encode()
out = bytearray(); cd = bytearray(); count = 0
for m in plan['members']:
    name = m['name'].encode('latin-1'); data = m['data'].encode('latin-1')
    folder = name.endswith(b'/')
    crc = zlib.crc32(data) & 0xffffffff
    if folder:
        body, method = b'', 0
    else:
        co = zlib.compressobj(6, zlib.DEFLATED, -15); body = co.compress(data) + co.flush(); method = 8
    if m.get('damage') and len(body) > 8:
        body = body[:4] + bytes(b ^ 0x5a for b in body[4:8]) + body[8:]
    flags = 0x800  # names in UTF-8
    if m['encrypted']:
        flags |= 1
        check = (0x1234 >> 8) & 0xff if mode == 'streamed' else crc >> 24
        body = Cipher(password).enc(bytes(11) + bytes([check]) + body)
    if mode == 'streamed': flags |= 8
    off = len(out)
    lcrc, lcs, lus = (0, 0, 0) if mode == 'streamed' else (crc, len(body), len(data))
    out += struct.pack('<IHHHHHIIIHH', 0x04034b50, 20, flags, method, 0x1234, 0x5678, lcrc, lcs, lus, len(name), 0) + name + body
    if mode == 'streamed': out += struct.pack('<IIII', 0x08074b50, crc, len(body), len(data))
    attrs = 0x10 if folder else 0x20
    cd += struct.pack('<IHHHHHHIIIHHHHHII', 0x02014b50, 20, 20, flags, method, 0x1234, 0x5678, crc, len(body), len(data), len(name), 0, 0, 0, 0, attrs, off) + name
    count += 1
if mode == 'streamed':
    # No central directory, and an end record that points beyond the file: readers must stream.
    out += struct.pack('<IHHHHIIH', 0x06054b50, 0, 0, count, count, 46, 0x7fffffff, 0)
else:
    cdoff = len(out); out += cd
    out += struct.pack('<IHHHHIIH', 0x06054b50, 0, 0, count, count, len(cd), cdoff, 0)
open(sys.argv[1], 'wb').write(out)
)PY";

static std::string json_text(const std::string& text) {
    std::string quoted = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += (char)c;
        } else if (c < 0x20 || c >= 0x80) {
            char escape[8];
            snprintf(escape, sizeof(escape), "\\u%04x", c);
            quoted += escape;
        } else {
            quoted += (char)c;
        }
    }
    return quoted + "\"";
}

static bool write_zip(const std::wstring& path, const std::string& mode, const std::string& password,
                      const std::vector<ZipMember>& members, int damaged = -1) {
    // Names and data go through JSON byte by byte (as code points below 256) and back into bytes.
    std::string plan = "{\"mode\": " + json_text(mode) + ", \"password\": " + json_text(password) + ", \"members\": [";
    for (size_t i = 0; i < members.size(); ++i) {
        if (i > 0) plan += ", ";
        plan += "{\"name\": " + json_text(members[i].name) + ", \"data\": " + json_text(members[i].data) +
                ", \"encrypted\": " + (members[i].encrypted ? "true" : "false") +
                ", \"damage\": " + ((int)i == damaged ? "true" : "false") + "}";
    }
    plan += "]}";
    // The description goes through a file: with its data it is too long for a command line.
    std::wstring description = path + L".json";
    if (!write_bytes(description, plan.data(), plan.size())) return false;
    bool ok = host("python3 -c " + shell_quote(kZipWriter) + " {} {}", {path, description});
    DeleteFileW(description.c_str());
    return ok;
}

bool make_zip(const std::wstring& path, const std::vector<ZipMember>& members) {
    return write_zip(path, "plain", "secret", members);
}

bool make_streamed_encrypted_zip(const std::wstring& path, const std::string& password) {
    return write_zip(path, "streamed", password,
                     {{"notes.txt", std::string(3000, 'n'), true}, {"more.txt", "second file", true}});
}

bool make_damaged_zip(const std::wstring& path) {
    std::string text;
    for (int i = 0; i < 4000; ++i) text += "line " + std::to_string(i) + "\n";
    return write_zip(path, "plain", "", {{"first.txt", "intact", false}, {"second.txt", text, false}}, 1);
}
