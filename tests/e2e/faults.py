# The real game under faults: sounds or the audio device missing, a damaged,
# write-protected or unwritable "highscore.sav", one that may be written but
# not replaced, a folder that may not be read, a second copy, the window closed
# from outside, a focus change. The table is replaced at the regular end and
# when the window is closed, whole or not at all; a start that failed ends with
# status 1.

import ctypes
import ctypes.util
import os
import pathlib
import shutil
import signal
import stat
import subprocess
import tempfile
import time

import tzplayer as tz

OLD_TABLE = [("Alte", 50000)] + [("CPU", score) for score in range(9, 0, -1)]
DAMAGED = b"\x10\x00\x00\x00\x09AB"  # the name claims nine bytes, three follow
PLAYER = 65534  # an ordinary user, for whom permissions count


def file_state(session):
    # Content, inode, time and mode: a replaced or touched file changes one.
    info = os.stat(session.path("highscore.sav"))
    return session.scores(), info.st_ino, info.st_mtime_ns, info.st_mode


def check_kept(session, old):
    # old: the file's state before, None when there was none.
    tz.check(file_state(session) == old if old else not os.path.exists(session.path("highscore.sav")),
             "highscore.sav was touched")
    left = [name for name in os.listdir(session.workdir) if name.startswith("highscore.sav.")]
    tz.check(not left, "temporary score files were left: %s" % left)


def case_sound_faults(args):
    # No "Sounds": the music's message alone. No audio device: the device
    # error, one message per sound object and sound, and last the music's again.
    music = None
    for name, options, count in (("no_sounds", {"sounds": False}, 1), ("no_audio", {"audio": "none_such"}, 5)):
        with tz.Session(args, name, **options) as session:
            boxes = session.confirm_all()
            tz.check(len(boxes) == count, "%d message boxes instead of %d" % (len(boxes), count))
            session.wait_exit(5, code=1)
            check_kept(session, None)
        music = music or tz.box_picture(boxes[0])
    tz.check(tz.box_picture(boxes[4]) == music and tz.box_picture(boxes[0]) != music, "not the device error first and the music's message last")


def case_missing_bang(args):
    # Without "Knall.wav" the game starts without a word and shots work.
    def quiet_menu(image):
        tz.check(not tz.caption_bars(image), "a message box at the start")
        return tz.is_main_menu(image)

    with tz.Session(args, "missing_bang", prepare=lambda w: os.remove(w + "/Sounds/Knall.wav")) as session:
        field = session.new_game(quiet_menu)
        for _ in range(3):
            field = session.shoot(field)[0]


def open_highscores(session):
    session.wait_for(tz.is_main_menu, "the main menu", timeout=15)
    for attempt in range(2):  # a click lost while the focus moves is tried once more
        session.click(*tz.menu_centre(tz.MENU_HIGHSCORES))
        try:
            return session.wait_for(tz.is_highscores, "the high-score screen", timeout=5, still=True)
        except AssertionError:
            if attempt:
                raise


def reset_and_leave(session, before_end=lambda: None):
    # Resets the table shown, so the end has something new to write.
    session.click(*tz.RESET_BUTTON)
    session.wait_dialogs(["message"])
    session.key("j")
    session.wait_screen(tz.is_highscores, "the reset table", still=True)
    before_end()
    leave_for_end(session)


def leave_for_end(session):
    session.click(*tz.BACK_BUTTON)
    session.wait_for(tz.is_main_menu, "the menu after BACK")
    session.quit()


def one_warning_at_end(session):
    boxes = session.confirm_all()
    tz.check(len(boxes) == 1, "%d boxes at the end instead of the warning" % len(boxes))
    session.wait_exit(5)


def case_damaged_scores(args):
    with tz.Session(args, "damaged_scores", scores=DAMAGED) as session:
        open_highscores(session)
        tz.check(session.scores() == DAMAGED, "the damaged file changed before the end")
        leave_for_end(session)
        session.wait_exit()
        tz.check(session.scores() == tz.encode(tz.DEFAULT_TABLE), "not the default table: %r" % session.scores())
        check_kept(session, file_state(session))  # the temporary file is gone


def refused_save(session, before_end=lambda: None):
    # The write at the end must fail with one warning and leave the old file as it was.
    old = file_state(session)
    table = open_highscores(session)
    tz.check(table.crop((120, 175, 220, 200)).tobytes() != table.crop((120, 200, 220, 225)).tobytes(),
             "the old table was not loaded")
    reset_and_leave(session, before_end)
    one_warning_at_end(session)
    check_kept(session, old)


def case_readonly_scores(args):
    with tz.Session(args, "readonly_scores", scores=tz.encode(OLD_TABLE),
                    prepare=lambda w: os.chmod(w + "/highscore.sav", 0o444)) as session:
        refused_save(session)


def as_player():
    # The cases below run the game as another user; only root can.
    if os.geteuid() != 0:
        print("SKIPPED: only root can run the game as another user")
    return os.geteuid() == 0


def written_in_place(session):
    # The reset table reaches the file that was there, without a warning.
    before = os.stat(session.path("highscore.sav"))
    open_highscores(session)
    reset_and_leave(session)
    tz.check(not session.confirm_all(), "a warning at the end")
    session.wait_exit(5)
    after = os.stat(session.path("highscore.sav"))
    tz.check(session.scores() == tz.encode(tz.DEFAULT_TABLE), "not the reset table: %r" % session.scores())
    tz.check((after.st_ino, after.st_nlink, after.st_uid) == (before.st_ino, before.st_nlink, before.st_uid),
             "the table was replaced")
    check_kept(session, file_state(session))  # no temporary file is left


def case_sticky_scores(args):
    # In a shared folder with the sticky bit, a table of root's that the player
    # may write cannot be replaced by the player: it is written where it is.
    def share(workdir):
        os.chmod(workdir, 0o1777)
        os.chmod(workdir + "/highscore.sav", 0o666)

    if not as_player():
        return 77
    with tz.Session(args, "sticky_scores", scores=tz.encode(OLD_TABLE), prepare=share, user=PLAYER) as session:
        written_in_place(session)


def case_linked_scores(args):
    # A table with a second name (a hard link) stays one file under both.
    with tz.Session(args, "linked_scores", scores=tz.encode(OLD_TABLE),
                    prepare=lambda w: os.link(w + "/highscore.sav", w + "/backup.sav")) as session:
        written_in_place(session)
        tz.check(os.path.samefile(session.path("backup.sav"), session.path("highscore.sav")), "the link split")


def case_unreadable_folder(args):
    # A folder the player may write but not read: a second copy of the same
    # player is refused there too, and the first writes its table at the end.
    def lock(workdir):
        os.chown(workdir, PLAYER, PLAYER)
        os.chmod(workdir, 0o311)

    if not as_player():
        return 77
    with tz.Session(args, "unreadable_folder", prepare=lock, user=PLAYER) as session:
        session.wait_for(tz.is_main_menu, "the main menu", timeout=15)
        env = {k: v for k, v in session.env.items() if k != "DISPLAY"}
        second = subprocess.run(session.command(), cwd=session.workdir, env=env, capture_output=True, timeout=20)
        tz.check(second.returncode == 1 and b"bereits in diesem Ordner" in second.stderr,
                 "the second copy was not refused: %s" % (second,))
        session.quit()
        tz.check(not session.confirm_all(), "a warning at the end")
        session.wait_exit(5)
        tz.check(session.scores() == tz.encode(tz.DEFAULT_TABLE), "not the default table: %r" % session.scores())


def case_full_disk(args):
    mount = tempfile.mkdtemp(prefix="tz-e2e-disk-")
    result = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=12k", "tmpfs", mount], capture_output=True)
    if result.returncode != 0:
        os.rmdir(mount)
        print("SKIPPED: cannot mount a tmpfs (needs root): %s" % result.stderr.decode().strip())
        return 77  # skipped

    def fill():
        subprocess.run(["dd", "if=/dev/zero", "of=" + mount + "/filler", "bs=512"], stderr=subprocess.DEVNULL)
        tz.check(shutil.disk_usage(mount).free < 512, "the disk is not full")

    try:  # the sounds would not fit: the disk is for the table
        with tz.Session(args, "full_disk", sounds=False, parent=mount, scores=tz.encode(OLD_TABLE),
                        prepare=lambda w: os.symlink(os.path.abspath(args.sounds), w + "/Sounds")) as session:
            refused_save(session, fill)
    finally:
        subprocess.run(["umount", mount], check=True)
        os.rmdir(mount)


def request_close(display, window):
    # What a window manager sends when the player closes the window: a
    # ClientMessage (33) WM_PROTOCOLS / WM_DELETE_WINDOW, padded to an XEvent.
    x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = x11.XInternAtom.restype = ctypes.c_void_p
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    long = ctypes.c_long
    fields = [("type", ctypes.c_int), ("serial", long), ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
              ("window", long), ("message_type", long), ("format", ctypes.c_int), ("data", long * 17)]
    connection = x11.XOpenDisplay(display.encode())
    tz.check(connection, "cannot open %s" % display)
    event = type("Event", (ctypes.Structure,), {"_fields_": fields})(
        type=33, window=window, format=32, message_type=x11.XInternAtom(connection, b"WM_PROTOCOLS", 0))
    event.data[0] = x11.XInternAtom(connection, b"WM_DELETE_WINDOW", 0)
    tz.check(x11.XSendEvent(connection, window, 0, 0, ctypes.byref(event)), "XSendEvent failed")
    x11.XCloseDisplay(connection)  # flushes the event


def case_window_close(args):
    # One close request ends the game from a game, from a dialog (answered as
    # cancelled) and from the intro, and saves the table as the regular end
    # does; a window destroyed outright ends it too, writing nothing.
    for place in ("game", "dialog", "intro"):
        with tz.Session(args, "close_" + place, scores=tz.encode(OLD_TABLE)) as session:
            old = file_state(session)
            if place == "intro":
                session.wait_for(lambda image: tz.lit(image, (233, 156, 406, 324)), "the intro's logo")
            else:
                session.new_game()
            if place == "dialog":
                session.key("F1")
                session.wait_dialogs(["about"])
            request_close(session.display, session.game_window())
            session.wait_exit(3)
            tz.check(session.scores() == old[0] and file_state(session) != old, "the table was not saved")
            check_kept(session, file_state(session))  # no temporary file left
    with tz.Session(args, "window_destroyed") as session:
        session.wait_for(tz.is_main_menu, "the main menu", timeout=15)
        session.xdotool("windowclose", session.game_window())
        session.wait_exit(5, code=None)
        check_kept(session, None)


def case_focus_loss(args):
    # Focus to another client and back, then the window unmapped and mapped:
    # each time the field is drawn as before and the next shot lands right.
    with tz.Session(args, "focus_loss") as session:
        field = session.new_game()
        window = session.game_window()
        other = subprocess.Popen(["xmessage", "-geometry", "+300+200", "Fokus"], env=session.env)
        try:
            found = session.xdotool("search", "--sync", "--onlyvisible", "--class", "xmessage").split()
            session.xdotool("windowfocus", "--sync", found[0], "sleep", 0.5, "windowfocus", "--sync", window)
        finally:
            other.terminate()
            other.wait(timeout=5)
        for step in ("focus", "map"):
            tz.check(session.read_field() == field, "the field is drawn wrongly after the %s came back" % step)
            field = session.shoot(field)[0]
            if step == "focus":
                session.xdotool("windowunmap", "--sync", window, "sleep", 0.5, "windowmap", "--sync", window,
                                "windowfocus", "--sync", window)


def case_stop_signals(args):
    # SIGTERM, SIGINT and SIGHUP end the game at once from an open dialog, a
    # game and the menu alike, writing nothing.
    for name, place in (("SIGTERM", "dialog"), ("SIGINT", "dialog"), ("SIGHUP", "dialog"),
                        ("SIGTERM", "menu"), ("SIGINT", "game")):
        with tz.Session(args, "%s_%s" % (name, place), scores=tz.encode(OLD_TABLE)) as session:
            old = file_state(session)
            session.wait_for(tz.is_main_menu, "the main menu", timeout=15) if place == "menu" else session.new_game()
            if place == "dialog":
                session.key("F1")
                session.wait_dialogs(["about"])
            os.kill(session.process.pid, getattr(signal, name))
            session.wait_exit(3, code=-getattr(signal, name))
            check_kept(session, old)


def case_input_order(args):
    # Two Escapes within one frame: the first opens the question, the second
    # answers it there (Escape: no), and nothing comes back after it closed.
    with tz.Session(args, "input_order") as session:
        field = session.new_game()
        session.xdotool("key", "--delay", "0", "Escape", "Escape")
        image = session.wait_for(tz.is_game_screen, "the game after two Escapes", still=True)
        time.sleep(1)
        tz.check(not tz.caption_bars(image) and not tz.caption_bars(session.screenshot()), "the question is open")
        tz.check(session.read_field() == field, "the game did not go on")


def case_fifo_files(args):
    # A FIFO as "highscore.sav" and as "Klick.wav": nothing waits on them, and
    # at the end the game warns instead of replacing the FIFO.
    def plant(workdir):
        os.remove(workdir + "/Sounds/Klick.wav")
        os.mkfifo(workdir + "/Sounds/Klick.wav")
        os.mkfifo(workdir + "/highscore.sav")

    with tz.Session(args, "fifo_files", prepare=plant) as session:
        tz.check(not tz.caption_bars(open_highscores(session)), "a message box at the start")
        leave_for_end(session)
        one_warning_at_end(session)
        tz.check(stat.S_ISFIFO(os.lstat(session.path("highscore.sav")).st_mode), "the FIFO was replaced")


def case_second_copy(args):
    # A second copy in the same folder shows its box and ends with status 1, in
    # a window and on the terminal, and writes nothing, not even its choice of
    # window; the first goes on, and its table is the one written.
    settings = b"screen=fullscreen\n"

    def plant(workdir):
        os.makedirs(workdir + "/config/tamzelon")
        pathlib.Path(workdir + "/config/tamzelon/settings").write_bytes(settings)

    with tz.Session(args, "second_copy", scores=tz.encode(OLD_TABLE), prepare=plant) as session:
        old = file_state(session)
        session.wait_for(tz.is_main_menu, "the main menu", timeout=15)
        # Left running on a failure, it ends with the X server.
        second = subprocess.Popen([args.game, "--window"], cwd=session.workdir, env=session.env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        session.wait_for(lambda image: len(tz.caption_bars(image)) == 1, "the second copy's box")
        session.key("Return")
        tz.check(second.wait(timeout=5) == 1, "the second copy did not end with status 1")
        env = {k: v for k, v in session.env.items() if k != "DISPLAY"}
        third = subprocess.run([args.game, "--window"], cwd=session.workdir, env=env, capture_output=True,
                               timeout=10)
        tz.check(third.returncode == 1 and "bereits in diesem Ordner" in third.stderr.decode("cp1252", errors="replace"),
                 "no message on the terminal: %s" % (third,))
        check_kept(session, old)
        tz.check(pathlib.Path(session.path("config/tamzelon/settings")).read_bytes() == settings,
                 "a refused copy wrote the settings")
        # No window manager hands the focus back once the second window is gone.
        session.xdotool("windowfocus", "--sync", session.game_window())
        open_highscores(session)
        reset_and_leave(session)
        session.wait_exit(10)
        tz.check(session.scores() == tz.encode(tz.DEFAULT_TABLE), "not the first copy's reset table")


if __name__ == "__main__":
    tz.main(globals(), 60)
