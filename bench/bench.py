#!/usr/bin/env python3
"""How close dvxtool comes to a plain copy of the same bytes.

Run by hand through bench/run.sh; not a test, and nothing in CI times it.
For each case it times `dvxtool x` or `dvxtool i` against
`cat dralvenix.dat > copy` in alternating pairs, after a warm-up, and prints
the median of the paired ratios and dvxtool's peak resident memory. The same
is done against `dd bs=2M`, a copy that, like dvxtool, moves the bytes
through a buffer of its own with read and write (GNU cat copies inside the
kernel with copy_file_range, which no buffered reader can match).
"""
import argparse
import os
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import time

RECORD = 64
MEMBERS = range(1, 132)


def run(command, cwd):
    """Wall time in seconds of one command."""
    start = time.perf_counter()
    completed = subprocess.run(command, cwd=cwd, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, shell=isinstance(command, str))
    elapsed = time.perf_counter() - start
    if completed.returncode != 0:
        sys.exit(f"{command} failed with status {completed.returncode} in {cwd}")
    return elapsed


def peak_memory(command, cwd):
    """Peak resident memory of a command in KiB, as GNU time reports it.

    Measured apart from the timed runs: a child forked from this Python
    process would carry the interpreter's own memory into its peak."""
    with tempfile.NamedTemporaryFile("r") as report:
        subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name, *command], cwd=cwd,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, check=True)
        return int(report.read().split()[-1])


def directory(archive):
    with open(archive, "rb") as file:
        head = file.read(133 * RECORD)
    entries = []
    for i in range(133):
        record = head[i * RECORD:(i + 1) * RECORD]
        name = record[:48].split(b"\0")[0].decode("latin-1")
        offset, size = struct.unpack_from("<II", record, 48)
        entries.append((name, offset, size))
    return entries


def host_path(folder, name):
    return os.path.join(folder, *name.split("\\"))


def place_replacements(folder, archive, count):
    """Half of them shorter than their member, half grown past the next one."""
    entries = directory(archive)
    chosen = [1 + i * 131 // count for i in range(count)]
    with open(archive, "rb") as source:
        for n, k in enumerate(chosen):
            name, offset, size = entries[k]
            length = size // 2 if n % 2 else size + 1_500_000
            source.seek(offset)
            data = source.read(min(size, length))
            with open(host_path(folder, name), "wb") as file:
                file.write(data)
                file.write(b"\x5a" * (length - len(data)))


def prepare(root, label, maker, sizes, replacements=0):
    folder = os.path.join(root, label)
    os.makedirs(os.path.join(folder, "gfx"))
    os.makedirs(os.path.join(folder, "sfx"))
    archive = os.path.join(folder, "dralvenix.dat")
    subprocess.run([maker, *map(str, sizes), archive], check=True)
    if replacements:
        place_replacements(folder, archive, replacements)
    return folder


COPIES = {"cat": "cat dralvenix.dat > copy", "dd": "dd if=dralvenix.dat of=copy bs=2M status=none"}


def measure(dvxtool, folder, action, runs):
    """Median ratios against each copy, dvxtool's median time, its peak memory."""
    tool = [dvxtool, action]
    for command in [tool, *COPIES.values()]:
        run(command, folder)  # warm-up: page cache, file creation
    ratios = {name: [] for name in COPIES}
    times = []
    for i in range(runs):
        for name, copy in COPIES.items():
            # Alternate which goes first, so that neither always follows the other.
            if i % 2:
                copy_time = run(copy, folder)
                tool_time = run(tool, folder)
            else:
                tool_time = run(tool, folder)
                copy_time = run(copy, folder)
            ratios[name].append(tool_time / copy_time)
            times.append(tool_time)
    peak = max(peak_memory(tool, folder) for _ in range(3))
    os.remove(os.path.join(folder, "copy"))
    medians = {name: statistics.median(values) for name, values in ratios.items()}
    return medians, statistics.median(times), peak


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True, help="folder with dvxtool and make_sample_archive")
    parser.add_argument("--dir", default="/dev/shm" if os.path.isdir("/dev/shm") else None,
                        help="where the archives go (default /dev/shm: the page cache is the floor)")
    parser.add_argument("--runs", type=int, default=9, help="timed pairs per case (at least 7)")
    args = parser.parse_args()
    dvxtool = os.path.join(args.build, "dvxtool")
    maker = os.path.join(args.build, "make_sample_archive")

    root = tempfile.mkdtemp(prefix="dvxtool-bench-", dir=args.dir)
    try:
        cases = [
            ("x", "extraction, 131 members of 1 to 3 MB", (1_000_000, 3_000_000), 0),
            ("i", "rebuild, 10 replacement files", (1_000_000, 3_000_000), 10),
            ("x", "extraction, 10 members of 12 MB among them", (1_000_000, 3_000_000, 10, 12_000_000), 0),
            ("i", "rebuild, 10 members of 12 MB among them", (1_000_000, 3_000_000, 10, 12_000_000), 10),
            ("x", "extraction, sizes doubled", (2_000_000, 6_000_000), 0),
            ("i", "rebuild, sizes doubled", (2_000_000, 6_000_000), 10),
        ]
        print(f"{args.runs} paired runs per case and copy in {root}; ratios are medians of dvxtool / copy")
        results = {}
        for number, (action, label, sizes, replacements) in enumerate(cases):
            folder = prepare(root, f"case{number}", maker, sizes, replacements)
            size = os.path.getsize(os.path.join(folder, "dralvenix.dat"))
            ratios, seconds, peak = measure(dvxtool, folder, action, args.runs)
            results[label] = seconds
            print(f"{label:45} {size / 2**20:6.1f} MiB  vs cat {ratios['cat']:5.3f}  vs dd {ratios['dd']:5.3f}  "
                  f"dvxtool {seconds * 1000:6.1f} ms  peak {peak / 1024:4.1f} MiB")
            shutil.rmtree(folder)
        for action in ("extraction", "rebuild"):
            base = results[f"{action}, 131 members of 1 to 3 MB" if action == "extraction"
                           else "rebuild, 10 replacement files"]
            print(f"{action}: doubling the member sizes multiplies the time by "
                  f"{results[f'{action}, sizes doubled'] / base:.2f}")
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
