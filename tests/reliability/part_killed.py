# Killed at any point: a running copy of the program gets SIGKILL (the Wine process itself) at
# points spread over an extraction, a creation, a queue run, the data-file saves and the profile
# ZIP. Afterwards every target is either absent or whole, the only other names are ".lumarek-" work
# names that the program's own clean-up removes, the preferences and profile files are exactly one
# version (the old or a new one), the profile lock is gone, and the next copy can save both files.
import os
import re
import time

import archives
from suite import (FORMAT_7Z, FORMAT_TAR_GZ, FORMAT_ZIP, PREFERENCES_FILE, PROFILES_FILE, PROFILES_LOCK,
                   PROFILE_UPDATE_OK, RESULT_OK, Part, Worker, fresh_folder, preferences_version,
                   preferences_version_of, profile_record, profile_sources, profiles_file, read_file,
                   windows_path, work_names, write_file)


class Tally:
    """What the kills found, per operation."""

    def __init__(self):
        self.kills = self.before = self.whole = self.torn = self.leftovers = self.stuck = 0

    def text(self):
        return ("%d kills: %d before the output appeared, %d with it whole, %d torn; %d work names left, %d not "
                "removable" % (self.kills, self.before, self.whole, self.torn, self.leftovers, self.stuck))


def kill_points(duration, count):
    """Delays after the operation began, spread evenly over it and a little past its end."""
    return [duration * 1.05 * (i + 0.5) / count for i in range(count)]


def kill_during(part, command, delay, local_data=None):
    """Starts a fresh copy, begins the command, kills the copy after the delay."""
    worker = Worker(local_data)
    if not part.check(worker.ready, "a worker started"):
        worker.kill()
        return False
    began = worker.begin(*command)
    part.check(began is not None, "%s began" % command[0])
    if began is not None:
        time.sleep(max(0.0, began + delay - time.monotonic()))
    worker.kill()
    return began is not None


def clean_work_names(part, folder, tally, what):
    """The ".lumarek-" names a kill left are removed by the program's own clean-up (a folder by
    remove_tree, a temporary archive by DeleteFileW); nothing else may be there."""
    names = work_names(folder)
    tally.leftovers += len(names)
    if not names:
        return
    worker = Worker()
    for name in names:
        path = os.path.join(folder, name)
        answer = worker.ask("remove-tree" if os.path.isdir(path) else "delete", windows_path(path))
        if not (answer and answer.get("exists") == 0):
            tally.stuck += 1
            part.check(False, "%s: %s could not be removed" % (what, name))
    worker.close()


def kills_of(part, command, duration, kills, out, tally, label):
    """Kills a fresh copy at each point of the operation and cleans up the work names it left;
    yields each point's description for the checks of what is left."""
    for delay in kill_points(duration, kills):
        if not kill_during(part, command, delay):
            continue
        tally.kills += 1
        what = "%s killed at %.2f s" % (label, delay)
        clean_work_names(part, out, tally, what)
        yield what


def measure(part, command):
    """The operation's duration in seconds, uninterrupted, as the worker measured it."""
    worker = Worker()
    answer = worker.ask(*command)
    worker.close()
    part.check(answer is not None and answer.get("code") == RESULT_OK, "uninterrupted %s: %s" % (command[0], answer))
    return (answer or {}).get("ms", 1000) / 1000.0


def extraction(part, scratch, kills):
    source = archives.make_tree(os.path.join(scratch, "tree"), dict(
        [("many/%04d.txt" % i, 2000 + i) for i in range(1500)] + [("big/%d.bin" % i, 4 << 20) for i in range(4)]))
    expected = archives.tree_files(source)
    archive = archives.zip_of(os.path.join(scratch, "tree.zip"), expected)
    out = os.path.join(scratch, "extract-out")
    os.makedirs(out)
    target = os.path.join(out, "tree")
    command = ("extract", windows_path(archive), windows_path(target))
    duration = measure(part, command)
    part.check(archives.tree_files(target) == expected, "uninterrupted extraction whole")
    os.system("rm -rf '%s'" % target)
    tally = Tally()
    for what in kills_of(part, command, duration, kills, out, tally, "extraction"):
        if os.path.exists(target):
            whole = archives.tree_files(target) == expected
            tally.whole += whole
            tally.torn += not whole
            part.check(whole, what + ": the target is not whole")
            os.system("rm -rf '%s'" % target)
        else:
            tally.before += 1
        part.check(os.listdir(out) == [], "%s: left %s" % (what, os.listdir(out)))
    part.figure("extraction (%.2f s uninterrupted): %s" % (duration, tally.text()))
    return tally


def archive_kills(part, command, output, kills, tally, label):
    """Kills while the command writes the archive at output: afterwards it is absent or whole (the
    uninterrupted run's listing, and it tests), and nothing else but removable work names is there."""
    out = os.path.dirname(output)
    duration = measure(part, command)
    checker = Worker()
    reference = checker.ask("open", windows_path(output))
    os.remove(output)
    part.check(reference and reference.get("code") == RESULT_OK, "uninterrupted %s lists" % label)
    for what in kills_of(part, command, duration, kills, out, tally, label):
        if os.path.exists(output):
            listed = checker.ask("open", windows_path(output))
            tested = checker.ask("test", windows_path(output))
            whole = (listed and tested and listed.get("sizes") == reference.get("sizes") and
                     tested.get("code") == RESULT_OK)
            tally.whole += bool(whole)
            tally.torn += not whole
            part.check(whole, what + ": the archive is not whole")
            os.remove(output)
        else:
            tally.before += 1
        part.check(os.listdir(out) == [], "%s: left %s" % (what, os.listdir(out)))
    checker.close()


def creation(part, scratch, kills):
    source = os.path.join(scratch, "tree")  # made by extraction()
    tally = Tally()
    out = os.path.join(scratch, "create-out")
    os.makedirs(out)
    for format_, name in ((FORMAT_ZIP, "new.zip"), (FORMAT_7Z, "new.7z"), (FORMAT_TAR_GZ, "new.tar.gz")):
        output = os.path.join(out, name)
        per_format = max(1, kills // 3 + (1 if format_ < kills % 3 else 0))
        archive_kills(part, ("create", format_, 6, windows_path(output), windows_path(source)), output, per_format,
                      tally, "creation of " + name)
    part.figure("creation (ZIP, 7z, TAR.GZ): %s" % tally.text())
    return tally


def queue_run(part, scratch, kills):
    names = ["q%d" % i for i in range(3)]
    expected = {}
    paths = []
    for i, name in enumerate(names):
        files = dict([("%s/%03d.txt" % (name, j), 3000 + j) for j in range(400)] + [("%s/big.bin" % name, 4 << 20)])
        root = archives.make_tree(os.path.join(scratch, "queue-src", name), files, seed=10 + i)
        expected[name] = archives.tree_files(root)
        paths.append(windows_path(archives.tar_of(os.path.join(scratch, name + ".tar.gz"), expected[name])))
    out = os.path.join(scratch, "queue-out")
    os.makedirs(out)
    command = ("queue", windows_path(out)) + tuple(paths)
    duration = measure(part, command)
    part.check(all(archives.tree_files(os.path.join(out, n)) == expected[n] for n in names),
               "uninterrupted queue whole")
    os.system("rm -rf '%s'/*" % out)
    tally = Tally()
    for what in kills_of(part, command, duration, kills, out, tally, "queue"):
        present = [n for n in names if os.path.exists(os.path.join(out, n))]
        for name in present:
            whole = archives.tree_files(os.path.join(out, name)) == expected[name]
            tally.whole += whole
            tally.torn += not whole
            part.check(whole, "%s: %s not whole" % (what, name))
        tally.before += len(names) - len(present)
        part.check(present == names[:len(present)], "%s: the archives were extracted in order: %s" % (what, present))
        part.check(sorted(os.listdir(out)) == present, "%s: left %s" % (what, os.listdir(out)))
        os.system("rm -rf '%s'/*" % out)
    part.figure("queue of 3 archives (%.2f s uninterrupted): %s" % (duration, tally.text()))
    return tally


def leftover_temporaries(folder, file_name):
    return [n for n in os.listdir(folder) if re.fullmatch(re.escape(file_name) + r"\.\d+", n)]


def data_file_saves(part, scratch, kills, which):
    """Kills during a loop of saves: the file must be exactly one version, and a later copy must
    still save."""
    data = os.path.join(scratch, "data-" + which)
    os.makedirs(data)
    if which == "preferences":
        file_name, command = PREFERENCES_FILE, ("prefs-loop", 3, 1)
        write_file(os.path.join(data, file_name), preferences_version(3, 0))
    else:
        file_name, command = PROFILES_FILE, ("profile-loop", 1)
        write_file(os.path.join(data, file_name), profiles_file([
            profile_record("alpha", "C:\\a"), profile_record("beta", "C:\\b"), profile_record("kill", "C:\\kill\\0")]))
    tally = Tally()
    versions = set()
    later_refused = 0
    for i, delay in enumerate(kill_points(0.4, kills)):
        if not kill_during(part, command, delay, local_data=data):
            continue
        tally.kills += 1
        what = "%s save killed at %.3f s" % (which, delay)
        content = read_file(os.path.join(data, file_name))
        if which == "preferences":
            version = preferences_version_of(content) if content else None
            whole = version is not None and version[0] == 3
        else:
            profiles = profile_sources(content) if content else None
            source = profiles.get("kill", ("",))[0] if profiles else ""
            number = source[len("C:\\kill\\"):]
            whole = profiles is not None and number.isdigit() and content == profiles_file([
                profile_record("alpha", "C:\\a"), profile_record("beta", "C:\\b"), profile_record("kill", source)])
            version = number
        tally.whole += whole
        tally.torn += not whole
        part.check(whole, "%s: the file is not one whole version" % what)
        versions.add(version)
        part.check(not os.path.exists(os.path.join(data, PROFILES_LOCK)) or wait_gone(
            os.path.join(data, PROFILES_LOCK)), "%s: the lock went with the process" % what)
        # The next copy of the program saves normally, whatever the kill left.
        worker = Worker(local_data=data)
        if which == "preferences":
            answer = worker.ask("prefs-save", 3, 100000 + i)
            saved = answer is not None and answer.get("saved") == 1
        else:
            answer = worker.ask("profile-save", 100000 + i)
            saved = answer is not None and answer.get("result") == PROFILE_UPDATE_OK
        worker.close()
        later_refused += not saved
        part.check(saved, "%s: the next copy could not save (%s); left: %s" %
                   (what, answer, leftover_temporaries(data, file_name)))
    # A kill between the temporary file's creation and its move leaves it ("<file>.<process id>"); it
    # stays, and only a later copy with the same process id would find it in its way.
    tally.leftovers = len(leftover_temporaries(data, file_name))
    part.figure("%s saves: %d kills, each leaving one whole version (%d different ones), %d torn; %d temporary "
                "files left (%s.<process id>); %d later saves refused" % (which, tally.kills, len(versions),
                                                                       tally.torn, tally.leftovers, file_name,
                                                                       later_refused))
    return tally


def wait_gone(path, seconds=10):
    until = time.monotonic() + seconds
    while os.path.exists(path) and time.monotonic() < until:
        time.sleep(0.05)
    return not os.path.exists(path)


def profile_zip(part, scratch, kills):
    """The ZIP of a profile that takes every file of the extraction's tree, killed as it is written."""
    tally = Tally()
    out = os.path.join(scratch, "profile-zip-out")
    os.makedirs(out)
    output = os.path.join(out, "profile.zip")
    archive_kills(part, ("profile-zip", windows_path(os.path.join(scratch, "tree")), windows_path(output), 6), output,
                  kills, tally, "profile ZIP")
    part.figure("profile ZIP: %s" % tally.text())
    return tally


def run(long_form):
    part = Part("killed")
    kills = 50 if long_form else 10
    scratch = fresh_folder("killed")
    tallies = [extraction(part, scratch, kills), creation(part, scratch, kills), queue_run(part, scratch, kills),
               data_file_saves(part, scratch, kills, "preferences"), data_file_saves(part, scratch, kills, "profiles"),
               profile_zip(part, scratch, kills)]
    part.figure("in all: %d kills, %d torn outputs or files, %d work names and temporary data files left (%d not removable)" % (
        sum(t.kills for t in tallies), sum(t.torn for t in tallies), sum(t.leftovers for t in tallies),
        sum(t.stuck for t in tallies)))
    return part.end()
