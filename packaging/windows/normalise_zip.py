#!/usr/bin/env python3
"""Writes a zip archive again so that it records only what it holds: its entries in name order, each with
SOURCE_DATE_EPOCH's time and a plain mode, and no owner (CPack's zip keeps the packager's user and group).
Usage: normalise_zip.py ZIP"""
import os
import stat
import sys
import time
import zipfile


def mode_of(info):
    if info.is_dir():
        return stat.S_IFDIR | 0o755
    executable = (info.external_attr >> 16) & 0o111
    return stat.S_IFREG | (0o755 if executable else 0o644)


def main(path):
    # Zip's times begin in 1980.
    stamp = max(time.gmtime(int(os.environ['SOURCE_DATE_EPOCH']))[:6], (1980, 1, 1, 0, 0, 0))
    with zipfile.ZipFile(path) as source:
        entries = [(info, source.read(info)) for info in source.infolist()]
    entries.sort(key=lambda entry: entry[0].filename)
    with zipfile.ZipFile(path + '.new', 'w', zipfile.ZIP_DEFLATED, compresslevel=9) as target:
        for info, data in entries:
            normal = zipfile.ZipInfo(info.filename, stamp)
            normal.create_system = 3  # Unix, so that the mode is read
            normal.external_attr = mode_of(info) << 16
            normal.compress_type = zipfile.ZIP_STORED if info.is_dir() else zipfile.ZIP_DEFLATED
            target.writestr(normal, data)
    os.replace(path + '.new', path)


if __name__ == '__main__':
    main(sys.argv[1])
