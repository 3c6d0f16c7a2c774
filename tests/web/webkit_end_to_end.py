#!/usr/bin/env python3
"""The page in WebKit, the engine of every browser on iPads and iPhones and
of Safari on Macs, as Debian's WebKitGTK runs it: one path through the page
from file:// as a person would, with real key presses on an X server.

- In a prompt, Tab five times goes round the reply, OK and Storno, and
  Escape then closes it, the focus back on Generuj.
- A seeded sheet is velnorka-cli's under a Czech locale.
- Kopíruj, read back from the X clipboard: the plain text is the tool's
  (each no-break space a space: WebKitGTK's own conversion); WebKit writes
  the HTML again, and each paragraph must still carry its margin, line
  height, font and size ahead of any -webkit- property, at which Writer
  stops reading a style; the key's paragraph breaks the page.
- The sheet, filling an A4 page, printed as GTK prints it: no fault that
  tests/web/print_check.mjs looks for (the lines from the 20 mm margin, the
  key on a page of its own), two pages.

usage: webkit_end_to_end.py PAGE CLI (on an X server: tests/qt/on_xvfb.sh;
tests/web/web_test.sh compiles the locale and sets LOCPATH)
"""
import html.parser
import json
import os
import pathlib
import subprocess
import sys
import tempfile
import threading
import time

SYSTEM_PYTHON = "/usr/bin/python3"
try:
    import gi
    gi.require_version("Gdk", "3.0")
    gi.require_version("Gtk", "3.0")
    gi.require_version("WebKit2", "4.1")
    from gi.repository import Gdk, GLib, Gtk, WebKit2
except (ImportError, ValueError):
    # python3-gi serves the system's Python, which may not be the one that runs this.
    if os.path.exists(SYSTEM_PYTHON) and os.path.realpath(sys.executable) != os.path.realpath(SYSTEM_PYTHON):
        os.execv(SYSTEM_PYTHON, [SYSTEM_PYTHON] + sys.argv)
    raise SystemExit("missing python3-gi or gir1.2-webkit2-4.1: scripts/install-deps installs them")

HERE = pathlib.Path(__file__).resolve().parent
PAGE, CLI = sys.argv[1:3]
SEED, MODE, COUNT, GROUP = "44", "3", "50", "5"  # questions and key fill an A4 page each


def cli(fmt):
    return subprocess.run([CLI, "--mode", MODE, "--count", COUNT, "--group", GROUP, "--seed", SEED, "--format", fmt],
                          env=dict(os.environ, LC_ALL="cs_CZ.UTF-8"), check=True,
                          capture_output=True).stdout.decode()  # its CR LF kept


def expect(condition, message):
    if not condition:
        raise SystemExit(f"FAIL: {message}")


class Browser:
    """A WebKitGTK window on the page; every wait is bounded."""

    def __init__(self, url):
        WebKit2.WebContext.get_default().set_preferred_languages(["cs"])
        self.view = WebKit2.WebView()
        self.window = Gtk.Window()
        self.window.set_default_size(1024, 768)
        self.window.add(self.view)
        self.window.show_all()
        self.view.grab_focus()
        self.view.load_uri(url)
        self.wait_for("document.getElementById('Form1') && !document.getElementById('Form1').hasAttribute('inert')"
                      " && document.activeElement.id === 'Text1'", "the page ready")

    def spin(self, done, what, timeout=20):
        end = time.monotonic() + timeout
        context = GLib.MainContext.default()
        while not done():
            expect(time.monotonic() < end, f"{what}: no answer within {timeout} s")
            if not context.iteration(False):
                time.sleep(0.005)

    def js(self, code):
        results = []
        self.view.evaluate_javascript(code, -1, None, None, None,
                                      lambda view, result: results.append(view.evaluate_javascript_finish(result)))
        self.spin(lambda: results, "the page's script")
        return json.loads(results[0].to_json(0) or "null")

    def wait_for(self, condition, what):
        self.spin(lambda: self.js(f"!!({condition})"), what)

    def run(self, command):
        """Runs a program while the window keeps serving (the clipboard's owner is this process)."""
        done = []
        thread = threading.Thread(target=lambda: done.append(
            subprocess.run(command, capture_output=True, timeout=20)))
        thread.start()
        self.spin(lambda: done, " ".join(command[:2]), timeout=25)
        return done[0]

    def keys(self, *names):
        xid = str(self.window.get_window().get_xid())
        self.run(["xdotool", "windowfocus", "--sync", xid, "key", "--delay", "20", *names])
        # The keys reach the page before any script asked for after them.
        Gdk.Display.get_default().sync()
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)

    def press(self, control, *names):
        """Gives the control the focus and presses the keys."""
        self.js(f"document.getElementById('{control}').focus()")
        self.keys(*names)

    def focused(self):
        return self.js("(document.activeElement.closest('[id]') || document.body).id || 'body'")

    def clipboard(self, target):
        return self.run(["xclip", "-o", "-selection", "clipboard", "-t", target]).stdout

    def print_pdf(self, path):
        """Prints as GTK's print dialog would to a PDF file: A4, GTK's default page setup."""
        settings = Gtk.PrintSettings()
        settings.set_printer("Print to File")
        settings.set(Gtk.PRINT_SETTINGS_OUTPUT_FILE_FORMAT, "pdf")
        settings.set(Gtk.PRINT_SETTINGS_OUTPUT_URI, pathlib.Path(path).as_uri())
        setup = Gtk.PageSetup()
        setup.set_paper_size(Gtk.PaperSize.new(Gtk.PAPER_NAME_A4))
        operation = WebKit2.PrintOperation.new(self.view)
        operation.set_print_settings(settings)
        operation.set_page_setup(setup)
        ended = []
        operation.connect("finished", lambda _: ended.append(None))
        operation.connect("failed", lambda _, error: ended.append(error.message))
        operation.print_()
        self.spin(lambda: ended, "the print")
        expect(ended[0] is None, f"the print failed: {ended[0]}")


class Paragraphs(html.parser.HTMLParser):
    """Each <p>: its text and the names of its style's properties, in order."""

    def __init__(self, markup):
        super().__init__()
        self.found = []
        self.feed(markup)

    def handle_starttag(self, tag, attrs):
        if tag == "p":
            style = dict(attrs).get("style") or ""
            self.found.append({"text": "", "properties": [p.split(":")[0].strip() for p in style.split(";") if ":" in p]})

    def handle_data(self, data):
        if self.found:
            self.found[-1]["text"] += data


def prompt_keyboard(browser):
    browser.press("Command1", "space")
    browser.wait_for("document.getElementById('Dialog').open", "the count prompt")
    tabbed = []
    for _ in range(5):
        browser.keys("Tab")
        tabbed.append(browser.focused())
    expect(tabbed == ["DialogOk", "DialogCancel", "Reply", "DialogOk", "DialogCancel"],
           f"Tab x5 in the prompt goes round its controls, not {tabbed}")
    browser.keys("Escape")
    browser.wait_for("!document.getElementById('Dialog').open", "Escape after Tab x5 closes the prompt")
    expect(browser.focused() == "Command1", "after Escape the focus is back on Generuj")


def seeded_sheet(browser):
    browser.press(f"Option{MODE}", "space")
    browser.press("Command1", "space")
    browser.wait_for("document.getElementById('Dialog').open", "the count prompt")
    first = browser.js("document.getElementById('DialogText').textContent")
    browser.keys(*COUNT, "Return")
    browser.wait_for(f"document.getElementById('Dialog').open && document.getElementById('DialogText').textContent !== {json.dumps(first)}",
                     "the group prompt")
    browser.keys(*GROUP, "Return")
    browser.wait_for("!document.getElementById('Dialog').open && document.getElementById('Text1').value", "the sheet")
    expected = cli("text").replace("\r\n", "\n")
    expect(browser.js("document.getElementById('Text1').value") == expected, "the box holds the tool's sheet")
    return expected


def copy(browser):
    browser.press("Command3", "space")
    browser.spin(lambda: b"text/html" in browser.clipboard("TARGETS"), "Kopíruj fills the clipboard")
    plain = browser.clipboard("UTF8_STRING").decode()
    expect(plain == cli("text").replace("\u00a0", " "), "Kopíruj: the plain text is the tool's")
    copied = Paragraphs(browser.clipboard("text/html").decode()).found
    sheet = Paragraphs(cli("html")).found
    expect([p["text"] for p in copied] == [p["text"] for p in sheet], "Kopíruj: the HTML's paragraphs are the tool's")
    own = ["margin", "line-height", "font-family", "font-size"]
    for paragraph in copied:
        names = paragraph["properties"]
        webkit = next((i for i, name in enumerate(names) if name.startswith("-webkit-")), len(names))
        late = [name for name in own if name not in names[:webkit]]
        expect(not late, f"Kopíruj: \"{paragraph['text']}\" has {late} after {names[webkit:webkit + 1]} or not at all")
    key = next(i for i, p in enumerate(sheet) if "break-before" in " ".join(p["properties"]))
    expect(any("break-before" in name for name in copied[key]["properties"]), "Kopíruj: the key breaks the page")


def printed(browser, sheet, work):
    pdf = os.path.join(work, "webkit-filling.pdf")
    browser.print_pdf(pdf)
    checker = (f"import {{ printFaults }} from {json.dumps((HERE / 'print_check.mjs').as_uri())};"
               "console.log(JSON.stringify(printFaults(process.argv[1], process.argv[2])));")
    result = json.loads(subprocess.run(["node", "--input-type=module", "-e", checker, pdf, sheet],
                                       check=True, capture_output=True, text=True).stdout)
    expect(result["faults"] == [], f"the print: {result['faults'][:3]}")
    expect(result["pages"] == 2, f"the print: a page of questions, a page of key, not {result['pages']} pages")


def main():
    browser = Browser(pathlib.Path(PAGE).resolve().as_uri() + f"?seed={SEED}")
    prompt_keyboard(browser)
    sheet = seeded_sheet(browser)
    copy(browser)
    with tempfile.TemporaryDirectory(prefix="velnorka-webkit-") as work:
        printed(browser, sheet, work)
    print("webkit: the page passes")


main()
