# Past 4 GiB: a file larger than any 32-bit size (mostly zeros, random blocks at known offsets,
# sparse on the host) is packed into ZIP, 7z and TAR.GZ and extracted back through the operation
# bodies: the same bytes (SHA-256), the listing (the contents list's Size column) showing its exact
# size, and the worker's memory flat while it works.
import os
import random
import threading
import time

from suite import (FORMAT_7Z, FORMAT_EXTENSIONS, FORMAT_TAR_GZ, FORMAT_ZIP, RESULT_OK, Part, Worker,
                   file_digest, fresh_folder, memory_of, windows_path)

GIB = 1 << 30
MIB = 1 << 20


def make_large_file(path, size, blocks):
    """A sparse file of the size with random blocks at the given offsets."""
    generator = random.Random(size)
    with open(path, "wb") as f:
        f.truncate(size)
        for offset, length in blocks:
            f.seek(offset)
            f.write(generator.randbytes(length))
    return path


class MemoryWatch:
    """The worker's resident memory, sampled while an operation runs."""

    def __init__(self, pid):
        self.pid, self.peak, self.running = pid, 0, True
        self.thread = threading.Thread(target=self._watch, daemon=True)
        self.thread.start()

    def _watch(self):
        while self.running:
            self.peak = max(self.peak, memory_of(self.pid)[0])
            time.sleep(0.2)

    def stop(self):
        self.running = False
        self.thread.join()
        return self.peak


def timed(worker, *command):
    watch = MemoryWatch(worker.pid)
    started = time.monotonic()
    answer = worker.ask(*command, timeout=3 * 3600)
    return answer, time.monotonic() - started, watch.stop()


def run(long_form):
    part = Part("large")
    folder = fresh_folder("large")
    if long_form:
        size = 5 * GIB
        blocks = [(0, MIB), (GIB + 12345, MIB), (2 * GIB - MIB // 2, MIB), (4 * GIB - MIB // 2, MIB),
                  (size - MIB, MIB)]
    else:
        size = 4 * GIB + 64 * 1024
        blocks = [(size - 64 * 1024, 64 * 1024)]
    source_folder = os.path.join(folder, "source")
    os.makedirs(source_folder)
    source = make_large_file(os.path.join(source_folder, "large.bin"), size, blocks)
    expected = file_digest(source)
    part.figure("source: %d bytes (%.2f GiB), random blocks at %s" % (
        size, size / GIB, ", ".join("%d (+%d)" % b for b in blocks)))
    worker = Worker()
    baseline = memory_of(worker.pid)[0]
    for format_ in (FORMAT_ZIP, FORMAT_7Z, FORMAT_TAR_GZ):
        name = "large" + FORMAT_EXTENSIONS[format_]
        archive = os.path.join(folder, name)
        answer, seconds, peak_create = timed(worker, "create", format_, 1, windows_path(archive),
                                             windows_path(source_folder))
        if not part.check(answer and answer.get("code") == RESULT_OK, "%s created: %s" % (name, answer)):
            continue
        listed, _, peak_list = timed(worker, "open", windows_path(archive))
        sizes = str(listed.get("sizes", "")).split(",") if listed else []
        part.check(listed and listed.get("code") == RESULT_OK and str(size) in sizes,
                   "%s lists the file with its exact size %d: %s" % (name, size, listed))
        target = os.path.join(folder, "extracted")
        extracted, extract_seconds, peak_extract = timed(worker, "extract", windows_path(archive),
                                                         windows_path(target))
        back = os.path.join(target, "source", "large.bin")
        same = extracted and extracted.get("code") == RESULT_OK and os.path.exists(back) and file_digest(back) == expected
        part.check(same, "%s extracted back to the same bytes: %s" % (name, extracted))
        peak = max(peak_create, peak_list, peak_extract)
        part.check(peak - baseline < 256 * MIB, "%s: memory stays flat (%d MiB over the start)" % (
            name, (peak - baseline) // MIB))
        shown = str(size) if str(size) in sizes else "/".join(sizes)
        part.figure("%s: %d bytes; created in %.0f s, extracted in %.0f s; listed size %s (the Size column's "
                    "\"%s B\"); "
                    "resident memory at start %d MiB, peak %d MiB creating, %d MiB listing, %d MiB extracting; "
                    "SHA-256 %s" % (name, os.path.getsize(archive), seconds, extract_seconds, shown, shown, baseline // MIB, peak_create // MIB, peak_list // MIB,
                                    peak_extract // MIB, "equal" if same else "different"))
        os.remove(archive)
        os.system("rm -rf '%s'" % target)
    worker.close()
    os.system("rm -rf '%s'" % folder)
    return part.end()
