# Disk full: a small tmpfs mounted inside the build folder and mapped as a Wine drive of the test
# prefix. At several amounts of free space, extraction, creation, the queue, the preferences save,
# the profile store and the profile ZIP each run into the full disk: a failure must come with its
# result code and message, and then the target folder, the data files and every other file on that
# drive are exactly as before (no ".lumarek-" name left, no torn data file); what succeeds must be
# whole.
import errno
import os
import subprocess

import archives
from suite import (FORMAT_EXTENSIONS, PREFERENCES_FILE, PROFILES_FILE, PROFILES_LOCK, RESULT_IO_ERROR, RESULT_OK,
                   PROFILE_UPDATE_FAILED, PROFILE_UPDATE_OK, Part, Worker, code_name, fresh_folder,
                   preferences_version, preferences_version_of, profile_record, profile_sources, profiles_file,
                   read_file, snapshot, snapshot_difference, windows_path, work_names, write_file, WORK)

DISK_SIZE = 8 << 20
FREE_LEVELS = (0, 16 << 10, 256 << 10, 2 << 20)
MIB = 1 << 20


def mount_disk(mount_point):
    os.makedirs(mount_point, exist_ok=True)
    result = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=%d" % DISK_SIZE, "tmpfs", mount_point],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    return result.returncode == 0, result.stdout.decode(errors="replace").strip()


def free_drive_letter(dosdevices):
    for letter in "rstuvwxy":
        if not os.path.lexists(os.path.join(dosdevices, letter + ":")):
            return letter
    return None


def fill(root, free):
    """Leaves about `free` bytes free on the disk: a spare file of that size is written first, the
    rest is filled to the last byte, then the spare goes."""
    for name in ("filler", "spare"):
        if os.path.exists(os.path.join(root, name)):
            os.remove(os.path.join(root, name))
    with open(os.path.join(root, "spare"), "wb") as f:
        f.write(b"\0" * free)
    with open(os.path.join(root, "filler"), "wb", buffering=0) as f:
        for chunk in (1 << 20, 1 << 16, 1 << 12, 1 << 9, 1):
            try:
                while True:
                    f.write(b"\xa5" * chunk)
            except OSError as error:
                if error.errno != errno.ENOSPC:
                    raise
    os.remove(os.path.join(root, "spare"))


class DiskFull:
    def __init__(self, part, root, letter, sources):
        self.part, self.root, self.letter, self.sources = part, root, letter, sources
        self.data = os.path.join(root, "data")
        self.out = os.path.join(root, "out")
        self.old_preferences = preferences_version(1, 1)
        self.old_profiles = profiles_file([profile_record("alpha", "C:\\a"), profile_record("beta", "C:\\b")])
        self.figures = {}

    def drive(self, *parts):
        return self.letter.upper() + ":\\" + "\\".join(parts)

    def prepare(self):
        """Files that must outlive every failure: other files on the drive, the data files, a file
        in the target's parent folder."""
        archives.make_tree(self.root, {"bystander/keep.bin": 64 << 10, "bystander/sub/keep.txt": b"stays\r\n",
                                       "out/other.txt": b"not the output\r\n"})
        os.makedirs(self.data, exist_ok=True)
        write_file(os.path.join(self.data, PREFERENCES_FILE), self.old_preferences)
        write_file(os.path.join(self.data, PROFILES_FILE), self.old_profiles)

    def unchanged(self, before, what):
        after = snapshot(self.root)
        return self.part.check(before == after, "%s: the drive changed: %s" % (what, snapshot_difference(before, after)))

    def note(self, what, free, outcome):
        self.figures.setdefault(what, []).append("%s at %s" % (outcome, free_text(free)))

    def extraction(self, worker, free, archive, name):
        fill(self.root, free)
        before = snapshot(self.root)
        answer = worker.ask("extract", archive, self.drive("out", name))
        what = "extraction of %s with %s free" % (name, free_text(free))
        code = answer.get("code") if answer else None
        self.note("extraction of " + name, free, code_name(code))
        if code == RESULT_OK:
            self.part.check(archives.tree_files(os.path.join(self.out, name)) == self.sources[name], what + ": whole")
            subprocess.run(["rm", "-rf", os.path.join(self.out, name)])
        else:
            self.refused(code, answer, what, before)
        self.part.check(not work_names(self.out), what + ": no work folder left")
        return code

    def refused(self, code, answer, what, before):
        """A failure on the full disk: a read or write error with its message, the drive as before."""
        self.part.check(code == RESULT_IO_ERROR, "%s: code %s (%s), not IO_ERROR" %
                        (what, code_name(code), answer.get("message") if answer else "worker died"))
        self.part.check(bool(answer and answer.get("message")), what + ": no message")
        self.unchanged(before, what)

    def creation(self, worker, free, source, format_):
        name = "new" + FORMAT_EXTENSIONS[format_]
        return self.new_archive(worker, free, "creation of " + name, name,
                                ("create", format_, 1, self.drive("out", name), source))

    def new_archive(self, worker, free, label, name, command, entries=None):
        """An archive written into the target folder by the command: whole (tested, with the given
        number of entries) when it succeeds; otherwise refused() and no temporary file left."""
        fill(self.root, free)
        before = snapshot(self.root)
        answer = worker.ask(*command)
        what = "%s with %s free" % (label, free_text(free))
        code = answer.get("code") if answer else None
        self.note(label, free, code_name(code))
        if code == RESULT_OK:
            tested = worker.ask("test", self.drive("out", name))
            listed = worker.ask("open", self.drive("out", name))
            self.part.check(tested and tested.get("code") == RESULT_OK and listed and listed.get("code") == RESULT_OK
                            and entries in (None, listed.get("entries")), what + ": the new archive is whole")
            os.remove(os.path.join(self.out, name))
        else:
            self.refused(code, answer, what, before)
        self.part.check(not work_names(self.out), what + ": no temporary file left")
        return code

    def queue(self, worker, free, archive_paths, names):
        fill(self.root, free)
        before = snapshot(self.root)
        answer = worker.ask("queue", self.drive("out"), *archive_paths)
        what = "queue with %s free" % free_text(free)
        codes = [int(c) for c in str(answer.get("items", "")).split(",") if c != ""] if answer else []
        self.note("queue", free, "/".join(code_name(c) for c in codes))
        self.part.check(answer is not None and answer.get("code") == RESULT_OK and len(codes) == len(names),
                        what + ": every item finished")
        for name, code in zip(names, codes):
            target = os.path.join(self.out, name)
            if code == RESULT_OK:
                self.part.check(archives.tree_files(target) == self.sources[name], "%s: %s whole" % (what, name))
                subprocess.run(["rm", "-rf", target])
            else:
                self.part.check(code == RESULT_IO_ERROR and not os.path.exists(target),
                                "%s: %s ended %s" % (what, name, code_name(code)))
        self.unchanged(before, what + " (after removing what succeeded)")
        self.part.check(not work_names(self.out), what + ": no work folder left")

    def preferences(self, worker, free):
        fill(self.root, free)
        before = snapshot(self.root)
        answer = worker.ask("prefs-save", 2, 7)
        what = "preferences save with %s free" % free_text(free)
        saved = answer.get("saved") if answer else None
        self.note("preferences save", free, {1: "saved", 0: "refused"}.get(saved, "worker died"))
        path = os.path.join(self.data, PREFERENCES_FILE)
        if saved == 1:
            self.part.check(preferences_version_of(read_file(path)) == (2, 7), what + ": the new file is whole")
            write_file(path, self.old_preferences)
        else:
            self.part.check(saved == 0, what + ": no answer")
            self.unchanged(before, what)
        self.part.check(sorted(os.listdir(self.data)) == [PREFERENCES_FILE, PROFILES_FILE],
                        what + ": no temporary file left: %s" % os.listdir(self.data))

    def profiles(self, worker, free):
        fill(self.root, free)
        before = snapshot(self.root)
        answer = worker.ask("profile-save", 5)
        what = "profile save with %s free" % free_text(free)
        result = answer.get("result") if answer else None
        self.note("profile save", free, {PROFILE_UPDATE_OK: "saved", PROFILE_UPDATE_FAILED: "refused"}.get(result,
                                                                                                           result))
        path = os.path.join(self.data, PROFILES_FILE)
        if result == PROFILE_UPDATE_OK:
            profiles = profile_sources(read_file(path))
            self.part.check(profiles is not None and profiles.get("kill", ("",))[0] == "C:\\kill\\5",
                            what + ": the new file is whole")
            write_file(path, self.old_profiles)
        else:
            self.part.check(result == PROFILE_UPDATE_FAILED, what + ": result %s" % result)
            self.unchanged(before, what)
        self.part.check(sorted(os.listdir(self.data)) == [PREFERENCES_FILE, PROFILES_FILE],
                        what + ": no temporary or lock file left: %s" % os.listdir(self.data))
        self.part.check(not os.path.exists(os.path.join(self.data, PROFILES_LOCK)), what + ": no lock left")

    def profile_zip(self, worker, free, scratch, name):
        """The ZIP of a profile whose source folder is one of the sources, every file taken."""
        zip_name = "profile-%s.zip" % name
        return self.new_archive(worker, free, "profile ZIP of " + name, zip_name,
                                ("profile-zip", windows_path(os.path.join(scratch, name)), self.drive("out", zip_name),
                                 1), entries=len(self.sources[name]))


def free_text(free):
    return "%d KiB" % (free >> 10) if free < MIB else "%d MiB" % (free >> 20)


def run(long_form):
    part = Part("disk-full")
    mount_point = os.path.join(WORK, "disk-full-mount")
    prefix = os.environ["WINEPREFIX"]
    letter = free_drive_letter(os.path.join(prefix, "dosdevices"))
    mounted, message = mount_disk(mount_point)
    if not mounted or letter is None:
        part.skip("cannot mount a tmpfs here (%s)" % (message or "no free drive letter in the prefix"))
        return part.end()
    drive_link = os.path.join(prefix, "dosdevices", letter + ":")
    os.symlink(mount_point, drive_link)
    worker = None
    try:
        scratch = fresh_folder("disk-full")
        # Each source is larger than the most space ever left free, except "small".
        sources = {"big": {"a.bin": MIB, "b.bin": MIB, "c/d.bin": MIB + 12345}, "small": {"s.txt": b"small\r\n" * 100}}
        for name, files in sources.items():
            archives.make_tree(os.path.join(scratch, name), files)
        sources = {name: archives.tree_files(os.path.join(scratch, name)) for name in sources}
        big_zip = archives.zip_of(os.path.join(scratch, "big.zip"), sources["big"])
        small_zip = archives.zip_of(os.path.join(scratch, "small.zip"), sources["small"])
        case = DiskFull(part, mount_point, letter, sources)
        case.prepare()
        worker = Worker(local_data=case.drive("data"))
        part.check(worker.ready, "the worker started")
        levels = FREE_LEVELS if long_form else (0, 256 << 10)
        for free in levels:
            case.extraction(worker, free, windows_path(big_zip), "big")
            small = case.extraction(worker, free, windows_path(small_zip), "small")
            if free == 0:
                part.check(small != RESULT_OK, "extraction with no free space cannot succeed")
            for format_ in FORMAT_EXTENSIONS:
                case.creation(worker, free, windows_path(os.path.join(scratch, "big")), format_)
            case.queue(worker, free, [windows_path(big_zip), windows_path(small_zip)], ["big", "small"])
            case.preferences(worker, free)
            case.profiles(worker, free)
            for name in sources:
                case.profile_zip(worker, free, scratch, name)
        for what, outcomes in case.figures.items():
            part.figure("%s: %s" % (what, ", ".join(outcomes)))
    finally:
        if worker is not None:
            worker.close()
        os.remove(drive_link)
        subprocess.run(["umount", mount_point])
        os.rmdir(mount_point)
    return part.end()
