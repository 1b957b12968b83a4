# Resource use over time: one process opens, extracts, tests and creates (ZIP, 7z and TAR.GZ in
# turn) 1,000 times in a row through the operation runner; its handle count, private bytes, heap
# bytes in use and GDI/USER objects after the third round (each format has been written once, and
# the engine has made what it keeps) and at the end must not grow beyond noise.
import os

import archives
from suite import Part, Worker, fresh_folder, parse_answer, windows_path

KIB = 1 << 10


def run(long_form):
    part = Part("resources")
    rounds = 1000 if long_form else 200
    folder = fresh_folder("resources")
    files = dict([("tree/%02d.txt" % i, b"line %d\r\n" % i * 200) for i in range(20)] + [("tree/r.bin", 50000)])
    tree = archives.make_tree(os.path.join(folder, "source"), files)
    archive = archives.zip_of(os.path.join(folder, "soak.zip"), archives.tree_files(tree), ("tree/",))
    work = os.path.join(folder, "work")
    os.makedirs(work)
    worker = Worker()
    part.check(worker.ready, "the worker started")
    samples = []
    if worker.send("soak", rounds, windows_path(archive), windows_path(work)):
        while True:
            line = worker.read(3600)
            if not line or line == "done":
                break
            samples.append(parse_answer(line))
    worker.close()
    if not part.check(len(samples) >= 3 and samples[-1].get("round") == rounds, "all %d rounds ran" % rounds):
        return part.end()
    first, last = next(s for s in samples if s.get("round") == 3), samples[-1]
    part.check(last.get("failures") == 0, "every operation of every round succeeded (%s failed)" % last.get("failures"))
    limits = {"handles": 2, "private": 1024 * KIB, "heap": 64 * KIB, "gdi": 0, "user": 0, "windows": 0}
    for counter, limit in limits.items():
        growth = last[counter] - first[counter]
        part.check(growth <= limit, "%s grew by %d (limit %d)" % (counter, growth, limit))
    part.figure("%d rounds of open, extract, test and create (%d operations)" % (rounds, 4 * rounds))
    for sample in samples:
        part.figure("after round %4d: handles %d, private %d KiB, heap in use %d KiB, GDI %d, USER %d, windows %d" % (
            sample["round"], sample["handles"], sample["private"] // KIB, sample["heap"] // KIB, sample["gdi"],
            sample["user"], sample["windows"]))
    if first["gdi"] == 0 and first["user"] == 0:
        part.figure("GDI and USER objects: GetGuiResources answers 0 under Wine; the window count stands for them")
    return part.end()
