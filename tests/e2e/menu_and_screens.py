# Intro, main menu with keys and hover, credits, high-score screen, the info
# and controls dialogs, and the regular end that writes the default table.

import os
import time

import tzplayer as tz


def case_menu_and_screens(args):
    with tz.Session(args, "menu_and_screens") as session:
        # The logo centred on black, then the second picture, then the menu.
        session.wait_for(lambda im: tz.lit(im, (233, 156, 406, 324)) and tz.dark(im, (0, 0, 640, 140)),
                         "the intro's logo")
        logo_seen = time.monotonic()
        session.wait_for(lambda im: tz.lit(im, (170, 190, 470, 290)) and tz.dark(im, (0, 0, 640, 180)),
                         "the intro's second picture", timeout=6)
        menu = session.wait_for(tz.is_main_menu, "the main menu", still=True)
        tz.check(time.monotonic() - logo_seen > 3.0, "the intro was too short")
        tz.check(tz.hot_menu_items(menu) == [tz.MENU_QUIT], "first menu highlights %s" % tz.hot_menu_items(menu))

        # The arrow keys wrap the selection at both ends; hovering selects.
        for way, item in (("Down", tz.MENU_NEWGAME), ("Up", tz.MENU_QUIT), (None, tz.MENU_NEWGAME)):
            session.key(way) if way else session.move(*tz.menu_centre(item))
            session.wait_for(lambda im: tz.hot_menu_items(im) == [item], "%s to item %d" % (way, item))

        for item, screen in ((tz.MENU_CREDITS, tz.is_credits), (tz.MENU_HIGHSCORES, tz.is_highscores)):
            session.click(*tz.menu_centre(item))
            session.wait_for(screen, "the screen of item %d" % item)
            session.click(*tz.BACK_BUTTON)  # anywhere ends the credits
            session.wait_for(tz.is_main_menu, "the menu after item %d" % item)
        tz.check(not os.path.exists(session.path("highscore.sav")), "the credits or scores wrote the file")

        # The info dialog, its controls dialog by key and by mouse, each closed again.
        session.key("F1")
        session.wait_dialogs(["about"])
        session.key("alt+s")
        session.wait_dialogs(["about", "controls"])
        session.key("Return")
        # Buttons found from the top-left corner of their dialog's caption.
        left, top = tz.caption_bars(session.wait_dialogs(["about"]))[0][:2]
        session.click(left + 311, top + 305, park=False)
        left, top = tz.caption_bars(session.wait_dialogs(["about", "controls"]))[1][:2]
        session.click(left + 172, top + 239, park=False)
        session.wait_dialogs(["about"])
        session.key("Escape")
        session.wait_screen(tz.is_main_menu, "the menu after the info dialog")

        session.quit()
        session.wait_exit()
        tz.check(session.scores() == tz.encode(tz.DEFAULT_TABLE), "highscore.sav holds %r" % session.scores())


if __name__ == "__main__":
    tz.main(globals(), 120)
