"""Plays the real game binary in a private X server: starts Xvfb and the game,
takes screenshots, reads the picture and drives mouse and keyboard."""

import io
import os
import shutil
import signal
import struct
import subprocess
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


def dialog_widths(image):
    return [bar[2] - bar[0] for bar in caption_bars(image)]


# Widths of the caption bars in pixels, by dialog (1.5 pixels per unit).
DIALOG_WIDTHS = {"message": 396, "about": 375, "controls": 348, "name": 300}


def dialog_kinds(image):
    kinds = []
    for width in dialog_widths(image):
        best = min(DIALOG_WIDTHS, key=lambda k: abs(DIALOG_WIDTHS[k] - width))
        kinds.append(best if abs(DIALOG_WIDTHS[best] - width) <= 12 else "unknown(%d)" % width)
    return kinds


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


def decode_highscores(data):
    table, offset = [], 0
    for _ in range(10):
        check(offset + 5 <= len(data), "high-score file ends early: %r" % data)
        score = struct.unpack_from("<i", data, offset)[0]
        length = data[offset + 4]
        check(length < 255, "unexpected long name prefix")
        name = data[offset + 5:offset + 5 + length].decode("cp1252")
        table.append((name, score))
        offset += 5 + length
    return table, offset


DEFAULT_TABLE = [("CPU", 37000 - 2000 * place) for place in range(10)]


class Session:
    """Xvfb plus the game in a fresh working directory. Use as a context
    manager: both processes are always killed on leaving it."""

    def __init__(self, game, sounds, out_dir, name, highscores=None, prepare=None,
                 audio_driver="dummy", parent=None):
        """sounds=None gives no "Sounds" folder; prepare(workdir) may change
        the folder before the start; audio_driver=None leaves SDL to choose;
        parent is where the working directory is made."""
        self.game = game
        self.sounds = sounds
        self.out_dir = out_dir
        self.name = name
        self.highscores = highscores
        self.prepare = prepare
        self.audio_driver = audio_driver
        self.parent = parent
        self.xvfb = None
        self.process = None
        self.display = None
        self.workdir = None
        self.log = None
        self.grab = True

    def __enter__(self):
        self.workdir = tempfile.mkdtemp(prefix="tz-e2e-", dir=self.parent)
        try:
            if self.sounds is not None:
                shutil.copytree(self.sounds, os.path.join(self.workdir, "Sounds"))
            if self.highscores is not None:
                with open(os.path.join(self.workdir, "highscore.sav"), "wb") as f:
                    f.write(self.highscores)
            if self.prepare is not None:
                self.prepare(self.workdir)
            self._start_xvfb()
            self.env = dict(os.environ, DISPLAY=self.display)
            self.env.pop("SDL_VIDEODRIVER", None)
            self.env.pop("SDL_AUDIODRIVER", None)
            if self.audio_driver is not None:
                self.env["SDL_AUDIODRIVER"] = self.audio_driver
            # Rest the pointer away from every button before the game starts.
            self.xdotool("mousemove", *PARK)
            self.log = open(os.path.join(self.workdir, "game.log"), "wb")
            self.process = subprocess.Popen([self.game], cwd=self.workdir, env=self.env,
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
                with open(os.path.join(self.workdir, "game.log"), "rb") as f:
                    text = f.read().decode(errors="replace").strip()
                if text:
                    print("game output:\n" + text)
        if self.workdir is not None:
            shutil.rmtree(self.workdir, ignore_errors=True)
        return False

    # --- input -------------------------------------------------------------

    def xdotool(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], env=dict(os.environ, DISPLAY=self.display),
                       check=True, timeout=10)

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
        path = os.path.join(self.out_dir, name)
        image.save(path)
        return path

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

    def settle(self, timeout=10.0, box=(0, 0, WIDTH, HEIGHT), stable=3):
        """Waits until `stable` consecutive screenshots agree within box."""
        deadline = time.monotonic() + timeout
        previous, same = None, 0
        while time.monotonic() < deadline:
            self.check_running()
            image = self.screenshot()
            crop = image.crop(box)
            if previous is not None and ImageChops.difference(crop, previous).getbbox() is None:
                same += 1
                if same >= stable - 1:
                    return image
            else:
                same = 0
            previous = crop
            time.sleep(0.06)
        raise Failure("the picture did not settle within %.0f s" % timeout)

    def wait_dialogs(self, kinds, timeout=10.0):
        """Waits until exactly these dialogs are shown, bottom one first."""
        return self.wait_for(lambda image: dialog_kinds(image) == list(kinds),
                             "dialogs %s" % (kinds,), timeout)

    def wait_exit(self, timeout=10.0):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the game did not end within %.0f s" % timeout)

    def highscore_file(self):
        path = os.path.join(self.workdir, "highscore.sav")
        check(os.path.exists(path), "highscore.sav was not written")
        with open(path, "rb") as f:
            return f.read()


class Deadline:
    """Bounds a whole test: raises Failure in the main thread when time is up,
    so that the session's clean-up still runs."""

    def __init__(self, seconds):
        self.seconds = seconds

    def __enter__(self):
        def expire(signum, frame):
            raise Failure("the test ran longer than %d s" % self.seconds)
        self.previous = signal.signal(signal.SIGALRM, expire)
        signal.alarm(self.seconds)
        return self

    def __exit__(self, kind, value, trace):
        signal.alarm(0)
        signal.signal(signal.SIGALRM, self.previous)
        return False
