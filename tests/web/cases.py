# The game's page in headless Chromium: loading without a console error, the
# pictures of the desktop's three golden images, the menu and dialogs by key, a game
# played by clicks and keys to its end and its table kept through a reload and
# a new start of the browser, a damaged stored table, a second tab and the end.

import os
import pathlib

from PIL import Image, ImageChops

import webplayer as wp  # first: it finds the desktop's cases
import faults
import play_games

tz = wp.tz
GOLDEN = pathlib.Path(__file__).resolve().parents[1] / "golden"
# The table of the golden high-score screen: short, long and empty names, umlauts.
GOLDEN_TABLE = [("J\xfcrgen", 123456), ("Zo\xeb", 98765), ("\xc4\xd6\xdc\xe4\xf6\xfc\xdf", 54321),
                ("W" * 10, 37000), ("i", 9999), ("", 5000), ("Ren\xe9 M.", 1500), ("\xc5got", 420),
                ("Gro\xdf", 7), ("Max", 0)]


def golden(name):
    picture = Image.open(GOLDEN / (name + ".png")).convert("RGB")
    return lambda image: not ImageChops.difference(image, picture).getbbox()


def case_menu(args):
    with wp.Browser(args, "menu") as browser:
        page = browser.open()
        page.wait_state("running")
        page.move(345, 290)  # the crosshair over Info, as in the golden picture
        page.wait_for(golden("menu"), "the menu's golden picture", timeout=20)
        page.move(*tz.PARK)
        for way, item in (("Down", tz.MENU_CREDITS), ("Up", tz.MENU_INFO)):
            page.key(way)
            page.wait_for(lambda im: tz.hot_menu_items(im) == [item], "%s to item %d" % (way, item))
        page.key("F1")
        page.wait_dialogs(["about"])
        page.key("alt+s")
        page.wait_dialogs(["about", "controls"])
        page.key("Return", "Escape")
        page.wait_screen(tz.is_main_menu, "the menu after the info dialog")
        # Beenden ends the game; the page says so and starts it again.
        page.click(*tz.menu_centre(tz.MENU_QUIT))
        page.wait_for(tz.is_credits, "the credits")
        page.key("Return")
        page.wait_state("ended")
        restart = page.driver.find_element("id", "restart")
        tz.check(restart.is_displayed(), "nothing offers to start again")
        restart.click()
        page.wait_state("running")
        page.wait_for(tz.is_main_menu, "the menu after a new start", timeout=20)
        # Every stone and button must take the player's clicks.
        tz.check(not page.covering(), "the page covers the picture with %s" % page.covering())


def table_shown(page, reset=False):
    # The high-score screen's picture, after a reset if asked; back at the menu.
    table = faults.open_highscores(page)
    if reset:
        page.click(*tz.RESET_BUTTON)
        page.wait_dialogs(["message"])
        page.key("j")
        table = page.wait_screen(tz.is_highscores, "the reset table", still=True)
    page.click(*tz.BACK_BUTTON)
    return table


def leave(page):
    # Beenden: the credits, then the end the page tells.
    page.quit()
    page.wait_state("ended")


def case_game(args):
    with wp.Browser(args, "game") as browser:
        page = browser.open("?seed=7")  # with sound: its errors would show
        page.wait_for(tz.is_main_menu, "the menu", timeout=20)
        page.upload(tz.encode(play_games.START_TABLE))
        page.wait_for(tz.is_main_menu, "the menu", timeout=20)
        # The golden game's clicks on its known field, each once the field stands.
        page.click(*tz.menu_centre(tz.MENU_NEWGAME), park=False)
        for point in ((30, 470), (250, 300), (450, 150)):
            page.wait_for(tz.is_game_screen, "the field standing", still=True)
            page.click(*point, park=False)
        page.move(305, 245)
        page.wait_for(golden("game"), "the golden game's picture")
        page.move(*tz.PARK)
        page.shoot_by_keys(page.read_field())
        page.key("Escape")
        page.wait_dialogs(["message"])
        page.key("j")

        table = play_games.play(page, page.new_game(), play_games.START_TABLE, False)
        shown = table_shown(page)
        leave(page)
        tz.check(page.download() == tz.encode(table), "the stored table is not the played one")
        browser.restart()
        page = browser.open("?silent")
        tz.check(table_shown(page) == shown, "the table changed with a new start of the browser")
        # A reload closes the game as a closed window does, which keeps the table.
        reset = table_shown(page, reset=True)
        page.driver.refresh()
        tz.check(table_shown(page) == reset, "a reload lost the reset table")


def case_tabs(args):
    with wp.Browser(args, "tabs") as browser:
        page = browser.open()
        default = table_shown(page)
        page.upload(tz.encode(GOLDEN_TABLE))
        faults.open_highscores(page)
        page.move(420, 330)  # beside the table, as in the golden picture
        page.wait_for(golden("highscores"), "the high-score screen's golden picture")
        page.click(*tz.BACK_BUTTON)
        page.upload(faults.DAMAGED)
        tz.check(table_shown(page) == default, "a damaged table was not read as the default one")
        # A second tab is told and ends; the first goes on and alone writes.
        second = browser.open(new_window=True)
        second.wait_for(lambda image: len(tz.caption_bars(image)) == 1, "the second tab's box")
        second.key("Return")
        second.wait_state("ended")
        leave(page)
        tz.check(page.download() == tz.encode(tz.DEFAULT_TABLE), "not the default table at the end")


if __name__ == "__main__":
    tz.main(globals(), 280, ("--site",))
