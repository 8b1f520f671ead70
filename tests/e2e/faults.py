"""The real game in Xvfb under faults: sounds or the audio device missing, a
damaged, a write-protected or an unwritable "highscore.sav", FIFOs in place of
the table and a sound, a second copy on the same table, the window closed from
outside, and a focus change during a game. Nothing may be lost:
the high-score file is replaced at the regular end only, and whole or not at
all. One case per run, chosen with --case."""

import argparse
import ctypes
import ctypes.util
import os
import shutil
import stat
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tzplayer as tz  # noqa: E402
from menu_and_screens import check_default_table_drawn  # noqa: E402
from play_games import Bot  # noqa: E402

SKIPPED = 77  # ctest's SKIP_RETURN_CODE
OLD_TABLE = [("Alte", 50000)] + [("CPU", score) for score in range(9, 0, -1)]
# Neither a table nor a prefix of one: the name claims nine bytes, three follow.
DAMAGED = b"\x10\x00\x00\x00\x09AB"
RESET_BUTTON = (550, 260)
CLOSE_BUTTON_WIDTH = 22  # the caption's close box, right of its text


def score_path(session):
    return os.path.join(session.workdir, "highscore.sav")


def file_state(path):
    """Content, inode and modification time: a replaced file changes one."""
    info = os.stat(path)
    with open(path, "rb") as f:
        return f.read(), info.st_ino, info.st_mtime_ns


def check_nothing_left(session):
    left = [name for name in os.listdir(session.workdir) if name.startswith("highscore.sav.")]
    tz.check(not left, "temporary score files were left: %s" % left)


# --- message boxes -------------------------------------------------------------


def box_picture(image):
    bar = tz.caption_bars(image)[0]
    return image.crop((bar[0], bar[1], bar[2], min(tz.HEIGHT, bar[1] + 110))).tobytes()


def caption_text_width(image):
    """Width of the white caption text, which tells "Error" from longer ones."""
    left, top, right, bottom = tz.caption_bars(image)[0]
    strip = image.crop((left, top, right - CLOSE_BUTTON_WIDTH, bottom)).convert("L")
    box = strip.point(lambda v: 255 if v > 200 else 0).getbbox()
    tz.check(box is not None, "a message box without caption text")
    return box[2] - box[0]


def next_box(session, previous, timeout=15.0):
    """The picture of the next single message box, once it reads the same
    twice; None when the game has ended instead."""
    deadline = time.monotonic() + timeout
    last = None
    while time.monotonic() < deadline:
        if session.process.poll() is not None:
            return None
        image = session.screenshot()
        if len(tz.caption_bars(image)) == 1:
            picture = box_picture(image)
            if picture == last and (previous is None or picture != box_picture(previous)):
                return image
            last = picture
        else:
            last = None
        time.sleep(0.05)
    raise tz.Failure("neither a new message box nor the end within %.0f s" % timeout)


def confirm_all_boxes(session, limit=8):
    """Answers every message box with Enter until the game ends; returns
    the box pictures in order."""
    boxes = []
    while True:
        image = next_box(session, boxes[-1] if boxes else None)
        if image is None:
            return boxes
        tz.check(len(boxes) < limit, "more than %d message boxes" % limit)
        session.save(image, "e2e_fault_%s_box%d.png" % (session.name, len(boxes) + 1))
        boxes.append(image)
        session.key("Return")


def check_ended_without_file(session, boxes, count):
    tz.check(len(boxes) == count, "%d message boxes instead of %d" % (len(boxes), count))
    code = session.wait_exit(5)
    tz.check(code == 0, "the game ended with code %d" % code)
    tz.check(not os.path.exists(score_path(session)), "highscore.sav was written")


def case_sound_faults(args):
    """No "Sounds" folder: only the music's message, then the end. No audio
    device: the device error, the sound object's message, one per sound, the
    end; the last box is the same music message."""
    with tz.Session(args.game, None, args.out, "no_sounds") as session:
        boxes = confirm_all_boxes(session)
        check_ended_without_file(session, boxes, 1)
        music = boxes[0]
    with tz.Session(args.game, args.sounds, args.out, "no_audio", audio_driver="none_such") as session:
        boxes = confirm_all_boxes(session)
        check_ended_without_file(session, boxes, 5)
    widths = [bar[2] - bar[0] for bar in (tz.caption_bars(box)[0] for box in boxes)]
    captions = [caption_text_width(box) for box in boxes]
    tz.check(box_picture(boxes[4]) == box_picture(music),
             "the last box is not the music's message seen without the folder")
    tz.check(captions[0] < min(captions[1:]), "the device error is not titled \"Error\": %s" % captions)
    tz.check(len(set(captions[1:])) == 1 and captions[1] == caption_text_width(music),
             "the game's own boxes carry different captions: %s" % captions)
    # The sound object's text is longer than those of the two short sounds.
    tz.check(widths[1] > max(widths[2], widths[3]), "box widths %s" % widths)


def case_missing_bang(args):
    """Without "Knall.wav" the game starts without a word and shots work."""
    def remove_bang(workdir):
        os.remove(os.path.join(workdir, "Sounds", "Knall.wav"))

    with tz.Session(args.game, args.sounds, args.out, "missing_bang", prepare=remove_bang) as session:
        def menu_without_box(image):
            tz.check(not tz.caption_bars(image), "a message box at the start")
            return tz.is_main_menu(image)
        session.wait_for(menu_without_box, "the main menu", timeout=15)
        session.click(*tz.menu_centre(tz.MENU_NEWGAME))
        bot = Bot(session)
        field = bot.read_settled_field()
        for _ in range(3):
            field = shoot(session, bot, field)
        tz.check(tz.count_stones(field) < 600, "no stone was shot")


def shoot(session, bot, field):
    """Shoots the largest group; returns the field the shot must leave."""
    group = max(tz.groups(field), key=len)
    expected = tz.settled(tz.without(field, group))
    for _ in range(2):
        session.click(*tz.tile_centre(*group[0]))
        outcome, image = bot.after_shot(field, expected)
        if outcome != "unchanged":
            break
    tz.check(outcome == "settled", "the shot at %s ended in %s" % (group[0], outcome))
    return expected


# --- the high-score file -------------------------------------------------------


def open_highscores(session):
    session.wait_for(tz.is_main_menu, "the main menu", timeout=15)
    session.click(*tz.menu_centre(tz.MENU_HIGHSCORES))
    session.wait_for(tz.is_highscores, "the high-score screen")
    return session.settle()


def leave_for_end(session):
    """From the high-score screen to the credits that precede the end."""
    session.click(*tz.BACK_BUTTON)
    session.wait_for(tz.is_main_menu, "the menu after BACK")
    session.key("Escape")
    session.wait_for(tz.is_credits, "the credits before the end")


def case_damaged_scores(args):
    with tz.Session(args.game, args.sounds, args.out, "damaged_scores", highscores=DAMAGED) as session:
        check_default_table_drawn(open_highscores(session))
        leave_for_end(session)
        tz.check(session.highscore_file() == DAMAGED, "the damaged file changed before the end")
        session.key("Return")
        code = session.wait_exit(10)
        tz.check(code == 0, "the game ended with code %d" % code)
        tz.check(session.highscore_file() == tz.encode_highscores(tz.DEFAULT_TABLE),
                 "highscore.sav is not the default table: %r" % session.highscore_file())
        check_nothing_left(session)


def refused_save(session, before_end=None):
    """Resets the shown old table, so the end has something new to write, and
    ends; the write must fail with the warning and leave the old file."""
    old = file_state(score_path(session))
    table = open_highscores(session)
    top, bottom = tz.score_row(1)
    first = table.crop((tz.NAME_COLUMN[0], top, tz.NAME_COLUMN[1], bottom)).tobytes()
    top, bottom = tz.score_row(2)
    tz.check(first != table.crop((tz.NAME_COLUMN[0], top, tz.NAME_COLUMN[1], bottom)).tobytes(),
             "the old table was not loaded")
    session.click(*RESET_BUTTON)
    session.wait_dialogs(["message"])
    session.key("j")
    session.move(*tz.PARK)
    session.wait_for(lambda im: tz.is_highscores(im) and not tz.caption_bars(im), "the reset table")
    check_default_table_drawn(session.settle())
    leave_for_end(session)
    if before_end:
        before_end()
    session.key("Return")
    boxes = confirm_all_boxes(session)
    tz.check(len(boxes) == 1, "%d boxes at the end instead of the warning" % len(boxes))
    code = session.wait_exit(5)
    tz.check(code == 0, "the game ended with code %d" % code)
    tz.check(file_state(score_path(session)) == old, "the old highscore.sav was touched")
    check_nothing_left(session)


def case_readonly_scores(args):
    def protect(workdir):
        os.chmod(os.path.join(workdir, "highscore.sav"), 0o444)

    with tz.Session(args.game, args.sounds, args.out, "readonly_scores",
                    highscores=tz.encode_highscores(OLD_TABLE), prepare=protect) as session:
        refused_save(session)
        mode = stat.S_IMODE(os.stat(score_path(session)).st_mode)
        tz.check(mode == 0o444, "the file's mode became %o" % mode)


def case_full_disk(args):
    if os.geteuid() != 0:
        print("SKIPPED: mounting a small tmpfs needs root")
        return SKIPPED
    mount = tempfile.mkdtemp(prefix="tz-e2e-disk-")
    try:
        result = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=12k", "tmpfs", mount],
                                capture_output=True, text=True, timeout=10)
        if result.returncode != 0:
            print("SKIPPED: cannot mount a tmpfs: %s" % result.stderr.strip())
            return SKIPPED
        try:
            run_full_disk(args, mount)
        finally:
            subprocess.run(["umount", mount], check=True, timeout=10)
    finally:
        os.rmdir(mount)
    return 0


def run_full_disk(args, mount):
    sounds = os.path.abspath(args.sounds)

    def link_sounds(workdir):
        # The sounds would not fit; the disk is for the table.
        os.symlink(sounds, os.path.join(workdir, "Sounds"))

    def fill():
        with open(os.path.join(mount, "filler"), "wb", buffering=0) as f:
            try:
                while True:
                    f.write(b"\0" * 512)
            except OSError:
                pass
        free = shutil.disk_usage(mount).free
        tz.check(free < 512, "%d bytes still free" % free)

    with tz.Session(args.game, None, args.out, "full_disk", parent=mount,
                    highscores=tz.encode_highscores(OLD_TABLE), prepare=link_sounds) as session:
        refused_save(session, before_end=fill)


def case_fifo_files(args):
    """A FIFO as "highscore.sav" and as "Klick.wav": nothing waits on them; the
    game starts silently with the default table, and at the end it warns
    instead of replacing the FIFO."""
    def plant(workdir):
        os.remove(os.path.join(workdir, "Sounds", "Klick.wav"))
        os.mkfifo(os.path.join(workdir, "Sounds", "Klick.wav"))
        os.mkfifo(os.path.join(workdir, "highscore.sav"))

    with tz.Session(args.game, args.sounds, args.out, "fifo_files", prepare=plant) as session:
        table = open_highscores(session)
        tz.check(not tz.caption_bars(table), "a message box at the start")
        check_default_table_drawn(table)
        leave_for_end(session)
        session.key("Return")
        boxes = confirm_all_boxes(session)
        tz.check(len(boxes) == 1, "%d boxes at the end instead of the warning" % len(boxes))
        tz.check(session.wait_exit(5) == 0, "the game did not end cleanly")
        tz.check(stat.S_ISFIFO(os.lstat(score_path(session)).st_mode), "the FIFO was replaced")
        check_nothing_left(session)


def case_second_copy(args):
    """A second copy in the same folder shows its box and ends, in a window and
    on the terminal; the first goes on, and its table is the one written."""
    with tz.Session(args.game, args.sounds, args.out, "second_copy",
                    highscores=tz.encode_highscores(OLD_TABLE)) as session:
        old = file_state(score_path(session))
        session.wait_for(tz.is_main_menu, "the main menu", timeout=15)
        second = subprocess.Popen([args.game], cwd=session.workdir, env=session.env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            box = session.wait_for(lambda im: len(tz.caption_bars(im)) == 1, "the second copy's box")
            session.save(box, "e2e_fault_second_copy_box.png")
            session.key("Return")
            tz.check(second.wait(timeout=5) == 0, "the second copy did not end cleanly")
        finally:
            if second.poll() is None:
                second.kill()
                second.wait()
        env = {k: v for k, v in session.env.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        third = subprocess.run([args.game], cwd=session.workdir, env=env, capture_output=True,
                               timeout=10)
        tz.check("TamZelon läuft bereits in diesem Ordner." in third.stderr.decode(errors="replace"),
                 "no message on the terminal: %r" % third.stderr)
        tz.check(file_state(score_path(session)) == old, "a second copy touched highscore.sav")
        # No window manager hands the focus back once the second window is gone.
        session.xdotool("windowfocus", "--sync", game_window(session))
        open_highscores(session)
        session.click(*RESET_BUTTON)
        session.wait_dialogs(["message"])
        session.key("j")
        session.move(*tz.PARK)
        session.wait_for(lambda im: tz.is_highscores(im) and not tz.caption_bars(im), "the reset table")
        leave_for_end(session)
        session.key("Return")
        tz.check(session.wait_exit(10) == 0, "the first copy did not end cleanly")
        tz.check(session.highscore_file() == tz.encode_highscores(tz.DEFAULT_TABLE),
                 "highscore.sav is not the first copy's reset table")


# --- the window ------------------------------------------------------------------


def game_window(session):
    found = subprocess.run(["xdotool", "search", "--sync", "--pid", str(session.process.pid)],
                           env=dict(os.environ, DISPLAY=session.display), capture_output=True,
                           text=True, timeout=10).stdout.split()
    tz.check(len(found) == 1, "game windows: %s" % found)
    return int(found[0])


def request_close(display, window):
    """What a window manager sends when the player closes the window."""
    x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                    ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                    ("data", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(Event)]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    connection = x11.XOpenDisplay(display.encode())
    tz.check(connection, "cannot open %s" % display)
    try:
        event = Event()
        event.xclient.type = 33  # ClientMessage
        event.xclient.window = window
        event.xclient.message_type = x11.XInternAtom(connection, b"WM_PROTOCOLS", 0)
        event.xclient.format = 32
        event.xclient.data[0] = x11.XInternAtom(connection, b"WM_DELETE_WINDOW", 0)
        tz.check(x11.XSendEvent(connection, window, 0, 0, ctypes.byref(event)), "XSendEvent failed")
        x11.XFlush(connection)
    finally:
        x11.XCloseDisplay(connection)


def case_window_close(args):
    """Closed by request during a game, the game ends at once and writes
    nothing; a window destroyed outright ends it too, still writing nothing."""
    with tz.Session(args.game, args.sounds, args.out, "close_request",
                    highscores=tz.encode_highscores(OLD_TABLE)) as session:
        old = file_state(score_path(session))
        session.wait_for(tz.is_main_menu, "the main menu", timeout=15)
        session.click(*tz.menu_centre(tz.MENU_NEWGAME))
        Bot(session).read_settled_field()
        request_close(session.display, game_window(session))
        code = session.wait_exit(5)
        tz.check(code == 0, "closed by request, the game ended with code %d" % code)
        tz.check(file_state(score_path(session)) == old, "highscore.sav was touched")
        check_nothing_left(session)
    with tz.Session(args.game, args.sounds, args.out, "window_destroyed") as session:
        session.wait_for(tz.is_main_menu, "the main menu", timeout=15)
        session.xdotool("windowclose", game_window(session))
        session.wait_exit(5)
        tz.check(not os.path.exists(score_path(session)), "highscore.sav was written")


def case_focus_loss(args):
    """Focus to another client and back, then the window unmapped and mapped:
    each time the field is drawn as before and the next shot lands right."""
    with tz.Session(args.game, args.sounds, args.out, "focus_loss") as session:
        session.wait_for(tz.is_main_menu, "the main menu", timeout=15)
        session.click(*tz.menu_centre(tz.MENU_NEWGAME))
        bot = Bot(session)
        field = bot.read_settled_field()
        window = game_window(session)
        env = dict(os.environ, DISPLAY=session.display)
        other = subprocess.Popen(["xmessage", "-geometry", "+300+200", "Fokus"], env=env,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--class", "xmessage"],
                                   env=env, capture_output=True, text=True, timeout=10).stdout.split()
            tz.check(found, "the second client shows no window")
            session.xdotool("windowfocus", "--sync", found[0])
            time.sleep(0.5)
            session.xdotool("windowfocus", "--sync", window)
        finally:
            other.terminate()
            other.wait(timeout=5)
        check_redrawn(session, bot, field, "after the focus came back")
        field = shoot(session, bot, field)

        session.xdotool("windowunmap", "--sync", window)
        time.sleep(0.5)
        session.xdotool("windowmap", "--sync", window)
        session.xdotool("windowfocus", "--sync", window)
        check_redrawn(session, bot, field, "after the window was mapped again")
        shoot(session, bot, field)


def check_redrawn(session, bot, field, when):
    shown = bot.read_settled_field()
    if shown != field:
        session.save(session.screenshot(), "failed-focus_loss.png")
    tz.check(shown == field, "the field is drawn wrongly %s" % when)


CASES = {
    "sound_faults": (case_sound_faults, 60),
    "missing_bang": (case_missing_bang, 60),
    "damaged_scores": (case_damaged_scores, 60),
    "readonly_scores": (case_readonly_scores, 60),
    "full_disk": (case_full_disk, 60),
    "fifo_files": (case_fifo_files, 60),
    "second_copy": (case_second_copy, 60),
    "window_close": (case_window_close, 60),
    "focus_loss": (case_focus_loss, 60),
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--game", required=True)
    parser.add_argument("--sounds", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--case", required=True, choices=sorted(CASES))
    args = parser.parse_args()
    run, seconds = CASES[args.case]
    start = time.monotonic()
    with tz.Deadline(seconds):
        code = run(args) or 0
    if code == 0:
        print("%s passed in %.1f s" % (args.case, time.monotonic() - start))
    sys.exit(code)


if __name__ == "__main__":
    main()
