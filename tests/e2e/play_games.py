"""The real game in Xvfb, played to the end by a bot that reads the field from
screenshots: every shot must destroy exactly the group it aimed at and leave
the field as stones fall and columns close up; the score it keeps (n x n per
shot, 1500 for a cleared field) must be the one entered into the table and
written to "highscore.sav" at the regular end."""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tzplayer as tz  # noqa: E402

PLAYER = "Tester"
CLEAR_BONUS = 1500
# A low table, so that a played game enters it below the first line.
START_TABLE = [("Erster", 1000000)] + [("CPU", score) for score in range(9, 0, -1)]


def rank(table, score):
    for index, (_, entry) in enumerate(table):
        if score > entry:
            return index + 1
    return -1


def insert(table, name, score):
    place = rank(table, score)
    if place == -1:
        return list(table)
    return table[:place - 1] + [(name, score)] + table[place - 1:9]


def describe(field):
    symbols = {tz.EMPTY: ".", tz.BLACK: "B", tz.WHITE: "W", tz.GREY: "G"}
    return "\n".join("".join(symbols[field[c][r]] for c in range(tz.COLUMNS)) for r in range(tz.ROWS))


class Bot:
    def __init__(self, session):
        self.session = session
        self.shots = 0

    def read_settled_field(self, timeout=10.0):
        """The field once three screenshots in a row read the same."""
        deadline = time.monotonic() + timeout
        last, same = None, 0
        while time.monotonic() < deadline:
            self.session.check_running()
            image = self.session.screenshot()
            tz.check(not tz.caption_bars(image), "a dialog opened during the game")
            field = tz.read_field(image) if tz.is_game_screen(image) else None
            if field is not None and field == last:
                same += 1
                if same >= 2:
                    return field
            else:
                same = 0
            last = field
            time.sleep(0.06)
        raise tz.Failure("the field did not settle")

    def after_shot(self, before, expected, timeout=10.0):
        """Waits for the shot's outcome: 'settled' when the field reads as
        expected (a settled field no longer changes, so once is enough),
        'dialog' when the end of the game opened one, 'unchanged' when the
        shot did not land."""
        deadline = time.monotonic() + timeout
        last, since = None, time.monotonic()
        while time.monotonic() < deadline:
            self.session.check_running()
            image = self.session.screenshot()
            if tz.caption_bars(image):
                return "dialog", image
            field = tz.read_field(image)
            if field is not None and field == expected:
                return "settled", image
            if field is None or field != last:
                last, since = field, time.monotonic()
            elif time.monotonic() - since > 1.5:
                # The picture stands, but not as expected.
                if field == before:
                    return "unchanged", image
                self.session.save(image, "failed-play.png")
                raise tz.Failure("after a shot the field reads\n%s\nbut should be\n%s"
                                 % (describe(field), describe(expected)))
        raise tz.Failure("no outcome of the shot within %.0f s" % timeout)

    def play(self):
        """Shoots the largest group until none is left; returns the score it
        earned, the final field and the picture of the first end dialog."""
        field = self.read_settled_field()
        tz.check(tz.count_stones(field) == 600, "a new game starts with a full field")
        score = 0
        while True:
            found = tz.groups(field)
            if not found:
                # Only a field with no move left may end the game.
                image = self.session.wait_for(tz.caption_bars, "the end of the game", timeout=30)
                return score, field, image
            group = max(found, key=len)
            expected = tz.settled(tz.without(field, group))
            for _ in range(2):
                self.session.click(*tz.tile_centre(*group[0]))
                outcome, image = self.after_shot(field, expected)
                if outcome != "unchanged":
                    break
            tz.check(outcome != "unchanged", "a shot at %s did not land" % (group[0],))
            self.shots += 1
            score += len(group) * len(group)
            if self.shots == 1:
                self.session.save(image, "e2e_game.png")
            if outcome == "dialog":
                tz.check(not tz.groups(expected), "the game ended although moves were left")
                return score, expected, image
            field = expected


def wait_next_dialog(session, previous, kinds):
    """Waits for these dialogs with a picture other than the previous one."""
    bar = tz.caption_bars(previous)[0]
    box = (bar[0], bar[1], bar[2], min(tz.HEIGHT, bar[1] + 150))

    def changed(image):
        return tz.dialog_kinds(image) == kinds and \
            tz.ImageChops.difference(image.crop(box), previous.crop(box)).getbbox() is not None
    return session.wait_for(changed, "the next dialog %s" % kinds)


def check_table_drawn(image, table, place):
    crops = []
    for row in range(1, 11):
        top, bottom = tz.score_row(row)
        box = (tz.NAME_COLUMN[0], top, tz.NAME_COLUMN[1], bottom)
        tz.check(tz.red_text_box(image, box) is not None, "no name drawn in row %d" % row)
        crops.append(image.crop(box).tobytes())
    for row in range(1, 11):
        for other in range(row + 1, 11):
            same_name = table[row - 1][0] == table[other - 1][0]
            tz.check((crops[row - 1] == crops[other - 1]) == same_name,
                     "rows %d and %d of the table are drawn wrongly (new entry at place %d)"
                     % (row, other, place))


def play_game(session, bot, table, game_number, another):
    score, field, image = bot.play()
    if game_number == 0:
        session.save(image, "e2e_game_end.png")
    if tz.count_stones(field) == 0:
        tz.check(tz.dialog_kinds(image) == ["message"], "no bonus message for a cleared field")
        session.key("Return")
        score += CLEAR_BONUS
        image = wait_next_dialog(session, image, ["message"])
    else:
        session.wait_dialogs(["message"])
    place = rank(table, score)
    print("game %d: %d shots, %d stones left, score %d, place %d"
          % (game_number + 1, bot.shots, tz.count_stones(field), score, place))
    session.key("Return")
    if place != -1:
        session.save(session.wait_dialogs(["name"]), "e2e_name_dialog.png")
        session.type(PLAYER)
        session.key("Return")
        table = insert(table, PLAYER, score)
    session.move(*tz.PARK)
    screen = session.wait_for(lambda im: tz.is_highscores(im) and not tz.caption_bars(im),
                              "the high-score screen after the game")
    screen = session.settle()
    if place != -1:
        check_table_drawn(screen, table, place)
    session.save(screen, "e2e_highscores_after_game.png")

    session.key("Escape")
    session.wait_dialogs(["message"])
    session.key("j" if another else "n")
    if another:
        session.wait_for(lambda im: tz.is_game_screen(im) and not tz.caption_bars(im), "a new game")
    else:
        session.wait_for(lambda im: tz.is_main_menu(im) and not tz.caption_bars(im),
                         "the menu after the last game")
    return table


def run(session, games):
    start = time.monotonic()
    session.wait_for(tz.is_main_menu, "the main menu", timeout=15)
    session.click(*tz.menu_centre(tz.MENU_NEWGAME))
    table = list(START_TABLE)
    for game in range(games):
        bot = Bot(session)
        table = play_game(session, bot, table, game, another=game + 1 < games)
    session.key("Escape")
    session.wait_for(tz.is_credits, "the credits before the end")
    session.key("Return")
    code = session.wait_exit(10)
    tz.check(code == 0, "the game ended with code %d" % code)
    data = session.highscore_file()
    expected = tz.encode_highscores(table)
    # Saving replaces the file whole: exactly the ten records, nothing of the old file.
    tz.check(data == expected,
             "highscore.sav holds %s (%d bytes), expected %s (%d bytes)"
             % (tz.decode_highscores(data)[0], len(data), table, len(expected)))
    print("play_games passed in %.1f s" % (time.monotonic() - start))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--game", required=True)
    parser.add_argument("--sounds", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--games", type=int, default=2)
    parser.add_argument("--seconds", type=int, default=170)
    args = parser.parse_args()
    with tz.Deadline(args.seconds):
        with tz.Session(args.game, args.sounds, args.out, "play_games",
                        highscores=tz.encode_highscores(START_TABLE)) as session:
            run(session, args.games)


if __name__ == "__main__":
    main()
