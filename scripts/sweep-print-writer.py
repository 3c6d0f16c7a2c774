#!/usr/bin/env python3
"""Sweeps sheets through LibreOffice Writer and reports how they print.

Every count and group asked for, each flavour (RTF, HTML) of
`velnorka-cli --format` is inserted into a new default Writer document as a
paste lands, on each paper, and exported to PDF. Counted per paper and
flavour, and in total:
- sheets with a blank page;
- sheets with a lost or cut line: a non-empty line of the sheet missing,
  added or altered in the PDF's text (compared word by word, as spaces are);
- sheets whose key is not on its own page: the key's first line must open its
  page, and no question line may stand on that page or after it.

One line is printed per failing sheet, then the table. The script reports and
does not judge: it exits 0 whenever the sweep ran, non-zero only when it could
not run. One Writer serves the whole sweep, with its own profile under the
work folder; pdftotext reads each PDF once, while Writer makes the next one.

usage: sweep-print-writer.py [--cli PATH] [--counts 1-200] [--groups 1,3,5,10]
                             [--papers A4,Letter] [--flavours rtf,html]
                             [--mode 1] [--seed 1] [--work DIR]
"""
import argparse
import concurrent.futures
import os
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "cli"))
import word_processor_test as writer  # noqa: E402  (re-runs this under the system's Python if need be)


def numbers(text):
    """"1-200" or "26,39,40-45" as a list of numbers."""
    result = []
    for part in text.split(","):
        first, _, last = part.partition("-")
        result += range(int(first), int(last or first) + 1)
    return result


def names(choices):
    def parse(text):
        chosen = [name.strip() for name in text.split(",")]
        unknown = [name for name in chosen if name not in choices]
        if unknown:
            raise argparse.ArgumentTypeError(f"unknown {', '.join(unknown)}; known: {', '.join(choices)}")
        return chosen
    return parse


def pdf_pages(pdf):
    """The text of each page, from one pdftotext run (pages end with a form feed)."""
    text = writer.run(["pdftotext", "-layout", pdf, "-"]).stdout.decode()
    return text.split("\f")[:-1]


def problems(pages, lines, key_line):
    """What is wrong with the printed sheet, by kind."""
    found = {}
    blank = [number for number, page in enumerate(pages, 1) if not page.strip()]
    if blank:
        found["blank"] = f"blank page {', '.join(map(str, blank))} of {len(pages)}"

    placed = [(number, writer.blank_out(line)) for number, page in enumerate(pages, 1)
              for line in page.split("\n") if line.strip()]
    want = [writer.blank_out(line) for line in lines if line.strip()]
    got = [text for _, text in placed]
    if got != want:
        first = next((i for i, (g, w) in enumerate(zip(got, want)) if g != w), min(len(got), len(want)))
        found["line"] = (f"{len(got)} lines in the PDF, {len(want)} on the sheet; from line {first + 1}: "
                         f"{got[first] if first < len(got) else None!r} for "
                         f"{want[first] if first < len(want) else None!r}")

    key_text = writer.blank_out(lines[key_line])
    questions = {writer.blank_out(line) for line in lines[:key_line] if line.strip()}
    key = next((i for i, (_, text) in enumerate(placed) if text == key_text), None)
    if key is None:
        found["key"] = "the key's first line is not in the PDF"
    else:
        key_page = placed[key][0]
        if key > 0 and placed[key - 1][0] == key_page:
            found["key"] = f"the key's first line is not the first line of page {key_page}"
        elif any(page >= key_page and text in questions for page, text in placed):
            found["key"] = f"a question line is on page {key_page}, the key's, or after it"
    return found


KINDS = [("blank", "blank page"), ("line", "lost/cut line"), ("key", "key not alone")]


def table(results, papers, flavours):
    rows = [(f"{paper} {flavour}", [r for r in results if r[0] == (paper, flavour)])
            for paper in papers for flavour in flavours]
    rows.append(("total", results))
    print(f"{'':14}{'sheets':>8}" + "".join(f"{title:>16}" for _, title in KINDS))
    for title, chosen in rows:
        print(f"{title:14}{len(chosen):>8}"
              + "".join(f"{sum(kind in found for _, found in chosen):>16}" for kind, _ in KINDS))


def main():
    parser = argparse.ArgumentParser(description="Sweeps sheets through Writer and reports how they print.")
    parser.add_argument("--cli", default=os.path.join(ROOT, "build", "linux", "cli", "velnorka-cli"))
    parser.add_argument("--counts", type=numbers, default=numbers("1-200"))
    parser.add_argument("--groups", type=numbers, default=[1, 3, 5, 10])
    parser.add_argument("--papers", type=names(list(writer.PAPERS)), default=list(writer.PAPERS))
    parser.add_argument("--flavours", type=names(list(writer.FILTERS)), default=["rtf", "html"])
    parser.add_argument("--mode", default="1")
    parser.add_argument("--seed", default="1")
    parser.add_argument("--work", default=os.path.join(ROOT, "build", "sweep-print-writer"))
    options = parser.parse_args()

    cli = os.path.abspath(options.cli)
    if not os.access(cli, os.X_OK):
        raise SystemExit(f"no velnorka-cli at {cli}: build it, or name it with --cli")
    missing = [tool for tool in ("soffice", "pdftotext") if not shutil.which(tool)]
    if missing:
        raise SystemExit(f"missing {', '.join(missing)}: scripts/install-deps installs them")
    work = os.path.abspath(options.work)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    writer.compile_czech_locale(work)

    started = time.monotonic()
    results = []  # ((paper, flavour), problems found)
    # pdftotext reads one PDF while Writer makes the next.
    with writer.writer_desktop(shutil.which("soffice"), os.path.join(work, "profile")) as desktop, \
            concurrent.futures.ThreadPoolExecutor(max_workers=1) as reader:
        pending = None

        def collect():
            (name, where, lines, key_line, pdf), pages = pending
            found = problems(pages.result(), lines, key_line)
            if found:
                print(f"{name}: " + "; ".join(found[kind] for kind, _ in KINDS if kind in found), flush=True)
            results.append((where, found))
            os.remove(pdf)

        for group in options.groups:
            for count in options.counts:
                arguments = [cli, "--mode", options.mode, "--count", str(count), "--group", str(group),
                             "--seed", options.seed]
                lines = writer.run(arguments, env=writer.CZECH).stdout.decode().split("\r\n")
                key_line = writer.key_start(lines)
                for flavour in options.flavours:
                    sheet = os.path.join(work, f"{count}-{group}.{flavour}")
                    with open(sheet, "wb") as file:
                        file.write(writer.run(arguments + ["--format", flavour], env=writer.CZECH).stdout)
                    for paper in options.papers:
                        pdf = os.path.join(work, f"{count}-{group}-{flavour}-{paper}.pdf")
                        writer.paste_into_new_document(desktop, sheet, flavour, paper, pdf)
                        if pending:
                            collect()
                        name = f"{count}/{group} {flavour.upper()} on {paper}"
                        pending = ((name, (paper, flavour), lines, key_line, pdf), reader.submit(pdf_pages, pdf))
                    os.remove(sheet)
        if pending:
            collect()

    minutes, seconds = divmod(round(time.monotonic() - started), 60)
    print(f"\n{len(results)} sheets (mode {options.mode}, seed {options.seed}, {cli}) in {minutes} min {seconds} s")
    table(results, options.papers, options.flavours)
    return 0


if __name__ == "__main__":
    sys.exit(main())
