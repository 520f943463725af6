#!/usr/bin/python3
"""Translates an XLIFF 1.2 file as a translation tool would, for the round trip.

Usage: xliff_translate.py IN OUT [--keep ID]... [--drop ID]...
Every unit's target text is put in capitals, inline codes kept as they are
(a <ph> keeps its content); a --keep unit's target stays equal to its source,
a --drop unit loses its target.
"""
import sys
import xml.etree.ElementTree as ET

NS = "urn:oasis:names:tc:xliff:document:1.2"
ET.register_namespace("", NS)
ET.register_namespace("ct", "urn:celltrove:xliff")


def capitals(element):
    if element.tag != "{%s}ph" % NS and element.text:
        element.text = element.text.upper()
    for child in element:
        capitals(child)
        if child.tail:
            child.tail = child.tail.upper()


def main(args):
    source, out, rest = args[0], args[1], args[2:]
    keep = {rest[i + 1] for i in range(len(rest)) if rest[i] == "--keep"}
    drop = {rest[i + 1] for i in range(len(rest)) if rest[i] == "--drop"}
    tree = ET.parse(source)
    for unit in tree.iter("{%s}trans-unit" % NS):
        target = unit.find("{%s}target" % NS)
        if unit.get("id") in drop:
            unit.remove(target)
        elif unit.get("id") not in keep:
            capitals(target)
            target.set("state", "translated")
    tree.write(out, encoding="UTF-8", xml_declaration=True)


if __name__ == "__main__":
    main(sys.argv[1:])
