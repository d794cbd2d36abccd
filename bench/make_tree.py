#!/usr/bin/env python3
"""Makes the synthetic folder tree of the scan benchmark: about 220,000 entries in folders of
mixed fan-out and depth, names of mixed length, sparse files of mixed size (they take no
disk space). The same tree every time: the generator is seeded.

    make_tree.py FOLDER [ENTRIES]
"""
import os
import random
import shutil
import sys

VERSION = "scan-tree 1"


def name(rng, used):
    letters = "abcdefghijklmnopqrstuvwxyz0123456789_- "
    while True:
        length = rng.choice([1, 2, 4, 6, 8, 8, 10, 12, 12, 16, 20, 28, 40, 64])
        n = "".join(rng.choice(letters) for _ in range(length)).strip() or "x"
        if n.lower() not in used:
            used.add(n.lower())
            return n


def main():
    top = os.path.abspath(sys.argv[1])
    target = int(sys.argv[2]) if len(sys.argv) > 2 else 220000
    stamp = os.path.join(top, ".complete")
    want = "%s %d\n" % (VERSION, target)
    if os.path.exists(stamp) and open(stamp).read() == want:
        return
    shutil.rmtree(top, ignore_errors=True)
    root = os.path.join(top, "tree")
    os.makedirs(root)
    rng = random.Random(20240601)
    pending = [(root, 0)]
    made = 0
    while made < target:
        if not pending:
            pending.append((root, 0))
        # A random pending folder next: branches of every depth grow side by side.
        i = rng.randrange(len(pending))
        pending[i], pending[-1] = pending[-1], pending[i]
        folder, depth = pending.pop()
        used = set(e.lower() for e in os.listdir(folder))
        files = rng.choice([0, 1, 2, 3, 5, 8, 12, 20, 30, 50, 80]) if rng.random() > 0.01 else 2000
        for _ in range(min(files, target - made)):
            path = os.path.join(folder, name(rng, used))
            with open(path, "wb") as f:
                size = rng.choice([0, 1, 100, 4096, 65536, 1 << 20, 1 << 26]) + rng.randrange(1000)
                f.truncate(size)
            made += 1
        if depth < 14:
            for _ in range(rng.choice([0, 0, 1, 1, 2, 3, 4, 6, 10])):
                if made >= target:
                    break
                sub = os.path.join(folder, name(rng, used))
                os.mkdir(sub)
                made += 1
                pending.append((sub, depth + 1))
    with open(stamp, "w") as f:
        f.write(want)
    print("made %d entries under %s" % (made, root))


if __name__ == "__main__":
    main()
