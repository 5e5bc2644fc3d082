#!/usr/bin/env python3
"""Pads a Windows executable to a multiple of 8 bytes and sets its header checksum, as signing it does, so
that a signed file less its signature is byte for byte the unsigned one. Usage: pe_checksum.py FILE"""
import struct
import sys

path = sys.argv[1]
with open(path, 'rb') as f:
    data = bytearray(f.read())
data += bytes(-len(data) % 8)
# The checksum field of the optional header, after the signature and the file header.
field = struct.unpack_from('<I', data, 0x3c)[0] + 4 + 20 + 64
struct.pack_into('<I', data, field, 0)
# The 16-bit one's complement sum of the file, the checksum field counted as zero, plus its length.
total = 0
for (word,) in struct.iter_unpack('<H', data):
    total += word
    total = (total & 0xffff) + (total >> 16)
struct.pack_into('<I', data, field, (total + len(data)) & 0xffffffff)
with open(path, 'wb') as f:
    f.write(data)
