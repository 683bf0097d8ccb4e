#!/usr/bin/env python3
"""Checks what a shipped Windows executable carries, read from its PE file.

Usage:
  pe_check.py FILE --version 2.1.0.0 [--icon NAME] [--manifest-has TEXT]... [--machine i386|amd64]

Fails (exit 1, one line per fault on stderr) unless FILE is a PE executable of
the named machine whose resources hold a version block with that file version,
a manifest (containing each --manifest-has text) and, with --icon, an icon
group of that name. Prints the resource types found.
"""
import argparse
import struct
import sys

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
MACHINES = {'i386': 0x14C, 'amd64': 0x8664}


class PeFile:
    def __init__(self, data):
        self.data = data
        if data[:2] != b'MZ':
            raise ValueError('no MZ header')
        pe = struct.unpack_from('<I', data, 0x3C)[0]
        if data[pe:pe + 4] != b'PE\0\0':
            raise ValueError('no PE signature')
        self.machine, sections, _, _, _, opt_size, _ = struct.unpack_from('<HHIIIHH', data, pe + 4)
        opt = pe + 24
        magic = struct.unpack_from('<H', data, opt)[0]
        directories = opt + (96 if magic == 0x10B else 112)
        self.rsrc_rva, self.rsrc_size = struct.unpack_from('<II', data, directories + 2 * 8)
        self.sections = []
        table = opt + opt_size
        for i in range(sections):
            vsize, va, raw_size, raw_ptr = struct.unpack_from('<IIII', data, table + i * 40 + 8)
            self.sections.append((va, max(vsize, raw_size), raw_ptr))

    def offset(self, rva):
        for va, size, raw in self.sections:
            if va <= rva < va + size:
                return rva - va + raw
        raise ValueError('address 0x%x lies in no section' % rva)

    def resources(self):
        """Yields (type, name, bytes) for every resource; names are ints or strings."""
        if not self.rsrc_rva:
            return
        base = self.offset(self.rsrc_rva)

        def entries(directory):
            named, ids = struct.unpack_from('<HH', self.data, base + directory + 12)
            for i in range(named + ids):
                name, target = struct.unpack_from('<II', self.data, base + directory + 16 + i * 8)
                if name & 0x80000000:
                    at = base + (name & 0x7FFFFFFF)
                    length = struct.unpack_from('<H', self.data, at)[0]
                    name = self.data[at + 2:at + 2 + 2 * length].decode('utf-16-le')
                yield name, target

        for rtype, t in entries(0):
            for rname, n in entries(t & 0x7FFFFFFF):
                for _, leaf in entries(n & 0x7FFFFFFF):
                    rva, size = struct.unpack_from('<II', self.data, base + leaf)
                    at = self.offset(rva)
                    yield rtype, rname, self.data[at:at + size]


def file_version(block):
    """The FILEVERSION of a VS_VERSION_INFO block, as 'a.b.c.d'."""
    at = block.find('VS_VERSION_INFO'.encode('utf-16-le'))
    if at < 0:
        return None
    fixed = (at + 32 + 3) & ~3  # key, its terminating NUL, padding to 32 bits
    signature, _, ms, ls = struct.unpack_from('<IIII', block, fixed)
    if signature != 0xFEEF04BD:
        return None
    return '%d.%d.%d.%d' % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('file')
    parser.add_argument('--version', required=True)
    parser.add_argument('--icon')
    parser.add_argument('--manifest-has', action='append', default=[])
    parser.add_argument('--machine', choices=sorted(MACHINES))
    args = parser.parse_args()

    faults = []
    try:
        with open(args.file, 'rb') as f:
            pe = PeFile(f.read())
        found = list(pe.resources())
    except (OSError, ValueError, struct.error) as e:
        print('%s: not a readable PE file: %s' % (args.file, e), file=sys.stderr)
        return 1

    if args.machine and pe.machine != MACHINES[args.machine]:
        faults.append('machine is 0x%x, not %s' % (pe.machine, args.machine))
    versions = [file_version(d) for t, _, d in found if t == RT_VERSION]
    if not versions:
        faults.append('no version resource')
    elif args.version not in versions:
        faults.append('file version is %s, not %s' % (versions, args.version))
    manifests = [d for t, _, d in found if t == RT_MANIFEST]
    if not manifests:
        faults.append('no manifest')
    for text in args.manifest_has:
        if not any(text.encode() in m for m in manifests):
            faults.append('the manifest lacks "%s"' % text)
    groups = [n for t, n, _ in found if t == RT_GROUP_ICON]
    if not any(t == RT_ICON for t, _, _ in found) or not groups:
        faults.append('no icon')
    elif args.icon and args.icon not in groups:
        faults.append('no icon named %s (icons: %s)' % (args.icon, groups))

    for fault in faults:
        print('%s: %s' % (args.file, fault), file=sys.stderr)
    kinds = sorted({t for t, _, _ in found}, key=lambda t: (isinstance(t, str), str(t).zfill(5)))
    print('%s: resource types %s, file version %s, icons %s' % (
        args.file, kinds, ','.join(v or '?' for v in versions), groups))
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
