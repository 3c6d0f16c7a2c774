#!/usr/bin/env python3
"""A real word processor reads the clipboard's rich flavours.

LibreOffice Writer (headless, with a profile of its own) opens the RTF and
the HTML that velnorka-cli --format writes, as a paste would, and turns them
into text and into PDF. Checked:
- Writer's text has exactly the sheet's lines: one paragraph per line, empty
  lines kept but those right before the key's page break and at the end,
  every no-break space and decimal comma in place;
- an edited sheet whose lines open with and hold runs of spaces keeps every
  space as a plain space in Writer's text of the RTF;
- in the PDF, page by page, no page is blank, the answer key's first line is
  the first text of a page, no question line is on that page or after it,
  every line reads as the sheet's line, and the only font is Times New Roman
  or Liberation Serif;
- sheets that fill a page exactly, with the questions or with the key, each
  flavour inserted into a new default Writer document as a paste lands, on A4
  and on Letter: the same checks of the PDF.

usage: word_processor_test.py CLI WORK_DIR RTF_OF_TEXT
"""
import contextlib
import os
import re
import shutil
import subprocess
import sys
import time

SYSTEM_PYTHON = "/usr/bin/python3"
try:
    import uno
    from com.sun.star.awt import Size
    from com.sun.star.beans import PropertyValue
    from com.sun.star.lang import DisposedException
except ImportError:
    # python3-uno serves the system's Python, which may not be the one that runs this.
    if os.path.exists(SYSTEM_PYTHON) and os.path.realpath(sys.executable) != os.path.realpath(SYSTEM_PYTHON):
        os.execv(SYSTEM_PYTHON, [SYSTEM_PYTHON] + sys.argv)
    raise SystemExit("missing python3-uno: scripts/install-deps installs it")

CZECH = dict(os.environ, LANG="cs_CZ.UTF-8", LC_ALL="cs_CZ.UTF-8")
SHEETS = [  # name, cli arguments
    ("mix", ["--mode", "3", "--count", "200", "--group", "10", "--seed", "11"]),
    ("decimal", ["--mode", "2", "--count", "200", "--group", "1", "--seed", "12"]),
]
# Lines a teacher might type above a sheet: runs of one to six spaces at the
# start, inside and at the end of a line.
EDITED_LINES = [" Jméno:  ____________", "   Třída:     5.\u00a0A", "      Datum:", "  konec   "]
HTML_IMPORT = "HTML (StarWriter)"  # what Writer uses for pasted HTML
FILTERS = {"html": HTML_IMPORT, "rtf": "Rich Text Format"}
# Count/group pairs whose questions or key fill a page exactly (Writer's
# default margins, 12 pt lines): an empty line after them would get a page of
# its own, and so would the paragraph pasted into, were the last line closed
# (48/10, 45/10). The first five fill A4, the others Letter.
PAGE_FILLING = [(26, 1), (39, 3), (47, 10), (43, 5), (48, 10), (25, 1), (37, 3), (40, 5), (45, 10)]
PAPERS = {"A4": (21000, 29700), "Letter": (21590, 27940)}  # in 1/100 mm
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


def check_text(name, lines, key_line, writer_text):
    text = writer_text.removeprefix("\ufeff")
    got = text.split("\n")
    if got and got[-1] == "":
        got.pop()  # the file's last line break
    # The empty lines before the key's page break and at the end are left out.
    questions = lines[:key_line]
    while questions and not questions[-1].strip():
        questions.pop()
    want = questions + lines[key_line:]
    while want and not want[-1].strip():
        want.pop()
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
        check(text.strip(), f"{name}: page {page} of {pages} is blank")
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


def properties(**values):
    result = []
    for name, value in values.items():
        result.append(PropertyValue())
        result[-1].Name, result[-1].Value = name, value
    return tuple(result)


@contextlib.contextmanager
def writer_desktop(soffice, profile):
    """Starts one headless Writer with the profile and yields its desktop."""
    pipe = f"velnorka-{os.getpid()}"
    office = subprocess.Popen([soffice, f"-env:UserInstallation=file://{profile}", "--headless", "--norestore",
                               f"--accept=pipe,name={pipe};urp;"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
        deadline = time.monotonic() + 120
        while True:
            try:
                context = resolver.resolve(f"uno:pipe,name={pipe};urp;StarOffice.ComponentContext")
                break
            except Exception:  # Writer is still starting: its pipe is not there yet
                if time.monotonic() > deadline or office.poll() is not None:
                    raise SystemExit("Writer did not answer on its pipe")
                time.sleep(0.5)
        desktop = context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", context)
        yield desktop
        try:
            desktop.terminate()
        except DisposedException:  # Writer quit before its answer came back
            pass
        office.wait(timeout=60)
    finally:
        if office.poll() is None:
            office.kill()
            office.wait()


def paste_into_new_document(desktop, path, flavour, paper, pdf):
    """Inserts the file into a new default Writer document at its cursor, as a
    paste lands, and exports it to PDF."""
    document = desktop.loadComponentFromURL("private:factory/swriter", "_blank", 0, properties(Hidden=True))
    style = document.StyleFamilies.getByName("PageStyles").getByName("Standard")
    style.Size = Size(*PAPERS[paper])
    cursor = document.Text.createTextCursor()
    cursor.insertDocumentFromURL(uno.systemPathToFileUrl(path), properties(FilterName=FILTERS[flavour]))
    document.storeToURL(uno.systemPathToFileUrl(pdf), properties(FilterName="writer_pdf_Export"))
    document.close(True)


def paste_into_new_documents(soffice, profile, jobs):
    """jobs: (file, flavour, paper, pdf), each pasted into a new document."""
    with writer_desktop(soffice, profile) as desktop:
        for job in jobs:
            paste_into_new_document(desktop, *job)


def compile_czech_locale(work):
    """The Czech locale compiled for the tool, so that none need be installed."""
    locales = os.path.join(work, "locales")
    os.makedirs(locales, exist_ok=True)
    # localedef warns about details of its sources: the compiled locale is what counts.
    subprocess.run(["localedef", "-i", "cs_CZ", "-f", "UTF-8", os.path.join(locales, "cs_CZ.UTF-8")],
                   capture_output=True, timeout=120)
    if not os.path.exists(os.path.join(locales, "cs_CZ.UTF-8", "LC_NUMERIC")):
        raise SystemExit("localedef could not compile cs_CZ.UTF-8")
    CZECH["LOCPATH"] = locales


def key_start(lines):
    """The key's first line: after the questions and the empty line between the halves."""
    return next(i for i, line in enumerate(lines) if i > 0 and line.startswith("a) ") and "_" not in line)


def main():
    cli, work, rtf_of_text = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
    tools = {tool: shutil.which(tool) for tool in ("soffice", "pdftotext", "pdffonts", "pdfinfo")}
    missing = [tool for tool, path in tools.items() if not path]
    if missing:
        raise SystemExit(f"missing {', '.join(missing)}: scripts/install-deps installs them")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    profile = os.path.join(work, "profile")
    compile_czech_locale(work)

    sheets = {}
    for name, arguments in SHEETS:
        text = run([cli] + arguments, env=CZECH).stdout.decode()
        lines = text.split("\r\n")
        key_line = key_start(lines)
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
                check_text(f"{name} {flavour}", lines, key_line, file.read())
            check_pdf(f"{name} {flavour}", tools["pdftotext"], tools["pdffonts"], pdf, lines, key_line)

    # Sheets that fill a page, pasted on every paper.
    jobs, expected = [], {}
    for count, group in PAGE_FILLING:
        arguments = ["--mode", "1", "--count", str(count), "--group", str(group), "--seed", str(count)]
        lines = run([cli] + arguments, env=CZECH).stdout.decode().split("\r\n")
        key_line = key_start(lines)
        for flavour in FILTERS:
            path = os.path.join(work, f"filling-{count}-{group}.{flavour}")
            with open(path, "wb") as file:
                file.write(run([cli] + arguments + ["--format", flavour], env=CZECH).stdout)
            for paper in PAPERS:
                pdf = os.path.join(work, f"pasted-{count}-{group}-{flavour}-{paper}.pdf")
                jobs.append((path, flavour, paper, pdf))
                expected[pdf] = (f"{count}/{group} {flavour} pasted on {paper}", lines, key_line)
    paste_into_new_documents(tools["soffice"], profile, jobs)
    for pdf, (name, lines, key_line) in expected.items():
        check_pdf(name, tools["pdftotext"], tools["pdffonts"], pdf, lines, key_line)

    for failure in failures:
        print("FAILED:", failure)
    print(f"word processor: {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
