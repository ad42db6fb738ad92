#!/usr/bin/env python3
"""Writes the practice data disk: a folder with the identity file TID and a client
file DATA401.KCS holding a handful of fictional clients.

Every person here is invented. The clients are chosen so that a supervisor can try
each kind of report: an open client who admits little, heavy drinking with arrests,
a test made invalid by answering True throughout section 1, a test with too many
items left out, a client whose name has been deleted, and Spanish names whose
accented letters are stored as single Windows-1252 bytes.

Usage: make_practice_disk.py OUTPUT_FOLDER   (the repository keeps data/practice-disk)
"""

import os
import random
import sys

RECORD_LENGTH = 235
FIELDS = [  # name, width
    ("Name", 25), ("Age", 3), ("Sex", 1), ("Race", 1), ("Marital", 1), ("Education", 2),
    ("DateOfBirth", 10), ("TestDate", 10),
    ("AgeAtFirstArrest", 2), ("FelonyArrests", 2), ("TimesOnProbation", 2),
    ("ProbationRevocations", 2), ("Parole", 2), ("TimesArrested", 2), ("TimesJail", 2),
    ("TimesPrison", 2), ("AlcoholArrests", 2), ("DrugArrests", 2),
    ("PercentageTimeEmployed", 2), ("Answers", 158), ("EditCount", 1), ("NameDeleted", 1),
]
COURT = [f for f, _ in FIELDS[8:19]]

TRUTH_ADMITTED = [8, 20, 37, 48, 75, 86, 97]       # ordinary faults, admitted with True
ALCOHOL = [3, 9, 15, 21, 26, 33, 38, 43, 49, 55, 67, 76, 81, 87, 93]
DRUGS = [4, 10, 16, 22, 27, 34, 39, 44, 50, 56, 63, 70, 77, 82, 88, 94, 98]
RESIST = [5, 11, 17, 23, 28, 35, 40, 45, 51, 57, 64, 71, 78, 83, 89, 95]
VIOLENCE = [6, 12, 18, 24, 29, 36, 41, 46, 52, 58, 60, 72, 79, 84, 90]
SUBSTANCE = [7, 32, 53, 59, 62, 66, 68, 85, 96]
STRESS_A = [100, 101, 103, 107, 108, 109, 112, 116, 118, 120, 121, 123, 124, 127, 129]
STRESS_B = [102, 104, 105, 106, 110, 111, 113, 114, 115, 117, 119, 122, 125, 126, 128]


def scramble(name):
    """The name-deletion scramble: every non-blank character code +7 when even, +3 when odd."""
    return "".join(c if c == " " else chr(ord(c) + (7 if ord(c) % 2 == 0 else 3)) for c in name)


def answers(true_items=(), stress=(2, 3), rated=None, section3=None, blank=(), false_items=()):
    """Builds an answer string: section 1 False unless listed, stress group A/B codes,
    other rated items 130-135 and section 3 answers as given (default: the denying
    choice 1 for ratings, 4 for multiple choice), then the listed items left blank."""
    a = [0] * 159
    for i in range(1, 100):
        a[i] = 2
    for i in true_items:
        a[i] = 1
    for i in false_items:
        a[i] = 2
    for i in STRESS_A:
        a[i] = stress[0]
    for i in STRESS_B:
        a[i] = stress[1]
    for i in range(130, 136):
        a[i] = (rated or {}).get(i, 1)
    for i in range(136, 159):
        a[i] = (section3 or {}).get(i, 4)
    for i in blank:
        a[i] = 0
    return "".join(str(a[i]) for i in range(1, 159))


def record(**values):
    out = b""
    for field, width in FIELDS:
        text = str(values.get(field, ""))
        data = text.encode("cp1252")
        if len(data) > width:
            raise ValueError("%s too long: %r" % (field, text))
        out += data.ljust(width, b" ")
    assert len(out) == RECORD_LENGTH
    return out


def court(*values):
    return dict(zip(COURT, values))


def clients():
    rng = random.Random(401)
    mixed = [i for i in range(1, 100) if rng.random() < 0.25]
    yield record(Name="Kevin Marsh", Age="34", Sex="1", Race="1", Marital="2", Education="14",
                 DateOfBirth="02/11/1991", TestDate="03/03/2025",
                 **court("N", "0", "0", "0", "0", "0", "0", "0", "0", "0", "12"),
                 Answers=answers(TRUTH_ADMITTED + [1, 13, 19, 30, 47, 65, 73, 91, 99], stress=(1, 4)),
                 EditCount="0", NameDeleted="0")
    yield record(Name="María Elena Núñez", Age="46", Sex="2", Race="3", Marital="2", Education="10",
                 DateOfBirth="03/14/1979", TestDate="03/04/2025",
                 **court("19", "0", "1", "0", "N", "1", "0", "0", "1", "0", "8"),
                 Answers=answers(TRUTH_ADMITTED + [1, 3, 19, 43, 47, 65, 91, 99], stress=(2, 3),
                                 rated={130: 2}, section3={149: 3, 152: 1, 153: 4, 147: 4}),
                 EditCount="1", NameDeleted="0")
    yield record(Name="Daniel Okafor", Age="39", Sex="1", Race="2", Marital="3", Education="12",
                 DateOfBirth="07/30/1985", TestDate="03/04/2025",
                 **court("17", "2", "2", "1", "0", "4", "2", "0", "3", "0", "4"),
                 Answers=answers(TRUTH_ADMITTED + ALCOHOL + SUBSTANCE + [12, 36, 74, 99], stress=(3, 2),
                                 rated={130: 4, 133: 2},
                                 section3={136: 2, 137: 1, 138: 2, 139: 2, 140: 2, 141: 1, 142: 2,
                                           143: 2, 144: 1, 145: 1, 146: 2, 147: 2, 148: 2, 149: 2,
                                           151: 1, 152: 1}),
                 EditCount="0", NameDeleted="0")
    # Invalid test: True to 96 of the 99 section 1 statements.
    yield record(Name="Terrence Hale", Age="22", Sex="1", Race="1", Marital="1", Education="9",
                 DateOfBirth="11/02/2002", TestDate="03/05/2025",
                 **court("16", "1", "1", "N", "N", "3", "1", "0", "0", "1", "N"),
                 Answers=answers(range(1, 100), false_items=(19, 65, 99), stress=(3, 2)),
                 EditCount="0", NameDeleted="0")
    # Omissions: six Violence items and three Stress items left blank.
    yield record(Name="Janet Pruitt", Age="51", Sex="2", Race="1", Marital="4", Education="16",
                 DateOfBirth="N", TestDate="03/05/2025",
                 **court("N", "N", "1", "0", "N", "1", "N", "N", "0", "1", "6"),
                 Answers=answers(TRUTH_ADMITTED + [4, 16, 44, 63, 70, 77, 91], stress=(3, 2),
                                 rated={131: 2}, section3={152: 2, 153: 3, 158: 3},
                                 blank=(6, 12, 18, 24, 29, 36, 104, 117, 121)),
                 EditCount="0", NameDeleted="0")
    yield record(Name="José Ramón Peña", Age="N", Sex="1", Race="3", Marital="1", Education="N",
                 DateOfBirth="N", TestDate="03/06/2025",
                 **court("14", "4", "3", "2", "1", "8", "5", "1", "0", "2", "0"),
                 Answers=answers([i for i in mixed if i not in (19, 65, 99)] + RESIST + VIOLENCE[:10]
                                 + [4, 22, 39, 63, 70, 48, 86],
                                 stress=(3, 2), rated={131: 2, 132: 4, 133: 3, 134: 3, 135: 3},
                                 section3={150: 2, 155: 2, 156: 1, 157: 2, 152: 3, 149: 4, 153: 3,
                                           158: 2}),
                 EditCount="2", NameDeleted="0")
    # Name deleted after testing was finished: stored scrambled, flag "1".
    yield record(Name=scramble("Robert Lindqvist"), Age="28", Sex="1", Race="1", Marital="5",
                 Education="11", DateOfBirth="09/09/1996", TestDate="02/26/2025",
                 **court("18", "1", "1", "0", "0", "2", "1", "0", "0", "2", "3"),
                 Answers=answers(TRUTH_ADMITTED + DRUGS[:9] + [7, 32, 96], stress=(2, 2),
                                 rated={131: 3}, section3={152: 2, 153: 2, 154: 2, 158: 1, 144: 2,
                                                           145: 2, 146: 3}),
                 EditCount="0", NameDeleted="1")


def main(argv):
    if len(argv) != 2:
        print("usage: make_practice_disk.py OUTPUT_FOLDER")
        return 2
    os.makedirs(argv[1], exist_ok=True)
    with open(os.path.join(argv[1], "TID"), "wb") as f:
        f.write(b"KCS\r\nb\r\n")
    with open(os.path.join(argv[1], "DATA401.KCS"), "wb") as f:
        for rec in clients():
            f.write(rec)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
