# The reliability suite: the promises of the operations and the data files (outputs never
# half-written or overwritten, data files always whole, hostile input refused) under what a user's
# machine does to them. Run by scripts/reliability.sh, which sets up the build folder's Wine prefix;
# --quick is the form the tests run, --long the one run by hand. Each part prints its figures and
# ends with "N passed, N failed"; the last line adds up all parts.
import argparse
import sys
import time

import part_copies
import part_disk_full
import part_killed
import part_large
import part_mutations
import part_resources

PARTS = {"disk-full": part_disk_full, "killed": part_killed, "mutations": part_mutations,
         "copies": part_copies, "large": part_large, "resources": part_resources}


def main():
    parser = argparse.ArgumentParser(description="The reliability suite.")
    form = parser.add_mutually_exclusive_group()
    form.add_argument("--quick", action="store_true", help="the short form (the default)")
    form.add_argument("--long", action="store_true", help="the long form, run by hand")
    parser.add_argument("parts", nargs="*", help="parts to run (default: all): " + ", ".join(PARTS))
    arguments = parser.parse_args()
    unknown = [name for name in arguments.parts if name not in PARTS]
    if unknown:
        parser.error("unknown part: " + ", ".join(unknown))
    start = time.monotonic()
    passed = failed = skipped = 0
    for name in arguments.parts or list(PARTS):
        part_start = time.monotonic()
        part = PARTS[name].run(arguments.long)
        print("  (%s took %.0f s)" % (name, time.monotonic() - part_start), flush=True)
        passed, failed, skipped = passed + part.passed, failed + part.failed, skipped + part.skipped
    print("  (%s form, %.0f s in all)" % ("long" if arguments.long else "quick", time.monotonic() - start))
    print("reliability: %d passed, %d failed%s" % (passed, failed, ", %d skipped" % skipped if skipped else ""))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
