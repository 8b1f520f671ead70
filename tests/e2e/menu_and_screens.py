"""The real game in Xvfb: intro, main menu with hover, credits, high-score
screen, the info and controls dialogs, and the regular end that writes the
default "highscore.sav"."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tzplayer as tz  # noqa: E402

LOGO_BOX = (233, 156, 406, 324)      # the intro's first picture, centred
PRESENTS_BOX = (170, 190, 470, 290)  # its second one
# Button centres measured from the top-left corner of their dialog's caption.
STEUERUNG_BUTTON = (311, 305)
CONTROLS_OK_BUTTON = (172, 239)


def is_intro_logo(image):
    return tz.lit(image, LOGO_BOX) and tz.dark(image, (0, 0, 640, 140)) and tz.dark(image, (0, 340, 640, 480))


def is_intro_presents(image):
    return tz.lit(image, PRESENTS_BOX) and tz.dark(image, (0, 0, 640, 180)) and tz.dark(image, (0, 300, 640, 480))


def dialog_offset(image, kind, dx, dy):
    """A point given relative to the caption bar of the dialog of this kind."""
    for bar, found in zip(tz.caption_bars(image), tz.dialog_kinds(image)):
        if found == kind:
            return bar[0] + dx, bar[1] + dy
    raise tz.Failure("no %s dialog shown" % kind)


def menu_and_screens(args):
    with tz.Session(args, "menu_and_screens") as session:
        session.wait_for(is_intro_logo, "the intro's logo", timeout=10)
        logo_seen = time.monotonic()
        session.wait_for(is_intro_presents, "the intro's second picture", timeout=6)
        session.wait_for(tz.is_main_menu, "the main menu", timeout=10)
        intro = time.monotonic() - logo_seen
        tz.check(intro > 3.0, "the intro lasted only %.1f s" % intro)
        menu = session.settle()
        tz.check(tz.hot_menu_items(menu) == [tz.MENU_QUIT],
                 "first menu highlights %s, not the quit item" % tz.hot_menu_items(menu))
        session.save(menu, "e2e_menu.png")

        # The arrow keys wrap the selection at both ends; hovering selects.
        for way, item in (("Down", tz.MENU_NEWGAME), ("Up", tz.MENU_QUIT), (None, tz.MENU_NEWGAME)):
            if way:
                session.key(way)
            else:
                session.move(*tz.menu_centre(item))
            session.wait_for(lambda im: tz.hot_menu_items(im) == [item], "%s to item %d" % (way, item))
        session.move(*tz.PARK)

        session.click(*tz.menu_centre(tz.MENU_CREDITS))
        session.save(session.wait_for(tz.is_credits, "the credits"), "e2e_credits.png")
        session.click(320, 420)
        session.wait_for(tz.is_main_menu, "the menu after the credits")
        tz.check(not os.path.exists(session.path("highscore.sav")),
                 "credits from the menu wrote the high-score file")

        session.click(*tz.menu_centre(tz.MENU_HIGHSCORES))
        session.wait_for(tz.is_highscores, "the high-score screen")
        table = session.settle()
        tz.check_table_drawn(table, tz.DEFAULT_TABLE)
        session.save(table, "e2e_highscores.png")
        session.click(*tz.BACK_BUTTON)
        session.wait_for(tz.is_main_menu, "the menu after BACK")

        # Info dialog, its controls dialog by key and by mouse, each closed again.
        session.key("F1")
        session.save(session.wait_dialogs(["about"]), "e2e_info.png")
        session.key("alt+s")
        session.save(session.wait_dialogs(["about", "controls"]), "e2e_controls.png")
        session.key("Return")
        about = session.wait_dialogs(["about"])
        session.click(*dialog_offset(about, "about", *STEUERUNG_BUTTON), park=False)
        controls = session.wait_dialogs(["about", "controls"])
        session.click(*dialog_offset(controls, "controls", *CONTROLS_OK_BUTTON), park=False)
        session.wait_dialogs(["about"])
        session.key("Escape")
        session.wait_screen(tz.is_main_menu, "the menu after the info dialog")

        session.quit_from_menu()
        session.wait_exit(10)
        data = session.highscore_file()
        expected = tz.encode_highscores(tz.DEFAULT_TABLE)
        tz.check(len(expected) == 80, "the default table must take 80 bytes")
        tz.check(data == expected, "highscore.sav holds %r, expected %r" % (data, expected))


if __name__ == "__main__":
    tz.main({"menu_and_screens": (menu_and_screens, 120)})
