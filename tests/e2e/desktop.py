# The real game as a desktop program: its window carries icon 128, Alt+Enter
# switches between full screen and a window and the choice is remembered, the
# command line and the settings file are answered without a display, and a shot
# is made with the keyboard alone (the arrows warp the real pointer, Space
# shoots there).

import os
import pathlib
import re
import shutil
import subprocess
import tempfile
import time

from PIL import Image

import tzplayer as tz

ICON = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "icon",
                    "icon128.bmp")


def case_icon(args):
    if shutil.which("xprop") is None:
        print("xprop is missing (install x11-utils)")
        return 77
    with tz.Session(args, "icon") as session:
        session.wait_for(tz.is_main_menu, "the main menu", timeout=15)
        text = subprocess.run(["xprop", "-id", str(session.game_window()), "-notype", "32c",
                               "_NET_WM_ICON"], env=session.env, capture_output=True, text=True,
                              timeout=10).stdout
        numbers = [int(n) for n in re.findall(r"\d+", text.partition("=")[2])]
        expected = Image.open(ICON).convert("RGB")
        tz.check(numbers[:2] == list(expected.size), "the window's icon: %s" % text[:80])
        pixels = numbers[2:]
        tz.check(len(pixels) == expected.width * expected.height, "the icon's pixels are cut short")
        for index, argb in enumerate(pixels):
            at = (index % expected.width, index // expected.width)
            rgb = ((argb >> 16) & 255, (argb >> 8) & 255, argb & 255)
            tz.check(not argb >> 24 or rgb == expected.getpixel(at), "icon pixel %s is %s" % (at, rgb))
        tz.check(len({argb >> 24 for argb in pixels}) > 1, "the icon has no transparent edge")


def crosshair(image):
    # The crosshair's centre where it stands right of the menu's buttons, or None.
    box = image.crop((410, 110, tz.WIDTH, tz.HEIGHT)).convert("L").point(lambda v: 255 if v > 40 else 0).getbbox()
    return box and (410 + (box[0] + box[2]) // 2, 110 + (box[1] + box[3]) // 2)


def case_screen_mode(args):
    # On a 1920 x 1080 screen with no window manager: full screen, a window of
    # twice the picture, full screen again, each shown whole at once with the
    # pointer read right; the crosshair goes where the pointer now lies on the
    # picture, the pointer stays put; Alt+Enter under a dialog does nothing;
    # the window chosen last is what the next start gets.
    if shutil.which("xwininfo") is None:
        print("xwininfo is missing (install x11-utils)")
        return 77
    full, window = (0, 0, 1920, 1080), (320, 60, 1280, 960)
    with tz.Session(args, "screen_mode", screen=(1920, 1080)) as session:

        def switch(expected):
            session.key("alt+Return")
            deadline = time.monotonic() + 5
            while session.window_geometry() != expected and time.monotonic() < deadline:
                time.sleep(0.05)
            tz.check(session.window_geometry() == expected, "the window is %s, not %s" %
                     (session.window_geometry(), expected))

        def hover(item):
            # The highlight follows the pointer, read through the new scale.
            session.xdotool("mousemove", *session.at(*tz.menu_centre(item)))
            session.wait_for(lambda image: tz.hot_menu_items(image) == [item], "item %d lit" % item)

        session.wait_for(tz.is_main_menu, "the main menu", timeout=15)
        tz.check(session.window_geometry() == full, "the first start is not full screen")

        def crosshair_at(x, y):
            return lambda image: (at := crosshair(image)) and abs(at[0] - x) <= 2 and abs(at[1] - y) <= 2

        # Picture pixel (498, 293) at 2.25 times full screen, (520, 300) in the window.
        pointer = (1361, 661)
        session.move(*pointer)
        session.wait_for(crosshair_at(498, 293), "the crosshair at the pointer")
        switch(window)
        session.wait_for(crosshair_at(520, 300), "the crosshair where the pointer now lies")
        where = session.xdotool("getmouselocation", "--shell")
        tz.check(tuple(int(re.search(axis + r"=(\d+)", where).group(1)) for axis in "XY") == pointer,
                 "the pointer moved: %s" % where)
        switch(full)
        for expected, item in ((window, tz.MENU_INFO), (full, tz.MENU_CREDITS), (window, tz.MENU_HIGHSCORES)):
            switch(expected)
            hover(item)
        session.key("F1")
        session.wait_dialogs(["about"])
        session.key("alt+Return")
        time.sleep(1)
        tz.check(session.window_geometry() == window, "Alt+Enter switched under a dialog")
        session.wait_dialogs(["about"])
        session.key("Escape")
        session.wait_for(tz.is_main_menu, "the menu after the dialog")
        session.quit()
        session.wait_exit()
        settings = pathlib.Path(session.path("config"), "tamzelon", "settings").read_text()
        tz.check("screen=window" in settings.split(), "the settings say: %r" % settings)


def case_keyboard(args):
    with tz.Session(args, "keyboard") as session:
        def pointer_at(centre):
            deadline = time.monotonic() + 5
            while True:
                where = session.xdotool("getmouselocation", "--shell")
                pointer = tuple(int(re.search(axis + r"=(\d+)", where).group(1)) for axis in "XY")
                if pointer == centre or time.monotonic() > deadline:
                    break
                time.sleep(0.05)
            tz.check(pointer == centre, "the arrows put the pointer at %s, not %s" % (pointer, centre))
        session.shoot_by_keys(session.new_game(), pointer_at)


def without_display(**variables):
    env = {key: value for key, value in os.environ.items() if key not in ("DISPLAY", "SDL_VIDEODRIVER")}
    env.update(variables)
    return env


def case_command_line(args):
    env = without_display()

    def run(*options):
        return subprocess.run([args.game, *options], env=env, capture_output=True, text=True,
                              timeout=20)
    answer = run("--help")
    tz.check(answer.returncode == 0 and not answer.stderr, "--help: %s" % (answer,))
    for word in ("--window", "--fullscreen", "--silent", "--version", "Space", "Escape", "F1"):
        tz.check(word in answer.stdout, "--help does not mention %s" % word)
    answer = run("--version")
    tz.check(answer.returncode == 0 and re.fullmatch(r"tamzelon \d+\.\d+\.\d+\n", answer.stdout),
             "--version: %s" % (answer,))
    answer = run("--bogus")
    tz.check(answer.returncode == 2 and not answer.stdout, "--bogus: %s" % (answer,))
    tz.check("--bogus" in answer.stderr and "Usage:" in answer.stderr, "--bogus: %s" % answer.stderr)
    # A wrong option is shown with what would steer the terminal escaped.
    answer = run("--bo\x1b]2;x\x07gus\x1b[2J")
    tz.check(answer.returncode == 2 and "--bo\\x1B]2;x\\x07gus\\x1B[2J\n" in answer.stderr and
             "\x1b" not in answer.stderr, "an escape sequence reached the terminal: %r" % answer.stderr)
    # An answer that cannot be written is a failure, and said so.
    for option in ("--help", "--version"):
        with open("/dev/full", "w") as full:
            answer = subprocess.run([args.game, option], env=env, stdout=full, stderr=subprocess.PIPE,
                                    text=True, timeout=20)
        tz.check(answer.returncode == 1 and "No space left" in answer.stderr, "%s into a full device: %s" %
                 (option, answer))


def case_settings_file(args):
    # Without a display the game ends with status 1, but a choice made on the
    # command line is remembered first: a link planted at "settings.tmp" is not
    # followed, a write-protected file is kept and told about, and noise in
    # the file costs one line on the terminal.
    work = tempfile.mkdtemp(prefix="tz-e2e-")
    try:
        folder = pathlib.Path(work, "config", "tamzelon")
        folder.mkdir(parents=True)
        settings, victim = folder / "settings", pathlib.Path(work, "victim")
        victim.write_bytes(b"keep")
        os.symlink(victim, str(settings) + ".tmp")
        env = without_display(XDG_CONFIG_HOME=os.path.join(work, "config"), SDL_AUDIODRIVER="dummy")

        def run(*options):
            answer = subprocess.run([args.game, *options], cwd=work, env=env, capture_output=True,
                                    timeout=30)
            tz.check(answer.returncode == 1 and b"DDERR_INVALIDMODE" in answer.stderr, "%s: %s" % (options, answer))
            return [line for line in answer.stderr.splitlines() if b"settings" in line]

        tz.check(not run("--window"), "a word about the settings")
        tz.check(victim.read_bytes() == b"keep" and not settings.is_symlink() and
                 b"screen=window" in settings.read_bytes(), "the link planted was followed")
        settings.chmod(0o444)
        told = run("--fullscreen")
        tz.check(len(told) == 1 and b"cannot write" in told[0] and b"screen=window" in settings.read_bytes(),
                 "a write-protected file: %s" % told)
        settings.chmod(0o644)
        settings.write_bytes(bytes(range(256)) * 6 + b"\x1b[2J\n" * 300)
        told = run()
        tz.check(len(told) == 1, "%d lines about the noise" % len(told))
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    tz.main(globals(), 90)
