# Two games played to the end by a bot reading the field from screenshots:
# every shot must take exactly the group aimed at and leave the field as stones
# fall and columns close up; its score (n x n per shot, 1500 for a cleared
# field) must enter the table and be written to "highscore.sav" at the end.

import tzplayer as tz

# A low table, so that a played game enters it below the first line.
START_TABLE = [("Erster", 1000000)] + [("CPU", score) for score in range(9, 0, -1)]


def play(session, field, table, another):
    # One game from the full field to the screen after it; returns the table.
    tz.check(tz.count_stones(field) == 600, "a new game starts with a full field")
    score = 0
    while tz.groups(field):
        field, size, _ = session.shoot(field)
        score += size * size
    image = session.wait_for(tz.caption_bars, "the end of the game", timeout=30)
    if tz.count_stones(field) == 0:
        tz.check(tz.dialog_kinds(image) == ["message"], "no bonus message for a cleared field")
        session.key("Return")
        score += 1500
        tz.check(tz.dialog_kinds(session.next_dialog(image)) == ["message"], "no message after the bonus")
    session.wait_dialogs(["message"])
    place = next((i for i, (_, entry) in enumerate(table) if score > entry), None)
    print("%d stones left, score %d, place %s" % (tz.count_stones(field), score, place))
    session.key("Return")
    if place is not None:
        session.wait_dialogs(["name"])
        session.type("Tester")
        session.key("Return")
        table = table[:place] + [("Tester", score)] + table[place:9]
    session.wait_screen(tz.is_highscores, "the high-score screen after the game")
    session.key("Escape")
    session.wait_dialogs(["message"])
    session.key("j" if another else "n")
    session.wait_screen(tz.is_game_screen if another else tz.is_main_menu, "what follows the game")
    return table


def case_play_games(args):
    with tz.Session(args, "play_games", scores=tz.encode(START_TABLE)) as session:
        table = play(session, session.new_game(), START_TABLE, True)
        table = play(session, session.read_field(), table, False)
        session.quit()
        session.wait_exit()
        # Saved whole: exactly the ten records, nothing of the old file.
        tz.check(session.scores() == tz.encode(table), "highscore.sav holds %r for %s" % (session.scores(), table))


if __name__ == "__main__":
    tz.main(globals(), 170)
