# Mutated archives: thousands of mutations of valid ZIP (also AES-encrypted), 7z, TAR.GZ, TAR.BZ2
# and RAR seeds, made by the suite's own byte flipper (reproducible from the case number), each
# listed, tested and extracted by the operation bodies in one long-lived worker per batch. No crash,
# no hang past the time limit, no write outside the target, no partial output: an extraction that
# fails leaves nothing, one that succeeds leaves exactly its target. The figures: the count, the
# outcomes by result code, and the slowest case.
import collections
import os
import random
import shutil
import struct
import time

import archives
from suite import (RESULT_OK, WORK_PREFIX, Part, Worker, code_name, fresh_folder, save_finding, windows_path)

HANG_LIMIT_S = 60
BATCH = 500
INTERESTING = (0, 1, 0x7F, 0x80, 0xFF, 0x7FFF, 0x8000, 0xFFFF, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF)


def make_seeds(folder):
    files = {"readme.txt": b"Lumarek reliability seed.\r\n" * 40, "data/random.bin": random.Random(7).randbytes(3000),
             "data/empty.txt": b"", "data/deep/nested.txt": b"nested " * 300}
    folders = ("data/", "data/deep/")
    tree = archives.make_tree(os.path.join(folder, "seed-tree"), files)
    seeds = {
        "zip": archives.zip_of(os.path.join(folder, "seed.zip"), files, folders),
        "zip-aes": archives.seven_zip_of(os.path.join(folder, "seed-aes.zip"), tree, "Secret", "zip"),
        "7z": archives.seven_zip_of(os.path.join(folder, "seed.7z"), tree),
        "tar.gz": archives.tar_of(os.path.join(folder, "seed.tar.gz"), files, folders, "w:gz"),
        "tar.bz2": archives.tar_of(os.path.join(folder, "seed.tar.bz2"), files, folders, "w:bz2"),
        "rar": archives.rar5_of(os.path.join(folder, "seed.rar"), files),
    }
    return {kind: open(path, "rb").read() for kind, path in seeds.items()}


def mutate(data, case):
    """One mutation of the seed, chosen and placed by the case number alone."""
    generator = random.Random(case)
    out = bytearray(data)
    strategy = generator.choice(("bits", "bytes", "number", "truncate", "insert", "delete", "splice", "sprinkle"))
    size = len(out)
    if strategy == "bits":
        for _ in range(generator.randint(1, 8)):
            at = generator.randrange(size)
            out[at] ^= 1 << generator.randrange(8)
    elif strategy == "bytes":
        for _ in range(generator.randint(1, 8)):
            out[generator.randrange(size)] = generator.choice((0, 0xFF, 0x7F, 0x80, generator.randrange(256)))
    elif strategy == "number":
        width = generator.choice((2, 4, 8))
        value = generator.choice(INTERESTING + (size, size - 1, size + 1))
        at = generator.randrange(max(1, size - width))
        out[at:at + width] = struct.pack("<Q", value & 0xFFFFFFFFFFFFFFFF)[:width]
    elif strategy == "truncate":
        del out[generator.randrange(size):]
    elif strategy == "insert":
        at = generator.randrange(size)
        out[at:at] = generator.randbytes(generator.randint(1, 64))
    elif strategy == "delete":
        at = generator.randrange(size)
        del out[at:at + generator.randint(1, 64)]
    elif strategy == "splice":
        length = generator.randint(4, 256)
        start, to = generator.randrange(size), generator.randrange(size)
        out[to:to + length] = data[start:start + length]
    else:  # like zzuf: a small ratio of bits flipped over the whole file
        for _ in range(max(1, size // 250)):
            at = generator.randrange(size)
            out[at] ^= 1 << generator.randrange(8)
    return bytes(out), strategy


class Mutations:
    def __init__(self, part, folder):
        self.part, self.folder = part, folder
        self.case_folder = os.path.join(folder, "case")
        self.outcomes = {op: collections.Counter() for op in ("list", "test", "extract")}
        self.count = self.crashes = self.hangs = self.outside = self.partial = 0
        self.slowest = (0, None)
        self.strategies = collections.Counter()

    def probe(self, worker, kind, case, data):
        """One case; the worker back (a fresh one after a crash or a hang)."""
        os.makedirs(self.case_folder)
        archive = os.path.join(self.case_folder, "archive." + kind.split("-")[0])
        with open(archive, "wb") as f:
            f.write(data)
        target = os.path.join(self.case_folder, "out")
        started = time.monotonic()
        answer = worker.ask("probe", windows_path(archive), windows_path(target), timeout=HANG_LIMIT_S)
        elapsed = time.monotonic() - started
        self.count += 1
        name = "%s-%d.%s" % (kind, case, kind.split("-")[0])
        if not answer:
            hung = answer == {}
            if hung:
                self.hangs += 1
            else:
                self.crashes += 1
            path = save_finding("hang" if hung else "crash", name, data)
            self.part.check(False, "%s case %d: the worker %s (kept as %s)" %
                            (kind, case, "hung" if hung else "crashed", path))
            worker.kill()
            worker = Worker()
        else:
            for op in self.outcomes:
                self.outcomes[op][answer.get(op)] += 1
            if elapsed > self.slowest[0]:
                self.slowest = (elapsed, "%s case %d (%s, list %s, test %s, extract %s)" % (
                    kind, case, self.strategy, code_name(answer.get("list")), code_name(answer.get("test")),
                    code_name(answer.get("extract"))))
            self.check_outputs(kind, case, answer, data)
        shutil.rmtree(self.case_folder, ignore_errors=True)
        return worker

    def check_outputs(self, kind, case, answer, data):
        """Only the archive, and the target exactly when the extraction succeeded."""
        clean = True
        names = sorted(os.listdir(self.case_folder))
        archive_name = "archive." + kind.split("-")[0]
        extracted = answer.get("extract") == RESULT_OK
        expected = sorted([archive_name] + (["out"] if extracted else []))
        if names != expected:
            partial = not extracted and "out" in names
            leftover = any(n.startswith(WORK_PREFIX) for n in names)
            self.partial += partial or leftover
            self.outside += not (partial or leftover)
            path = save_finding("output", "%s-%d.%s" % (kind, case, archive_name.split(".")[1]), data)
            clean = self.part.check(False, "%s case %d: extract %s left %s (kept as %s)" %
                            (kind, case, code_name(answer.get("extract")), names, path))
        if sorted(os.listdir(self.folder)) != ["case"]:
            self.outside += 1
            clean = self.part.check(False, "%s case %d: wrote beside the case folder: %s" % (kind, case, os.listdir(self.folder)))
            for name in os.listdir(self.folder):
                if name != "case":
                    shutil.rmtree(os.path.join(self.folder, name), ignore_errors=True)
        if clean:
            self.part.check(True, "")

    def run(self, seeds, per_seed):
        for kind, seed in seeds.items():
            worker = Worker()
            self.part.check(worker.ready, "the worker started")
            # The seed itself first: it must go through whole.
            answer = worker.ask("probe", *self.seed_paths(kind, seed))
            whole = answer and answer.get("list") == RESULT_OK and (
                answer.get("extract") == RESULT_OK or kind == "zip-aes")
            self.part.check(bool(whole), "%s seed: %s" % (kind, answer))
            shutil.rmtree(self.case_folder, ignore_errors=True)
            for i in range(per_seed):
                case = hash_case(kind, i)
                data, self.strategy = mutate(seed, case)
                self.strategies[self.strategy] += 1
                worker = self.probe(worker, kind, case, data)
                if (i + 1) % BATCH == 0:  # a fresh long-lived worker per batch
                    worker.close()
                    worker = Worker()
            worker.close()

    def seed_paths(self, kind, seed):
        os.makedirs(self.case_folder)
        archive = os.path.join(self.case_folder, "archive." + kind.split("-")[0])
        with open(archive, "wb") as f:
            f.write(seed)
        return windows_path(archive), windows_path(os.path.join(self.case_folder, "out"))


def hash_case(kind, i):
    """A case number that names the seed and the mutation, for reproducing it alone."""
    return sum(ord(c) * 131 ** k for k, c in enumerate(kind)) % 100000 * 1000000 + i


def run(long_form):
    part = Part("mutations")
    folder = fresh_folder("mutations")
    seeds = make_seeds(fresh_folder("mutation-seeds"))
    per_seed = 10000 if long_form else 400
    mutations = Mutations(part, folder)
    started = time.monotonic()
    mutations.run(seeds, per_seed)
    elapsed = time.monotonic() - started
    part.check(mutations.crashes == 0 and mutations.hangs == 0, "no crash and no hang")
    part.figure("%d mutated archives of %d seeds (%s) in %.0f s; strategies: %s" % (
        mutations.count, len(seeds), ", ".join(seeds), elapsed,
        ", ".join("%s %d" % s for s in sorted(mutations.strategies.items()))))
    for op, outcome in mutations.outcomes.items():
        part.figure("%s: %s" % (op, ", ".join("%s %d" % (code_name(c), n) for c, n in outcome.most_common())))
    part.figure("crashes %d, hangs past %d s %d, writes outside the target %d, partial outputs %d" % (
        mutations.crashes, HANG_LIMIT_S, mutations.hangs, mutations.outside, mutations.partial))
    part.figure("slowest: %.2f s, %s" % mutations.slowest)
    return part.end()
