#!/usr/bin/env bash
# Makes a small NTFS image (DIR/vol.img) through mkntfs and the ntfs-3g mount, with a tree of
# the cases the NTFS table reader must read as a walk does, and lists that tree as a walk of the
# mount sees it into DIR/expected.txt: path (from the root, '/'-separated), kind (d, f, l),
# size (a link's: its target's length), inode, mtime in ns, NTFS creation time (ticks); and into
# DIR/expected-wine.txt as Wine lists the mount, each link as what it names (and not at all
# when it names nothing), with the same fields. The image is unmounted at the end.
set -euo pipefail
dir=$1
img=$dir/vol.img
mnt=$dir/mnt
truncate -s 96M "$img"
mkntfs -F -f -q "$img" >/dev/null 2>&1
mkdir -p "$mnt"
ntfs-3g -o streams_interface=windows "$img" "$mnt"
trap 'umount "$mnt" 2>/dev/null || true' EXIT
cd "$mnt"

# One Python process writes the whole tree: a process per file would cost more than the writes.
/usr/bin/python3 - <<'PY'
import os
def write(name, size):
    with open(name, "wb") as f:
        f.write(os.urandom(size))
write("empty.txt", 0)
write("one.bin", 1)
write("resident.bin", 600)
write("small.bin", 5000)
write("big.bin", 3000000)
os.makedirs("sub/deeper")
write("sub/a", 123)
write("sub/deeper/empty", 0)
with open("sparse.bin", "wb") as f:
    f.truncate(5 << 30)
# Two files grown a block at a time in turn: each of them in hundreds of runs.
for _ in range(300):
    for name in ("frag1.bin", "frag2.bin"):
        with open(name, "ab") as f:
            f.write(os.urandom(4096))
# Blocks written into every other hole of a sparse file: runs that alternate between clusters and
# holes, more than its record holds, so that the data attribute goes on in extension records.
with open("holes.bin", "wb") as f:
    for i in range(800):
        f.seek(i * 8192)
        f.write(os.urandom(4096))
    f.truncate(800 * 8192 + 100)
# 150 names of one file: more than its record holds, so it needs an attribute list.
os.mkdir("links")
write("links/target", 7)
for i in range(2, 151):
    os.link("links/target", "links/name-%d-%s" % (i, "x" * 40))
write("ads.txt", 5)
with open("ads.txt:extra", "wb") as f:
    f.write(b"a longer alternate stream")
write("Grüße 日本.txt", 2)
write("emoji 😀.txt", 2)
p = "long"
for i in range(1, 7):
    p += "/" + "d" * 50 + str(i)
os.makedirs(p)
write(p + "/leaf.txt", 5)
os.symlink("big.bin", "link.bin")
# Links as a user's tree holds them: up and back down, a chain, a folder, and ones that name
# nothing (a missing name, a loop, a file taken for a folder).
os.symlink("../big.bin", "sub/up.bin")
os.symlink("../link.bin", "sub/chain.bin")
os.symlink("sub", "to-sub")
os.symlink("./sub/deeper/", "to-deeper")
os.symlink("nothing", "gone")
os.symlink("loop2", "loop1")
os.symlink("loop1", "loop2")
os.symlink("big.bin/x", "not-a-folder")
os.symlink(os.path.join(os.getcwd(), "sub", "a"), "abs.bin")
# A target too long for the link's record, and a plain system file of that length.
os.symlink("./" * 300 + "big.bin", "far.bin")
write("system.bin", 1500)
os.setxattr("system.bin", "system.ntfs_attrib_be", (0x24).to_bytes(4, "big"))
os.mkdir("many")
for i in range(1, 2001):
    write("many/f%d" % i, 6 if i == 7 else 0)
# A compressed folder's files: their length, not what they take on the disk.
os.mkdir("packed")
os.setxattr("packed", "system.ntfs_attrib_be", (0x810).to_bytes(4, "big"))
with open("packed/zeros", "wb") as f:
    f.write(bytes(1000000))
write("packed/noise", 70001)
# A long name with a DOS 8.3 name beside it: one entry, under the long name.
write("Long File Name.txt", 3)
os.setxattr("Long File Name.txt", "system.ntfs_dos_name", b"LONGFI~1.TXT")
# Records freed at the table's end: read past, and the progress still ends at 100 %.
os.mkdir("freed")
for i in range(300):
    write("freed/x%d" % i, 0)
for i in range(300):
    os.remove("freed/x%d" % i)
PY

cd /
/usr/bin/python3 - "$mnt" >"$dir/expected.txt" <<'PY'
import os, sys
root = sys.argv[1]
def walk(path, rel):
    with os.scandir(path) as it:
        for e in it:
            st = e.stat(follow_symlinks=False)
            r = rel + "/" + e.name if rel else e.name
            kind = "l" if e.is_symlink() else "d" if e.is_dir(follow_symlinks=False) else "f"
            size = st.st_size if kind != "d" else 0
            try:
                created = int.from_bytes(os.getxattr(e.path, "system.ntfs_crtime", follow_symlinks=False), "little")
            except OSError:
                created = 0
            print(f"{r}\t{kind}\t{size}\t{st.st_ino}\t{st.st_mtime_ns}\t{created}")
            if kind == "d":
                walk(e.path, r)
walk(root, "")
PY
/usr/bin/python3 - "$mnt" >"$dir/expected-wine.txt" <<'PY'
import os, sys
root = sys.argv[1]
def walk(path, rel):
    with os.scandir(path) as it:
        for e in it:
            try:
                st = e.stat()
            except OSError:
                continue
            r = rel + "/" + e.name if rel else e.name
            kind = "d" if e.is_dir() else "f"
            print(f"{r}\t{kind}\t{st.st_size if kind == 'f' else 0}\t{st.st_ino}\t{st.st_mtime_ns}\t0")
            if kind == "d" and not e.is_symlink():
                walk(e.path, r)
walk(root, "")
PY
umount "$mnt"
trap - EXIT
