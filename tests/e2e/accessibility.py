#!/usr/bin/env python3
"""The desktop program as a keyboard user and a screen-reader user meet it, in both languages.

usage: accessibility.py BIN_DIR   (in an X server: xvfb-run -a dbus-run-session -- accessibility.py BIN_DIR)

In the X server it is given, with openbox and the accessibility bus (AT-SPI) that Orca reads,
the program runs in a copy of the program directory. Keys alone (xdotool key) take the road: the
language, a dataset, an industry found each of the four ways, its report read as text, a firm
typed, saved, compared, opened again from the list of saved firms, its definition and the About
screen, back to the main menu. Each step says where the focus must land; every focusable or
pressable control of every screen reached must have a name in the language of the road. Then
the HTML and PDF reports of ventrolux-cli: headings, table header cells, chart alt texts, and the
PDF's title and language. Exit 77 (skipped) only when the accessibility bus cannot start."""

import ctypes
import glob
import html.parser
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
try:
    import pyatspi
except ImportError as e:
    sys.exit(f"python3-pyatspi is missing: {e}")

# What the road expects to find, by language: the texts the screens show for these controls.
WORDS = {
    "E": dict(start="English", vol3="Enterprises with Revenue of $30,000 to less than $5 million",
              tree="Select an Industry", keyword="Key word Search", code="NAICS Code", title="NAICS Title",
              cont="4.  Continue", report="View industry data", new="Enter new data", name="Enter an Enterprise Name Here",
              year="Reference Year", cash="Cash and deposits", shares="Share capital", found="store",
              question="Which enterprise would you like to work with?", ret="Return", naics="NAICS: ", search="Search ",
              totals="Total assets", median="the industry median",
              cashDefinition="CASH AND DEPOSITS DEFINITION"),
    "F": dict(start="Français", vol3="Entreprises ayant de 30 000 $ à moins de 5 millions de dollars de revenu",
              tree="Industrie", keyword="Mot clé", code="Code du SCIAN", title="Titre du SCIAN", cont="4.  Continuer",
              report="Visionner les données de l'industrie", new="Entrer des nouvelles données",
              name="Entrer un nom d’entreprise ici", year="Année de référence", cash="Encaisse et dépôts",
              shares="Capital-actions", found="magasin",
              question="Avec laquelle des entreprises aimeriez-vous travailler?", ret="Retourner", naics="SCIAN: ",
              search="Recherche ", totals="Total, actifs", median="la médiane de l'industrie",
              cashDefinition="DÉFINITION DE ‘ENCAISSE ET DÉPÔTS’"),
}
# Names that are the same in both languages by nature: places, the language buttons, codes.
SAME_IN_BOTH = {"English", "Français", "Description", "Ontario", "Prairies", "Manitoba", "Saskatchewan",
                "Alberta", "Nunavut", "Yukon", "Acme", "Volume 1", "Volume 2", "Volume 3", "A+", "A−"}
PRESSABLE = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_COMBO_BOX,
             pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE,
             pyatspi.ROLE_LIST, pyatspi.ROLE_LINK, pyatspi.ROLE_MENU}
problems = []


def check(condition, message):
    if not condition:
        problems.append(message)
    return condition


def children(o):
    try:
        return [c for c in (o.getChildAtIndex(i) for i in range(o.childCount)) if c is not None]
    except Exception:
        return []


def walk(o):
    yield o
    # The rows and cells of a list are its content, not controls of their own.
    if o.getRole() not in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_LIST):
        for c in children(o):
            yield from walk(c)


def controls(window):
    for o in walk(window):
        s = o.getState()
        if s.contains(pyatspi.STATE_SHOWING) and o.getRole() != pyatspi.ROLE_SCROLL_BAR and (
                s.contains(pyatspi.STATE_FOCUSABLE) or o.getRole() in PRESSABLE):
            if o.getRole() != pyatspi.ROLE_MENU or o.parent.getRole() == pyatspi.ROLE_MENU_BAR:
                yield o


class Road:
    def __init__(self, app, language):
        self.app, self.language, self.w = app, language, WORDS[language]
        self.audited = {}  # screen -> names of its controls

    def window(self, app=None):
        for _ in range(40):
            for w in children(app or self.app):
                if w.getState().contains(pyatspi.STATE_ACTIVE):
                    return w
            time.sleep(0.25)
        raise RuntimeError("no active window")

    def focused(self):
        for _ in range(20):
            for o in walk(self.window()):
                if o.getState().contains(pyatspi.STATE_FOCUSED):
                    return o
            time.sleep(0.25)
        return None

    def key(self, *keys):
        for k in keys:
            subprocess.run(["xdotool", "key", "--clearmodifiers", k], check=True)
            time.sleep(0.35)

    def type(self, text):
        subprocess.run(["xdotool", "type", "--delay", "40", text], check=True)
        time.sleep(0.4)

    def expect(self, step, name=None, role=None, window=None, seconds=10):
        """Where the focus must land after a step (the start of a name, its role, its window's title)."""
        end = time.time() + seconds
        while True:
            time.sleep(0.3)
            f, w = self.focused(), self.window()
            # The window the X server sends the keys to is the one the reader sees.
            keys_to = subprocess.run(["xdotool", "getactivewindow", "getwindowname"], capture_output=True,
                                     text=True).stdout.strip()
            if f and (name is None or f.name.startswith(name)) and (role is None or f.getRole() == role) and (
                    window is None or window in w.name) and keys_to == w.name:
                return True
            if time.time() > end:
                said = " ".join(o.name for o in walk(w) if o.getRole() == pyatspi.ROLE_LABEL)[:300]
                got = f"{f.getRoleName()} '{f.name}'" if f else "nothing"
                return check(False, f"{self.language}, {step}: focus on {got} in '{w.name}' ({said}), "
                                    f"not on '{name}' in '{window}'")

    def tab_to(self, step, name, role=pyatspi.ROLE_RADIO_BUTTON, most=30):
        """Tab until the focus is on the control: no trap in between. The names passed."""
        passed = []
        for _ in range(most):
            f = self.focused()
            if f and f.name.startswith(name) and f.getRole() == role:
                return passed
            passed.append(f.name if f else "")
            self.key("Tab")
        check(False, f"{self.language}, {step}: Tab never reaches '{name}'")
        return passed

    def audit(self, screen, app=None):
        time.sleep(0.5)
        names = []
        for o in controls(self.window(app)):
            check(o.name.strip(), f"{self.language}, {screen}: {o.getRoleName()} without a name, in "
                                  f"{o.parent.getRoleName()} '{o.parent.name}'")
            names.append(o.name)
        self.audited[screen] = names
        print(f"{self.language} {screen}: {len(names)} controls, {sum(1 for n in names if not n.strip())} unnamed",
              flush=True)

    def selection(self):
        """The code line of the industry chosen on the industry selection screen."""
        for o in walk(self.window()):
            if o.getRole() == pyatspi.ROLE_LABEL and o.name.startswith(self.w["naics"]):
                return o.name
        return ""

    def run(self):
        w = self.w
        self.expect("start", "English", pyatspi.ROLE_PUSH_BUTTON)
        self.audit("start screen")
        if self.language == "E":
            # The terms of use are a link, opened by Enter in the help viewer.
            self.key("Tab", "Tab")
            self.expect("terms of use", "Terms of use", pyatspi.ROLE_LINK)
            self.key("Return")
            viewer = application("ventrolux-help")
            if check(viewer, "E: Enter on the terms of use opened no help viewer"):
                self.audit("help viewer", viewer)
                self.key("ctrl+w")
            self.expect("back from the help", "Terms of use", pyatspi.ROLE_LINK)
            self.key("shift+Tab", "shift+Tab")
        if self.language == "F":
            self.key("Tab")
        self.expect("language", w["start"])
        self.key("Return")
        self.expect("main menu", role=pyatspi.ROLE_RADIO_BUTTON, window="Ventrolux")
        self.audit("main menu")
        self.key("Down", "Down", "space")
        self.expect("dataset", w["vol3"], pyatspi.ROLE_RADIO_BUTTON)
        self.key("Return")  # Search, the default button
        self.expect("industry selection", w["tree"], pyatspi.ROLE_RADIO_BUTTON)
        self.audit("industry selection, tree")
        # The tree: Right opens a folder and goes into it, down to the first industry.
        self.key("Tab")
        self.expect("tree", w["tree"], pyatspi.ROLE_TREE)
        for _ in range(8):
            self.key("Right")
        self.key("space")
        check(self.selection(), f"{self.language}: Space in the tree chose no industry")
        # The keyword: Enter searches, the focus goes to the results, Enter chooses a row.
        self.key("shift+Tab", "Down")
        self.expect("keyword mode", w["keyword"], pyatspi.ROLE_RADIO_BUTTON)
        self.key("Tab")
        self.expect("keyword box", w["keyword"], pyatspi.ROLE_TEXT)
        self.type(w["found"])
        self.key("Return")
        self.expect("keyword results", w["keyword"], pyatspi.ROLE_TABLE)
        self.audit("industry selection, keyword")
        self.key("Down", "Return")
        chosen = self.selection()
        check(chosen, f"{self.language}: Enter in the results chose no industry")
        self.expect("keyword row chosen", w["keyword"], pyatspi.ROLE_TABLE)
        self.key("Tab")
        self.expect("Tab leaves the results", role=pyatspi.ROLE_RADIO_BUTTON)
        # The code and the title lists: a letter or a digit picks an item.
        for mode, first in (("code", "5"), ("title", "a")):
            self.tab_to(mode, w["keyword"] if mode == "code" else w["code"])
            self.key("Down")
            self.key("Tab")
            self.expect(f"{mode} list", w[mode], pyatspi.ROLE_COMBO_BOX)
            self.audit(f"industry selection, {mode}")
            self.key(first)
            check(self.selection() != chosen, f"{self.language}: typing in the {mode} list chose nothing new")
            chosen = self.selection()
        # View industry data: the report, read as text, and back.
        self.tab_to("continue", w["cont"], pyatspi.ROLE_PUSH_BUTTON)
        self.key("Return")
        self.expect("report", window="Ra")
        self.audit("report, pages")
        self.key("F9")
        self.expect("report as text", role=pyatspi.ROLE_TEXT)
        text = self.focused().queryText().getText(0, -1)
        check(w["naics"].split(":")[0] in text and f"[{w['median']}" in text,
              f"{self.language}: the report as text does not read its industry and its charts")
        self.audit("report, text")
        self.key("F9", "Escape")
        self.expect("back from the report", role=pyatspi.ROLE_PUSH_BUTTON, window=w["search"])
        # Enter new data.
        self.tab_to("report option", w["report"])
        self.key("Down")
        self.tab_to("continue", w["cont"], pyatspi.ROLE_PUSH_BUTTON)
        self.key("Return")
        self.expect("firm values", w["name"], pyatspi.ROLE_TEXT)
        self.audit("firm values")
        self.type("Acme")
        self.key("Tab")
        self.expect("year", w["year"], pyatspi.ROLE_COMBO_BOX)
        self.key("Tab")
        self.expect("cash", w["cash"], pyatspi.ROLE_TEXT)
        self.key("shift+F1")  # the item's definition
        self.expect("definition of cash", window=w["cashDefinition"])
        self.key("Return")
        self.expect("cash again", w["cash"], pyatspi.ROLE_TEXT)
        self.type("5000")
        self.key("Return")
        passed = self.tab_to("share capital", w["shares"], pyatspi.ROLE_TEXT)
        check(w["totals"] not in passed, f"{self.language}: Tab stops on the computed {w['totals']}")
        self.type("5000")
        self.key("Tab", "ctrl+s")
        self.expect("saved", window="Ventrolux")
        self.key("Return")
        self.key("ctrl+i")
        self.expect("comparison", window="Compar")
        self.key("Escape", "ctrl+o")
        self.expect("saved firms", w["question"], pyatspi.ROLE_TABLE)
        self.audit("saved firms")
        self.key("Return")
        self.expect("firm opened", w["name"], pyatspi.ROLE_TEXT)
        check(self.focused().queryText().getText(0, -1) == "Acme", f"{self.language}: the saved firm was not opened")
        self.key("ctrl+d")
        self.expect("definition", role=pyatspi.ROLE_TEXT, window="finition")
        self.audit("industry definition")
        self.key("Escape", "ctrl+p")
        self.expect("about", w["ret"], pyatspi.ROLE_PUSH_BUTTON)
        self.audit("about")
        self.key("Return", "ctrl+r")
        self.expect("back to the main menu", role=pyatspi.ROLE_RADIO_BUTTON)

    def names_in_language(self, english):
        """A French name that is also an English name of the same screen was not translated."""
        for screen, names in self.audited.items():
            if screen == "start screen":
                continue  # the start screen is in both languages before one is chosen
            for n in set(names) & set(english.get(screen, [])) - SAME_IN_BOTH:
                check(any(c.isdigit() for c in n), f"F, {screen}: '{n}' is the same in English")


class HtmlCounts(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.tags, self.alts, self.scopes = {}, [], 0

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        self.tags[tag] = self.tags.get(tag, 0) + 1
        if tag == "img":
            self.alts.append(a.get("alt") or "")
        if tag == "th" and a.get("scope"):
            self.scopes += 1


def check_reports(work):
    for lang in ("E", "F"):
        base = os.path.join(work, f"report-{lang}")
        subprocess.run([os.path.join(work, "ventrolux-cli"), "--data-dir", work, "--lang", lang, "compare",
                        "--dataset", "3:NS", "--naics", "448140", "--firm", FIRM, "--html", base + ".html",
                        "--pdf", base + ".pdf"], check=True, stdout=subprocess.DEVNULL)
        page = HtmlCounts()
        page.feed(open(base + ".html", encoding="utf-8").read())
        t = page.tags
        print(f"{lang} HTML: h1 {t.get('h1', 0)}, h2 {t.get('h2', 0)}, h3 {t.get('h3', 0)}, tables {t.get('table', 0)}, "
              f"captions {t.get('caption', 0)}, th {t.get('th', 0)} ({page.scopes} with scope), img {len(page.alts)}")
        check(t.get("h1") == 1 and t.get("h2", 0) >= 3, f"{lang} HTML: headings {t}")
        check(t.get("caption", 0) >= t.get("table", 0) // 2,
              f"{lang} HTML: {t.get('caption', 0)} captions for {t.get('table', 0)} tables")
        check(t.get("th", 0) > 20 and page.scopes == t.get("th"), f"{lang} HTML: th {t.get('th')}, scoped {page.scopes}")
        check(page.alts and all(page.alts), f"{lang} HTML: {page.alts.count('')} of {len(page.alts)} charts without alt")
        quarter = "quarter" if lang == "E" else "quart"
        check(any(": " in a and quarter in a for a in page.alts), f"{lang} HTML: no alt says a ratio's quarter")
        # The industry's ratios: its table heading is the third level.
        subprocess.run([os.path.join(work, "ventrolux-cli"), "--data-dir", work, "--lang", lang, "industry-report",
                        "--dataset", "3:NS", "--naics", "448140", "--kind", "rat", "--html", base + "-rat.html"],
                       check=True, stdout=subprocess.DEVNULL)
        ratios = HtmlCounts()
        ratios.feed(open(base + "-rat.html", encoding="utf-8").read())
        check(ratios.tags.get("h1") == 1 and ratios.tags.get("h3", 0) >= 1, f"{lang} ratios HTML: {ratios.tags}")
        check(ratios.alts and all(ratios.alts) and ratios.scopes == ratios.tags.get("th"),
              f"{lang} ratios HTML: {ratios.alts.count('')} charts without alt, {ratios.scopes} scoped th")
        label = ": " if lang == "E" else "\u00a0: "
        check(all(label in a for a in ratios.alts), f"{lang} ratios HTML: an alt without its ratio: {ratios.alts[:2]}")
        info = subprocess.run(["pdfinfo", "-meta", base + ".pdf"], capture_output=True, text=True).stdout
        check("en-CA" in info if lang == "E" else "fr-CA" in info, f"{lang} PDF: no language in\n{info}")
        title = subprocess.run(["pdfinfo", base + ".pdf"], capture_output=True, text=True).stdout
        check(any(l.startswith("Title:") and len(l.split()) > 2 for l in title.splitlines()), f"{lang} PDF: no title")


def start(cmd, **kw):
    # A process group of its own, which stop() ends whole; and ended with this script,
    # however it ends (the parent-death signal).
    return subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True,
                            preexec_fn=lambda: ctypes.CDLL(None).prctl(1, signal.SIGTERM), **kw)


def stop(process):
    if process and process.poll() is None:
        os.killpg(process.pid, signal.SIGTERM)
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)


def application(name, seconds=20):
    end = time.time() + seconds
    while True:
        for a in children(pyatspi.Registry.getDesktop(0)):
            if a.name == name:
                return a
        if time.time() > end:
            return None
        time.sleep(0.3)


def main(bin_dir):
    work = tempfile.mkdtemp(prefix="ventrolux-a11y-")
    # The program directory: the programs copied, the read-only files linked, a user database of its own.
    for f in glob.glob(os.path.join(bin_dir, "*")):
        name = os.path.basename(f)
        if name in ("ventrolux", "ventrolux-cli"):
            shutil.copy(f, work)
        elif not name.startswith("myData"):
            os.symlink(f, os.path.join(work, name))
    env = dict(os.environ, HOME=work, LANG="C.UTF-8", QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               VENTROLUX_STRICT_TEXTS="1")
    helpers, program = [], None
    try:
        try:
            check_reports(work)
        except (OSError, subprocess.CalledProcessError) as e:
            check(False, f"the reports were not written: {e}")
        helpers.append(start(["openbox", "--sm-disable"]))
        helpers.append(start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"]))
        time.sleep(1.5)
        try:
            pyatspi.Registry.getDesktop(0).childCount
        except Exception as e:
            print(f"skipped: the accessibility bus did not start ({e})")
            return 1 if problems else SKIP
        roads = {}
        for language in os.environ.get("VENTROLUX_ROADS", "EF"):
            program = start([os.path.join(work, "ventrolux")], env=env)
            app = application("ventrolux")
            if not check(app, f"{language}: the program is not on the accessibility bus"):
                break
            roads[language] = Road(app, language)
            try:
                roads[language].run()
            except Exception as e:
                check(False, f"{language}: the road stopped: {e!r}")
            stop(program)
            # Each road starts with no saved firm.
            for f in glob.glob(os.path.join(work, "myData.db*")):
                os.remove(f)
        if len(roads) == 2:
            roads["F"].names_in_language(roads["E"].audited)
    finally:
        stop(program)
        # The help viewer the program started runs on its own.
        viewer = helpers and application("ventrolux-help", 0)
        if viewer:
            os.kill(viewer.get_process_id(), signal.SIGTERM)
        for h in reversed(helpers):
            stop(h)
        shutil.rmtree(work, ignore_errors=True)
    for p in problems:
        print("FAIL:", p)
    print(f"{'FAILED' if problems else 'passed'}: {len(problems)} problems")
    return 1 if problems else 0


FIRM = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "examples", "firm.json")

if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))  # the cleanup of main() runs
    sys.exit(main(os.path.abspath(sys.argv[1])))
