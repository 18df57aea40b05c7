#!/usr/bin/env node
// Rules reference for atomic chess and antichess, on the chessops library: perft of a position and a
// referee service for the match runner.
//
//   node tools/rules/rules.mjs perft --variant atomic --fen FEN --depth N [--divide]
//   node tools/rules/rules.mjs referee
//
// Variants: atomic (the king may not capture, a capture explodes the eight squares around it except
// for pawns, the side whose king explodes loses, castling may not pass or land on an attacked square
// nor leave a check), antichess (captures are compulsory, no castling, a pawn may promote to a king,
// the side without a man or without a move wins) and chess.
//
// The referee reads one request a line on standard input, a JSON object
//   {"variant": "atomic", "fen": "<start FEN>", "moves": ["e2e4", ...]}
// and answers each with one JSON line about the position after the moves:
//   {"legal": [...], "fen": "...", "key": "...", "check": false, "over": null}
// where "over" is [result, reason] once the game has ended ("exploded king", "mate", "stalemate",
// "no pieces", "no moves", "insufficient material"); fifty moves and repetitions are the caller's to
// count (the halfmove field of "fen" and the "key" of each position). A bad request or a move that is
// not legal is answered with {"error": "..."}.
//
// Moves are written as in the xboard and UCI protocols: castling as the king's two-square move, a
// promotion with its piece letter. chessops lives in build/npm (scripts/setup.sh installs it);
// --npm DIR names another folder.

import { dirname, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { createInterface } from 'node:readline';

const HERE = dirname(fileURLToPath(import.meta.url));
const DEFAULTNPM = resolve(HERE, '..', '..', 'build', 'npm');
const STARTFEN = 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1';
const RULES = { atomic: 'atomic', antichess: 'antichess', chess: 'chess' };
const PROMOTIONS = ['queen', 'rook', 'bishop', 'knight'];
const USAGE = 'usage: rules.mjs perft --variant atomic|antichess|chess [--fen FEN] --depth N [--divide] [--npm DIR]\n'
  + '       rules.mjs referee [--npm DIR]\n';

let chessops = null;   // the library, loaded by loadlibrary

// Reads the command line into {command, variant, fen, depth, divide, npm}; null when it is malformed.
function readarguments(argv) {
  const args = { command: argv[0], variant: 'atomic', fen: STARTFEN, depth: 0, divide: false, npm: DEFAULTNPM };
  for (let i = 1; i < argv.length; i++) {
    const word = argv[i];
    if (word === '--divide') args.divide = true;
    else if (['--variant', '--fen', '--depth', '--npm'].includes(word) && i + 1 < argv.length) {
      args[word.slice(2)] = argv[++i];
    } else return null;
  }
  if (args.fen === 'startpos') args.fen = STARTFEN;
  args.depth = Number(args.depth);
  if (!RULES[args.variant] || !Number.isInteger(args.depth) || args.depth < 0) return null;
  if (args.command === 'perft' && args.depth < 1) return null;
  return ['perft', 'referee'].includes(args.command) ? args : null;
}

// Loads chessops from the npm folder; exits with a message when it is not installed there.
async function loadlibrary(npm) {
  const entry = join(npm, 'node_modules', 'chessops', 'dist', 'esm', 'index.js');
  try {
    chessops = await import(pathToFileURL(entry).href);
  } catch (error) {
    process.stderr.write(`rules: chessops not found under ${npm} (run scripts/setup.sh): ${error.message}\n`);
    process.exit(2);
  }
}

// The position of a FEN in a variant; throws with the library's reason when the FEN is not valid.
function positionof(variant, fen) {
  const setup = chessops.fen.parseFen(fen);
  if (setup.isErr) throw new Error(`bad FEN: ${setup.error.message}`);
  const pos = chessops.variant.setupPosition(RULES[variant], setup.value);
  if (pos.isErr) throw new Error(`impossible position: ${pos.error.message}`);
  return pos.value;
}

// The legal moves of a position as a map from their protocol text to the library's move. The library
// writes castling as the king taking its own rook; the protocol writes the king's two-square move.
function legalmoves(pos) {
  const moves = new Map();
  const promotions = pos.rules === 'antichess' ? [...PROMOTIONS, 'king'] : PROMOTIONS;
  for (const [from, targets] of pos.allDests()) {
    const mover = pos.board.get(from);
    for (const to of targets) {
      const move = { from, to };
      const target = pos.board.get(to);
      if (mover.role === 'king' && target && target.color === mover.color) {
        const side = chessops.squareFile(to) < chessops.squareFile(from) ? 'a' : 'h';
        moves.set(chessops.makeSquare(from) + chessops.makeSquare(chessops.kingCastlesTo(mover.color, side)), move);
      } else if (mover.role === 'pawn' && (chessops.squareRank(to) === 0 || chessops.squareRank(to) === 7)) {
        for (const role of promotions) moves.set(chessops.makeUci({ from, to, promotion: role }), { from, to, promotion: role });
      } else {
        moves.set(chessops.makeUci(move), move);
      }
    }
  }
  return moves;
}

// Counts the move paths of a position to a depth.
function perft(pos, depth) {
  if (depth === 0) return 1;
  const moves = legalmoves(pos);
  if (depth === 1) return moves.size;
  let nodes = 0;
  for (const move of moves.values()) {
    const child = pos.clone();
    child.play(move);
    nodes += perft(child, depth - 1);
  }
  return nodes;
}

// The perft command: the total, after each root move with its count when dividing.
function perftcommand(args) {
  const pos = positionof(args.variant, args.fen);
  const started = Date.now();
  let total = 0;
  if (args.divide) {
    for (const [text, move] of legalmoves(pos)) {
      const child = pos.clone();
      child.play(move);
      const count = perft(child, args.depth - 1);
      process.stdout.write(`${text}: ${count}\n`);
      total += count;
    }
    process.stdout.write('\n');
  } else {
    total = perft(pos, args.depth);
  }
  process.stdout.write(`${total}\n`);
  const seconds = Math.max((Date.now() - started) / 1000, 0.001);
  process.stderr.write(`time ${Math.round(seconds * 1000)} ms, ${Math.round(total / seconds)} nodes/s\n`);
}

// Why a finished game ended: [result, reason], or null while it goes on.
function gameover(pos) {
  const outcome = pos.outcome();
  if (!outcome) return null;
  const result = outcome.winner === 'white' ? '1-0' : outcome.winner === 'black' ? '0-1' : '1/2-1/2';
  let reason = 'insufficient material';
  if (pos.rules === 'atomic' && pos.isVariantEnd()) reason = 'exploded king';
  else if (pos.rules === 'antichess') reason = pos.board[pos.turn].isEmpty() ? 'no pieces' : 'no moves';
  else if (pos.isCheckmate()) reason = 'mate';
  else if (pos.isStalemate()) reason = 'stalemate';
  return [result, reason];
}

// Answers one referee request: the position after the moves, or an error.
function referee(request) {
  if (!RULES[request.variant]) throw new Error(`unknown variant ${request.variant}`);
  const pos = positionof(request.variant, request.fen || STARTFEN);
  for (const text of request.moves || []) {
    const move = legalmoves(pos).get(text);
    if (!move) throw new Error(`illegal move ${text} in ${chessops.fen.makeFen(pos.toSetup())}`);
    pos.play(move);
  }
  const fen = chessops.fen.makeFen(pos.toSetup());
  return {
    legal: [...legalmoves(pos).keys()],
    fen,
    key: fen.split(' ').slice(0, 4).join(' '),
    check: pos.isCheck(),
    over: gameover(pos),
  };
}

// The referee service: one JSON request a line in, one JSON answer a line out, until end of input.
function refereecommand() {
  const lines = createInterface({ input: process.stdin });
  lines.on('line', (line) => {
    if (!line.trim()) return;
    let answer;
    try {
      answer = referee(JSON.parse(line));
    } catch (error) {
      answer = { error: error.message };
    }
    process.stdout.write(JSON.stringify(answer) + '\n');
  });
}

const args = readarguments(process.argv.slice(2));
if (!args) {
  process.stderr.write(USAGE);
  process.exit(2);
}
await loadlibrary(args.npm);
if (args.command === 'perft') {
  try {
    perftcommand(args);
  } catch (error) {
    process.stderr.write(`rules: ${error.message}\n`);
    process.exit(2);
  }
} else {
  refereecommand();
}
