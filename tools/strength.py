#!/usr/bin/env python3
"""Measures korvel's playing strength in games: ladders of matches, every move refereed.

A ladder is an opponent and a variant: korvel's default search (self), fairy-stockfish at a Skill
Level (fsf9, fsf12, ...), sjeng, or stockfish.js at full strength (sfjs, atomic only). The player
measured is korvel with the given command line (by default "full"). Every game starts from a fixed
opening of four random legal plies (drawn with --seed), and each opening is played twice with the
colours exchanged. Games, referee and clocks are those of tools/match.py.

The table at the end gives per ladder the games, the score, the Elo difference with its 95 % error
margin, korvel's faults (illegal moves, refusals, crashes, silence, wrong claims), the time
forfeits of both sides, and the opponent's faults (a peer that hangs or crashes loses the game, so
a score is only worth its opponent's faults beside it).

Usage: tools/strength.py --ladders self:normal,self:crazyhouse --games 20 --tc 10+0.1
       tools/strength.py --ladders fsf9:normal,fsf12:normal --games 20 --minutes 20
       tools/strength.py --ladders sjeng:suicide --games 20 --tc 30+0.3
       tools/strength.py --ladders sfjs:atomic --games 20
"""

import argparse
import math
import os
import random
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import match  # noqa: E402

OPENINGPLIES = 4
FULLSKILL = 20      # stockfish.js at full strength
OVERHEADMS = 200    # fairy-stockfish's Move Overhead: on a loaded machine its default loses on time


def openings(variant, count, rng, npm):
    """count openings of OPENINGPLIES random legal plies from the starting position, as FENs."""
    referee = match.makereferee(variant, npm)
    fens = []
    try:
        while len(fens) < count:
            moves = []
            for _ in range(OPENINGPLIES):
                info = referee.look(None, moves)
                if not info["legal"] or info.get("over"):
                    break
                moves.append(rng.choice(sorted(info["legal"])))
            info = referee.look(None, moves)
            if len(moves) == OPENINGPLIES and info["legal"] and not info.get("over") and info["fen"] not in fens:
                fens.append(info["fen"])
    finally:
        referee.close()
    return fens


def elo(score, games, points):
    """The Elo difference of a score and its 95 % margin from the spread of the game results."""
    if games == 0:
        return None, None
    mean = score / games
    spread = math.sqrt(sum((p - mean) ** 2 for p in points) / games) / math.sqrt(games)

    def clamp(p):
        return min(max(p, 0.5 / games), 1 - 0.5 / games)

    def difference(p):
        p = clamp(p)
        return -400 * math.log10(1 / p - 1)

    if spread == 0:   # every game the same result: the spread of a score half a game less extreme
        spread = math.sqrt(clamp(mean) * (1 - clamp(mean)) / games)

    centre = difference(mean)
    margin = (difference(mean + 1.96 * spread) - difference(mean - 1.96 * spread)) / 2
    return centre, margin


def opponent(kind, variant, args):
    """The opponent of a ladder and its name."""
    if kind == "self":
        extra = ["fics"] if variant == "atomic" else []
        return match.XboardPlayer([os.path.abspath(args.korvel)] + args.base_args.split() + extra,
                                  "korvel-default", True), "korvel default"
    if kind == "sjeng":
        return match.XboardPlayer([match.SJENG], "sjeng", False), "sjeng"
    if kind == "sfjs":
        return match.ucipeer("atomic", FULLSKILL, args.npm), "stockfish.js"
    skill = int(kind[3:])
    peer = match.ucipeer(variant, skill, args.npm)
    peer.proc.send("setoption name Move Overhead value %d\n" % OVERHEADMS)
    return peer, "fairy-stockfish Skill %d" % skill


def ladder(kind, variant, args, rng, deadline):
    """Plays one ladder; returns its row of the table."""
    clock = match.Clock.fromtc(args.tc)
    fens = openings(variant, (args.games + 1) // 2, rng, args.npm)
    extra = ["fics"] if variant == "atomic" else []
    log = open(args.log, "a", buffering=1) if args.log else None
    korvel = match.XboardPlayer([os.path.abspath(args.korvel)] + args.korvel_args.split() + extra, "korvel", True, log)
    peer, name = opponent(kind, variant, args)
    row = {"ladder": "%s %s" % (name, variant), "games": 0, "score": 0.0, "points": [], "faults": 0,
           "peerfaults": 0, "forfeits": 0, "peerforfeits": 0}
    for g in range(args.games):
        if time.time() > deadline:
            break
        korvelwhite = g % 2 == 0
        game = match.playgame(korvel, peer, variant, fens[g // 2], korvelwhite, clock, args.npm)
        if game.result == "*":
            print("game %d: %s, not counted" % (g + 1, game.reason), flush=True)
            continue
        won = game.result in ("1-0", "0-1") and (game.result == "1-0") == korvelwhite
        point = 0.5 if game.result == "1/2-1/2" else (1.0 if won else 0.0)
        row["games"] += 1
        row["score"] += point
        row["points"].append(point)
        row["faults"] += len(game.faults)
        row["peerfaults"] += len(game.peerfaults)
        row["forfeits"] += sum(f.startswith("time forfeit") for f in game.faults)
        row["peerforfeits"] += sum(f.startswith("time forfeit") for f in game.peerfaults)
        print(match.gameline(g + 1, game, clock, True), flush=True)
    korvel.close()
    peer.close()
    return row


def main():
    parser = argparse.ArgumentParser(description="korvel's strength in refereed games")
    parser.add_argument("--korvel", default=os.path.join(match.ROOT, "build", "korvel"))
    parser.add_argument("--korvel-args", default="full", help="the measured korvel's command line")
    parser.add_argument("--base-args", default="", help="the command line of korvel's default search (self)")
    parser.add_argument("--ladders", default="self:normal",
                        help="opponent:variant pairs; opponents self, fsfN (Skill Level N), sjeng, sfjs")
    parser.add_argument("--games", type=int, default=20, help="games per ladder, colours alternating")
    parser.add_argument("--tc", default="10+0.1", help="base+increment in seconds")
    parser.add_argument("--minutes", type=float, default=20, help="no new game of a ladder after this")
    parser.add_argument("--npm", default=os.path.join(match.ROOT, "build", "npm"))
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--log", help="file that receives everything said to and by the measured korvel")
    args = parser.parse_args()
    rng = random.Random(args.seed)
    rows = []
    for item in args.ladders.split(","):
        kind, _, variant = item.partition(":")
        if variant not in match.REFEREE:
            parser.error("unknown variant %s" % variant)
        rows.append(ladder(kind, variant, args, rng, time.time() + 60 * args.minutes))
    print("\n%-40s %5s %7s %16s %6s %8s %8s" % ("ladder (korvel %s against)" % args.korvel_args, "games", "score",
                                             "Elo", "faults", "forfeits", "opp.flt"))
    status = 0
    for row in rows:
        centre, margin = elo(row["score"], row["games"], row["points"])
        text = "%+6.0f +- %4.0f" % (centre, margin) if centre is not None else "-"
        print("%-40s %5d %7.1f %16s %6d %4d/%-3d %8d" % (row["ladder"], row["games"], row["score"], text,
                                                       row["faults"], row["forfeits"], row["peerforfeits"],
                                                       row["peerfaults"]))
        status |= row["faults"] > 0
    return 1 if status else 0


if __name__ == "__main__":
    sys.exit(main())
