#!/usr/bin/env python3
"""Builds KCSB.TXT, the scoring data file of the Kestrel Conduct Screening.

The file holds the answer keys, the scale item lists, the significant and
minimum-score items, the truth-correction table and the percentile norms. The
keys and lists are written out below as the design of the demonstration item set
(data/bank/english.txt). The norms are NOT from real clients: they come from a
seeded simulation of a respondent population, described here so that anyone can
review and rebuild them.

Simulated population (SEED = 4012, POP = 3000 respondents per sex group):
  * Every respondent gets a general problem factor g ~ N(0,1) and five traits
    (alcohol, drugs, resistance, violence, stress), each 0.55*g + 0.835*e with
    its own e ~ N(0,1), so the traits correlate about 0.3 with one another.
  * Sex group 1 (men, and sex not given) is shifted by +0.25 on alcohol, +0.10 on
    drugs and resistance, +0.30 on violence; sex group 2 (women) by +0.20 on stress.
  * An independent denial tendency d ~ N(0,1) makes a respondent less willing to
    admit faults: it lowers every admission by 0.6*d.
  * An item keyed for a trait is admitted (True) with probability
    sigmoid(1.6*(trait - b) - 0.6*d), where the item's threshold b is drawn once
    from U(0.2, 1.8). Items about "drinking or drug use" follow the higher of the
    two substance traits.
  * Truthfulness items are answered the denying way with probability
    sigmoid(1.8*(d - b)), b from U(0.8, 2.0): denying common faults is rare.
  * Rated and multiple-choice items take a latent value 1.3*(trait - b) - 0.5*d
    plus logistic noise and cut it at 0, 1 and 2 into the four answers; stress
    group A (strain) rises and group B (coping) falls with the stress trait.
  * Each answer is left blank with probability 0.004.
Raw scores then follow the program's scoring rules: keyed points, the single-item
corrections of items 152, 19 and 65, the Stress ratio and the truth correction.
Court-history points are left out (the simulation has no court records), and
invalid records (95 or more True answers in items 1-99) are dropped. A percentile
for raw score r is the mid-rank 100*(count below r + half the count at r)/N,
rounded down and capped at 99, so tables never fall as the raw score rises.

Usage:  make_norms.py OUTPUT            write the file
        make_norms.py --check FILE      exit 1 unless FILE is reproduced exactly
"""

import math
import random
import sys

SEED = 4012
POP = 3000
SECTION_BOUNDS = (0, 99, 135, 158)
TABLE_CAPACITY = 77

# ---------------------------------------------------------------- answer keys
# Section 1: points for True (code 1) unless listed under "false".
TRUTH_TRUE = [2, 14, 25, 31, 42, 54, 61, 69, 80, 92]     # denying a common fault
TRUTH_FALSE = [8, 20, 37, 48, 75, 86, 97]                # admitting it is the norm
ALCOHOL_1 = {3: 2, 9: 3, 15: 2, 21: 2, 26: 2, 33: 3, 38: 2, 43: 2, 49: 2, 55: 2,
             67: 2, 76: 2, 81: 3, 87: 2, 93: 2}
DRUGS_1 = {4: 2, 10: 2, 16: 2, 22: 2, 27: 3, 34: 3, 39: 2, 44: 2, 50: 2, 56: 2,
           63: 2, 70: 2, 77: 2, 82: 3, 88: 3, 94: 2, 98: 2}
RESIST_1 = {5: 2, 11: 2, 17: 1, 23: 2, 28: 2, 35: 2, 40: 2, 45: 2, 51: 2, 57: 2,
            64: 2, 71: 2, 78: 2, 83: 2, 89: 2, 95: 2}
RESIST_1_FALSE = {99: 2}                                 # "I am honest with ..." False
VIOLENCE_1 = {6: 2, 12: 2, 18: 2, 24: 2, 29: 2, 36: 2, 41: 3, 46: 2, 52: 3, 58: 2,
              60: 2, 72: 3, 79: 2, 84: 3, 90: 2}
VIOLENCE_1_FALSE = {19: 1, 65: 1}                        # True speaks against violence
SUBSTANCE_1 = {7: 1, 32: 1, 53: 1, 59: 1, 62: 1, 66: 1, 68: 1, 85: 1, 96: 1}

# Sections 2 and 3: points for codes 1..4.
RATED = (0, 1, 2, 3)                                     # Rare .. Very Often
SECTION2 = {130: ("alcohol", RATED), 131: ("drugs", RATED), 132: ("resist", RATED),
            133: ("violence", RATED), 134: ("resist", RATED), 135: ("violence", RATED)}
SECTION3 = {
    140: ("substance", (2, 2, 1, 0)), 141: ("substance", (2, 1, 1, 0)),
    142: ("substance", (3, 2, 1, 0)), 143: ("substance", (3, 2, 1, 0)),
    144: ("substance", (2, 2, 1, 0)), 145: ("substance", (2, 2, 1, 0)),
    146: ("substance", (3, 2, 1, 0)), 147: ("substance", (2, 2, 2, 0)),
    148: ("substance", (2, 2, 1, 0)),
    149: ("alcohol", (3, 2, 1, 0)), 151: ("alcohol", (3, 2, 2, 0)),
    153: ("drugs", (3, 2, 1, 0)), 154: ("drugs", (3, 2, 2, 0)), 158: ("drugs", (3, 2, 1, 0)),
    150: ("violence", (3, 2, 1, 0)), 156: ("violence", (3, 2, 1, 0)),
    155: ("resist", (3, 2, 1, 0)), 157: ("resist", (3, 2, 2, 0)),
}
# Items 136-139 (abuse criteria) and 152 (which substance) are read by the
# classification and the single-item corrections, not by the scales.
ABUSE_3 = (136, 137, 138, 139)

STRESS_A = (100, 101, 103, 107, 108, 109, 112, 116, 118, 120, 121, 123, 124, 127, 129)
STRESS_B = (102, 104, 105, 106, 110, 111, 113, 114, 115, 117, 119, 122, 125, 126, 128)

SCALES = {
    1: TRUTH_TRUE + TRUTH_FALSE,
    2: list(ALCOHOL_1) + list(SUBSTANCE_1) + [130] + list(range(140, 149)) + [149, 151],
    3: list(DRUGS_1) + list(SUBSTANCE_1) + [131] + list(range(140, 149)) + [153, 154, 158],
    4: list(RESIST_1) + list(RESIST_1_FALSE) + [132, 134, 155, 157],
    5: list(VIOLENCE_1) + list(VIOLENCE_1_FALSE) + [133, 135, 150, 156],
}

SIGNIFICANT = [
    [9, 15, 21, 26, 33, 49, 55, 76, 81, 87, 149, 151],                    # Alcohol 12
    [10, 22, 27, 34, 44, 50, 56, 70, 82, 88, 153, 154, 158],              # Drugs 13
    [23, 35, 45, 83, 89, 95, 155, 157],                                   # Resistance 8
    [6, 18, 24, 29, 41, 46, 52, 60, 72, 84, 90, 150, 156],                # Violence 13
]

MINIMUM_SCORE = [
    [3, 9, 15, 21, 26, 33, 38, 43, 49, 55, 67, 76, 81, 87, 93, 151],                  # 16
    [10, 16, 22, 27, 34, 39, 44, 50, 56, 63, 70, 77, 82, 88, 94, 98, 154],            # 17
    [5, 11, 23, 28, 35, 40, 45, 51, 57, 64, 71, 78, 83, 89, 95, 99, 132, 155, 157],   # 19
    [6, 12, 18, 24, 29, 36, 41, 46, 52, 58, 60, 72, 79, 84, 90, 150],                 # 16
]

# Raw points added to Alcohol, Drugs, Resistance, Violence, Stress by Truthfulness
# percentile row (1 = 10-19 ... 8 = 80-89, 9 = 90-94): the more a client denies
# common faults, the more their admissions are likely to understate.
TRUTH_CORRECTION = [
    (0, 0, 0, 0, 0),
    (0, 0, 0, 0, 0),
    (1, 1, 0, 0, 1),
    (1, 1, 1, 1, 2),
    (2, 2, 1, 1, 3),
    (2, 2, 2, 2, 4),
    (3, 3, 2, 2, 6),
    (4, 4, 3, 3, 8),
    (5, 5, 4, 4, 10),
]


def build_keys():
    """key[code][item] = points, codes 0..4, items 1..158 (0 points when absent)."""
    key = {code: {} for code in range(5)}
    for item in TRUTH_TRUE:
        key[1][item] = 1
    for item in TRUTH_FALSE:
        key[2][item] = 1
    for table in (ALCOHOL_1, DRUGS_1, RESIST_1, VIOLENCE_1, SUBSTANCE_1):
        for item, pts in table.items():
            key[1][item] = pts
    for table in (RESIST_1_FALSE, VIOLENCE_1_FALSE):
        for item, pts in table.items():
            key[2][item] = pts
    for table in (SECTION2, SECTION3):
        for item, (_, pts) in table.items():
            for code in range(1, 5):
                key[code][item] = pts[code - 1]
    return key


KEY = build_keys()


def key_strings():
    out = []
    for sec in range(1, 4):
        lo, hi = SECTION_BOUNDS[sec - 1] + 1, SECTION_BOUNDS[sec]
        codes = range(3) if sec == 1 else range(5)
        for code in codes:
            out.append("".join(str(KEY[code].get(i, 0)) for i in range(lo, hi + 1)))
    return out


# ---------------------------------------------------------------- simulation
class Rng:
    """Seeded source built only on random.random(), whose sequence is stable."""

    def __init__(self, seed):
        self.r = random.Random(seed)

    def uniform(self, a, b):
        return a + (b - a) * self.r.random()

    def normal(self):
        u1 = max(self.r.random(), 1e-12)
        u2 = self.r.random()
        return math.sqrt(-2.0 * math.log(u1)) * math.cos(2.0 * math.pi * u2)

    def logistic(self):
        u = min(max(self.r.random(), 1e-12), 1 - 1e-12)
        return math.log(u / (1 - u))

    def chance(self, p):
        return self.r.random() < p


def sigmoid(x):
    return 1.0 / (1.0 + math.exp(-x))


def item_trait():
    """Which simulated trait drives each item's answer."""
    trait = {}
    for item in TRUTH_TRUE + TRUTH_FALSE:
        trait[item] = "truth"
    for table, name in ((ALCOHOL_1, "alcohol"), (DRUGS_1, "drugs"), (RESIST_1, "resist"),
                        (RESIST_1_FALSE, "resist"), (VIOLENCE_1, "violence"),
                        (VIOLENCE_1_FALSE, "violence"), (SUBSTANCE_1, "substance")):
        for item in table:
            trait[item] = name
    trait[74] = "substance"
    for item, (name, _) in list(SECTION2.items()) + list(SECTION3.items()):
        trait[item] = name
    for item in ABUSE_3:
        trait[item] = "substance"
    return trait


TRAIT = item_trait()


def simulate_person(rng, thresholds, group):
    g = rng.normal()
    t = {name: 0.55 * g + 0.835 * rng.normal()
         for name in ("alcohol", "drugs", "resist", "violence", "stress")}
    if group == 1:
        t["alcohol"] += 0.25
        t["drugs"] += 0.10
        t["resist"] += 0.10
        t["violence"] += 0.30
    else:
        t["stress"] += 0.20
    t["substance"] = max(t["alcohol"], t["drugs"])
    d = rng.normal()
    answers = [0] * 159
    for item in range(1, 159):
        b = thresholds[item]
        name = TRAIT.get(item)
        if item <= 99:
            if name == "truth":
                deny = rng.chance(sigmoid(1.8 * (d - b)))
                denial_code = 1 if item in TRUTH_TRUE else 2
                answers[item] = denial_code if deny else 3 - denial_code
            elif name in ("violence", "resist") and item in (19, 65, 99):
                # reversed items: the keyed (False) answer is the admission
                admit = rng.chance(sigmoid(1.6 * (t[name] - b) - 0.6 * d))
                answers[item] = 2 if admit else 1
            elif name is None:
                answers[item] = 1 if rng.chance(0.6) else 2
            else:
                answers[item] = 1 if rng.chance(sigmoid(1.6 * (t[name] - b) - 0.6 * d)) else 2
        elif item in STRESS_A or item in STRESS_B:
            y = 1.5 + t["stress"] + 0.8 * rng.normal()
            level = min(3, max(0, int(round(y))))
            answers[item] = level + 1 if item in STRESS_A else 4 - level
        elif item == 152:
            alc, drg = t["alcohol"] > -0.3, t["drugs"] > 0.2
            answers[item] = 3 if alc and drg else 1 if alc else 2 if drg else 4
        else:
            y = 1.3 * (t[name] - b) - 0.5 * d + rng.logistic()
            level = 0 if y < 0 else 1 if y < 1 else 2 if y < 2 else 3   # 0 = denies
            answers[item] = level + 1 if item <= 135 else 4 - level
    for item in range(1, 159):
        if rng.chance(0.004):
            answers[item] = 0
    return answers


def section_of(item):
    return 1 if item <= 99 else 2 if item <= 135 else 3


def raw_scores(answers):
    """Scores scales 1..6 the way the program does, before the truth correction.
    Returns (raw, scored_count) or None for an invalid record."""
    raw = [0] * 7
    scored = [0] * 7
    for s in range(1, 6):
        for item in SCALES[s]:
            pts = KEY[answers[item]].get(item, 0)
            raw[s] += pts
            if pts > 0:
                scored[s] += 1
    if answers[152] == 1:
        raw[3] -= 2
    if answers[152] == 2:
        raw[2] -= 2
    if answers[19] == 1:
        raw[5] -= 1
    if answers[65] == 1:
        raw[5] -= 1
    scored[6] = 9
    sum_a = sum(answers[i] if answers[i] else 1 for i in STRESS_A)
    sum_b = sum(answers[i] if answers[i] else 4 for i in STRESS_B)
    raw[6] = (sum_a * 60) // sum_b if sum_b else 0
    if sum(1 for i in range(1, 100) if answers[i] == 1) > 94:
        return None
    return raw, scored


def percentile_of(values, r):
    below = sum(1 for v in values if v < r)
    equal = sum(1 for v in values if v == r)
    return min(99, (100 * below + 50 * equal) // len(values))


def truth_row(pct):
    if pct < 10:
        return None
    return min(9, pct // 10)


def build_norms():
    rng = Rng(SEED)
    thresholds = [0.0] * 159
    for item in range(1, 159):
        lo, hi = (0.8, 2.0) if TRAIT.get(item) == "truth" else (0.2, 1.8)
        thresholds[item] = rng.uniform(lo, hi)

    groups = {}
    for group in (1, 2):
        people = []
        while len(people) < POP:
            scored = raw_scores(simulate_person(rng, thresholds, group))
            if scored is not None:
                people.append(scored)
        groups[group] = people

    lengths = {}
    for s in range(1, 6):
        top = sum(max(KEY[c].get(i, 0) for c in range(5)) for i in SCALES[s])
        lengths[s] = min(TABLE_CAPACITY, top + (TRUTH_CORRECTION[8][s - 2] if s > 1 else 0))

    tables = {}
    corrected = {}
    for group, people in groups.items():
        truth = [raw[1] for raw, _ in people]
        tables[(group, 1)] = [percentile_of(truth, r) for r in range(1, lengths[1] + 1)]
        rows = []
        for raw, scored in people:
            r = raw[:]
            t = raw[1]
            pct = 0 if t <= 0 else 99 if t > lengths[1] else tables[(group, 1)][t - 1]
            row = truth_row(pct)
            if row is not None:
                for s in range(2, 7):
                    if scored[s] >= 1:
                        r[s] += TRUTH_CORRECTION[row - 1][s - 2]
            rows.append(r)
        corrected[group] = rows
        for s in range(2, 6):
            values = [r[s] for r in rows]
            tables[(group, s)] = [percentile_of(values, x) for x in range(1, lengths[s] + 1)]

    pooled = sorted(r[6] for g in (1, 2) for r in corrected[g])
    bounds = [0]
    for k in range(1, 50):
        q = pooled[(k * len(pooled)) // 50]
        bounds.append(max(bounds[-1] + 1, q))
    bounds.append(max(bounds[-1] + 1, 999))
    stress = {}
    for group in (1, 2):
        values = [r[6] for r in corrected[group]]
        n = len(values)
        pct = []
        for k in range(50):
            lo, hi = bounds[k], bounds[k + 1]
            at_or_below = sum(1 for v in values if v <= lo)
            inside = sum(1 for v in values if lo < v <= hi)
            pct.append(min(99, (100 * at_or_below + 50 * inside) // n))
        stress[group] = pct
    return tables, lengths, stress, bounds


# ---------------------------------------------------------------- output
def chunks(values, size=20):
    for i in range(0, len(values), size):
        yield values[i:i + size]


def render():
    tables, lengths, stress, bounds = build_norms()
    lines = []

    def ints(values, size=20):
        for part in chunks(list(values), size):
            lines.append(",".join(str(v) for v in part))

    for block in SIGNIFICANT:
        ints(block)
    for k in key_strings():
        lines.append('"%s"' % k)
    for group in (1, 2):
        for s in range(1, 6):
            ints([lengths[s]] + tables[(group, s)])
    for group in (1, 2):
        ints(stress[group], 25)
    ints(bounds, 26)
    for s in range(1, 6):
        ints([len(SCALES[s])] + SCALES[s], 41)
    for block in MINIMUM_SCORE:
        ints(block)
    for row in TRUTH_CORRECTION:
        ints(row)
    return "".join(line + "\r\n" for line in lines).encode("ascii")


def self_check():
    assert [len(b) for b in SIGNIFICANT] == [12, 13, 8, 13]
    assert [len(b) for b in MINIMUM_SCORE] == [16, 17, 19, 16]
    for s in range(1, 6):
        assert len(SCALES[s]) <= 40 and len(set(SCALES[s])) == len(SCALES[s]), s
    for block, s in zip(SIGNIFICANT, (2, 3, 4, 5)):
        for item in block:
            assert item in SCALES[s] and max(KEY[c].get(item, 0) for c in range(1, 5)) >= 2, item
    for block, s in zip(MINIMUM_SCORE, (2, 3, 4, 5)):
        for item in block:
            assert item in SCALES[s] and max(KEY[c].get(item, 0) for c in range(1, 5)) in (2, 3), item


def main(argv):
    self_check()
    if len(argv) == 3 and argv[1] == "--check":
        with open(argv[2], "rb") as f:
            committed = f.read()
        if committed != render():
            print("%s differs from what the norm simulation produces" % argv[2])
            return 1
        print("%s is reproduced exactly" % argv[2])
        return 0
    if len(argv) == 2 and not argv[1].startswith("-"):
        with open(argv[1], "wb") as f:
            f.write(render())
        return 0
    print(__doc__.strip().splitlines()[-2].strip())
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
