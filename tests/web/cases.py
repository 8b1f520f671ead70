# The game's page in headless Chromium: loading without a console error, the
# pictures of the desktop's golden images, the menu and dialogs by key, a game
# played by clicks and keys to its end and its table kept through a reload and
# a new start of the browser, a damaged stored table, a second tab and the end.

import os
import pathlib

from PIL import Image, ImageChops

import webplayer as wp
import play_games

tz = wp.tz
GOLDEN = pathlib.Path(__file__).resolve().parents[1] / "golden"


def golden(name):
    picture = Image.open(GOLDEN / (name + ".png")).convert("RGB")
    return lambda image: not ImageChops.difference(image, picture).getbbox()


def case_menu(args):
    with wp.Browser(args, "menu") as browser:
        page = browser.open()
        page.wait_state("running")
        page.move(345, 290)  # the crosshair over Info, as in the golden picture
        page.wait_for(golden("menu"), "the menu's golden picture", timeout=20)
        for way, item in (("Down", tz.MENU_NEWGAME), ("Up", tz.MENU_QUIT)):
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



if __name__ == "__main__":
    tz.main(globals(), 280, ("--site",))
