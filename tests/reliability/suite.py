# What every part of the reliability suite shares: the worker process (a running copy of the
# program without its window, tests/reliability/reliability_worker.cpp), Windows and host paths,
# snapshots of folder trees, the data files' exact bytes, and the tally of a part.
import hashlib
import os
import queue
import shutil
import signal
import struct
import subprocess
import threading
import time

BUILD = os.environ["LUMAREK_BUILD_DIR"]
WORKER_EXE = os.path.join(BUILD, "bin", "reliability_worker.exe")
# The scratch folder of the run (scripts/reliability.sh gives each form its own) and where the cases
# that crashed, hung or left output behind are kept.
WORK = os.environ.get("LUMAREK_RELIABILITY_WORK", os.path.join(BUILD, "reliability"))
FINDINGS = WORK + "-findings"

# Result codes of the operations, for the figures.
CODE_NAMES = {0: "OK", 1: "ENGINE_MISSING", 2: "ARCHIVE_ERROR", 3: "IO_ERROR", 4: "OUT_OF_MEMORY",
              5: "PASSWORD_REQUIRED", 6: "UNSUPPORTED_ENCRYPTION", 7: "UNSAFE_PATH", 8: "OUTPUT_EXISTS",
              9: "CANCELED", 10: "DUPLICATE_NAME", 11: "LINK_OR_CLOUD_SOURCE", 12: "NO_MATCHING_FILES",
              13: "FILES_CHANGED"}
RESULT_OK, RESULT_IO_ERROR = 0, 3
PROFILE_UPDATE_OK, PROFILE_UPDATE_FAILED = 0, 3
FORMAT_ZIP, FORMAT_7Z, FORMAT_TAR_GZ = 0, 1, 2
FORMAT_EXTENSIONS = {FORMAT_ZIP: ".zip", FORMAT_7Z: ".7z", FORMAT_TAR_GZ: ".tar.gz"}
WORK_PREFIX = ".lumarek-"


def code_name(code):
    return CODE_NAMES.get(code, str(code))


def windows_path(host_path):
    """The Windows name of a host path (Wine's Z: drive is the host's root)."""
    return "Z:" + os.path.abspath(host_path).replace("/", "\\")


def fresh_folder(*parts):
    path = os.path.join(WORK, *parts)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path


class Part:
    """The tally of one part: checks passed and failed, skipped cases, and its figures."""

    def __init__(self, name):
        self.name = name
        self.passed = self.failed = self.skipped = 0
        print("== %s" % name, flush=True)

    def check(self, ok, what):
        if ok:
            self.passed += 1
        else:
            self.failed += 1
            print("  FAILED: %s" % what, flush=True)
        return ok

    def skip(self, why):
        self.skipped += 1
        print("  skipped: %s" % why, flush=True)

    def figure(self, text):
        print("  %s" % text, flush=True)

    def end(self):
        line = "%s: %d passed, %d failed" % (self.name, self.passed, self.failed)
        if self.skipped:
            line += ", %d skipped" % self.skipped
        print(line, flush=True)
        return self


def parse_answer(line):
    """'code=3 ms=12 message=Some text<tab>detail=some text' as a dict; a message or detail runs to
    the next tab or the end of the line."""
    fields = {}
    rest = line
    while rest:
        key, _, value = rest.partition("=")
        value, _, rest = value.partition("\t" if key in ("message", "detail") else " ")
        fields[key] = int(value) if value.lstrip("-").isdigit() else value
    return fields


class Worker:
    """One reliability_worker.exe under Wine; its Unix process is the Windows process itself, so a
    SIGKILL of it is the kill of a running copy of the program."""

    def __init__(self, local_data=None):
        self.process = subprocess.Popen(["wine", WORKER_EXE], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL)
        self.pid = self.process.pid
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()
        first = self.read(120) or ""
        self.ready = first.startswith("ready")
        self.windows_pid = parse_answer(first[len("ready "):]).get("pid") if self.ready else None
        if self.ready and local_data is not None:
            self.ask("env", "LOCALAPPDATA", windows_path(local_data) if local_data.startswith("/") else local_data)

    def _read(self):
        for raw in self.process.stdout:
            self.lines.put(raw.decode("utf-8", "replace").rstrip("\r\n"))
        self.lines.put(None)  # the process has gone

    def read(self, timeout):
        """The next line; None when the process ended, "" after the timeout."""
        try:
            return self.lines.get(timeout=timeout)
        except queue.Empty:
            return ""

    def send(self, *fields):
        try:
            self.process.stdin.write(("\t".join(str(f) for f in fields) + "\n").encode("utf-8"))
            self.process.stdin.flush()
            return True
        except (BrokenPipeError, OSError):
            return False

    def ask(self, *fields, timeout=600):
        """The answer as a dict; None when the worker died, {} after the timeout."""
        if not self.send(*fields):
            return None
        while True:
            line = self.read(timeout)
            if line is None:
                return None
            if line == "":
                return {}
            if line != "begun":
                return parse_answer(line)

    def begin(self, *fields, timeout=120):
        """Sends a command and waits for its "begun" line; the monotonic time it arrived, or None."""
        if not self.send(*fields):
            return None
        line = self.read(timeout)
        return time.monotonic() if line == "begun" else None

    def kill(self):
        try:
            os.kill(self.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        self.process.wait()

    def alive(self):
        return self.process.poll() is None

    def close(self):
        if self.alive():
            self.send("quit")
            try:
                self.process.wait(timeout=30)
            except subprocess.TimeoutExpired:
                self.kill()
        self.process.stdin.close()


def snapshot(root):
    """Every folder and file below root with each file's size and SHA-256: what "exactly as
    before" is measured with."""
    tree = {}
    for folder, folders, files in os.walk(root):
        relative = os.path.relpath(folder, root)
        tree[relative + "/"] = None
        for name in files:
            path = os.path.join(folder, name)
            tree[os.path.join(relative, name)] = file_digest(path)
    return tree


def file_digest(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return os.path.getsize(path), digest.hexdigest()


def snapshot_difference(before, after):
    changed = sorted(k for k in set(before) | set(after) if before.get(k, "-") != after.get(k, "-"))
    return ", ".join(changed[:6]) + (" and %d more" % (len(changed) - 6) if len(changed) > 6 else "")


def work_names(folder):
    return sorted(n for n in os.listdir(folder) if n.startswith(WORK_PREFIX)) if os.path.isdir(folder) else []


# ---- the data files' exact bytes (settings/preferences.h, profiles/profile_store.h) ----------

PREFERENCES_FILE = "LumarekPreferences.dat"
PROFILES_FILE = "LumarekProfiles.dat"
PROFILES_LOCK = "LumarekProfiles.lock"
PROFILE_FIELDS = (96, 192, 256, 256, 4096, 4096)  # UTF-16 units of the six texts


def text_field(text, units):
    data = text.encode("utf-16-le")
    return data + b"\0" * (units * 2 - len(data))


def preferences_version(k, n):
    """Preferences version n of copy k, as worker_data_files.cpp makes it."""
    return (struct.pack("<BBHII", k & 1, 1, 0, n % 3, (n // 3) % 3) +
            text_field("C:\\copy%d\\save%d" % (k, n), 4096) + struct.pack("<II", n % 4, (n // 4) % 2))


def preferences_version_of(data):
    """(k, n) when the bytes are exactly one version, else None."""
    if len(data) != 8212:
        return None
    folder = data[12:8204].decode("utf-16-le", "replace").split("\0")[0]
    if not folder.startswith("C:\\copy") or "\\save" not in folder:
        return None
    k, _, n = folder[len("C:\\copy"):].partition("\\save")
    if not (k.isdigit() and n.isdigit()):
        return None
    return (int(k), int(n)) if data == preferences_version(int(k), int(n)) else None


def profile_record(name, source, skip_folders=""):
    texts = (name, "{folder}_{date}", "pdf; jpg", skip_folders, source, "C:\\Archiwum")
    return b"".join(text_field(t, u) for t, u in zip(texts, PROFILE_FIELDS))


def profiles_file(records):
    return b"LMP1" + struct.pack("<I", len(records)) + b"".join(records)


def profile_sources(data):
    """name -> (source, skip folders) of every record of a profile file, or None when the file is
    not whole (wrong magic, count or length)."""
    size = 2 * sum(PROFILE_FIELDS)
    if len(data) < 8 or data[:4] != b"LMP1":
        return None
    count = struct.unpack("<I", data[4:8])[0]
    if count > 64 or len(data) != 8 + count * size:
        return None
    result = {}
    for i in range(count):
        record = data[8 + i * size: 8 + (i + 1) * size]
        texts, at = [], 0
        for units in PROFILE_FIELDS:
            texts.append(record[at:at + units * 2].decode("utf-16-le", "replace").split("\0")[0])
            at += units * 2
        result[texts[0]] = (texts[4], texts[3])
    return result


def read_file(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


def write_file(path, data):
    with open(path, "wb") as f:
        f.write(data)


def memory_of(pid):
    """Resident and peak resident memory of a host process in bytes (from /proc)."""
    rss = peak = 0
    try:
        with open("/proc/%d/status" % pid) as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    rss = int(line.split()[1]) * 1024
                elif line.startswith("VmHWM:"):
                    peak = int(line.split()[1]) * 1024
    except OSError:
        pass
    return rss, peak


def save_finding(kind, name, data):
    os.makedirs(FINDINGS, exist_ok=True)
    path = os.path.join(FINDINGS, "%s-%s" % (kind, name))
    write_file(path, data)
    return path
