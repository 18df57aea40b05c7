#!/usr/bin/env node
// stockfish.js as a UCI engine on standard input and output, for the match runner's atomic games.
//
//   node tools/rules/stockfishjs.mjs [--npm DIR]
//
// stockfish.js is built as a web worker: it sets a global message handler and answers through a
// global postMessage. Here each line of standard input becomes one message to the engine, and each
// message of the engine one line of standard output. "quit" or the end of input ends the process.
// The engine lives in build/npm (scripts/setup.sh installs it); --npm DIR names another folder.

import { createRequire } from 'node:module';
import { existsSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { createInterface } from 'node:readline';

const HERE = dirname(fileURLToPath(import.meta.url));
const argv = process.argv.slice(2);
const npm = argv[0] === '--npm' && argv.length === 2 ? argv[1] : resolve(HERE, '..', '..', 'build', 'npm');
const folder = join(npm, 'node_modules', 'stockfish.js');
const worker = join(folder, 'stockfish.wasm.js');

if (!existsSync(worker)) {
  process.stderr.write(`stockfishjs: no stockfish.js under ${npm} (run scripts/setup.sh)\n`);
  process.exit(2);
}

// The worker's side of the message channel.
globalThis.postMessage = (message) => process.stdout.write(String(message) + '\n');
globalThis.close = () => process.exit(0);
// The worker would fetch its WebAssembly file as a URL when fetch exists; without it the file is
// read from the current folder.
delete globalThis.fetch;
process.chdir(folder);
createRequire(import.meta.url)(worker);

const lines = createInterface({ input: process.stdin });
lines.on('line', (line) => globalThis.onmessage({ data: line.trim() }));
lines.on('close', () => process.exit(0));
