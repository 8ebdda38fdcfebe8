# Writes the benchmarks' synthetic tree: ALBUMS folders Album00.., each with
# DAYS-1 sub-folders Day01.., every folder holding FILES pictures'
# names IMG_0000.jpg.. of 100 bytes each.
# Usage: python3 album-tree.py ROOT ALBUMS DAYS FILES
import os
import sys

root, albums, days, files = sys.argv[1], *map(int, sys.argv[2:5])
payload = b"x" * 100
for a in range(albums):
    top = os.path.join(root, f"Album{a:02d}")
    for b in range(days):
        folder = top if b == 0 else os.path.join(top, f"Day{b:02d}")
        os.makedirs(folder, exist_ok=True)
        for c in range(files):
            fd = os.open(os.path.join(folder, f"IMG_{c:04d}.jpg"), os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
            os.write(fd, payload)
            os.close(fd)
