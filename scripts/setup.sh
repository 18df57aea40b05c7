#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian machine, when it is missing.
set -e
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
NPMDIR="$ROOT/${BUILD:-build}/npm"
need=()
command -v g++ >/dev/null 2>&1 || need+=(g++)
command -v cmake >/dev/null 2>&1 || need+=(cmake)
command -v make >/dev/null 2>&1 || need+=(make)
command -v python3 >/dev/null 2>&1 || need+=(python3)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
[ -x /usr/games/fairy-stockfish ] || command -v fairy-stockfish >/dev/null 2>&1 || need+=(fairy-stockfish)
[ -x /usr/games/sjeng ] || command -v sjeng >/dev/null 2>&1 || need+=(sjeng)
command -v node >/dev/null 2>&1 || need+=(nodejs)
command -v npm >/dev/null 2>&1 || need+=(npm)
if [ ${#need[@]} -gt 0 ]; then
  echo "setup: installing ${need[*]} with apt-get"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${need[@]}"
fi

# The real interface for the xboard run of make test: xboard on a virtual display. The run is
# skipped without them, so a failed install is reported and does not stop the build.
xneed=()
[ -x /usr/games/xboard ] || command -v xboard >/dev/null 2>&1 || xneed+=(xboard)
command -v xvfb-run >/dev/null 2>&1 || xneed+=(xvfb xauth)
if [ ${#xneed[@]} -gt 0 ]; then
  echo "setup: installing ${xneed[*]} with apt-get"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  { [ ${#need[@]} -gt 0 ] || $SUDO apt-get update -qq; } \
    && DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${xneed[@]}" >/dev/null \
    || echo "setup: could not install ${xneed[*]}; the xboard run will be skipped"
fi

# The rules references of the atomic and antichess matches and perft numbers (chessops, stockfish.js)
# go into the build folder, at the versions pinned in tools/rules/package.json. Only the variant
# matches need them, so a failed install is reported and does not stop the build. installed tells
# whether every package of tools/rules/package.json is there at its pinned version.
installed() {
  python3 - "$ROOT/tools/rules/package.json" "$NPMDIR/node_modules" <<'PY'
import json, sys
wanted = json.load(open(sys.argv[1]))["dependencies"]
try:
    ok = all(json.load(open("%s/%s/package.json" % (sys.argv[2], name)))["version"] == version
             for name, version in wanted.items())
except OSError:
    ok = False
sys.exit(0 if ok else 1)
PY
}
if ! installed; then
  echo "setup: installing chessops and stockfish.js into $NPMDIR with npm"
  mkdir -p "$NPMDIR"
  cp "$ROOT/tools/rules/package.json" "$NPMDIR/package.json"
  npm install --prefix "$NPMDIR" --no-audit --no-fund --loglevel=error >/dev/null \
    || echo "setup: npm install failed; the atomic and antichess matches will not run"
fi
