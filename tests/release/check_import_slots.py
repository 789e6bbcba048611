#!/usr/bin/env python3
"""Checks that every import slot a program's code calls or reads through holds
something when the code gets there.

A slot of the import directory is filled by the loader. Any other slot of the
import address table is a delay-load slot, which must start out pointing at its
thunk in the code: a slot the linker left zero makes the first call jump to
address 0. That is how the 32-bit program crashed, and nothing but running it
on 32-bit Windows showed it.

Usage: check_import_slots.py PROGRAM OBJDUMP
"""
import re
import struct
import subprocess
import sys

IMPORT_DIRECTORY = 1
IMPORT_ADDRESS_TABLE = 12
EXECUTABLE = 0x20000000


class Image:
    def __init__(self, data):
        self.data = data
        header = struct.unpack_from('<I', data, 0x3C)[0]
        if data[header:header + 4] != b'PE\0\0':
            raise ValueError('not a PE image')
        sections, optional_size = struct.unpack_from('<H12xH', data, header + 6)
        optional = header + 24
        magic = struct.unpack_from('<H', data, optional)[0]
        self.wide = magic == 0x20B
        self.pointer_size = 8 if self.wide else 4
        self.base = (struct.unpack_from('<Q', data, optional + 24)[0] if self.wide
                     else struct.unpack_from('<I', data, optional + 28)[0])
        directories = optional + (112 if self.wide else 96)
        count = struct.unpack_from('<I', data, directories - 4)[0]
        self.directories = [struct.unpack_from('<II', data, directories + 8 * i) for i in range(count)]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            name, virtual_size, address, raw_size, raw_offset = struct.unpack_from('<8sIIII', data, table + 40 * i)
            flags = struct.unpack_from('<I', data, table + 40 * i + 36)[0]
            self.sections.append((name.rstrip(b'\0').decode(), address, max(virtual_size, raw_size),
                                  raw_offset, raw_size, flags))

    def section_of(self, rva):
        for section in self.sections:
            if section[1] <= rva < section[1] + section[2]:
                return section
        return None

    def pointer_at(self, rva):
        section = self.section_of(rva)
        if section is None:
            raise ValueError('address %#x is in no section' % (self.base + rva))
        offset = rva - section[1]
        if offset + self.pointer_size > section[4]:
            return 0  # past the section's file data: zero when loaded
        return struct.unpack_from('<Q' if self.wide else '<I', self.data, section[3] + offset)[0]

    def loader_slots(self):
        """The slots the import directory names, which the loader fills."""
        slots = set()
        descriptor = self.directories[IMPORT_DIRECTORY][0]
        while descriptor:
            names, _, _, dll, first_slot = struct.unpack_from('<IIIII', self.section_bytes(descriptor), 0)
            if not (names or dll or first_slot):
                break
            slot = first_slot
            while self.pointer_at(slot):
                slots.add(slot)
                slot += self.pointer_size
            descriptor += 20
        return slots

    def section_bytes(self, rva):
        section = self.section_of(rva)
        return self.data[section[3] + rva - section[1]:]

    def executable(self, address):
        section = self.section_of(address - self.base)
        return section is not None and bool(section[5] & EXECUTABLE)


# "call *0x5d76cc", "jmp *0x5d76cc", "mov 0x5d76cc,%eax" (i386);
# "call *0x1f2a(%rip)  # 140163f30 <...>" and its kin (x86-64).
ABSOLUTE = re.compile(r'\s(?:call|jmp|mov)\s+\*?0x([0-9a-f]+)(?:,%\w+)?\s*$')
RELATIVE = re.compile(r'\s(?:call|jmp|mov)\s+\*?(?:-?0x[0-9a-f]+)?\(%rip\)(?:,%\w+)?\s+#\s+(?:0x)?([0-9a-f]+)')


def slot_uses(program, objdump):
    listing = subprocess.run([objdump, '-d', '--no-show-raw-insn', program], check=True,
                             capture_output=True, text=True).stdout
    for line in listing.splitlines():
        match = ABSOLUTE.search(line) or RELATIVE.search(line)
        if match:
            yield line.split(':', 1)[0].strip(), int(match.group(1), 16)


def main():
    program, objdump = sys.argv[1:3]
    image = Image(open(program, 'rb').read())
    table, size = image.directories[IMPORT_ADDRESS_TABLE]
    loader = image.loader_slots()
    failures = 0
    used = {}
    for where, address in slot_uses(program, objdump):
        slot = address - image.base
        if table <= slot < table + size:
            used.setdefault(slot, where)
    delayed = 0
    for slot, where in sorted(used.items()):
        if slot in loader:
            continue
        target = image.pointer_at(slot)
        if target and image.executable(target):
            delayed += 1
            continue
        failures += 1
        print('FAIL: the code at %s goes through the import slot %#x, which neither the loader '
              'fills nor points at a thunk (it holds %#x)' % (where, image.base + slot, target))
    print('%s: %d import slots used, %d filled by the loader, %d delay-load slots pointing at their thunks'
          % (program, len(used), len(used) - delayed - failures, delayed))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
