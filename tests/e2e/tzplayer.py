"""The driver the end-to-end scripts share: starts Xvfb and the real game,
takes screenshots, reads the picture (menu, dialogs, field, table), drives
mouse and keyboard, plays shots, and runs the case chosen on the command line."""

import argparse
import io
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

from PIL import Image, ImageChops, ImageGrab

WIDTH, HEIGHT = 640, 480

# Main menu: five buttons, 300 x 50, tops 60 pixels apart.
MENU_LEFT, MENU_RIGHT = 100, 400
MENU_TOPS = (150, 210, 270, 330, 390)
MENU_HEIGHT = 50
MENU_NEWGAME, MENU_HIGHSCORES, MENU_INFO, MENU_CREDITS, MENU_QUIT = range(5)

# Game screen: 30 x 20 tiles of 20 pixels below an 80-pixel strip.
COLUMNS, ROWS, TILE, FIELD_TOP = 30, 20, 20, 80
EMPTY, BLACK, WHITE, GREY = -1, 0, 1, 2
BACKGROUND = (0, 32, 0)
# Mean brightness of each kind of tile; a read tile must lie near one.
TILE_BRIGHTNESS = {EMPTY: 11, BLACK: 63, GREY: 124, WHITE: 202}
TILE_TOLERANCE = 16

# Where the crosshair rests while the picture is read: right of the field,
# over no button.
PARK = (625, 240)

# High-score screen.
SCORE_ROW_TOP, SCORE_ROW_STEP = 175, 25
PLACE_COLUMN = (20, 120)
NAME_COLUMN = (120, 220)
SCORE_COLUMN = (220, 330)
BACK_BUTTON = (550, 360)

CAPTION_COLOUR_MAX = (40, 40)  # red and green of the dialog caption bar
CAPTION_BLUE_MIN = 100


class Failure(AssertionError):
    """A check of the end-to-end test failed."""


def check(condition, message):
    if not condition:
        raise Failure(message)


def mean_rgb(image, box):
    """Mean colour of a rectangle (left, top, right, bottom)."""
    pixel = image.crop(box).resize((1, 1), Image.BOX).getpixel((0, 0))
    return pixel[:3]


def brightness(rgb):
    return sum(rgb) / 3.0


def red_excess(image, box):
    r, _, b = mean_rgb(image, box)
    return r - b


def menu_box(index):
    top = MENU_TOPS[index]
    return (MENU_LEFT, top, MENU_RIGHT, top + MENU_HEIGHT)


def menu_centre(index):
    return ((MENU_LEFT + MENU_RIGHT) // 2, MENU_TOPS[index] + MENU_HEIGHT // 2)


def hot_menu_items(image):
    """Indices of main-menu buttons drawn with their (red) hot image."""
    return [i for i in range(5) if red_excess(image, menu_box(i)) > 50]


def is_main_menu(image):
    """All five buttons are drawn and exactly one is highlighted."""
    drawn = all(brightness(mean_rgb(image, menu_box(i))) > 40 for i in range(5))
    return drawn and len(hot_menu_items(image)) == 1


def is_game_screen(image):
    return mean_rgb(image, (605, 60, 640, 230)) == BACKGROUND


CREDITS_BOX = (100, 100, 445, 304)
HIGHSCORES_TITLE_BOX = (170, 25, 470, 75)
BACK_BOX = (500, 340, 600, 380)


def dark(image, box):
    return brightness(mean_rgb(image, box)) < 4


def lit(image, box):
    return brightness(mean_rgb(image, box)) > 15


def is_credits(image):
    return lit(image, CREDITS_BOX) and dark(image, (0, 0, 640, 95)) and dark(image, menu_box(4))


def is_highscores(image):
    return lit(image, HIGHSCORES_TITLE_BOX) and lit(image, BACK_BOX) and dark(image, (100, 90, 480, 160))


def red_text_box(image, box):
    """Bounding box of the red text pixels inside box, or None."""
    r, g, b = image.crop(box).split()
    red = r.point(lambda v: 255 if v > 150 else 0)
    no_green = g.point(lambda v: 255 if v < 90 else 0)
    return ImageChops.multiply(red, no_green).getbbox()


def score_row(place):
    top = SCORE_ROW_TOP + SCORE_ROW_STEP * (place - 1)
    return top, top + SCORE_ROW_STEP


def caption_bars(image):
    """Caption bars of the dialogs shown, top to bottom, as boxes."""
    r, g, b = image.convert("RGB").split()
    low_r = r.point(lambda v: 255 if v < CAPTION_COLOUR_MAX[0] else 0)
    low_g = g.point(lambda v: 255 if v < CAPTION_COLOUR_MAX[1] else 0)
    high_b = b.point(lambda v: 255 if v > CAPTION_BLUE_MIN else 0)
    mask = ImageChops.multiply(ImageChops.multiply(low_r, low_g), high_b)
    if mask.getbbox() is None:
        return []
    bars = []
    for y in range(HEIGHT):
        box = mask.crop((0, y, WIDTH, y + 1)).getbbox()
        if box is None or box[2] - box[0] < 150:
            continue
        left, right = box[0], box[2]
        if bars and bars[-1][3] == y and abs(bars[-1][0] - left) <= 2:
            bars[-1][3] = y + 1
        else:
            bars.append([left, y, right, y + 1])
    return [tuple(bar) for bar in bars if bar[3] - bar[1] >= 10]


# Widths of the caption bars in pixels, by dialog (1.5 pixels per unit).
DIALOG_WIDTHS = {"message": 396, "about": 375, "controls": 348, "name": 300}


def dialog_kinds(image):
    kinds = []
    for width in (bar[2] - bar[0] for bar in caption_bars(image)):
        best = min(DIALOG_WIDTHS, key=lambda k: abs(DIALOG_WIDTHS[k] - width))
        kinds.append(best if abs(DIALOG_WIDTHS[best] - width) <= 12 else "unknown(%d)" % width)
    return kinds


def box_picture(image):
    """The top of the first dialog: its caption and text."""
    bar = caption_bars(image)[0]
    return image.crop((bar[0], bar[1], bar[2], min(HEIGHT, bar[1] + 110))).tobytes()


def check_table_drawn(image, table):
    """Every row of the table drawn, nothing below it, and two rows' places,
    names or scores drawn alike exactly where they are equal."""
    rows = [(place,) + tuple(line) for place, line in enumerate(table, 1)]
    crops = [[], [], []]
    for place in range(1, 11):
        top, bottom = score_row(place)
        for column, (left, right) in enumerate((PLACE_COLUMN, NAME_COLUMN, SCORE_COLUMN)):
            box = (left, top, right, bottom)
            check(red_text_box(image, box) is not None, "nothing drawn in row %d" % place)
            crops[column].append(image.crop(box).tobytes())
    top, bottom = score_row(11)
    check(red_text_box(image, (0, top, 480, bottom)) is None, "text drawn below place 10")
    for column in range(3):
        for row in range(10):
            for other in range(row + 1, 10):
                same = rows[row][column] == rows[other][column]
                check((crops[column][row] == crops[column][other]) == same,
                      "rows %d and %d of %s are drawn wrongly" % (row + 1, other + 1, table))


def read_field(image):
    """The field as columns of 20 cells (top to bottom), or None when a tile
    matches no stone and no background (a dialog or the crosshair over it)."""
    tiles = image.crop((0, FIELD_TOP, COLUMNS * TILE, HEIGHT)).resize((COLUMNS, ROWS), Image.BOX)
    field = []
    for column in range(COLUMNS):
        cells = []
        for row in range(ROWS):
            rgb = tiles.getpixel((column, row))[:3]
            value = brightness(rgb)
            kind = min(TILE_BRIGHTNESS, key=lambda k: abs(TILE_BRIGHTNESS[k] - value))
            if abs(TILE_BRIGHTNESS[kind] - value) > TILE_TOLERANCE:
                return None
            if kind == EMPTY and rgb != BACKGROUND:
                return None
            cells.append(kind)
        field.append(cells)
    return field


def groups(field):
    """Every group of two or more equal stones, as lists of (column, row)."""
    seen = set()
    found = []
    for column in range(COLUMNS):
        for row in range(ROWS):
            colour = field[column][row]
            if colour == EMPTY or (column, row) in seen:
                continue
            group, todo = [], [(column, row)]
            seen.add((column, row))
            while todo:
                c, r = todo.pop()
                group.append((c, r))
                for nc, nr in ((c, r - 1), (c, r + 1), (c - 1, r), (c + 1, r)):
                    if 0 <= nc < COLUMNS and 0 <= nr < ROWS and (nc, nr) not in seen \
                            and field[nc][nr] == colour:
                        seen.add((nc, nr))
                        todo.append((nc, nr))
            if len(group) >= 2:
                found.append(group)
    return found


def settled(field):
    """The field after its stones have fallen and its columns closed up."""
    columns = []
    for cells in field:
        stones = [cell for cell in cells if cell != EMPTY]
        if stones:
            columns.append([EMPTY] * (ROWS - len(stones)) + stones)
    while len(columns) < COLUMNS:
        columns.append([EMPTY] * ROWS)
    return columns


def without(field, group):
    result = [list(cells) for cells in field]
    for column, row in group:
        result[column][row] = EMPTY
    return result


def count_stones(field):
    return sum(cell != EMPTY for cells in field for cell in cells)


def tile_centre(column, row):
    return (column * TILE + TILE // 2, FIELD_TOP + row * TILE + TILE // 2)


def encode_highscores(table):
    """The bytes of "highscore.sav" for ten (name, score) lines."""
    data = b""
    for name, score in table:
        raw = name.encode("cp1252")
        check(len(raw) < 255, "long names are not needed here")
        data += struct.pack("<i", score) + bytes([len(raw)]) + raw
    return data


DEFAULT_TABLE = [("CPU", 37000 - 2000 * place) for place in range(10)]


def describe(field):
    symbols = {EMPTY: ".", BLACK: "B", WHITE: "W", GREY: "G"}
    return "\n".join("".join(symbols[field[c][r]] for c in range(COLUMNS)) for r in range(ROWS))


class Session:
    """Xvfb plus the game in a fresh working directory. Use as a context
    manager: both processes are always killed on leaving it."""

    def __init__(self, args, name, with_sounds=True, highscores=None, prepare=None,
                 audio_driver="dummy", parent=None, options=()):
        """prepare(workdir) may change the folder before the start;
        audio_driver=None leaves SDL to choose; parent is where the working
        directory is made; options go on the game's command line."""
        self.game = args.game
        self.options = list(options)
        self.sounds = args.sounds if with_sounds else None
        self.out_dir = args.out
        self.name = name
        self.highscores = highscores
        self.prepare = prepare
        self.audio_driver = audio_driver
        self.parent = parent
        self.xvfb = None
        self.process = None
        self.workdir = None
        self.log = None
        self.grab = True

    def __enter__(self):
        self.workdir = tempfile.mkdtemp(prefix="tz-e2e-", dir=self.parent)
        try:
            if self.sounds is not None:
                shutil.copytree(self.sounds, self.path("Sounds"))
            if self.highscores is not None:
                with open(self.path("highscore.sav"), "wb") as f:
                    f.write(self.highscores)
            if self.prepare is not None:
                self.prepare(self.workdir)
            self._start_xvfb()
            self.env = dict(os.environ, DISPLAY=self.display)
            self.env.pop("SDL_VIDEODRIVER", None)
            self.env.pop("SDL_AUDIODRIVER", None)
            if self.audio_driver is not None:
                self.env["SDL_AUDIODRIVER"] = self.audio_driver
            # The player's own settings stay out of it.
            self.env["XDG_CONFIG_HOME"] = self.path("config")
            # Rest the pointer away from every button before the game starts.
            self.xdotool("mousemove", *PARK)
            self.log = open(self.path("game.log"), "wb")
            self.process = subprocess.Popen([self.game] + self.options, cwd=self.workdir, env=self.env,
                                            stdout=self.log, stderr=subprocess.STDOUT,
                                            start_new_session=True)
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self
    def _start_xvfb(self):
        # Xvfb picks a free display itself and tells its number through a pipe.
        read_end, write_end = os.pipe()
        try:
            self.xvfb = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (WIDTH, HEIGHT),
                 "-nolisten", "tcp", "-noreset"],
                pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                start_new_session=True)
            os.close(write_end)
            write_end = None
            number = b""
            deadline = time.monotonic() + 20
            while not number.endswith(b"\n"):
                check(time.monotonic() < deadline, "Xvfb did not start")
                chunk = os.read(read_end, 16)
                check(chunk, "Xvfb ended before it gave its display")
                number += chunk
            self.display = ":" + number.decode().strip()
        finally:
            os.close(read_end)
            if write_end is not None:
                os.close(write_end)

    def __exit__(self, kind, value, trace):
        for attribute in ("process", "xvfb"):
            process = getattr(self, attribute)
            if process is None:
                continue
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait(timeout=5)
            setattr(self, attribute, None)
        if self.log is not None:
            self.log.close()
            if kind is not None:
                with open(self.path("game.log"), "rb") as f:
                    text = f.read().decode(errors="replace").strip()
                if text:
                    print("game output:\n" + text)
        if self.workdir is not None:
            shutil.rmtree(self.workdir, ignore_errors=True)
        return False

    def path(self, name):
        return os.path.join(self.workdir, name)

    # --- input -------------------------------------------------------------

    def xdotool(self, *args):
        return subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, check=True,
                              capture_output=True, text=True, timeout=10).stdout

    def search(self, *args):
        """Windows found by xdotool search."""
        return self.xdotool("search", "--sync", *args).split()

    def game_window(self):
        found = self.search("--pid", self.process.pid)
        check(len(found) == 1, "game windows: %s" % found)
        return int(found[0])

    def move(self, x, y):
        self.xdotool("mousemove", x, y)

    def click(self, x, y, park=True):
        """Left click at (x, y). The game reads the cursor when it handles the
        click, so the pointer stays until the click has had time to land."""
        if park:
            self.xdotool("mousemove", x, y, "click", 1, "sleep", 0.1, "mousemove", *PARK)
        else:
            self.xdotool("mousemove", x, y, "click", 1)

    def key(self, *keys):
        for key in keys:
            self.xdotool("key", key)
            time.sleep(0.05)

    def type(self, text):
        self.xdotool("type", "--delay", 60, text)

    # --- the picture ---------------------------------------------------------

    def screenshot(self):
        # Grabbing in this process is about twice as fast as running import.
        if self.grab:
            try:
                return ImageGrab.grab(xdisplay=self.display).convert("RGB")
            except OSError:
                self.grab = False
        data = subprocess.run(["import", "-display", self.display, "-window", "root",
                               "-depth", "8", "ppm:-"],
                              check=True, capture_output=True, timeout=20).stdout
        return Image.open(io.BytesIO(data)).convert("RGB")

    def save(self, image, name):
        os.makedirs(self.out_dir, exist_ok=True)
        image.save(os.path.join(self.out_dir, name))

    def check_running(self):
        if self.process.poll() is not None:
            raise Failure("the game ended unexpectedly with code %s" % self.process.returncode)

    def wait_for(self, predicate, what, timeout=10.0):
        """Screenshots until predicate(image) holds; returns that image."""
        deadline = time.monotonic() + timeout
        image = None
        while time.monotonic() < deadline:
            self.check_running()
            image = self.screenshot()
            if predicate(image):
                return image
            time.sleep(0.05)
        if image is not None:
            self.save(image, "failed-%s.png" % self.name)
        raise Failure("timed out waiting for %s" % what)

    def settle(self, timeout=10.0):
        """Waits until three screenshots in a row agree."""
        deadline = time.monotonic() + timeout
        previous, same = None, 0
        while time.monotonic() < deadline:
            self.check_running()
            image = self.screenshot()
            if previous is not None and ImageChops.difference(image, previous).getbbox() is None:
                same += 1
                if same >= 2:
                    return image
            else:
                same = 0
            previous = image
            time.sleep(0.06)
        raise Failure("the picture did not settle within %.0f s" % timeout)

    def wait_dialogs(self, kinds, timeout=10.0):
        """Waits until exactly these dialogs are shown, bottom one first."""
        return self.wait_for(lambda image: dialog_kinds(image) == list(kinds),
                             "dialogs %s" % (kinds,), timeout)

    def next_dialog(self, previous=None, timeout=15.0):
        """The picture of the next single dialog, once it reads the same twice
        and differs from the previous one; None when the game has ended instead."""
        deadline = time.monotonic() + timeout
        last = None
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                return None
            image = self.screenshot()
            if len(caption_bars(image)) == 1:
                picture = box_picture(image)
                if picture == last and (previous is None or picture != box_picture(previous)):
                    return image
                last = picture
            else:
                last = None
            time.sleep(0.05)
        raise Failure("neither a new dialog nor the end within %.0f s" % timeout)

    def wait_screen(self, predicate, what):
        """Parks the pointer and waits for a screen with no dialog over it."""
        self.move(*PARK)
        return self.wait_for(lambda image: predicate(image) and not caption_bars(image), what)

    def wait_exit(self, timeout=10.0, expected=0):
        try:
            code = self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the game did not end within %.0f s" % timeout)
        check(expected is None or code == expected, "the game ended with code %d" % code)

    def quit_from_menu(self):
        """The regular end: Escape shows the credits, Enter ends the game."""
        self.key("Escape")
        self.wait_for(is_credits, "the credits before the end")
        self.key("Return")

    def highscore_file(self):
        check(os.path.exists(self.path("highscore.sav")), "highscore.sav was not written")
        with open(self.path("highscore.sav"), "rb") as f:
            return f.read()

    def new_game(self, menu=is_main_menu):
        """From the start to a new game's settled field; returns a bot and it."""
        self.wait_for(menu, "the main menu", timeout=15)
        self.click(*menu_centre(MENU_NEWGAME))
        bot = Bot(self)
        return bot, bot.read_settled_field()


class Bot:
    """Reads the field from screenshots and shoots its largest group."""

    def __init__(self, session):
        self.session = session
        self.shots = 0

    def read_settled_field(self):
        """The field once the game screen stands still."""
        self.session.wait_for(is_game_screen, "the game screen")
        image = self.session.settle()
        check(not caption_bars(image), "a dialog opened during the game")
        field = read_field(image)
        check(field is not None, "the field cannot be read")
        return field

    def after_shot(self, before, expected, timeout=10.0):
        """Waits for the shot's outcome: 'settled' when the field reads as
        expected (a settled field no longer changes, so once is enough),
        'dialog' when the end of the game opened one, 'unchanged' when the
        shot did not land."""
        deadline = time.monotonic() + timeout
        last, since = None, time.monotonic()
        while time.monotonic() < deadline:
            self.session.check_running()
            image = self.session.screenshot()
            if caption_bars(image):
                return "dialog", image
            field = read_field(image)
            if field is not None and field == expected:
                return "settled", image
            if field is None or field != last:
                last, since = field, time.monotonic()
            elif time.monotonic() - since > 1.5:
                # The picture stands, but not as expected.
                if field == before:
                    return "unchanged", image
                self.session.save(image, "failed-%s.png" % self.session.name)
                raise Failure("after a shot the field reads\n%s\nbut should be\n%s"
                              % (describe(field), describe(expected)))
        raise Failure("no outcome of the shot within %.0f s" % timeout)

    def shoot(self, field):
        """Shoots the largest group; returns the outcome, its picture, the
        field the shot must leave and the group's size."""
        group = max(groups(field), key=len)
        expected = settled(without(field, group))
        for _ in range(2):
            self.session.click(*tile_centre(*group[0]))
            outcome, image = self.after_shot(field, expected)
            if outcome != "unchanged":
                break
        check(outcome != "unchanged", "a shot at %s did not land" % (group[0],))
        self.shots += 1
        return outcome, image, expected, len(group)


def main(cases):
    """Runs the case chosen with --case, {name: (function(args), seconds)};
    a case returns 77 when it cannot be set up here."""
    parser = argparse.ArgumentParser()
    for option in ("--game", "--sounds", "--out", "--case"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    run, seconds = cases[args.case]
    start = time.monotonic()

    # Bounds the whole case; raised in the main thread, so the session's
    # clean-up still runs.
    def expire(signum, frame):
        raise Failure("the test ran longer than %d s" % seconds)
    signal.signal(signal.SIGALRM, expire)
    signal.alarm(seconds)
    code = run(args) or 0
    signal.alarm(0)
    if code == 0:
        print("%s passed in %.1f s" % (args.case, time.monotonic() - start))
    sys.exit(code)
