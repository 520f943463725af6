#!/usr/bin/python3
"""Translates exported XLIFF files with OmegaT in console mode.

Usage: omegat_translate.py SOURCE_LANG TARGET_LANG FILE.xlf...
Makes an OmegaT project whose source folder holds the files (paragraph
segmentation), lets OmegaT write every segment into a pseudo-translation TMX,
puts each target text there in capitals (OmegaT's tags such as <x0/> kept),
saves it as the project's memory, lets OmegaT translate, and writes OmegaT's
target files over the given files.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

PROJECT = """<?xml version="1.0" encoding="UTF-8" standalone="no"?>
<omegat>
  <project version="1.0">
    <source_dir>__DEFAULT__</source_dir>
    <source_dir_excludes/>
    <target_dir>__DEFAULT__</target_dir>
    <tm_dir>__DEFAULT__</tm_dir>
    <glossary_dir>__DEFAULT__</glossary_dir>
    <glossary_file>__DEFAULT__</glossary_file>
    <dictionary_dir>__DEFAULT__</dictionary_dir>
    <source_lang>%s</source_lang>
    <target_lang>%s</target_lang>
    <source_tok>org.omegat.tokenizer.DefaultTokenizer</source_tok>
    <target_tok>org.omegat.tokenizer.DefaultTokenizer</target_tok>
    <sentence_seg>false</sentence_seg>
    <support_default_translations>true</support_default_translations>
    <remove_tags>false</remove_tags>
  </project>
</omegat>
"""
TAG = re.compile(r"(</?[a-z]+\d+/?>)")


def capitals(segment):
    return "".join(part if TAG.fullmatch(part) else part.upper() for part in TAG.split(segment))


def omegat(project, home, *args):
    env = dict(os.environ, HOME=home, JAVA_TOOL_OPTIONS="-Djava.awt.headless=true")
    done = subprocess.run(["omegat", project] + list(args), env=env, capture_output=True, timeout=300)
    if done.returncode != 0:
        sys.stderr.write(done.stdout.decode(errors="replace") + done.stderr.decode(errors="replace"))
        sys.exit(done.returncode)


def main(source_lang, target_lang, files):
    with tempfile.TemporaryDirectory() as tmp:
        project = os.path.join(tmp, "project")
        for sub in ("source", "target", "omegat", "tm", "glossary", "dictionary"):
            os.makedirs(os.path.join(project, sub))
        with open(os.path.join(project, "omegat.project"), "w") as f:
            f.write(PROJECT % (source_lang, target_lang))
        for path in files:
            shutil.copy(path, os.path.join(project, "source"))

        pseudo = os.path.join(tmp, "pseudo.tmx")
        omegat(project, tmp, "--mode=console-createpseudotranslatetmx", "--pseudotranslatetmx=" + pseudo,
               "--pseudotranslatetype=equal")
        tree = ET.parse(pseudo)
        for tu in tree.iter("tu"):
            tuvs = tu.findall("tuv")
            seg = tuvs[-1].find("seg")
            seg.text = capitals(seg.text or "")
        tree.write(os.path.join(project, "omegat", "project_save.tmx"), encoding="UTF-8", xml_declaration=True)

        omegat(project, tmp, "--mode=console-translate")
        for path in files:
            shutil.copy(os.path.join(project, "target", os.path.basename(path)), path)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3:])
