# Source trees and archives for the reliability suite, made on the host: by Python's own zipfile
# and tarfile, by 7z, and by a small RAR5 writer (stored files, each header with its CRC).
import io
import os
import random
import struct
import subprocess
import tarfile
import zipfile
import zlib


def make_tree(root, files, seed=1):
    """Writes {relative name: size or bytes}; sizes become random (incompressible) bytes."""
    generator = random.Random(seed)
    for name, content in files.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        data = content if isinstance(content, bytes) else generator.randbytes(content)
        with open(path, "wb") as f:
            f.write(data)
    return root


def tree_files(root):
    """{relative name with "/": bytes} of every file below root."""
    found = {}
    for folder, _, files in os.walk(root):
        for name in files:
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                found[os.path.relpath(path, root).replace(os.sep, "/")] = f.read()
    return found


def zip_of(path, files, folders=(), compression=zipfile.ZIP_DEFLATED):
    with zipfile.ZipFile(path, "w", compression) as z:
        for folder in folders:
            z.writestr(zipfile.ZipInfo(folder.rstrip("/") + "/"), b"")
        for name, data in files.items():
            z.writestr(name, data)
    return path


def tar_of(path, files, folders=(), mode="w:gz"):
    with tarfile.open(path, mode) as t:
        for folder in folders:
            info = tarfile.TarInfo(folder.rstrip("/"))
            info.type = tarfile.DIRTYPE
            info.mode = 0o755
            t.addfile(info)
        for name, data in files.items():
            info = tarfile.TarInfo(name)
            info.size = len(data)
            info.mtime = 1700000000
            t.addfile(info, io.BytesIO(data))
    return path


def seven_zip_of(path, source_folder, password=None, archive_type="7z"):
    command = ["7z", "a", "-bd", "-y", "-t" + archive_type, path, "."]
    if password:
        command[4:4] = ["-p" + password] + (["-mem=AES256"] if archive_type == "zip" else ["-mhe=off"])
    subprocess.run(command, cwd=source_folder, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return path


def _vint(n):
    out = bytearray()
    while True:
        b = n & 0x7F
        n >>= 7
        out.append(b | 0x80 if n else b)
        if not n:
            return bytes(out)


def _rar_block(body):
    size = _vint(len(body))
    return struct.pack("<I", zlib.crc32(size + body) & 0xFFFFFFFF) + size + body


def rar5_of(path, files):
    """A RAR5 archive of stored files: signature, main header, a file header with its data per file
    (with the data's CRC32), end header."""
    out = bytearray(b"Rar!\x1a\x07\x01\x00") + _rar_block(_vint(1) + _vint(0) + _vint(0))
    for name, data in files.items():
        raw = name.encode("utf-8")
        # type 2 (file), header flags 2 (data area), data size, file flags 4 (CRC present),
        # unpacked size, attributes, CRC32, compression 0 (stored), host OS 0.
        head = (_vint(2) + _vint(2) + _vint(len(data)) + _vint(4) + _vint(len(data)) + _vint(0x20) +
                struct.pack("<I", zlib.crc32(data) & 0xFFFFFFFF) + _vint(0) + _vint(0))
        out += _rar_block(head + _vint(len(raw)) + raw) + data
    out += _rar_block(_vint(5) + _vint(0) + _vint(0))
    with open(path, "wb") as f:
        f.write(out)
    return path
