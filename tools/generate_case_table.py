#!/usr/bin/env python3
"""Generate text/case_table.cpp, the uppercase table used for case-insensitive
string comparison, from the Unicode Character Database.

The table covers U+0041..U+33D4, U+A640..U+AA4A and U+FB00..U+FFDB and holds
the casing of Unicode 5.1. For each covered code point assigned in 5.1 or
earlier, the entry is its simple uppercase mapping when it has one; otherwise
the code point itself when it is a cased letter (category Lu or Lt, or it has
a simple lowercase mapping); otherwise 0 (no uppercase form). Code points
assigned later, or not at all, have no entry.

The installed database is newer than 5.1, so mappings are read as they stood
then: a mapping to a code point assigned after 5.1 did not exist yet (the
Georgian small letters, for example, gained capitals only in 11.0), and a
letter whose only case partner came after 5.1 was not a cased letter then
(Cherokee, a caseless script until 8.0).

Overrides on top of that:
  - U+00B5 MICRO SIGN and U+00DF SHARP S have no uppercase form;
  - the two-letter digraphs (DZ with caron, LJ, NJ, DZ) fold their small
    form to the titlecase form, and the capital and titlecase forms map to
    themselves;
  - U+0345 COMBINING GREEK YPOGEGRAMMENI has no uppercase form: it is a
    combining mark, not a letter, and its uppercase U+0399 is only a
    case-folding artefact of the iota subscript, so no real word compares
    differently without it.

Reads /usr/share/unicode/UnicodeData.txt and DerivedAge.txt (Debian package
unicode-data). Prints how many code points fold to a different code point in
each of the spans U+0061..U+2D25, U+A641..U+A78C and U+FF41..U+FF5A, and exits
non-zero unless those counts are 879, 80 and 26. Usage:
tools/generate_case_table.py [output, default text/case_table.cpp]
"""

import os
import sys

UNICODE_DATA = "/usr/share/unicode/UnicodeData.txt"
DERIVED_AGE = "/usr/share/unicode/DerivedAge.txt"

LAST_AGE = (5, 1)

# (first, last, array name) of each dense table.
RANGES = [
    (0x0041, 0x33D4, "kUpperFrom0041"),
    (0xA640, 0xAA4A, "kUpperFromA640"),
    (0xFB00, 0xFFDB, "kUpperFromFB00"),
]

OVERRIDES = {
    0x00B5: 0,       # MICRO SIGN
    0x00DF: 0,       # LATIN SMALL LETTER SHARP S
    0x01C4: 0x01C4,  # DZ WITH CARON: capital
    0x01C5: 0x01C5,  #   titlecase
    0x01C6: 0x01C5,  #   small -> titlecase
    0x01C8: 0x01C8,  # LJ: titlecase
    0x01C9: 0x01C8,  #   small -> titlecase
    0x01CB: 0x01CB,  # NJ: titlecase
    0x01CC: 0x01CB,  #   small -> titlecase
    0x01F2: 0x01F2,  # DZ: titlecase
    0x01F3: 0x01F2,  #   small -> titlecase
    0x0345: 0,       # COMBINING GREEK YPOGEGRAMMENI
}

# Spans that hold every code point folding to a different one, and how many
# each must hold.
FOLD_SPANS = [
    (0x0061, 0x2D25, 879),
    (0xA641, 0xA78C, 80),
    (0xFF41, 0xFF5A, 26),
]

VALUES_PER_LINE = 12


def read_unicode_data(path):
    """Map each assigned code point to its UnicodeData fields."""
    records = {}
    range_start = None
    with open(path, encoding="utf-8") as data:
        for line in data:
            fields = line.rstrip("\n").split(";")
            if len(fields) != 15:
                continue
            code_point = int(fields[0], 16)
            name = fields[1]
            if name.endswith(", First>"):
                range_start = code_point
                continue
            if name.endswith(", Last>"):
                for each in range(range_start, code_point + 1):
                    records[each] = fields
                range_start = None
                continue
            records[code_point] = fields
    return records


def read_ages(path):
    """Map each assigned code point to the (major, minor) version adding it."""
    ages = {}
    with open(path, encoding="utf-8") as data:
        for line in data:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            points, age = (part.strip() for part in line.split(";"))
            first, _, last = points.partition("..")
            age = tuple(int(part) for part in age.split("."))
            for code_point in range(int(first, 16), int(last or first, 16) + 1):
                ages[code_point] = age
    return ages


def build_table(records, ages):
    def known(code_point):
        return code_point in records and ages.get(code_point, (99, 0)) <= LAST_AGE

    def mapping(fields, index):
        """A case mapping field as it stood in 5.1: None when absent, 0 when
        it names a code point assigned later, else the code point."""
        if not fields[index]:
            return None
        target = int(fields[index], 16)
        return target if known(target) else 0

    table = {}
    for first, last, _ in RANGES:
        for code_point in range(first, last + 1):
            if not known(code_point):
                table[code_point] = 0
                continue
            fields = records[code_point]
            upper = mapping(fields, 12)
            lower = mapping(fields, 13)
            category = fields[2]
            cased = category == "Lt" or bool(lower) or (category == "Lu" and lower is None)
            if upper:
                table[code_point] = upper
            elif cased:
                table[code_point] = code_point
            else:
                table[code_point] = 0
    return table


def fold_counts(table):
    counts = [0] * len(FOLD_SPANS)
    outside = []
    for code_point, entry in table.items():
        if entry == 0 or entry == code_point:
            continue
        for index, (first, last, _) in enumerate(FOLD_SPANS):
            if first <= code_point <= last:
                counts[index] += 1
                break
        else:
            outside.append(code_point)
    return counts, outside


def format_source(table):
    out = [
        "// Generated by tools/generate_case_table.py, do not edit.",
        "// Uppercase forms of Unicode 5.1; 0 means none.",
        "",
        '#include "text/case_table.h"',
        "",
    ]
    for first, last, name in RANGES:
        out.append("static const uint16_t %s[0x%04X - 0x%04X + 1] = {" % (name, last, first))
        values = [table[code_point] for code_point in range(first, last + 1)]
        for start in range(0, len(values), VALUES_PER_LINE):
            chunk = values[start:start + VALUES_PER_LINE]
            out.append("    " + " ".join("0x%04X," % value for value in chunk))
        out.append("};")
        out.append("")
    out.append("uint32_t upperCaseOf(uint32_t codePoint)")
    out.append("{")
    for first, last, name in RANGES:
        out.append("    if (codePoint >= 0x%04X && codePoint <= 0x%04X) return %s[codePoint - 0x%04X];"
                   % (first, last, name, first))
    out.append("    return kNoUpperCase;")
    out.append("}")
    out.append("")
    return "\n".join(out)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "text", "case_table.cpp")

    table = build_table(read_unicode_data(UNICODE_DATA), read_ages(DERIVED_AGE))
    plain_counts, _ = fold_counts(table)
    table.update(OVERRIDES)
    counts, outside = fold_counts(table)

    for (first, last, _), plain, final in zip(FOLD_SPANS, plain_counts, counts):
        print("U+%04X..U+%04X: %d fold to another code point (%d before overrides)"
              % (first, last, final, plain))
    if any(value > 0xFFFF for value in table.values()):
        sys.exit("error: an uppercase form lies outside the 16-bit range")
    if outside:
        sys.exit("error: code points outside the spans fold: "
                 + " ".join("U+%04X" % code_point for code_point in sorted(outside)))
    expected = [count for _, _, count in FOLD_SPANS]
    if counts != expected:
        sys.exit("error: expected %s code points to fold, got %s" % (expected, counts))

    with open(output, "w", encoding="ascii", newline="\n") as source:
        source.write(format_source(table))
    print("wrote " + output)


if __name__ == "__main__":
    main()
