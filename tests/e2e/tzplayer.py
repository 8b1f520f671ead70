# Driver of the end-to-end tests: the real game in a private Xvfb, driven with
# xdotool and read from screenshots.
#
# A case is a function case_<name>(args) in a script that ends with
# tz.main(globals(), seconds), listed in CMakeLists.txt as script/name; it
# returns 77 when it cannot be set up here. A typical one:
#
#     with tz.Session(args, "name", scores=tz.encode(TABLE)) as s:
#         field = s.new_game()        # the field as columns of cells
#         field = s.shoot(field)[0]   # the largest group; the field checked
#         s.key("Escape"); s.wait_dialogs(["message"]); s.key("j")
#         s.wait_screen(tz.is_main_menu, "the menu")
#         s.quit(); s.wait_exit()
#         tz.check(s.scores() == tz.encode(TABLE), "highscore.sav changed")
#
# Session(args, name, sounds=True, scores=None, prepare=None, audio="dummy",
# parent=None, screen=(640, 480), options=(), user=None): scores are the bytes
# of "highscore.sav", prepare(workdir) runs before the start, audio=None lets
# SDL choose, options go to the game's command line, user is a user id the game
# runs as (through setpriv); s.path(), s.env and s.display reach the game's
# folder and X server, s.command(...) is the game's command line as that user. On a screen larger than the picture,
# screenshots are the picture where the game shows it, brought back to
# 640 x 480, and s.at(x, y) is the screen point of a picture point. Input: s.click(x, y), s.move(x, y),
# s.key("Return"), s.type("text"), s.xdotool(...). s.wait_for(predicate, what, timeout=10,
# still=False) returns the first picture the predicate accepts (with still,
# once it has stood for three shots): is_main_menu, is_game_screen,
# is_credits, is_highscores, or any function of a PIL image. Dialogs are told
# by dialog_kinds(image): "message", "about", "controls", "name";
# s.next_dialog() and s.confirm_all() step through message boxes.
#
# Waiting, reading and shooting live in Player, which knows nothing of X: the
# browser's suite (tests/web) drives the same game through it.

import argparse
import functools
import itertools
import os
import pathlib
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

from PIL import Image, ImageChops, ImageGrab

WIDTH, HEIGHT = 640, 480
MENU_TOPS = (150, 210, 270, 330, 390)  # five 300 x 50 buttons from x = 100
MENU_NEWGAME, MENU_HIGHSCORES, MENU_INFO, MENU_CREDITS, MENU_QUIT = range(5)
COLUMNS, ROWS, TILE, FIELD_TOP = 30, 20, 20, 80
EMPTY, BLACK, WHITE, GREY = -1, 0, 1, 2
BACKGROUND = (0, 32, 0)
TILE_BRIGHTNESS = {EMPTY: 11, BLACK: 63, GREY: 124, WHITE: 202}  # a tile read lies within 16
PARK = (625, 240)  # right of the field, over no button
BACK_BUTTON, RESET_BUTTON = (550, 360), (550, 260)
DIALOG_WIDTHS = {"message": 396, "about": 375, "controls": 348, "name": 300}
DEFAULT_TABLE = [("CPU", 37000 - 2000 * place) for place in range(10)]


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def mean_rgb(image, box):
    return image.crop(box).resize((1, 1), Image.BOX).getpixel((0, 0))[:3]


def lit(image, box, above=15):
    return sum(mean_rgb(image, box)) / 3 > above


def dark(image, box):
    return not lit(image, box, 4)


def mask(image, *tests):
    # White where every band passes its test (None passes all).
    bands = [band.point(lambda v, t=t: 255 if t(v) else 0)
             for band, t in zip(image.convert("RGB").split(), tests) if t]
    return functools.reduce(ImageChops.multiply, bands)


def menu_box(index):
    return (100, MENU_TOPS[index], 400, MENU_TOPS[index] + 50)


def menu_centre(index):
    return (250, MENU_TOPS[index] + 25)


def hot_menu_items(image):
    # Main-menu buttons drawn with their red hot image.
    return [i for i, (r, _, b) in enumerate(mean_rgb(image, menu_box(i)) for i in range(5)) if r - b > 50]


def is_main_menu(image):
    return all(lit(image, menu_box(i), 40) for i in range(5)) and len(hot_menu_items(image)) == 1


def is_game_screen(image):
    return mean_rgb(image, (605, 60, 640, 230)) == BACKGROUND


def is_credits(image):
    return lit(image, (100, 100, 445, 304)) and dark(image, (0, 0, 640, 95)) and dark(image, menu_box(4))


def is_highscores(image):
    return lit(image, (170, 25, 470, 75)) and lit(image, (500, 340, 600, 380)) and dark(image, (100, 90, 480, 160))


def caption_bars(image):
    # Caption bars of the dialogs shown, top to bottom, as [left, top, right, bottom].
    blue = mask(image, lambda v: v < 40, lambda v: v < 40, lambda v: v > 100)
    bars = []
    for y in range(HEIGHT if blue.getbbox() else 0):
        box = blue.crop((0, y, WIDTH, y + 1)).getbbox()
        if box and box[2] - box[0] >= 150:
            if bars and bars[-1][3] == y and abs(bars[-1][0] - box[0]) <= 2:
                bars[-1][3] = y + 1
            else:
                bars.append([box[0], y, box[2], y + 1])
    return [bar for bar in bars if bar[3] - bar[1] >= 10]


def dialog_kinds(image):
    # The dialogs shown, bottom one first, told apart by width.
    kinds = []
    for width in (right - left for left, _, right, _ in caption_bars(image)):
        best = min(DIALOG_WIDTHS, key=lambda k: abs(DIALOG_WIDTHS[k] - width))
        kinds.append(best if abs(DIALOG_WIDTHS[best] - width) <= 12 else "unknown(%d)" % width)
    return kinds


def box_picture(image):
    # The caption and text of the first dialog.
    left, top, right, _ = caption_bars(image)[0]
    return image.crop((left, top, right, min(HEIGHT, top + 110))).tobytes()


def read_field(image):
    # The field as columns of cells, top to bottom, or None when a tile is
    # neither a stone nor the background (a dialog or the crosshair over it).
    tiles = image.crop((0, FIELD_TOP, COLUMNS * TILE, HEIGHT)).resize((COLUMNS, ROWS), Image.BOX)
    field = [[None] * ROWS for _ in range(COLUMNS)]
    for column, row in itertools.product(range(COLUMNS), range(ROWS)):
        rgb = tiles.getpixel((column, row))[:3]
        kind = min(TILE_BRIGHTNESS, key=lambda k: abs(TILE_BRIGHTNESS[k] - sum(rgb) / 3))
        if abs(TILE_BRIGHTNESS[kind] - sum(rgb) / 3) > 16 or (kind == EMPTY and rgb != BACKGROUND):
            return None
        field[column][row] = kind
    return field


def groups(field):
    # Every group of two or more equal stones, as lists of (column, row).
    seen, found = set(), []
    for start in itertools.product(range(COLUMNS), range(ROWS)):
        colour = field[start[0]][start[1]]
        if colour == EMPTY or start in seen:
            continue
        group, todo = [], [start]
        seen.add(start)
        while todo:
            c, r = todo.pop()
            group.append((c, r))
            for n in ((c, r - 1), (c, r + 1), (c - 1, r), (c + 1, r)):
                if 0 <= n[0] < COLUMNS and 0 <= n[1] < ROWS and n not in seen and field[n[0]][n[1]] == colour:
                    seen.add(n)
                    todo.append(n)
        if len(group) > 1:
            found.append(group)
    return found


def without(field, group):
    # The field once the group is gone, stones have fallen and columns closed up.
    gone = set(group)
    columns = [[cell for row, cell in enumerate(cells) if cell != EMPTY and (column, row) not in gone]
               for column, cells in enumerate(field)]
    columns = [[EMPTY] * (ROWS - len(stones)) + stones for stones in columns if stones]
    return columns + [[EMPTY] * ROWS for _ in range(COLUMNS - len(columns))]


def count_stones(field):
    return sum(cell != EMPTY for cells in field for cell in cells)


def fitted(left, top, width, height):
    # Where the picture stands in an area: as large as fits, aspect kept, centred.
    scale = min(width / WIDTH, height / HEIGHT)
    shown = (round(WIDTH * scale), round(HEIGHT * scale))
    left, top = left + (width - shown[0]) // 2, top + (height - shown[1]) // 2
    return (left, top, left + shown[0], top + shown[1])


def aim_keys(column, row):
    # The arrows that take the pointer from PARK to a cell. It rests right of
    # the field, beside a row: the arrows go on from the last column's cell there.
    start_row = (PARK[1] - FIELD_TOP) // TILE
    keys = ["Down", "Up"] + ["Left"] * (COLUMNS - 1 - column)
    return keys + ["Down" if row > start_row else "Up"] * abs(row - start_row)


def encode(table):
    # The bytes of "highscore.sav" for ten (name, score) lines with short names.
    return b"".join(struct.pack("<iB", score, len(name)) + name.encode("cp1252") for name, score in table)


class Player:
    # Waiting for screens and dialogs and shots checked against the rules, for
    # any driver that gives screenshot(), click(x, y, park=True), move(x, y),
    # key(*keys), type(text), check_running(), ended(), picture_box() and
    # self.args, self.name.

    def at(self, x, y, box=None):
        # The point of the area (screen or page) that shows picture point x, y.
        left, top, right, bottom = box or self.picture_box()
        return (left + (2 * x + 1) * (right - left) // (2 * WIDTH), top + (2 * y + 1) * (bottom - top) // (2 * HEIGHT))

    def wait_for(self, predicate, what, timeout=10, still=False):
        # Screenshots until predicate(picture) holds, and with still until the
        # picture has stood for three shots; returns that picture.
        deadline, last, same = time.monotonic() + timeout, None, 0
        while time.monotonic() < deadline:
            self.check_running()
            image = self.screenshot()
            same = same + 1 if still and last and not ImageChops.difference(image, last).getbbox() else 0
            if predicate(image) and (not still or same >= 2):
                return image
            last = image
            time.sleep(0.05)
        if last:
            last.save(os.path.join(self.args.out, "failed-%s.png" % self.name))
        raise AssertionError("timed out waiting for %s" % what)

    def wait_dialogs(self, kinds):
        # Until exactly these dialogs are shown, bottom one first.
        return self.wait_for(lambda image: dialog_kinds(image) == kinds, "dialogs %s" % kinds)

    def wait_screen(self, predicate, what, still=False):
        # Parks the pointer and waits for the screen with no dialog over it.
        self.move(*PARK)
        return self.wait_for(lambda image: predicate(image) and not caption_bars(image), what, still=still)

    def next_dialog(self, previous=None, timeout=15):
        # The next single dialog once it reads the same twice and differs from
        # previous; None when the game ends instead.
        deadline, last = time.monotonic() + timeout, None
        old = previous and box_picture(previous)
        while time.monotonic() < deadline:
            if self.ended():
                return None
            image = self.screenshot()
            picture = box_picture(image) if len(caption_bars(image)) == 1 else None
            if picture and picture == last and picture != old:
                return image
            last = picture
            time.sleep(0.05)
        raise AssertionError("neither a new dialog nor the end within %d s" % timeout)

    def confirm_all(self, limit=8):
        # Answers each message box with Enter until the game ends; returns their pictures.
        boxes = []
        while True:
            image = self.next_dialog(boxes[-1] if boxes else None)
            if image is None:
                return boxes
            check(len(boxes) < limit, "more than %d message boxes" % limit)
            boxes.append(image)
            self.key("Return")

    def quit(self):
        # The regular end: Escape shows the credits, Enter ends the game.
        self.key("Escape")
        self.wait_for(is_credits, "the credits before the end")
        self.key("Return")

    def new_game(self, menu=is_main_menu):
        self.wait_for(menu, "the main menu", timeout=15)
        self.click(*menu_centre(MENU_NEWGAME))
        return self.read_field()

    def read_field(self):
        # The field once the game screen stands still.
        image = self.wait_for(is_game_screen, "the game screen", timeout=15, still=True)
        check(not caption_bars(image), "a dialog opened during the game")
        field = read_field(image)
        check(field is not None, "the field cannot be read")
        return field

    def shoot(self, field):
        # Shoots the largest group; returns the field it left, the group's size
        # and the picture after it (with a dialog when the game ended).
        group = max(groups(field), key=len)
        expected = without(field, group)
        for _ in range(2):  # a click lost on the way is tried once more
            self.click(group[0][0] * TILE + TILE // 2, FIELD_TOP + group[0][1] * TILE + TILE // 2)
            outcome, image = self.outcome(field, expected)
            check(outcome != "dialog" or not groups(expected), "the game ended although moves were left")
            if outcome != "unchanged":
                return expected, len(group), image
        raise AssertionError("a shot at %s did not land" % (group[0],))

    def shoot_by_keys(self, field, aimed=lambda centre: None):
        # Aims at the largest group with the arrows and shoots it with Space;
        # aimed(centre) may check the pointer first. Returns the field it left.
        group = max(groups(field), key=len)
        column, row = group[0]
        self.key(*aim_keys(column, row))
        aimed((column * TILE + TILE // 2, FIELD_TOP + row * TILE + TILE // 2))
        # The crosshair hides the stones under it: parked again once the shot is in.
        self.key("space")
        time.sleep(0.2)
        self.move(*PARK)
        expected = without(field, group)
        check(self.outcome(field, expected)[0] != "unchanged", "Space did not shoot")
        return expected

    def outcome(self, before, expected, timeout=10):
        # A settled field no longer changes, so reading it once is enough; a
        # picture standing 1.5 s as neither field is wrong.
        deadline, last, since = time.monotonic() + timeout, None, time.monotonic()
        while time.monotonic() < deadline:
            self.check_running()
            image = self.screenshot()
            field = read_field(image)
            if caption_bars(image) or field == expected:
                return ("dialog" if caption_bars(image) else "settled"), image
            if field is None or field != last:
                last, since = field, time.monotonic()
            elif time.monotonic() - since > 1.5:
                if field == before:
                    return "unchanged", image
                image.save(os.path.join(self.args.out, "failed-%s.png" % self.name))
                raise AssertionError("after a shot the field is not as expected (failed-%s.png)" % self.name)
        raise AssertionError("no outcome of the shot within %d s" % timeout)


class Session(Player):
    # Xvfb plus the game in a fresh folder; leaving the context kills both.

    def __init__(self, args, name, sounds=True, scores=None, prepare=None, audio="dummy", parent=None,
                 screen=(WIDTH, HEIGHT), options=(), user=None):
        self.args, self.name, self.screen, self.user = args, name, screen, user
        self.xvfb = self.process = None
        self.workdir = tempfile.mkdtemp(prefix="tz-e2e-", dir=parent)
        try:
            if sounds:
                shutil.copytree(args.sounds, self.path("Sounds"))
            if scores is not None:
                pathlib.Path(self.path("highscore.sav")).write_bytes(scores)
            if prepare:
                prepare(self.workdir)
            # Xvfb picks a free display itself and writes its number to the pipe.
            read_end, write_end = os.pipe()
            self.xvfb = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % screen,
                 "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL, start_new_session=True)
            os.close(write_end)
            with os.fdopen(read_end, "rb") as pipe:
                self.display = ":" + pipe.readline().decode().strip()
            check(self.display != ":", "Xvfb ended before it gave its display")
            self.env = {k: v for k, v in os.environ.items() if k not in ("SDL_VIDEODRIVER", "SDL_AUDIODRIVER")}
            # The player's own settings stay out of it; every mended frame is
            # checked against the same frame drawn whole, and a stale one ends the game.
            self.env.update(DISPLAY=self.display, XDG_CONFIG_HOME=self.path("config"), TZ_CHECK_MENDED_FRAMES="1",
                            **({"SDL_AUDIODRIVER": audio} if audio else {}))
            self.move(*PARK)
            self.log = open(self.path("game.log"), "wb")
            self.process = subprocess.Popen(self.command(*options), cwd=self.workdir, env=self.env, stdout=self.log,
                                            stderr=subprocess.STDOUT, start_new_session=True)
        except BaseException:
            self.__exit__(True, None, None)
            raise

    __enter__ = lambda self: self

    def __exit__(self, kind, value, trace):
        for process in filter(None, (self.process, self.xvfb)):
            process.terminate()
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()
        if self.process:
            self.log.close()
            if kind:
                print("game output:\n" + pathlib.Path(self.path("game.log")).read_text(errors="replace"))
        shutil.rmtree(self.workdir, ignore_errors=True)

    def command(self, *options):
        if self.user is None:
            return [self.args.game, *options]
        return ["setpriv", "--reuid=%d" % self.user, "--regid=%d" % self.user, "--clear-groups", "--",
                self.args.game, *options]

    def path(self, name):
        return os.path.join(self.workdir, name)

    def xdotool(self, *args):
        return subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, check=True,
                              capture_output=True, text=True, timeout=10).stdout

    def game_window(self):
        found = self.xdotool("search", "--sync", "--pid", self.process.pid).split()
        check(len(found) == 1, "game windows: %s" % found)
        return int(found[0])

    def move(self, x, y):
        self.xdotool("mousemove", x, y)

    def click(self, x, y, park=True):
        # The game reads the cursor when it handles the click, so the pointer
        # stays a moment before it is parked.
        self.xdotool("mousemove", x, y, "click", 1, *(("sleep", 0.1, "mousemove") + PARK if park else ()))

    def key(self, *keys):
        for key in keys:
            self.xdotool("key", key)
            time.sleep(0.05)

    def window_geometry(self):
        # The game window's left, top, width and height on the screen.
        text = subprocess.run(["xwininfo", "-id", str(self.game_window())], env=self.env, check=True,
                              capture_output=True, text=True, timeout=10).stdout
        return tuple(int(re.search(r"%s:\s+(-?\d+)" % key, text).group(1))
                     for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))

    def picture_box(self):
        return fitted(*self.window_geometry())

    def screenshot(self):
        image = ImageGrab.grab(xdisplay=self.display).convert("RGB")
        if self.screen == (WIDTH, HEIGHT):
            return image
        return image.crop(self.picture_box()).resize((WIDTH, HEIGHT), Image.BOX)

    def type(self, text):
        self.xdotool("type", "--delay", 60, text)

    def check_running(self):
        check(self.process.poll() is None, "the game ended unexpectedly with code %s" % self.process.returncode)

    def ended(self):
        return self.process.poll() is not None

    def wait_exit(self, timeout=10, code=0):
        result = self.process.wait(timeout=timeout)
        check(code is None or result == code, "the game ended with code %d" % result)

    def scores(self):
        return pathlib.Path(self.path("highscore.sav")).read_bytes()


def main(scope, seconds, options=("--game", "--sounds")):
    # Runs the case chosen with --case from the script's scope within seconds.
    parser = argparse.ArgumentParser()
    for option in options + ("--out", "--case"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    # Raised in the main thread, so the session still cleans up.
    signal.signal(signal.SIGALRM, lambda *_: check(False, "the test ran longer than %d s" % seconds))
    signal.alarm(seconds)
    sys.exit(scope["case_" + args.case](args) or 0)
