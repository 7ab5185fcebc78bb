#!/usr/bin/env python3
"""Zips one folder so that the same files always give the same bytes.

    zip-folder.py <out.zip> <unix time> <parent folder> <folder name>

The zip holds <folder name>/ and everything under it, in byte order of the paths, every entry
dated at <unix time> (UTC; zip dates begin in 1980), folders 0755 and files 0644, deflated at
level 9, with no extra fields. Written to a temporary file and renamed into place.
"""
import os
import sys
import time
import zipfile

EARLIEST_ZIP_DATE = 315532800  # 1980-01-01 00:00:00 UTC


def entries(parent, folder):
    """Yields (archive name, path or None for a folder) in byte order of the archive names."""
    names = []
    for here, dirs, files in os.walk(os.path.join(parent, folder)):
        relative = os.path.relpath(here, parent).replace(os.sep, "/")
        names.append((relative + "/", None))
        names += [(relative + "/" + name, os.path.join(here, name)) for name in files]
    return sorted(names, key=lambda entry: entry[0].encode())


def write_zip(out, date, parent, folder):
    with zipfile.ZipFile(out, "w") as archive:
        for name, path in entries(parent, folder):
            info = zipfile.ZipInfo(name, date)
            info.create_system = 3  # Unix, so that the permissions below are read
            if path is None:
                info.external_attr = (0o40755 << 16) | 0x10  # and the MS-DOS folder flag
                archive.writestr(info, b"")
            else:
                info.external_attr = 0o100644 << 16
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(path, "rb") as source:
                    archive.writestr(info, source.read(), compresslevel=9)


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    out, epoch, parent, folder = sys.argv[1:]
    date = time.gmtime(max(int(epoch), EARLIEST_ZIP_DATE))[:6]
    write_zip(out + ".tmp", date, parent, folder)
    os.replace(out + ".tmp", out)


if __name__ == "__main__":
    main()
