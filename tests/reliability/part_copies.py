# Many copies at once: several real processes save profiles and preferences in a loop for a fixed
# time, all in one local data folder. Each copy changes profiles of its own (no update of another
# copy may undo one of them), and all of them save one shared profile on top of the version each
# last saw: every successful save must follow the one before it (a save that did not see the one
# before is a lost update, which the conflict check must turn into "changed in another window").
# Every read of either file finds it whole.
import os
import threading

from suite import (PREFERENCES_FILE, PROFILES_FILE, Part, Worker, fresh_folder, parse_answer,
                   preferences_version_of, profile_record, profile_sources, profiles_file, read_file, write_file)


def run_copy(worker, k, seconds, results):
    chain, done, own = [], {}, {}
    if worker.send("copies", k, seconds):
        while True:
            line = worker.read(seconds + 600)
            if not line:
                break
            if line.startswith("chain "):
                chain.append(tuple(line.split(" ")[1:3]))
            elif line.startswith("own"):
                own = dict(item.split("=", 1) for item in line.split(" ")[1:])
            elif line.startswith("done "):
                done = parse_answer(line[len("done "):])
                break
    results[k] = (chain, done, own)


def run(long_form):
    part = Part("copies")
    copies, seconds = (8, 300) if long_form else (4, 20)
    data = fresh_folder("copies")
    write_file(os.path.join(data, PROFILES_FILE), profiles_file([profile_record("shared", "init")]))
    workers = [Worker(local_data=data) for _ in range(copies)]
    part.check(all(w.ready for w in workers), "%d copies started" % copies)
    results = {}
    threads = [threading.Thread(target=run_copy, args=(w, k, seconds, results)) for k, w in enumerate(workers)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    for worker in workers:
        worker.close()

    totals = {}
    for k in range(copies):
        chain, done, _ = results.get(k, ([], {}, {}))
        part.check(bool(done), "copy %d finished" % k)
        for key, value in done.items():
            totals[key] = totals.get(key, 0) + value
        part.check(done.get("lost") == 0, "copy %d: lost updates of its own profiles: %s" % (k, done.get("lost")))
        part.check(done.get("torn") == 0, "copy %d: torn reads: %s" % (k, done.get("torn")))
        part.check(done.get("shared_saves") == len(chain), "copy %d: every shared save reported" % k)

    # The shared profile's saves form one chain from "init" to the file's version: each save was
    # made on top of the one before it, and no two saves on top of the same one.
    saves = [save for k in range(copies) for save in results.get(k, ([], {}, {}))[0]]
    on_top_of = {}
    lost_shared = 0
    for previous, new in saves:
        if previous in on_top_of:
            lost_shared += 1
        on_top_of[previous] = new
    version, followed = "init", 0
    while version in on_top_of and followed <= len(saves):
        version = on_top_of[version]
        followed += 1
    final = profile_sources(read_file(os.path.join(data, PROFILES_FILE)) or b"")
    part.check(final is not None, "the profile file is whole at the end")
    part.check(lost_shared == 0 and followed == len(saves), "the shared profile's %d saves form one chain (%d lost)" % (
        len(saves), lost_shared))
    part.check(final is not None and final.get("shared", ("",))[0] == version,
               "the file holds the last save of the shared profile")

    # Every copy's own profiles are in the file as its last update left them.
    lost_own = 0
    for k in range(copies):
        own = results.get(k, ([], {}, {}))[2]
        prefix = "c%d-" % k
        in_file = {n: v[0] for n, v in (final or {}).items() if n.startswith(prefix)}
        lost_own += len(set(own.items()) ^ set(in_file.items()))
    part.check(lost_own == 0, "every copy's own profiles are in the file as it left them (%d lost)" % lost_own)
    prefs = preferences_version_of(read_file(os.path.join(data, PREFERENCES_FILE)) or b"")
    part.check(prefs is not None and prefs[0] < copies, "the preferences file is one whole version: %s" % (prefs,))
    left = sorted(n for n in os.listdir(data) if n not in (PROFILES_FILE, PREFERENCES_FILE))
    part.check(left == [], "nothing else in the data folder: %s" % left)

    part.figure("%d copies for %d s: %d rounds; profile updates %d (%d retries while another copy held the lock or "
                "read the file, %d refused after 30 s of retries); shared profile saves %d, conflicts reported %d, "
                "lock busy %d" % (copies, seconds, totals.get("rounds", 0), totals.get("own_updates", 0) + totals.get(
                    "shared_saves", 0), totals.get("retries", 0), totals.get("refused", 0),
                    totals.get("shared_saves", 0), totals.get("conflicts", 0), totals.get("busy", 0)))
    part.figure("preferences saves %d, refused %d (the file was being read at that moment); reads unreadable %d" % (
        totals.get("prefs_saves", 0), totals.get("prefs_refused", 0), totals.get("unreadable", 0)))
    part.figure("lost updates %d (own %d, shared %d), torn reads %d" % (
        totals.get("lost", 0) + lost_own + lost_shared, totals.get("lost", 0) + lost_own, lost_shared,
        totals.get("torn", 0)))
    return part.end()
