#!/usr/bin/env python3
"""Korvel under the real interface: Debian xboard, on a virtual display (xvfb-run), plays korvel
against sjeng in the variants sjeng plays (normal, crazyhouse, suicide, losers) and korvel against
korvel in the others, a short match per variant, with xboard's own legality test, mate detection
and claim test. Passes when xboard accepted every feature of every korvel, every game ended with a
result, and no korvel committed a fault: a game lost by an illegal move, a false claim, a lost
connection or on time (in korvel against korvel every such end is korvel's), a move xboard sent
that korvel refused, a position it refused, a second result line in one game, or a move written
after its own result line or after xboard's result command. Prints the features xboard answered,
each game's result and reason, and every fault.

    python3 tools/xboardrun.py --korvel build/korvel --variants normal,atomic --games 1 --tc 0:10
    python3 tools/xboardrun.py --korvel korvel --variants crazyhouse   # the installed engine

How xboard 4.9.1 starts a game (its debug file shows it): new, variant NAME (not for normal),
ics -, level, post, hard, and force with a setboard FEN for the set-up variants: nocastle is a
shuffled back rank without castling rights and without an en-passant field ("... w - 0 1"),
wildcastle a shuffled back rank with castling rights "KQkq -"; twokings, 3check,
crazyhouse, atomic and the antichess family start from "variant NAME" alone (twokings with the
bishops of f1 and f8 turned into kings). Then computer, time, otim and go for the side on move.

Each korvel runs in a folder of its own with a copy of the books. --jobs N runs N variants at
once; --keep DIR keeps every variant's PGN and xboard debug file (which holds every line said to
and by both engines) as DIR/VARIANT.pgn and DIR/VARIANT.debug. Exits 0 when all is well, 1 on a
fault, 77 (skipped) when xboard, xvfb-run or sjeng is missing."""

import argparse
import concurrent.futures
import os
import re
import shutil
import subprocess
import sys
import tempfile

SKIPPED = 77
HERE = os.path.dirname(os.path.abspath(__file__))
BOOKS = os.path.join(os.path.dirname(HERE), "books")
VARIANTS = ("normal", "nocastle", "wildcastle", "3check", "crazyhouse", "twokings", "atomic",
            "giveaway", "suicide", "losers")
SJENGVARIANTS = ("normal", "crazyhouse", "suicide", "losers")
FAULTWORDS = ("illegal", "invalid", "false", "forfeit", "exit", "crash", "disconnect", "killed")
RESULTLINE = re.compile(r"^(1-0|0-1|1/2-1/2)(\s|$)")


def find(program):
    return shutil.which(program) or (os.path.exists("/usr/games/" + program) and "/usr/games/" + program)


def games(pgn):
    """(white, black, result, last comment) of every game of a PGN text."""
    found = []
    for block in re.split(r"(?=\[Event )", pgn):
        tags = dict(re.findall(r'^\[(\w+) "([^"]*)"\]', block, re.M))
        if not tags:
            continue
        comments = re.findall(r"\{([^}]*)\}", block)
        found.append((tags.get("White", ""), tags.get("Black", ""), tags.get("Result", "*"),
                      comments[-1] if comments else ""))
    return found


def korvelfault(white, black, result, reason):
    """The fault of a korvel that ended a game, or None. When both sides are korvel, every end by a
    fault or on time is korvel's."""
    if result not in ("1-0", "0-1", "1/2-1/2"):
        return "no result"
    both = white.startswith("Korvel") and black.startswith("Korvel")
    korvelwhite = white.startswith("Korvel")
    lost = both or ((result == "0-1") == korvelwhite and result != "1/2-1/2")
    text = reason.lower()
    if any(word in text for word in FAULTWORDS):
        return reason
    if lost and ("time" in text or "flag" in text):
        return reason
    return None


def said(debug, engine):
    """The lines xboard's debug file shows of one engine ("first" or "second"), as (">" or "<",
    text): what xboard wrote to it and what it wrote back."""
    pattern = re.compile(r"^\d+ ([<>])%s ?: ?(.*)$" % engine)
    return [m.groups() for m in map(pattern.match, debug.splitlines()) if m]


def protocolfaults(lines, name):
    """A korvel's faults in its exchange with xboard: a rejected feature, a refused move or
    position, a second result line in one game, a move after its result line or after xboard's
    result command. A game runs from one "new" to the next as the engine reads them: what it writes
    before it answers the first ping after "new" still belongs to the game before."""
    faults, results, over = [], [], None
    newgame, pong = False, None
    for way, text in lines:
        text = text.strip()
        if way == ">" and text == "new":
            newgame, pong = True, None
        elif newgame and way == ">" and pong is None and text.startswith("ping"):
            pong = "pong" + text[4:]
        elif newgame and (text == pong or way == ">" and text == "go"):
            results, over, newgame = [], None, False
        if way == ">":
            if text.startswith("rejected"):
                faults.append("%s: xboard %s" % (name, text))
            elif text.startswith("result"):
                over = over or "xboard's %s" % text
        elif text.startswith("Illegal move") or text.startswith("tellusererror"):
            faults.append("%s refused: %s" % (name, text))
        elif RESULTLINE.match(text):
            results.append(text)
            if len(results) == 2:
                faults.append("%s: double result: %s then %s" % (name, results[0], results[1]))
            over = over or "its result %s" % text
        elif text.startswith("move ") and over:
            faults.append("%s: %s written after %s" % (name, text, over))
            over = None   # one such fault a game is enough
    return faults


def bookfolder(parent, name):
    """A working folder for one engine, holding a copy of the books."""
    folder = os.path.join(parent, name)
    os.makedirs(folder)
    for book in os.listdir(BOOKS):
        shutil.copy(os.path.join(BOOKS, book), folder)
    return folder


def userpath():
    """The environment xboard runs in: this one, with /usr/games on the path, which every user's
    path has, though root's does not (an installed engine lives there)."""
    environment = dict(os.environ)
    if "/usr/games" not in environment.get("PATH", "").split(":"):
        environment["PATH"] = environment.get("PATH", "/usr/bin:/bin") + ":/usr/games"
    return environment


def korvelprogram(name):
    """The korvel program as xboard is given it: a path made absolute, a bare name (an installed
    engine, -fcp korvel) as it is, for xboard to find on the path as a user's does."""
    return os.path.abspath(name) if "/" in name else name


def playvariant(variant, args, programs):
    """Plays one variant's match under xboard; returns (lines to print, faults)."""
    xboard, xvfb, sjeng = programs
    korvel = korvelprogram(args.korvel)
    againstsjeng = variant in SJENGVARIANTS and args.opponent != "korvel"
    out, faults = [], []
    with tempfile.TemporaryDirectory() as folder:
        pgn = os.path.join(folder, "games.pgn")
        debug = os.path.join(folder, "xboard.debug")
        second = sjeng if againstsjeng else korvel
        command = [xvfb, "-a", xboard, "-fcp", korvel, "-fd", bookfolder(folder, "first"),
                   "-scp", second, "-sd", bookfolder(folder, "second"),
                   "-matchGames", str(args.games), "-tc", args.tc, "-inc", args.inc,
                   "-saveGameFile", pgn, "-debug", "-nameOfDebugFile", debug,
                   "-autoCallFlag", "true", "-popupExitMessage", "false", "-soundBell", ""]
        if variant != "normal":
            command[3:3] = ["-variant", variant]
        minutes, _, seconds = args.tc.partition(":")
        gamelimit = 2 * (60 * float(minutes) + float(seconds or 0)) + 300 * float(args.inc) + 30
        try:
            subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=userpath(),
                           timeout=args.games * gamelimit + 30)
        except subprocess.TimeoutExpired:
            faults.append("%s: xboard did not end the match in time" % variant)
        log = open(debug, errors="replace").read() if os.path.exists(debug) else ""
        text = open(pgn, errors="replace").read() if os.path.exists(pgn) else ""
        if args.keep:
            os.makedirs(args.keep, exist_ok=True)
            for name, content in (("pgn", text), ("debug", log)):
                with open(os.path.join(args.keep, "%s.%s" % (variant, name)), "w") as f:
                    f.write(content)
        engines = [("first", "korvel")] + ([] if againstsjeng else [("second", "korvel (second)")])
        for engine, name in engines:
            lines = said(log, engine)
            answers = [t.split()[0] for w, t in lines if w == ">" and t.split()[:1] in (["accepted"], ["rejected"])]
            out.append("%s %s features: %d accepted, %d rejected" % (
                variant, name, answers.count("accepted"), answers.count("rejected")))
            if not answers:
                faults.append("%s: xboard answered no feature of %s" % (variant, name))
            faults += ["%s: %s" % (variant, f) for f in protocolfaults(lines, name)]
        played = games(text)
        score = 0.0
        for number, (white, black, result, reason) in enumerate(played, 1):
            fault = korvelfault(white, black, result, reason)
            out.append("%s game %d: %s - %s %s {%s}%s" % (variant, number, white, black, result, reason,
                                                        "; korvel fault: " + fault if fault else ""))
            if fault:
                faults.append("%s game %d: %s" % (variant, number, fault))
            if againstsjeng and result in ("1-0", "0-1", "1/2-1/2"):
                korvelwhite = white.startswith("Korvel")
                score += 0.5 if result == "1/2-1/2" else float((result == "1-0") == korvelwhite)
        if againstsjeng:
            out.append("%s: korvel %.1f/%d against sjeng" % (variant, score, len(played)))
        if len(played) < args.games:
            faults.append("%s: %d of %d games saved" % (variant, len(played), args.games))
    return out, faults


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--korvel", default="build/korvel")
    parser.add_argument("--variants", default=",".join(VARIANTS))
    parser.add_argument("--opponent", default="auto", choices=["auto", "korvel"],
                        help="auto: sjeng where it plays the variant, else korvel")
    parser.add_argument("--games", type=int, default=1, help="games per variant")
    parser.add_argument("--tc", default="0:10", help="xboard's -tc, minutes or m:ss")
    parser.add_argument("--inc", default="0", help="increment in seconds")
    parser.add_argument("--jobs", type=int, default=1, help="variants played at once")
    parser.add_argument("--keep", help="folder that keeps each variant's PGN and debug file")
    args = parser.parse_args()
    variants = args.variants.split(",")
    unknown = [v for v in variants if v not in VARIANTS]
    if unknown:
        parser.error("unknown variant %s" % ", ".join(unknown))
    programs = find("xboard"), find("xvfb-run"), find("sjeng")
    if not all(programs):
        print("xboardrun: skipped, needs xboard, xvfb-run and sjeng")
        return SKIPPED
    if not shutil.which(korvelprogram(args.korvel), path=userpath()["PATH"]):
        print("xboardrun: no program %s" % args.korvel)
        return 1
    faults = []
    with concurrent.futures.ThreadPoolExecutor(max_workers=max(args.jobs, 1)) as pool:
        for out, found in pool.map(lambda v: playvariant(v, args, programs), variants):
            print("\n".join(out), flush=True)
            faults += found
    print("korvel faults: %d" % len(faults))
    for fault in faults:
        print("  " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
