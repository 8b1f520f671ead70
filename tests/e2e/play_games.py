"""The real game in Xvfb, played to the end by a bot that reads the field from
screenshots: every shot must destroy exactly the group it aimed at and leave
the field as stones fall and columns close up; the score it keeps (n x n per
shot, 1500 for a cleared field) must be the one entered into the table and
written to "highscore.sav" at the regular end."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tzplayer as tz  # noqa: E402

PLAYER = "Tester"
CLEAR_BONUS = 1500
GAMES = 2
# A low table, so that a played game enters it below the first line.
START_TABLE = [("Erster", 1000000)] + [("CPU", score) for score in range(9, 0, -1)]


def rank(table, score):
    for index, (_, entry) in enumerate(table):
        if score > entry:
            return index + 1
    return -1


def play(session, bot, field):
    """Shoots the largest group until none is left; returns the score it
    earned, the final field and the picture of the first end dialog."""
    tz.check(tz.count_stones(field) == 600, "a new game starts with a full field")
    score = 0
    while tz.groups(field):
        outcome, image, field, size = bot.shoot(field)
        score += size * size
        if bot.shots == 1:
            session.save(image, "e2e_game.png")
        if outcome == "dialog":
            tz.check(not tz.groups(field), "the game ended although moves were left")
            return score, field, image
    # Only a field with no move left may end the game.
    return score, field, session.wait_for(tz.caption_bars, "the end of the game", timeout=30)


def play_game(session, bot, field, table, game_number, another):
    score, field, image = play(session, bot, field)
    if game_number == 0:
        session.save(image, "e2e_game_end.png")
    if tz.count_stones(field) == 0:
        tz.check(tz.dialog_kinds(image) == ["message"], "no bonus message for a cleared field")
        session.key("Return")
        score += CLEAR_BONUS
        image = session.next_dialog(image)
        tz.check(tz.dialog_kinds(image) == ["message"], "no message after the bonus")
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
        table = table[:place - 1] + [(PLAYER, score)] + table[place - 1:9]
    session.wait_screen(tz.is_highscores, "the high-score screen after the game")
    screen = session.settle()
    tz.check_table_drawn(screen, table)
    session.save(screen, "e2e_highscores_after_game.png")

    session.key("Escape")
    session.wait_dialogs(["message"])
    session.key("j" if another else "n")
    session.wait_screen(tz.is_game_screen if another else tz.is_main_menu,
                        "a new game" if another else "the menu after the last game")
    return table


def play_games(args):
    with tz.Session(args, "play_games", highscores=tz.encode_highscores(START_TABLE)) as session:
        bot, field = session.new_game()
        table = list(START_TABLE)
        for game in range(GAMES):
            if game:
                bot = tz.Bot(session)
                field = bot.read_settled_field()
            table = play_game(session, bot, field, table, game, another=game + 1 < GAMES)
        session.quit_from_menu()
        session.wait_exit(10)
        # Saving replaces the file whole: exactly the ten records, nothing of the old file.
        data = session.highscore_file()
        expected = tz.encode_highscores(table)
        tz.check(data == expected, "highscore.sav holds %r, expected %r for %s" % (data, expected, table))


if __name__ == "__main__":
    tz.main({"play_games": (play_games, 170)})
