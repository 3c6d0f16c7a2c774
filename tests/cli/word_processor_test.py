#!/usr/bin/env python3
"""A real word processor reads the clipboard's rich flavours.

LibreOffice Writer (headless, with a profile of its own) opens the RTF and
the HTML that velnorka-cli --format writes, as a paste would, and turns them
into text and into PDF. Checked:
- Writer's text has exactly the sheet's lines: one paragraph per line, empty
  lines kept, every no-break space and decimal comma in place;
- an edited sheet whose lines open with and hold runs of spaces keeps every
  space as a plain space in Writer's text of the RTF;
- in the PDF, page by page, the answer key's first line is the first text of
  a page, no question line is on that page or after it, every line reads as
  the sheet's line, and the only font is Times New Roman or Liberation Serif.

usage: word_processor_test.py CLI WORK_DIR RTF_OF_TEXT
"""
import os
import re
import shutil
import subprocess
import sys

CZECH = dict(os.environ, LANG="cs_CZ.UTF-8", LC_ALL="cs_CZ.UTF-8")
SHEETS = [  # name, cli arguments
    ("mix", ["--mode", "3", "--count", "200", "--group", "10", "--seed", "11"]),
    ("decimal", ["--mode", "2", "--count", "200", "--group", "1", "--seed", "12"]),
]
# Lines a teacher might type above a sheet: runs of one to six spaces at the
# start, inside and at the end of a line.
EDITED_LINES = [" Jméno:  ____________", "   Třída:     5.\u00a0A", "      Datum:", "  konec   "]
HTML_IMPORT = "HTML (StarWriter)"  # what Writer uses for pasted HTML
ALLOWED_FONTS = ("TimesNewRoman", "LiberationSerif")

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def run(command, **kwargs):
    return subprocess.run(command, check=True, capture_output=True, timeout=240, **kwargs)


def convert(soffice, profile, target, files, infilter=None):
    """Converts the files with Writer; returns the output paths."""
    outdir = os.path.dirname(files[0])
    command = [soffice, f"-env:UserInstallation=file://{profile}", "--headless", "--norestore"]
    if infilter:
        command.append(f"--infilter={infilter}")
    command += ["--convert-to", target, "--outdir", outdir] + files
    run(command)
    extension = target.split(":")[0]
    outputs = [os.path.splitext(f)[0] + "." + extension for f in files]
    for output in outputs:
        if not os.path.exists(output):
            raise SystemExit(f"Writer made no {output}")
    return outputs


def blank_out(line):
    """A PDF's text keeps no difference between spaces: compare words only."""
    return " ".join(line.replace("\u00a0", " ").split())


def check_text(name, lines, writer_text):
    text = writer_text.removeprefix("\ufeff")
    got = text.split("\n")
    if got and got[-1] == "":
        got.pop()  # the file's last line break
    want = list(lines)
    while want and want[-1] == "":
        want.pop()  # an empty last paragraph is not written out
    while got and got[-1] == "":
        got.pop()
    if check(len(got) == len(want), f"{name}: Writer has {len(got)} paragraphs, the sheet {len(want)} lines"):
        for number, (g, w) in enumerate(zip(got, want), 1):
            if not check(g == w, f"{name}: paragraph {number} is {g!r}, the line is {w!r}"):
                break


def check_pdf(name, pdftotext, pdffonts, pdf, lines, key_line):
    info = run(["pdfinfo", pdf]).stdout.decode()
    pages = int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1))
    placed = []  # (page, text) of every non-empty line
    for page in range(1, pages + 1):
        text = run([pdftotext, "-f", str(page), "-l", str(page), "-layout", pdf, "-"]).stdout.decode()
        placed += [(page, blank_out(line)) for line in text.split("\n") if line.strip()]
    want = [(index, blank_out(line)) for index, line in enumerate(lines) if line.strip()]
    if not check(len(placed) == len(want), f"{name}: the PDF has {len(placed)} lines of text, the sheet {len(want)}"):
        return
    for (page, got), (index, expected) in zip(placed, want):
        if not check(got == expected, f"{name}: line {index + 1} reads {got!r} in the PDF, not {expected!r}"):
            return
    key = next(position for position, (index, _) in enumerate(want) if index == key_line)
    key_page = placed[key][0]
    check(key == 0 or placed[key - 1][0] < key_page,
          f"{name}: the key's first line is not the first text of page {key_page}")
    check(all(page < key_page for page, _ in placed[:key]), f"{name}: a question line is on the key's page or after it")
    check(all(page >= key_page for page, _ in placed[key:]), f"{name}: a key line comes before the key's page")

    fonts = run([pdffonts, pdf]).stdout.decode().splitlines()[2:]
    names = [row.split()[0].split("+")[-1] for row in fonts if row.strip()]
    check(names, f"{name}: the PDF names no font")
    for font in names:
        check(font.replace("-", "").startswith(ALLOWED_FONTS), f"{name}: font {font} is not the box's font")


def main():
    cli, work, rtf_of_text = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
    tools = {tool: shutil.which(tool) for tool in ("soffice", "pdftotext", "pdffonts", "pdfinfo")}
    missing = [tool for tool, path in tools.items() if not path]
    if missing:
        raise SystemExit(f"missing {', '.join(missing)}: scripts/install-deps installs them")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    profile = os.path.join(work, "profile")
    # The Czech locale compiled for the tool, so that none need be installed.
    locales = os.path.join(work, "locales")
    os.makedirs(locales)
    # localedef warns about details of its sources: the compiled locale is what counts.
    subprocess.run(["localedef", "-i", "cs_CZ", "-f", "UTF-8", os.path.join(locales, "cs_CZ.UTF-8")],
                   capture_output=True, timeout=120)
    if not os.path.exists(os.path.join(locales, "cs_CZ.UTF-8", "LC_NUMERIC")):
        raise SystemExit("localedef could not compile cs_CZ.UTF-8")
    CZECH["LOCPATH"] = locales

    sheets = {}
    for name, arguments in SHEETS:
        text = run([cli] + arguments, env=CZECH).stdout.decode()
        lines = text.split("\r\n")
        # The key starts after the questions and the empty line between the halves.
        key_line = next(i for i, line in enumerate(lines) if i > 0 and line.startswith("a) ")
                        and "_" not in line)
        # A decimal exercise's own number follows the regional settings.
        check(re.search(r"^[a-z]\) \d+,\d+ na ", text, re.M),
              f"{name}: no decimal comma in a question: are Czech settings in effect?")
        for flavour in ("rtf", "html"):
            path = os.path.join(work, f"{name}-{flavour}.{flavour}")
            with open(path, "wb") as file:
                file.write(run([cli] + arguments + ["--format", flavour], env=CZECH).stdout)
        sheets[name] = (lines, key_line)

    # The mix sheet edited: its RTF as Kopíruj makes it (Writer's HTML import
    # drops the first space of a line, as the README says).
    lines, key_line = sheets["mix"]
    edited = EDITED_LINES + lines
    with open(os.path.join(work, "edited-rtf.rtf"), "wb") as file:
        file.write(run([rtf_of_text], input="\r\n".join(edited).encode()).stdout)
    sheets["edited"] = (edited, key_line + len(EDITED_LINES))

    for flavour, infilter in (("rtf", None), ("html", HTML_IMPORT)):
        names = [name for name, _ in SHEETS] + (["edited"] if flavour == "rtf" else [])
        files = [os.path.join(work, f"{name}-{flavour}.{flavour}") for name in names]
        texts = convert(tools["soffice"], profile, "txt:Text (encoded):UTF8", files, infilter)
        pdfs = convert(tools["soffice"], profile, "pdf", files, infilter)
        for name, text_path, pdf in zip(names, texts, pdfs):
            lines, key_line = sheets[name]
            with open(text_path, encoding="utf-8") as file:
                check_text(f"{name} {flavour}", lines, file.read())
            check_pdf(f"{name} {flavour}", tools["pdftotext"], tools["pdffonts"], pdf, lines, key_line)

    for failure in failures:
        print("FAILED:", failure)
    print(f"word processor: {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
