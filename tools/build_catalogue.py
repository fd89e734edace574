#!/usr/bin/env python3
"""Regenerates data/palette.txt and data/accord.txt from the public floss charts.

Usage: tools/build_catalogue.py [CHARTS_DIR] [DATA_DIR]

CHARTS_DIR defaults to ../shared/floss-sources beside the repository and holds one
folder per chart, each with its SOURCE.txt. The charts themselves never enter the
repository; only the two generated tables do. The tool prints a summary of the
counts reached per block so data/README.md can be kept in step.

Both tables are written with CR LF line ends. The loader splits lines at CR LF
only, so the one correspondence entry that keeps a line feed after its number
carries that line feed as part of its last field.
"""

import csv
import json
import re
import sys
from pathlib import Path

# Values and lines that the program's sample lines and worked conversions fix.
# They win over the charts wherever the two disagree; every entry says which
# sample or example fixes it.
STATED = {
    # Palette colours: (brand, number) -> (code, name or None to keep the chart's).
    "palette": {
        # The sample palette line quoted for the table format.
        ("anchor", "1"): ("#FFFFFF", "White Bright"),
        # The nearest search from dmc 310 ("#000000") finds anchor 403 at distance 0.
        ("anchor", "403"): ("#000000", None),
        # The nearest search from dmc B5200 finds anchor 2 at distance 0.
        ("anchor", "2"): ("#FAFAFA", None),
        # The colour-code lookup of dmc B5200 yields "#fafafa"; the nearest search
        # from anchor 1 meets dmc White "#FAFAFA"; dmc 310 is "#000000".
        ("dmc", "B5200"): ("#fafafa", None),
        ("dmc", "White"): ("#FAFAFA", None),
        ("dmc", "310"): ("#000000", None),
        # The first of the two dmc 602 lines has "#E64281".
        ("dmc", "602"): ("#E64281", None),
        # The sample metallic line "dmc:5270:A21B22:metalic red".
        ("dmc", "5270"): ("A21B22", "metalic red"),
        # The nearest search from dmc 310 meets gamma 420 at distance 0 and from
        # anchor 1 ("#FFFFFF") gamma 415 at distance 0.
        ("gamma", "0420"): ("#000000", None),
        ("gamma", "0415"): ("#FFFFFF", None),
        # A worked nearest search names madeira 1009 as "#000037"; the one from
        # anchor 1 finds madeira 2401 at distance 0, so it is white.
        ("madeira", "1009"): ("#000037", None),
        ("madeira", "2401"): ("#FFFFFF", None),
        # The sample palette line "kirov:0101:#FFFFFF:" and the nearest search from
        # dmc 310, which gives kirov 7214 as "#1D1C1E".
        ("kirov", "0101"): ("#FFFFFF", None),
        ("kirov", "7214"): ("#1D1C1E", None),
    },
    # dmc numbers that stand on two consecutive palette lines with the same colour;
    # True where the second line writes the hex digits in lower case.
    "dmc_doubled": {"602": True, "741": True, "3831": False},
    # The first kirov palette numbers, in this order; the rest follow ascending.
    "kirov_first": ["0101", "0104", "0102", "0103"],
    # The dmc-to-anchor block begins with these three lines.
    "anchor_first": [("b5200", "1"), ("blank", "2"), ("ecru", "926")],
    # Pairs the worked conversions state: dmc 154 pairs with anchor 72, anchor 926
    # with dmc ecru, 712 and 3866 only, anchor 1207 with dmc 48 and 99.
    "anchor_pairs": {"154": ["72"], "3866": ["926"], "48": ["1207"], "99": ["1207"]},
    # Only these dmc numbers may pair with anchor 926.
    "anchor_only": {"926": {"ecru", "712", "3866"}},
    # The entry of dmc 517 ends in a line feed and is followed by two empty lines.
    "anchor_line_feed": {"517"},
    # The dmc-to-gamma block begins "dmc:Blanc:gamma:415", "dmc:Ecru:gamma:1"; dmc
    # 154 has gamma 3237 and 0909 and dmc 702 gamma 319 and 210, in that order.
    "gamma_pairs": {"Blanc": ["415"], "Ecru": ["1"], "154": ["3237", "0909"], "702": ["0319", "0210"]},
    # Gamma numbers below 1000 that the correspondence table writes short.
    "gamma_short": {"415", "1", "956"},
    # The madeira block includes "madeira:2401:dmc:B5200", "madeira:2402:dmc:Blanc",
    # "madeira:2404:dmc:Ecrut"; dmc 310 pairs with madeira 2400; dmc 154 has no
    # madeira partner.
    "madeira_pairs": {"B5200": "2401", "Blanc": "2402", "Ecrut": "2404", "310": "2400"},
    "madeira_none": {"154"},
    # The dmc-to-kirov block begins "dmc:B5200:kirov:0101"; its 44th line is
    # "*dmc:434:kirov:3908"; dmc Ecru pairs with kirov 0102.
    "kirov_first_line": ("B5200", "0101"),
    "kirov_starred": (44, "*dmc", "434", "3908"),
}

# Letter numbers of dmc as each correspondence block spells them.
ANCHOR_BLOCK_LETTERS = {"B5200": "b5200", "Blanc/White": "blank", "Ecru": "ecru"}
GAMMA_KIROV_LETTERS = {"blanc": "Blanc", "Ecru": "Ecru", "B5200": "B5200"}
MADEIRA_WORDS = {"Black": "310", "Ecru": "Ecrut"}


def read_kxstitch(charts, brand):
    text = (charts / "kxstitch" / f"{brand}.xml").read_text(encoding="utf-8")
    pattern = re.compile(
        r"<name>(.*?)</name><description>(.*?)</description><color><red>(\d+)</red>"
        r"<green>(\d+)</green><blue>(\d+)</blue>")
    return [(n, d, "#%02X%02X%02X" % (int(r), int(g), int(b))) for n, d, r, g, b in pattern.findall(text)]


def read_raven(charts):
    rows, current = [], None
    for line in (charts / "raven-wills-thread-converter" / "thread_colors.yml").read_text().splitlines():
        start = re.match(r"\s*- dmc: (.*)", line)
        if start:
            current = {"dmc": start.group(1).strip().strip("'")}
            rows.append(current)
            continue
        field = re.match(r"\s+(\w+): (.*)", line)
        if field and current is not None:
            value = field.group(2).strip().strip("'")
            current[field.group(1)] = None if value == "null" else value
    return rows


def read_piekharievak(charts):
    return json.loads((charts / "piekharievak-floss" / "flosses.json").read_text(encoding="utf-8"))


def split_values(value):
    if not value or value == "-":
        return []
    return [v.strip() for v in value.split(",") if v.strip()]


def dmc_hex_charts(charts):
    """The widely circulated DMC hex values: k7bart first, then talitahalboth's list."""
    k7bart, talita = {}, {}
    with open(charts / "k7bart-floss-calculator" / "dmc_dimensions_hex.csv", encoding="utf-8") as f:
        for row in csv.DictReader(f):
            number = {"white": "White", "ecru": "Ecru"}.get(row["dmc"], row["dmc"])
            k7bart.setdefault(number, row["hex"])
    name = "Anchor - DMC - Circulo - anchor-dmc4 com cor.csv"
    with open(charts / "talitahalboth-bordados" / name, encoding="utf-8") as f:
        for row in csv.reader(f):
            if len(row) >= 4 and row[3].startswith("#"):
                talita.setdefault(row[1], (row[3], row[2].replace("00000000 ", "")))
    return k7bart, talita


def pad4(number):
    return number.zfill(4)


def build_dmc_palette(charts, counts):
    k7bart, talita = dmc_hex_charts(charts)
    chart = read_kxstitch(charts, "dmc")
    entries = []
    for number, name, code in chart:
        number = "White" if number == "Blanc" else number
        source = "kxstitch"
        if number in k7bart:
            code, source = k7bart[number], "k7bart"
        elif number in talita:
            code, source = talita[number][0], "talitahalboth"
        entries.append([number, code, name.lower() + "   ", source])
    known = {e[0] for e in entries}
    for number, (code, name) in talita.items():
        if number.isdigit() and number not in known:
            entries.append([number, code, name.lower() + "   ", "talitahalboth"])
    letters = [e for n in ("B5200", "Ecru", "White") for e in entries if e[0] == n]
    # The charts' newest series 01 to 35 lies below the block's first number, 48,
    # and is left out with it.
    digits = sorted((e for e in entries if e[0].isdigit() and int(e[0]) >= 48), key=lambda e: int(e[0]))
    entries = letters + digits + [["5270", "", "", "stated"]]
    apply_stated("dmc", entries)
    doubled = []
    for e in entries:
        doubled.append(e)
        if e[0] in STATED["dmc_doubled"]:
            code = e[1].lower() if STATED["dmc_doubled"][e[0]] else e[1]
            doubled.append([e[0], code, e[2], "stated"])
    counts["dmc"] = doubled
    return [(e[0], e[1], e[2]) for e in doubled]


def apply_stated(brand, entries):
    for (b, number), (code, name) in STATED["palette"].items():
        if b != brand:
            continue
        for e in entries:
            if e[0] == number:
                e[1] = code
                e[2] = e[2] if name is None else name
                e[3] = "stated"
                break
        else:
            raise SystemExit(f"stated {brand} {number} has no place in its block")


def build_anchor_palette(charts, counts):
    entries = [[n, c, d, "kxstitch"] for n, d, c in read_kxstitch(charts, "anchor")]
    apply_stated("anchor", entries)
    counts["anchor"] = entries
    return [(e[0], e[1], e[2]) for e in entries]


def build_madeira_palette(charts, counts):
    chart = read_kxstitch(charts, "madeira")
    entries = [[pad4(n), c, "", "kxstitch"] for n, d, c in chart if n.isdigit()]
    # The chart names Black and Ecru instead of numbering them; their dmc
    # partners 310 and Ecru tie them to the numbers 2400 and 2404.
    for name, _, code in chart:
        number = STATED["madeira_pairs"].get(MADEIRA_WORDS.get(name))
        if number and number not in {e[0] for e in entries}:
            entries.append([number, code, "", "kxstitch"])
    for (b, number), _ in STATED["palette"].items():
        if b == "madeira" and number not in {e[0] for e in entries}:
            entries.append([number, "", "", "stated"])
    entries.sort(key=lambda e: int(e[0]))
    apply_stated("madeira", entries)
    counts["madeira"] = entries
    return [(e[0], e[1], e[2]) for e in entries]


def anchor_block(charts):
    """dmc-to-anchor pairs: raven-wills, where it has none piekharievak, then the stated pairs."""
    pie = {p["dmcNumber"]: p for p in read_piekharievak(charts)}
    partners = {}
    for row in read_raven(charts):
        dmc = row["dmc"]
        if "/" in dmc and dmc not in ANCHOR_BLOCK_LETTERS:
            continue
        anchors = [row["anchor"]] if row.get("anchor") else []
        if not anchors and dmc in pie:
            anchors = split_values(pie[dmc]["labels"].get("Anchor"))
        partners[ANCHOR_BLOCK_LETTERS.get(dmc, dmc)] = anchors
    for dmc, anchor in STATED["anchor_first"]:
        partners[dmc] = [anchor]
    partners.update(STATED["anchor_pairs"])
    letters = [dmc for dmc, _ in STATED["anchor_first"]]
    order = letters + sorted((d for d in partners if d.isdigit()), key=int)
    lines = []
    for dmc in order:
        for anchor in partners[dmc]:
            anchor = anchor.lstrip("0")
            allowed = STATED["anchor_only"].get(anchor)
            if not anchor.isdigit() or (allowed is not None and dmc not in allowed):
                continue
            lines.append(f"dmc:{dmc}:anchor:{anchor}")
            if dmc in STATED["anchor_line_feed"]:
                lines[-1] += "\n"
                lines += ["", ""]
    return lines


def gamma_block(charts):
    lines = []
    for p in read_piekharievak(charts):
        dmc = GAMMA_KIROV_LETTERS.get(p["dmcNumber"], p["dmcNumber"])
        if dmc == "B5200":
            continue
        gammas = STATED["gamma_pairs"].get(dmc) or split_values(p["labels"].get("Gamma"))
        for gamma in gammas:
            short = gamma.lstrip("0")
            lines.append(f"dmc:{dmc}:gamma:{short if short in STATED['gamma_short'] else pad4(short)}")
    return lines


def madeira_block(charts):
    pairs = []
    for row in read_raven(charts):
        dmc, madeira = row["dmc"], row.get("madeira")
        if dmc == "Blanc/White":
            dmc = "Blanc"
        dmc = MADEIRA_WORDS.get(madeira, dmc) if madeira in MADEIRA_WORDS else dmc
        if dmc in STATED["madeira_pairs"]:
            madeira = STATED["madeira_pairs"][dmc]
        if not madeira or not madeira.isdigit() or dmc in STATED["madeira_none"] or "/" in dmc:
            continue
        pairs.append((int(madeira), madeira.lstrip("0"), dmc))
    present = {p[2] for p in pairs}
    for dmc, madeira in STATED["madeira_pairs"].items():
        if dmc not in present:
            pairs.append((int(madeira), madeira, dmc))
    pairs.sort(key=lambda p: p[0])
    return [f"madeira:{m}:dmc:{d}" for _, m, d in pairs]


def kirov_block(charts):
    first_dmc, first_kirov = STATED["kirov_first_line"]
    lines = [f"dmc:{first_dmc}:kirov:{first_kirov}"]
    position, brand, star_dmc, star_kirov = STATED["kirov_starred"]
    for p in read_piekharievak(charts):
        dmc = GAMMA_KIROV_LETTERS.get(p["dmcNumber"], p["dmcNumber"])
        for kirov in split_values(p["labels"].get("Kirova")):
            kirov = pad4(kirov)
            if kirov == first_kirov or (dmc, kirov) == (star_dmc, star_kirov):
                continue
            lines.append(f"dmc:{dmc}:kirov:{kirov}")
    lines.insert(position - 1, f"{brand}:{star_dmc}:kirov:{star_kirov}")
    return lines


def first_dmc_partner_codes(accord, brand, dmc_codes):
    """The palette code of each number's first dmc partner that has a colour."""
    codes = {}
    for line in accord:
        fields = line.split(":")
        if len(fields) != 4 or fields[0] != "dmc" or fields[2] != brand:
            continue
        number = pad4(fields[3].strip())
        code = dmc_codes.get(fields[1].lstrip("0"))
        if code is not None and number not in codes:
            codes[number] = code
        codes.setdefault(number, None)
    return codes


def build_partner_palette(brand, accord, dmc_palette, counts, first=(), upper=False):
    # Gamma codes are written in lower case and kirov codes in upper case, as the
    # rest of each block.
    dmc_codes = {}
    for number, code, _ in dmc_palette:
        dmc_codes.setdefault(number.lstrip("0"), code)
    codes = first_dmc_partner_codes(accord, brand, dmc_codes)
    for (b, number), (code, _) in STATED["palette"].items():
        if b == brand:
            codes[number] = code
    numbers = [n for n in first if n in codes] + sorted((n for n in codes if n not in first), key=int)
    entries = []
    for number in numbers:
        if codes[number] is None:
            continue
        stated = (brand, number) in STATED["palette"]
        code = codes[number] if stated else (codes[number].upper() if upper else codes[number].lower())
        entries.append([number, code, "", "stated" if stated else "dmc partner"])
    counts[brand] = entries
    return [(e[0], e[1], e[2]) for e in entries]


def write_lines(path, lines):
    path.write_bytes("".join(line + "\r\n" for line in lines).encode("ascii"))


def main():
    repo = Path(__file__).resolve().parent.parent
    charts = Path(sys.argv[1]) if len(sys.argv) > 1 else repo.parent / "shared" / "floss-sources"
    data = Path(sys.argv[2]) if len(sys.argv) > 2 else repo / "data"
    counts = {}
    blocks = [anchor_block(charts), gamma_block(charts), madeira_block(charts), kirov_block(charts)]
    accord = [line for block in blocks for line in block]
    dmc = build_dmc_palette(charts, counts)
    palette = build_anchor_palette(charts, counts) + dmc
    palette += build_partner_palette("gamma", blocks[1], dmc, counts)
    palette += build_madeira_palette(charts, counts)
    palette += build_partner_palette("kirov", blocks[3], dmc, counts, STATED["kirov_first"], upper=True)
    write_lines(data / "palette.txt", [f"{b}:{n}:{c}:{m}" for b, n, c, m in with_brands(counts)])
    write_lines(data / "accord.txt", accord)
    report(counts, blocks, palette)


def with_brands(counts):
    for brand in ("anchor", "dmc", "gamma", "madeira", "kirov"):
        for number, code, name, _ in counts[brand]:
            yield brand, number, code, name


def report(counts, blocks, palette):
    for brand, entries in counts.items():
        sources = {}
        for e in entries:
            sources[e[3]] = sources.get(e[3], 0) + 1
        lower = sum(1 for e in entries if e[1] != e[1].upper())
        print(f"palette {brand}: {len(entries)} entries, {lower} lower-case codes, sources {sources}")
    for name, block in zip(("dmc-anchor", "dmc-gamma", "madeira-dmc", "dmc-kirov"), blocks):
        empty = sum(1 for line in block if not line)
        print(f"accord {name}: {len(block) - empty} entries, {empty} empty lines")
    print(f"palette lines: {len(palette)}")


if __name__ == "__main__":
    main()
