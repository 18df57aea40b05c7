#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian machine, when it is missing.
set -e
need=()
command -v g++ >/dev/null 2>&1 || need+=(g++)
command -v cmake >/dev/null 2>&1 || need+=(cmake)
command -v make >/dev/null 2>&1 || need+=(make)
command -v python3 >/dev/null 2>&1 || need+=(python3)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
[ -x /usr/games/fairy-stockfish ] || command -v fairy-stockfish >/dev/null 2>&1 || need+=(fairy-stockfish)
[ -x /usr/games/sjeng ] || command -v sjeng >/dev/null 2>&1 || need+=(sjeng)
if [ ${#need[@]} -gt 0 ]; then
  echo "setup: installing ${need[*]} with apt-get"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${need[@]}"
fi
