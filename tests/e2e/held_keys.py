# Input that means what the player meant: a key held down (the X server's own
# repeat) acts where it was pressed and never in a question or a screen that
# came after it; keys during the intro never reach the menu; a burst of keys
# is handled one per frame; a resize maps the very next click anew.

import ctypes
import ctypes.util
import re
import time

import tzplayer as tz

LOW_TABLE = [("Erster", 1000000)] + [("CPU", score) for score in range(9, 0, -1)]
SMALL_BUTTON = (67, 20)  # the in-game "Neues Spiel"
HOLD = 1.5  # seconds: the repeat starts after 0.66 s, at 25 a second


def hold(session, key):
    session.xdotool("keydown", key, "sleep", HOLD, "keyup", key)


def question_stands(session):
    # One question left open after the key came up, and still open a moment later.
    session.wait_dialogs(["message"])
    time.sleep(0.5)
    tz.check(tz.dialog_kinds(session.screenshot()) == ["message"], "the question did not stay open")


def case_held_in_game(args):
    # Space held on the small button and Enter held anywhere each open the
    # question once; their repeats never answer it, and the game goes on.
    with tz.Session(args, "held_in_game") as session:
        field = session.new_game()
        for key, place in (("space", SMALL_BUTTON), ("Return", tz.PARK)):
            session.move(*place)
            hold(session, key)
            question_stands(session)
            session.key("n")
            tz.check(session.read_field() == field, "%s held replaced the game" % key)


def case_held_enter_menu(args):
    # Enter held in the menu chooses the highlighted Beenden once: the credits
    # stand until Enter is pressed again.
    with tz.Session(args, "held_enter_menu") as session:
        session.wait_for(tz.is_main_menu, "the main menu", timeout=15, still=True)
        hold(session, "Return")
        session.wait_for(tz.is_credits, "the credits")
        time.sleep(0.5)
        session.check_running()
        tz.check(tz.is_credits(session.screenshot()), "the credits did not stay")
        session.key("Return")
        session.wait_exit()


def case_held_alt_enter(args):
    # Held, Alt+Enter switches to a window once and stays there.
    full, window = (0, 0, 1920, 1080), (320, 60, 1280, 960)
    with tz.Session(args, "held_alt_enter", screen=(1920, 1080)) as session:
        session.wait_for(tz.is_main_menu, "the main menu", timeout=15, still=True)
        seen = [session.window_geometry()]
        session.xdotool("keydown", "alt+Return")
        deadline = time.monotonic() + HOLD
        while time.monotonic() < deadline:
            seen.append(session.window_geometry())
            time.sleep(0.05)
        session.xdotool("keyup", "alt+Return")
        time.sleep(1)
        seen.append(session.window_geometry())
        changes = [b for a, b in zip(seen, seen[1:]) if a != b]
        tz.check(seen[0] == full and changes == [window], "the window went %s" % ([seen[0]] + changes))


def case_intro_keys(args):
    # Keys typed during the intro may cut it short but never act in the menu.
    for name, keys in (("escapes", ["Escape", "Escape"]), ("arrows", ["Down", "Down", "Return"])):
        with tz.Session(args, "intro_" + name) as session:
            session.wait_for(lambda im: tz.lit(im, (233, 156, 406, 324)) and tz.dark(im, (0, 0, 640, 140)),
                             "the intro's logo")
            session.xdotool("key", "--delay", 0, *keys)
            menu = session.wait_for(tz.is_main_menu, "the main menu", still=True)
            tz.check(tz.hot_menu_items(menu) == [tz.MENU_QUIT], "the intro's keys moved the highlight")
            time.sleep(0.5)
            tz.check(tz.is_main_menu(session.screenshot()), "the intro's keys acted in the menu")


def latency(session, keys, predicate, what):
    # Seconds from the keys sent to the picture that shows them handled.
    start = time.monotonic()
    session.xdotool("key", "--delay", 0, *keys)
    session.wait_for(predicate, what)
    return time.monotonic() - start


def case_input_burst(args):
    # Nine keys and Escape sent at once to a settled menu show the credits
    # within about ten frames more than one key takes: one key per frame, no
    # idling while input waits.
    with tz.Session(args, "input_burst") as session:
        session.wait_for(tz.is_main_menu, "the main menu", timeout=15, still=True)
        time.sleep(1)  # settled: the loop idles
        one = latency(session, ["Down"], lambda im: tz.hot_menu_items(im) == [tz.MENU_NEWGAME], "Down handled")
        time.sleep(1)
        burst = latency(session, list("abcdefgh") + ["Escape"], tz.is_credits, "the credits after the burst")
        frames = (burst - one) * 60
        print("one key %.3f s, burst %.3f s: %.1f frames more" % (one, burst, frames))
        tz.check(frames < 36, "the burst took %.1f frames more than one key" % frames)


def resident_mib(session):
    status = open("/proc/%d/status" % session.process.pid).read()
    return int(re.search(r"VmRSS:\s+(\d+)", status).group(1)) / 1024


def keep_contents(display, window):
    # As some window managers do: a shrunk window keeps its contents, so the X
    # server sends no exposure (bit gravity NorthWest instead of Forget).
    x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XChangeWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    ulong = ctypes.c_ulong
    fields = [("background_pixmap", ulong), ("background_pixel", ulong), ("border_pixmap", ulong),
              ("border_pixel", ulong), ("bit_gravity", ctypes.c_int), ("rest", ctypes.c_long * 16)]
    attributes = type("Attributes", (ctypes.Structure,), {"_fields_": fields})(bit_gravity=1)
    connection = x11.XOpenDisplay(display.encode())
    tz.check(connection, "cannot open %s" % display)
    x11.XChangeWindowAttributes(connection, window, 1 << 4, ctypes.byref(attributes))  # CWBitGravity
    x11.XCloseDisplay(connection)  # flushes the change


def case_resize_click(args):
    # In a window, a resize followed at once by a click where the pointer
    # rests acts where the picture now stands, with no exposure to help; an
    # absurd size is asked back to a sane one.
    with tz.Session(args, "resize_click", screen=(1920, 1080), options=["--window"]) as session:
        session.wait_for(tz.is_main_menu, "the main menu", timeout=15)
        window = session.game_window()
        keep_contents(session.display, window)
        # Over Highscores at the scale of 2; over Info once the window is shrunk to 1.5.
        session.move(*session.at(*tz.menu_centre(tz.MENU_HIGHSCORES)))
        session.wait_for(lambda im: tz.hot_menu_items(im) == [tz.MENU_HIGHSCORES], "Highscores lit")
        session.xdotool("windowsize", window, 960, 720, "click", 1)
        session.wait_dialogs(["about"])
        session.key("Escape")
        session.wait_for(tz.is_main_menu, "the menu at the new size")
        session.xdotool("windowsize", window, 16000, 12000)
        time.sleep(2)
        session.check_running()
        tz.check(resident_mib(session) < 400, "%.0f MiB resident in a huge window" % resident_mib(session))
        session.xdotool("windowsize", window, 1280, 960)
        session.wait_screen(tz.is_main_menu, "the menu after the huge size")


def case_held_last_shot(args):
    # Space held through the shot that ends the game: the message stands, and
    # the name dialog after it starts empty, so the table gets an empty name.
    with tz.Session(args, "held_last_shot", scores=tz.encode(LOW_TABLE)) as session:
        field, score = session.new_game(), 0
        while True:
            last = [g for g in tz.groups(field) if not tz.groups(tz.without(field, g))]
            if last:
                break
            field, size, _ = session.shoot(field)
            score += size * size
        column, row = last[0][0]
        score += len(last[0]) ** 2 + (1500 if tz.count_stones(tz.without(field, last[0])) == 0 else 0)
        session.move(column * tz.TILE + tz.TILE // 2, tz.FIELD_TOP + row * tz.TILE + tz.TILE // 2)
        time.sleep(0.2)
        hold(session, "space")
        image = session.wait_dialogs(["message"])
        time.sleep(0.5)
        tz.check(tz.dialog_kinds(session.screenshot()) == ["message"], "the message did not stand")
        while tz.dialog_kinds(image) == ["message"]:
            session.key("Return")
            image = session.next_dialog(image)
        tz.check(tz.dialog_kinds(image) == ["name"], "no name dialog")
        session.key("Return")
        session.wait_screen(tz.is_highscores, "the high-score screen")
        session.key("Escape")
        session.wait_dialogs(["message"])
        session.key("n")
        session.wait_screen(tz.is_main_menu, "the menu")
        session.quit()
        session.wait_exit()
        expected = LOW_TABLE[:1] + [("", score)] + LOW_TABLE[1:9]
        tz.check(session.scores() == tz.encode(expected), "the table holds %r" % session.scores())


if __name__ == "__main__":
    tz.main(globals(), 150)
