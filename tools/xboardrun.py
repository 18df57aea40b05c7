#!/usr/bin/env python3
"""Korvel under the real interface: Debian xboard, on a virtual display (xvfb-run), plays a short
match of korvel against sjeng. Passes when xboard accepted every feature korvel declared, every game
ended with a result, and no game ended by a fault of korvel (an illegal move, a lost connection, a
loss on time). Prints the features xboard answered and each game's result and reason.

    python3 tools/xboardrun.py --korvel build/korvel --games 1 --tc 0:10
    python3 tools/xboardrun.py --korvel korvel --variant crazyhouse   # the installed engine

Exits 0 when all is well, 1 on a fault, 77 (skipped) when xboard, xvfb-run or sjeng is missing."""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

SKIPPED = 77


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
    """The fault of korvel that ended a game, or None."""
    if result not in ("1-0", "0-1", "1/2-1/2"):
        return "no result"
    korvelwhite = white.startswith("Korvel")
    lost = (result == "0-1") == korvelwhite and result != "1/2-1/2"
    text = reason.lower()
    for word in ("illegal", "exit", "crash", "disconnect", "killed"):
        if word in text:
            return reason
    if lost and ("time" in text or "flag" in text):
        return reason
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--korvel", default="build/korvel")
    parser.add_argument("--games", type=int, default=1)
    parser.add_argument("--tc", default="0:10", help="xboard's -tc, minutes or m:ss")
    parser.add_argument("--inc", default="0", help="increment in seconds")
    parser.add_argument("--variant", help="xboard's -variant (default normal chess)")
    args = parser.parse_args()
    xboard, xvfb, sjeng = find("xboard"), find("xvfb-run"), find("sjeng")
    if not (xboard and xvfb and sjeng):
        print("xboardrun: skipped, needs xboard, xvfb-run and sjeng")
        return SKIPPED
    # A bare name goes to xboard as it is, which finds it on the path as a user's does (an installed
    # engine, -fcp korvel); /usr/games is on every user's path, though not on root's.
    korvel = os.path.abspath(args.korvel) if "/" in args.korvel else args.korvel
    environment = dict(os.environ)
    if "/usr/games" not in environment.get("PATH", "").split(":"):
        environment["PATH"] = environment.get("PATH", "/usr/bin:/bin") + ":/usr/games"
    if not shutil.which(korvel, path=environment["PATH"]):
        print("xboardrun: no program %s" % args.korvel)
        return 1
    with tempfile.TemporaryDirectory() as folder:
        pgn = os.path.join(folder, "games.pgn")
        debug = os.path.join(folder, "xboard.debug")
        command = [xvfb, "-a", xboard, "-fcp", korvel, "-fd", folder, "-scp", sjeng, "-sd", folder,
                   "-matchGames", str(args.games), "-tc", args.tc, "-inc", args.inc,
                   "-saveGameFile", pgn, "-debug", "-nameOfDebugFile", debug,
                   "-autoCallFlag", "true", "-popupExitMessage", "false", "-soundBell", ""]
        if args.variant:
            command += ["-variant", args.variant]
        minutes, _, seconds = args.tc.partition(":")
        gamelimit = 2 * (60 * float(minutes) + float(seconds or 0)) + 300 * float(args.inc) + 30
        try:
            subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=environment,
                           timeout=args.games * gamelimit + 30)
        except subprocess.TimeoutExpired:
            print("xboardrun: xboard did not end the match in time")
            return 1
        log = open(debug, errors="replace").read() if os.path.exists(debug) else ""
        answers = re.findall(r">first : (accepted|rejected) (\w+)", log)
        print("features: " + " ".join("%s %s" % a for a in answers))
        faults = ["rejected " + name for verdict, name in answers if verdict == "rejected"]
        if not answers:
            faults.append("xboard answered no feature of korvel")
        played = games(open(pgn, errors="replace").read()) if os.path.exists(pgn) else []
        for number, (white, black, result, reason) in enumerate(played, 1):
            fault = korvelfault(white, black, result, reason)
            print("game %d: %s - %s %s {%s}%s" % (number, white, black, result, reason,
                                                  "; korvel fault: " + fault if fault else ""))
            if fault:
                faults.append("game %d: %s" % (number, fault))
        if len(played) < args.games:
            faults.append("%d of %d games saved" % (len(played), args.games))
    print("korvel faults: %d" % len(faults))
    for fault in faults:
        print("  " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
