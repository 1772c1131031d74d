#!/usr/bin/env python3
"""Writes src/timezones/uZoneTable.cpp: for every zone of the system's catalogue (by its key
name) the IANA names that map to it, the cities it is known by (the CLDR exemplar cities in
English and German, then the hand-kept cities of scripts/zone_cities.txt) and the countries it
serves (in English and German); and the table that folds letters for the zone search.

Run from the repository root: python3 scripts/make_zone_table.py [CLDR folder]
The CLDR folder defaults to /usr/share/unicode/cldr (Debian's unicode-cldr-core package).
The result is committed; building the program does not need the CLDR data.
"""
import os
import re
import sys
import unicodedata
import xml.etree.ElementTree as ET

LANGUAGES = ("en", "de")
OUTPUT = os.path.join("src", "timezones", "uZoneTable.cpp")
CITIES = os.path.join("scripts", "zone_cities.txt")
SEPARATOR = "|"
# The areas whose IANA names end in a city; others (US/Pacific, Brazil/East) name regions.
CITY_AREAS = ("Africa", "America", "Antarctica", "Arctic", "Asia", "Atlantic", "Australia",
              "Europe", "Indian", "Pacific")

# Letters that Unicode does not decompose into a base letter and a mark.
LETTERS_OF_THEIR_OWN = {"ß": "ss", "æ": "ae", "œ": "oe", "ø": "o", "đ": "d", "ł": "l", "þ": "th",
                        "ı": "i", "ħ": "h", "ŀ": "l", "ŧ": "t", "ð": "d", "ĸ": "k", "ŋ": "n"}
# Latin with its marks and extensions, Greek and Cyrillic, and the combining marks themselves.
FOLDED_RANGES = ((0x00C0, 0x024F), (0x0300, 0x036F), (0x0370, 0x03FF), (0x0400, 0x04FF),
                 (0x1E00, 0x1EFF))


def fail(message):
    sys.exit("make_zone_table.py: " + message)


def windows_zones(cldr):
    """Each Windows key name with its IANA names and territories, in the file's order."""
    path = os.path.join(cldr, "common", "supplemental", "windowsZones.xml")
    zones = {}
    for mapping in ET.parse(path).iter("mapZone"):
        zone = zones.setdefault(mapping.get("other"), {"iana": [], "territories": []})
        territory = mapping.get("territory")
        for name in mapping.get("type").split():
            if name not in zone["iana"]:
                zone["iana"].append(name)
        if territory not in ("001", "ZZ") and territory not in zone["territories"]:
            zone["territories"].append(territory)
    return zones


def iana_aliases(cldr):
    """Every IANA name with the other names of the same zone (Asia/Calcutta, Asia/Kolkata)."""
    path = os.path.join(cldr, "common", "bcp47", "timezone.xml")
    aliases = {}
    for entry in ET.parse(path).iter("type"):
        names = (entry.get("alias") or "").split()
        for name in names:
            aliases[name] = names
    return aliases


def locale_names(cldr, language):
    """The exemplar cities by IANA name and the territory names by code of one language."""
    root = ET.parse(os.path.join(cldr, "common", "main", language + ".xml")).getroot()
    cities = {zone.get("type"): zone.findtext("exemplarCity")
              for zone in root.iter("zone") if zone.findtext("exemplarCity")}
    territories = {t.get("type"): t.text for t in root.iter("territory")
                   if t.get("alt") is None and t.text}
    return cities, territories


def hand_kept_cities(known_iana):
    """The cities of zone_cities.txt by IANA name; a name CLDR lacks is an error."""
    by_zone = {}
    with open(CITIES, encoding="utf-8") as source:
        for number, line in enumerate(source, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            names, equals, iana = line.rpartition("=")
            iana = iana.strip()
            if not equals or not names.strip():
                fail(f"{CITIES}:{number}: not 'City | Other name = Area/Zone'")
            if iana not in known_iana:
                fail(f"{CITIES}:{number}: the CLDR data has no zone {iana}")
            by_zone.setdefault(known_iana[iana], []).extend(
                name.strip() for name in names.split("|"))
    return by_zone


def city_of(iana):
    """The city an IANA name gives when CLDR names none: its last part, with blanks."""
    return iana.rsplit("/", 1)[-1].replace("_", " ")


def unique(names):
    seen, result = set(), []
    for name in names:
        if name and name not in seen:
            if SEPARATOR in name:
                fail(f"a name holds the separator: {name}")
            seen.add(name)
            result.append(name)
    return result


def zone_rows(cldr):
    zones = windows_zones(cldr)
    aliases = iana_aliases(cldr)
    names = {language: locale_names(cldr, language) for language in LANGUAGES}
    known_iana = {}  # any IANA name -> its Windows key name
    for key, zone in zones.items():
        for iana in list(zone["iana"]):
            for alias in aliases.get(iana, [iana]):
                known_iana.setdefault(alias, key)
                if alias not in zone["iana"]:
                    zone["iana"].append(alias)
    hand_kept = hand_kept_cities(known_iana)
    rows = []
    for key, zone in zones.items():
        cities = []
        for iana in zone["iana"]:
            if iana.split("/", 1)[0] not in CITY_AREAS or "/" not in iana:
                continue
            cities.append(city_of(iana))
            cities.extend(names[language][0].get(iana) for language in LANGUAGES)
        cities.extend(hand_kept.get(key, []))
        countries = [names[language][1].get(code)
                     for code in zone["territories"] for language in LANGUAGES]
        rows.append((key, unique(zone["iana"]), unique(cities), unique(countries)))
    return rows


def folded_letters():
    """Code points whose search form differs from themselves, with that form."""
    letters = []
    for first, last in FOLDED_RANGES:
        for code in range(first, last + 1):
            letter = chr(code)
            if unicodedata.category(letter) == "Cn":
                continue
            base = "".join(c for c in unicodedata.normalize("NFD", letter.lower())
                           if unicodedata.category(c) != "Mn")
            folded = "".join(LETTERS_OF_THEIR_OWN.get(c, c) for c in base)
            if folded != letter:
                letters.append((code, folded))
    return letters


def c_string(text):
    escaped = text.replace("\\", "\\\\").replace('"', '\\"')
    # Hex escapes would run into following hex digits; octal ones stop after three.
    return '"' + "".join(c if ord(c) < 0x80 else "".join(f"\\{b:03o}" for b in c.encode())
                         for c in escaped) + '"'


def cldr_version(cldr):
    """The release, as the data's own type definitions fix it."""
    with open(os.path.join(cldr, "common", "dtd", "ldmlSupplemental.dtd"), encoding="utf-8") as dtd:
        found = re.search(r'cldrVersion CDATA #FIXED "([^"]+)"', dtd.read())
    return found.group(1) if found else "of unknown release"


def main():
    cldr = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/unicode/cldr"
    if not os.path.isdir(os.path.join(cldr, "common")):
        fail(f"no CLDR data in {cldr} (Debian: apt-get install unicode-cldr-core)")
    rows = zone_rows(cldr)
    lines = [f"// Written by scripts/make_zone_table.py from CLDR {cldr_version(cldr)} and",
             "// scripts/zone_cities.txt; change those and run it again rather than edit this.",
             '#include "timezones/uZoneTable.h"', "",
             "// clang-format off", "namespace {", "",
             "// Key name, IANA names, cities, countries; each list separated by \"|\".",
             "constexpr TZoneNames kZoneNames[] = {"]
    for key, iana, cities, countries in rows:
        fields = [key] + [SEPARATOR.join(names) for names in (iana, cities, countries)]
        lines.append("    {" + ", ".join(c_string(field) for field in fields) + "},")
    lines += ["};", "", "constexpr TFoldedLetter kFoldedLetters[] = {"]
    lines += [f"    {{0x{code:04X}, {c_string(folded)}}}," for code, folded in folded_letters()]
    lines += ["};", "", "}  // namespace", "// clang-format on", "",
              "std::span<const TZoneNames> ZoneNameTable() { return kZoneNames; }", "",
              "std::span<const TFoldedLetter> FoldedLetterTable() { return kFoldedLetters; }",
              ""]
    with open(OUTPUT, "w", encoding="utf-8", newline="\n") as out:
        out.write("\n".join(lines))
    print(f"{OUTPUT}: {len(rows)} zones")


if __name__ == "__main__":
    main()
